// The cell table of a settings map, list strings, initial selections and the scales that follow a live variable.
#include "editors/settingcells.h"

#include <gtest/gtest.h>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "platform/mapguards.h"
#include "platform/prompts.h"

namespace ostrel::test {
namespace {

const SettingCell& at(const CellTable& table, int row, int column) {
  return table.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

TEST(CellTable, EveryKindNumbersItsControlsInBuildOrder) {
  const settings s;
  const CellTable table = buildcelltable(s, 110);
  EXPECT_EQ(table.count(ControlKind::text), 149);
  EXPECT_EQ(table.count(ControlKind::bits), 32) << "four bit fields of eight";
  EXPECT_EQ(table.count(ControlKind::combo), 4);
  EXPECT_EQ(table.count(ControlKind::combouser), 16);
  EXPECT_EQ(table.count(ControlKind::combovariable), 16);
  EXPECT_EQ(table.count(ControlKind::combooutput), 24);
  EXPECT_EQ(table.count(ControlKind::combotrigger), 1);

  // The k-th cell of a kind, counted along rows and then columns, has control k; a bit field the next eight.
  std::array<int, controlkindcount> seen{};
  for (int n = 0; n < 256; ++n) {
    const SettingCell& c = cellof(table.cells, n);
    if (c.group == nosetting) continue;
    const auto kind = static_cast<std::size_t>(controlkind(c.type));
    EXPECT_EQ(c.index, seen[kind]) << "cell " << n;
    seen[kind] += c.type == 4 ? 8 : 1;
  }
  EXPECT_EQ(at(table, 11, 12).index, 0);  // "Cyl bank"
  EXPECT_EQ(at(table, 12, 10).index, 8);
  EXPECT_EQ(at(table, 12, 13).index, 16);
  EXPECT_EQ(at(table, 13, 11).index, 24);
  EXPECT_EQ(at(table, 1, 0).index, 0) << "the first text cell";
}

TEST(CellTable, RecordsGiveGroupTypeAndScale) {
  const settings s;
  const CellTable table = buildcelltable(s, 110);
  const SettingCell& trim = at(table, 11, 0);  // "Injector 1 trim (%)"
  EXPECT_EQ(trim.group, 7);
  EXPECT_EQ(trim.type, 1);
  EXPECT_FLOAT_EQ(trim.mul, 0.5f);
  EXPECT_FLOAT_EQ(trim.offset, -64.0f);
  const SettingCell& boost = at(table, 9, 13);  // "Aux map boost trim (psi)", offset "-38.3"
  EXPECT_EQ(boost.offset, -38.3f);
  const SettingCell& empty = at(table, 2, 5);
  EXPECT_EQ(empty.group, nosetting);
  EXPECT_EQ(empty.type, nosetting);
  EXPECT_EQ(empty.index, 0);
  EXPECT_EQ(at(buildcelltable(s, 111), 3, 0).offset, -5.61f);
}

TEST(CellTable, MapsWithoutRecordsHaveNoControls) {
  const settings s;
  for (int map = 112; map <= 115; ++map) {
    const CellTable table = buildcelltable(s, map);
    for (int n = 0; n < 256; ++n) {
      EXPECT_EQ(cellof(table.cells, n).group, nosetting);
      EXPECT_EQ(cellof(table.cells, n).type, nosetting);
    }
    for (int kind = 0; kind < controlkindcount; ++kind) EXPECT_EQ(table.controls[kind], 0);
  }
}

TEST(ListString, ItemsFollowTheCount) {
  struct Case {
    const char* list;
    QStringList items;
  };
  const Case cases[] = {
      {"4;ATS DELCO:ATS FORD:ATS MIATA:ATS DC5 TAP:***", {"ATS DELCO", "ATS FORD", "ATS MIATA", "ATS DC5 TAP"}},
      {"0;only:***", {"only"}},                    // the first item comes whatever the count
      {"2;one:two:three:***", {"one", "two"}},     // a smaller count takes that many
      {"5;one:two:***", {"one", "two"}},         // a larger count takes what has a ":" behind it
      {"3;one:two", {"one"}},                      // items stop where the ":" are missing
      {"0:***", {}},                               // the empty list of the calibration model
      {"***", {}},
      {"", {}},
      {"1;:***", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(parselist(QString::fromLatin1(c.list)), c.items) << c.list;
}

TEST(ListString, GroupListsHoldExactlyTheirCount) {
  const settings s;
  const QStringList groups = parsegroups(s.getsettingsgroupmembers(0));
  ASSERT_EQ(groups.size(), 17);
  EXPECT_EQ(groups[0], QStringLiteral("ignition triggers"));
  EXPECT_EQ(groups[6], QStringLiteral("throttle setup"));
  EXPECT_EQ(groups[10], QStringLiteral("grid rpm spread"));
  EXPECT_EQ(groups[16], QStringLiteral("air conditioner and fans"));
  const QStringList second = parsegroups(s.getsettingsgroupmembers(1));
  ASSERT_EQ(second.size(), 16);
  EXPECT_EQ(second[4], QStringLiteral("ignition cyl trims"));
  EXPECT_EQ(second[5], QStringLiteral("***"));
  EXPECT_EQ(parsegroups(s.getsettingsgroupmembers(3)), QStringList(16, QStringLiteral("***")));
  EXPECT_TRUE(parsegroups(QStringLiteral("0:***")).isEmpty());
}

TEST(InitialSelection, CheckBoxes) {
  EXPECT_EQ(checkinit(0).checked, false);
  EXPECT_EQ(checkinit(0).error, false);
  EXPECT_EQ(checkinit(255).checked, true);
  EXPECT_EQ(checkinit(255).error, false);
  for (int raw : {1, 128, 254}) {
    EXPECT_TRUE(checkinit(static_cast<std::uint8_t>(raw)).checked) << raw;
    EXPECT_TRUE(checkinit(static_cast<std::uint8_t>(raw)).error) << raw;
  }
}

TEST(InitialSelection, Combos) {
  struct Case {
    int type, raw, items, item;
    bool error;
  };
  const Case cases[] = {
      {2, 3, 4, 3, false},  // "UEGO AFR TARGET"
      {2, 4, 4, -1, true},  // past the list: no item, and a message
      {6, 127, 128, 127, false},
      {6, 128, 128, -1, false},  // the shared lists show no item either, without a message
      {11, 200, 51, -1, false},
      {7, 1, 1, -1, false},
      {12, 0, 32, 0, false},
      {9, 0, 0, -1, false},  // the empty trigger list
      {2, 0, 0, -1, true},
  };
  for (const Case& c : cases) {
    const ComboInit init = comboinit(static_cast<std::uint8_t>(c.type), static_cast<std::uint8_t>(c.raw), c.items);
    EXPECT_EQ(init.item, c.item) << c.type << " " << c.raw;
    EXPECT_EQ(init.loaderror, c.error) << c.type << " " << c.raw;
  }
}

TEST(InitialSelection, BitPairZeroIsTheTopBit) {
  std::array<bool, 8> set{};
  for (int k = 0; k < 8; ++k) set[static_cast<std::size_t>(k)] = bitinit(129, k);
  EXPECT_EQ(set, (std::array<bool, 8>{true, false, false, false, false, false, false, true}));
}

class VariableScales : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps model{prompts};
  settings s;
};

TEST_F(VariableScales, ValueCellsTakeTheScaleOfTheirSelectorsVariable) {
  model.setdata(110, 0, 3, 129, false);  // variable 1 with the top bit: an air-fuel ratio
  model.setdata(110, 0, 4, 15, false);   // advance: 0.5, -64
  model.setdata(110, 0, 5, 0, false);    // coolant temperature
  SettingCells cells = buildcelltable(s, 110).cells;
  ASSERT_TRUE(refreshvariablescales(cells, model, s, 110, true, 1));
  EXPECT_FLOAT_EQ(cells[1][3].mul, 0.147f);
  EXPECT_EQ(cells[1][3].offset, s.getvarsoffset(1, true));
  EXPECT_FLOAT_EQ(cells[1][4].mul, 0.5f);
  EXPECT_FLOAT_EQ(cells[1][4].offset, -64.0f);
  EXPECT_FLOAT_EQ(cells[1][5].offset, -20.0f);
  refreshvariablescales(cells, model, s, 110, false, 6);  // imperial, lambda
  EXPECT_FLOAT_EQ(cells[1][3].mul, 0.01f);
  EXPECT_FLOAT_EQ(cells[1][5].mul, 1.8f);
  EXPECT_FLOAT_EQ(cells[1][5].offset, -4.0f);
  EXPECT_FLOAT_EQ(cells[0][3].mul, 0.0f) << "the selector cell keeps its own scale";
}

TEST_F(VariableScales, MapOneHundredElevenHasTwoPairsOfRows) {
  model.setdata(111, 0, 0, 37, false);  // the external air-fuel ratio also on map 111
  model.setdata(111, 4, 2, 2, false);   // engine speed
  SettingCells cells = buildcelltable(s, 111).cells;
  refreshvariablescales(cells, model, s, 111, true, 2);
  EXPECT_FLOAT_EQ(cells[1][0].mul, 0.09f);
  EXPECT_FLOAT_EQ(cells[5][2].mul, 50.0f);
}

TEST_F(VariableScales, OtherMapsAreLeftAlone) {
  for (int map = 112; map <= 115; ++map) {
    SettingCells cells = buildcelltable(s, map).cells;
    const SettingCells before = cells;
    EXPECT_FALSE(refreshvariablescales(cells, model, s, map, true, 1));
    for (int n = 0; n < 256; ++n) {
      EXPECT_EQ(cellof(cells, n).mul, cellof(before, n).mul);
      EXPECT_EQ(cellof(cells, n).offset, cellof(before, n).offset);
    }
  }
}

// A setting is guarded with its row; a value that follows a live variable and its selector are one setting over two
// rows, guarded whole when either row is; maps without such pairs go by the row alone.
TEST(SettingGuards, ARowGuardsItsSettingsAndAVariablePairIsGuardedWhole) {
  struct Case {
    int map, row;                    // the guarded row
    std::vector<int> guarded, open;  // cells
  };
  const Case cases[] = {
      {110, 11, {176, 188, 191}, {175, 192, 0, 16}},  // injector trims and a bit field; nothing else
      {110, 1, {0, 3, 15, 16, 19, 31}, {32, 47}},     // the user logic values take their selectors along
      {110, 0, {3, 19}, {32}},                        // and the selectors their values
      {111, 5, {64, 66, 80, 95}, {0, 16, 96}},        // the second pair of map 111
      {111, 1, {0, 31}, {64, 80}},                    // its first pair
      {112, 0, {0, 15}, {16}},                        // a map without pairs: the row alone
      {110, 31, {}, {240, 255}},                      // a row past the map guards none of its cells
  };
  for (const Case& c : cases) {
    MapGuards guards;
    guards.guard(c.map, 2, c.row, c.row);
    for (const int n : c.guarded)
      EXPECT_TRUE(settingguarded(guards, c.map, n)) << c.map << " row " << c.row << ": " << n;
    for (const int n : c.open) EXPECT_FALSE(settingguarded(guards, c.map, n)) << c.map << " row " << c.row << ": " << n;
    const int other = c.map == 110 ? 111 : 110;
    for (int n = 0; n < 256; ++n) ASSERT_FALSE(settingguarded(guards, other, n)) << "another map's guard: " << n;
  }
}

}  // namespace
}  // namespace ostrel::test
