// The one rule of what a password guard hides and keeps unchanged: the shown map names and axis labels, the first
// guarded spread point, and the one store of a cell.
#include "calibration/cellguards.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <initializer_list>

#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

// The guards of settings map 110 rows, all under fragment 0.
MapGuards settingsguards(std::initializer_list<int> rows) {
  MapGuards guards;
  for (const int row : rows) guards.guard(axissettingsmap, 0, row, row);
  return guards;
}

// A calibration whose every axis label differs from its neighbours: load spreads of 30 mmHg, rpm spreads of 100
// (500 rpm), no end marker; map 88 on engine speed and map 89 on the load spread variable, map 106 with the rpm
// points across and the load points down, map 107 on coolant temperature and the air-fuel ratio.
class CellGuards : public ::testing::Test {
 protected:
  CellGuards() {
    for (int point = 1; point <= spreadpoints; ++point) {
      const SpreadCell load = spreadcell(SpreadAxis::load, point), rpm = spreadcell(SpreadAxis::rpm, point);
      model.setdata(axissettingsmap, load.row, load.column, 30, false);
      model.setdata(axissettingsmap, rpm.row, rpm.column, 100, false);
    }
    const struct {
      int column, variable;
    } selectors[] = {{0, 2}, {1, 29}, {8, 30}, {12, 29}, {9, 0}, {13, 1}};
    for (const auto& s : selectors) model.setdata(axissettingsmap, pwmselectorrow, s.column, s.variable, false);
    model.recalc();
  }

  RecordingPrompts prompts;
  maps model{prompts};
};

// The labels of `shown` that are still the model's: -1 unless every label after them is blank, the item count is
// the model's and the closing item stays.
int keptlabels(const QString& modellabels, const QString& shownlabels) {
  const QStringList m = modellabels.split(QLatin1Char(';')), s = shownlabels.split(QLatin1Char(';'));
  if (m.size() != s.size() || s.isEmpty() || s.last() != m.last()) return -1;
  int kept = 0;
  while (kept + 1 < s.size() && !s[kept].isEmpty() && s[kept] == m[kept]) ++kept;
  for (int k = kept; k + 1 < s.size(); ++k)
    if (!s[k].isEmpty()) return -1;
  return kept;
}

