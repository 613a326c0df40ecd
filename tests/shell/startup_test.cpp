// The start procedure: tables, start-up files, the splash wait and the main window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <QMenu>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "calibration/maptree.h"
#include "common/testrig.h"
#include "platform/installfolder.h"
#include "platform/twips.h"
#include "shell/colors.h"
#include "shell/filecommands.h"
#include "shell/frmnavigate.h"
#include "logger/logprofile.h"
#include "shell/preferences.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

QByteArray profilebytes(std::initializer_list<int> colours, std::initializer_list<int> variables) {
  QByteArray bytes(logprofilesize, '\0');
  int i = 0;
  for (int c : colours) bytes[i++] = static_cast<char>(c);
  i = 16;
  for (int v : variables) bytes[i++] = static_cast<char>(v);
  return bytes;
}

TEST(LogProfile, ShippedFileIsTheBuiltInDefault) {
  const QByteArray shipped = test::readfile(test::sourcepath(QStringLiteral("data/defaultlogprefs.lgp")));
  ASSERT_EQ(shipped.size(), logprofilesize);
  for (int i = 0; i < logprofilesize; ++i) EXPECT_EQ(static_cast<std::uint8_t>(shipped[i]), defaultlogprofile()[i]);
  // Every channel has a colour and a named live variable.
  for (int i = 0; i < 16; ++i) {
    EXPECT_LT(defaultlogprofile()[i], 16);
    EXPECT_LT(defaultlogprofile()[i + 16], 83);
  }
}

TEST(LogProfile, OutOfRangeBytesLeaveTheirChannelAlone) {
  test::TempInstallFolder folder;
  ProgramState state;
  state.logcolour.fill(7);
  state.logvar.fill(9);
  const QString path = folder.file(QStringLiteral("p.lgp"));
  ASSERT_TRUE(test::writefile(path, profilebytes({16, 17, 0, 255, 15}, {127, 128, 0, 255, 42})));
  ASSERT_TRUE(loadlogprofile(path, state));
  EXPECT_EQ(state.logcolour[0], 16);  // no trace
  EXPECT_EQ(state.logcolour[1], 7);   // 17 is skipped
  EXPECT_EQ(state.logcolour[2], 0);
  EXPECT_EQ(state.logcolour[3], 7);
  EXPECT_EQ(state.logcolour[4], 15);
  EXPECT_EQ(state.logvar[0], 127);
  EXPECT_EQ(state.logvar[1], 9);  // 128 is skipped
  EXPECT_EQ(state.logvar[2], 0);
  EXPECT_EQ(state.logvar[3], 9);
  EXPECT_EQ(state.logvar[4], 42);
}

TEST(LogProfile, MissingOrShortFileChangesNothing) {
  test::TempInstallFolder folder;
  ProgramState state;
  state.logvar.fill(9);
  EXPECT_FALSE(loadlogprofile(folder.file(QStringLiteral("none.lgp")), state));
  const QString shortfile = folder.file(QStringLiteral("short.lgp"));
  ASSERT_TRUE(test::writefile(shortfile, profilebytes({1, 2, 3}, {}).left(31)));
  EXPECT_FALSE(loadlogprofile(shortfile, state));
  EXPECT_EQ(state.logvar[0], 9);
  EXPECT_EQ(state.logcolour[0], 0);
}

class Startup : public ::testing::Test, protected test::SimEcu {
 protected:
  // The tables filled as the start procedure fills them, then a main window loaded over them as the procedure loads
  // its own, with the fills of its navigation tree counted.
  int loadcountingtreefills(VelkorV5& window) {
    int fills = 0;
    QObject::connect(window.frmNavigate->NavView->model(), &QAbstractItemModel::modelReset, [&fills] { ++fills; });
    window.load();
    return fills;
  }
  void filltables() {
    QApplication::setQuitOnLastWindowClosed(false);
    start.begin();
    start.splash()->Timer1->stop();
  }
  // The text of map m's leaf in the navigation tree; empty when it has none.
  static QString leaftext(const VelkorV5& window, int m) {
    for (QTreeWidgetItemIterator it(window.frmNavigate->NavView); *it; ++it)
      if ((*it)->data(0, frmNavigate::maprole).toInt() == m && !(*it)->data(0, frmNavigate::grouprole).toBool())
        return (*it)->text(0);
    return {};
  }

  test::ShellParts parts{port};
  StartProcedure start{parts.context};
};

