#include "gauge/gaugepaint.h"

#include <gtest/gtest.h>

#include <QImage>

#include "gaugesampling.h"

using namespace nox;
using namespace gaugetest;

namespace {

struct PaintedGauge {
  GaugeState state;
  GaugeSurface surface{3375, 3135, defaultcolors[0]};

  QImage paint(bool repaint) {
    drawgauge(surface, state, repaint);
    return surface.image();
  }
};

}  // namespace

TEST(GaugePaint, ZoneBandsShowEachColourBetweenItsStartAndTheNext) {
  PaintedGauge g;
  g.state.setPointValue(0);  // needle well away from the samples
  const QImage img = g.paint(true);
  const GaugeState& s = g.state;
  const double mid = 0.28 * 3135;  // between the band's inner (0.25 H) and outer (0.31 H) radius
  struct Case {
    int value;
    bgr expected;
  };
  const Case cases[] = {
      {20, blendColor(s.backColor, s.faceColor, 5)},  // below the low zone: plain inner dial
      {40, blendColor(s.faceColor, s.lowZoneColor, 20)},
      {60, blendColor(s.faceColor, s.midZoneColor, 20)},
      {80, blendColor(s.faceColor, s.highZoneColor, 20)},
      {95, blendColor(s.faceColor, 0x3080FF, 1)},  // fixed over-range band below 3 o'clock
  };
  for (const Case& c : cases) {
    const QColor got = pixelat(img, alongneedle(mid, c.value));
    EXPECT_TRUE(near(got, c.expected)) << "value " << c.value << " got " << got.name().toStdString() << " expected "
                                       << tocolor(c.expected).name().toStdString();
  }
  // The band is hollow: inside 0.25 H the zone colour does not show.
  EXPECT_TRUE(near(pixelat(img, alongneedle(0.245 * 3135 - 30, 40)), blendColor(s.backColor, s.faceColor, 5), 8));
}

TEST(GaugePaint, NeedleAtTheLimitsAndPastTheEnd) {
  for (int v : {0, 50, 100, 255}) {
    PaintedGauge g;
    ASSERT_TRUE(g.state.setPointValue(static_cast<float>(v)));
    const QImage img = g.paint(true);
    EXPECT_TRUE(isneedle(pixelat(img, alongneedle(600, v)))) << v;
    // Nowhere else along the scale.
    for (int other : {0, 50, 100}) {
      if (other == v) continue;
      EXPECT_FALSE(isneedle(pixelat(img, alongneedle(600, other)))) << v << " vs " << other;
    }
  }
}

TEST(GaugePaint, PartialRepaintTouchesOnlyTheInnerDial) {
  PaintedGauge g;
  g.state.setPointValue(10);
  const QImage before = g.paint(true);
  g.state.setPointValue(90);
  g.state.setNoxGaugeSetZones(10, 20, 30, 1);
  const QImage after = g.paint(false);

  const QPointF c = hostdial.centre() / 15.0;
  const double discpx = hostdial.radius(0.32) / 15.0;
  int changedinside = 0;
  for (int y = 0; y < before.height(); ++y) {
    for (int x = 0; x < before.width(); ++x) {
      const double dist = std::hypot(x + 0.5 - c.x(), y + 0.5 - c.y());
      if (dist > discpx + 1.5) {
        ASSERT_EQ(before.pixel(x, y), after.pixel(x, y)) << x << "," << y;
      } else if (before.pixel(x, y) != after.pixel(x, y)) {
        ++changedinside;
      }
    }
  }
  EXPECT_GT(changedinside, 100);
  // The old needle is gone, the new one drawn, and the moved zones show at once.
  EXPECT_FALSE(isneedle(pixelat(after, alongneedle(600, 10))));
  EXPECT_TRUE(isneedle(pixelat(after, alongneedle(600, 90))));
  EXPECT_TRUE(
      near(pixelat(after, alongneedle(0.28 * 3135, 25)), blendColor(g.state.faceColor, g.state.midZoneColor, 20)));
}

TEST(GaugePaint, ShadingLeavesItsWorkingAngles) {
  PaintedGauge g;
  g.paint(true);
  // After thirteen passes from 3.0 and 1.5, each 0.13 shorter at both ends.
  EXPECT_NEAR(g.state.arcStart, 3.0f + 13 * 0.13f, 1e-4);
  EXPECT_NEAR(g.state.arcEnd, 1.5f - 13 * 0.13f, 1e-4);
  const float start = g.state.arcStart;
  g.paint(false);
  EXPECT_EQ(g.state.arcStart, start);  // a partial repaint leaves them alone
}

TEST(GaugePaint, OddScalesDrawWithoutFault) {
  for (const char* text :
       {"5,X,X,X,X,X,X,X,X,X,ONE", "X,X,X,X,X,X,X,X,X,X,", "0,1,2,3,4,5,6,7,8,9,A VERY LONG TITLE"}) {
    PaintedGauge g;
    g.state.setNoxGaugeStrings(QString::fromLatin1(text));
    g.state.setNoxGaugeSetZones(1, 1, 80, 255);
    const QImage img = g.paint(true);
    EXPECT_FALSE(img.isNull()) << text;
  }
}
