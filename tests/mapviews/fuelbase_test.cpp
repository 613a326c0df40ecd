// The two fuel base migrations: the cell arithmetic with its limits, and the conversion of the whole map.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "mapviews/fuelbaseconversion.h"
#include "tuningfixture.h"

using namespace ostrel;

namespace {

TEST(FuelBaseCells, PulseWidthsAndVolumetricEfficienciesBecomeCells) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<std::pair<float, int>> pulses = {{1.0f, 200}, {50.0f, 8000}, {40.0f, 8000},  {0.0f, 0},
                                                     {2.5f, 500}, {0.01f, 2},    {1.0e9f, 8000}, {inf, 0},
                                                     {-inf, 0},   {nan, 0},      {-1.0f, 0}};
  for (const auto& [ms, raw] : pulses) EXPECT_EQ(pulsewidthraw(ms), raw) << ms;
  const std::vector<std::pair<float, int>> ves = {{80.0f, 80}, {300.0f, 255},  {255.5f, 255}, {254.5f, 254},
                                                  {-3.0f, 0},  {1.0e12f, 255}, {inf, 0},      {nan, 0}};
  for (const auto& [ve, raw] : ves) EXPECT_EQ(veraw(ve), raw) << ve;
}

using FuelBaseTest = test::TuningTest;

// Settings cells the formulas read: injector flow and cylinder capacity.
constexpr int settingsmap = 110;

TEST_F(FuelBaseTest, VeToFuelBaseFillsEveryCellFromTheFormula) {
  rig.mainmaps.clearchange();
  rig.state.curmap = 8;
  tools.convertfuelbase(vetofuelbase);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      ASSERT_EQ(rig.mainmaps.getdata(0, r, c), pulsewidthraw(rig.mainmaps.getVEPW(r, c))) << r << "," << c;
      ASSERT_TRUE(rig.mainmaps.getchange(0, r, c)) << "every cell marked, also unchanged ones";
    }
  EXPECT_EQ(rig.state.curmap, 0);
  EXPECT_EQ(host.calls, std::vector<QString>{QStringLiteral("openmapview")});
  EXPECT_TRUE(rig.state.pendingwrite.empty()) << "not written to the ECU";
}

TEST_F(FuelBaseTest, NoInjectorFlowGivesNoPulseWidth) {
  rig.mainmaps.setdata(settingsmap, 9, 14, 0, false);
  tools.convertfuelbase(vetofuelbase);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) ASSERT_EQ(rig.mainmaps.getdata(0, r, c), 0) << r << "," << c;
}

TEST_F(FuelBaseTest, PulseWidthsBeyondTheCellAreLimitedAndEveryCellIsStored) {
  // The smallest injector flow and AFR target with a full VE map ask for pulse widths far beyond 16 bits.
  rig.mainmaps.setdata(settingsmap, 9, 14, 1, false);
  rig.mainmaps.setdata(settingsmap, 10, 7, 255, false);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      rig.mainmaps.setdata(4, r, c, 255, false);
      rig.mainmaps.setdata(19, r, c, 1, false);
    }
  ASSERT_GT(rig.mainmaps.getVEPW(31, 31) / 0.005, 32767.0);
  tools.convertfuelbase(vetofuelbase);
  EXPECT_EQ(rig.mainmaps.getdata(0, 31, 31), 8000);
  for (int r = 0; r < 32; ++r)
    for (int c = 1; c < 32; ++c) ASSERT_EQ(rig.mainmaps.getdata(0, r, c), 8000) << r << "," << c;
}

TEST_F(FuelBaseTest, FuelBaseToVeLimitsTo255AndTheNoLoadColumnTakesColumnOne) {
  rig.mainmaps.setdata(settingsmap, 9, 14, 255, false);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      rig.mainmaps.setdata(0, r, c, 8000, false);
      rig.mainmaps.setdata(19, r, c, 255, false);
    }
  ASSERT_GT(rig.mainmaps.getPWVE(5, 5), 255.0f);
  tools.convertfuelbase(fuelbasetove);
  EXPECT_EQ(rig.state.curmap, 4);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) ASSERT_EQ(rig.mainmaps.getdata(4, r, c), 255) << r << "," << c;
}

TEST_F(FuelBaseTest, TheNoLoadColumnOfVeIsItsRebuiltColumnOne) {
  // The shipped base fuel table converted back: column 0 repeats the new column 1, not the old one.
  for (int r = 0; r < 32; ++r) rig.mainmaps.setdata(4, r, 1, 3, false);
  const auto cells = fuelbasecells(rig.mainmaps, fuelbasetove);
  ASSERT_TRUE(cells);
  tools.convertfuelbase(fuelbasetove);
  for (int r = 0; r < 32; ++r) {
    EXPECT_EQ(rig.mainmaps.getdata(4, r, 0), rig.mainmaps.getdata(4, r, 1)) << r;
    EXPECT_EQ(rig.mainmaps.getdata(4, r, 1), veraw(rig.mainmaps.getPWVE(r, 1))) << r;
    for (int c = 0; c < 32; ++c) ASSERT_EQ(rig.mainmaps.getdata(4, r, c), (*cells)[r][c]);
  }
}

TEST_F(FuelBaseTest, AnotherDirectionChangesNothing) {
  rig.state.curmap = 8;
  const CalibrationImage before = rig.mainmaps.getimage();
  for (int direction : {2, -1, 255}) {
    EXPECT_FALSE(fuelbasecells(rig.mainmaps, direction));
    tools.convertfuelbase(direction);
  }
  EXPECT_EQ(rig.mainmaps.getimage(), before);
  EXPECT_EQ(rig.state.curmap, 8);
  EXPECT_TRUE(host.calls.empty());
}

}  // namespace
