#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <limits>

#include "calibration/maps.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

class Axes : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps m{prompts};

  // Load increment i lives in row 4 (0-15) and row 5 (16-30) of map 110, the rpm increments in rows 6 and 7.
  void setloadincrement(int i, int value) { m.setdata(110, 4 + i / 16, i % 16, value, false); }
  void setrpmincrement(int i, int value) { m.setdata(110, 6 + i / 16, i % 16, value, false); }
  void setallincrements(int load, int rpm) {
    for (int i = 0; i <= 30; ++i) {
      setloadincrement(i, load);
      setrpmincrement(i, rpm);
    }
  }
  QString label(const QString& labels, int index) const { return labels.split(';').value(index); }
};

}  // namespace

TEST_F(Axes, EvenLoadAndRpmSpreads) {
  setallincrements(24, 100);
  m.recalc();
  EXPECT_TRUE(m.getscalestringY(0, false).startsWith("760 mmHg;736 mmHg;712 mmHg;"));
  EXPECT_TRUE(m.getscalestringY(0, true).startsWith("0 kPa;3 kPa;6 kPa;"));
  EXPECT_TRUE(m.getscalestringY(0, false).endsWith(";16 mmHg; "));  // 744 mmHg absolute, then the closing blank
  EXPECT_TRUE(m.getscalestringX(0, true).startsWith("0 rpm;500 rpm;1000 rpm;"));
  EXPECT_TRUE(m.getscalestringX(0, false).endsWith(";15500 rpm; "));
  EXPECT_EQ(m.getscalestringX(0, true).split(';').size(), 33);
  EXPECT_EQ(m.getlastshowrow(0), 32);
  EXPECT_EQ(m.getlastshowcol(0), 32);
}

TEST_F(Axes, AtmosphereAndBoostLabels) {
  for (int i = 0; i <= 18; ++i) setloadincrement(i, 40);  // breakpoint 19 = 760 mmHg
  setloadincrement(19, 240);                              // breakpoint 20 = 1000 mmHg
  for (int i = 20; i <= 30; ++i) setloadincrement(i, 254);
  m.recalc();
  const QString metric = m.getscalestringY(0, true), imperial = m.getscalestringY(0, false);
  EXPECT_EQ(label(imperial, 19), "0 mmHg");
  EXPECT_EQ(label(metric, 19), "101 kPa");
  EXPECT_EQ(label(imperial, 20), "4.7 psi");
  EXPECT_EQ(label(metric, 20), "134 kPa");
  EXPECT_EQ(label(metric, 18), "96 kPa");  // 720 / 7.5
  // 1000 + 11 x 254 = 3794 mmHg: 59.5 psi and 517 kPa; larger pressures group their thousands.
  EXPECT_EQ(label(imperial, 31), "59.5 psi");
  EXPECT_EQ(label(metric, 31), "517 kPa");
  setallincrements(254, 0);
  m.recalc();
  EXPECT_EQ(label(m.getscalestringY(0, true), 31), "1,076 kPa");  // 7874 mmHg
}

TEST_F(Axes, LoadLabelsRoundToWholeKpaAndTakeBytes) {
  setloadincrement(0, 15);  // 2 kPa exactly
  setloadincrement(1, 4);   // 19 / 7.5 = 2.53
  m.recalc();
  EXPECT_EQ(label(m.getscalestringY(0, true), 1), "2 kPa");
  EXPECT_EQ(label(m.getscalestringY(0, true), 2), "3 kPa");
  setallincrements(0, 0);
  setloadincrement(0, 766);  // not a byte: limited to 255
  m.recalc();
  EXPECT_EQ(label(m.getscalestringY(0, false), 1), "505 mmHg");
}

