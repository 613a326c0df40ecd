#include <gtest/gtest.h>

#include <QStringList>
#include <set>

#include "calibration/maps.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

class MapCatalogue : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps m{prompts};
};

struct Geometry {
  int first, last, kind, rows, cols;
};

constexpr Geometry geometry[] = {
    {0, 23, 0, 32, 32},    {24, 103, 1, 1, 16},   {104, 104, 2, 8, 16}, {105, 105, 3, 8, 16},
    {106, 109, 0, 32, 32}, {110, 115, 4, 16, 16}, {116, 116, 4, 0, 0},  {200, 200, 4, 0, 0},
};

QStringList items(const QString& labels) {
  return labels.split(QLatin1Char(';'));
}

}  // namespace

TEST_F(MapCatalogue, KindRowsAndColumnsOfEveryMap) {
  for (const Geometry& g : geometry) {
    for (int map = g.first; map <= g.last; ++map) {
      EXPECT_EQ(m.getcontextandtype(map), g.kind) << map;
      EXPECT_EQ(m.getmaprows(map), g.rows) << map;
      EXPECT_EQ(m.getmapcols(map), g.cols) << map;
    }
  }
  EXPECT_EQ(m.getcontextandtype(-1), 4);
  EXPECT_EQ(m.getmaprows(-1), 0);
}

TEST_F(MapCatalogue, GroupsOfEveryMap) {
  for (int map = 0; map < 116; ++map) {
    EXPECT_EQ(m.mapisgroup(map), map < 104) << map;
    EXPECT_EQ(m.getgroupbyselected(map), map < 104 ? map / 8 * 8 : map) << map;
  }
  EXPECT_FALSE(m.mapisgroup(116));
  EXPECT_FALSE(m.mapisgroup(200));
  EXPECT_EQ(m.getgroupbyselected(200), 200);

  const std::pair<const char*, int> names[] = {
      {"3D Fuel Calibration", 0},
      {"3D Ignition Calibration", 8},
      {"3D Engine Calibration", 16},
      {"2D Fuel Trims", 24},
      {"2D Ignition Trims", 32},
      {"2D Engine Calibration", 40},
      {"2D Boost Control", 48},
      {"2D Idle Speed Control", 56},
      {"2D Starting", 64},
      {"2D Closed Loop", 72},
      {"2D Gear", 80},
      {"2D PWM", 88},
      {"2D Expansion", 96},
      {"Comments", 104},
      {"Passwords", 105},
      {"3D PWM 9", 106},
      {"3D PWM 12", 109},
      {"Settings 1", 110},
      {"Settings 6", 115},
      {"2d pwm", -1},
      {"2D PWM ", -1},
      {"", -1},
  };
  for (const auto& [name, group] : names) EXPECT_EQ(m.getmapgroupindex(QString::fromLatin1(name)), group) << name;

  // Every definition string starts with the name of the group its map belongs to.
  for (int map = 0; map < 116; ++map) {
    const QString group = m.getmapname(map).section(QLatin1Char(':'), 0, 0);
    EXPECT_EQ(m.getmapgroupindex(group), m.getgroupbyselected(map)) << map;
  }
}

