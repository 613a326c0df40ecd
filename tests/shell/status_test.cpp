#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include "common/testsupport.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "shell/statuswindow.h"

using namespace ostrel;

TEST(StatusLog, FourLineConsoleMarksTheNewestLine) {
  StatusLog log;
  EXPECT_EQ(log.consoletext(), "Status:");
  QSignalSpy changed(&log, &StatusLog::consolechanged);
  for (const char* m : {"a", "b", "c", "d", "e"}) log.statusmessage(QString::fromLatin1(m), false);
  EXPECT_EQ(log.consoletext(), "> b\r\n> c\r\n> d\r\n>> e");
  EXPECT_EQ(changed.count(), 5);
  EXPECT_EQ(changed.last().at(0).toString(), log.consoletext());

  log.statusmessage("x", true);
  EXPECT_EQ(log.consoletext(), "> x\r\n> \r\n> \r\n>> ");
  log.statusmessage("y");
  EXPECT_EQ(log.consoletext(), "> \r\n> \r\n> \r\n>> y");

  StatusLog fresh;
  fresh.statusmessage("first");
  EXPECT_EQ(fresh.consoletext(), "> \r\n> \r\n> \r\n>> first");
}

TEST(StatusLog, DebugLinesGrowUntilCleared) {
  StatusLog log;
  EXPECT_EQ(log.debugtext(), "Status:");
  log.debugmessage("one");
  log.debugmessage("two");
  EXPECT_EQ(log.debugtext(), "Status:\r\none\r\ntwo");
  log.cleardebug();
  EXPECT_EQ(log.debugtext(), "");
  log.debugmessage("three");
  EXPECT_EQ(log.debugtext(), "\r\nthree");
  EXPECT_EQ(log.consoletext(), "Status:");  // the console is untouched
}

TEST(StatusLayout, BoxesShareTheHeightAbove2340) {
  const StatusBoxes start;
  struct Case {
    int w, h;
    int width, statusheight, debugtop;
  };
  for (const Case c : {Case{5000, 2341, 4650, 736, start.statustop + 105 + 736},  // (2341 - 870) / 2 = 735.5 -> 736
                       Case{5000, 2343, 4650, 736, start.statustop + 105 + 736},  // 736.5 -> 736
                       Case{5000, 4000, 4650, 1565, start.statustop + 105 + 1565},
                       Case{5000, 2340, 4650, 1470, 2340},  // console only, debug box below the window
                       Case{351, 871, 1, 1, 871}, Case{350, 870, start.width, start.statusheight, 870}}) {
    const StatusBoxes b = statuslayout(c.w, c.h, start);
    EXPECT_EQ(b.width, c.width) << c.w << "x" << c.h;
    EXPECT_EQ(b.statusheight, c.statusheight) << c.w << "x" << c.h;
    EXPECT_EQ(b.debugheight, c.statusheight) << c.w << "x" << c.h;
    EXPECT_EQ(b.debugtop, c.debugtop) << c.w << "x" << c.h;
    EXPECT_EQ(b.statustop, start.statustop);
    EXPECT_EQ(b.left, start.left);
  }
}

namespace {

struct StatusWindowFixture : ::testing::Test {
  ProgramState state;
  StatusLog log;
  frmStatus window{log, state};
};

// Outer height in twips -> the window's client height in pixels.
int clientheight(int outertwips) {
  return twipstopixels(outertwips - frmStatus::frameheight);
}

}  // namespace

TEST_F(StatusWindowFixture, ShowsTheLogAndHidesTheDebugBoxWhenLow) {
  EXPECT_EQ(window.windowTitle(), "Status");
  EXPECT_EQ(window.TextStatus->toPlainText(), "Status:");
  EXPECT_EQ(window.TextStatusDebug->toPlainText(), "Status:");
  window.resize(480, clientheight(4200));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  log.statusmessage("File opened: lastsaved.s26", true);
  log.statusmessage("Map view opened: 3D Fuel Calibration");
  log.statusmessage("Connected on CP1");
  log.statusmessage("Grid focus, arrows are map oriented");
  for (int i = 0; i < 3; ++i)
    log.debugmessage(QStringLiteral("queue %1: write row 0x%2").arg(i).arg(0x8000 + 16 * i, 0, 16));
  EXPECT_EQ(log.lines()[3], "Grid focus, arrows are map oriented");
  EXPECT_EQ(window.TextStatus->toPlainText(), QString(log.consoletext()).replace("\r\n", "\n"));
  EXPECT_TRUE(window.TextStatus->toPlainText().endsWith("\n>> Grid focus, arrows are map oriented"));
  EXPECT_EQ(window.TextStatusDebug->toPlainText(),
            "Status:\nqueue 0: write row 0x8000\nqueue 1: write row 0x8010\n"
            "queue 2: write row 0x8020");
  const QRect console = window.TextStatus->geometry();
  const QRect debug = window.TextStatusDebug->geometry();
  EXPECT_GT(debug.top(), console.bottom());
  EXPECT_LE(debug.bottom(), window.height());
  EXPECT_EQ(console.height(), debug.height());
  test::savescreenshot(&window, "status");

  window.resize(480, clientheight(2340));
  EXPECT_GE(window.TextStatusDebug->geometry().top(), window.height());
  EXPECT_LE(window.TextStatus->geometry().bottom(), window.height());
  window.resize(480, clientheight(2400));
  EXPECT_LT(window.TextStatusDebug->geometry().bottom(), window.height());
}

TEST_F(StatusWindowFixture, FocusOnTheConsoleIsGridOriented) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  window.TextStatusDebug->setFocus();
  QApplication::processEvents();
  state.graphview = false;
  log.statusmessage("Grid focus", true);
  window.TextStatus->setFocus();
  QApplication::processEvents();
  EXPECT_TRUE(state.graphview);
  EXPECT_EQ(log.lines()[3], "Status focus, arrows are grid oriented");
}

TEST_F(StatusWindowFixture, KeysGoToTheMapViewsAndEmptyTheDebugBox) {
  QSignalSpy keys(&window, &frmStatus::keypressed);
  log.debugmessage("line");

  // The Shift key itself goes on too, as the keyboard handler sees every key going down.
  QTest::keyClick(window.TextStatus, Qt::Key_Up, Qt::ShiftModifier);
  ASSERT_EQ(keys.count(), 2);
  EXPECT_EQ(keys[0].at(0).toInt(), int(Qt::Key_Shift));
  EXPECT_EQ(keys[1].at(0).toInt(), int(Qt::Key_Up));
  EXPECT_EQ(keys[1].at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
  EXPECT_EQ(log.debugtext(), "Status:\r\nline");
  EXPECT_EQ(window.TextStatus->textCursor().position(), 0);  // the key did not act on the box itself

  QTest::keyClick(window.TextStatusDebug, Qt::Key_PageDown);
  ASSERT_EQ(keys.count(), 3);
  EXPECT_EQ(keys[2].at(0).toInt(), int(Qt::Key_PageDown));
  EXPECT_EQ(log.debugtext(), "");
  EXPECT_EQ(window.TextStatusDebug->toPlainText(), "");
  log.debugmessage("again");
  EXPECT_EQ(window.TextStatusDebug->toPlainText(), "\nagain");
}

TEST_F(StatusWindowFixture, CloseMinimisesUnlessExiting) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  state.exiting = true;
  EXPECT_TRUE(window.close());
  EXPECT_FALSE(window.isVisible());
}