TEST_F(Axes, TheFirstEndMarkerDecidesWhatIsShown) {
  setallincrements(24, 100);
  setrpmincrement(20, 255);
  setrpmincrement(25, 255);
  setloadincrement(30, 255);
  m.recalc();
  EXPECT_EQ(m.getlastshowcol(0), 21);
  EXPECT_EQ(m.getlastshowrow(7), 31);
  // The sums run on through the markers: all 31 increments count, 29 x 100 + 2 x 255.
  EXPECT_EQ(label(m.getscalestringX(0, true), 31), QString::number((29 * 100 + 2 * 255) * 5) + " rpm");
  EXPECT_EQ(m.getscalestringX(0, true).split(';').size(), 33);
}

TEST_F(Axes, ThreeDimensionalMapsShareMapZeroLabels) {
  setallincrements(24, 100);
  m.recalc();
  const QString x = m.getscalestringX(0, true), y = m.getscalestringY(0, false);
  for (int map = 1; map <= 23; ++map) EXPECT_EQ(m.getscalestringX(map, true), x) << map;
  for (int map : {1, 3, 4, 8, 11, 12, 15, 17, 18, 19, 21, 22, 23}) EXPECT_EQ(m.getscalestringY(map, false), y) << map;
  for (int map : {2, 5, 6, 7, 9, 10, 13, 14, 16, 20})
    EXPECT_TRUE(m.getscalestringY(map, false).startsWith("0%;3%;6%;")) << map;
  EXPECT_TRUE(m.getscalestringX(24, true).startsWith("-20 C;"));  // 2-D maps keep their own
}

TEST_F(Axes, PwmAxesFollowTheirVariables) {
  setallincrements(24, 100);
  m.setdata(110, 3, 0, 2, false);    // map 88: engine speed, 16 points
  m.setdata(110, 3, 8, 2, false);    // map 106 X: engine speed, 32 points
  m.setdata(110, 3, 12, 3, false);   // map 106 Y: tps
  m.setdata(110, 3, 9, 30, false);   // map 107 X: the rpm breakpoints
  m.setdata(110, 3, 13, 29, false);  // map 107 Y: the load breakpoints
  m.setdata(110, 3, 10, 29, false);  // map 108 X: the load breakpoints
  m.recalc();
  EXPECT_EQ(m.getscalestringX(88, true),
            "0 RPM;850 RPM;1700 RPM;2550 RPM;3400 RPM;4250 RPM;5100 RPM;5950 RPM;6800 RPM;7650 RPM;8500 RPM;9350 RPM;"
            "10200 RPM;11050 RPM;11900 RPM;12750 RPM;***");
  EXPECT_TRUE(m.getscalestringX(106, false).startsWith("0 rpm;410 rpm;820 rpm;"));
  EXPECT_EQ(m.getscalestringX(106, false).split(';').size(), 33);
  EXPECT_TRUE(m.getscalestringY(106, true).startsWith("0 %;3 %;7 %;"));
  EXPECT_EQ(m.getscalestringX(107, true), m.getscalestringX(0, true));
  EXPECT_EQ(m.getscalestringY(107, false), m.getscalestringY(0, false));
  EXPECT_EQ(m.getscalestringX(108, true), m.getscalestringY(0, true));

  // 128 and more leave the strings as they were.
  const QString before = m.getscalestringX(107, true);
  m.setdata(110, 3, 9, 200, false);
  m.setdata(110, 3, 1, 128, false);
  m.recalc();
  EXPECT_EQ(m.getscalestringX(107, true), before);
  EXPECT_TRUE(m.getscalestringX(89, true).startsWith("-20 C;-3 C;"));  // still variable 0 from creation
}