TEST_F(CellGuards, TheFirstGuardedPointIsTheFirstPointWhoseSpreadRowIsGuarded) {
  const struct {
    const char* what;
    MapGuards guards;
    int load, rpm;
  } cases[] = {
      {"nothing guarded", MapGuards{}, 32, 32},
      {"load points 1 to 16", settingsguards({4}), 1, 32},
      {"load points 17 to 31", settingsguards({5}), 17, 32},
      {"rpm points 1 to 16", settingsguards({6}), 32, 1},
      {"rpm points 17 to 31", settingsguards({7}), 32, 17},
      {"the later load and the first rpm row", settingsguards({5, 6}), 17, 1},
      {"the selectors and the row after the spreads", settingsguards({3, 8}), 32, 32},
      {"row 4 of another map", [] {
         MapGuards g;
         g.guard(0, 0, 4, 7);
         return g;
       }(),
       32, 32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(firstguardedpoint(c.guards, SpreadAxis::load), c.load) << c.what;
    EXPECT_EQ(firstguardedpoint(c.guards, SpreadAxis::rpm), c.rpm) << c.what;
  }
}

// Each case: the settings rows guarded, a map, an axis, and how many of its labels still show (the rest blank). A
// spread guarded from point N on blanks labels N and after on every axis made of those points; a guarded selector row
// blanks every PWM axis whole; nothing else changes.
TEST_F(CellGuards, AxisLabelsShowNothingThatAGuardedSettingDecides) {
  const struct {
    const char* what;
    std::initializer_list<int> rows;
    int map;
    char axis;
    int kept;
  } cases[] = {
      {"no guard, load map", {}, 8, 'X', 32},
      {"no guard, load map", {}, 8, 'Y', 32},
      {"rpm row 6 guarded: rpm labels past point 0", {6}, 8, 'X', 1},
      {"rpm row 6 guarded: load labels stay", {6}, 8, 'Y', 32},
      {"rpm row 7 guarded: labels past point 16", {7}, 0, 'X', 17},
      {"load row 4 guarded", {4}, 8, 'Y', 1},
      {"load row 4 guarded: rpm labels stay", {4}, 8, 'X', 32},
      {"load row 5 guarded", {5}, 23, 'Y', 17},
      {"throttle map keeps its fixed throttle labels", {4, 5}, 2, 'Y', 32},
      {"throttle map's rpm axis", {6}, 2, 'X', 1},
      {"the selectors decide nothing on a 3-D fuel map", {3}, 8, 'X', 32},
      {"2-D PWM on engine speed, selectors guarded", {3}, 88, 'X', 0},
      {"2-D PWM on engine speed, spreads guarded", {4, 5, 6, 7}, 88, 'X', 16},
      {"2-D PWM on the load spread variable keeps its fixed labels", {4, 5}, 89, 'X', 16},
      {"2-D PWM on the load spread variable, selectors guarded", {3}, 89, 'X', 0},
      {"3-D PWM, selectors guarded, X", {3}, 106, 'X', 0},
      {"3-D PWM, selectors guarded, Y", {3}, 106, 'Y', 0},
      {"3-D PWM across the rpm points (30)", {6}, 106, 'X', 1},
      {"3-D PWM across the rpm points, later rows", {7}, 106, 'X', 17},
      {"3-D PWM across the rpm points, load guarded", {4}, 106, 'X', 32},
      {"3-D PWM down the load points (29)", {5}, 106, 'Y', 17},
      {"3-D PWM down the load points, rpm guarded", {6, 7}, 106, 'Y', 32},
      {"3-D PWM on fixed variables, spreads guarded", {4, 5, 6, 7}, 107, 'X', 32},
      {"3-D PWM on fixed variables, spreads guarded", {4, 5, 6, 7}, 107, 'Y', 32},
      {"3-D PWM on fixed variables, selectors guarded", {3}, 107, 'Y', 0},
      {"a 2-D map of fixed labels", {3, 4, 5, 6, 7}, 24, 'X', 16},
      {"the settings map", {3, 4, 5, 6, 7}, 110, 'X', 16},
  };
  for (const auto& c : cases) {
    const MapGuards guards = settingsguards(c.rows);
    for (const bool metric : {true, false}) {
      const QString modellabels = c.axis == 'X' ? model.getscalestringX(c.map, metric) : model.getscalestringY(c.map, metric);
      const QString shown = c.axis == 'X' ? shownscalestringX(model, guards, c.map, metric)
                                          : shownscalestringY(model, guards, c.map, metric);
      EXPECT_EQ(keptlabels(modellabels, shown), c.kept) << c.what << " map " << c.map << " " << c.axis << " metric "
                                                        << metric << ": " << shown.toStdString();
    }
  }
}

TEST_F(CellGuards, AGuardedSelectorRowEmptiesTheBracketsOfEveryPwmName) {
  const MapGuards selectors = settingsguards({3});
  const struct {
    int map;
    const char* shown;
  } names[] = {
      {88, "2D PWM:PWM MAP 1 duty [];%_0.39|0"},
      {95, "2D PWM:PWM MAP 8 duty [];%_0.39|0"},
      {106, "3D PWM 9:PWM MAP 9 [];%_0.39|0"},
      {109, "3D PWM 12:PWM MAP 12 [];%_0.39|0"},
  };
  for (const auto& n : names) {
    EXPECT_NE(model.getmapname(n.map), QString::fromLatin1(n.shown)) << "the model names the variables";
    EXPECT_EQ(shownmapname(model, selectors, n.map), QString::fromLatin1(n.shown));
    EXPECT_EQ(shownmapname(model, settingsguards({4, 5, 6, 7}), n.map), model.getmapname(n.map))
        << "the spreads decide no name";
  }
  for (const int map : {0, 8, 87, 96, 104, 105, 110, 115})
    EXPECT_EQ(shownmapname(model, selectors, map), model.getmapname(map)) << map;

  // The tree names the maps as they are shown; the leaf still carries its map number for lookups.
  const std::vector<MapTreeNode> tree = maptree(model, selectors, QString());
  int found = 0;
  for (const MapTreeNode& node : tree) {
    if (node.map == 88 && node.parent >= 2) {
      EXPECT_EQ(node.text, QStringLiteral("PWM MAP 1 duty []"));
      ++found;
    }
    EXPECT_FALSE(node.text.contains(QStringLiteral("engine speed"))) << node.text.toStdString();
  }
  EXPECT_EQ(found, 1);
}

// A guarded cell keeps its value and its change mark; the row a cell counts in is the load point (second index) on a
// 3-D map and the first index elsewhere.
TEST_F(CellGuards, SetCellAndStepCellStoreOnlyOutsideTheGuardedRows) {
  const struct {
    const char* what;
    int guardmap, guardrow;
    int map, i, j;
    double value;
    bool stored;
  } cases[] = {
      {"3-D map, guarded load point", 8, 5, 8, 3, 5, 77, false},
      {"3-D map, the rpm index is no guard row", 8, 5, 8, 5, 3, 77, true},
      {"2-D map, its only row", 24, 0, 24, 0, 7, 77, false},
      {"settings map, a guarded row", 110, 4, 110, 4, 2, 9, false},
      {"settings map, the row above", 110, 4, 110, 3, 2, 9, true},
      {"16-bit fuel map, guarded last load point", 0, 31, 0, 0, 31, 5000, false},
      {"16-bit fuel map, open load point", 0, 31, 0, 0, 30, 5000, true},
      {"another map guarded", 9, 0, 8, 0, 0, 77, true},
  };
  for (const auto& c : cases) {
    model.clearchange();
    MapGuards guards;
    guards.guard(c.guardmap, 2, c.guardrow, c.guardrow);
    const int before = model.getdata(c.map, c.i, c.j);
    ASSERT_NE(before, static_cast<int>(c.value)) << c.what;
    EXPECT_EQ(cellguarded(model, guards, c.map, c.i, c.j), !c.stored) << c.what;
    EXPECT_EQ(setcell(model, guards, c.map, c.i, c.j, c.value, true), c.stored) << c.what;
    EXPECT_EQ(model.getdata(c.map, c.i, c.j), c.stored ? static_cast<int>(c.value) : before) << c.what;
    EXPECT_EQ(model.getchange(c.map, c.i, c.j), c.stored) << c.what;
    model.setdata(c.map, c.i, c.j, before, false);
    // The +/- step goes through the same guard.
    model.clearchange();
    EXPECT_EQ(stepcell(model, guards, c.map, c.i, c.j, 3), c.stored) << c.what;
    EXPECT_EQ(model.getdata(c.map, c.i, c.j), c.stored ? before + 3 : before) << c.what;
    EXPECT_EQ(model.getchange(c.map, c.i, c.j), c.stored) << c.what;
    model.setdata(c.map, c.i, c.j, before, false);
  }
  // Stored without a change mark when the caller asks for none, and limited to the cell's range as setdata limits.
  model.clearchange();
  EXPECT_TRUE(setcell(model, MapGuards{}, 8, 1, 1, 300, false));
  EXPECT_EQ(model.getdata(8, 1, 1), 255);
  EXPECT_FALSE(model.getchange(8, 1, 1));
}

}  // namespace
