// Learn and auto-tune: the correction, the timer interval, the learn weight, the neighbour spiral, the five-tick
// cycle with its suspension and waits, the write-back, and the tool window's ways of ending.
#include "mapviews/autotune.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <optional>
#include <vector>

#include "graphfixture.h"
#include "mapviews/frminterpcopy.h"
#include "mapviews/interpcopy.h"
#include "platform/ui/picturesurface.h"
#include "tuningfixture.h"

using namespace ostrel;

namespace {

TEST(AutoTuneArithmetic, CorrectionIsATenthOfTheRelativeErrorAndAtLeastOneUnit) {
  struct Case {
    float target, feedback;
    int learned;
    std::optional<int> after;
  };
  const std::vector<Case> cases = {
      {100, 108, 125, 126},           // factor 1.008: 126.0
      {100, 108, 40, 41},             // 40.32 rounds to 40, so one unit up
      {100, 95, 100, 99},             // 99.5 rounds to the even 100, so one unit down
      {100, 90, 200, 198},            // factor 0.99
      {100, 101, 120, std::nullopt},  // an error of exactly 1.0 is no error
      {100, 99, 120, std::nullopt},
      {100, 101.5f, 120, 121},      // just above 1.0
      {0, 120, 120, std::nullopt},  // no target: nothing to divide by
      {100, 200, 250, 255},         // factor 1.1 gives 275: limited to the byte
      {100, 105, 255, 255},         // one unit up from 255 stays 255
      {100, 50, 1, 0},              // 0.95 rounds to 1, one unit down
      {100, 50, 0, 0},              // nothing below 0
  };
  for (const Case& c : cases)
    EXPECT_EQ(autotunecorrection(c.target, c.feedback, c.learned), c.after)
        << c.target << " " << c.feedback << " " << c.learned;
}

TEST(AutoTuneArithmetic, IntervalFollowsTheEngineSpeed) {
  const std::vector<std::pair<int, int>> cases = {{0, 200},   {3000, 125}, {4000, 100}, {5500, 60}, {5700, 60},
                                                  {5800, 55}, {5900, 50},  {6000, 50},  {9000, 50}, {30000, 50}};
  for (const auto& [rpm, ms] : cases) EXPECT_EQ(autotuneinterval(rpm), ms) << rpm;
}

TEST(AutoTuneArithmetic, LearnWeightGrowsWithTheHitsUpToNinety) {
  // The sample 178 aims at 255.
  EXPECT_EQ(learnvalue(50, 1, 178), 253);   // (50 + 99 x 255) / 100 = 252.95
  EXPECT_EQ(learnvalue(50, 50, 178), 152);  // (2500 + 12750) / 100 = 152.5, to the even 152
  EXPECT_EQ(learnvalue(100, 90, 0), 90);    // from the 90th sample 10 % on the sample
  EXPECT_EQ(learnvalue(100, 100, 0), 90);   // capped at 90
  EXPECT_EQ(learnvalue(200, 1, 89), 128);   // aim 127.5: (200 + 99 x 127.5) / 100 = 128.225
}

// The learned array of a map at 100 with one cell set by constrainneighbours.
WorkCopy spiralof(int row, int col, int value) {
  WorkCopy learned{}, work{};
  for (auto& line : learned) line.fill(100);
  for (auto& line : work) line.fill(100);
  constrainneighbours(learned, work, row, col, value, 4);
  // The work copy gets the cell only.
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) EXPECT_EQ(work[r][c], r == row && c == col ? value : 100) << r << "," << c;
  return learned;
}

std::vector<std::tuple<int, int, int>> changedcells(const WorkCopy& learned) {
  std::vector<std::tuple<int, int, int>> out;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c)
      if (learned[r][c] != 100) out.emplace_back(r, c, learned[r][c]);
  return out;
}

