// The File menu's whole-image transfers end to end: the program as app/ wires it, the ECU simulator on a
// pseudo-terminal behind the real serial port, and the real modal transfer dialog. While the dialog's exec() loop
// runs, a timer of the test stands in for the communications timer (one link tick, then the simulator answers);
// the dialog's one-second tick is shortened so that a transfer takes a fraction of a second. A watchdog closes a
// dialog that does not end on its own, so no test can hang.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

#include "common/testrig.h"
#include "link/imagetransfer.h"
#include "link/ui/frmtransfer.h"
#include "editors/passwordfragments.h"
#include "platform/installfolder.h"
#include "platform/ui/windowlauncher.h"
#include "shell/frmnavigate.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

constexpr int dialogtickms = 10;  // the dialog's 1000 ms tick, shortened
constexpr int watchdogms = 5000;  // far above what a transfer takes here (well under a second)

QString percentline(const char* head, int percent) {
  return QLatin1String(head) + QString::number(percent) + QStringLiteral(" % complete");
}

// The status lines of a transfer's row steps: 0 at row 0, 1 at row 20, ..., 100 from row 2000 on.
std::vector<QString> rowlines() {
  std::vector<QString> lines;
  for (int p = 0; p <= 100; ++p) lines.push_back(percentline("Transferring data: ", p));
  return lines;
}

// Lines of a pass over the image: 0 to 100 in steps of 10.
std::vector<QString> tenths(const char* head) {
  std::vector<QString> lines;
  for (int p = 0; p <= 100; p += 10) lines.push_back(percentline(head, p));
  return lines;
}

std::vector<QString> joined(std::vector<QString> a, const std::vector<QString>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Where expected does not occur in order within lines: the first expected line missing, else empty.
QString missingfrom(const std::vector<QString>& lines, const std::vector<QString>& expected) {
  auto at = lines.begin();
  for (const QString& e : expected) {
    at = std::find(at, lines.end(), e);
    if (at == lines.end()) return e;
    ++at;
  }
  return {};
}

// The image with the PWM axis variables (Settings 1 row 3) guarded by fragment 0, ON with a password no run has seen;
// PWM map 1 runs on a variable of its own, so its full name tells it.
CalibrationImage guardedselectors(Prompts& prompts, const CalibrationImage& from) {
  maps scratch{prompts};
  scratch.setimage(from);
  scratch.setdata(110, 3, 0, 2, false);
  FragmentRow row{};
  const PasswordBytes bytes = passwordbytes(QStringLiteral("selector"));
  std::copy(bytes.begin(), bytes.end(), row.begin());
  row[fragmentbyte::group] = 110;
  row[fragmentbyte::map] = allmapsingroup;
  row[fragmentbyte::firstrow] = 3;
  row[fragmentbyte::lastrow] = 3;
  row = withchecks(row, seedon);
  for (int k = 0; k < 16; ++k) scratch.setdata(passwordsmap, 0, k, row[static_cast<std::size_t>(k)], false);
  return scratch.getimage();
}

// The texts of the navigation tree's nodes that name PWM map 1.
std::vector<QString> pwmnames(QTreeWidget* tree) {
  std::vector<QString> names;
  std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
    if (item->text(0).startsWith(QStringLiteral("PWM MAP 1 duty"))) names.push_back(item->text(0));
    for (int k = 0; k < item->childCount(); ++k) walk(item->child(k));
  };
  for (int k = 0; k < tree->topLevelItemCount(); ++k) walk(tree->topLevelItem(k));
  return names;
}

bool rowiszero(const CalibrationImage& image, int row) {
  return std::all_of(image.begin() + 16 * row, image.begin() + 16 * row + 16, [](std::uint8_t b) { return b == 0; });
}

