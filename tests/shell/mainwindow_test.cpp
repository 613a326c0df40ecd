// The main window as the start procedure leaves it, its close box, Exit and the file commands.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QDir>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "common/testrig.h"
#include "editors/passwordfragments.h"
#include "mapviews/frmmap.h"
#include "mapviews/viewhelpers.h"
#include "platform/installfolder.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"
#include "shell/frmnavigate.h"
#include "shell/gaugewindow.h"
#include "shell/preferencesdialog.h"
#include "shell/statuswindow.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

const QString minimisemessage =
    "The application will now be minimised. To exit the application, use the file->exit menu command";

class MainWindow : public ::testing::Test, protected test::SimEcu {
 protected:
  MainWindow() {
    // Every status line as it is written (opening a map view clears the console right after a file is opened).
    QObject::connect(&parts.log, &StatusLog::consolechanged, [this] { written << parts.log.lines()[3]; });
  }

  void SetUp() override {
    window = test::startprogram(start);
    ASSERT_NE(window, nullptr);
    parts.prompts.clear();
  }

  test::ShellParts parts{port};
  StartProcedure start{parts.context};
  VelkorV5* window = nullptr;
  QStringList written;
};

TEST_F(MainWindow, StartsWithCaptionPermanentWindowsAndLastSavedFile) {
  EXPECT_EQ(window->windowTitle(), "VELKOR OSTREL V2.64 revision 8 ONLINE PROGRAMMER");
  EXPECT_TRUE(window->isMaximized());

  QStringList names, captions;
  for (QMdiSubWindow* sub : window->mdiarea()->subWindowList()) {
    names << sub->widget()->objectName();
    captions << sub->widget()->windowTitle();
    EXPECT_TRUE(sub->isVisible()) << sub->widget()->objectName().toStdString();
  }
  EXPECT_EQ(names, QStringList({"frmDisplay", "frmMap", "frmMapGrid", "frmStatus", "frmNavigate"}));
  EXPECT_EQ(captions[0], "Display");
  EXPECT_EQ(captions[1], "Map");
  EXPECT_TRUE(captions[2].startsWith("Map data, units = ")) << captions[2].toStdString();
  EXPECT_EQ(captions[3], "Status");
  EXPECT_EQ(captions[4], "Navigation");

  // The shipped calibration is open.
  EXPECT_EQ(parts.state.filename, installpath("lastsaved.s26"));
  RecordingPrompts quiet;
  maps shipped(quiet);
  ASSERT_TRUE(shipped.openfile(installpath("lastsaved.s26"), true, false));
  EXPECT_EQ(parts.mainmaps.getimage(), shipped.getimage());
  EXPECT_TRUE(written.contains(QDir::toNativeSeparators(installpath("lastsaved.s26")) + " opened successfully"));

  EXPECT_FALSE(parts.state.exiting);
  EXPECT_FALSE(parts.state.imageread);
  EXPECT_EQ(parts.state.redrawticks, 50);
  EXPECT_EQ(parts.state.logindex, -50);
  // Reset by the load, then asked for again by the gauge window, which the layout makes wider than 2750 twips.
  EXPECT_EQ(parts.state.livemode, 18);
  test::savescreenshot(window, "mainwindow_offline");
}

TEST_F(MainWindow, TimersAndMenus) {
  struct Timer {
    QTimer* timer;
    int interval;
  };
  for (const Timer& t :
       {Timer{window->TimerComms, 30}, Timer{window->TimerCommands, 100}, Timer{window->timerChecks, 500}}) {
    EXPECT_EQ(t.timer->interval(), t.interval);
    EXPECT_EQ(t.timer->timerType(), Qt::PreciseTimer);
  }

  struct Item {
    QAction* action;
    const char* caption;
    bool enabled;
  };
  const Item items[] = {
      {window->menus().action("mnuFileOpen"), "&Open from file", true},
      {window->menus().action("mnuEcuOpen"), "O&pen from ECU", false},
      {window->menus().action("mnuEcuVerify"), "&Complete Verify from ECU", false},
      {window->menus().action("mnuFastVerify"), "&Fast verify from ECU", true},
      {window->menus().action("mnuFileSave"), "&Save to file", true},
      {window->menus().action("mnuEcuSave"), "Sa&ve to ECU", false},
      {window->menus().action("mnuExit"), "E&xit", true},
      {window->menus().action("mnuComsConnect"), "&Connect", true},
      {window->menus().action("mnuComsDisconnect"), "&Disconnect", false},
      {window->menus().action("mnuToolsPreferences"), "&Preferences", true},
      {window->menus().action("mnuToolsColors"), "&Colors", true},
      {window->menus().action("mnuOpenUnix"), "&Open from unix emailed file", true},
      {window->menus().action("mnuAbout"), "&About", true},
  };
  for (const Item& item : items) {
    EXPECT_EQ(item.action->text(), item.caption);
    EXPECT_EQ(item.action->isEnabled(), item.enabled) << item.caption;
  }
  EXPECT_EQ(window->menus().menu("mnuFile")->title(), "&File");
  EXPECT_EQ(window->menus().menu("mnuComs")->title(), "&Comms");
  EXPECT_EQ(window->menus().menu("mnuFile")->actions().size(), 9);  // seven items and two separators
}