TEST_F(Axes, VariableLabelsCoverEveryVariable) {
  for (int v = 0; v < 128; ++v) {
    m.setdata(110, 3, 0, v, false);
    m.setdata(110, 3, 8, v, false);
    m.recalc();
    for (bool metric : {true, false}) {
      const QStringList x16 = m.getscalestringX(88, metric).split(';');
      const QStringList x32 = m.getscalestringX(106, metric).split(';');
      ASSERT_EQ(x16.size(), 17) << v;
      ASSERT_EQ(x32.size(), 33) << v;
      EXPECT_EQ(x16.last(), "***") << v;
      EXPECT_EQ(x32.last(), v == 29 || v == 30 ? " " : "***") << v;  // the spreads show the 3-D breakpoints
      if (v >= 83) {
        EXPECT_EQ(x16.first(), "***") << v;
        EXPECT_EQ(x32.first(), " ") << v;
      } else {
        EXPECT_NE(x16.first(), "***") << v;
        for (const QString& item : x32.mid(0, 32)) EXPECT_FALSE(item.contains(',')) << v;  // C locale
      }
    }
  }
  m.setdata(110, 3, 0, 0, false);
  m.setdata(110, 3, 8, 0, false);
  m.recalc();
  EXPECT_EQ(m.getscalestringX(88, false),
            "-4 F;27 F;57 F;88 F;118 F;151 F;181 F;212 F;243 F;273 F;304 F;334 F;365 F;396 F;428 F;457 F;***");
  m.setdata(110, 3, 0, 7, false);
  m.recalc();
  EXPECT_TRUE(m.getscalestringX(88, false).startsWith("-4 F;27 F;57 F;"));  // air temp, same scale as coolant
  EXPECT_TRUE(m.getscalestringX(88, true).startsWith("-20 C;-3 C;14 C;"));
}

TEST_F(Axes, InterpolationBetweenCells) {
  m.setdata(12, 0, 0, 10, false);
  m.setdata(12, 0, 1, 20, false);
  m.setdata(12, 1, 0, 30, false);
  m.setdata(12, 1, 1, 40, false);
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, 0, 0), 10);
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, 1, 1), 40);
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, 0.5f, 0.5f), 25);
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, 0.25f, 0), 15);  // x moves along the rows
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, 0, 0.25f), 12.5f);

  m.setdata(0, 31, 31, 8000, false);
  const float corner = m.interpdatabyte(0, 31.5f, 31.5f);
  EXPECT_FLOAT_EQ(corner, m.interpdatabyte(0, 30.999f, 30.999f));
  EXPECT_NEAR(corner, 8000 * 0.999 * 0.999, 0.05);

  // Positions below the grid, NaN and infinity stay on the grid.
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, -4, -1), 10);
  EXPECT_FLOAT_EQ(m.interpdatabyte(12, std::nanf(""), 0), 10);
  EXPECT_FLOAT_EQ(m.interpdatabyte(0, std::numeric_limits<float>::infinity(), 40), corner);
}

TEST_F(Axes, Checksums) {
  for (int c = 0; c < 16; ++c) m.setdata(30, 0, c, 1, false);
  EXPECT_EQ(m.getchecksum(30), 4104);
  EXPECT_EQ(m.getchecksum(31), 0);
  m.setdata(0, 17, 3, 300, false);
  EXPECT_EQ(m.getchecksum(0), 11564);

  // Byte maps pair neighbouring cells: products of (a, b) pairs, not of every cell.
  m.setdata(110, 0, 0, 3, false);
  m.setdata(110, 0, 1, 5, false);
  m.setdata(110, 0, 2, 7, false);
  EXPECT_EQ(m.getchecksum(110), (3 + 5 + 7) * 256 + 15);
  // Both sums wrap at 256.
  for (int c = 0; c < 32; ++c) m.setdata(106, 0, c, 255, false);
  EXPECT_EQ(m.getchecksum(106), (32 * 255 % 256) * 256 + (16 * 255 * 255) % 256);
  EXPECT_EQ(m.getchecksum(116), 0);
  EXPECT_EQ(m.getchecksum(-1), 0);
}

TEST_F(Axes, ChecksumIsOfTheInstanceItIsAskedOf) {
  maps second{prompts};
  for (int c = 0; c < 16; ++c) second.setdata(30, 0, c, 1, false);
  EXPECT_EQ(second.getchecksum(30), 4104);
  EXPECT_EQ(m.getchecksum(30), 0);
}

