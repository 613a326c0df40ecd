#include "gauge/noxgauge.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <cstdlib>
#include <QTest>

#include "common/testsupport.h"
#include "gaugesampling.h"

using namespace gaugetest;

namespace {

// A gauge as the gauge window sets one up: default colours, engine speed scale, zones, host size.
void setuphostgauge(nox::NoxGauge& gauge, float setpoint) {
  gauge.resize(224, 208);  // 3360 by 3120 twips
  gauge.setNoxGaugeColors(0x403010, 0xF0F010, 0x00FFFF, 0x000000, 0xC0F000, 0x01F080, 0x01F0F0);
  gauge.setNoxGaugeSetPointAndDraw(0, false);
  gauge.setNoxGaugeSetZones(40, 60, 80, 1);
  gauge.setNoxGaugeStrings(QStringLiteral("0,10,20,30,40,50,60,70,80,X,RPM"));
  gauge.paintGauge(true);
  gauge.setNoxGaugeSetPointAndDraw(setpoint, false);
}

QImage shot(nox::NoxGauge& gauge) {
  return gauge.grab().toImage();
}

}  // namespace

TEST(NoxGauge, ScreenshotsAtMinimumMiddleAndMaximum) {
  struct Case {
    float setpoint;
    const char* name;
  };
  for (const Case c : {Case{0, "gauge_minimum"}, {50, "gauge_middle"}, {100, "gauge_maximum"}}) {
    nox::NoxGauge gauge;
    setuphostgauge(gauge, c.setpoint);
    const QImage img = shot(gauge);
    ASSERT_EQ(img.size(), QSize(224, 208));
    EXPECT_TRUE(isneedle(pixelat(img, alongneedle(600, static_cast<int>(c.setpoint))))) << c.name;
    ostrel::test::savescreenshot(&gauge, QString::fromLatin1(c.name));
  }
}

TEST(NoxGauge, ScreenshotOfTheWidestScale) {
  // Seven labels put "100" close to 3 o'clock, where the gauge is narrowest for its label.
  nox::NoxGauge gauge;
  setuphostgauge(gauge, 62);
  const QStringList labels{"0", "20", "40", "60", "80", "100", "120"};
  gauge.setNoxGaugeStrings(labels.join(QLatin1Char(',')) + QStringLiteral(",X,X,X,CTS"));
  gauge.setNoxGaugeSetZones(50, 65, 80, 1);
  gauge.paintGauge(true);
  const QImage img = shot(gauge);
  ostrel::test::savescreenshot(&gauge, QStringLiteral("gauge_coolant"));
  ASSERT_EQ(img.size(), QSize(224, 208));

  // Each label is printed in the rim colour about the point beyond its graduation; none is cut off at an edge.
  const nox::bgr rim = nox::blendColor(0x403010, 0xF0F010, 40);
  const double radius = 1.24 * hostdial.radius(0.4);
  int printed = 0;
  for (const nox::Graduation& g : nox::graduations(7, 1)) {
    if (!g.labelled) continue;
    const QString& text = labels.at(g.label);
    const QRect box = labelbox(hostdial.point(radius, g.angle), static_cast<int>(text.size()));
    EXPECT_GE(ink(img, box, rim), 12) << "label " << text.toStdString();
    ++printed;
  }
  EXPECT_EQ(printed, 7);
  for (int y = 0; y < img.height(); ++y) {
    ASSERT_FALSE(near(img.pixelColor(img.width() - 1, y), rim, 40)) << "cut off at the right edge, row " << y;
    ASSERT_FALSE(near(img.pixelColor(0, y), rim, 40)) << "cut off at the left edge, row " << y;
  }

  // The needle at 62, and the zones from their new starts: 46 lay in the low zone before.
  EXPECT_TRUE(isneedle(pixelat(img, alongneedle(600, 62))));
  const double band = 0.28 * 3135;
  struct Zone {
    int value;
    nox::bgr colour;
  };
  for (const Zone z : {Zone{46, nox::blendColor(0x403010, 0xF0F010, 5)}, {56, nox::blendColor(0xF0F010, 0xC0F000, 20)},
                       {72, nox::blendColor(0xF0F010, 0x01F080, 20)}, {84, nox::blendColor(0xF0F010, 0x01F0F0, 20)}})
    EXPECT_TRUE(near(pixelat(img, alongneedle(band, z.value)), z.colour)) << "value " << z.value;
}

TEST(NoxGauge, AtHostSizeOnlyTheSurfaceShows) {
  nox::NoxGauge gauge;
  EXPECT_EQ(gauge.size(), QSize(266, 233));  // design size 3990 by 3495 twips
  gauge.resize(224, 208);
  for (const char* name : {"HScroll1", "Command1", "Command2"}) {
    const auto* child = gauge.findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(child, nullptr) << name;
    EXPECT_FALSE(child->geometry().intersects(gauge.rect())) << name;
  }
  EXPECT_STREQ(nox::noxgaugeclassname, "NoxVirtualGauge.NoxGauge");
}

TEST(NoxGauge, RefusedValuesChangeAndDrawNothing) {
  nox::NoxGauge gauge;
  setuphostgauge(gauge, 30);
  const QImage before = shot(gauge);

  EXPECT_FALSE(gauge.setNoxGaugeSetPointAndDraw(256, true));
  EXPECT_FALSE(gauge.setNoxGaugeSetPointAndDraw(-1, false));
  EXPECT_EQ(shot(gauge), before);

  // A refused zone call keeps all four old values, the ones before the bad value too.
  gauge.paintGauge(true);
  const QImage full = shot(gauge);
  EXPECT_FALSE(gauge.setNoxGaugeSetZones(10, 20, 300, 1));
  gauge.paintGauge(true);
  EXPECT_EQ(shot(gauge), full);
}

TEST(NoxGauge, TestControlsMoveTheNeedleAndRepaint) {
  nox::NoxGauge gauge;
  setuphostgauge(gauge, 0);
  auto* scroll = gauge.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
  ASSERT_NE(scroll, nullptr);
  scroll->setValue(100);
  EXPECT_TRUE(isneedle(pixelat(shot(gauge), alongneedle(600, 100))));
  EXPECT_FALSE(isneedle(pixelat(shot(gauge), alongneedle(600, 0))));

  // New colours show outside the inner dial only after a full repaint ("p"), not after "r".
  gauge.setNoxGaugeColors(0x000080, 0xF0F010, 0x00FFFF, 0x000000, 0xC0F000, 0x01F080, 0x01F0F0);
  const QPointF corner(30, 30);
  const QColor oldcorner = pixelat(shot(gauge), corner);
  QTest::mouseClick(gauge.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  EXPECT_EQ(pixelat(shot(gauge), corner), oldcorner);
  // A needle move redraws only the inner dial, whatever its redraw flag says.
  EXPECT_TRUE(gauge.setNoxGaugeSetPointAndDraw(70.5f, true));
  EXPECT_EQ(pixelat(shot(gauge), corner), oldcorner);
  EXPECT_TRUE(isneedle(pixelat(shot(gauge), alongneedle(600, 70))));
  QTest::mouseClick(gauge.findChild<QPushButton*>(QStringLiteral("Command2")), Qt::LeftButton);
  EXPECT_TRUE(near(pixelat(shot(gauge), corner), 0x000080, 0));
}