TEST_F(MainWindow, CloseBoxMinimisesAndExitClosesAfterTheCountdown) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    window->showMaximized();
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isMinimized());
  }
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>(2, minimisemessage));

  window->menus().action("mnuExit")->trigger();
  EXPECT_TRUE(parts.state.exiting);
  for (int tick = 1; tick <= 3; ++tick) {
    window->timers().checkstick();
    EXPECT_TRUE(window->isVisible()) << "tick " << tick;
  }
  window->timers().checkstick();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(parts.prompts.messages().size(), 2u);  // no message on the way out
}

TEST_F(MainWindow, AfterExitTheCloseBoxClosesAtOnce) {
  window->menus().action("mnuExit")->trigger();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(parts.prompts.messages().empty());
  EXPECT_FALSE(window->TimerCommands->isActive());
}

TEST_F(MainWindow, PermanentChildWindowsMinimiseInsteadOfClosing) {
  for (QMdiSubWindow* sub : window->mdiarea()->subWindowList()) {
    EXPECT_FALSE(sub->close());
    EXPECT_TRUE(sub->isMinimized()) << sub->widget()->objectName().toStdString();
  }
  EXPECT_EQ(window->mdiarea()->subWindowList().size(), 5);
}

TEST_F(MainWindow, AboutBox) {
  window->menus().action("mnuAbout")->trigger();
  ASSERT_EQ(parts.prompts.records.size(), 1u);
  const QStringList lines = parts.prompts.records[0].text.split("\r\n");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "Software version: 2.64 revision 8        ");
  EXPECT_EQ(lines[1], "        Company: VELKOR EMS");
  EXPECT_EQ(parts.prompts.records[0].icon, Prompts::Icon::Information);
}

TEST_F(MainWindow, ConnectFailureReportsAndStaysOffline) {
  port.openfailure = "No such file or directory";
  window->menus().action("mnuComsConnect")->trigger();
  EXPECT_FALSE(parts.state.online);
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{"An error occurred opening the com port"});
  EXPECT_TRUE(window->menus().action("mnuComsConnect")->isEnabled());
  EXPECT_FALSE(window->menus().action("mnuComsDisconnect")->isEnabled());
  EXPECT_FALSE(window->menus().action("mnuFastVerify")->isEnabled());
}

TEST_F(MainWindow, ALineLostUnderAConnectedWindowTakesTheMenusOffline) {
  // Every connection-dependent item as the connection state has it: usable when its window exists and the
  // connection is what it needs, disabled otherwise.
  const auto expectmenus = [this](bool online) {
    int checked = 0;
    for (const MenuEntry& e : menutable()) {
      if (e.kind != MenuKind::item || e.needs == Needs::any) continue;
      EXPECT_EQ(window->menus().action(e.name)->isEnabled(), MainMenus::usable(e, online))
          << e.name << (online ? " connected" : " after the line was lost");
      ++checked;
    }
    EXPECT_EQ(checked, 16);
  };
  const auto run = [this](int ticks) {
    for (int i = 0; i < ticks && parts.state.online; ++i) {
      window->timers().commstick();
      port.step();
    }
  };

  window->menus().action("mnuComsConnect")->trigger();
  ASSERT_TRUE(parts.state.online);
  run(10);
  expectmenus(true);
  EXPECT_FALSE(window->menus().action("mnuComsConnect")->isEnabled());

  // The adapter is pulled: the link closes the port itself, in the middle of a tick.
  port.unplug("Input/output error");
  run(6);
  ASSERT_FALSE(parts.state.online);
  expectmenus(false);
  for (const char* name : {"mnuComsDisconnect", "mnuEcuSave", "mnuEcuOpen", "mnuEcuVerify"})
    EXPECT_FALSE(window->menus().action(name)->isEnabled()) << name;
  EXPECT_TRUE(window->menus().action("mnuComsConnect")->isEnabled());
  EXPECT_TRUE(parts.prompts.messages().empty()) << "no message box from inside the reply path";
  EXPECT_TRUE(parts.log.lines()[3].startsWith("The connection to /dev/ttyUSB0 was lost: Input/output error"))
      << parts.log.lines()[3].toStdString();

  // And Connect works again from there.
  window->menus().action("mnuComsConnect")->trigger();
  EXPECT_TRUE(parts.state.online);
  expectmenus(true);
}

