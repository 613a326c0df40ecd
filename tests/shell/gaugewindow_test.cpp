#include "shell/gaugewindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cmath>
#include <limits>
#include <memory>

#include "calibration/maps.h"
#include "common/linkhelpers.h"
#include "common/testsupport.h"
#include "displayfixture.h"
#include "ecusim/ecusimulator.h"
#include "ecusim/simport.h"
#include "gauge/noxgauge.h"
#include "link/eculink.h"
#include "platform/colors.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "shell/livepanel.h"
#include "shell/statuslog.h"

namespace ostrel {
namespace {

// --- Arithmetic and rules ------------------------------------------------------------------------------------------

TEST(GaugeWindowArithmetic, NeedlePositionsFromTheLiveVariables) {
  struct Case {
    int gauge, variable;
    std::int16_t raw;
    float value;  // before the limit
    float shown;  // after it
  };
  const Case cases[] = {
      {0, 6, 150, 120.54f, 100},  // measured air-fuel ratio beyond the scale
      {0, 6, 68, 0, 0},
      {0, 6, 60, -11.76f, 0},
      {0, 6, 100, 47.04f, 47.04f},
      {1, 16, 8000, 99.2f, 99.2f},
      {1, 16, 8065, 100.006f, 100},
      {2, 7, 64, 49.28f, 49.28f},  // stretched below raw 65
      {2, 7, 65, 50, 50},          // compressed from 65 on
      {2, 7, 165, 88, 88},
      {2, 7, 255, 122.2f, 100},
      {3, 13, 200, 78, 78},
      {4, 10, 20, 0, 0},
      {4, 10, 140, 99.6f, 99.6f},
      {5, 15, 256, 99.84f, 99.84f},
      {5, 15, -1, -0.39f, 0},
  };
  for (const Case& c : cases) {
    std::array<std::int16_t, 18> livevars{};
    livevars[static_cast<std::size_t>(c.variable)] = c.raw;
    const float value = gaugevalue(c.gauge, livevars);
    EXPECT_NEAR(value, c.value, 1e-3) << "gauge " << c.gauge + 1 << " raw " << c.raw;
    EXPECT_NEAR(limitgaugevalue(value), c.shown, 1e-3) << "gauge " << c.gauge + 1 << " raw " << c.raw;
  }
  // The limit: not above 0 gives 0, not below 100 gives 100, and what is no number never reaches a gauge.
  EXPECT_EQ(limitgaugevalue(0.0f), 0.0f);
  EXPECT_EQ(limitgaugevalue(100.0f), 100.0f);
  EXPECT_EQ(limitgaugevalue(99.99f), 99.99f);
  EXPECT_EQ(limitgaugevalue(std::numeric_limits<float>::quiet_NaN()), 0.0f);
  EXPECT_EQ(limitgaugevalue(std::numeric_limits<float>::infinity()), 100.0f);
}

TEST(GaugeWindowArithmetic, AirFuelZonesFollowTheTarget) {
  struct Case {
    std::uint8_t target;
    float middle, high;
  };
  const Case cases[] = {
      {68, 2, 10},  // t = 0, raised to 5
      {71, 2, 10},  // t = 4.41, raised to 5
      {100, 44.04f, 52.04f},
      {255, 92, 100},  // t = 274.89, lowered to 95
      {0, 2, 10},
  };
  for (const Case& c : cases) {
    const auto zones = afrgaugezones(c.target);
    EXPECT_EQ(zones[0], 1.0f);
    EXPECT_NEAR(zones[1], c.middle, 1e-4) << "target " << int(c.target);
    EXPECT_NEAR(zones[2], c.high, 1e-4) << "target " << int(c.target);
  }
}

TEST(GaugeWindowArithmetic, GaugesMoveOnlyByMoreThanOne) {
  EXPECT_FALSE(gaugemoves(1.0f, 0.0f));
  EXPECT_TRUE(gaugemoves(1.01f, 0.0f));
  EXPECT_FALSE(gaugemoves(49.0f, 50.0f));
  EXPECT_TRUE(gaugemoves(48.9f, 50.0f));
  EXPECT_FALSE(gaugemoves(0.0f, 0.0f));
}

TEST(GaugeWindowSelector, SwitchesOnlyWhenItCrossesTheThreshold) {
  // Each step: the width of a resize event and the selector afterwards; livemode starts at 5.
  struct Step {
    int width;
    std::uint8_t livemode;
    std::uint8_t setbefore = 255;  // another part sets the selector before this resize (255: nobody)
  };
  const std::vector<Step> steps = {
      {2000, 5},     {2750, 5},     // 2750 is not wider than 2750
      {2751, 18},                   // one twip more takes the gauge plan and saves 5
      {3000, 18},    {6000, 18},    // a drag: the saved value stays 5
      {4000, 18, 0},                // the panel let the plan go while the gauges were out of view: taken again
      {7000, 1, 1},                 // a selector another window holds is left alone while the window stays wide
      {2750, 5},                    // back at 2750: the saved value returns
      {2000, 5},     {2500, 7, 7},  // narrow resizes leave a later selector alone
      {6000, 18},    {2000, 7},     // and the next widening saves that one
  };
  GaugeSelectorSwitch selector;
  std::uint8_t livemode = 5;
  int n = 0;
  for (const Step& s : steps) {
    if (s.setbefore != 255) livemode = s.setbefore;
    selector.resized(s.width, livemode);
    EXPECT_EQ(livemode, s.livemode) << "step " << n << " width " << s.width;
    ++n;
  }
}

TEST(GaugeWindowLayout, GaugesArePackedHiddenOrSpread) {
  const std::array<int, 6> widths{3360, 3360, 3360, 3360, 3360, 3360};
  struct Case {
    int wf, hf;
    std::array<int, 3> lefts;
    std::array<int, 2> tops;
  };
  const Case cases[] = {
      {5000, 6900, {6000, 6000, 6000}, {900, 4400}},  // out of view
      {5001, 6900, {2780, 6340, 9900}, {900, 4400}},  // packed with 200 twips gaps
      {13700, 9000, {2780, 6340, 9900}, {900, 4400}},
      {13701, 9001, {2780, 6384, 9988}, {900, 4410}},   // spread; 0.1 x 9001 = 900.1, 0.49 x 9001 = 4410.49
      {20000, 9005, {2780, 8463, 14145}, {900, 4412}},  // 900.5 goes to the even 900, 4412.45 to 4412
  };
  for (const Case& c : cases) {
    const auto places = gaugelayout(c.wf, c.hf, widths, 3120);
    for (int i = 0; i < 6; ++i) {
      const auto g = static_cast<std::size_t>(i);
      EXPECT_EQ(places[g].left, c.lefts[g % 3]) << "gauge " << i + 1 << " at " << c.wf << " x " << c.hf;
      EXPECT_EQ(places[g].top, c.tops[g / 3]) << "gauge " << i + 1 << " at " << c.wf << " x " << c.hf;
    }
  }
  // Packing uses the widths the gauges have: the second row from its own gauges.
  const auto packed = gaugelayout(6000, 6900, {3000, 3100, 3200, 3300, 3400, 3500}, 2000);
  EXPECT_EQ(packed[1].left, 3000 + 2980);
  EXPECT_EQ(packed[2].left, 3000 + 3100 + 3180);
  EXPECT_EQ(packed[4].left, 3300 + 2980);
  EXPECT_EQ(packed[5].left, 3300 + 3400 + 3180);
  EXPECT_EQ(packed[3].top, 2000 + 1280);
}

// --- The window ------------------------------------------------------------------------------------------------------

class GaugeWindow : public test::DisplayFixture {
 protected:
  // The window's outer size, in whole pixels.
  void setpixels(int w, int h) { frame->resize(w, h); }
  QImage gaugeimage(int i) { return display->gauges[static_cast<std::size_t>(i)]->grab().toImage(); }
};

TEST_F(GaugeWindow, LaysOutPictureAndGaugesForItsSize) {
  EXPECT_EQ(display->windowTitle(), QStringLiteral("Display"));
  for (int i = 0; i < 6; ++i) {
    const nox::NoxGauge* gauge = display->gauges[static_cast<std::size_t>(i)];
    EXPECT_EQ(gauge->objectName(), QStringLiteral("NoxGauge%1").arg(i + 1));
  }

  setpixels(333, 460);  // 4995 by 6900 twips: the gauges stand outside the window
  EXPECT_TRUE(display->displayresized);
  EXPECT_EQ(display->picGraph->width(), twipstopixels(4995 - 135));
  EXPECT_EQ(display->picGraph->height(), twipstopixels(6900 - 525));
  for (const nox::NoxGauge* gauge : display->gauges) EXPECT_EQ(gauge->x(), twipstopixels(6000));

  // A resize redraws the panel in full, over whatever the picture held.
  display->picGraph->fillbox(0, 0, display->picGraph->widthtwips(), display->picGraph->heighttwips(), 0x00FF00);
  setpixels(334, 460);  // 5010 twips: packed, 224 by 208 pixels each
  EXPECT_EQ(colortobgr(display->picGraph->image().pixelColor(0, 0)), panel::backgroundcolor);
  const auto& g = display->gauges;
  EXPECT_EQ(g[0]->geometry(), QRect(twipstopixels(2780), twipstopixels(900), 224, 208));
  EXPECT_EQ(g[1]->x(), twipstopixels(3360 + 2980));
  EXPECT_EQ(g[2]->x(), twipstopixels(2 * 3360 + 3180));
  EXPECT_EQ(g[3]->geometry(), QRect(twipstopixels(2780), twipstopixels(3120 + 1280), 224, 208));
}

TEST_F(GaugeWindow, ResizesSwitchTheSelectorAtItsThreshold) {
  state.livemode = 2;
  setpixels(183, 460);  // 2745 twips: not wider than 2750
  EXPECT_EQ(state.livemode, 2);
  setpixels(184, 460);  // 2760 twips
  EXPECT_EQ(state.livemode, 18);
  setpixels(250, 460);  // a drag keeps 2 saved
  setpixels(400, 460);
  EXPECT_EQ(display->selectorswitch().savedlivemode(), 2);
  setpixels(150, 460);
  EXPECT_EQ(state.livemode, 2);

  // Widening from 2000 to 6000 twips in one step, and back.
  state.livemode = 0;
  setpixels(twipstopixels(2000), 460);
  EXPECT_EQ(state.livemode, 0);
  setpixels(twipstopixels(6000), 460);
  EXPECT_EQ(state.livemode, 18);
  setpixels(twipstopixels(2000), 460);
  EXPECT_EQ(state.livemode, 0);
}

TEST_F(GaugeWindow, NeedlesMoveOnlyByMoreThanOne) {
  setpixels(900, 480);
  display->drawNoxgauges(false);  // everything at 0: nothing has moved yet
  EXPECT_EQ(display->lastgaugevalues, (std::array<float, 6>{}));

  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[13] = 100; });  // throttle 39
  display->drawNoxgauges(false);
  EXPECT_FLOAT_EQ(display->lastgaugevalues[3], 39.0f);
  const QImage moved = gaugeimage(3);

