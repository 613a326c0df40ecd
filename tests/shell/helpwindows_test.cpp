// The Diagrams window and the Hotkeys window: their texts, the picture and its scrolling, and what the Diagrams
// window shows for a map that has no diagram or when the picture cannot be loaded.
#include "shell/helpwindows.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "common/testsupport.h"
#include "platform/programstate.h"
#include "platform/ui/picturesurface.h"

using namespace ostrel;

namespace {

class HelpWindows : public ::testing::Test {
 protected:
  test::TempInstallFolder folder;
  ProgramState state;
};

const QString designtext = QStringLiteral("No help text available.");

}  // namespace

TEST_F(HelpWindows, TheHotkeysListHas42LinesJoinedByCrLf) {
  const QStringList lines = hotkeylines();
  ASSERT_EQ(lines.size(), 42);
  EXPECT_EQ(lines[0], "Navigation:");
  EXPECT_EQ(lines[1], "     [T] toggle between grid arrows and map arrows");
  EXPECT_EQ(lines[11], QString(36, ' '));
  EXPECT_EQ(lines[14], "     [CTRL+ARROWS] move mass entry tuning position      ");
  EXPECT_EQ(lines[33], "     [Q] quick tune feedback apply (key arrow cell)");
  const QString text = hotkeystext();
  EXPECT_TRUE(text.endsWith("[F9] maximise grid"));
  EXPECT_EQ(text.count("\r\n"), 41);
  EXPECT_EQ(text.count('\n'), 41);
  for (const QString& line : lines) {
    if (!line.trimmed().isEmpty() && !line.endsWith(':')) {
      EXPECT_TRUE(line.startsWith("     [")) << line.toStdString();
    }
  }

  frmHotkeys window;
  EXPECT_EQ(window.windowTitle(), "Hotkeys");
  EXPECT_EQ(window.Text1->toPlainText().split('\n'), lines);
}

TEST_F(HelpWindows, TheCamTimingTextHasItsSixParagraphsInFourGroups) {
  const QString text = vcthelptext();
  const QStringList groups = text.split("\r\n\r\n");
  ASSERT_EQ(groups.size(), 4);
  EXPECT_TRUE(groups[0].startsWith("VCTi (intake variable cam) or VCTe"));
  EXPECT_TRUE(groups[0].contains("as required. The inputs to the controller (PID controller, see diagram)"));
  EXPECT_TRUE(groups[1].startsWith("The VCTi and VCTe offsets"));
  EXPECT_TRUE(groups[2].startsWith("For advanced users, it is possible to add a gain schedule (GS) table"));
  EXPECT_TRUE(groups[3].endsWith("(see settings -> pwm axes)." + QString(9, ' ')));
  EXPECT_EQ(text.count("\r\n"), 6);
}

TEST_F(HelpWindows, ACamTimingMapShowsTheDiagramAndTheText) {
  for (int map : {106, 107, 108, 109}) {
    state.curmap = static_cast<std::uint8_t>(map);
    frmHelp window(state);
    window.resize(1000, 800);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Help");
    EXPECT_FALSE(window.picture().isNull()) << map;
    EXPECT_EQ(window.TextHelp->toPlainText(), vcthelptext().replace("\r\n", "\n"));
  }
  // The picture starts 1000 twips down; each step of the bar moves it 500 twips up.
  EXPECT_EQ(helppicturetop(0), 1000);
  EXPECT_EQ(helppicturetop(4), -1000);

  state.curmap = 107;
  frmHelp window(state);
  window.resize(1000, 800);
  window.show();
  const QImage picture = window.picture().convertToFormat(QImage::Format_RGB32);
  const auto shown = [&](int top) {
    return window.PicHelp->image().copy(QRect(0, top, 600, 300)).convertToFormat(QImage::Format_RGB32);
  };
  const QImage diagramtop = picture.copy(QRect(0, 0, 600, 300));
  // The diagram's top left corner lands 1000 twips (67 pixels) down; above it the picture is blank.
  EXPECT_EQ(shown(67), diagramtop);
  QImage blank(600, 60, QImage::Format_RGB32);
  blank.fill(Qt::white);
  EXPECT_EQ(window.PicHelp->image().copy(QRect(0, 0, 600, 60)).convertToFormat(QImage::Format_RGB32), blank);
  window.VScrollhelp->setValue(2);
  EXPECT_EQ(shown(0), diagramtop);
  window.VScrollhelp->setValue(4);
  EXPECT_EQ(shown(0), picture.copy(QRect(0, 67, 600, 300)));
}

TEST_F(HelpWindows, OtherMapsAndAMissingPictureShowTheDesignText) {
  for (int map : {0, 105, 110}) {
    state.curmap = static_cast<std::uint8_t>(map);
    frmHelp window(state);
    EXPECT_EQ(window.TextHelp->toPlainText(), designtext) << map;
    EXPECT_TRUE(window.picture().isNull()) << map;
  }

  // The picture gone, or something in its place that is no bitmap: nothing is reported, the text stays the design
  // text.
  state.curmap = 106;
  for (const char* damage : {"missing", "not a bitmap", "folder"}) {
    const QString path = folder.file("helppics/pic001.bmp");
    QFile::remove(path);
    if (QByteArray(damage) == "not a bitmap") {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("BM not really");
    } else if (QByteArray(damage) == "folder") {
      ASSERT_TRUE(test::placenotafile(path, test::NotAFile::Folder));
    }
    frmHelp window(state);
    EXPECT_TRUE(window.picture().isNull()) << damage;
    EXPECT_EQ(window.TextHelp->toPlainText(), designtext) << damage;
    EXPECT_FALSE(window.loadhelp(false)) << damage;
    QFile::remove(path);
    QDir(path).removeRecursively();
  }
}

TEST_F(HelpWindows, TheLayoutPutsTheTextUnderThePictureAndTheBarAtItsRight) {
  const HelpLayout l = helplayout(15000, 10000, HelpLayout{});
  EXPECT_EQ(l.picturewidth, 14385);
  EXPECT_EQ(l.textwidth, 14640);
  EXPECT_EQ(l.pictureheight, 6600);
  EXPECT_EQ(l.textheight, 2500);
  EXPECT_EQ(l.texttop, 6825);
  EXPECT_EQ(l.scrollheight, 6600);
  EXPECT_EQ(l.scrollleft, l.left + 14385);
  // Too small: nothing changes but the bar that follows the picture.
  const HelpLayout small = helplayout(300, 500, HelpLayout{});
  EXPECT_EQ(small.picturewidth, HelpLayout{}.picturewidth);
  EXPECT_EQ(small.pictureheight, HelpLayout{}.pictureheight);
}