// Counts the writes of the connection-dependent menus by one item of them: the item is put back at once after each
// write, so that a second write for the same connection shows as well.
class MenuWrites {
 public:
  MenuWrites(QAction* item, bool written) : item_(item), written_(written) {
    item_->setEnabled(!written_);
    QObject::connect(item_, &QAction::enabledChanged, &receiver_, [this](bool enabled) {
      if (enabled != written_) return;
      ++count;
      item_->setEnabled(!written_);
    });
  }
  ~MenuWrites() {
    QObject::disconnect(item_, nullptr, &receiver_, nullptr);
    item_->setEnabled(written_);
  }
  MenuWrites(const MenuWrites&) = delete;
  MenuWrites& operator=(const MenuWrites&) = delete;

  int count = 0;

 private:
  QAction* item_;
  bool written_;
  QObject receiver_;
};

TEST_F(MainWindow, TheMenusAreWrittenOnceForEveryChangeOfTheConnection) {
  // Fast verify is usable only while connected, and none of the steps below uses it.
  QAction* watched = window->menus().action("mnuFastVerify");
  const auto writes = [&](bool online, const std::function<void()>& step) {
    MenuWrites menus(watched, online);
    step();
    EXPECT_EQ(parts.state.online, online);
    return menus.count;
  };
  const auto connect = [this] { window->menus().action("mnuComsConnect")->trigger(); };
  const auto disconnect = [this] { window->menus().action("mnuComsDisconnect")->trigger(); };
  const auto loseline = [this] {
    port.unplug("Input/output error");
    for (int i = 0; i < 6 && parts.state.online; ++i) {
      window->timers().commstick();
      port.step();
    }
  };
  const auto noreply = [this] {
    // The checks timer's thirteenth tick with requests going out and no reply, and Yes to its question.
    parts.prompts.answers = {Prompts::Answer::Yes};
    parts.state.noreplyticks = 12;
    parts.state.sendcount = static_cast<std::int16_t>((parts.state.sendcount + 3) % 1000);
    window->timers().checkstick();
    EXPECT_EQ(parts.prompts.messages().back(), "The ECU is not responding, disconnect now?");
  };

  port.openfailure = "No such file or directory";
  EXPECT_EQ(writes(false, connect), 1) << "a port that will not open: still the offline menus";
  port.openfailure.clear();
  EXPECT_EQ(writes(true, connect), 1) << "Connect";
  EXPECT_EQ(writes(false, disconnect), 1) << "Disconnect";
  connect();
  EXPECT_EQ(writes(false, loseline), 1) << "the line lost";
  connect();
  window->timers().checkstick();  // the checks timer has seen the traffic so far
  EXPECT_EQ(writes(false, noreply), 1) << "disconnected after the no-reply question";
}

TEST_F(MainWindow, KeysOnThePermanentWindowsReachTheKeyboardHandler) {
  const std::pair<QWidget*, int> windows[] = {
      {window->frmDisplay->picGraph, 4},  // F5: the VE table
      {window->frmNavigate, 8},           // F4: base timing
      {window->frmMap->picGraph(), 42},   // F6: knock threshold
      {window->frmStatusWindow, 0},       // F3: base fuel
  };
  const Qt::Key keys[] = {Qt::Key_F5, Qt::Key_F4, Qt::Key_F6, Qt::Key_F3};
  for (std::size_t i = 0; i < std::size(windows); ++i) {
    parts.state.curmap = 30;
    QKeyEvent press(QEvent::KeyPress, keys[i], Qt::NoModifier);
    QApplication::sendEvent(windows[i].first, &press);
    EXPECT_EQ(parts.state.curmap, windows[i].second) << windows[i].first->objectName().toStdString();
  }
}

