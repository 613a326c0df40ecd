#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "common/testrig.h"
#include "livewindows/frmanalyse.h"
#include "livewindows/triggertrace.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

void putstamp(RamImage& image, int n, std::uint32_t stamp) {
  image[static_cast<std::size_t>(n)] = static_cast<std::uint8_t>(stamp >> 16);
  image[static_cast<std::size_t>(n + 1)] = static_cast<std::uint8_t>(stamp >> 8);
  image[static_cast<std::size_t>(n + 2)] = static_cast<std::uint8_t>(stamp);
}

std::vector<PlanLine> linesof(const PicturePlan& plan) {
  std::vector<PlanLine> lines;
  for (const PlanShape& shape : plan)
    if (const auto* line = std::get_if<PlanLine>(&shape)) lines.push_back(*line);
  return lines;
}

TEST(TriggerTrace, StampsAreTwentyFourBitCounts) {
  struct Case {
    std::uint8_t b0, b1, b2;
    double stamp;
  };
  const Case cases[] = {{1, 0, 0, 65536}, {0, 1, 0, 256}, {0, 0, 1, 1}, {0x12, 0x34, 0x56, 0x123456},
                        {255, 255, 255, 16777215}};
  RamImage image{};
  for (const Case& c : cases) {
    image[100] = c.b0;
    image[101] = c.b1;
    image[102] = c.b2;
    EXPECT_EQ(triggerstamp(image, 100), c.stamp) << int{c.b0} << " " << int{c.b1} << " " << int{c.b2};
  }
}

TEST(TriggerTrace, AZeroImagePutsEveryLineAtThreeHundred) {
  const RamImage image{};
  const PicturePlan plan = triggerplan(image, TriggerView{}, 9000, 6000);
  ASSERT_EQ(plan.size(), 1u + 4 * 311);
  EXPECT_EQ(std::get<PlanBox>(plan[0]), (PlanBox{0, 0, 9000, 6000, 0x000000}));
  for (const PlanLine& line : linesof(plan)) {
    ASSERT_EQ(line.x1, 300);
    ASSERT_EQ(line.x2, 300);
  }
}

TEST(TriggerTrace, EdgesAndLevelsOfBothWaves) {
  RamImage image{};
  for (int k = 0; k < triggerstampcount; ++k) {
    putstamp(image, 3 * k, 1000 + 600 * static_cast<std::uint32_t>(k));
    putstamp(image, 1024 + 3 * k, 1300 + 6000 * static_cast<std::uint32_t>(k));
  }
  const double h = 5100;
  const std::vector<PlanLine> lines = linesof(triggerplan(image, TriggerView{}, 9000, h));
  // j = 0: trigger edge and low level, sync edge and low level.
  EXPECT_EQ(lines[0], (PlanLine{300, h / 6, 300, h / 3, 0x00FFFF, 1}));
  EXPECT_EQ(lines[1], (PlanLine{300, h / 3, 900, h / 3, 0x00FFFF, 1}));
  EXPECT_EQ(lines[2], (PlanLine{600, 3000, 600, 3923.0769f, 0x00FF00, 1}));
  EXPECT_EQ(lines[3], (PlanLine{600, 3923.0769f, 6600, 3923.0769f, 0x00FF00, 1}));
  // j = 1: the odd interval takes the high level.
  EXPECT_EQ(lines[5], (PlanLine{900, h / 6, 1500, h / 6, 0x00FFFF, 1}));
  EXPECT_EQ(lines[7].y1, 3000);
  // The last edges drawn are stamps 310, each with its line to stamp 311.
  EXPECT_EQ(lines[4 * 310 + 1].x2, 300 + 600 * 311);

  // Zoom 1 halves every stamp; start 2 puts trigger stamp 6 at x = 300.
  TriggerView view;
  view.zoom = 1;
  view.start = 2;
  const std::vector<PlanLine> zoomed = linesof(triggerplan(image, view, 9000, h));
  EXPECT_EQ(zoomed[4 * 6].x1, 300);
  EXPECT_EQ(zoomed[0].x1, 300 - 6 * 300);
  EXPECT_EQ(zoomed[2].x1, 650 - 2300 + 300);
}

TEST(TriggerTrace, InvertChoosesTheOtherLevelForEvenIntervals) {
  RamImage image{};
  for (int k = 0; k < triggerstampcount; ++k) putstamp(image, 3 * k, 100 * static_cast<std::uint32_t>(k));
  TriggerView view;
  const PicturePlan plain = triggerplan(image, view, 9000, 6000);
  view.inverttrigger = true;
  const std::vector<PlanLine> inverted = linesof(triggerplan(image, view, 9000, 6000));
  EXPECT_EQ(inverted[1].y1, 1000) << "interval 0 high";
  EXPECT_EQ(inverted[5].y1, 2000) << "interval 1 low";
  EXPECT_EQ(inverted[3], linesof(plain)[3]) << "the sync wave stays";
  view.invertsync = true;
  EXPECT_EQ(linesof(triggerplan(image, view, 9000, 6000))[3].y1, static_cast<float>(6000 / 1.7));
}

// --- The window ------------------------------------------------------------------------------------------------------

class AnalyseWindowTest : public ::testing::Test {
 protected:
  ProgramState state;
};

