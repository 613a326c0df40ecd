#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFontMetricsF>
#include <QFile>
#include <QLocale>
#include <QProgressBar>
#include <QTest>
#include <cmath>
#include <functional>

#include "common/pictures.h"
#include "common/testrig.h"
#include "exportfixture.h"
#include "livewindows/frmvct.h"
#include "livewindows/vctchart.h"
#include "livewindows/vctdata.h"
#include "livewindows/vctexport.h"
#include "platform/installfolder.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

RxFrame frameof(std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
  RxFrame frame{};
  for (const auto& [k, v] : bytes) frame[static_cast<std::size_t>(k)] = v;
  return frame;
}

// Reply i of a run carries i in bytes 0 and 8 (low byte) and i / 256 in byte 15, so every sample is told apart.
RxFrame numbered(int i) {
  return frameof({{0, static_cast<std::uint8_t>(i & 0xFF)},
                  {8, static_cast<std::uint8_t>(i & 0xFF)},
                  {15, static_cast<std::uint8_t>(i >> 8)}});
}

class ScopedLocale {
 public:
  explicit ScopedLocale(const QLocale& locale) : old_(QLocale()) { QLocale::setDefault(locale); }
  ~ScopedLocale() { QLocale::setDefault(old_); }

 private:
  QLocale old_;
};

// --- Scaling and texts -----------------------------------------------------------------------------------------

TEST(VctData, ShownValuesInSinglePrecisionWithoutFixedDecimals) {
  struct Case {
    int channel;
    std::uint8_t raw;
    const char* shown;
  };
  const Case cases[] = {
      {0, 128, "0"},   {0, 0, "-64"},  {0, 255, "63.5"}, {7, 1, "-63.5"},  // angles: 0.5 a step from -64
      {8, 255, "102"}, {8, 0, "0"},    {8, 9, "3.6"},    {15, 52, "20.8"},  // percentages: 0.4 a step
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vctvaluetext(vctvalue(c.channel, c.raw)), QString::fromLatin1(c.shown)) << c.channel << " " << int{c.raw};
  }
}

TEST(VctData, ExportTextsHaveOneDecimalInTheRegionalFormat) {
  // The tests run under a German locale.
  EXPECT_EQ(vctexporttext(vctvalue(0, 0)), QStringLiteral("-64,0"));
  EXPECT_EQ(vctexporttext(vctvalue(0, 129)), QStringLiteral("0,5"));
  EXPECT_EQ(vctexporttext(vctvalue(8, 0)), QStringLiteral("0,0"));
  EXPECT_EQ(vctexporttext(vctvalue(8, 1)), QStringLiteral("0,4"));
  EXPECT_EQ(vctexporttext(vctvalue(8, 255)), QStringLiteral("102,0"));
  ScopedLocale english(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(vctexporttext(vctvalue(0, 1)), QStringLiteral("-63.5"));
  EXPECT_EQ(vctexporttext(vctvalue(9, 9)), QStringLiteral("3.6"));
}

TEST(VctData, RequestTableHoldsTheSixteenAddressesInChannelOrder) {
  const RequestTable table = vctrequesttable();
  const std::array<std::uint8_t, 16> list0 = {0x6B, 0x76, 0x6B, 0x77, 0x6B, 0x80, 0x6B, 0x81,
                                              0x6B, 0x8A, 0x6B, 0x8B, 0x6B, 0x94, 0x6B, 0x95};
  const std::array<std::uint8_t, 16> list1 = {0x6B, 0x70, 0x6B, 0x84, 0x6B, 0x78, 0x6B, 0x82,
                                              0x6B, 0x8C, 0x6B, 0x96, 0x6B, 0xBA, 0x6B, 0xBE};
  EXPECT_EQ(table[0], list0);
  EXPECT_EQ(table[1], list1);
}

// --- The export buffer -------------------------------------------------------------------------------------------

TEST(VctBuffer, TheThousandAndFirstReplyHandsOverRepliesOneToAThousand) {
  VctBuffer buffer;
  for (int i = 1; i <= 1000; ++i) ASSERT_FALSE(buffer.take(numbered(i))) << i;
  EXPECT_EQ(buffer.count(), 1000);
  ASSERT_TRUE(buffer.take(numbered(1001)));
  EXPECT_EQ(buffer.count(), 0);
  for (int i = 1; i <= 1000; ++i) {
    const auto& sample = buffer.samples()[static_cast<std::size_t>(i - 1)];
    ASSERT_EQ(sample[0], i & 0xFF) << i;
    ASSERT_EQ(sample[15], i >> 8) << i;
  }
  // The 1001st is not stored; the reply after it is sample 0 of the next buffer.
  EXPECT_FALSE(buffer.take(numbered(1002)));
  EXPECT_EQ(buffer.count(), 1);
  EXPECT_EQ(buffer.samples()[0][0], 1002 & 0xFF);
}

TEST(VctBuffer, ExportRowsAreTheLabelsThenOneRowOfTextsPerSample) {
  std::vector<VctBuffer::Sample> samples(2);
  samples[1].fill(255);
  const std::vector<QStringList> rows = vctexportrows(samples);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].size(), 16);
  EXPECT_EQ(rows[0].first(), QStringLiteral("VCTI1 target"));
  EXPECT_EQ(rows[0][8], QStringLiteral("VCTI1 ES"));
  EXPECT_EQ(rows[0].last(), QStringLiteral("VCTE LD"));
  // A raw 0 is -64,0 in the angle columns A to H and 0,0 in the percentage columns I to P.
  for (int k = 0; k < 16; ++k) EXPECT_EQ(rows[1][k], k < 8 ? QStringLiteral("-64,0") : QStringLiteral("0,0")) << k;
  for (int k = 0; k < 16; ++k) EXPECT_EQ(rows[2][k], k < 8 ? QStringLiteral("63,5") : QStringLiteral("102,0")) << k;
}