class TransferMenu : public ::testing::Test, protected test::PtyEcu {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ready()) << error;
    window = test::startprogram(start);
    ASSERT_NE(window, nullptr);
    // Every status line as it is written: the newest is the last one the console holds.
    QObject::connect(&parts.log, &StatusLog::consolechanged, [this] {
      const auto& lines = parts.log.lines();
      for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (!it->isEmpty()) {
          status.push_back(*it);
          break;
        }
    });
    sim.setimage(parts.mainmaps.getimage());  // the ECU holds what the program opened
    parts.prompts.clear();
  }

  // One tick of the communications timer; the ECU's answer is on the line before the next tick. False when the
  // line stalled.
  bool commstep() {
    const int requests = sim.requests();
    const auto sent = parts.link.framessent();
    window->timers().commstick();
    if (onstep) onstep();
    if (!parts.state.online || server.hungup()) return true;
    return server.answertick(requests, parts.link.framessent() != sent);
  }
  void commsteps(int n) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(commstep());
  }

  void connect() {
    window->menus().action("mnuComsConnect")->trigger();
    ASSERT_TRUE(parts.state.online);
    commsteps(10);
  }

  struct Run {
    bool dialogshown = false;
    bool timedout = false;
    bool linestalled = false;
    int commticks = 0;
  };

  // Runs a menu command. If it opens the transfer dialog, the test's timers drive it until it closes itself (or
  // the watchdog closes it).
  Run runcommand(const std::function<void()>& command) {
    Run run;
    QTimer comms;
    comms.setInterval(0);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.setInterval(watchdogms);
    const auto stopdialog = [&] {
      comms.stop();
      if (dialog) dialog->done(QDialog::Rejected);
    };
    QObject::connect(&comms, &QTimer::timeout, [&] {
      if (!run.dialogshown) {
        dialog = window->findChild<frmTransfer*>();
        if (!dialog) return;
        run.dialogshown = true;
        dialog->Timer1->setInterval(dialogtickms);
        // Connected after the dialog's own handler, so it sees what that tick showed.
        QObject::connect(dialog->Timer1, &QTimer::timeout, [this] {
          if (ondialogtick) ondialogtick();
        });
      }
      ++run.commticks;
      if (!commstep()) {
        run.linestalled = true;
        stopdialog();
      }
    });
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
      run.timedout = true;
      stopdialog();
    });
    comms.start();
    watchdog.start();
    command();
    comms.stop();
    watchdog.stop();
    EXPECT_FALSE(run.timedout) << "the transfer dialog did not close within " << watchdogms << " ms";
    EXPECT_FALSE(run.linestalled) << "the simulated ECU did not answer";
    EXPECT_EQ(window->findChild<frmTransfer*>(), nullptr);
    return run;
  }
  Run runmenu(QAction* action) {
    return runcommand([action] { action->trigger(); });
  }

  QString missingstatus(const std::vector<QString>& expected) const { return missingfrom(status, expected); }
  bool hasstatus(const QString& line) const { return std::find(status.begin(), status.end(), line) != status.end(); }

  test::ShellParts parts{port};
  ImageTransfer& transfer = parts.transfer;
  StartProcedure start{parts.context};
  VelkorV5* window = nullptr;
  QPointer<frmTransfer> dialog;
  std::vector<QString> status;
  std::function<void()> onstep;
  std::function<void()> ondialogtick;
};

