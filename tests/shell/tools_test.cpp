// The tools as the running program opens them: every menu item and key that opens a tool window on the real main
// window, and what the window then does with the ECU simulator behind the link. Every tick is driven by hand; each
// tool window runs in a script of the scripted launcher while the main window's ticks go on underneath, as they do
// under a modal window.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <set>

#include "common/testrig.h"
#include "livewindows/frmanalyse.h"
#include "livewindows/frmramdump.h"
#include "livewindows/frmvct.h"
#include "logger/rawlog.h"
#include "logger/ui/frmdefault.h"
#include "logger/ui/frmlog.h"
#include "logger/ui/frmprogress.h"
#include "mapviews/autotune.h"
#include "mapviews/frminterpcopy.h"
#include "mapviews/interpcopy.h"
#include "mapviews/mapgrid.h"
#include "mapviews/tuningtools.h"
#include "platform/installfolder.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

constexpr int commspercommands = 3;  // 100 ms / 30 ms
constexpr int commsperchecks = 17;   // 500 ms / 30 ms

class Tools : public test::SimProgramTest {
 protected:
  void SetUp() override { startprogram(); }

  // Tenths of a second: the communications ticks, then one of the commands timer.
  void commandsteps(int n) {
    for (int i = 0; i < n; ++i) {
      commsteps(commspercommands);
      window->timers().commandstick();
    }
  }
  void trigger(const char* item) {
    QAction* action = window->menus().action(item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
  }
  void show(std::uint8_t map) {
    parts.state.curmap = map;
    window->openmapview();
  }

  // The image rows that hold a map's cells.
  std::set<int> rowsof(int map) const {
    std::set<int> rows;
    for (int r = 0; r < parts.mainmaps.getmaprows(map); ++r)
      for (int c = 0; c < parts.mainmaps.getmapcols(map); ++c) rows.insert(parts.mainmaps.getbufferrow(map, r, c));
    return rows;
  }
  bool ecuholds(int map) const {
    for (int row : rowsof(map))
      if (simrow(row) != modelrow(row)) return false;
    return true;
  }
  // Half a second: the communications ticks, then one of the checks timer.
  void checksstep() {
    commsteps(commsperchecks);
    window->timers().checkstick();
  }
  // The PC's map differs from the ECU's, as after an edit the ECU never got, and automatic synchronisation by
  // download applies (the map's fragment is switched off).
  void mismatchunderautosync(std::uint8_t map) {
    show(map);
    for (int r = 0; r < 32; r += 3) parts.mainmaps.setdata(map, r, r, parts.mainmaps.getdata(map, r, r) + 9, false);
    ASSERT_FALSE(ecuholds(map));
    parts.state.imageread = true;
    parts.state.preferences.autosync = true;
    parts.state.preferences.autosyncupload = false;
    parts.state.guards.guard(map, 2, 0, 31);
    parts.state.fragmenton.fill(false);
  }
  // The progress window of the map synchronisation, with the main window's timers running beneath it: the commands
  // timer queues the marked map, the communications timer sends it. The bar after each tick goes into bars.
  ScriptedLauncher::Script syncscript(std::vector<int>& bars) {
    return [this, &bars](QDialog& dialog) {
      auto& progress = static_cast<frmProgress&>(dialog);
      EXPECT_EQ(parts.state.progressjob, 3);
      for (int i = 0; i < 300 && progress.isVisible(); ++i) {
        commandsteps(1);
        progress.Timer1_Timer();
        bars.push_back(progress.ProgressBar1->value());
      }
      EXPECT_FALSE(progress.isVisible()) << "the job closes its window";
    };
  }
  int address(int variable) const {
    return parts.mainsettings.getvarsaddress(variable, parts.state.preferences.metricunits);
  }

  ScriptedLauncher launcher;
  ScopedLauncher scoped{launcher};
};

TEST_F(Tools, LogDataRecordsWhatTheEcuSentThroughTheMainWindow) {
  // The main window's load left the store empty and idle.
  EXPECT_EQ(parts.state.logindex, logidle);
  EXPECT_EQ(parts.logstore.getlogtimestamps(0), "0");
  // Channels of the default profile whose variables the simulated engine leaves alone.
  const std::pair<int, std::uint8_t> fixed[] = {{7, 41}, {10, 123}, {14, 200}};
  for (const auto& [channel, value] : fixed) sim.setram(address(parts.state.logvar[channel]), value);
  connect();
  commsteps(200);
  EXPECT_EQ(parts.state.logindex, logidle) << "nothing is stored before the logger restarts the log";

  bool scripted = false;
  launcher.scripts.push_back([&](QDialog& dialog) {
    scripted = true;
    auto& logger = static_cast<frmLog&>(dialog);
    EXPECT_EQ(parts.state.livemode, frmLog::selector);
    for (int i = 0; i < 400; ++i) {
      commsteps(1);
      if (i % 8 == 7) logger.Timer1_Timer();
    }
    EXPECT_EQ(logger.valueboxes().size(), 16u);
    test::savescreenshot(&logger, QStringLiteral("tools_logdata"));
    logger.close();
  });
  trigger("mnuLogData");
  ASSERT_TRUE(scripted);
  EXPECT_EQ(launcher.opened, std::vector<QString>{"frmLog"});
  EXPECT_EQ(parts.state.livemode, 0);
  const std::int32_t recorded = parts.state.logindex;
  ASSERT_GE(recorded, 30);
  for (std::int32_t s = 0; s < recorded; ++s)
    for (const auto& [channel, value] : fixed) ASSERT_EQ(parts.logstore.getlogdata(s, channel), value) << s;
  EXPECT_NE(parts.logstore.getlogtimestamps(0), "0");

  // With no live window open the window data goes on into the store.
  commsteps(100);
  EXPECT_GT(parts.state.logindex, recorded + 10);
  EXPECT_EQ(parts.logstore.getlogdata(parts.state.logindex - 1, 10), 123);
}

TEST_F(Tools, TheTriggerTestDrawsTheCopyTheLoggersRamDumpMade) {
  sim.enginerunning = false;  // RAM stands still while it is copied
  connect();
  constexpr int copied = 0x800;  // the trigger and sync stamps lie in the first 2 KB
  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& logger = static_cast<frmLog&>(dialog);
    logger.mnuRamDump->trigger();
    logger.close();
  });
  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& dump = static_cast<frmRAMDUMP&>(dialog);
    EXPECT_EQ(parts.state.livemode, frmRAMDUMP::selector);
    for (int i = 0; i < 6000 && dump.sweep().page() < copied / 16 + 1; ++i) commsteps(1);
    dump.close();
  });
  trigger("mnuLogData");
  EXPECT_EQ(launcher.opened, (std::vector<QString>{"frmLog", "frmRAMDUMP"}));
  for (int n = 0; n < copied; ++n)
    ASSERT_EQ(parts.state.ramimage[static_cast<std::size_t>(n)], sim.ram(0x4000 + n)) << "ECU RAM " << 0x4000 + n;

  QImage picture;
  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& analyse = static_cast<frmAnalyse&>(dialog);
    analyse.resize(900, 500);
    analyse.mnuTrigTest->trigger();  // opening draws nothing; the tuner asks for the test
    picture = analyse.PicTriggers->image();
    test::savescreenshot(&analyse, QStringLiteral("tools_triggertest"));
  });
  trigger("mnuRamDump");
  EXPECT_EQ(launcher.opened.back(), "frmAnalyse");
  // Two square waves over the black background.
  ASSERT_FALSE(picture.isNull());
  std::set<QRgb> colours;
  for (int y = 0; y < picture.height(); y += 2)
    for (int x = 0; x < picture.width(); x += 2) colours.insert(picture.pixel(x, y));
  EXPECT_GE(colours.size(), 2u);
}