TEST_F(Startup, SplashCountsThirtyTicksThenTheMainWindowComes) {
  QApplication::setQuitOnLastWindowClosed(false);
  start.begin();
  frmSplash* splash = start.splash();
  ASSERT_NE(splash, nullptr);
  splash->Timer1->stop();
  EXPECT_EQ(splash->Timer1->interval(), 100);
  EXPECT_EQ(splash->windowTitle(), "VELKOR OSTREL V2.64 revision 8 ONLINE PROGRAMMER LOADING..");
  EXPECT_TRUE(splash->isVisible());
  const int top = splash->toptwips();
  for (int n = 1; n < StartProcedure::splashticks; ++n) {
    splash->tick();
    EXPECT_EQ(splash->windowTitle(),
              "VELKOR OSTREL V2.64 revision 8 ONLINE PROGRAMMER LOADING.." + QString(n, QLatin1Char('.')));
    EXPECT_EQ(splash->toptwips(), top + 10 * n);
    EXPECT_EQ(start.mainwindow(), nullptr) << "tick " << n;
  }
  test::savescreenshot(splash, "splash");
  EXPECT_EQ(splash->y() - QGuiApplication::primaryScreen()->geometry().top(), twipstopixels(top + 290));

  VelkorV5* shown = nullptr;
  QObject::connect(&start, &StartProcedure::mainwindowshown, [&](VelkorV5* window) {
    shown = window;
    EXPECT_EQ(start.splash(), nullptr);  // the splash has been unloaded first
  });
  splash->tick();
  EXPECT_FALSE(splash->isVisible());
  ASSERT_NE(start.mainwindow(), nullptr);
  EXPECT_EQ(shown, start.mainwindow());
  EXPECT_TRUE(start.mainwindow()->isVisible());
  EXPECT_EQ(start.mainwindow()->windowTitle(), "VELKOR OSTREL V2.64 revision 8 ONLINE PROGRAMMER");
  EXPECT_TRUE(start.mainwindow()->TimerComms->isActive());
  EXPECT_FALSE(parts.state.online);  // the shipped preferences do not connect at start
}

TEST_F(Startup, AutoConnectOpensThePortAtTheEndOfTheLoad) {
  ASSERT_TRUE(test::writefile(installpath(preferencesfilename), "11111100111010001"));
  VelkorV5* window = test::startprogram(start);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(parts.state.online);
  EXPECT_TRUE(port.isopen());
  EXPECT_FALSE(window->menus().action("mnuComsConnect")->isEnabled());
  EXPECT_TRUE(window->menus().action("mnuComsDisconnect")->isEnabled());
}

TEST_F(Startup, SplashIsCentredAcrossAndAThirdFromTheTop) {
  frmSplash splash;
  splash.Timer1->stop();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const int width = pixelstotwips(splash.width());
  const int height = pixelstotwips(splash.height());
  EXPECT_EQ(splash.lefttwips(), static_cast<int>(std::nearbyint((pixelstotwips(screen.width()) - width) / 2.0)));
  EXPECT_EQ(splash.toptwips(), static_cast<int>(std::nearbyint((pixelstotwips(screen.height()) - height) / 3.0)));
}

TEST_F(Startup, LoadsTheStartupFiles) {
  // Preferences: imperial units, port 3; colours: a blue background; log profile: own channels.
  ASSERT_TRUE(test::writefile(installpath(preferencesfilename), "01110300111010001"));
  Colors blue;
  blue.bgcolor = 0x00FF0000;
  ASSERT_TRUE(test::writefile(installpath(colorsfilename), colorbytes(blue)));
  ASSERT_TRUE(test::writefile(installpath(defaultlogprofilename), profilebytes({3}, {44})));
  parts.state.guards.guard(0, 1, 4, 4);
  ostrel::test::LinkProbe::queue(parts.link).records[5].op = oprowwrite;

  start.begin();
  start.splash()->Timer1->stop();
  EXPECT_FALSE(parts.state.preferences.metricunits);
  EXPECT_EQ(parts.mainsettings.unitscolumn(), 1);
  EXPECT_EQ(parts.state.preferences.comport, 3);
  EXPECT_EQ(parts.state.colors.bgcolor, 0x00FF0000u);
  EXPECT_EQ(parts.state.logcolour[0], 3);
  EXPECT_EQ(parts.state.logvar[0], 44);
  EXPECT_EQ(parts.state.guards.rows(0), 0U);  // map protection cleared
  EXPECT_EQ(parts.link.transferqueue().records[5].op, 0);
  EXPECT_TRUE(parts.prompts.records.empty());
}

