#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QProgressBar>
#include <set>

#include "common/testrig.h"
#include "livewindows/fastverify.h"
#include "livewindows/frmfastverify.h"

namespace ostrel::test {
namespace {

// The fast verify over a link whose live values are set as replies would set them: the ECU answers each map with
// the model's checksum, except for the maps it holds differently.
class FastVerifyTest : public ::testing::Test {
 protected:
  FastVerifyTest() { verify.start(); }

  // A live-values reply about the map, with the ECU's checksum of it.
  void reply(int map) {
    const int sum = differing.count(map) ? (rig.mainmaps.getchecksum(map) + 1) % 65536 : rig.mainmaps.getchecksum(map);
    changelive(rig.link, [&](LiveData& live) {
      live.ecuchecksum = sum;
      live.ecuchecksummap = map;
    });
  }

  // Steps with a fresh reply about the current map before each tick, until the run ends (at most limit ticks).
  FastVerify::End run(int limit = 100000) {
    for (int i = 0; i < limit; ++i) {
      reply(rig.state.curmap);
      const FastVerify::End end = verify.step();
      ++ticks;
      if (end != FastVerify::End::none) return end;
    }
    return FastVerify::End::none;
  }

  static int count(const QString& text, const QString& what) { return static_cast<int>(text.count(what)); }