TEST_F(Tools, AMismatchSynchronisesTheMapThroughProgressJobThree) {
  connect();
  const std::uint8_t map = 8;
  mismatchunderautosync(map);
  std::vector<int> bars;
  launcher.scripts.push_back(syncscript(bars));
  for (int round = 0; round < 20 && launcher.opened.empty(); ++round) checksstep();
  ASSERT_EQ(launcher.opened, std::vector<QString>{"frmProgress"});
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{"Please wait while a map syncronisation occurs"});
  EXPECT_EQ(parts.progressjobs.outcome(), ProgressJobs::Outcome::done);
  EXPECT_FALSE(parts.state.trimbox.active);
  ASSERT_FALSE(bars.empty());
  EXPECT_GT(bars.back(), 95);
  EXPECT_TRUE(ecuholds(map));
  EXPECT_EQ(sim.checksum(map), parts.mainmaps.getchecksum(map));
}

TEST_F(Tools, AnExportRunningWhenTheSynchronisationIsDueEndsWholeThenTheMapIsSynchronised) {
  connect();
  const std::uint8_t map = 8;
  mismatchunderautosync(map);
  for (int round = 0; round < 20 && parts.state.syncerrticks < MainTimers::mismatchticks - 1; ++round) checksstep();
  ASSERT_EQ(parts.state.syncerrticks, MainTimers::mismatchticks - 1) << "the next checks tick is due to act";

  const QString path = installpath(QStringLiteral("during.rdl"));
  parts.prompts.paths = {path};
  launcher.scripts.push_back([&](QDialog& dialog) {
    static_cast<frmLog&>(dialog).mnuExportRaw->trigger();
    dialog.close();
  });
  int exportticks = 0;
  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& progress = static_cast<frmProgress&>(dialog);
    // The export's ticks with the main window's timers running beneath them; each checks tick finds the mismatch.
    for (; exportticks < 50 && progress.isVisible(); ++exportticks) {
      checksstep();
      EXPECT_EQ(parts.state.syncerrticks, MainTimers::mismatchticks - 1) << "held, to ask again";
      progress.Timer1_Timer();
    }
    EXPECT_FALSE(progress.isVisible()) << "the export closes its window";
    EXPECT_TRUE(parts.prompts.messages().empty()) << "no synchronisation while the export runs";
  });
  trigger("mnuLogData");
  EXPECT_EQ(launcher.opened, (std::vector<QString>{"frmLog", "frmProgress"}));
  EXPECT_EQ(exportticks, 1 + 8);  // the dialog, then 3,000 lines a tick
  const QByteArray written = test::readfile(path);
  EXPECT_EQ(written.size(), rawlogsize);
  EXPECT_TRUE(parserawlog(written));

  std::vector<int> bars;
  launcher.scripts.push_back(syncscript(bars));
  for (int round = 0; round < 5 && launcher.opened.size() < 3; ++round) checksstep();
  ASSERT_EQ(launcher.opened, (std::vector<QString>{"frmLog", "frmProgress", "frmProgress"}));
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{"Please wait while a map syncronisation occurs"});
  EXPECT_EQ(parts.progressjobs.outcome(), ProgressJobs::Outcome::done);
  EXPECT_TRUE(ecuholds(map));
}

