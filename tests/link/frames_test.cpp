#include "link/frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace ostrel {
namespace {

std::vector<int> bytesof(const TxFrame& f, int len) {
  return std::vector<int>(f.begin(), f.begin() + len);
}

TEST(Frames, RequestFramesCarryTheirCheckBytes) {
  struct Case {
    const char* what;
    std::vector<int> expected;
    int (*build)(TxFrame&);
  };
  const Case cases[] = {
      {"live site of map 12",
       {0x90, 0x05, 0x0C, 0xA1, 0x0C},
       [](TxFrame& f) { return buildliveframe(f, oplivesite, 12); }},
      // Check byte 2 of a five-byte frame is 0x91*5 + 5*0 = 0x2D5 -> 0xD5.
      {"live values of map 0",
       {0x91, 0x05, 0x00, 0x96, 0xD5},
       [](TxFrame& f) { return buildliveframe(f, oplivevalues, 0); }},
      {"read of row 1500",
       {0x82, 0x07, 0x3D, 0x5D, 0xC0, 0xE3, 0x22},
       [](TxFrame& f) { return buildrowreadframe(f, 1500); }},
      {"read of row 0", {0x82, 0x07, 0x3C, 0x00, 0x00, 0xC5, 0x32}, [](TxFrame& f) { return buildrowreadframe(f, 0); }},
  };
  for (const Case& c : cases) {
    TxFrame f{};
    const int len = c.build(f);
    addframechecks(f.data(), len);
    EXPECT_EQ(bytesof(f, len), c.expected) << c.what;
  }
}

TEST(Frames, WriteFramesAddressRowsAndRam) {
  std::array<std::uint8_t, 16> data{};
  for (int i = 0; i < 16; ++i) data[i] = static_cast<std::uint8_t>(0xF0 + i);
  TxFrame f{};
  ASSERT_EQ(buildrowwriteframe(f, 2047, data), 22);
  EXPECT_EQ(bytesof(f, 4), (std::vector<int>{0x81, 22, 0xFF, 0xF0}));
  ASSERT_EQ(buildrowwriteframe(f, 17, data), 22);
  EXPECT_EQ(bytesof(f, 4), (std::vector<int>{0x81, 22, 0x81, 0x10}));
  ASSERT_EQ(buildramwriteframe(f, 0x6DC0, data), 22);
  EXPECT_EQ(bytesof(f, 5), (std::vector<int>{0x80, 22, 0x6D, 0xC0, 0xF0}));
  EXPECT_EQ(f[19], 0xFF);

  // The second check byte covers the products up to the last payload byte and not the first check byte.
  addframechecks(f.data(), 22);
  unsigned sum = 0, products = 0;
  for (int i = 0; i < 20; ++i) sum += f[i];
  for (int i = 0; i < 19; ++i) products += unsigned{f[i]} * f[i + 1];
  EXPECT_EQ(f[20], sum % 256);
  EXPECT_EQ(f[21], products % 256);
}

TEST(Frames, RepliesArriveLastByteFirstBehindTheirCheckByte) {
  std::array<std::uint8_t, 19> wire{};
  unsigned sum = 0;
  for (int i = 1; i <= 18; ++i) {
    wire[i] = static_cast<std::uint8_t>(100 + i);  // wire byte i is data byte 18 - i
    sum += wire[i];
  }
  wire[0] = static_cast<std::uint8_t>(sum % 256);
  RxFrame rx{};
  const int rxsum = decodereply(wire, rx);
  EXPECT_EQ(rxsum, wire[0]);
  EXPECT_EQ(rx[18], wire[0]);
  EXPECT_EQ(rx[17], 101);  // came first
  EXPECT_EQ(rx[0], 118);   // came last

  std::array<std::uint8_t, 18> data{};
  for (int k = 0; k < 18; ++k) data[k] = rx[k];
  EXPECT_EQ(encodereply(data), wire);

  wire[5] ^= 0x40;  // one damaged byte no longer matches the check byte
  EXPECT_NE(decodereply(wire, rx), rx[18]);
}

}  // namespace
}  // namespace ostrel