TEST(ConstrainNeighbours, TheSpiralLimitsTheCrossAndThreeDiagonalCells) {
  const WorkCopy learned = spiralof(10, 10, 120);
  // On the cross through the cell: 116, 112, 108, 104 at distances 1 to 4 on each side.
  for (int d = 1; d <= 4; ++d) {
    const int want = 120 - 4 * d;
    EXPECT_EQ(learned[10 - d][10], want) << d;
    EXPECT_EQ(learned[10 + d][10], want) << d;
    EXPECT_EQ(learned[10][10 - d], want) << d;
    EXPECT_EQ(learned[10][10 + d], want) << d;
  }
  // The walk as written also raises three diagonal cells: pass 3 walks column-down from (10, 10) to (10, 9), which
  // pass 0 raised to 116, and takes (9, 9) as the outer neighbour there; the rings after it carry that on to
  // (8, 9) and (7, 9).
  EXPECT_EQ(learned[9][9], 112);
  EXPECT_EQ(learned[8][9], 108);
  EXPECT_EQ(learned[7][9], 104);
  EXPECT_EQ(changedcells(learned).size(), 20u);  // 17 on the cross and the cell, and the three
}

TEST(ConstrainNeighbours, BorderCellsAreStoredButLimitNothingThemselves) {
  EXPECT_EQ(changedcells(spiralof(0, 10, 120)), (std::vector<std::tuple<int, int, int>>{{0, 10, 120}}));
  EXPECT_EQ(changedcells(spiralof(31, 31, 120)), (std::vector<std::tuple<int, int, int>>{{31, 31, 120}}));
  // Next to the border the cell limits its border neighbours too.
  const WorkCopy corner = spiralof(1, 1, 120);
  EXPECT_EQ(corner[0][1], 116);
  EXPECT_EQ(corner[1][0], 116);
  EXPECT_EQ(corner[0][0], 100);
  EXPECT_EQ(corner[1][5], 104);
  EXPECT_EQ(corner[5][1], 104);
}

TEST(ConstrainNeighbours, ALowerCellPullsItsNeighboursDown) {
  const WorkCopy learned = spiralof(10, 10, 60);
  for (int d = 1; d <= 9; ++d) {
    EXPECT_EQ(learned[10 + d][10], 60 + 4 * d) << d;
    EXPECT_EQ(learned[10][10 + d], 60 + 4 * d) << d;
  }
  EXPECT_EQ(learned[10][20], 100);
  EXPECT_EQ(learned[11][11], 100);
}

TEST(ConstrainNeighbours, NeighboursWithinTheStepStay) {
  WorkCopy learned{}, work{};
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) learned[r][c] = work[r][c] = 100 + r + c;  // steps of 1 everywhere
  const WorkCopy before = learned;
  constrainneighbours(learned, work, 12, 20, 132, 4);  // its own value: nothing to limit
  EXPECT_EQ(learned, before);
}

// The learn and auto-tune state over the shipped calibration, driven tick by tick.
class AutoTuneTicks : public test::TuningTest {
 protected:
  AutoTuneTicks() {
    rig.state.curmap = autotunemap;
    rig.state.toolmode = toolmodes::autotune;
    rig.state.online = true;
    fill(autotunemap, 100);
    rig.mainmaps.clearchange();
    tool.startlearn(in);
  }

  // One tick with a fresh live-values reply (unless stale) at the cell with the mixture.
  AutoTuneShow tick(int target, int feedback, bool stale = false) {
    in.afrtarget = static_cast<std::uint8_t>(target);
    in.afr = static_cast<std::int16_t>(feedback);
    if (!stale) ++in.livevaluesreplies;
    return tool.autotunetick(in, 100);
  }
  // Ticks until the tick counter stands just before a multiple of five (the next tick samples), with no error.
  void tosample(bool stale = false) {
    while ((tool.autotunetickcount() + 1) % 5 != 0) tick(100, 100, stale);
  }

  TuningLive in{.online = true, .liverow = 10, .livecol = 10, .liverpm = 3000};
  LearnAutoTune tool{rig.state, rig.mainmaps};
};