// --- Value boxes and chart -------------------------------------------------------------------------------------------

TEST(VctChart, ValueBoxesLieInTwoLinesOfEight) {
  const PicturePlan plan = vctboxesplan(frameof({{9, 255}}));
  ASSERT_EQ(plan.size(), 64u);
  // Channel 9: column 1 of line 1.
  EXPECT_EQ(std::get<PlanBox>(plan[36]), (PlanBox{1680, 580, 3300, 830, 0x505050}));
  const auto& label = std::get<PlanText>(plan[37]);
  EXPECT_EQ(label.text, QStringLiteral("VCTE1 ES"));
  EXPECT_EQ(label.x, 1710);
  EXPECT_EQ(label.y, 600);
  EXPECT_EQ(label.colour, 0x10FFFFu);
  const auto& value = std::get<PlanText>(plan[38]);
  EXPECT_EQ(value.text, QStringLiteral("102"));
  EXPECT_EQ(value.x, 2600);
  EXPECT_TRUE(value.bold);
  EXPECT_EQ(value.points, 10);
  EXPECT_EQ(std::get<PlanText>(plan[39]).text, QStringLiteral("%"));
  EXPECT_EQ(std::get<PlanText>(plan[39]).x, 3040);
  EXPECT_EQ(std::get<PlanText>(plan[2]).text, QStringLiteral("-64"));
}

// Where no Arial Narrow is installed the stand-in face is narrowed to it, so each label ends before its value.
TEST(VctChart, LabelsInTheNarrowFaceEndBeforeTheirValues) {
  PictureSurface picture;
  picture.setfont(QStringLiteral("arial narrow"), 8, false, false);
  const QFontMetricsF metrics(picture.font(), &picture.image());
  for (const VctChannel& c : vctchannels())
    EXPECT_LT(metrics.horizontalAdvance(QString::fromLatin1(c.label)), (950 - 60) / 15.0) << c.label;
}

