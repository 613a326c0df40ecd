#include "gauge/gaugepaint.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QString>

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
  // Zones starting at 1, 1 and 80 and 255 minor marks between two labels, on three odd scale texts: a single label,
  // ten placeholders (which keep the six labels before and leave no title), and ten labels under a long title.
  struct Case {
    const char* text;
    int labels;
    QString title;
  };
  const Case cases[] = {
      {"5,X,X,X,X,X,X,X,X,X,ONE", 1, "ONE"},
      {"X,X,X,X,X,X,X,X,X,X,", 6, ""},
      {"0,1,2,3,4,5,6,7,8,9,A VERY LONG TITLE", 10, "A VERY LONG TITLE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PaintedGauge g;
    g.state.setNoxGaugeStrings(QString::fromLatin1(c.text));
    g.state.setNoxGaugeSetZones(1, 1, 80, 255);
    ASSERT_EQ(g.state.labelCount, c.labels);
    EXPECT_EQ(g.state.title, c.title);
    const GaugeState s = g.state;
    const QImage img = g.paint(true);
    const bgr rim = blendColor(s.backColor, s.faceColor, 40);
    const double r = hostdial.radius(0.4);

    // The gauge drawn without one of its texts, that text then printed by hand where it belongs: the box (pixels)
    // where it lies must look the same as on the gauge that printed it itself.
    const auto printedat = [&](const QRect& box, const auto& without, double x, double y, const QString& text,
                               bgr colour, int points) {
      PaintedGauge h;
      h.state = s;
      without(h.state);
      h.paint(true);
      SurfacePainter(h.surface).print(x, y, text, colour, points, true);
      return h.surface.image().copy(box) == img.copy(box);
    };

    // Each label about the point 1.24 R out at its angle, the lowest (or the only one) at the low end.
    const double step = c.labels > 1 ? (5.205 - 1.065) / (c.labels - 1) : 0;
    for (int m = 0; m < c.labels; ++m) {
      const QString text = s.labels[static_cast<std::size_t>(m)];
      const QPointF at = hostdial.point(1.24 * r, 5.205 - m * step);
      const auto blank = [m](GaugeState& state) { state.labels[static_cast<std::size_t>(m)].clear(); };
      EXPECT_TRUE(printedat(labelbox(at, static_cast<int>(text.size())), blank, at.x() - 45.0 * text.size(),
                            at.y() - 80, text, rim, 8))
          << "label " << m << " " << text.toStdString();
    }
    // A single label has no span to divide: nothing is printed or marked at the high end, nor along the scale.
    // Otherwise the 255 minor marks between two labels close into one band outside the rim.
    if (c.labels == 1) {
      EXPECT_EQ(ink(img, labelbox(hostdial.point(1.24 * r, 1.065), 1), rim), 0);
    }
    for (int value : {10, 35, 50, 65, 90})
      EXPECT_EQ(near(pixelat(img, alongneedle(1.035 * r, value)), rim), c.labels > 1) << "marks at " << value;

    // Zones from 1 and 1: the middle zone covers the low one entirely, up to the high zone at 80.
    const double band = 0.28 * 3135;
    for (int value : {5, 30, 75})
      EXPECT_TRUE(near(pixelat(img, alongneedle(band, value)), blendColor(s.faceColor, s.midZoneColor, 20)))
          << "value " << value;
    EXPECT_TRUE(near(pixelat(img, alongneedle(band, 84)), blendColor(s.faceColor, s.highZoneColor, 20)));

    // The title under the hub, centred by its length, however long; an empty one leaves the face plain.
    const bgr titlecolour = blendColor(s.backColor, s.faceColor, 70);
    const double titlex = 3375 / 2.0 - 68.0 * c.title.size(), titley = 130 + 0.69 * 3135;
    const QRect titlebox(QPoint(static_cast<int>(titlex / 15) - 2, static_cast<int>(titley / 15) - 1),
                         QPoint(img.width() - 1, static_cast<int>(titley / 15) + 18));
    if (c.title.isEmpty()) {
      const QRect middle(QPoint(titlebox.left() - 20, titlebox.top()), QPoint(titlebox.left() + 20, titlebox.bottom()));
      EXPECT_EQ(ink(img, middle, titlecolour), 0);
    } else {
      const auto blank = [](GaugeState& state) { state.title.clear(); };
      EXPECT_TRUE(printedat(titlebox, blank, titlex, titley, c.title, titlecolour, 10)) << "title";
    }
  }
}