TEST_F(AutoTuneTicks, ALeanCellStaysOneCycleThenIsCorrectedAndWrittenBack) {
  tosample();
  tick(100, 108);  // the first sample only takes the cell
  EXPECT_EQ(rig.state.cursorrow, 10);
  EXPECT_EQ(rig.state.cursorcol, 10);
  EXPECT_EQ(tool.learned()[10][10], 100);
  tosample();
  tick(100, 108);  // the same cell again: corrected
  EXPECT_EQ(tool.learned()[10][10], 101);
  EXPECT_EQ(rig.mainmaps.getdata(4, 10, 10), 100) << "written back on the next tick";
  tick(100, 108);
  EXPECT_EQ(rig.mainmaps.getdata(4, 10, 10), 101);
  EXPECT_TRUE(rig.mainmaps.getchange(4, 10, 10));
  // The write-back marks the cell for writing and puts the box on it.
  const PendingWrite& rect = rig.state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{rect.lowrow, rect.highrow, rect.lowcol, rect.highcol}),
            (std::array<int, 4>{10, 10, 10, 10}));
  EXPECT_EQ(rig.state.pendingcommand, 8);
  EXPECT_TRUE(rig.state.trimbox.active);
}

TEST_F(AutoTuneTicks, NoCorrectionAfterAMoveToAnotherCell) {
  tosample();
  tick(100, 120);
  in.liverow = 11;
  tosample();
  tick(100, 120);
  EXPECT_EQ(changedcells(tool.learned()).size(), 0u);
  EXPECT_EQ(rig.state.cursorrow, 11);
}

TEST_F(AutoTuneTicks, ATargetOfZeroSkipsTheSample) {
  tosample();
  tick(0, 120);
  tosample();
  tick(0, 120);
  EXPECT_EQ(changedcells(tool.learned()).size(), 0u);
  tosample();
  tick(100, 105);  // the cell was still taken: the next sample corrects
  EXPECT_EQ(tool.learned()[10][10], 101);
}

TEST_F(AutoTuneTicks, FeedbackOf110SuspendsFromTheNextTickOn) {
  tick(100, 100);
  tick(100, 100);
  ASSERT_EQ(tool.autotunetickcount(), 2);
  tick(100, 110);  // decided by the previous feedback: still counts
  EXPECT_EQ(tool.autotunetickcount(), 3);
  for (int i = 0; i < 12; ++i) {
    const AutoTuneShow show = tick(100, 110);
    EXPECT_EQ(tool.autotunetickcount(), 3) << "tick " << i;
    EXPECT_EQ(show.feedtext, QStringLiteral("feedback AFR = 1.1"));  // labels and interval still refreshed
    EXPECT_EQ(show.interval, 125);
  }
  EXPECT_EQ(changedcells(tool.learned()).size(), 0u);
  tick(100, 109);  // the first tick after it is still suspended
  EXPECT_EQ(tool.autotunetickcount(), 3);
  tick(100, 109);
  EXPECT_EQ(tool.autotunetickcount(), 4);
}

TEST_F(AutoTuneTicks, StaleOrOfflineValuesAreNoSample) {
  tosample();
  tick(100, 108);  // takes the cell
  // No live-values reply since: a lost line keeps the old values, which must not correct again and again.
  for (int cycle = 0; cycle < 4; ++cycle) {
    tosample(true);
    tick(100, 108, true);
  }
  EXPECT_EQ(changedcells(tool.learned()).size(), 0u);
  // Offline: nothing either, fresh or not.
  in.online = false;
  tosample();
  tick(100, 108);
  EXPECT_EQ(changedcells(tool.learned()).size(), 0u);
  in.online = true;
  tosample();
  tick(100, 108);
  EXPECT_EQ(tool.learned()[10][10], 101);
}

TEST_F(AutoTuneTicks, TheReplySeenAtTheStartIsNoSample) {
  in.livevaluesreplies = 7;
  tool.startlearn(in);
  for (int i = 0; i < 40; ++i) tick(100, 108, true);
  EXPECT_EQ(rig.state.cursorrow, 0) << "never sampled";
}