TEST_F(MapCatalogue, DefinitionStringsOfEachKind) {
  const std::pair<int, const char*> cases[] = {
      {0, "3D Fuel Calibration:Base fuel table [RPM, LOAD];milliseconds_0.005|0"},
      {1, "3D Fuel Calibration:Anti-lag fuel trim [RPM, LOAD];milliseconds_0.08|-10.24"},
      {15, "3D Ignition Calibration:***IC [RPM, LOAD];degrees_1|0"},
      {16, "3D Engine Calibration:TPS:MAP weight [RPM, TPS];%_0.39|0"},
      {19, "3D Engine Calibration:AFR/LAMBDA target [RPM, LOAD];AFR/LAMBDA units_0.01|0"},
      {24, "2D Fuel Trims:Coolant temp fuel trim [CTS];%_0.5|0"},
      {31, "2D Fuel Trims:AC enrichment decay [Cycles/Time@2000rpm];% remains_0.39|0"},
      {38, "2D Ignition Trims:***ITC [];unknown_1|-128"},
      {46, "2D Engine Calibration:Rapid setup trim [MAP];%_1|-128"},
      {78, "2D Closed Loop:Start delay [CTS];Cycles / (0 - 2min @ 2000 rpm)_8|0"},
      {87, "2D Gear:Boost trim [Gear];MAP units_0.3|-38.4"},
      {88, "2D PWM:PWM MAP 1 duty [coolant temp];%_0.39|0"},
      {95, "2D PWM:PWM MAP 8 duty [coolant temp];%_0.39|0"},
      {96, "2D Expansion:***EXA [];%_0.39|0"},
      {103, "2D Expansion:***EXH [];%_0.39|0"},
      {104, "Comments:Cmnts;%_0.39|0"},
      {105, "Passwords:Psswds;%_0.39|0"},
      {106, "3D PWM 9:PWM MAP 9 [X = coolant temp,Y = coolant temp];%_0.39|0"},
      {109, "3D PWM 12:PWM MAP 12 [X = coolant temp,Y = coolant temp];%_0.39|0"},
      {110, "Settings 1:Settings group 1;%_0.39|0"},
      {111, "Settings 2:Settings group 2;%_0.39|0"},
      {112, "Settings 3:Settings group 3 [];%_0.39|0"},
      {115, "Settings 6:Settings group 6 [];%_0.39|0"},
      {116, ""},
      {200, ""},
  };
  for (const auto& [map, text] : cases) EXPECT_EQ(m.getmapname(map), QString::fromLatin1(text)) << map;
}

TEST_F(MapCatalogue, DefinitionStringsSplitAtTheFirstSeparators) {
  // The navigation tree takes the pieces at the first ":", ";", "_" and "|"; every map must give it five pieces.
  for (int map = 0; map < 116; ++map) {
    const QString s = m.getmapname(map);
    const int colon = s.indexOf(':'), semi = s.indexOf(';'), under = s.indexOf('_'), bar = s.indexOf('|');
    ASSERT_TRUE(colon > 0 && semi > colon && under > semi && bar > under) << map << " " << s.toStdString();
    EXPECT_EQ(s.count(';'), 1) << map;
    EXPECT_EQ(s.count('|'), 1) << map;
    bool ok = false;
    s.mid(under + 1, bar - under - 1).toDouble(&ok);
    EXPECT_TRUE(ok) << map;
    s.mid(bar + 1).toDouble(&ok);
    EXPECT_TRUE(ok) << map;
  }
  const QString s16 = m.getmapname(16);
  EXPECT_EQ(s16.left(s16.indexOf(':')), "3D Engine Calibration");
  EXPECT_EQ(s16.mid(s16.indexOf(':') + 1, s16.indexOf(';') - s16.indexOf(':') - 1), "TPS:MAP weight [RPM, TPS]");
}

TEST_F(MapCatalogue, UnitsAndScalesOfEveryMapReadBackFromTheDefinition) {
  struct Scale {
    int map;
    const char* units;
    double mul, offset;
  };
  const Scale cases[] = {{0, "milliseconds", 0.005, 0},
                         {4, "%", 1, 0},
                         {8, "degrees btdc", 0.5, 0},
                         {20, "kPa", 0.4, 0},
                         {25, "%", 0.2, -25.6},
                         {42, "volts", 0.019, 0},
                         {43, "rpm", 8, 0},
                         {45, "milliseconds", 0.04, -5.12},
                         {54, "unknown", 0.1, -12.8},
                         {83, "mmHg", 3, 0},
                         {85, "%", 0.4, 0},
                         {69, "milliseconds", 1, 0},
                         {110, "%", 0.39, 0}};
  for (const Scale& c : cases) {
    const QString s = m.getmapname(c.map);
    const int semi = s.indexOf(';'), under = s.indexOf('_'), bar = s.indexOf('|');
    EXPECT_EQ(s.mid(semi + 1, under - semi - 1), QString::fromLatin1(c.units)) << c.map;
    EXPECT_DOUBLE_EQ(s.mid(under + 1, bar - under - 1).toDouble(), c.mul) << c.map;
    EXPECT_DOUBLE_EQ(s.mid(bar + 1).toDouble(), c.offset) << c.map;
  }
}

TEST_F(MapCatalogue, GraphScales) {
  for (int map = 0; map <= 200; ++map) {
    float expected = 20.0f;
    if ((map >= 1 && map <= 23) || (map >= 106 && map <= 109)) expected = 8.0f;
    if (map == 0) expected = 0.3f;
    if (map == 8) expected = 14.0f;
    if (map == 12) expected = 28.0f;
    EXPECT_EQ(m.getmapscale(map), expected) << map;
  }
}

