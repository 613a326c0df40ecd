#include "shell/livepanel.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

#include "calibration/maps.h"
#include "calibration/startuptables.h"
#include "common/linkhelpers.h"
#include "common/testsupport.h"
#include "displayfixture.h"
#include "ecusim/ecusimulator.h"
#include "ecusim/simport.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "platform/colors.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "shell/gaugewindow.h"
#include "shell/statuslog.h"

namespace ostrel {
namespace {

const PanelVariable& row(int i) {
  return startuptables().paneltables[static_cast<std::size_t>(i)];
}

// --- Arithmetic ----------------------------------------------------------------------------------------------------

TEST(LivePanelArithmetic, BarLengthIsRoundedHalfToEvenAndLimited) {
  struct Case {
    int row, units;
    std::int16_t value;
    int length;
  };
  const Case cases[] = {
      {0, 0, 36, 0},                                              // (36 - 36) x 7
      {0, 0, 0, 0},                                               // negative length: no bar
      {0, 0, 214, 1246},                                          // just inside
      {0, 0, 215, 1250},                                          // 1253 is drawn 1250 long
      {4, 0, 255, 0},                                             // the oxygen sensors run the other way: 255 is empty
      {4, 0, 130, 1250},                                          // and 130 is full
      {4, 0, 131, 1240},   {5, 1, 0, 1250},      {9, 0, 21, 12},  // 12.5 goes to the even 12
      {9, 0, 23, 38},                                             // 37.5 goes to the even 38
      {3, 0, 100, 500},                                           // speed, km/h
      {3, 1, 100, 1000},                                          // the imperial column has its own multiplier
      {16, 0, 8000, 960},  {16, 0, 32767, 1250},                  // no overflow on the largest live value
      {11, 0, -32768, 0},                                         // nor on the smallest
      {8, 0, 32767, 1250},                                        // an offset that pushes the sum past 16 bits
  };
  for (const Case& c : cases)
    EXPECT_EQ(panelbarlength(c.value, row(c.row), c.units), c.length) << "row " << c.row << " value " << c.value;
}

TEST(LivePanelArithmetic, BarZonesFollowTheZoneWidth) {
  struct Case {
    int length, zone;
    std::vector<std::pair<int, int>> spans;
  };
  const Case cases[] = {
      {0, 300, {{0, 0}}},  // the first zone is always there, zero wide for an empty bar
      {300, 300, {{0, 300}}},
      {301, 300, {{0, 300}, {300, 301}}},
      {1250, 300, {{0, 300}, {300, 600}, {600, 900}, {900, 1200}, {1200, 1250}}},
      {960, 200, {{0, 200}, {200, 400}, {400, 600}, {600, 800}, {800, 960}}},
      {1250, 100, {{0, 100}, {100, 200}, {200, 300}, {300, 400}, {400, 1250}}},  // the last zone takes the rest
      {250, 100, {{0, 100}, {100, 200}, {200, 250}}},
  };
  for (const Case& c : cases) {
    std::array<BarZone, 5> zones;
    const int count = panelbarzones(c.length, c.zone, zones);
    ASSERT_EQ(count, static_cast<int>(c.spans.size())) << "length " << c.length << " zone " << c.zone;
    for (int k = 0; k < count; ++k) {
      const auto s = c.spans[static_cast<std::size_t>(k)];
      EXPECT_EQ(zones[static_cast<std::size_t>(k)].from, s.first);
      EXPECT_EQ(zones[static_cast<std::size_t>(k)].to, s.second);
      EXPECT_EQ(zones[static_cast<std::size_t>(k)].color, panel::zonecolors[static_cast<std::size_t>(k)]);
    }
  }
}

TEST(LivePanelArithmetic, PrintedValuesUseTheRowDecimalsAndAPoint) {
  // The test main sets a German default locale: a decimal comma would show here.
  struct Case {
    int row, units;
    std::int16_t value;
    float factor;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, 0, 1, "-64.0"},                                   // minus sign, no parentheses
      {0, 0, 129, 1, "0.5"},                                   // leading zero
      {1, 0, 100, 1, "0.50"},    {6, 0, 100, 14.7f, "14.70"},  // air-fuel ratio of petrol
      {6, 0, 100, 1.0f, "1.00"},                               // lambda
      {7, 0, 100, 1, "212"},     {7, 1, 100, 1, "30.7"},       // psi carry one decimal, kPa none
      {8, 0, 128, 1, "12.5"},                                  // battery: (128 + 512) x 0.0195 = 12.48
      {9, 1, 45, 1, "77"},                                     // (45 - 2.2) x 1.8 = 77.04 F
      {11, 0, 100, 1, "-14.0"},  {16, 0, 12000, 1, "12000"},   // no digit grouping
  };
  for (const Case& c : cases)
    EXPECT_EQ(panelvaluetext(c.value, row(c.row), c.units, c.factor), QString::fromLatin1(c.text))
        << "row " << c.row << " value " << c.value;
}

TEST(LivePanelArithmetic, QueueStripIsCappedAtFortyOneTicks) {
  const std::pair<int, int> cases[] = {{-3, 0}, {0, 0}, {1, 2}, {39, 40}, {40, 41}, {41, 41}, {2047, 41}};
  for (const auto& [lastqueued, ticks] : cases)
    EXPECT_EQ(panelqueueticks(panelqueuefill(lastqueued)), ticks) << "last queued " << lastqueued;
}

TEST(LivePanelArithmetic, PanelIsCentredOnlyInATallWindow) {
  const std::pair<int, int> cases[] = {{3000, -200}, {6700, -200}, {6701, -200},  // -199.5 goes to the even -200
                                       {6703, -198},                              // -198.5 to -198
                                       {6900, -100}, {8000, 450}};
  for (const auto& [height, y0] : cases) EXPECT_EQ(panelgeometry(height, true).y0, y0) << "height " << height;
  EXPECT_EQ(panelgeometry(6900, true).x0, 0);
  EXPECT_EQ(panelgeometry(6900, true).w, 2800);
  EXPECT_EQ(panelgeometry(6900, false).x0, -4000);
  EXPECT_EQ(panelgeometry(6900, false).w, 1150);
}

// --- The panel on its window ---------------------------------------------------------------------------------------

// The gauge window in an MDI area, its panel, and a link over the ECU simulator.
class LivePanelWindow : public test::DisplayFixture {
 protected:
  void setsize(int widthtwips, int heighttwips) {
    frame->resize(twipstopixels(widthtwips), twipstopixels(heighttwips));
  }
  PanelGeometry geometry() const { return panelgeometry(display->outerheight(), state.preferences.panelanalog); }
  std::uint32_t pixel(double xtwips, double ytwips) const {
    const QColor c = display->picGraph->image().pixelColor(twipstopixels(xtwips), twipstopixels(ytwips));
    return colortobgr(c);
  }
  // Runs the link against the simulator until its engine has pulled up to speed.
  void drive(int ticks) {
    ASSERT_TRUE(link.openport());
    for (int i = 0; i < ticks; ++i) {
      link.tick();
      port.step();
    }
  }
  // The ticks of the queue strip, and the pixel column of the last one.
  std::pair<int, int> queueticks() const {
    const QImage& image = display->picGraph->image();
    const int y = twipstopixels(geometry().y0 + 585);
    int ticks = 0;
    int lastx = -1;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
      const bool tick = colortobgr(image.pixelColor(x, y)) == panel::tickcolor;
      if (tick && !inside) {
        ++ticks;
        lastx = x;
      }
      inside = tick;
    }
    return {ticks, lastx};
  }
  // A blank picture of the panel's size in its background colour, to print what the panel should show on.
  std::unique_ptr<PictureSurface> sheet() const {
    auto s = std::make_unique<PictureSurface>();
    s->resize(display->picGraph->size());
    s->show();
    s->fillbox(0, 0, s->widthtwips(), s->heighttwips(), panel::backgroundcolor);
    return s;
  }
  static void printat(PictureSurface& s, double x, double y, const QString& text) {
    s.currentx = x;
    s.currenty = y;
    s.print(text);
  }
  // Whether the panel's picture shows what the sheet holds, within the box (twips).
  bool shows(const PictureSurface& expected, double x1, double y1, double x2, double y2) const {
    const QRect box(QPoint(twipstopixels(x1), twipstopixels(y1)), QPoint(twipstopixels(x2), twipstopixels(y2)));
    return display->picGraph->image().copy(box) == expected.image().copy(box);
  }
};

