// Auto-tune against the simulated ECU on a pseudo-terminal: an engine running lean raises the VE cells it sits in,
// and the rows written back reach the ECU's image. The window's timers, the link's communications timer and the
// main window's commands timer run on one simulated clock.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <map>
#include <set>

#include "mapviews/frminterpcopy.h"
#include "link/imagetransfer.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "shell/maintimers.h"
#include "shell/shellhost.h"
#include "tuningfixture.h"

using namespace ostrel;

namespace {

TEST(AutoTuneOverTheLine, ALeanEngineRaisesItsCellsAndTheRowsReachTheEcu) {
  test::PtyRig rig;
  ASSERT_TRUE(rig.ready()) << rig.error;
  test::RecordingTuningHost host;
  MapViews views{rig.state, rig.mainmaps, rig.link, rig.prompts};
  views.sethost(&host);
  TuningTools tools{{rig.state, rig.mainmaps, rig.templatemaps, rig.link, views, rig.prompts}};
  ScriptedLauncher launcher;
  ScopedLauncher scoped{launcher};
  ImageTransfer transfer{rig.state, rig.mainmaps, rig.prompts, rig.link};
  ShellHost shellhost;
  logsamples logstore;
  ProgressJobs jobs{rig.state, rig.mainmaps, rig.mainsettings, logstore, rig.link, rig.prompts};
  MainTimers timers{rig.state, rig.mainmaps, rig.link, transfer, jobs, rig.prompts, shellhost};

  rig.sim.leanoffset = 0.05;         // lambda about 1.05: lean, below the suspension at 1.10
  rig.sim.secondsperrequest = 0.01;  // the engine's drive at a third of the speed: it idles for twelve seconds
  rig.state.curmap = autotunemap;
  ASSERT_TRUE(rig.link.openport());
  ASSERT_TRUE(rig.tick(10));
  ASSERT_TRUE(rig.state.online);
  const CalibrationImage before = rig.mainmaps.getimage();
  ASSERT_TRUE(rig.simholdsmodel());

  std::map<std::pair<int, int>, int> sampled;  // the cells of the sampling steps, and how often
  // The simulated clock in ms: the communications timer every 30 ms, the commands timer every 100 ms, the tool's
  // two timers by their own intervals.
  int now = 0;
  const auto run = [&](frmInterpcopy* window, int until) {
    int comms = now, commands = now, autotune = now, learn = now;
    for (; now < until; ++now) {
      if (now == comms) {
        ASSERT_TRUE(rig.tick()) << "at " << now << " ms";
        comms += MainTimers::commsinterval;
      }
      if (now == commands) {
        timers.commandstick();
        commands += MainTimers::commandsinterval;
      }
      if (window && now == learn) {
        window->learntick();
        learn += window->TimerLearn->interval();
      }
      if (window && now == autotune) {
        window->autotunetick();
        autotune += window->TimerAutoTune->interval();
        if (window->tool().autotunetickcount() % 5 == 0) ++sampled[{rig.state.cursorrow, rig.state.cursorcol}];
      }
    }
  };

  launcher.scripts.push_back([&](QDialog& d) {
    auto& window = static_cast<frmInterpcopy&>(d);
    ASSERT_EQ(rig.state.toolmode, toolmodes::autotune);
    run(&window, now + 10000);  // ten seconds at idle
    EXPECT_TRUE(window.feedAFR->text().startsWith(QStringLiteral("feedback AFR = 1.0")))
        << window.feedAFR->text().toStdString();
    window.Command1->click();
  });
  tools.learndata();
  ASSERT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(rig.state.toolmode, 0);

  // The engine sat in a few cells; the one it sat in most was raised, every cell raised lies within the neighbour
  // limit's reach of a cell it sat in, and nothing was lowered.
  maps old{rig.prompts};
  old.setimage(before);
  std::set<std::pair<int, int>> raised;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      const int a = old.getdata(4, r, c), b = rig.mainmaps.getdata(4, r, c);
      EXPECT_GE(b, a) << r << "," << c;
      if (b > a) raised.insert({r, c});
    }
  ASSERT_FALSE(raised.empty());
  std::pair<int, int> most{-1, -1};
  int count = 0;
  for (const auto& [cell, n] : sampled)
    if (n > count) most = cell, count = n;
  EXPECT_TRUE(raised.count(most)) << "the cell the engine sat in most, " << most.first << "," << most.second;
  for (const auto& [r, c] : raised) {
    bool near = false;
    for (const auto& [cell, n] : sampled)
      near = near || (std::abs(cell.first - r) <= 4 && std::abs(cell.second - c) <= 4);
    EXPECT_TRUE(near) << r << "," << c;
  }

  // Once the last write-back has counted down and the queue has drained, the ECU holds what the PC holds.
  run(nullptr, now + 3000);
  EXPECT_FALSE(rig.sim.sent(oprowwrite).empty()) << "the write-backs were handed to the link and sent";
  EXPECT_FALSE(rig.link.transferqueue().headiswrite());
  EXPECT_TRUE(rig.simholdsmodel());
  EXPECT_EQ(rig.sim.checksum(4), rig.mainmaps.getchecksum(4));
}

}  // namespace