TEST_F(AutoTuneTicks, TickThreeWaitsForQueuedWritesAndForAPendingEdit) {
  tosample();  // tick counter at 4
  tick(100, 100);
  tick(100, 100);
  tick(100, 100);  // 5, 6, 7
  ASSERT_EQ(tool.autotunetickcount(), 7);
  tick(100, 100);
  ASSERT_EQ(tool.autotunetickcount(), 8);
  // At 13 (3 modulo 5) with two writes still queued the counter goes back to 2, and waits between 2 and 3.
  in.lastqueuedtransfer = 1;
  for (int i = 0; i < 5; ++i) tick(100, 100);
  EXPECT_EQ(tool.autotunetickcount(), 2);
  for (int i = 0; i < 6; ++i) tick(100, 100);
  EXPECT_EQ(tool.autotunetickcount(), 2);
  in.lastqueuedtransfer = 0;
  rig.state.pendingcommand = 3;  // an edit still counting down
  for (int i = 0; i < 6; ++i) tick(100, 100);
  EXPECT_EQ(tool.autotunetickcount(), 2);
  rig.state.pendingcommand = 0;
  tick(100, 100);
  tick(100, 100);
  EXPECT_EQ(tool.autotunetickcount(), 4);
}

TEST_F(AutoTuneTicks, LabelsIntervalAndRedrawEveryTenTicks) {
  int redraws = 0;
  AutoTuneShow show;
  in.liverpm = 4000;
  for (int i = 0; i < 30; ++i) {
    show = tick(105, 104);
    redraws += show.redraw;
  }
  EXPECT_EQ(redraws, 3);
  EXPECT_EQ(show.targettext, QStringLiteral("target AFR = 1.05"));
  EXPECT_EQ(show.feedtext, QStringLiteral("feedback AFR = 1.04"));
  EXPECT_EQ(show.interval, 100);
  // On another map the labels are empty and the interval stays.
  rig.state.curmap = 8;
  show = tool.autotunetick(in, 170);
  EXPECT_TRUE(show.targettext.isEmpty());
  EXPECT_TRUE(show.feedtext.isEmpty());
  EXPECT_EQ(show.interval, 170);
}

TEST_F(AutoTuneTicks, TheCounterWrapsFrom100To0) {
  for (int i = 0; i < 100; ++i) tick(100, 100);
  EXPECT_EQ(tool.autotunetickcount(), 100);
  tick(100, 100);
  EXPECT_EQ(tool.autotunetickcount(), 0);
}

TEST_F(AutoTuneTicks, OnlyToolMode12Counts) {
  rig.state.toolmode = toolmodes::interpx;
  for (int i = 0; i < 20; ++i) tick(100, 120);
  EXPECT_EQ(tool.autotunetickcount(), 0);
  EXPECT_EQ(changedcells(tool.learned()).size(), 0u);
}

TEST_F(AutoTuneTicks, WriteBackSetsTheBoxOverTheChangedCellsWithItsBounds) {
  rig.state.cursorrow = 3, rig.state.cursorcol = 3;
  tool.learned()[12][7] = 130;
  tool.learned()[9][14] = 90;
  ASSERT_TRUE(tool.applylearned());
  const TrimBox& box = rig.state.trimbox;
  EXPECT_TRUE(box.active);
  EXPECT_EQ((std::array<int, 4>{box.anchorh, box.endh, box.anchorv, box.endv}), (std::array<int, 4>{9, 12, 7, 14}));
  EXPECT_EQ((std::array<int, 4>{box.rowmin, box.rowmax, box.colmin, box.colmax}), (std::array<int, 4>{9, 12, 7, 14}));
  const PendingWrite& rect = rig.state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{rect.lowrow, rect.highrow, rect.lowcol, rect.highcol}),
            (std::array<int, 4>{9, 12, 7, 14}));
  EXPECT_EQ(rig.mainmaps.getdata(4, 12, 7), 130);
  EXPECT_EQ(rig.mainmaps.getdata(4, 9, 14), 90);
  EXPECT_EQ(tool.work(), tool.learned());
}