  Rig rig;
  FastVerify verify{rig.state, rig.link, rig.mainmaps};
  std::set<int> differing;
  int ticks = 0;
};

TEST_F(FastVerifyTest, AllMapsEqualPassSilentlyOneTickEach) {
  rig.state.syncerrticks = 7;
  EXPECT_EQ(rig.state.curmap, 0);
  EXPECT_EQ(verify.report(), "Verify status:\r\n");
  EXPECT_EQ(run(), FastVerify::End::passed);
  EXPECT_EQ(ticks, 115) << "maps 0 to 114, map 115 is not compared";
  EXPECT_EQ(rig.state.curmap, 115);
  EXPECT_EQ(rig.state.syncerrticks, 0);
  EXPECT_EQ(verify.fvfailures(), 0);
  EXPECT_EQ(count(verify.report(), ": fast verified\r\n"), 7) << "the report holds the last seven maps";
  EXPECT_TRUE(verify.report().endsWith(FastVerify::shortname(rig.mainmaps.getmapname(114)) + ": fast verified\r\n"));
  EXPECT_EQ(verify.failures(), "Verify status:\r\n");
  EXPECT_EQ(verify.progress(), 114);
  EXPECT_TRUE(FastVerify::endmessage(FastVerify::End::passed).isEmpty());
}

TEST_F(FastVerifyTest, AMapFailsOnTheFiftyFirstMismatchingTickInARow) {
  differing = {0};
  for (int i = 0; i < 50; ++i) {
    reply(0);
    ASSERT_EQ(verify.step(), FastVerify::End::none);
  }
  EXPECT_EQ(rig.state.curmap, 0) << "fifty mismatching ticks are not yet a failure";
  // A match in between starts the count again.
  differing.clear();
  reply(0);
  verify.step();
  EXPECT_EQ(rig.state.curmap, 1);
  differing = {1};
  for (int i = 0; i < 51; ++i) {
    reply(1);
    verify.step();
  }
  EXPECT_EQ(rig.state.curmap, 2);
  EXPECT_EQ(verify.fvfailures(), 1);
  const QString line = FastVerify::shortname(rig.mainmaps.getmapname(1)) + ": fast verify failed\r\n";
  EXPECT_TRUE(verify.report().endsWith(line));
  EXPECT_EQ(verify.failures(), "Verify status:\r\n" + line);
}

TEST_F(FastVerifyTest, TheSixthFailureTerminatesTheRun) {
  differing = {3, 10, 20, 30, 40, 50, 60};
  EXPECT_EQ(run(), FastVerify::End::terminated);
  EXPECT_EQ(verify.fvfailures(), 6);
  EXPECT_EQ(rig.state.curmap, 51);
  EXPECT_EQ(count(verify.failures(), ": fast verify failed\r\n"), 6);
  EXPECT_TRUE(FastVerify::endmessage(FastVerify::End::terminated)
                  .startsWith("More than 5 maps/settings groups loaded in the PC software are different as those"));
}

TEST_F(FastVerifyTest, AFailureAtMap114EndsTheRunAtMap115WithTheNotSameMessage) {
  differing = {114};
  EXPECT_EQ(run(), FastVerify::End::notsame);
  EXPECT_EQ(rig.state.curmap, 115);
  EXPECT_EQ(verify.fvfailures(), 1);
  EXPECT_EQ(FastVerify::endmessage(FastVerify::End::notsame),
            "Not all maps/settings groups loaded in the PC software are the same as those in the ECU");

  // A failure earlier on ends the run with the same message once the last map has passed.
  verify.start();
  differing = {7};
  EXPECT_EQ(run(), FastVerify::End::notsame);
  EXPECT_EQ(rig.state.curmap, 115);
}

TEST_F(FastVerifyTest, ASixthFailureAtTheLastMapEndsWithTheTerminationOnly) {
  differing = {109, 110, 111, 112, 113, 114};
  EXPECT_EQ(run(), FastVerify::End::terminated);
  EXPECT_EQ(rig.state.curmap, 115);
}

TEST_F(FastVerifyTest, AStaleReplyNeverPassesTheNextMap) {
  // The ECU's map 0 happens to give the checksum that the model has for map 1, while the ECU's map 1 differs.
  changelive(rig.link, [&](LiveData& live) {
    live.ecuchecksum = rig.mainmaps.getchecksum(0);
    live.ecuchecksummap = 0;
  });
  ASSERT_EQ(verify.step(), FastVerify::End::none);
  ASSERT_EQ(rig.state.curmap, 1);
  changelive(rig.link, [&](LiveData& live) { live.ecuchecksum = rig.mainmaps.getchecksum(1); });
  for (int i = 0; i < 50; ++i) ASSERT_EQ(verify.step(), FastVerify::End::none);
  EXPECT_EQ(rig.state.curmap, 1) << "the reply about map 0 must not pass map 1, even with map 1's checksum";
  verify.step();
  EXPECT_EQ(verify.fvfailures(), 1) << "with no reply about map 1 it fails like a map without replies";

  // The reply about the current map passes it on the next tick.
  reply(2);
  verify.step();
  EXPECT_EQ(rig.state.curmap, 3);
}

// The report names the PWM maps as a tuner may see them: no axis variable while the selector row is guarded.
TEST_F(FastVerifyTest, TheReportLeavesOutTheAxisVariablesOfAGuardedSelectorRow) {
  rig.state.guards.guard(110, 0, 3, 3);
  differing = {88, 106};
  EXPECT_EQ(run(), FastVerify::End::notsame);
  EXPECT_EQ(verify.failures(), QStringLiteral("Verify status:\r\n2D PWM:PWM MAP 1 duty []: fast verify failed\r\n"
                                              "3D PWM 9:PWM MAP 9 []: fast verify failed\r\n"));
  EXPECT_TRUE(verify.report().contains(QStringLiteral("3D PWM 12:PWM MAP 12 []: fast verified\r\n")));
  EXPECT_NE(FastVerify::shortname(rig.mainmaps.getmapname(88)), QStringLiteral("2D PWM:PWM MAP 1 duty []"))
      << "the model names the variable";
}

TEST_F(FastVerifyTest, ShortNameIsTheDefinitionUpToItsFirstSemicolon) {
  EXPECT_EQ(FastVerify::shortname("Fuel:Base fuel [rpm x load];ms_0.01|0"), "Fuel:Base fuel [rpm x load]");
  EXPECT_EQ(FastVerify::shortname("no units"), "no units");
}

// The window shows the run, then its message after the tick, and closes.
class FastVerifyWindow : public ::testing::Test {
 protected:
  Rig rig;
};

TEST_F(FastVerifyWindow, ADifferingMapEndsWithOneTranslatedMessageAndGivesTheSelectorBack) {
  frmFastVerify window(rig.state, rig.link, rig.mainmaps, rig.prompts);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Quick verify");
  EXPECT_EQ(rig.state.livemode, 19);
  EXPECT_EQ(window.Text1->toPlainText(), "Verify status:\n");
  EXPECT_EQ(window.Text2->toPlainText(), "Verify status:\n");
  EXPECT_EQ(window.ProgressBar1->maximum(), 115);

  int guard = 0;
  while (window.isVisible() && ++guard < 10000) {
    const int map = rig.state.curmap;
    const int sum = map == 40 ? 1 : rig.mainmaps.getchecksum(map);
    changelive(rig.link, [&](LiveData& live) {
      live.ecuchecksum = sum;
      live.ecuchecksummap = map;
    });
    window.Timer1_Timer();
  }
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_EQ(rig.prompts.records[0].text,
            "Not all maps/settings groups loaded in the PC software are the same as those in the ECU");
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_EQ(rig.state.livemode, 0);
  EXPECT_EQ(rig.state.curmap, 115) << "the current map stays where the run stopped";
  EXPECT_TRUE(window.Text2->toPlainText().endsWith(FastVerify::shortname(rig.mainmaps.getmapname(40)) +
                                                   ": fast verify failed\n"));
  EXPECT_EQ(window.ProgressBar1->value(), 114);
}

}  // namespace
}  // namespace ostrel::test
