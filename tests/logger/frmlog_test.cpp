// The logger window offline: opening and closing by its selector rule, colours, replay on the picture, the
// profile menu, the set-up panel, the grid and the file jobs from their menus and buttons.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "logger/logdisplay.h"
#include "logger/loglayout.h"
#include "logger/rawlog.h"
#include "logger/ui/loggridview.h"
#include "loggerfixture.h"
#include "loggerrig.h"
#include "platform/colors.h"
#include "platform/numbers.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"

namespace ostrel::test {
namespace {

TEST(LoggerWindow, OpeningTakesTheSelectorAndRestartsOnlyAShortRecording) {
  LoggerRig rig;
  rig.state.windowticks = 7;
  {
    auto window = rig.open();
    EXPECT_EQ(rig.state.livemode, 1);
    EXPECT_EQ(rig.state.windowticks, 0);
    EXPECT_EQ(rig.state.logindex, logwarmup) << "from idle the warm-up begins";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Log data"));
    for (int c = 0; c < 16; ++c) {
      EXPECT_EQ(window->Combo1[static_cast<std::size_t>(c)]->currentIndex(), rig.state.logvar[static_cast<std::size_t>(c)]);
      EXPECT_EQ(requestaddress(rig.link.requesttable(LiveTable::log), c), rig.address(rig.state.logvar[static_cast<std::size_t>(c)]));
    }
    EXPECT_EQ(window->Combo1[0]->count(), 128);
    EXPECT_EQ(window->Combo1[0]->itemText(2), QStringLiteral("engine speed (rpm)"));
    EXPECT_EQ(window->logDuration->text(), QStringLiteral("10 minutes logged, 10 minutes remaining"));
    EXPECT_TRUE(window->mnuRamDump->isEnabled());
    window->close();
  }
  EXPECT_EQ(rig.state.livemode, 0);

  rig.state.logindex = 150;  // a recording of 150 samples goes on
  rig.store.setlogtimestamp(149, QTime(10, 0));
  auto window = rig.open();
  EXPECT_EQ(rig.state.logindex, 150);
  window->Timer1_Timer();
  EXPECT_EQ(window->logDuration->text(), QStringLiteral("0 minutes logged, 60 minutes remaining"));
  rig.state.logindex = logsamplecount - 1;
  window->Timer1_Timer();
  EXPECT_EQ(window->logDuration->text(), QStringLiteral("60 minutes logged, 0 minutes remaining"));
  EXPECT_EQ(window->ProgressBar1->value(), 480);
}

TEST(LoggerWindow, ExitClosesOnTheFifthForeignTickAndTheMonitorAndRamDumpCountAsItsOwn) {
  LoggerRig rig;
  auto window = rig.open();
  for (std::uint8_t own : {4, 16, 1}) {
    rig.state.livemode = own;
    for (int t = 0; t < 8; ++t) window->Timer1_Timer();
    EXPECT_TRUE(window->isVisible()) << int(own);
  }
  window->mnuExit_Click();
  EXPECT_EQ(rig.state.livemode, 0);
  for (int t = 0; t < 4; ++t) window->Timer1_Timer();
  EXPECT_TRUE(window->isVisible()) << "about a second after Exit it is still open";
  window->Timer1_Timer();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(window->Timer1->isActive());
  rig.state.livemode = 17;  // another window took the selector meanwhile: closing leaves it alone
  window->close();
  EXPECT_EQ(rig.state.livemode, 17);
}

TEST(LoggerWindow, ColourButtonsStepThroughFreeColoursAndNoneStopsTheTrace) {
  LoggerRig rig;  // the shipped profile: channel c has colour c
  auto window = rig.open();
  window->Command4[0]->click();
  EXPECT_EQ(rig.state.logcolour[0], lognotrace);
  EXPECT_EQ(window->Label2[0]->text(), QStringLiteral("No trace"));
  const struct {
    int channel;
    std::uint8_t colour;
  } presses[] = {{15, 16}, {15, 0}, {15, 15}, {15, 16}, {3, 15}, {3, 16}, {3, 0}};
  for (const auto& p : presses) {
    window->Command1[static_cast<std::size_t>(p.channel)]->click();
    EXPECT_EQ(rig.state.logcolour[static_cast<std::size_t>(p.channel)], p.colour) << p.channel;
    EXPECT_EQ(window->Label2[static_cast<std::size_t>(p.channel)]->text().isEmpty(), p.colour != lognotrace);
  }
  // A channel without trace still shows its value, in white; its swatch is white.
  window->logtypedata();
  EXPECT_EQ(window->valueboxes()[0].colour, tracewhite);
  EXPECT_EQ(window->valueboxes()[1].colour, logpalette[1]);
  EXPECT_TRUE(window->Label2[0]->styleSheet().contains(QStringLiteral("#ffffff")));
  EXPECT_TRUE(window->Label2[1]->styleSheet().contains(bgrtocolor(logpalette[1]).name()));
}

class LoggerReplay : public ::testing::Test {
 protected:
  LoggerRig rig;
  std::unique_ptr<frmLog> window;