TEST_F(LivePanelWindow, QueueStripCountsTheWaitingWrites) {
  setsize(4400, 6900);

  // A write at the head of the queue alone is the one being sent: no tick.
  ostrel::test::LinkProbe::queue(link).records[0].op = 0x81;
  panel->drawpanel(false);
  EXPECT_EQ(queueticks().first, 0);

  ostrel::test::LinkProbe::queue(link).records[3].op = 0x80;
  panel->drawpanel(false);
  EXPECT_EQ(queueticks().first, 4);

  // The rows of a whole-image write wait too, in the transfer's own table: far beyond 40 the strip stops at 41
  // ticks, the last at x = 2300.
  ostrel::test::LinkProbe::queue(link).clear();
  ImageTransfer transfer{state, model, prompts, link};
  state.transfermode = 0;
  transfer.queuefullwrite();
  panel->drawpanel(false);
  const auto [ticks, lastx] = queueticks();
  EXPECT_EQ(ticks, 41);
  EXPECT_EQ(lastx, twipstopixels(2300));

  // And the strip is cleared when nothing waits any more.
  transfer.cancel();
  panel->drawpanel(false);
  EXPECT_EQ(queueticks().first, 0);
}

TEST_F(LivePanelWindow, BarsShowTheirZonesUpToTheirLength) {
  setsize(4400, 6900);
  panel->drawpanel(true);
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[16] = 8000; });  // 960 twips with zones of 200
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[4] = 255; });    // an empty oxygen bar
  panel->drawpanel(false);
  const PanelGeometry g = geometry();
  const auto barpixel = [&](int i, int at) { return pixel(g.x0 + 1050 + at, g.y0 + 885 + 280 * i); };
  EXPECT_EQ(barpixel(16, 100), 0xFFFF00u);
  EXPECT_EQ(barpixel(16, 300), 0x80FF80u);
  EXPECT_EQ(barpixel(16, 500), 0x80C0FFu);
  EXPECT_EQ(barpixel(16, 700), 0x0080FFu);
  EXPECT_EQ(barpixel(16, 900), 0x0000FFu);
  EXPECT_EQ(barpixel(16, 1050), panel::barbackcolor);  // past the bar's end
  EXPECT_EQ(barpixel(4, 0), 0xFFFF00u);                // the zero-wide zone
  EXPECT_EQ(barpixel(4, 45), panel::barbackcolor);

  // A shorter bar next time leaves nothing of the longer one.
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[16] = 1000; });
  panel->drawpanel(false);
  EXPECT_EQ(barpixel(16, 100), 0xFFFF00u);
  EXPECT_EQ(barpixel(16, 300), panel::barbackcolor);
  EXPECT_EQ(barpixel(16, 900), panel::barbackcolor);
}