TEST_F(MainWindow, TheLiveWindowItemsOpenTheirWindows) {
  window->menus().action("mnuComsConnect")->trigger();
  ASSERT_TRUE(parts.state.online);
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  const std::pair<const char*, const char*> items[] = {
      {"mnuComErrors", "frmComErrors"}, {"mnuFirmWare", "frmFirmware"}, {"mnuInDiagnostic", "frmInputDiagnostic"},
      {"mnuInputs", "frmInputs"},       {"mnuFuelMuls", "frmFuelMuls"}, {"mnuLTT", "frmLtt"},
      {"mnuFastVerify", "frmFastVerify"},
  };
  for (const auto& [item, name] : items) {
    QAction* action = window->menus().action(item);
    ASSERT_TRUE(action->isEnabled()) << item;
    parts.state.curmap = 8;
    action->trigger();
    ASSERT_FALSE(windows.opened.empty()) << item;
    EXPECT_EQ(windows.opened.back(), name);
  }
  EXPECT_EQ(windows.opened.size(), std::size(items));
  // After the fast verify the views show map 0, whatever was shown before.
  EXPECT_EQ(parts.state.curmap, 0);
  EXPECT_EQ(parts.log.lines()[0], "Base fuel table [RPM, LOAD] selected ");  // the opening clears the console
}

TEST_F(MainWindow, PreferencesDialogSetsTheCommsTimerAtOnce) {
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<frmPreferences*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->optiongroup(13)->button(0)->click();  // COM FREQUENCY: FASTEST
    dialog->Command3->click();                    // Ok
  });
  window->menus().action("mnuToolsPreferences")->trigger();
  EXPECT_TRUE(parts.state.preferences.comfastest);
  EXPECT_EQ(window->TimerComms->interval(), 20);
}

// --- File commands --------------------------------------------------------------------------------------------------

class FileCommandsTest : public MainWindow {
 protected:
  // A second calibration, different from the shipped one in one cell of map 8.
  QString othercalibration() {
    RecordingPrompts quiet;
    maps other(quiet);
    other.setimage(parts.mainmaps.getimage());
    other.setdata(8, 2, 3, other.getdata(8, 2, 3) + 7, false);
    const QString path = folder.file("other.s26");
    EXPECT_TRUE(other.savefile(path));
    return path;
  }
};

TEST_F(FileCommandsTest, CancelledDialogsChangeNothing) {
  const QString before = parts.state.filename;
  const QString caption = window->windowTitle();
  parts.prompts.paths = {QString(), QString(), QString()};
  window->menus().action("mnuFileOpen")->trigger();
  window->menus().action("mnuOpenUnix")->trigger();
  window->menus().action("mnuFileSave")->trigger();
  EXPECT_EQ(parts.state.filename, before);
  EXPECT_EQ(window->windowTitle(), caption);
  EXPECT_TRUE(parts.prompts.messages().empty());
}

TEST_F(FileCommandsTest, OpenFromFileTakesTheFileAndClearsImageRead) {
  const QString path = othercalibration();
  const int shipped = parts.mainmaps.getdata(8, 2, 3);
  parts.state.imageread = true;
  parts.state.curmap = 8;
  parts.prompts.paths = {path};
  window->menus().action("mnuFileOpen")->trigger();
  EXPECT_EQ(parts.state.filename, path);
  EXPECT_EQ(parts.mainmaps.getdata(8, 2, 3), shipped + 7);
  EXPECT_FALSE(parts.state.imageread);
  const MapDisplay d = mapdisplay(parts.mainmaps, parts.state.guards, 8, parts.state.preferences.fueltype);
  EXPECT_EQ(window->windowTitle(), d.group + ": " + d.name + "  (" + QDir::toNativeSeparators(path) + ")");
  EXPECT_TRUE(written.contains(QDir::toNativeSeparators(path) + " opened successfully"));
}

TEST_F(FileCommandsTest, ACalibrationWithAClearedPasswordsMapLocksNoMap) {
  // Every fragment row zero: each passes the checks with seed 0, and would name map 0, row 0.
  RecordingPrompts quiet;
  maps other(quiet);
  other.setimage(parts.mainmaps.getimage());
  for (int i = 0; i < fragmentcount; ++i)
    for (int k = 0; k < 16; ++k) other.setdata(passwordsmap, i, k, 0, false);
  const QString path = folder.file("nopasswords.s26");
  ASSERT_TRUE(other.savefile(path));
  parts.state.curmap = 0;
  parts.prompts.paths = {path};
  window->menus().action("mnuFileOpen")->trigger();
  ASSERT_EQ(parts.state.filename, path);
  EXPECT_TRUE(parts.prompts.messages().empty()) << "the base fuel table opens with no protected rows";
  for (int i = 0; i < fragmentcount; ++i) EXPECT_FALSE(parts.state.fragmenton[static_cast<std::size_t>(i)]) << i;
  for (int map = 0; map < mapcount; ++map) EXPECT_EQ(parts.state.guards.rows(map), 0U);
}

