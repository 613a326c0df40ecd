// The sample store and the sample counter that decides where each window-data reply goes.
#include "logger/logsamples.h"

#include <gtest/gtest.h>

#include "loggerfixture.h"
#include "platform/programstate.h"

using namespace ostrel;

namespace {

const QTime tenpast(10, 10, 5);

class SampleCounter : public ::testing::Test {
 protected:
  ProgramState state;
  logsamples store;
  SampleCounter() { store.resetlogsamples(); }
  void replies(int n) {
    for (int k = 0; k < n; ++k) addlogsample(state, store, test::reply(k), tenpast);
  }
};

TEST_F(SampleCounter, IdleStoresNothingAndNeverMoves) {
  ASSERT_EQ(state.logindex, logidle);
  replies(500);
  EXPECT_EQ(state.logindex, -50);
  for (int s : {0, 1, 47999}) {
    EXPECT_EQ(store.getlogtimestamps(s), "0");
    for (int c = 0; c < 16; ++c) EXPECT_EQ(store.getlogdata(s, c), 0);
  }
}

TEST_F(SampleCounter, WarmUpCountsFortyNineRepliesThenStoresSampleZero) {
  restartlog(state, store);
  ASSERT_EQ(state.logindex, -49);
  replies(49);
  EXPECT_EQ(state.logindex, 0);
  EXPECT_EQ(store.getlogtimestamps(0), "0");
  EXPECT_EQ(store.getlogdata(0, 0), 0);

  addlogsample(state, store, test::reply(200), tenpast);  // reply 50
  EXPECT_EQ(state.logindex, 1);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(store.getlogdata(0, c), (200 + c) & 0xFF) << c;
  EXPECT_EQ(store.getlogtimestamps(0), "10:10:05");
  EXPECT_EQ(store.getlogseconds(0), 10 * 3600 + 10 * 60 + 5);
  EXPECT_EQ(store.getlogtimestamps(1), "0");
}

TEST_F(SampleCounter, StaysOnTheLastSampleAndReplacesIt) {
  state.logindex = 47998;
  addlogsample(state, store, test::reply(1), QTime(1, 2, 3));
  EXPECT_EQ(state.logindex, 47999);
  addlogsample(state, store, test::reply(2), QTime(1, 2, 4));
  addlogsample(state, store, test::reply(90), QTime(23, 59, 59));
  EXPECT_EQ(state.logindex, 47999);
  EXPECT_EQ(store.getlogdata(47998, 0), 1);
  EXPECT_EQ(store.getlogdata(47999, 0), 90);
  EXPECT_EQ(store.getlogdata(47999, 15), 105);
  EXPECT_EQ(store.getlogtimestamps(47999), "23:59:59");
}

TEST(LogSamples, OutOfRangeReadsZeroAndOutOfRangeWritesStoreNothing) {
  logsamples store;
  store.resetlogsamples();
  for (int c = 0; c < 16; ++c) store.setlogdata(0, c, 9), store.setlogdata(47999, c, 9);
  const struct {
    std::int32_t sample;
    int channel;
  } outside[] = {{-1, 0}, {48000, 0}, {-50, 3}, {0, -1}, {0, 16}, {47999, 16}};
  for (const auto& o : outside) {
    EXPECT_EQ(store.getlogdata(o.sample, o.channel), 0) << o.sample << "," << o.channel;
    store.setlogdata(o.sample, o.channel, 77);
    if (o.sample < 0 || o.sample >= logsamplecount) store.setlogtimestamp(o.sample, QTime(3, 0, 0));
  }
  EXPECT_EQ(store.getlogdata(0, 15), 9);
  EXPECT_EQ(store.getlogdata(47999, 0), 9);
  EXPECT_EQ(store.getlogdata(1, 0), 0);  // 0 x 16 + 16 would have landed here
  EXPECT_EQ(store.getlogtimestamps(-1), "0");
  EXPECT_EQ(store.getlogtimestamps(48000), "0");
  EXPECT_EQ(store.getlogtimestamps(0), "0");
}

TEST(LogSamples, TimeStampsAreHoursMinutesSecondsAndResetClearsEverything) {
  logsamples store;
  EXPECT_EQ(store.getlogtimestamps(5), "");  // never reset
  store.resetlogsamples();
  const struct {
    QTime time;
    const char* text;
  } cases[] = {{QTime(0, 0, 0), "00:00:00"}, {QTime(9, 5, 7, 999), "09:05:07"}, {QTime(23, 59, 59), "23:59:59"}};
  for (const auto& c : cases) {
    store.setlogtimestamp(12, c.time);
    EXPECT_EQ(store.getlogtimestamps(12), c.text);
  }
  store.setlogdata(12, 4, 200);
  store.keeprecordposition(300);
  store.resetlogsamples();
  EXPECT_EQ(store.getlogtimestamps(12), "0");
  EXPECT_EQ(store.getlogdata(12, 4), 0);
  EXPECT_FALSE(store.keptrecordposition());
}

TEST_F(SampleCounter, RecordingResumesWhereItStoppedBeforeAReplay) {
  restartlog(state, store);
  replies(49 + 300);  // samples 0 to 299
  ASSERT_EQ(state.logindex, 300);
  state.online = false;
  store.keeprecordposition(state.logindex);  // replay starts
  state.logindex = 120;
  store.keeprecordposition(state.logindex);  // a later step keeps the first position
  state.logindex = 45;
  EXPECT_EQ(store.recordposition(state.logindex), 300);

  state.online = true;
  addlogsample(state, store, test::reply(250), tenpast);
  EXPECT_EQ(state.logindex, 301);
  EXPECT_EQ(store.getlogdata(300, 0), 250);
  EXPECT_EQ(store.getlogdata(45, 0), (49 + 45) & 0xFF);  // the replayed sample is untouched
  EXPECT_FALSE(store.keptrecordposition());
}

TEST_F(SampleCounter, OpeningTheLoggerRestartsOnlyAShortRecording) {
  const struct {
    std::int32_t logindex;
    std::optional<std::int32_t> kept;
    std::int32_t after;
  } cases[] = {
      {-50, {}, -49},  {-20, {}, -49},     {99, {}, -49},
      {100, {}, 100},  {47999, {}, 47999}, {30, 5000, 30},  // replaying a long recording: it stays
      {3000, 50, -49},                                      // replaying far into a short one: it starts again
  };
  for (const auto& c : cases) {
    logsamples fresh;
    fresh.resetlogsamples();
    if (c.kept) fresh.keeprecordposition(*c.kept);
    state.logindex = c.logindex;
    openlogrecording(state, fresh);
    EXPECT_EQ(state.logindex, c.after) << c.logindex;
    if (c.after == -49) {
      EXPECT_FALSE(fresh.keptrecordposition());
    }
  }
}

}  // namespace
