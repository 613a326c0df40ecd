// Offline replay: the guards, the steps the window draws and the scroll bar's pages.
#include "logger/logreplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logger/logsamples.h"
#include "loggerfixture.h"
#include "platform/programstate.h"

using namespace ostrel;

namespace {

// Notes every call with the cursor it saw: "d5" drawdata at 5, "t5" logtypedata, "g5" syncloggrid.
class RecordingDisplay : public LogDisplay {
 public:
  explicit RecordingDisplay(const ProgramState& state) : state_(state) {}
  std::vector<std::string> calls;
  void drawdata() override { note('d'); }
  void logtypedata() override { note('t'); }
  void syncloggrid() override { note('g'); }

 private:
  void note(char c) { calls.push_back(c + std::to_string(state_.logindex)); }
  const ProgramState& state_;
};

class Replay : public ::testing::Test {
 protected:
  ProgramState state;
  logsamples store;
  RecordingDisplay display{state};
  LogReplay replay{state, store, display};
  Replay() { store.resetlogsamples(); }
  using Calls = std::vector<std::string>;
};

TEST_F(Replay, SingleStepsStopAtTheirLimits) {
  const struct {
    std::int32_t from;
    bool forward;
    std::int32_t to;
  } cases[] = {{2, false, 1},        {1, false, 1},        {0, false, 0},   {-49, false, -49},
               {47998, true, 47999}, {47999, true, 47999}, {-49, true, -48}};
  for (const auto& c : cases) {
    state.logindex = c.from;
    display.calls.clear();
    c.forward ? replay.forward() : replay.back();
    EXPECT_EQ(state.logindex, c.to) << c.from << (c.forward ? " >" : " <");
    if (c.from != c.to) {
      EXPECT_EQ(display.calls,
                (Calls{"d" + std::to_string(c.to), "t" + std::to_string(c.to), "g" + std::to_string(c.to)}));
    } else {
      EXPECT_TRUE(display.calls.empty());
    }
  }
}

TEST_F(Replay, TenStepsDrawEachColumn) {
  state.logindex = 500;
  replay.fastforward();
  EXPECT_EQ(state.logindex, 510);
  EXPECT_EQ(display.calls, (Calls{"d500", "d501", "d502", "d503", "d504", "d505", "d506", "d507", "d508", "d509",
                                  "t510", "d510", "g510"}));
  display.calls.clear();
  replay.fastback();
  EXPECT_EQ(state.logindex, 500);
  EXPECT_EQ(display.calls, (Calls{"d500", "d501", "d502", "d503", "d504", "d505", "d506", "d507", "d508", "d509",
                                  "t500", "d500", "g500"}));
}

TEST_F(Replay, TenStepsAtTheEndsOnlyRedraw) {
  for (std::int32_t at : {47990, 47999}) {
    state.logindex = at;
    display.calls.clear();
    replay.fastforward();
    EXPECT_EQ(state.logindex, at);
    EXPECT_EQ(display.calls.size(), 3u);
  }
  state.logindex = 47989;
  replay.fastforward();
  EXPECT_EQ(state.logindex, 47999);
  for (std::int32_t at : {9, 0}) {
    state.logindex = at;
    display.calls.clear();
    replay.fastback();
    EXPECT_EQ(state.logindex, at);
    EXPECT_EQ(display.calls, (Calls{"t" + std::to_string(at), "d" + std::to_string(at), "g" + std::to_string(at)}));
  }
  state.logindex = 10;
  replay.fastback();
  EXPECT_EQ(state.logindex, 0);
}

TEST_F(Replay, ScrollBarPagesStartAtWholeHundreds) {
  EXPECT_EQ(replay.scrollto(479), 479);
  EXPECT_EQ(state.logindex, 47991);
  EXPECT_EQ(display.calls.front(), "d47900");
  EXPECT_EQ(display.calls[1], "t47900");
  EXPECT_EQ(display.calls.size(), 2u * 91 + 2);
  EXPECT_EQ(display.calls[display.calls.size() - 2], "d47991");
  EXPECT_EQ(display.calls.back(), "g47991");

  EXPECT_EQ(replay.scrollto(3), 3);
  EXPECT_EQ(state.logindex, 391);
  EXPECT_EQ(replay.scrollto(900), 479);  // beyond the bar: its last page
}

TEST_F(Replay, NothingMovesWhileConnected) {
  state.online = true;
  state.logindex = 700;
  replay.back();
  replay.forward();
  replay.fastback();
  replay.fastforward();
  EXPECT_EQ(replay.scrollto(12), 0);  // the bar snaps back
  EXPECT_EQ(state.logindex, 700);
  EXPECT_TRUE(display.calls.empty());
  EXPECT_FALSE(store.keptrecordposition());
}

TEST_F(Replay, RecordingGoesOnWhereItStoodBeforeTheReplay) {
  restartlog(state, store);
  state.online = true;
  for (int k = 0; k < 49 + 250; ++k) addlogsample(state, store, test::reply(k), QTime(12, 0, k / 10 % 60));
  ASSERT_EQ(state.logindex, 250);

  state.online = false;
  replay.scrollto(0);
  replay.back();
  replay.back();
  ASSERT_EQ(state.logindex, 89);
  EXPECT_EQ(store.recordposition(state.logindex), 250);

  state.online = true;
  addlogsample(state, store, test::reply(7), QTime(12, 1, 0));
  EXPECT_EQ(state.logindex, 251);
  EXPECT_EQ(store.getlogdata(250, 0), 7);
  EXPECT_EQ(store.getlogdata(89, 0), (49 + 89) & 0xFF);  // where the cursor stood: not overwritten
}

TEST(ReplayGrid, SyncRowFollowsTheCursorInsideTheGrid) {
  const struct {
    std::int32_t logindex;
    int rows;
    std::optional<int> row;
  } cases[] = {{2, 32765, 1},      {1, 32765, {}}, {-49, 32765, {}},  {32764, 32765, 32763},
               {32765, 32765, {}}, {2, 2, {}},     {47991, 32765, {}}};
  for (const auto& c : cases) EXPECT_EQ(logsyncrow(c.logindex, c.rows), c.row) << c.logindex << "/" << c.rows;
}

}  // namespace