TEST_F(TransferMenu, SaveToEcuWritesTheModelsImage) {
  // The model holds something in the last row, which the ECU keeps for itself: it goes as zeros.
  for (int j = 0; j < 16; ++j) parts.mainmaps.setmapbufferbyte(2047, j, static_cast<std::uint8_t>(0x30 + j));
  ASSERT_FALSE(rowiszero(parts.mainmaps.getimage(), 2047));
  CalibrationImage old{};
  old.fill(0x5A);
  sim.setimage(old);
  connect();
  ASSERT_TRUE(window->menus().action("mnuEcuSave")->isEnabled());
  ASSERT_NE(parts.link.live().ecuchecksum, parts.mainmaps.getchecksum(parts.state.curmap));

  // The checks timer keeps running during the transfer; the ECU's checksum (last polled before it) differs from
  // the program's all along, but a running transfer leaves the mismatch counter alone.
  bool shot = false;
  int steps = 0, checks = 0, mostsyncerr = 0;
  onstep = [&] {
    if (transfer.busy() && ++steps % 17 == 0) {
      window->timers().checkstick();
      ++checks;
      mostsyncerr = std::max<int>(mostsyncerr, parts.state.syncerrticks);
    }
  };
  // The bar moves on the dialog's ticks, not on the link's: it is looked at on the first tick past row 1000.
  ondialogtick = [&] {
    if (!shot && dialog && transfer.transferline >= 1000) {
      shot = true;
      test::savescreenshot(dialog, "transferdialog");
      EXPECT_EQ(dialog->Label1->text(), "File transferring from PC to ECU");
      EXPECT_GT(dialog->ProgressBar1->value(), 30);
      EXPECT_TRUE(parts.state.transferwindowopen);
    }
  };
  const Run run = runmenu(window->menus().action("mnuEcuSave"));
  onstep = nullptr;
  ondialogtick = nullptr;
  ASSERT_TRUE(run.dialogshown);
  EXPECT_TRUE(shot);
  EXPECT_GE(checks, 100);
  EXPECT_EQ(mostsyncerr, 0);
  EXPECT_GE(run.commticks, 2048);
  EXPECT_EQ(parts.state.transfermode, 0);
  EXPECT_FALSE(parts.state.transferwindowopen);
  EXPECT_FALSE(transfer.busy());

  const CalibrationImage model = parts.mainmaps.getimage();
  const CalibrationImage ecu = sim.image();
  EXPECT_TRUE(std::equal(model.begin(), model.end() - 16, ecu.begin())) << "rows 0 to 2046 as the model holds them";
  EXPECT_TRUE(rowiszero(ecu, 2047));
  EXPECT_EQ(QString(), missingstatus(joined(joined(tenths("Preparing buffer: "), rowlines()),
                                            {QStringLiteral("Transferring data complete")})));
  EXPECT_TRUE(parts.prompts.messages().empty());

  // The live poll resumes, and the ECU now reports the program's checksum of the current map.
  const auto livebefore = sim.sent(0x91).size();
  commsteps(15);
  EXPECT_GT(sim.sent(0x91).size(), livebefore);
  EXPECT_EQ(parts.link.live().ecuchecksum, parts.mainmaps.getchecksum(parts.state.curmap));
}

TEST_F(TransferMenu, OpenFromEcuStoresTheEcusImageAndDropsStaleRowWrites) {
  // The ECU differs from the PC in one cell of map 8 and in the first rpm step of the settings, which the axes are
  // computed from.
  const std::uint8_t map = 8;
  const int editrow = parts.mainmaps.getbufferrow(map, 3, 4);
  const QString rpmaxis = parts.mainmaps.getscalestringX(1, true);
  CalibrationImage ecu;
  {
    maps scratch{parts.prompts};
    scratch.setimage(parts.mainmaps.getimage());
    scratch.setdata(map, 3, 4, scratch.getdata(map, 3, 4) + 5, false);
    const int rpmstep = scratch.getdata(110, 6, 0);
    scratch.setdata(110, 6, 0, rpmstep < 200 ? rpmstep + 10 : rpmstep - 10, false);
    ecu = scratch.getimage();
  }
  ASSERT_NE(ecu, parts.mainmaps.getimage());
  sim.setimage(ecu);
  connect();
  ASSERT_FALSE(parts.state.imageread);
  ASSERT_TRUE(window->menus().action("mnuEcuOpen")->isEnabled());

  // Halfway through, an edit of the stale PC value queues its row: sent after the read it would undo the ECU's
  // value that the read has just brought in.
  bool queued = false;
  onstep = [&] {
    if (!queued && transfer.transferline >= 1000) {
      queued = true;
      parts.link.queuemapwrite(map, 3, 3, 4, 4);
    }
  };
  const Run run = runmenu(window->menus().action("mnuEcuOpen"));
  onstep = nullptr;
  ASSERT_TRUE(run.dialogshown);
  ASSERT_TRUE(queued);
  EXPECT_EQ(parts.state.transfermode, 1);
  EXPECT_FALSE(parts.state.transferwindowopen);
  EXPECT_FALSE(transfer.busy());

  EXPECT_EQ(parts.mainmaps.getimage(), ecu);
  EXPECT_TRUE(parts.state.imageread);
  EXPECT_NE(parts.mainmaps.getscalestringX(1, true), rpmaxis) << "the axes were recalculated from the new settings";
  EXPECT_EQ(QString(), missingstatus(joined(joined(rowlines(), {QStringLiteral("Transferring data complete, "
                                                                               "processing data")}),
                                            tenths("Transferring data complete, processing data, "))));
  EXPECT_TRUE(
      hasstatus(QStringLiteral("1 row writes waiting for the ECU were dropped: the file was read from the ECU")));
  // The map view was opened afresh last.
  ASSERT_FALSE(status.empty());
  EXPECT_TRUE(status.back().endsWith(QStringLiteral(" selected "))) << status.back().toStdString();
  EXPECT_TRUE(parts.prompts.messages().empty());

  // The stale row never reaches the ECU.
  commsteps(30);
  EXPECT_FALSE(parts.link.transferqueue().headiswrite());
  EXPECT_EQ(sim.image(), ecu) << "row " << editrow << " must keep the value read";
}