TEST_F(AnalyseWindowTest, LoadingDrawsNothingAndLeavesTheSelectorAlone) {
  state.livemode = 7;
  state.ramimage.fill(0x33);
  frmAnalyse window(state);
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Analyse Ram Dump"));
  EXPECT_EQ(window.Label1->text(), QStringLiteral("Zoom <less...more>"));
  const QImage& picture = window.PicTriggers->image();
  for (int y = 0; y < picture.height(); y += 7)
    for (int x = 0; x < picture.width(); x += 7) ASSERT_EQ(picture.pixel(x, y), qRgb(0, 0, 0));
  EXPECT_EQ(state.livemode, 7);
  EXPECT_EQ(window.HScroll1->maximum(), 100);
  EXPECT_EQ(window.HScroll2->maximum(), 10);
}

TEST_F(AnalyseWindowTest, InvertingTwiceRestoresThePicture) {
  ecusim::EcuSimulator sim;  // its capture of a 36-1 wheel
  for (int n = 0; n < ProgramState::ramimagesize; ++n) state.ramimage[static_cast<std::size_t>(n)] = sim.ram(0x4000 + n);
  frmAnalyse window(state);
  window.show();
  window.mnuTrigTest->trigger();
  const QImage first = window.PicTriggers->image().copy();
  window.Command1->click();
  EXPECT_TRUE(window.view().inverttrigger);
  EXPECT_NE(window.PicTriggers->image(), first);
  window.Command1->click();
  EXPECT_EQ(window.PicTriggers->image(), first);
  window.Command2->click();
  window.Command2->click();
  EXPECT_EQ(window.PicTriggers->image(), first);
}

TEST_F(AnalyseWindowTest, ScrollBarsRedrawWithTheirValues) {
  ecusim::EcuSimulator sim;
  for (int n = 0; n < ProgramState::ramimagesize; ++n) state.ramimage[static_cast<std::size_t>(n)] = sim.ram(0x4000 + n);
  frmAnalyse window(state);
  window.show();
  window.HScroll2->setValue(1);
  EXPECT_EQ(window.view().zoom, 1);
  const QImage zoomed = window.PicTriggers->image().copy();
  window.HScroll1->setValue(3);
  EXPECT_EQ(window.view().start, 3);
  EXPECT_NE(window.PicTriggers->image(), zoomed);
  window.HScroll1->setValue(0);
  EXPECT_EQ(window.PicTriggers->image(), zoomed);
  savescreenshot(&window, QStringLiteral("trigger_window"));
}

// At the largest start the origin is trigger stamp 300 and the picture ends with the lines to stamp 311 of each wave:
// the stamps after it, and the entries past the 334 of the capture, never reach it, and what was there before is
// cleared.
TEST_F(AnalyseWindowTest, AtTheLargestStartThePictureRunsFromStampThreeHundredToThreeHundredEleven) {
  constexpr std::uint32_t pitch = 150;  // twips between edges, ten pixels
  for (int k = 0; k < triggerstampcount; ++k) {
    putstamp(state.ramimage, 3 * k, 1000 + pitch * static_cast<std::uint32_t>(k));
    putstamp(state.ramimage, syncstampsat + 3 * k, 1050 + pitch * static_cast<std::uint32_t>(k));
  }
  frmAnalyse window(state);
  window.show();
  // Something else on the picture first, so that what stays black was cleared by the drawing.
  window.PicTriggers->fillbox(0, 0, window.PicTriggers->widthtwips(), window.PicTriggers->heighttwips(), 0x808080);
  window.HScroll1->setValue(window.HScroll1->maximum());
  ASSERT_EQ(window.view().start, 100);
  const QImage& picture = window.PicTriggers->image();
  const double h = window.PicTriggers->heighttwips();
  const auto colourat = [&](double x, double y) {
    return picture.pixel(twipstopixels(x), twipstopixels(y)) & 0xFFFFFF;
  };
  const QRgb yellow = 0xFFFF00, green = 0x00FF00;  // as the picture holds them, red high
  // Edge 300 at the origin, 300 twips in; the last edges are those of stamp 310, each wave's line from it (an even
  // interval, on the low level) ending at stamp 311.
  EXPECT_EQ(colourat(300, h / 4), yellow);
  const double lasttrigger = 300 + 11 * pitch, lastsync = lasttrigger + 50;
  EXPECT_EQ(colourat(lasttrigger - pitch, h / 4), yellow);
  EXPECT_EQ(colourat(lastsync - pitch, h / 1.5), green);
  EXPECT_EQ(colourat(lasttrigger - 20, h / 3), yellow);
  EXPECT_EQ(colourat(lastsync - 20, h / 1.3), green);
  // Right of stamp 311 the picture stays black.
  for (int y = 0; y < picture.height(); ++y)
    for (int x = twipstopixels(lastsync + pitch / 2); x < picture.width(); ++x)
      ASSERT_EQ(picture.pixel(x, y) & 0xFFFFFF, 0u) << x << " " << y;
  savescreenshot(&window, QStringLiteral("trigger_largeststart"));
}

TEST_F(AnalyseWindowTest, ASmallWindowLimitsThePictureToNothing) {
  frmAnalyse window(state);
  window.show();
  window.resize(12, 12);
  EXPECT_EQ(window.PicTriggers->width(), 0);
  EXPECT_EQ(window.PicTriggers->height(), 0);
  window.drawtrigger();  // no harm on an empty picture
}

TEST_F(AnalyseWindowTest, OpensThroughTheLauncherAndExitCloses) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  bool closed = false;
  scripted.scripts.push_back([&](QDialog& dialog) {
    static_cast<frmAnalyse&>(dialog).mnuExit->trigger();
    closed = !dialog.isVisible();
  });
  frmAnalyse::showmodal(state, nullptr);
  EXPECT_TRUE(closed);
  EXPECT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmAnalyse")});
}

}  // namespace
}  // namespace ostrel::test