TEST_F(LivePanelWindow, NewValuesNeverPrintOverOldOnes) {
  for (const bool analog : {true, false}) {
    SCOPED_TRACE(analog ? "analog" : "digital");
    state.preferences.panelanalog = analog;
    setsize(4400, 6900);
    const auto valuecolumn = [&] {
      const PanelGeometry g = geometry();
      const QRect column(QPoint(twipstopixels(g.w - 100), twipstopixels(g.y0 + 690)),
                         QPoint(twipstopixels(g.w + 1400), twipstopixels(g.y0 + 5740)));
      return display->picGraph->image().copy(column);
    };
    // Wide old values, then narrow new ones, against the narrow ones drawn on a fresh panel.
    panel->drawpanel(true);
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars.fill(-32768); });
    panel->drawpanel(false);
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars.fill(7); });
    panel->drawpanel(false);
    const QImage overdrawn = valuecolumn();
    panel->drawpanel(true);
    panel->drawpanel(false);
    EXPECT_TRUE(overdrawn == valuecolumn());
  }
}

TEST_F(LivePanelWindow, GaugesFollowOnlyWhileTheyAreInView) {
  // The first layout's 4400 twips: wide enough for the gauge plan, too narrow to show the gauges, so the panel lets
  // the plan go and leaves the needles alone.
  state.livemode = 0;
  setsize(2000, 6900);
  setsize(4400, 6900);
  EXPECT_EQ(state.livemode, 18);
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[16] = 4000; });
  panel->drawpanel(false);
  EXPECT_EQ(state.livemode, 0);
  EXPECT_EQ(display->lastgaugevalues[1], 0.0f);
  state.livemode = 1;  // another window's plan stays
  panel->drawpanel(false);
  EXPECT_EQ(state.livemode, 1);
  state.livemode = 0;

  // Enlarged from there, the gauges come into view and take their plan again.
  setsize(9000, 6900);
  EXPECT_EQ(state.livemode, 18);
  panel->drawpanel(false);
  EXPECT_EQ(state.livemode, 18);
  EXPECT_FLOAT_EQ(display->lastgaugevalues[1], 49.6f);  // 0.0124 x 4000

  setsize(2000, 6900);
  EXPECT_EQ(state.livemode, 0);

  // The edge in whole pixels: 333 pixels are 4995 twips, 334 are 5010.
  for (const auto& [pixels, kept] : {std::pair{333, false}, std::pair{334, true}}) {
    frame->resize(pixels, 460);
    state.livemode = 18;
    panel->drawpanel(false);
    EXPECT_EQ(state.livemode, kept ? 18 : 0) << pixels << " pixels";
  }
}