TEST_F(Startup, TheTreeAndTheMapGroupMenuAreBuiltOnceOverTheFileTheLoadOpened) {
  // The last saved file gives the first PWM map another input than the model holds before the load, which the
  // map's name carries.
  const QString lastsaved = installpath(FileCommands::lastsavedname);
  maps file(parts.prompts);
  ASSERT_TRUE(file.openfile(lastsaved, true, false));
  file.setdata(110, 3, 0, file.getdata(110, 3, 0) == 5 ? 6 : 5, false);
  ASSERT_TRUE(file.savefile(lastsaved));
  const QString pwmname = mapnamepart(file.getmapname(88));
  ASSERT_NE(mapnamepart(parts.mainmaps.getmapname(88)), pwmname);

  filltables();
  VelkorV5 window(parts.context);
  EXPECT_EQ(loadcountingtreefills(window), 1);
  EXPECT_EQ(leaftext(window, 88), pwmname);
  EXPECT_EQ(window.menus().menu("mnuMapGroup")->actions().size(), 26);
}

TEST_F(Startup, WithoutALastSavedFileTheTreeAndTheMapGroupMenuAreStillBuiltOnce) {
  ASSERT_TRUE(QFile::remove(installpath(FileCommands::lastsavedname)));
  filltables();
  VelkorV5 window(parts.context);
  EXPECT_EQ(loadcountingtreefills(window), 1);
  EXPECT_EQ(leaftext(window, 88), mapnamepart(parts.mainmaps.getmapname(88)));
  EXPECT_FALSE(leaftext(window, 0).isEmpty());
  EXPECT_EQ(window.menus().menu("mnuMapGroup")->actions().size(), 26);
}

// Answers every message box only after the user has read it for a while, with the event loop running as under a
// real message box.
class SlowReader final : public Prompts {
 public:
  explicit SlowReader(int readms) : readms_(readms) {}
  std::vector<QString> texts;
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  QString openfilename(const QString&, const QString&, const QString&) override { return {}; }
  QString savefilename(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QColor> colour(const QColor&) override { return std::nullopt; }

 protected:
  Answer showmessage(const QString& text, Icon, Buttons, const QString&) override {
    texts.push_back(text);
    QTest::qWait(readms_);
    return Answer::Ok;
  }

 private:
  int readms_;
};

TEST_F(Startup, AStartupMessageNeitherShortensTheSplashNorBringsTheMainWindowEarly) {
  // A preferences file that cannot be read is reported while most tables are still to be filled; the user reads the
  // message for longer than the whole splash wait.
  QFile::remove(installpath(preferencesfilename));
  ASSERT_TRUE(QDir().mkdir(installpath(preferencesfilename)));
  ASSERT_TRUE(test::writefile(installpath(defaultlogprofilename), profilebytes({3}, {44})));
  QApplication::setQuitOnLastWindowClosed(false);
  SlowReader reader(3300);
  ShellContext context{parts.state,    reader,       parts.mainmaps,     parts.mainsettings,
                       parts.log,      parts.link,   parts.transfer,     parts.templatemaps,
                       parts.oldmaps,  parts.logstore, parts.progressjobs};
  StartProcedure slow{context};
  slow.begin();
  ASSERT_EQ(reader.texts.size(), 1u);
  EXPECT_EQ(slow.mainwindow(), nullptr);
  ASSERT_NE(slow.splash(), nullptr);
  slow.splash()->Timer1->stop();
  EXPECT_EQ(slow.splash()->windowTitle(), "VELKOR OSTREL V2.64 revision 8 ONLINE PROGRAMMER LOADING..");
  EXPECT_EQ(parts.state.logvar[0], 44);  // the rest of the start-up ran after the message
}

TEST_F(Startup, MissingOrShortStartupFilesFallBackToTheShippedDefaults) {
  QFile::remove(installpath(preferencesfilename));
  ASSERT_TRUE(test::writefile(installpath(defaultlogprofilename), "\x05\x05"));
  VelkorV5* window = test::startprogram(start);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(parts.state.preferences, defaultpreferences());
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(parts.state.logcolour[i], defaultlogprofile()[i]);
    EXPECT_EQ(parts.state.logvar[i], defaultlogprofile()[i + 16]);
  }
}

}  // namespace