TEST_F(AutoTuneTicks, ACorrectionThatLimitsNoNeighbourIsStillMarkedForWriting) {
  // A correction that moves no neighbour lands in both arrays at once; only the map still holds the old value.
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      tool.learned()[r][c] = tool.work()[r][c] = 100 + (r + c) % 3;
      rig.mainmaps.setdata(4, r, c, 100 + (r + c) % 3, false);
    }
  constrainneighbours(tool.learned(), tool.work(), 10, 10, 103, 4);
  ASSERT_EQ(tool.work(), tool.learned());
  EXPECT_TRUE(tool.applylearned());
  EXPECT_EQ(rig.mainmaps.getdata(4, 10, 10), 103);
  const PendingWrite& rect = rig.state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{rect.lowrow, rect.highrow, rect.lowcol, rect.highcol}),
            (std::array<int, 4>{10, 10, 10, 10}));
  EXPECT_EQ(rig.state.pendingcommand, 8);
  EXPECT_TRUE(rig.state.trimbox.active);
  // With nothing new the next write-back marks nothing.
  rig.state.pendingwrite.reset();
  rig.state.pendingcommand = 0;
  EXPECT_FALSE(tool.applylearned());
  EXPECT_TRUE(rig.state.pendingwrite.empty());
  EXPECT_EQ(rig.state.pendingcommand, 0);
}

TEST_F(AutoTuneTicks, LearnMovesTheLiveCellOnlyInLearnModeOnMap20) {
  rig.state.curmap = learnmap;
  fill(learnmap, 50);
  in.livesample = 178;
  in.liverow = 5, in.livecol = 6;
  tool.startlearn(in);
  rig.state.toolmode = toolmodes::autotune;
  for (int i = 0; i < 5; ++i) tool.learntick(in);
  EXPECT_EQ(tool.work()[5][6], 50);
  rig.state.toolmode = toolmodes::learn;
  int redraws = 0;
  for (int i = 0; i < 5; ++i) redraws += tool.learntick(in);
  EXPECT_EQ(tool.hits()[5][6], 5);
  EXPECT_EQ(redraws, 1);  // the learn tick reached 10
  EXPECT_GT(tool.work()[5][6], 240);
  EXPECT_EQ(tool.work()[5][7], 50);
}

// The tool window in learn and auto-tune.
using LearnWindow = test::TuningTest;

TEST_F(LearnWindow, OnAnotherMapOnlyTheMessage) {
  rig.state.curmap = 8;
  rig.state.toolmode = 3;
  tools.learndata();
  EXPECT_TRUE(launcher.opened.empty());
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("There is no learning function for this map or setting group")});
  EXPECT_EQ(rig.state.toolmode, 3);
}

TEST_F(LearnWindow, AutoTuneHasNoCancelAndEveryCloseKeepsWhatItLearned) {
  enum class Close { ok, escape, closebox, launcher };
  for (const Close how : {Close::ok, Close::escape, Close::closebox, Close::launcher}) {
    SCOPED_TRACE(static_cast<int>(how));
    rig.state.curmap = autotunemap;
    fill(autotunemap, 100);
    rig.state.trimbox.active = false;
    rig.state.pendingwrite.reset();
    rig.state.pendingcommand = 0;
    host.calls.clear();
    launcher.scripts.push_back([&](QDialog& d) {
      auto& window = static_cast<frmInterpcopy&>(d);
      EXPECT_EQ(window.windowTitle(), QStringLiteral("Autotune VE map"));
      EXPECT_FALSE(window.Command2->isEnabled());
      EXPECT_EQ(rig.state.toolmode, toolmodes::autotune);
      // A correction sampled but not yet written back when the window closes.
      constrainneighbours(window.tool().learned(), window.tool().work(), 12, 12, 130, 4);
      switch (how) {
        case Close::ok:
          window.Command1->click();
          break;
        case Close::escape:
          QTest::keyClick(&window, Qt::Key_Escape);
          break;
        case Close::closebox:
          window.close();
          break;
        case Close::launcher:
          break;  // the launcher closes what the script leaves open
      }
    });
    tools.learndata();
    EXPECT_EQ(rig.state.toolmode, 0);
    EXPECT_EQ(rig.mainmaps.getdata(4, 12, 12), 130);
    EXPECT_EQ(rig.mainmaps.getdata(4, 12, 13), 126);  // the neighbours too
    const PendingWrite& rect = rig.state.pendingwrite;
    EXPECT_FALSE(rect.empty()) << "the pending write-back ran first";
    EXPECT_LE(rect.lowrow, 12);
    EXPECT_GE(rect.highrow, 12);
    EXPECT_FALSE(host.calls.empty());
  }
  EXPECT_EQ(launcher.opened.size(), 4u);
}

