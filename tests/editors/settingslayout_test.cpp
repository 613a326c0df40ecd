// Where the controls of one setting group go: steps down a column, column breaks per control kind, bit fields.
#include <gtest/gtest.h>

#include "calibration/settings.h"
#include "editors/settingcells.h"
#include "editors/settingslayout.h"

namespace ostrel::test {
namespace {

constexpr int windowheight = 8400;

// A map whose first cells are all of one type in group 0.
SettingCells uniform(std::uint8_t type, int count) {
  SettingCells cells{};
  for (int n = 0; n < 256; ++n) {
    SettingCell& c = cells[static_cast<std::size_t>(n / 16)][static_cast<std::size_t>(n % 16)];
    c = n < count ? SettingCell{0, type, static_cast<std::uint8_t>(n), 1.0f, 0.0f} : SettingCell{255, 255, 0, 0, 0};
  }
  return cells;
}

std::vector<int> captiontops(const std::vector<PlacedCell>& placed) {
  std::vector<int> tops;
  for (const PlacedCell& p : placed) tops.push_back(p.caption.y);
  return tops;
}

TEST(GroupLayout, EachTypeHasItsValueAndEnterOffsets) {
  struct Case {
    int type;
    TwipPoint value, enter;
  };
  const Case cases[] = {
      {0, {2720, 570}, {3200, 590}},  {1, {2440, 570}, {3200, 590}},  {2, {2440, 580}, {4260, 600}},
      {5, {2440, 580}, {4980, 600}},  {6, {2440, 580}, {4980, 600}},  {7, {2560, 580}, {4980, 600}},
      {8, {2440, 580}, {4980, 600}},  {9, {2440, 580}, {4980, 600}},  {10, {2440, 580}, {4980, 600}},
      {11, {2440, 580}, {4980, 600}}, {12, {2440, 580}, {4980, 600}},
  };
  for (const Case& c : cases) {
    const auto placed = layoutgroup(uniform(static_cast<std::uint8_t>(c.type), 2), 0, windowheight);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].caption, (TwipPoint{120, 600})) << c.type;
    EXPECT_TRUE(placed[0].hasvalue);
    EXPECT_EQ(placed[0].value, c.value) << c.type;
    EXPECT_EQ(placed[0].enter, c.enter) << c.type;
    EXPECT_EQ(placed[1].caption, (TwipPoint{120, 955})) << c.type;
  }
}

TEST(GroupLayout, ColumnsBreakBelowTheLimitOfTheirKind) {
  struct Case {
    int type;
    int lastleft;        // top of the last cell of the first column
    TwipPoint nextcell;  // where the first cell of the next column goes
  };
  const Case cases[] = {
      {1, 5925, {4500, 600}},  // text
      {0, 5570, {4400, 600}},  // check boxes
      {2, 5570, {4000, 600}},
      {6, 5925, {4000, 955}},  // the live variable combos continue one line lower
      {5, 5925, {6200, 600}},
      {11, 5925, {6200, 600}},
      {7, 5925, {4000, 955}},
  };
  for (const Case& c : cases) {
    const auto placed = layoutgroup(uniform(static_cast<std::uint8_t>(c.type), 20), 0, windowheight);
    std::size_t last = 0;
    while (last + 1 < placed.size() && placed[last + 1].caption.x == 120) ++last;
    ASSERT_LT(last + 1, placed.size()) << c.type;
    EXPECT_EQ(placed[last].caption.y, c.lastleft) << c.type;
    for (std::size_t i = 0; i <= last; ++i) EXPECT_EQ(placed[i].caption.y, 600 + 355 * static_cast<int>(i));
    EXPECT_EQ(placed[last + 1].caption, c.nextcell) << c.type;
  }
}