TEST_F(Tools, LearnDataAutoTunesTheVeMapAndItsRowsReachTheEcu) {
  EXPECT_FALSE(window->menus().action("mnuLearn")->isEnabled()) << "only while connected";
  sim.leanoffset = 0.05;         // lambda about 1.05: lean, below the suspension at 1.10
  sim.secondsperrequest = 0.01;  // the engine idles long enough to sit in its cells
  show(autotunemap);
  const CalibrationImage before = parts.mainmaps.getimage();
  connect();

  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& tool = static_cast<frmInterpcopy&>(dialog);
    EXPECT_EQ(parts.state.toolmode, toolmodes::autotune);
    // Ten seconds on one clock in milliseconds: the main window's communications and commands timers and the
    // tool's two timers by their own intervals.
    int comms = 0, commands = 0, autotune = 0, learn = 0;
    for (int now = 0; now < 10000; ++now) {
      if (now == comms) commsteps(1), comms += MainTimers::commsinterval;
      if (now == commands) window->timers().commandstick(), commands += MainTimers::commandsinterval;
      if (now == learn) tool.learntick(), learn += tool.TimerLearn->interval();
      if (now == autotune) tool.autotunetick(), autotune += tool.TimerAutoTune->interval();
    }
    test::savescreenshot(&tool, QStringLiteral("tools_autotune"));
    tool.Command1->click();
  });
  trigger("mnuLearn");
  EXPECT_EQ(launcher.opened, std::vector<QString>{"frmInterpcopy"});
  EXPECT_EQ(parts.state.toolmode, 0);

  maps old{parts.prompts};
  old.setimage(before);
  int raised = 0;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      EXPECT_GE(parts.mainmaps.getdata(autotunemap, r, c), old.getdata(autotunemap, r, c)) << r << "," << c;
      raised += parts.mainmaps.getdata(autotunemap, r, c) > old.getdata(autotunemap, r, c);
    }
  EXPECT_GT(raised, 0) << "a lean engine raises the cells it sat in";
  // Once the last write-back has counted down and the queue has drained, the ECU holds what the PC holds.
  commandsteps(30);
  EXPECT_FALSE(sim.sent(oprowwrite).empty());
  EXPECT_TRUE(ecuholds(autotunemap));
}

TEST_F(Tools, LearnDataOnAMapWithoutLearningSaysSo) {
  connect();
  show(8);
  trigger("mnuLearn");
  EXPECT_TRUE(launcher.opened.empty());
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{TuningTools::nolearningtext});
}

