#include "gauge/gaugemath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nox;

namespace {

int red(bgr c) {
  return static_cast<int>(c & 0xFF);
}
int green(bgr c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
int blue(bgr c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

}  // namespace

TEST(ValueToAngle, RunsFromLowerLeftOverTheTopToLowerRightInSinglePrecision) {
  EXPECT_EQ(valueToAngle(0), 5.205f);
  EXPECT_EQ(valueToAngle(50), static_cast<float>(5.205 - 0.0414 * 50));
  EXPECT_NEAR(valueToAngle(50), 3.135f, 1e-6);
  EXPECT_EQ(valueToAngle(100), static_cast<float>(5.205 - 4.14));
  EXPECT_NEAR(valueToAngle(100), 1.065f, 1e-6);
  // Past the end of the scale the needle keeps turning clockwise.
  EXPECT_NEAR(valueToAngle(255), 5.205f - 10.557f, 1e-5);

  // On screen: 0 lower left, 50 at the top, 100 lower right (y grows downward).
  const Dial dial{3375, 3135};
  const QPointF c = dial.centre();
  const QPointF low = dial.point(1000, valueToAngle(0));
  const QPointF top = dial.point(1000, valueToAngle(50));
  const QPointF high = dial.point(1000, valueToAngle(100));
  EXPECT_LT(low.x(), c.x());
  EXPECT_GT(low.y(), c.y());
  EXPECT_NEAR(top.x(), c.x(), 10);
  EXPECT_LT(top.y(), c.y() - 990);
  EXPECT_GT(high.x(), c.x());
  EXPECT_GT(high.y(), c.y());
}

TEST(BlendColor, MixesChannelsAndRoundsHalvesToEven) {
  struct Case {
    bgr a, b;
    float percent;
    int r, g, bl;
  };
  const Case cases[] = {
      {0x0000FF, 0xFF0000, 40, 102, 0, 153},  // red with blue
      {0x123456, 0xABCDEF, 100, 0x56, 0x34, 0x12}, {0x123456, 0xABCDEF, 0, 0xEF, 0xCD, 0xAB},
      {0x000001, 0x000000, 50, 0, 0, 0},        // 0.5 to even 0
      {0x000003, 0x000000, 50, 2, 0, 0},        // 1.5 to even 2
      {0x000500, 0x000000, 50, 0, 2, 0},        // 2.5 to even 2
      {0x403010, 0xFFFFFF, 86.5f, 48, 76, 90},  // last gradient band: 13.5 % white
  };
  for (const Case& c : cases) {
    const bgr out = blendColor(c.a, c.b, c.percent);
    EXPECT_EQ(red(out), c.r) << std::hex << c.a << " " << c.b << " " << c.percent;
    EXPECT_EQ(green(out), c.g) << std::hex << c.a << " " << c.b << " " << c.percent;
    EXPECT_EQ(blue(out), c.bl) << std::hex << c.a << " " << c.b << " " << c.percent;
    EXPECT_EQ(out >> 24, 0u);
  }
  // A colour with a stray high byte never yields a channel above 255.
  EXPECT_EQ(blue(blendColor(0x7F000000, 0x7F000000, 50)), 255);
}

TEST(ToByte, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
  struct Case {
    double in;
    int out;  // -1: refused
  };
  const Case cases[] = {{70.5, 70},  {71.5, 72},    {0, 0},    {-0.5, 0}, {-0.51, -1}, {255, 255},
                        {255.5, -1}, {255.49, 255}, {256, -1}, {-1, -1},  {NAN, -1},   {INFINITY, -1}};
  for (const Case& c : cases) {
    const auto b = tobyte(c.in);
    if (c.out < 0) {
      EXPECT_FALSE(b.has_value()) << c.in;
    } else {
      ASSERT_TRUE(b.has_value()) << c.in;
      EXPECT_EQ(*b, c.out) << c.in;
    }
  }
}

TEST(Dial, HostSizeGeometry) {
  // The surface the host shows: 3375 by 3135 twips.
  const Dial dial{3375, 3135};
  EXPECT_EQ(dial.radius(0.4), 1254);
  EXPECT_EQ(dial.centre(), QPointF(1687.5, 1697.5));
  // The graduations end 125 twips outside the rim.
  EXPECT_NEAR(1.1 * dial.radius(0.4) - dial.radius(0.4), 125.4, 1e-9);
  // round(k x H) halves to even: 0.1 x 3135 = 313.5 gives 314, 0.37 x 3135 = 1159.95 gives 1160.
  EXPECT_EQ(dial.radius(0.1), 314);
  EXPECT_EQ(dial.radius(0.37), 1160);
  EXPECT_EQ(dial.radius(0.25), 784);
}

TEST(ZoneEdge, FollowsItsOwnLinearRule) {
  EXPECT_NEAR(zoneedgeangle(80), 0.34, 1e-12);
  EXPECT_NEAR(zoneedgeangle(1), 3.658, 1e-12);
}

TEST(Graduations, SixLabelsWithOneMinorMarkBetween) {
  const auto marks = graduations(6, 1);
  ASSERT_EQ(marks.size(), 11u);
  for (std::size_t i = 0; i < marks.size(); ++i) {
    EXPECT_EQ(marks[i].labelled, i % 2 == 0) << i;
    EXPECT_NEAR(marks[i].angle, 1.065 + i * 0.414, 1e-9) << i;
  }
  // "100" (label 5) at the lower right first, "0" (label 0) at the lower left last.
  EXPECT_EQ(marks.front().label, 5);
  EXPECT_EQ(marks.back().label, 0);
  EXPECT_EQ(marks[4].label, 3);
}

TEST(Graduations, EdgeCounts) {
  // Ten labels, no minor marks: every mark labelled, evenly from 100 to 0.
  const auto ten = graduations(10, 0);
  ASSERT_EQ(ten.size(), 10u);
  for (std::size_t i = 0; i < ten.size(); ++i) {
    EXPECT_TRUE(ten[i].labelled);
    EXPECT_EQ(ten[i].label, 9 - static_cast<int>(i));
  }
  EXPECT_NEAR(ten.back().angle, 5.205, 1e-12);

  // Many minor marks: the stored count is not limited.
  const auto dense = graduations(10, 255);
  EXPECT_EQ(dense.size(), 9u * 256u + 1u);

  // One label has no span to divide: a single labelled mark at the low end, and no division by zero.
  for (int count : {1, 0}) {
    const auto one = graduations(count, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_TRUE(one[0].labelled);
    EXPECT_EQ(one[0].label, 0);
    EXPECT_NEAR(one[0].angle, 5.205, 1e-12);
    EXPECT_TRUE(std::isfinite(one[0].angle));
  }
}