TEST_F(FileCommandsTest, OpenUnixKeepsImageRead) {
  // The same calibration with line feeds alone.
  QByteArray bytes = test::readfile(othercalibration());
  bytes.replace("\r\n", "\n");
  const QString path = folder.file("unix.s26");
  ASSERT_TRUE(test::writefile(path, bytes));
  parts.state.imageread = true;
  const int shipped = parts.mainmaps.getdata(8, 2, 3);
  parts.prompts.paths = {path};
  window->menus().action("mnuOpenUnix")->trigger();
  EXPECT_TRUE(parts.prompts.messages().empty());
  EXPECT_EQ(parts.state.filename, path);
  EXPECT_EQ(parts.mainmaps.getdata(8, 2, 3), shipped + 7);
  EXPECT_TRUE(parts.state.imageread);
}

TEST_F(FileCommandsTest, DamagedFileLeavesEverythingAsItWas) {
  const QString path = folder.file("damaged.s26");
  QByteArray bytes = test::readfile(installpath("lastsaved.s26"));
  bytes.truncate(bytes.size() / 2);
  ASSERT_TRUE(test::writefile(path, bytes));
  const auto image = parts.mainmaps.getimage();
  const QString before = parts.state.filename;
  const QString caption = window->windowTitle();
  written.clear();
  parts.state.imageread = true;
  parts.prompts.paths = {path};
  window->menus().action("mnuFileOpen")->trigger();
  // The calibration model has said what is wrong; the command adds nothing.
  EXPECT_FALSE(parts.prompts.messages().empty());
  for (const QString& m : parts.prompts.messages()) EXPECT_NE(m, "A file error occurred");
  EXPECT_EQ(parts.mainmaps.getimage(), image);
  EXPECT_EQ(parts.state.filename, before);
  EXPECT_EQ(window->windowTitle(), caption);
  EXPECT_TRUE(written.isEmpty());
  EXPECT_TRUE(parts.state.imageread);
}

TEST_F(FileCommandsTest, SaveWritesTheFileAndTheLastSavedCopy) {
  parts.mainmaps.setdata(8, 1, 1, 99, true);
  const QString path = folder.file("mine");  // no extension: .s26 is added
  parts.prompts.paths = {path};
  window->menus().action("mnuFileSave")->trigger();
  EXPECT_TRUE(parts.prompts.messages().empty());
  EXPECT_EQ(parts.state.filename, path + ".s26");
  EXPECT_EQ(test::readfile(path + ".s26"), test::readfile(installpath("lastsaved.s26")));
  RecordingPrompts quiet;
  maps back(quiet);
  ASSERT_TRUE(back.openfile(installpath("lastsaved.s26"), true, false));
  EXPECT_EQ(back.getdata(8, 1, 1), 99);
  EXPECT_TRUE(window->windowTitle().endsWith("  (" + QDir::toNativeSeparators(path + ".s26") + ")"));
}

TEST_F(FileCommandsTest, SaveUnderTheTemplateOrNoNameIsRefused) {
  const QByteArray templatebytes = test::readfile(installpath("template.s26"));
  const QByteArray lastsaved = test::readfile(installpath("lastsaved.s26"));
  const QString before = parts.state.filename;
  parts.mainmaps.setdata(8, 1, 1, 99, true);
  parts.prompts.paths = {installpath("template.s26"), installpath("*.s26")};
  window->menus().action("mnuFileSave")->trigger();
  window->menus().action("mnuFileSave")->trigger();
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>(2, "A file error occurred"));
  EXPECT_EQ(parts.prompts.records[1].icon, Prompts::Icon::Exclamation);  // after the save dialog
  EXPECT_EQ(test::readfile(installpath("template.s26")), templatebytes);
  EXPECT_EQ(test::readfile(installpath("lastsaved.s26")), lastsaved);
  EXPECT_FALSE(QFile::exists(installpath("*.s26")));
  EXPECT_EQ(parts.state.filename, before);
}

TEST_F(FileCommandsTest, FailedSaveSaysSoAndKeepsTheFileName) {
  const QString before = parts.state.filename;
  parts.prompts.paths = {folder.file("no/such/folder/x.s26")};
  window->menus().action("mnuFileSave")->trigger();
  EXPECT_EQ(parts.prompts.messages(), std::vector<QString>{"A file error occurred"});
  EXPECT_EQ(parts.state.filename, before);
}

}  // namespace