TEST(VctChart, FirstReplyClearsTheChartAndDrawsFromOneHundredToTwoHundredThirty) {
  VctChart chart;
  const double w = 13455, h = 6100;  // one raw step is 0.4 x 17 twips
  const PicturePlan plan = chart.step(frameof({{0, 10}, {7, 255}}), w, h);
  ASSERT_EQ(plan.size(), 1u + 102 + 17 + 8);
  EXPECT_EQ(std::get<PlanBox>(plan[0]), (PlanBox{0, 990, w, h, 0x303030}));
  EXPECT_EQ(std::get<PlanLine>(plan[1]), (PlanLine{100, 5900, 100, 5900 - 256 * 17, 0x505050, 1}));
  EXPECT_EQ(std::get<PlanLine>(plan[102]).x1, 13230);
  EXPECT_EQ(std::get<PlanLine>(plan[103]), (PlanLine{100, 5900, 13230, 5900, 0x505050, 1}));
  EXPECT_EQ(std::get<PlanLine>(plan[119]).y1, 5900 - 256 * 17);
  const auto& first = std::get<PlanLine>(plan[120]);  // channel 0 from 0 (before any reply) to 10
  EXPECT_EQ(first.x1, 100);
  EXPECT_EQ(first.x2, 230);
  EXPECT_DOUBLE_EQ(first.y1, 5900 - 32 * 17);
  EXPECT_DOUBLE_EQ(first.y2, 5900 - 32 * 17 - 0.4 * 17 * 10);
  EXPECT_EQ(first.width, 2);
  EXPECT_EQ(first.colour, 0xFFFF00u);
  const auto& last = std::get<PlanLine>(plan[127]);  // channel 7, the third base line's pair
  EXPECT_DOUBLE_EQ(last.y2, 5900 - 176 * 17 - 0.4 * 17 * 255);
  EXPECT_EQ(chart.tracex(), 0);

  // The next reply goes on from where the last segment ended.
  const PicturePlan next = chart.step(frameof({{0, 20}}), w, h);
  ASSERT_EQ(next.size(), 8u);
  const auto& segment = std::get<PlanLine>(next[0]);
  EXPECT_EQ(segment.x1, 230);
  EXPECT_EQ(segment.x2, 360);
  EXPECT_DOUBLE_EQ(segment.y1, first.y2);
}

TEST(VctChart, TheChartStartsAgainAfterAHundredAndOneSegmentsOrARestart) {
  VctChart chart;
  RxFrame frame{};
  int clears = 0;
  for (int reply = 0; reply < 203; ++reply)
    if (chart.step(frame, 13455, 6100).size() > 8) ++clears;
  EXPECT_EQ(clears, 3);  // replies 1, 102 and 203
  chart.step(frame, 13455, 6100);
  chart.restart();
  const PicturePlan plan = chart.step(frame, 13455, 6100);
  EXPECT_GT(plan.size(), 8u);
  EXPECT_EQ(std::get<PlanLine>(plan.back()).x1, 100);
}

// --- The workbook ----------------------------------------------------------------------------------------------------

TEST(VctExport, WorkbookNameIsFileSafe) {
  EXPECT_EQ(vctworkbookname(QDateTime(QDate(2024, 5, 1), QTime(13, 45, 7))),
            QStringLiteral("vct_2024_05_01__13_45_07.xlsx"));
}

TEST(VctExport, StatusLinesSayWhereTheWorkbookWentOrWhyNot) {
  EXPECT_EQ(vctexportstatus({QStringLiteral("/i/vct/a.xlsx"), {}, true}),
            QStringLiteral("The VCT buffer was exported to /i/vct/a.xlsx"));
  EXPECT_EQ(vctexportstatus({QStringLiteral("/i/vct/a.xlsx"), {}, false}),
            QStringLiteral("The VCT buffer was exported to /i/vct/a.xlsx, but no spreadsheet program could be "
                           "started for it"));
  EXPECT_EQ(vctexportstatus({QStringLiteral("/i/vct/a.xlsx"), QStringLiteral("disk full"), false}),
            QStringLiteral("The VCT buffer could not be exported to /i/vct/a.xlsx: disk full"));
}