TEST_F(TransferMenu, CompleteVerifyReportsTheSameFileOrTheLineThatDiffers) {
  connect();
  ASSERT_TRUE(window->menus().action("mnuEcuVerify")->isEnabled());
  const CalibrationImage model = parts.mainmaps.getimage();

  ASSERT_TRUE(runmenu(window->menus().action("mnuEcuVerify")).dialogshown);
  EXPECT_EQ(parts.state.transfermode, 2);
  EXPECT_EQ(parts.prompts.messages(),
            std::vector<QString>{"The file stored in the ECU is the same as the file opened on your PC"});
  EXPECT_TRUE(hasstatus("Transferring data complete, verifying data, 100 % complete with 0 errors"));

  // One byte changed in the ECU: its line is reported, and no summary follows.
  CalibrationImage changed = model;
  changed[16 * 1234 + 5] ^= 0x40;
  sim.setimage(changed);
  parts.prompts.clear();
  status.clear();
  ASSERT_TRUE(runmenu(window->menus().action("mnuEcuVerify")).dialogshown);
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{"Verify error at line: 1234 continue verify?"});
  EXPECT_TRUE(hasstatus("Verify error at line: 1234"));
  EXPECT_TRUE(hasstatus("Transferring data complete, verifying data, 100 % complete with 1 errors"));
  EXPECT_EQ(transfer.verifyerrors, 1);
  EXPECT_EQ(parts.mainmaps.getimage(), model) << "a verify changes nothing";
  EXPECT_FALSE(parts.state.imageread);
}