TEST_F(LivePanelWindow, FedByTheLink) {
  // The panel of the narrow gauge window (the first layout's 4400 by 6900), analog, metric, petrol.
  setsize(4400, 6900);
  drive(330);  // the simulated engine pulls at high load about ten seconds in
  EXPECT_GT(host.valuepasses, 50);
  const std::array<std::int16_t, 18> live = link.live().livevars;
  ASSERT_GT(live[16], 3000);
  // Twelve writes waiting behind the one being sent show as thirteen ticks above the rows.
  for (int k = 0; k <= 12; ++k) ostrel::test::LinkProbe::queue(link).records[static_cast<std::size_t>(k)].op = 0x81;
  panel->drawpanel(false);
  test::savescreenshot(frame, QStringLiteral("livepanel"));

  const PanelGeometry analog = geometry();
  EXPECT_EQ(queueticks(), (std::pair{13, twipstopixels(300 + 12 * 50)}));

  // Each row's bar ends where the link's value puts it, in the colour of its last zone, with the bar's background
  // right after it.
  for (int i = 0; i < panel::rows; ++i) {
    const auto v = static_cast<std::size_t>(i);
    const int length = panelbarlength(live[v], row(i), 0);
    const int zone = row(i).barlimit;
    const int lastzone = length <= zone ? 0 : std::min(4, (length - 1) / zone);
    const int end = twipstopixels(analog.x0 + 1050 + length);
    const int y = twipstopixels(analog.y0 + 885 + 280 * i);
    const QImage& image = display->picGraph->image();
    EXPECT_EQ(colortobgr(image.pixelColor(end, y)), panel::zonecolors[static_cast<std::size_t>(lastzone)])
        << "row " << i << " value " << live[v] << " length " << length;
    EXPECT_EQ(colortobgr(image.pixelColor(end + 1, y)), panel::barbackcolor) << "row " << i << " length " << length;
  }

  // The value column: each value in the row's decimals with its metric units, the mixture as a petrol air-fuel
  // ratio; and the engine speed in large type below.
  const auto values = [&](int units, const PanelGeometry& g) {
    std::unique_ptr<PictureSurface> s = sheet();
    s->setfont(QStringLiteral("Arial"), 10, false, false);
    s->forecolor = panel::labelcolor;
    for (int i = 0; i < panel::rows; ++i) {
      const auto v = static_cast<std::size_t>(i);
      const int y = g.y0 + 700 + 280 * i;
      printat(*s, g.w, y, panelvaluetext(live[v], row(i), units, i == panel::afrrow ? 14.7f : 1.0f));
      printat(*s, g.w + 600, y, row(i).units[static_cast<std::size_t>(units)]);
    }
    return s;
  };
  EXPECT_TRUE(shows(*values(0, analog), analog.w - 100, analog.y0 + 690, analog.w + 1400, analog.y0 + 5740))
      << "analog value column";
  std::unique_ptr<PictureSurface> speed = sheet();
  speed->setfont(QStringLiteral("Arial"), 22, false, true);
  speed->forecolor = panel::enginespeedcolor;
  printat(*speed, 100, analog.y0 + 5850, QString::number(live[16]));
  printat(*speed, 1300, analog.y0 + 5850, QStringLiteral("RPM"));
  EXPECT_TRUE(shows(*speed, 0, analog.y0 + 5800, 2800, analog.y0 + 6400)) << "engine speed";

  // The same values in the digital mode and imperial units, after the background pass that a switch makes: only
  // the imperial labels, the separator and the values with their units next to the labels show, no bar.
  state.preferences.panelanalog = false;
  state.preferences.metricunits = false;
  panel->drawpanel(true);
  panel->drawpanel(false);
  test::savescreenshot(frame, QStringLiteral("livepanel_digital"));
  const PanelGeometry digital = geometry();
  ASSERT_EQ(digital.w, 1150);
  std::unique_ptr<PictureSurface> column = values(1, digital);
  column->setfont(QStringLiteral("HandelGothic BT"), 10, true, true);
  for (int i = 0; i < panel::rows; ++i) printat(*column, 50, digital.y0 + 750 + 280 * i, row(i).name[1]);
  column->line(digital.w - 120, digital.y0 + 680, digital.w - 120, digital.y0 + 5730, panel::labelcolor);
  EXPECT_TRUE(shows(*column, 0, digital.y0 + 620, digital.w + 1400, digital.y0 + 5790)) << "digital rows";
  EXPECT_TRUE(shows(*speed, 0, digital.y0 + 5800, 2800, digital.y0 + 6400)) << "digital engine speed";
}

}  // namespace
}  // namespace ostrel