TEST(VctExport, TheWorkbookReadsBackWithTheHeaderAndTheValueTexts) {
  TempInstallFolder folder;
  RecordingOpener opener;
  std::vector<VctBuffer::Sample> samples(VctBuffer::size);
  for (int i = 0; i < VctBuffer::size; ++i)
    for (int k = 0; k < 16; ++k) samples[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)] =
        static_cast<std::uint8_t>((i * 7 + k * 31) & 0xFF);
  const VctExportResult result = exportvct(samples, QDateTime(QDate(2024, 5, 1), QTime(9, 0, 0)));
  ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
  EXPECT_EQ(result.path, folder.file(QStringLiteral("vct/vct_2024_05_01__09_00_00.xlsx")));
  EXPECT_TRUE(result.opened);
  ASSERT_EQ(opener.opened, std::vector<QString>{result.path});

  QString why;
  const auto book = readworkbook(result.path, &why);
  if (!book) GTEST_SKIP() << why.toStdString();
  EXPECT_EQ(book->sheets, 1);
  EXPECT_EQ(book->types, QStringList{QStringLiteral("str")}) << "every cell a text";
  const std::vector<QStringList> expected = vctexportrows(samples);
  ASSERT_EQ(book->rows.size(), 1001u) << why.toStdString();
  EXPECT_EQ(book->rows[0], expected[0]);
  for (std::size_t r = 1; r < expected.size(); ++r) ASSERT_EQ(book->rows[r], expected[r]) << "row " << r + 1;
  EXPECT_EQ(book->rows[1][0], QStringLiteral("-64,0"));
}

TEST(VctExport, AFolderThatCannotBeMadeIsAFailureWithoutAProgram) {
  TempInstallFolder folder;
  RecordingOpener opener;
  QFile blocker(folder.file(vctexportfolder));  // a file where the folder should go
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const VctExportResult result = exportvct(std::vector<VctBuffer::Sample>(VctBuffer::size), QDateTime::currentDateTime());
  EXPECT_FALSE(result.error.isEmpty());
  EXPECT_FALSE(result.opened);
  EXPECT_TRUE(opener.opened.empty());
}

// --- The window ------------------------------------------------------------------------------------------------------

class VctWindowTest : public ::testing::Test {
 protected:
  VctWindowTest() {
    rig.link.sethost(&host);
    rig.sim.enginerunning = false;  // the cam values stay where a test puts them
  }
  ~VctWindowTest() override { rig.link.sethost(nullptr); }

  Rig rig;
  StatusHost host;
};

TEST_F(VctWindowTest, OpeningTakesSelectorFifteenAndTheRequestTable) {
  rig.state.livemode = 1;
  frmVCT window(rig.state, rig.link);
  EXPECT_EQ(rig.state.livemode, 15);
  EXPECT_EQ(rig.link.requesttable(LiveTable::vct), vctrequesttable());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Variable cam"));
  EXPECT_EQ(window.Combo1->count(), 5);
  EXPECT_EQ(window.Combo1->currentText(), QStringLiteral("Default variables"));
}

TEST_F(VctWindowTest, ValuesFromTheSimulatorReachTheBuffer) {
  frmVCT window(rig.state, rig.link);
  window.show();
  rig.sim.setram(0x6B76, 128);  // VCTI1 target 0
  rig.sim.setram(0x6B70, 255);  // VCTI1 ES 102
  rig.connect();
  rig.tick(60);
  ASSERT_GT(window.buffer().count(), 5);
  const auto& sample = window.buffer().samples()[static_cast<std::size_t>(window.buffer().count() - 1)];
  EXPECT_EQ(sample[0], 128);
  EXPECT_EQ(sample[8], 255);
  EXPECT_EQ(window.ProgressBar1->value(), window.buffer().count() / 10);
}

TEST_F(VctWindowTest, ChoosingAVariableSetStartsTheBufferAgain) {
  frmVCT window(rig.state, rig.link);
  window.show();
  QComboBox& combo = *window.Combo1;
  // The user picks from the open list with the keys: the item already shown, then another one.
  const auto choose = [&](int item) {
    combo.showPopup();
    combo.view()->setCurrentIndex(combo.model()->index(item, 0));
    QTest::keyClick(combo.view(), Qt::Key_Return);
  };
  const struct {
    const char* what;
    std::function<void()> act;
    int shown;
  } cases[] = {
      {"the item already shown, chosen", [&] { choose(0); }, 0},
      {"another item, chosen", [&] { choose(2); }, 2},
      {"the item changed by the program", [&] { combo.setCurrentIndex(3); }, 3},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 30; ++i) window.vcttypedata(numbered(i));
    ASSERT_EQ(window.buffer().count(), 30) << c.what;
    c.act();
    EXPECT_EQ(combo.currentIndex(), c.shown) << c.what;
    EXPECT_EQ(window.buffer().count(), 0) << c.what;
    EXPECT_EQ(rig.link.requesttable(LiveTable::vct), vctrequesttable()) << c.what;
  }
}