// While offline the three commands are greyed out; their handlers, reached anyway, show no dialog and touch the
// ECU side of nothing: Save prepares the send image (with its status lines), Verify only sets the mode, Open does
// nothing at all.
TEST_F(TransferMenu, OfflineCommandsShowNoDialog) {
  struct Case {
    const char* name;
    void (VelkorV5::*handler)();
    const char* action;
    int mode;  // transfermode afterwards; the test starts it at 7
    bool prepares;
  };
  const Case cases[] = {
      {"Save to ECU", &VelkorV5::mnuEcuSave_Click, "mnuEcuSave", 0, true},
      {"Open from ECU", &VelkorV5::mnuEcuOpen_Click, "mnuEcuOpen", 7, false},
      {"Complete Verify", &VelkorV5::mnuEcuVerify_Click, "mnuEcuVerify", 2, false},
  };
  ASSERT_FALSE(parts.state.online);
  const CalibrationImage model = parts.mainmaps.getimage();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(window->menus().action(c.action)->isEnabled());
    parts.state.transfermode = 7;
    transfer.tximage.fill(0xEE);
    status.clear();
    const int requests = sim.requests();
    const Run run = runcommand([&] { (window->*c.handler)(); });
    EXPECT_FALSE(run.dialogshown);
    EXPECT_EQ(parts.state.transfermode, c.mode);
    EXPECT_TRUE(parts.prompts.messages().empty());
    EXPECT_EQ(sim.requests(), requests);
    EXPECT_EQ(parts.mainmaps.getimage(), model);
    if (c.prepares) {
      EXPECT_EQ(status, tenths("Preparing buffer: "));
      int wrong = 0;
      for (int r = 0; r < imagerows; ++r)
        for (int j = 0; j < 16; ++j)
          if (transfer.tximage[ImageTransfer::imageindex(r, j)] != (r == 2047 ? 0 : model[16 * r + j])) ++wrong;
      EXPECT_EQ(wrong, 0) << "the send image is the model's, its last row zeros";
    } else {
      EXPECT_TRUE(status.empty());
      EXPECT_TRUE(
          std::all_of(transfer.tximage.begin(), transfer.tximage.end(), [](std::uint8_t b) { return b == 0xEE; }));
    }
  }
}

// Whatever brings a calibration in, its guards stand before anything names its maps: a file opened or an image read
// from the ECU whose PWM axis variables are guarded shows PWM map 1 without them in the tree and the caption from
// the first, and the passwords window, closed once the password is entered, has the tree name them again.
TEST_F(TransferMenu, WhatIsOpenedIsNamedAsItsOwnGuardsAllow) {
  const std::vector<QString> guarded{QStringLiteral("PWM MAP 1 duty []")};
  const CalibrationImage shipped = parts.mainmaps.getimage();
  const CalibrationImage image = guardedselectors(parts.prompts, shipped);
  QTreeWidget* tree = window->frmNavigate->NavView;
  ASSERT_EQ(pwmnames(tree).size(), 1u);
  ASSERT_NE(pwmnames(tree), guarded);

  maps file{parts.prompts};
  file.setimage(image);
  const QString path = folder.file(QStringLiteral("guarded.s26"));
  ASSERT_TRUE(file.savefile(path));
  parts.state.curmap = 88;
  parts.prompts.paths = {path};
  window->menus().action("mnuFileOpen")->trigger();
  ASSERT_EQ(parts.mainmaps.getimage(), image);
  EXPECT_EQ(pwmnames(tree), guarded) << "a file";
  EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("PWM MAP 1 duty []"))) << window->windowTitle().toStdString();

  // The passwords window: the password entered, the window closed.
  {
    ScriptedLauncher windows;
    ScopedLauncher scoped(windows);
    windows.scripts.push_back([this](QDialog&) {
      parts.state.pwentered[0] = padpassword(QStringLiteral("selector"));
      refreshmatches(parts.mainmaps, parts.state);
    });
    window->showeditor(3);  // the passwords map's kind
    ASSERT_EQ(windows.opened, std::vector<QString>{QStringLiteral("frmPasswords")});
  }
  ASSERT_EQ(pwmnames(tree).size(), 1u);
  EXPECT_NE(pwmnames(tree), guarded) << "the password names the variable again";

  // An image read from the ECU, over the shipped calibration opened afresh.
  maps plain{parts.prompts};
  plain.setimage(shipped);
  const QString plainpath = folder.file(QStringLiteral("plain.s26"));
  ASSERT_TRUE(plain.savefile(plainpath));
  parts.prompts.paths = {plainpath};
  window->menus().action("mnuFileOpen")->trigger();
  ASSERT_NE(pwmnames(tree), guarded);
  sim.setimage(image);
  connect();
  const Run run = runmenu(window->menus().action("mnuEcuOpen"));
  ASSERT_TRUE(run.dialogshown);
  ASSERT_EQ(parts.mainmaps.getimage(), image);
  EXPECT_EQ(pwmnames(tree), guarded) << "an image read from the ECU";
}

}  // namespace