  LoggerReplay() {
    rig.state.logcolour.fill(lognotrace);
    rig.state.logcolour[15] = 15;
    record(rig.store, 1000, [](int s) { return 36000 + s / 10; }, [](int s, int) { return (s * 3) % 250; });
    rig.state.logindex = 1000;
    window = rig.open();
  }
  // Where the segment that drawdata drew at cursor index lies on the picture.
  bool segmentdrawn(std::int32_t index) const {
    const double h = window->PicLog->heighttwips();
    const int column = tracecolumn(index);
    const double x = (tracex(column) + tracex(column + 1)) / 2;
    const double y = (tracey(rig.store.getlogdata(index - 2, 15), h) + tracey(rig.store.getlogdata(index - 1, 15), h)) / 2;
    const QImage& image = window->PicLog->image();
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (image.pixelColor(static_cast<int>(x / 15) + dx, static_cast<int>(y / 15) + dy) == bgrtocolor(logpalette[15]))
          return true;
    return false;
  }
};

TEST_F(LoggerReplay, TheScrollBarDrawsAPageAndTheButtonsStepThroughIt) {
  window->HScroll1->setValue(3);
  EXPECT_EQ(rig.state.logindex, 391);
  for (std::int32_t index : {301, 302, 350, 389, 390}) EXPECT_TRUE(segmentdrawn(index)) << index;
  EXPECT_FALSE(segmentdrawn(395)) << "the rest of the page is empty";
  EXPECT_EQ(window->valueboxes()[14].text, QStringLiteral("stt left %1 (%)").arg(formatfixed(((389 * 3) % 250) * 0.5 - 64, 1)))
      << "the boxes show the cursor's sample";
  EXPECT_EQ(window->valueboxes()[15].text, QStringLiteral("vehicle speed 167 (kph)"));

  window->CommandLogBack->click();
  EXPECT_EQ(rig.state.logindex, 390);
  window->Command5->click();
  EXPECT_EQ(rig.state.logindex, 400);
  EXPECT_FALSE(segmentdrawn(350)) << "sample 400 starts a new page";
  window->Command6->click();
  EXPECT_EQ(rig.state.logindex, 390);
  EXPECT_TRUE(segmentdrawn(395)) << "ten columns drawn again";
  EXPECT_FALSE(segmentdrawn(350));
  window->CommandLogForward->click();
  EXPECT_EQ(rig.state.logindex, 391);

  // Recording goes on where it stood before the replay.
  EXPECT_EQ(rig.store.keptrecordposition(), 1000);
  window->Timer1_Timer();
  EXPECT_EQ(window->ProgressBar1->value(), 10) << "the fill shows the recording, not the cursor";
}

TEST_F(LoggerReplay, WhileConnectedTheScrollBarSnapsBackAndTheButtonsDoNothing) {
  rig.state.online = true;
  window->HScroll1->setValue(5);
  EXPECT_EQ(window->HScroll1->value(), 0);
  for (QPushButton* b : {window->Command6, window->CommandLogBack, window->CommandLogForward, window->Command5})
    b->click();
  EXPECT_EQ(rig.state.logindex, 1000);
}

TEST_F(LoggerReplay, ThePopulatedGridFollowsTheCursor) {
  rig.tickprogress();
  window->Command2->click();
  EXPECT_EQ(rig.launcher.opened, std::vector<QString>{QStringLiteral("frmProgress")});
  ASSERT_EQ(window->gridmodel().rowCount(), LogGridModel::gridrows);
  EXPECT_EQ(window->gridmodel().cornertext(), QStringLiteral("timestamp"));
  EXPECT_EQ(window->gridmodel().headerData(0, Qt::Horizontal).toString(), QStringLiteral("engine speed"));
  window->HScroll1->setValue(2);
  EXPECT_EQ(window->logGrid->currentrow(), 290);
  window->CommandLogBack->click();
  EXPECT_EQ(window->logGrid->currentrow(), 289);
  window->logGrid->scrollTo(window->gridmodel().index(280, 0), QAbstractItemView::PositionAtTop);
  savescreenshot(window.get(), QStringLiteral("logger_grid"));
  window->Command3->click();  // "Reset log buffer"
  EXPECT_EQ(window->gridmodel().rowCount(), LogGridModel::emptysize);
  EXPECT_EQ(rig.state.logindex, logwarmup);
}

TEST(LoggerWindow, LoadingAProfileShowsItTellsTheTunerAndThenRestartsTheLog) {
  LoggerRig rig;
  rig.state.logindex = 300;
  rig.store.setlogtimestamp(5, QTime(9, 0));
  auto window = rig.open();
  QByteArray profile = shippedprofile();
  profile[2] = 9;          // channel 2 orange
  profile[16 + 2] = 20;    // aux 2
  profile[16 + 5] = char(200);  // invalid: channel 5 keeps its variable
  const QString path = rig.folder.file(QStringLiteral("mine.lgp"));
  ASSERT_TRUE(writebytes(path, profile));

  rig.prompts.paths = {QString()};  // cancelled: nothing at all
  window->mnuProfile_Click();
  EXPECT_TRUE(rig.prompts.messages().empty());
  EXPECT_EQ(rig.state.logindex, 300);

  rig.prompts.paths = {path};
  window->mnuProfile_Click();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{logresetmessage});
  EXPECT_EQ(window->Combo1[2]->currentIndex(), 20);
  EXPECT_EQ(window->Combo1[5]->currentIndex(), 13);
  EXPECT_EQ(rig.state.logcolour[2], 9);
  EXPECT_TRUE(window->Label2[2]->styleSheet().contains(bgrtocolor(logpalette[9]).name()));
  EXPECT_EQ(rig.state.logindex, logwarmup);
  EXPECT_EQ(rig.store.getlogtimestamps(5), QStringLiteral("0"));
  rig.state.logindex = 40;
  window->Timer1_Timer();
  EXPECT_EQ(rig.state.logindex, 40) << "the loaded channels are no change of channel";
  EXPECT_EQ(requestaddress(rig.link.requesttable(LiveTable::log), 2), rig.address(20));

