#include "link/frames.h"

#include <algorithm>

namespace ostrel {

void addframechecks(std::uint8_t* frame, int len) {
  unsigned sum = 0, products = 0;
  for (int i = 0; i <= len - 3; ++i) sum = (sum + frame[i]) % 256;
  for (int i = 0; i <= len - 4; ++i) products = (products + unsigned{frame[i]} * frame[i + 1]) % 256;
  frame[len - 2] = static_cast<std::uint8_t>(sum);
  frame[len - 1] = static_cast<std::uint8_t>(products);
}

int buildliveframe(TxFrame& frame, std::uint8_t op, std::uint8_t map) {
  frame[0] = op;
  frame[1] = liveframelength;
  frame[2] = map;
  return liveframelength;
}

int buildramwriteframe(TxFrame& frame, std::uint16_t address, std::span<const std::uint8_t, 16> data) {
  frame[0] = opramwrite;
  frame[1] = writeframelength;
  frame[2] = static_cast<std::uint8_t>(address >> 8);
  frame[3] = static_cast<std::uint8_t>(address & 0xFF);
  std::copy(data.begin(), data.end(), frame.begin() + 4);
  return writeframelength;
}

int buildrowwriteframe(TxFrame& frame, int row, std::span<const std::uint8_t, 16> data) {
  buildramwriteframe(frame, static_cast<std::uint16_t>(0x8000 + 16 * row), data);
  frame[0] = oprowwrite;
  return writeframelength;
}

int buildrowreadframe(TxFrame& frame, int row) {
  frame[0] = oprowread;
  frame[1] = readframelength;
  frame[2] = static_cast<std::uint8_t>(60 + row / 1024);
  frame[3] = static_cast<std::uint8_t>(row / 16);
  frame[4] = static_cast<std::uint8_t>((row % 16) * 16);
  return readframelength;
}

int decodereply(std::span<const std::uint8_t, replylength> wire, RxFrame& rxframe) {
  rxframe[18] = wire[0];
  unsigned sum = 0;
  for (int i = 1; i <= replydatabytes; ++i) {
    rxframe[18 - i] = wire[i];
    sum += wire[i];
  }
  return static_cast<int>(sum % 256);
}

std::array<std::uint8_t, replylength> encodereply(std::span<const std::uint8_t, replydatabytes> data) {
  std::array<std::uint8_t, replylength> wire{};
  unsigned sum = 0;
  for (int i = 1; i <= replydatabytes; ++i) {
    wire[i] = data[18 - i];
    sum += wire[i];
  }
  wire[0] = static_cast<std::uint8_t>(sum % 256);
  return wire;
}

}  // namespace ostrel