  ostrel::test::changelive(link, [&](ostrel::LiveData& l) {
    l.livevars[13] = 102;
  });  // 39.78: within 1.0, left alone even when a redraw is asked for
  display->drawNoxgauges(true);
  EXPECT_FLOAT_EQ(display->lastgaugevalues[3], 39.0f);
  EXPECT_TRUE(gaugeimage(3) == moved);

  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[13] = 110; });  // 42.9
  display->drawNoxgauges(true);
  EXPECT_NEAR(display->lastgaugevalues[3], 42.9f, 1e-4);
  EXPECT_FALSE(gaugeimage(3) == moved);

  // Out of range values reach the gauge limited.
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[6] = 150; });
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[10] = -500; });
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livevars[15] = 32767; });
  display->drawNoxgauges(false);
  EXPECT_EQ(display->lastgaugevalues[0], 100.0f);
  EXPECT_EQ(display->lastgaugevalues[4], 0.0f);
  EXPECT_EQ(display->lastgaugevalues[5], 100.0f);
}

// Takes every key pressed on the object it watches.
struct KeyRecorder : QObject {
  std::vector<int> keys;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    keys.push_back(static_cast<QKeyEvent*>(event)->key());
    return true;
  }
};

TEST_F(GaugeWindow, PictureFocusKeysAndClose) {
  setpixels(300, 460);
  display->picGraph->setFocus();
  QApplication::processEvents();
  if (display->picGraph->hasFocus()) {
    EXPECT_TRUE(state.graphview);
    EXPECT_EQ(log.lines()[3], QStringLiteral("Display focus, arrows are grid oriented"));
  }
  // The signal is what the window follows, whatever the platform does with focus.
  state.graphview = false;
  emit display->picGraph->focusreceived();
  EXPECT_TRUE(state.graphview);

  // The keys are not the window's: the picture and the window pass them on to whoever watches the window (the main
  // window's keyboard handler).
  KeyRecorder keys;
  display->installEventFilter(&keys);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(display->picGraph, &press);
  QKeyEvent page(QEvent::KeyPress, Qt::Key_PageDown, Qt::ShiftModifier);
  QApplication::sendEvent(display, &page);
  EXPECT_EQ(keys.keys, (std::vector<int>{Qt::Key_Up, Qt::Key_PageDown}));

  // Closed while the program runs it is only minimised; during exit it closes.
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isMinimized());
  EXPECT_EQ(frame->widget(), display);
  state.exiting = true;
  EXPECT_TRUE(display->close());
}

TEST_F(GaugeWindow, FedByTheLink) {
  // A wide gauge window beside the digital panel, fed by the link over the ECU simulator during a pull.
  state.preferences.panelanalog = false;
  setpixels(900, 545);  // 13500 by 8175 twips: both rows of gauges in view
  ASSERT_TRUE(link.openport());
  for (int i = 0; i < 330; ++i) {
    link.tick();
    port.step();
  }
  EXPECT_GT(link.live().livevars[16], 3000);
  // The engine speed gauge stands where the link's value puts it, within the one-unit dead band.
  EXPECT_NEAR(display->lastgaugevalues[1], limitgaugevalue(gaugevalue(1, link.live().livevars)), 1.0f);
  EXPECT_GT(display->lastgaugevalues[1], 30.0f);
  test::savescreenshot(frame, QStringLiteral("gaugewindow"));
}

}  // namespace
}  // namespace ostrel