// Through the link's ticks: the 1001st reply exports replies 1 to 1000, after the tick that brought it.
TEST_F(VctWindowTest, TheThousandAndFirstReplyExportsAfterTheTick) {
  RecordingOpener opener(&rig.link);
  rig.sim.enginerunning = true;  // every reply different
  frmVCT window(rig.state, rig.link);
  const auto& history = rig.sim.sent(0x93);
  const std::size_t before = history.size();
  rig.connect();
  int replies = 0;
  while (opener.opened.empty() && replies < 1100) {
    rig.tick();
    replies = static_cast<int>(history.size() - before);
  }
  ASSERT_EQ(opener.opened.size(), 1u);
  EXPECT_FALSE(opener.openedintick);
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0], QStringLiteral("The VCT buffer was exported to ") +
                               QDir::toNativeSeparators(opener.opened[0]));
  EXPECT_TRUE(opener.opened[0].startsWith(installpath(QStringLiteral("vct/vct_"))));

  // The window-data replies as the simulator sent them for the window's table: the workbook holds the first
  // thousand (the very first reply, asked before the table reached the ECU, is none of them).
  const auto answered = rig.sim.repliesto(vctrequesttable(), before);
  ASSERT_GE(answered.size(), 1000u);
  EXPECT_LT(answered.size(), history.size() - before);
  std::vector<VctBuffer::Sample> sent;
  for (std::size_t i = 0; i < 1000; ++i) {
    VctBuffer::Sample s{};
    std::copy_n(answered[i].begin(), 16, s.begin());
    sent.push_back(s);
  }
  QString why;
  const auto book = readworkbook(opener.opened[0], &why);
  if (!book) GTEST_SKIP() << why.toStdString();
  EXPECT_EQ(book->rows, vctexportrows(sent));
}

TEST_F(VctWindowTest, AFailedExportWritesAStatusLine) {
  RecordingOpener opener(&rig.link);
  opener.answer = false;  // no spreadsheet program
  frmVCT window(rig.state, rig.link);
  for (int i = 0; i <= 1000; ++i) window.vcttypedata(numbered(i));
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_TRUE(host.lines[0].endsWith(QStringLiteral(", but no spreadsheet program could be started for it")));

  QFile blocker(installpath(vctexportfolder));
  ASSERT_TRUE(QDir(installpath(vctexportfolder)).removeRecursively());
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a write error: the folder cannot be made
  blocker.close();
  for (int i = 0; i <= 1000; ++i) window.vcttypedata(numbered(i));
  ASSERT_EQ(host.lines.size(), 2u);
  EXPECT_TRUE(host.lines[1].startsWith(QStringLiteral("The VCT buffer could not be exported to ")));
  EXPECT_EQ(opener.opened.size(), 1u);
}