TEST_F(LearnWindow, LearnOkStoresTheWorkCopySelectsTheMapAndMarksItAll) {
  rig.state.curmap = learnmap;
  fill(learnmap, 50);
  rig.mainmaps.clearchange();
  live(7, 9);
  test::changelive(rig.link, [](LiveData& l) { l.livesample = 178; });
  launcher.scripts.push_back([&](QDialog& d) {
    auto& window = static_cast<frmInterpcopy&>(d);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Learn values"));
    EXPECT_TRUE(window.Command2->isEnabled());
    for (int i = 0; i < 3; ++i) window.learntick();
    window.Command1->click();
  });
  tools.learndata();
  EXPECT_EQ(rig.state.toolmode, 0);
  EXPECT_GT(rig.mainmaps.getdata(20, 7, 9), 240);
  EXPECT_EQ(rig.mainmaps.getdata(20, 7, 10), 50);
  EXPECT_TRUE(rig.mainmaps.getchange(20, 0, 0));  // every cell stored and marked
  const TrimBox& box = rig.state.trimbox;
  EXPECT_TRUE(box.active);
  EXPECT_EQ((std::array<int, 4>{box.rowmin, box.rowmax, box.colmin, box.colmax}), (std::array<int, 4>{0, 31, 0, 31}));
  const PendingWrite& rect = rig.state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{rect.lowrow, rect.highrow, rect.lowcol, rect.highcol}),
            (std::array<int, 4>{0, 31, 0, 31}));
}

TEST_F(LearnWindow, LearnCancelKeepsTheMap) {
  rig.state.curmap = learnmap;
  const CalibrationImage before = rig.mainmaps.getimage();
  live(7, 9);
  test::changelive(rig.link, [](LiveData& l) { l.livesample = 178; });
  launcher.scripts.push_back([](QDialog& d) {
    auto& window = static_cast<frmInterpcopy&>(d);
    for (int i = 0; i < 3; ++i) window.learntick();
    window.Command2->click();
  });
  tools.learndata();
  EXPECT_EQ(rig.mainmaps.getimage(), before);
  EXPECT_EQ(rig.state.toolmode, toolmodes::learn);
  EXPECT_TRUE(rig.state.pendingwrite.empty());
}

TEST_F(LearnWindow, ScreenshotOfAutoTuneRunning) {
  rig.state.curmap = autotunemap;
  rig.state.online = true;
  rig.state.cursorrow = 9, rig.state.cursorcol = 12;
  live(9, 12);
  test::changelive(rig.link, [](LiveData& l) { l.liverpm = 2200; });
  const int before = rig.mainmaps.getdata(4, 9, 12);
  launcher.scripts.push_back([&](QDialog& d) {
    auto& window = static_cast<frmInterpcopy&>(d);
    // A lean cell corrected for a while: the cell and its neighbours rise.
    for (int i = 0; i < 200; ++i) {
      mixture(100, 107);
      window.autotunetick();
      rig.state.pendingcommand = 0;  // as if the commands timer had handed each write-back to the link
    }
    EXPECT_GT(window.tool().learned()[9][12], before + 20);
    EXPECT_EQ(window.targetAFR->text(), QStringLiteral("target AFR = 1"));
    EXPECT_EQ(window.feedAFR->text(), QStringLiteral("feedback AFR = 1.07"));
    EXPECT_EQ(window.TimerAutoTune->interval(), autotuneinterval(2200));
    test::savescreenshot(&window, QStringLiteral("autotune_map4_running"));
    window.Command1->click();
  });
  tools.learndata();
  EXPECT_EQ(rig.state.toolmode, 0);
}

}  // namespace