TEST_F(MapCatalogue, SearchesByText) {
  EXPECT_EQ(m.getmapindex("Base fuel table"), 0);
  EXPECT_EQ(m.getmapindex("Boost trim"), 49);  // the first of several maps of that name
  EXPECT_EQ(m.getmapindex("Cmnts"), 104);
  EXPECT_EQ(m.getmapindex("Settings group 6"), 115);
  EXPECT_EQ(m.getmapindex("base fuel table"), -1);  // case-sensitive
  EXPECT_EQ(m.getmapindex("no such map"), -1);

  EXPECT_TRUE(m.getmapischild("Base fuel table"));
  EXPECT_TRUE(m.getmapischild("MAP weight"));
  EXPECT_FALSE(m.getmapischild("3D Fuel Calibration"));  // group names lie before the first ":"
  EXPECT_FALSE(m.getmapischild("nothing like it"));
}

TEST_F(MapCatalogue, PwmMapsAreNamedAfterTheirAxisVariables) {
  m.setdata(110, 3, 0, 2, false);     // map 88: engine speed
  m.setdata(110, 3, 7, 36, false);    // map 95: tpsraw
  m.setdata(110, 3, 9, 9, false);     // map 107 X: knock ret.
  m.setdata(110, 3, 13, 82, false);   // map 107 Y: backup spark
  m.setdata(110, 3, 10, 100, false);  // map 108 X: an unnamed variable
  m.setdata(110, 3, 11, 200, false);  // map 109 X: past the list, named by its number
  m.setdata(110, 3, 15, 128, false);
  EXPECT_EQ(m.getmapname(88), "2D PWM:PWM MAP 1 duty [engine speed];%_0.39|0");
  EXPECT_EQ(m.getmapname(95), "2D PWM:PWM MAP 8 duty [tpsraw];%_0.39|0");
  EXPECT_EQ(m.getmapname(107), "3D PWM 10:PWM MAP 10 [X = knock ret.,Y = backup spark];%_0.39|0");
  EXPECT_EQ(m.getmapname(108), "3D PWM 11:PWM MAP 11 [X = 100,Y = coolant temp];%_0.39|0");
  EXPECT_EQ(m.getmapname(109), "3D PWM 12:PWM MAP 12 [X = 200,Y = 128];%_0.39|0");
  EXPECT_EQ(m.getmapindex("PWM MAP 10"), 107);
}

TEST_F(MapCatalogue, HelpAndTuningTexts) {
  EXPECT_EQ(m.getmaphelpstring(0),
            "3D Fuel Calibration:Base fuel table [RPM, LOAD];This map contains the base fuel amount (in milliseconds) "
            "to be delivered when VE mode is not selected");
  EXPECT_TRUE(m.getmaptunestring(0).startsWith(
      "3D Fuel Calibration:Base fuel table [RPM, LOAD];To tune this map, alter the milliseconds until the measured AFR "
      "(from the integrated NTK LXHX sensing system, or external meter) reaches a desired value."));
  EXPECT_TRUE(m.getmaphelpstring(2).startsWith("3D Fuel Calibration:Anti-lag fuel cut cycles [RPM, TPS];"));

  const std::set<int> reserved{15, 22, 23, 38, 39, 54, 55, 69, 70, 71, 79};
  for (int map = 0; map < 116; ++map) {
    const QString help = m.getmaphelpstring(map), tune = m.getmaptunestring(map);
    if (map >= 96) {
      EXPECT_TRUE(help.isEmpty() && tune.isEmpty()) << map;
    } else if (reserved.count(map)) {
      EXPECT_EQ(help, m.getmapname(map)) << map;
      EXPECT_EQ(tune, m.getmapname(map)) << map;
    } else {
      // "group:name [axes];text", with a text of its own for each.
      const QString head = help.left(help.indexOf(';'));
      EXPECT_TRUE(head.endsWith(']')) << map;
      EXPECT_EQ(tune.left(tune.indexOf(';')), head) << map;
      EXPECT_GT(help.size() - head.size(), 20) << map;
      EXPECT_TRUE(tune.mid(head.size() + 1).startsWith("To tune this map")) << map;
      EXPECT_NE(help, tune) << map;
    }
  }
  EXPECT_TRUE(m.getmaphelpstring(100).isEmpty());
  EXPECT_TRUE(m.getmaphelpstring(116).isEmpty());
  EXPECT_TRUE(m.getmaptunestring(-3).isEmpty());
}