TEST_F(VctWindowTest, ClosesItselfOnTheFifthForeignTickAndLeavesSelectorZero) {
  frmVCT window(rig.state, rig.link);
  window.show();
  for (int tick = 1; tick <= 4; ++tick) {
    rig.state.livemode = 2;
    window.Timer1_Timer();
  }
  EXPECT_TRUE(window.isVisible());
  window.Timer1_Timer();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(rig.state.livemode, 2) << "the window that took the selector keeps it";

  frmVCT again(rig.state, rig.link);
  again.show();
  again.close();
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(VctWindowTest, AWindowTooLowForThePictureLeavesItEmptyAndTheNextReplyClearsTheChart) {
  frmVCT window(rig.state, rig.link);
  window.show();
  window.drawdata(numbered(1));
  window.drawdata(numbered(2));
  EXPECT_EQ(window.chart().tracex(), 1);
  window.resize(400, 30);
  EXPECT_EQ(window.picVCT->height(), 0);
  EXPECT_EQ(window.chart().tracex(), VctChart::sweepend);
  window.drawdata(numbered(3));  // draws on an empty picture without harm
  EXPECT_EQ(window.chart().tracex(), 0);
}

TEST_F(VctWindowTest, ScreenshotWithTheSimulatedEngine) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  rig.sim.enginerunning = true;
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = static_cast<frmVCT&>(dialog);
    rig.connect();
    rig.tick(5 * 150);  // about 150 window-data replies of a pull to high load and back
    savescreenshot(&window, QStringLiteral("vct_window"));

    // Every reply the simulator sent for the window's table reached the window, the last one drawn last.
    const auto replies = rig.sim.repliesto(vctrequesttable());
    const int n = window.buffer().count();
    ASSERT_GT(n, 100);
    ASSERT_EQ(static_cast<int>(replies.size()), n);
    const auto raw = [&](int reply, int k) {
      return replies[static_cast<std::size_t>(reply)][static_cast<std::size_t>(k)];
    };
    for (int k = 0; k < vctchannelcount; ++k)
      ASSERT_EQ(window.buffer().samples()[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(k)], raw(n - 1, k));

    // The value boxes show the last reply: each channel's box with its label, value and units in its colour.
    const QImage& shown = window.picVCT->image();
    PictureSurface boxes;
    boxes.resize(window.picVCT->size());
    boxes.show();
    boxes.fillbox(0, 0, boxes.widthtwips(), boxes.heighttwips(), 0x000000);
    const auto printat = [&](double x, double y, const QString& text, const char* font, int points, bool bold) {
      boxes.setfont(QLatin1String(font), points, bold, false);
      boxes.currentx = x;
      boxes.currenty = y;
      boxes.print(text);
    };
    for (int k = 0; k < vctchannelcount; ++k) {
      const VctChannel& c = vctchannels()[static_cast<std::size_t>(k)];
      const double x = 1650.0 * (k % 8), y = 500.0 * (k / 8);
      boxes.fillbox(x + 30, y + 80, x + 1650, y + 330, 0x505050);
      boxes.forecolor = c.colour;
      printat(x + 60, y + 100, QString::fromLatin1(c.label), "arial narrow", 8, false);
      printat(x + 950, y + 100, vctvaluetext(vctvalue(k, raw(n - 1, k))), "arial", 10, true);
      printat(x + 1390, y + 100, QString::fromLatin1(c.units), "arial narrow", 8, false);
    }
    const QRect valuelines(0, 0, shown.width(), twipstopixels(980));
    EXPECT_TRUE(shown.copy(valuelines) == boxes.image().copy(valuelines)) << "value boxes";

    // The chart starts again every 101 replies and holds one segment for each reply since, 130 twips apart: each
    // angle's trace runs through its values of those replies, above its pair's base line. The actual angle is drawn
    // over its target, which shows where the two lie apart.
    const int t = window.chart().tracex();
    ASSERT_EQ(t, (n - 1) % 101);
    const double h = window.picVCT->heighttwips();
    const double u = (h - 1000) / 300;
    int targetsseen = 0;
    for (int s = 0; s <= t; ++s) {
      const int reply = n - 1 - t + s;
      const double x = 130.0 * s + 100 + 65;
      const auto ymid = [&](int k) {
        const double base = 16 * u * (3 * (k / 2) + 2);
        return h - 200 - base - 0.4 * u * (raw(reply - 1, k) + raw(reply, k)) / 2.0;
      };
      for (int k = 0; k < vctanglecount; ++k) {
        const std::uint32_t colour = vctchannels()[static_cast<std::size_t>(k)].colour;
        if (k % 2 == 0 && std::abs(ymid(k) - ymid(k + 1)) < 30) continue;  // under the actual angle's trace
        EXPECT_TRUE(colournear(shown, x, ymid(k), colour)) << "channel " << k << " reply " << reply + 1;
        if (k % 2 == 0) ++targetsseen;
      }
    }
    EXPECT_GE(targetsseen, 5) << "the pull parts each target from its actual angle on a few replies";
    // Right of the newest segment the chart is clear of traces.
    const QRect ahead(QPoint(twipstopixels(130.0 * (t + 1) + 100) + 2, twipstopixels(990)),
                      QPoint(shown.width() - 1, shown.height() - 1));
    for (int k = 0; k < vctanglecount; ++k)
      EXPECT_EQ(countcolour(shown, vctchannels()[static_cast<std::size_t>(k)].colour, ahead), 0) << "channel " << k;
  });
  frmVCT::showmodal(rig.state, rig.link, nullptr);
  EXPECT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmVCT")});
  EXPECT_EQ(rig.state.livemode, 0);
}

}  // namespace
}  // namespace ostrel::test