  rig.prompts.paths = {rig.folder.file(QStringLiteral("saved.lgp"))};
  window->mnuSaveProfile_Click();
  EXPECT_EQ(readbytes(rig.folder.file(QStringLiteral("saved.lgp"))), logprofilebytes(rig.state));
}

TEST(LoggerWindow, ShowHideSetupMovesThePictureAndTheGridUp) {
  LoggerRig rig;
  auto window = rig.open();
  const auto pagetwips = [&] { return pixelstotwips(window->PicLog->parentWidget()->height()) + formchrome; };
  ASSERT_TRUE(window->setupshown());
  EXPECT_EQ(window->PicLog->y(), twipstopixels(2160));
  EXPECT_EQ(window->PicLog->height(), twipstopixels((pagetwips() - 3700) / 2));
  EXPECT_EQ(window->logGrid->height(), window->PicLog->height());
  EXPECT_EQ(window->Command2->y(), twipstopixels(pagetwips() - 1335));
  window->mnuShowHide_Click();
  EXPECT_FALSE(window->setupshown());
  EXPECT_FALSE(window->Combo1[9]->isVisible());
  EXPECT_EQ(window->PicLog->y(), twipstopixels(100));
  EXPECT_EQ(window->PicLog->height(), twipstopixels((pagetwips() - 1640) / 2));
  window->resize(window->width(), window->height() + 90);
  EXPECT_EQ(window->logGrid->y(), twipstopixels(100 + (pagetwips() - 1640) / 2 + 100));
  window->mnuShowHide_Click();
  EXPECT_TRUE(window->Combo1[9]->isVisible());
  EXPECT_EQ(window->PicLog->y(), twipstopixels(2160));
}

TEST(LogLayoutTest, PictureAndGridShareTheHeightBelowThePanel) {
  const struct {
    double h;
    bool shown;
    double pictop, picheight, gridtop;
    bool bottom;
  } cases[] = {
      {11400, true, 2160, 3850, 6110, true},  {11400, false, 100, 4880, 5080, true},
      {3700, true, 2160, 500, 2760, true},    {3701, true, 2160, 0.5, 2260.5, true},
      {1640, false, 100, 500, 700, true},     {1385, false, 100, 500, 700, false},
  };
  for (const auto& c : cases) {
    const LogLayout l = loglayout(c.h, c.shown, 500);
    EXPECT_EQ(l.pictop, c.pictop) << c.h;
    EXPECT_EQ(l.picheight, c.picheight) << c.h;
    EXPECT_EQ(l.gridtop, c.gridtop) << c.h;
    EXPECT_EQ(l.bottomrow, c.bottom) << c.h;
    if (c.bottom) {
      EXPECT_EQ(l.buttontop, c.h - 1335);
      EXPECT_EQ(l.bartop, c.h - 1385);
      EXPECT_EQ(l.scrolltop, c.h - 1140);
    }
  }
}

TEST(LoggerWindow, RawLogExportAndImportFromTheFileMenu) {
  LoggerRig rig;
  record(rig.store, 500, [](int s) { return 50000 + s / 8; });
  rig.state.logindex = 500;
  rig.state.logvar[4] = 37;
  rig.state.logcolour[4] = 16;
  auto window = rig.open();
  const QString path = rig.folder.file(QStringLiteral("drive.rdl"));
  rig.prompts.paths = {path};
  rig.tickprogress();
  window->mnuExportRaw_Click();
  EXPECT_EQ(QFileInfo(path).size(), rawlogsize);

  // Another set-up and an empty store take the file in.
  window->Command3_Click();
  rig.state.logvar[4] = 1;
  rig.state.logcolour[4] = 4;
  window->logcomboset();

  rig.state.online = true;  // recording: refused before any window opens
  rig.launcher.opened.clear();
  window->mnuImportRawLog_Click();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{onlineimportmessage});
  EXPECT_TRUE(rig.launcher.opened.empty());
  rig.state.online = false;