TEST_F(Axes, SpecialMultipliers) {
  const struct {
    int map, fuel;
    float mul;
  } cases[] = {{19, 1, 14.7f}, {19, 2, 9.0f}, {21, 3, 6.4f}, {110, 4, 14.1f}, {19, 5, 9.8f},  {110, 6, 1.0f},
               {21, 0, 0.0f},  {19, 7, 0.0f}, {20, 3, 1.0f}, {0, 0, 1.0f},    {111, 1, 1.0f}, {200, 1, 1.0f}};
  for (const auto& c : cases) EXPECT_EQ(m.getspecialmul(c.map, c.fuel), c.mul) << c.map << " " << c.fuel;
  EXPECT_EQ(m.getspecialmul(19, 1), 14.6999998f);
}

TEST_F(Axes, VeAndPulseWidthConvertBothWays) {
  setallincrements(76, 100);  // load breakpoint j = 0.1 j atmospheres
  m.recalc();
  m.setdata(110, 10, 7, 200, false);  // cylinder capacity
  m.setdata(110, 9, 14, 250, false);  // injector flow
  for (int j = 0; j < 32; ++j) {
    m.setdata(19, 3, j, 147, false);
    m.setdata(4, 3, j, 80 + j, false);
  }
  const double expected = 0.2 * 4.453 * 200 * 82 / (250.0 * 147);
  EXPECT_FLOAT_EQ(m.getVEPW(3, 2), static_cast<float>(expected));
  EXPECT_EQ(m.getVEPW(3, 0), 0.0f);  // no load
  m.setdata(4, 3, 5, 0, false);
  EXPECT_EQ(m.getVEPW(3, 5), 0.0f);

  // Fill map 0 from the VE map and convert back: the VE comes back for every load from breakpoint k = 2 up.
  for (int j = 0; j < 32; ++j) m.setdata(0, 3, j, m.getVEPW(3, j) / 0.005, false);
  for (int j = 2; j < 32; ++j) EXPECT_NEAR(m.getPWVE(3, j), j == 5 ? 0 : 80 + j, 0.6) << j;  // map 0 rounds
  // Below k the pulse width is a straight line from 0 up to breakpoint k; at load 0 the VE map answers.
  const double half = 0.5 * m.getdata(0, 3, 2) * 0.005 * 250 * 147 / (0.1 * 4.453 * 200);
  EXPECT_FLOAT_EQ(m.getPWVE(3, 1), static_cast<float>(half));
  EXPECT_EQ(m.getPWVE(3, 0), 81.0f);
}

TEST_F(Axes, ZeroDivisorsGiveZero) {
  setallincrements(76, 100);
  m.recalc();
  m.setdata(4, 0, 4, 90, false);
  m.setdata(0, 0, 4, 500, false);
  m.setdata(19, 0, 4, 147, false);
  m.setdata(110, 10, 7, 200, false);
  m.setdata(110, 9, 14, 0, false);  // no injector flow
  EXPECT_EQ(m.getVEPW(0, 4), 0.0f);
  m.setdata(110, 9, 14, 250, false);
  m.setdata(19, 0, 4, 0, false);  // no AFR target
  EXPECT_EQ(m.getVEPW(0, 4), 0.0f);
  m.setdata(19, 0, 4, 147, false);
  m.setdata(110, 10, 7, 0, false);  // no cylinder capacity
  EXPECT_EQ(m.getPWVE(0, 4), 0.0f);
  m.setdata(110, 10, 7, 200, false);
  EXPECT_GT(m.getPWVE(0, 4), 0.0f);
  setallincrements(0, 0);  // every load breakpoint 0
  m.recalc();
  EXPECT_EQ(m.getPWVE(0, 4), 0.0f);
  EXPECT_EQ(m.getVEPW(0, 4), 0.0f);
  // Cells off the grid read as empty.
  EXPECT_EQ(m.getVEPW(40, -2), 0.0f);
  EXPECT_EQ(m.getPWVE(-1, 40), 0.0f);
}
