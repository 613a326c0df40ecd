// The progress window runs its jobs from the buttons that start them, and closes on every path; the injector
// preset window chooses the job.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "logger/rawlog.h"
#include "logger/ui/frmdefault.h"
#include "logger/ui/frmprogress.h"
#include "loggerfixture.h"
#include "loggerrig.h"

namespace ostrel::test {
namespace {

class ProgressWindow : public ::testing::Test {
 protected:
  LoggerRig rig;
  std::vector<int> bars;  // the bar as each tick left it while the window stayed open

  // The next progress window: its timer ticks, each preceded by what the link does in 100 ms.
  void script(std::function<void(frmProgress&)> eachtick = {}) {
    rig.launcher.scripts.push_back([this, eachtick](QDialog& dialog) {
      auto& window = static_cast<frmProgress&>(dialog);
      EXPECT_EQ(window.windowTitle(), QStringLiteral("Progress"));
      EXPECT_TRUE(window.Timer1->isActive());
      for (int i = 0; i < 2000 && window.isVisible(); ++i) {
        if (eachtick) eachtick(window);
        window.Timer1_Timer();
        if (window.isVisible()) bars.push_back(window.ProgressBar1->value());
      }
    });
  }
  std::vector<int> map40() const {
    std::vector<int> cells;
    for (int c = 0; c < 16; ++c) cells.push_back(rig.mainmaps.getdata(40, 0, c));
    return cells;
  }
};

TEST_F(ProgressWindow, TimedDisplayShowsItsStepsAndClosesOnTheFifthTick) {
  rig.state.progresstotal = 2000;
  rig.state.trimbox.active = true;
  script();
  frmProgress::showjob(rig.state, rig.jobs, 0, nullptr);
  EXPECT_EQ(bars, (std::vector<int>{20, 40, 60, 80}));
  EXPECT_FALSE(rig.jobs.isopen());
  EXPECT_FALSE(rig.state.trimbox.active);
}

TEST_F(ProgressWindow, AnUnknownJobNeverShowsTheWindow) {
  rig.state.trimbox.active = true;
  frmProgress::showjob(rig.state, rig.jobs, 10, nullptr);
  EXPECT_TRUE(rig.launcher.opened.empty());
  EXPECT_FALSE(rig.state.trimbox.active);
  EXPECT_EQ(rig.state.progressjob, 10);
}

TEST_F(ProgressWindow, EachPresetFromTheDefaultWindowWritesMap40) {
  for (int option = 0; option < 4; ++option) {
    rig.launcher.opened.clear();
    rig.state.curmap = 2;
    rig.launcher.scripts.push_back([option](QDialog& dialog) {
      auto& window = static_cast<frmDefault&>(dialog);
      for (QRadioButton* o : window.Option1) EXPECT_FALSE(o->isChecked());
      window.Option1[static_cast<std::size_t>(option)]->setChecked(true);
      window.Command1->click();
    });
    bars.clear();
    script();
    frmDefault::showmodal(rig.state, rig.jobs, nullptr);
    EXPECT_EQ(rig.launcher.opened, (std::vector<QString>{QStringLiteral("frmDefault"), QStringLiteral("frmProgress")}));
    EXPECT_EQ(rig.state.progressjob, 6 + option);
    EXPECT_EQ(bars, (std::vector<int>{20, 40, 60, 80}));
    const auto& preset = injectorpresets[static_cast<std::size_t>(option)];
    EXPECT_EQ(map40(), std::vector<int>(preset.begin(), preset.end())) << option;
    EXPECT_EQ(rig.state.curmap, 40);
  }
  EXPECT_EQ(rig.progresshost.views, 4);
  EXPECT_EQ(rig.link.transferqueue().lastqueuedtransfer(), 0) << "only the PC's calibration changes";
}

TEST_F(ProgressWindow, LoadWithoutAChoiceAndCancelStartNoJob) {
  const std::vector<int> before = map40();
  for (bool load : {true, false}) {
    rig.launcher.scripts.push_back([load](QDialog& dialog) {
      auto& window = static_cast<frmDefault&>(dialog);
      (load ? window.Command1 : window.Command2)->click();
      EXPECT_FALSE(window.isVisible());
    });
    frmDefault::showmodal(rig.state, rig.jobs, nullptr);
  }
  EXPECT_EQ(rig.launcher.opened, (std::vector<QString>{QStringLiteral("frmDefault"), QStringLiteral("frmDefault")}));
  EXPECT_EQ(map40(), before);
}

TEST_F(ProgressWindow, APressOnTheBarWritesThePresetAgain) {
  rig.launcher.scripts.push_back([this](QDialog& dialog) {
    auto& window = static_cast<frmProgress&>(dialog);
    window.Timer1_Timer();
    window.Timer1_Timer();
    EXPECT_EQ(window.ProgressBar1->value(), 40);
    rig.mainmaps.setdata(40, 0, 0, 1, false);
    QTest::mousePress(window.ProgressBar1, Qt::LeftButton);
    EXPECT_EQ(window.ProgressBar1->value(), 0);
    window.Timer1_Timer();
    EXPECT_EQ(window.ProgressBar1->value(), 20);
    EXPECT_EQ(rig.mainmaps.getdata(40, 0, 0), injectorpresets[3][0]);
    for (int i = 0; i < 4; ++i) window.Timer1_Timer();
    EXPECT_FALSE(window.isVisible());
  });
  frmProgress::showjob(rig.state, rig.jobs, 9, nullptr);
  EXPECT_FALSE(rig.jobs.isopen());
}

TEST_F(ProgressWindow, ClosingItDuringTheMapSynchronisationClearsTheSelectionBox) {
  rig.connect();
  rig.state.curmap = 5;
  rig.launcher.scripts.push_back([this](QDialog& dialog) {
    auto& window = static_cast<frmProgress&>(dialog);
    window.Timer1_Timer();
    EXPECT_TRUE(rig.state.trimbox.active);
    window.close();
  });
  frmProgress::showjob(rig.state, rig.jobs, 3, nullptr);
  EXPECT_FALSE(rig.jobs.isopen());
  EXPECT_EQ(rig.jobs.outcome(), ProgressJobs::Outcome::cancelled);
  EXPECT_FALSE(rig.state.trimbox.active);
}

TEST_F(ProgressWindow, MapSynchronisationWritesTheMapIntoTheEcuAndClosesWhenTheQueueHasDrained) {
  rig.connect();
  rig.state.curmap = 2;
  for (int x = 0; x < 32; x += 5) rig.mainmaps.setdata(2, x, 31 - x, 100 + x, true);
  ASSERT_FALSE(rig.simholdsmodel());
  bool shot = false;
  script([&](frmProgress& window) {
    rig.tick(3);  // the communications timer sends one queued write a tick
    if (!shot && window.ProgressBar1->value() > 50) {
      savescreenshot(&window, QStringLiteral("progress_mapsync"));
      shot = true;
    }
  });
  frmProgress::showjob(rig.state, rig.jobs, 3, nullptr);
  EXPECT_TRUE(shot);
  EXPECT_FALSE(rig.jobs.isopen());
  EXPECT_EQ(rig.jobs.outcome(), ProgressJobs::Outcome::done);
  EXPECT_FALSE(rig.state.trimbox.active);
  ASSERT_GE(bars.size(), 10u);
  EXPECT_EQ(bars.front(), 1);
  EXPECT_TRUE(std::is_sorted(bars.begin() + 1, bars.end())) << "the bar rises as the queue drains";
  EXPECT_GT(bars.back(), 95);
  EXPECT_TRUE(rig.simholdsmodel());
}

TEST_F(ProgressWindow, AJobAskedForWhileAnotherRunsOpensNoWindowAndLeavesTheRunningOneAlone) {
  const QString path = rig.folder.file(QStringLiteral("whole.rdl"));
  rig.prompts.paths = {path};
  int asked = 0;
  script([&](frmProgress&) {
    // The map synchronisation asked for under the export (its first tick shows the dialog).
    frmProgress::showjob(rig.state, rig.jobs, 3, nullptr);
    ++asked;
  });
  frmProgress::showjob(rig.state, rig.jobs, 4, nullptr);
  EXPECT_EQ(asked, 1 + 8);
  EXPECT_EQ(rig.launcher.opened, std::vector<QString>{QStringLiteral("frmProgress")});
  EXPECT_EQ(rig.jobs.outcome(), ProgressJobs::Outcome::done);
  EXPECT_EQ(readbytes(path), rawlogbytes(rig.state, rig.store));
}

}  // namespace
}  // namespace ostrel::test
