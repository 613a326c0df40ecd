#include "mapviews/viewhelpers.h"

#include <gtest/gtest.h>

#include <limits>

#include "mapviews/keycodes.h"
#include "mapviewsfixture.h"

using namespace ostrel;
using test::MapViewsTest;

TEST(DecimalsForScale, FollowsTheStoredSingleValue) {
  const struct {
    float x;
    int decimals;
  } cases[] = {{1.0f, 0},   {100.0f, 0}, {0.1f, 1},   {0.25f, 1},   {0.5f, 1},    {14.7f, 1},  {0.05f, 1},
               {0.04f, 2},  {0.01f, 2},  {0.001f, 3}, {0.0039f, 3}, {0.0005f, 3}, {0.005f, 3}, {0.39f, 1},
               {0.019f, 2}, {0.147f, 1}, {0.0f, 0},   {-0.5f, 0},   {-14.7f, 0},  {0.0004f, 0}};
  for (const auto& c : cases) EXPECT_EQ(decimalsforscale(c.x), c.decimals) << c.x;
}

// Far beyond any map's multiplier the digits still come out, with no overflow.
TEST(DecimalsForScale, HugeAndInvalidMultipliersGiveAnAnswer) {
  EXPECT_EQ(decimalsforscale(3.0e9f), 0);
  EXPECT_EQ(decimalsforscale(2147483.75f), 1);
  EXPECT_EQ(decimalsforscale(std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(decimalsforscale(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(MapViewsTest, MapDisplayReadsTheDefinitionString) {
  const MapDisplay fuel = mapdisplay(model, state.guards, 0, 1);
  EXPECT_EQ(fuel.group, QStringLiteral("3D Fuel Calibration"));
  EXPECT_EQ(fuel.name, QStringLiteral("Base fuel table [RPM, LOAD]"));
  EXPECT_EQ(fuel.units, QStringLiteral("milliseconds"));
  EXPECT_FLOAT_EQ(fuel.gain, 0.005f);
  EXPECT_FLOAT_EQ(fuel.offset, 0.0f);

  const MapDisplay trim = mapdisplay(model, state.guards, 1, 1);
  EXPECT_FLOAT_EQ(trim.offset, -10.24f);

  // The AFR target maps are shown in the fuel type's ratio.
  EXPECT_FLOAT_EQ(mapdisplay(model, state.guards, 19, 1).gain, 0.01f * 14.7f);
  EXPECT_FLOAT_EQ(mapdisplay(model, state.guards, 19, 6).gain, 0.01f);
  EXPECT_FLOAT_EQ(mapdisplay(model, state.guards, 21, 2).gain, 0.01f * 9.0f);

  // A map beyond the last has no definition: empty fields, the raw value shown as it is.
  EXPECT_EQ(mapdisplay(model, state.guards, 116, 1).group, QString());
  EXPECT_FLOAT_EQ(mapdisplay(model, state.guards, 116, 1).gain, 1.0f);
  EXPECT_FLOAT_EQ(mapdisplay(model, state.guards, 116, 1).offset, 0.0f);
}

TEST_F(MapViewsTest, AMissingSeparatorLeavesEmptyFieldsAGainOfOneAndNoOffset) {
  struct Case {
    const char* definition;
    const char* group;
    const char* name;
    const char* units;
    float gain, offset;
  };
  const Case cases[] = {
      {"3D Engine Calibration:TPS:MAP weight [RPM, TPS];%_0.39|0", "3D Engine Calibration",
       "TPS:MAP weight [RPM, TPS]", "%", 0.39f, 0.0f},
      {"G:N;u_0.5|-64", "G", "N", "u", 0.5f, -64.0f},
      {"G:N;u_0.5", "G", "N", "u", 0.5f, 0.0f},
      {"G:N;u|3", "G", "N", "u|3", 1.0f, 0.0f},
      {"G:N;u", "G", "N", "u", 1.0f, 0.0f},
      {"G:N", "G", "N", "", 1.0f, 0.0f},
      {"no colon;u_2|1", "", "", "", 1.0f, 0.0f},
      {"G:N;u_x|y", "G", "N", "u", 1.0f, 0.0f},  // no numbers
      {"G:N;u_0,5|1", "G", "N", "u", 1.0f, 1.0f},  // a decimal comma is no number in the C locale
      {"", "", "", "", 1.0f, 0.0f},
  };
  for (const Case& c : cases) {
    const MapDisplay d = parsemapdefinition(QString::fromLatin1(c.definition), 1.0f);
    EXPECT_EQ(d.group, QString::fromLatin1(c.group)) << c.definition;
    EXPECT_EQ(d.name, QString::fromLatin1(c.name)) << c.definition;
    EXPECT_EQ(d.units, QString::fromLatin1(c.units)) << c.definition;
    EXPECT_FLOAT_EQ(d.gain, c.gain) << c.definition;
    EXPECT_FLOAT_EQ(d.offset, c.offset) << c.definition;
  }
  EXPECT_FLOAT_EQ(parsemapdefinition(QStringLiteral("G:N;u"), 14.7f).gain, 14.7f);
}

// The shown area is a count of grid positions for every map, whichever way the model answers.
TEST_F(MapViewsTest, ShownAreaCountsThePointsInUse) {
  openshipped();
  const struct {
    int map, across, down;
  } full[] = {{0, 32, 32},  {23, 32, 32}, {106, 32, 32}, {24, 16, 1}, {103, 16, 1},
              {104, 16, 8}, {105, 16, 8}, {110, 16, 16}, {116, 0, 0}, {-1, 0, 0}};
  for (const auto& c : full) {
    const ShownArea a = shownarea(model, state.guards, c.map);
    EXPECT_EQ(a.across, c.across) << c.map;
    EXPECT_EQ(a.down, c.down) << c.map;
  }

  // End markers in the spreads of settings map 110 (load row 4, rpm row 6) end the axes in use: 20 rpm points
  // across and 12 load points down.
  model.setdata(110, 6 + 19 / 16, 19 % 16, 255, false);
  model.setdata(110, 4 + 11 / 16, 11 % 16, 255, false);
  model.recalc();
  const ShownArea a = shownarea(model, state.guards, 8);
  EXPECT_EQ(a.across, 20);
  EXPECT_EQ(a.down, 12);
  EXPECT_TRUE(a.inside(19, 11));
  EXPECT_FALSE(a.inside(20, 11));
  EXPECT_FALSE(a.inside(19, 12));
  // The PWM maps keep their whole grid.
  EXPECT_EQ(shownarea(model, state.guards, 107).across, 32);
}

TEST(KeyCodes, QtKeysBecomeVirtualKeyCodes) {
  const struct {
    int qtkey;
    bool keypad;
    int code;
  } cases[] = {{Qt::Key_Return, false, 13}, {Qt::Key_Enter, true, 13},     {Qt::Key_Space, false, 32},
               {Qt::Key_PageUp, false, 33}, {Qt::Key_PageDown, false, 34}, {Qt::Key_Left, false, 37},
               {Qt::Key_Up, false, 38},     {Qt::Key_Right, false, 39},    {Qt::Key_Down, false, 40},
               {Qt::Key_A, false, 65},      {Qt::Key_T, false, 84},        {Qt::Key_Z, false, 90},
               {Qt::Key_F1, false, 112},    {Qt::Key_F9, false, 120},      {Qt::Key_Plus, false, 187},
               {Qt::Key_Equal, false, 187}, {Qt::Key_Minus, false, 189},   {Qt::Key_Plus, true, 107},
               {Qt::Key_Minus, true, 109},  {Qt::Key_5, false, 53},        {Qt::Key_Control, false, 17},
               {Qt::Key_Shift, false, 16},  {Qt::Key_Launch0, false, 0}};
  for (const auto& c : cases) EXPECT_EQ(virtualkeycode(c.qtkey, c.keypad), c.code) << c.qtkey;
  EXPECT_EQ(shiftmask(Qt::ShiftModifier), 1);
  EXPECT_EQ(shiftmask(Qt::ControlModifier), 2);
  EXPECT_EQ(shiftmask(Qt::AltModifier | Qt::ShiftModifier), 5);
  EXPECT_EQ(shiftmask(Qt::KeypadModifier), 0);
}