TEST(GroupLayout, TheLoadSpreadsFillTwoColumns) {
  const settings s;
  const SettingCells cells = buildcelltable(s, 110).cells;
  const auto placed = layoutgroup(cells, 11, windowheight);  // "grid load spread": 31 text settings
  ASSERT_EQ(placed.size(), 31u);
  EXPECT_EQ(placed[0].cell, 64);
  EXPECT_EQ(placed[15].caption, (TwipPoint{120, 5925}));
  EXPECT_EQ(placed[16].caption, (TwipPoint{4500, 600}));
  EXPECT_EQ(placed[16].value, (TwipPoint{6820, 570}));
  EXPECT_EQ(placed[30].caption, (TwipPoint{4500, 600 + 14 * 355}));
}

TEST(GroupLayout, ABitFieldThatWouldReachTooLowStartsAColumnOfItsOwn) {
  const settings s;
  const SettingCells cells = buildcelltable(s, 110).cells;
  const auto placed = layoutgroup(cells, 3, windowheight);  // "ignition and rpm limits"
  ASSERT_EQ(placed.size(), 14u);
  const PlacedCell& vct = placed[12];
  ASSERT_EQ(vct.cell, 219);  // "VCT setup" would lie at 4860 > 8400 - 4000
  EXPECT_EQ(placed[11].caption.y, 4505);
  EXPECT_EQ(vct.caption, (TwipPoint{5000, 565}));
  EXPECT_EQ(vct.enter, (TwipPoint{10980, 565}));
  for (int k = 0; k < 8; ++k) EXPECT_EQ(vct.frames[static_cast<std::size_t>(k)], (TwipPoint{7340, 475 + 360 * k}));
  EXPECT_EQ(placed[13].caption, (TwipPoint{5000, 3445})) << "the eight lines are the bit field's advance";
}

TEST(GroupLayout, BitFieldsHighUpStayInTheirColumn) {
  const settings s;
  const auto placed = layoutgroup(buildcelltable(s, 110).cells, 12, windowheight);  // two "PWM frequency"
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0].caption, (TwipPoint{120, 600}));
  EXPECT_EQ(placed[0].frames[0], (TwipPoint{2460, 510}));
  EXPECT_EQ(placed[1].caption, (TwipPoint{120, 600 + 8 * 360}));
  EXPECT_EQ(placed[1].frames[7], (TwipPoint{2460, 3480 + 7 * 360 - 90}));
}

TEST(GroupLayout, AShortWindowStopsTheColumn) {
  const auto placed = layoutgroup(uniform(1, 10), 0, 1700);
  EXPECT_EQ(captiontops(placed), (std::vector<int>{600, 955, 1310, 1665, 2020, 2020, 2020, 2020, 2020, 2020}));
}

TEST(GroupLayout, CaptionOnlyCellsDoNotAdvance) {
  SettingCells cells = uniform(1, 3);
  cells[0][1].type = 3;
  const auto placed = layoutgroup(cells, 0, windowheight);
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_FALSE(placed[1].hasvalue);
  EXPECT_EQ(captiontops(placed), (std::vector<int>{600, 955, 955}));
}

TEST(GroupLayout, NothingSelectedOrNothingInTheGroupPlacesNothing) {
  const settings s;
  const SettingCells map110 = buildcelltable(s, 110).cells;
  EXPECT_TRUE(layoutgroup(map110, -1, windowheight).empty());
  EXPECT_TRUE(layoutgroup(buildcelltable(s, 111).cells, 2, windowheight).empty()) << "a group without members";
  for (int group = 0; group < 16; ++group) EXPECT_TRUE(layoutgroup(buildcelltable(s, 113).cells, group, windowheight).empty());
  int total = 0;
  for (int group = 0; group < 17; ++group) total += static_cast<int>(layoutgroup(map110, group, windowheight).size());
  EXPECT_EQ(total, 256 - 10 - 1 - 1 - 6 - 2) << "every setting of map 110 is in exactly one group";
}

}  // namespace
}  // namespace ostrel::test