TEST_F(Tools, TheXKeyWithABoxInterpolatesThroughTheTool) {
  const std::uint8_t map = 8;
  parts.mainmaps.setdata(map, 0, 0, 10, false);
  parts.mainmaps.setdata(map, 1, 0, 99, false);
  parts.mainmaps.setdata(map, 2, 0, 30, false);
  parts.state.cursorrow = 0;
  parts.state.cursorcol = 0;
  show(map);
  // Ctrl with an arrow opens a box over rows 0 to 2 of the first column.
  press(grid(), Qt::Key_Right, Qt::ControlModifier);
  press(grid(), Qt::Key_Right, Qt::ControlModifier);
  ASSERT_TRUE(parts.state.trimbox.active);

  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& tool = static_cast<frmInterpcopy&>(dialog);
    EXPECT_EQ(tool.toolmode(), toolmodes::interpx);
    EXPECT_EQ(tool.windowTitle(), interpcopytitle(toolmodes::interpx));
    tool.Command1->click();
  });
  press(grid(), Qt::Key_X);
  EXPECT_EQ(launcher.opened, std::vector<QString>{"frmInterpcopy"});
  EXPECT_EQ(parts.mainmaps.getdata(map, 1, 0), 20) << "a straight line between the ends";
  EXPECT_TRUE(parts.mainmaps.getchange(map, 1, 0));
  EXPECT_EQ(parts.state.pendingmap, map);
}

TEST_F(Tools, TheHiddenKeySequenceOpensTheCamTimingWindowWhileConnected) {
  sim.enginerunning = false;  // the cam values stay where the test puts them
  sim.setram(0x6B76, 128);    // VCTI1 target 0
  sim.setram(0x6B70, 255);    // VCTI1 ES 102
  show(8);
  for (int i = 0; i < KeyHandler::hiddenpresses; ++i) press(grid(), Qt::Key_K);
  EXPECT_TRUE(launcher.opened.empty()) << "not while offline";

  connect();
  launcher.scripts.push_back([&](QDialog& dialog) {
    auto& vct = static_cast<frmVCT&>(dialog);
    EXPECT_EQ(parts.state.livemode, frmVCT::selector);
    commsteps(60);
    ASSERT_GT(vct.buffer().count(), 5);
    const auto& sample = vct.buffer().samples()[static_cast<std::size_t>(vct.buffer().count() - 1)];
    EXPECT_EQ(sample[0], 128);
    EXPECT_EQ(sample[8], 255);
    vct.close();
  });
  for (int i = 0; i < KeyHandler::hiddenpresses; ++i) press(grid(), Qt::Key_K);
  EXPECT_EQ(launcher.opened, std::vector<QString>{"frmVCT"});
  EXPECT_EQ(parts.state.livemode, 0);
}

TEST_F(Tools, TheInjectorPresetGoesIntoMap40ThroughTheProgressWindow) {
  launcher.scripts.push_back([](QDialog& dialog) {
    auto& presets = static_cast<frmDefault&>(dialog);
    presets.Option1[2]->setChecked(true);  // 2.5 ohm
    presets.Command1->click();
  });
  launcher.scripts.push_back([](QDialog& dialog) {
    auto& progress = static_cast<frmProgress&>(dialog);
    for (int i = 0; i < 20 && progress.isVisible(); ++i) progress.Timer1_Timer();
  });
  trigger("mnuImportDefault");
  EXPECT_EQ(launcher.opened, (std::vector<QString>{"frmDefault", "frmProgress"}));
  EXPECT_EQ(parts.state.curmap, injectormap);
  for (int c = 0; c < 16; ++c)
    EXPECT_EQ(parts.mainmaps.getdata(injectormap, 0, c), injectorpresets[2][static_cast<std::size_t>(c)]) << c;
  EXPECT_EQ(parts.state.pendingcommand, 0) << "only the PC's calibration changes";
  EXPECT_EQ(parts.link.lastqueuedtransfer(), 0);

  connect();
  EXPECT_FALSE(window->menus().action("mnuImportDefault")->isEnabled());
}

TEST_F(Tools, AnalyseMapChecksTheCalibrationAgainstTheTemplate) {
  trigger("mnuAnalyseMap");
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{"No map errors were detected  "});
  // Map 30 must end neutral.
  parts.prompts.clear();
  parts.mainmaps.setdata(30, 0, 15, 1, false);
  trigger("mnuAnalyseMap");
  ASSERT_EQ(parts.prompts.messages().size(), 1u);
  EXPECT_NE(parts.prompts.messages()[0], "No map errors were detected  ");
}

TEST_F(Tools, TheMigrationsRebuildOneFuelTableFromTheOtherAndShowIt) {
  show(8);
  parts.mainmaps.clearchange();
  trigger("mnuVEFuelBaseTable");
  EXPECT_EQ(parts.state.curmap, 0);
  EXPECT_TRUE(parts.mainmaps.getchange(0, 5, 5));
  trigger("mnuFuelBaseTableVE");
  EXPECT_EQ(parts.state.curmap, autotunemap);
  EXPECT_TRUE(parts.mainmaps.getchange(autotunemap, 5, 5));
  connect();
  EXPECT_FALSE(window->menus().action("mnuVEFuelBaseTable")->isEnabled());
  EXPECT_FALSE(window->menus().action("mnuFuelBaseTableVE")->isEnabled());
}

}  // namespace
