// The tuning tools under password guards: the tools that rewrite a map refuse where a password guards rows they
// would rewrite or read, and the map check says nothing of a map whose checked row is guarded.
#include <gtest/gtest.h>

#include <functional>

#include "calibration/cellguards.h"
#include "mapviews/autotune.h"
#include "mapviews/checkmaps.h"
#include "mapviews/fuelbaseconversion.h"
#include "mapviews/interpcopy.h"
#include "tuningfixture.h"

using namespace ostrel;

namespace {

struct Guard {
  int map, first, last;
};

using GuardedTools = test::TuningTest;

TEST_F(GuardedTools, ToolsThatRewriteAMapRefuseAGuardOverWhatTheyRewriteOrRead) {
  struct Case {
    const char* name;
    Guard guard;
    int curmap;
    std::function<void(TuningTools&)> run;
    bool refused;
  };
  const auto vetobase = [](TuningTools& t) { t.convertfuelbase(vetofuelbase); };
  const auto basetove = [](TuningTools& t) { t.convertfuelbase(fuelbasetove); };
  const auto learn = [](TuningTools& t) { t.learndata(); };
  const std::vector<Case> cases = {
      {"VE to fuel base, guarded target", {0, 5, 5}, 8, vetobase, true},
      {"VE to fuel base, guarded source row", {4, 31, 31}, 8, vetobase, true},
      {"VE to fuel base, guarded target ratios", {19, 0, 0}, 8, vetobase, true},
      {"fuel base to VE, guarded injector flow", {110, 9, 9}, 8, basetove, true},
      {"fuel base to VE, guarded cylinder capacity", {110, 10, 10}, 8, basetove, true},
      {"fuel base to VE, guarded target", {4, 0, 31}, 8, basetove, true},
      {"VE to fuel base, guarded load spreads of the first points", {110, 4, 4}, 8, vetobase, true},
      {"fuel base to VE, guarded load spreads of the later points", {110, 5, 5}, 8, basetove, true},
      {"VE to fuel base, guarded rpm spreads it does not read", {110, 6, 7}, 8, vetobase, false},
      {"VE to fuel base, a map it does not read", {8, 0, 31}, 8, vetobase, false},
      {"VE to fuel base, a settings row it does not read", {110, 11, 11}, 8, vetobase, false},
      {"learn on a guarded map 20", {learnmap, 7, 7}, learnmap, learn, true},
      {"auto-tune on a guarded map 4", {autotunemap, 0, 0}, autotunemap, learn, true},
      {"learn with another map guarded", {autotunemap, 0, 31}, learnmap, learn, false},
  };
  const CalibrationImage shipped = rig.mainmaps.getimage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rig.mainmaps.setimage(shipped);
    rig.mainmaps.clearchange();
    rig.state.guards.clear();
    rig.state.guards.guard(c.guard.map, 0, c.guard.first, c.guard.last);
    rig.state.curmap = static_cast<std::uint8_t>(c.curmap);
    rig.state.toolmode = 0;
    rig.prompts.clear();
    launcher.opened.clear();
    host.calls.clear();
    c.run(tools);
    if (c.refused) {
      EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
      EXPECT_EQ(rig.mainmaps.getimage(), shipped);
      EXPECT_TRUE(launcher.opened.empty());
      EXPECT_TRUE(host.calls.empty()) << "no map opened or redrawn";
      EXPECT_EQ(rig.state.toolmode, 0);
      EXPECT_EQ(rig.state.curmap, c.curmap);
    } else {
      EXPECT_TRUE(rig.prompts.messages().empty());
      EXPECT_FALSE(host.calls.empty()) << "the tool ran";
    }
  }
}

// The keys refuse the interpolate and copy tools on a guarded map before they open them; any other caller of the
// tools is refused alike, and nothing opens.
TEST_F(GuardedTools, TheInterpolateAndCopyToolsRefuseAGuardedMapWhoeverOpensThem) {
  rig.state.curmap = 8;
  select(2, 6, 2, 6);
  rig.state.toolmode = 3;
  rig.state.guards.guard(8, 0, 30, 30);
  const CalibrationImage before = rig.mainmaps.getimage();
  tools.showinterpcopy();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
  EXPECT_TRUE(launcher.opened.empty());
  EXPECT_EQ(rig.mainmaps.getimage(), before);

  rig.prompts.clear();
  rig.state.guards.clear();
  tools.showinterpcopy();
  EXPECT_TRUE(rig.prompts.messages().empty());
  EXPECT_FALSE(launcher.opened.empty()) << "open, the tool runs";
}

class GuardedMapCheck : public test::TuningTest {
 protected:
  // Map 30 must end neutral (0); map 32 must not step by more than 10.
  void breakmaps() {
    rig.mainmaps.setdata(30, 0, 15, 1, false);
    rig.mainmaps.setdata(32, 0, 4, 255, false);
  }
  QString heading(int map) const {
    const QString d = rig.mainmaps.getmapname(map);
    return d.left(d.indexOf(QLatin1Char(';')));
  }
};

TEST_F(GuardedMapCheck, AMapWhoseRowIsGuardedIsLeftOutOfTheReport) {
  breakmaps();
  tools.checkmaps();
  std::vector<QString> messages = rig.prompts.messages();
  ASSERT_EQ(messages.size(), 2u) << "both maps break their limits";
  EXPECT_TRUE(messages[1].startsWith(heading(32)));

  rig.prompts.clear();
  rig.state.guards.guard(32, 3, 0, 0);
  tools.checkmaps();
  messages = rig.prompts.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].startsWith(heading(30)));

  // With every faulty map guarded there is nothing the tuner may read or change.
  rig.prompts.clear();
  rig.state.guards.guard(30, 5, 0, 0);
  tools.checkmaps();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{nomaperrorstext});

  // A PWM map's message names it as the tuner may see it: no axis variable while the selector row is guarded.
  rig.mainmaps.setdata(110, 3, 0, 2, false);  // map 88 on engine speed
  rig.mainmaps.setdata(88, 0, 4, 250, false);
  std::array<CheckLimits, 116> strict{};
  strict[88].maxrise = 10;
  rig.state.guards.guard(110, 1, 3, 3);
  std::vector<QString> reports = mapcheckreports(rig.mainmaps, rig.templatemaps, rig.state.guards, strict);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].startsWith(QStringLiteral("2D PWM:PWM MAP 1 duty []\n\r"))) << reports[0].toStdString();
  rig.state.guards.clear();
  reports = mapcheckreports(rig.mainmaps, rig.templatemaps, rig.state.guards, strict);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(reports[0].startsWith(heading(88) + QStringLiteral("\n\r")));
  EXPECT_TRUE(heading(88).contains(QStringLiteral("[engine speed]"))) << "the model names the variable";
}

}  // namespace