TEST_F(MapCatalogue, AxisLabelsAtCreation) {
  const QString rx = m.getscalestringX(0, true);
  EXPECT_TRUE(rx.startsWith("RX1;RX2;"));
  EXPECT_TRUE(rx.endsWith("RX32;***"));
  EXPECT_EQ(m.getscalestringY(2, false), m.getscalestringY(7, true));  // both throttle-captioned
  EXPECT_TRUE(m.getscalestringY(9, true).startsWith("0%;3%;6%;10%;"));
  EXPECT_TRUE(m.getscalestringY(1, true).startsWith("RY1;RY2;"));
  EXPECT_EQ(m.getscalestringX(24, false),
            "-4 F;14 F;32 F;50 F;68 F;86 F;104 F;122 F;140 F;158 F;176 F;194 F;212 F;230 F;248 F;266 F;***");
  EXPECT_EQ(m.getscalestringX(46, true).section(';', 11, 11), "210 kPa");
  EXPECT_EQ(m.getscalestringX(46, false).section(';', 11, 11), "16 psi");
  EXPECT_EQ(m.getscalestringX(80, true), "1st;2nd;3rd;4th;5th;6th; ; ;***;***;***;***;***;***;***;***;***");

  const QString none = " ;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***";
  for (int map : {38, 39, 54, 55, 69, 70, 71, 79, 96, 103, 104, 105, 110, 115}) {
    EXPECT_EQ(m.getscalestringX(map, true), none) << map;
    EXPECT_EQ(m.getscalestringY(map, false), none) << map;
  }
  EXPECT_EQ(m.getscalestringY(30, true), none);

  // Every 2-D, single and settings map has 16 labels and the closing "***"; every 3-D map 32.
  for (int map = 0; map < 116; ++map) {
    const int points = m.getcontextandtype(map) == 0 ? 32 : 16;
    for (bool metric : {true, false}) {
      EXPECT_EQ(items(m.getscalestringX(map, metric)).size(), points + 1) << map;
      EXPECT_EQ(items(m.getscalestringY(map, metric)).size(), map < 24 ? 33 : points + 1) << map;
    }
  }
  // The PWM axes start as variable 0.
  EXPECT_EQ(m.getscalestringX(88, true).section(';', 0, 2), "-20 C;-3 C;14 C");
  EXPECT_EQ(m.getscalestringX(106, false), m.getscalestringY(107, false));
  EXPECT_TRUE(m.getscalestringX(116, true).isEmpty());
}

TEST_F(MapCatalogue, LastShownRowAndColumnBeforeAndAfterRecalc) {
  for (int map : {0, 12, 23}) {
    EXPECT_EQ(m.getlastshowrow(map), 2) << map;
    EXPECT_EQ(m.getlastshowcol(map), 2) << map;
  }
  EXPECT_EQ(m.getlastshowrow(24), 0);
  EXPECT_EQ(m.getlastshowcol(24), 15);
  EXPECT_EQ(m.getlastshowrow(104), 7);
  EXPECT_EQ(m.getlastshowrow(106), 31);
  EXPECT_EQ(m.getlastshowrow(110), 15);
  EXPECT_EQ(m.getlastshowcol(110), 15);
  EXPECT_EQ(m.getlastshowrow(200), 0);

  m.recalc();  // all increments 0: no end marker
  EXPECT_EQ(m.getlastshowrow(0), 32);
  EXPECT_EQ(m.getlastshowcol(5), 32);
  m.setdata(110, 4, 0, 255, false);  // load increment 0 is an end marker
  m.recalc();
  EXPECT_EQ(m.getlastshowrow(0), 2);  // one shown row reads as 2
}

TEST_F(MapCatalogue, RowCheckIsTheByteSumOfTheRow) {
  m.setdata(0, 1, 0, 300, false);   // bytes 1 and 44
  m.setdata(0, 1, 5, 8000, false);  // bytes 31 and 64
  EXPECT_EQ(m.getrowcheck(0, 1), (1 + 44 + 31 + 64) % 256);
  for (int c = 0; c < 16; ++c) m.setdata(30, 0, c, 200, false);
  EXPECT_EQ(m.getrowcheck(30, 0), 16 * 200 % 256);
  EXPECT_EQ(m.getrowcheck(30, 1), 0);
  EXPECT_EQ(m.getrowcheck(116, 0), 0);
}