  rig.prompts.clear();
  rig.prompts.paths = {QString()};  // cancelled: no grid of an import that did not happen
  rig.tickprogress();
  window->mnuImportRawLog_Click();
  EXPECT_TRUE(rig.prompts.messages().empty());
  EXPECT_EQ(rig.launcher.opened.size(), 1u);
  EXPECT_TRUE(window->Timer1->isActive());

  rig.launcher.opened.clear();
  rig.prompts.paths = {path};
  rig.tickprogress();
  rig.tickprogress();
  window->mnuImportRawLog_Click();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{gridfillmessage});
  EXPECT_EQ(rig.launcher.opened, (std::vector<QString>{QStringLiteral("frmProgress"), QStringLiteral("frmProgress")}));
  EXPECT_EQ(window->Combo1[4]->currentIndex(), 37);
  EXPECT_EQ(window->Label2[4]->text(), QStringLiteral("No trace"));
  EXPECT_EQ(rig.store.getlogdata(499, 3), (499 + 21) & 0xFF);
  EXPECT_EQ(window->gridmodel().rowCount(), LogGridModel::gridrows);
  EXPECT_EQ(window->gridmodel().celltext(0, -1), QStringLiteral("0")) << "the time stamps stay the store's";
  EXPECT_TRUE(window->Timer1->isActive());
  // The import shows the file's channels in the lists, so the next tick sees no change of channel: the imported
  // log stays for replay and the cursor where it was.
  rig.state.logindex = 480;
  window->Timer1_Timer();
  EXPECT_EQ(rig.state.logindex, 480) << "the imported channels are no change of channel";
  EXPECT_EQ(rig.store.getlogdata(499, 3), (499 + 21) & 0xFF);
}

TEST(LoggerWindow, CsvExportFromTheFileMenu) {
  LoggerRig rig;
  record(rig.store, 30, [](int s) { return 3600 + s / 10; });
  auto window = rig.open();
  const QString path = rig.folder.file(QStringLiteral("drive.csv"));
  rig.prompts.paths = {path};
  rig.tickprogress();
  window->mnuExportCSV_Click();
  const QList<QByteArray> lines = readbytes(path).split('\n');
  ASSERT_EQ(lines.size(), 31);  // header, samples 1 to 29, and the empty rest after the last CR LF
  EXPECT_TRUE(lines[0].startsWith("timestamp, engine speed (rpm), load (%), "));
  EXPECT_TRUE(lines[10].startsWith("1000, "));
}

}  // namespace
}  // namespace ostrel::test
