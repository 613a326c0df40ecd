// The raw log file: its exact layout, a lossless round trip, and files the import refuses whole.
#include "logger/rawlog.h"

#include <gtest/gtest.h>

#include "loggerfixture.h"

using namespace ostrel;

namespace {

class RawLogFile : public ::testing::Test {
 protected:
  ProgramState state;
  logsamples store;
  RawLogFile() {
    store.resetlogsamples();
    for (int i = 0; i < 16; ++i) {
      state.logcolour[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
      state.logvar[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0x70 + i);
    }
  }
};

TEST_F(RawLogFile, FreshStoreExportsTheFixedLayout) {
  const QByteArray file = rawlogbytes(state, store);
  ASSERT_EQ(file.size(), 1872000);
  EXPECT_EQ(file.left(78), "S1230CL:US000102030405060708090A0B0C0D0E0F707172737475767778797A7B7C7D7E7FFF\r\n");
  EXPECT_EQ(file.mid(78, 78), "S123000000" + QByteArray(64, '0') + "FF\r\n");
  EXPECT_EQ(file.mid(2 * 78, 78), "S123000020" + QByteArray(64, '0') + "FF\r\n");
  EXPECT_EQ(file.right(78), "S1230BB7C0" + QByteArray(64, '0') + "FF\r\n");
  for (int n = 1; n < rawloglines; ++n) ASSERT_EQ(file.mid(n * 78 + 76, 2), "\r\n") << n;
}

TEST_F(RawLogFile, DataLinesHoldTwoSamplesInUpperCase) {
  for (int c = 0; c < 16; ++c)
    store.setlogdata(2, c, static_cast<std::uint8_t>(0xA0 + c)), store.setlogdata(3, c, 0xFE);
  const QByteArray line = rawlogbytes(state, store).mid(2 * 78, 78);
  EXPECT_EQ(line, "S123000020A0A1A2A3A4A5A6A7A8A9AAABACADAEAFFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFF\r\n");
}

TEST_F(RawLogFile, RoundTripRestoresProfileAndSamplesButNotStampsOrTheLastTwo) {
  test::record(
      store, logsamplecount, [](int s) { return s / 10 % 86400; },
      [](int s, int c) { return (s * 31 + c * 7) & 0xFF; });
  const QByteArray file = rawlogbytes(state, store);

  ProgramState other;
  logsamples target;
  target.resetlogsamples();
  for (int c = 0; c < 16; ++c) target.setlogdata(47998, c, 1), target.setlogdata(47999, c, 2);
  target.setlogtimestamp(5, QTime(8, 0, 0));
  other.logindex = 1234;
  const auto log = parserawlog(file);
  ASSERT_TRUE(log);
  applyrawlog(*log, other, target);
  EXPECT_EQ(other.logcolour, state.logcolour);
  EXPECT_EQ(other.logvar, state.logvar);
  for (int s = 0; s < 47998; ++s)
    for (int c = 0; c < 16; ++c) ASSERT_EQ(target.getlogdata(s, c), store.getlogdata(s, c)) << s << "/" << c;
  EXPECT_EQ(target.getlogdata(47998, 3), 1);
  EXPECT_EQ(target.getlogdata(47999, 3), 2);
  EXPECT_EQ(target.getlogtimestamps(5), "08:00:00");
  EXPECT_EQ(target.getlogtimestamps(6), "0");
  EXPECT_EQ(other.logindex, 1234);
}

TEST_F(RawLogFile, LowerCaseDigitsReadLikeUpperCase) {
  test::record(
      store, 100, [](int s) { return s; }, [](int s, int c) { return 0xA0 + ((s + c) % 0x5F); });
  const QByteArray upper = rawlogbytes(state, store);
  QByteArray lower = upper;
  for (int n = 0; n < rawloglines; ++n)
    for (int k = 10; k < 74; ++k) lower[n * 78 + k] = static_cast<char>(std::tolower(lower[n * 78 + k]));
  ASSERT_NE(lower, upper);
  const auto a = parserawlog(upper), b = parserawlog(lower);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->profile, b->profile);
  EXPECT_EQ(a->samples, b->samples);
}

TEST_F(RawLogFile, InvalidHeaderEntriesKeepTheirChannel) {
  QByteArray file = rawlogbytes(state, store);
  file.replace(10 + 2 * 4, 2, "11");  // colour 17
  file.replace(42 + 2 * 9, 2, "80");  // variable 128
  ProgramState other;
  other.logcolour.fill(9);
  other.logvar.fill(3);
  applyrawlog(*parserawlog(file), other, store);
  EXPECT_EQ(other.logcolour[4], 9);
  EXPECT_EQ(other.logcolour[5], 5);
  EXPECT_EQ(other.logvar[9], 3);
  EXPECT_EQ(other.logvar[10], 0x7A);
}

TEST_F(RawLogFile, ShortLineFeedOnlyAndDamagedFilesAreRefusedWhole) {
  const QByteArray good = rawlogbytes(state, store);
  QByteArray lfonly = good;
  lfonly.replace("\r\n", "\n");
  QByteArray damagedlast = good;
  damagedlast[good.size() - 5] = 'G';  // the very last pair
  QByteArray damagedheader = good;
  damagedheader[11] = ' ';
  QByteArray withoutlastlineend = good.left(good.size() - 4);  // the last pair is complete: still readable
  const struct {
    const char* what;
    QByteArray file;
    bool accepted;
  } cases[] = {
      {"whole", good, true},
      {"without the last FF and line end", withoutlastlineend, true},
      {"longer", good + "extra", true},
      {"one byte short of the last pair", good.left(good.size() - 5), false},
      {"line feeds only", lfonly, false},
      {"damaged last pair", damagedlast, false},
      {"damaged header", damagedheader, false},
      {"empty", QByteArray(), false},
  };
  for (const auto& c : cases) EXPECT_EQ(parserawlog(c.file).has_value(), c.accepted) << c.what;
}

}  // namespace
