#include "mapviews/gridhighlights.h"

#include <gtest/gtest.h>

#include <array>

#include "common/linkhelpers.h"
#include "mapviewsfixture.h"

using namespace ostrel;
using test::MapViewsTest;

namespace {

constexpr std::uint32_t white = gridcolors::evenstripe, blue = gridcolors::oddstripe;
constexpr std::uint32_t grey = gridcolors::evenoutside, bluegrey = gridcolors::oddoutside;
constexpr std::uint32_t yellow = gridcolors::live, boxgrey = gridcolors::selection;

}  // namespace

TEST(GridTints, MoveEachChannelHalfOrAFifthTowardsWhite) {
  const GridTints t = GridTints::of(0x0080C0FF, 0x00FFC080);
  EXPECT_EQ(t.cursor, 0xC0E0FFu);
  EXPECT_EQ(t.visited, 0xE1EEFBu);
  EXPECT_EQ(t.live, 0xFFE0C0u);
  EXPECT_EQ(GridTints::tint(0, 128, 2), 0x808080u);
  EXPECT_EQ(GridTints::tint(0xFFFFFF, 200, 5), 0xFBFBFBu);
}

class HighlightTest : public MapViewsTest {
 protected:
  HighlightTest() {
    openshipped();
    state.preferences.gridloadup = false;
    tints = GridTints::of(state.colors.trimbandcolor, state.colors.mapbandcolor);
    QObject::connect(&views.mapgrid(), &QAbstractItemModel::dataChanged, [this] { ++changes; });
  }
  void set(int map, int cursorrow, int cursorcol, int liverow, int livecol) {
    state.curmap = static_cast<std::uint8_t>(map);
    state.cursorrow = static_cast<std::uint8_t>(cursorrow);
    state.cursorcol = static_cast<std::uint8_t>(cursorcol);
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = static_cast<std::uint8_t>(liverow); });
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livecol = static_cast<std::uint8_t>(livecol); });
  }
  std::array<std::uint32_t, 1024> snapshot() {
    std::array<std::uint32_t, 1024> s{};
    for (int r = 0; r < 32; ++r)
      for (int c = 0; c < 32; ++c) s[r * 32 + c] = back(r, c);
    return s;
  }
  // Grid cells (row, column) whose colour differs between two snapshots.
  static std::vector<std::pair<int, int>> diff(const std::array<std::uint32_t, 1024>& a,
                                               const std::array<std::uint32_t, 1024>& b) {
    std::vector<std::pair<int, int>> out;
    for (int k = 0; k < 1024; ++k)
      if (a[k] != b[k]) out.emplace_back(k / 32, k % 32);
    return out;
  }

  GridTints tints{};
  int changes = 0;
};

TEST_F(HighlightTest, FullRepaintColoursEveryCell) {
  set(8, 2, 3, 5, 6);
  views.mapgrid().setcellbold(10, 10, true);
  views.mapgrid().setcellforecolor(10, 10, 0xFF);
  changes = 0;
  views.updategridhighlights(true);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(back(3, 2), tints.cursor);  // 3-D: model row across, column down
  EXPECT_EQ(back(6, 5), tints.live);
  EXPECT_EQ(back(0, 0), white);
  EXPECT_EQ(back(1, 0), blue);
  EXPECT_EQ(back(31, 31), blue);
  EXPECT_FALSE(views.mapgrid().cellbold(10, 10));
  EXPECT_EQ(views.mapgrid().cellforecolor(10, 10), 0u);
  EXPECT_EQ(views.mapgrid().cellforecolor(-1, 7), 0u);
  EXPECT_EQ(views.highlighter().lastcursorkey(), 2 * 32 + 3);
  EXPECT_EQ(views.highlighter().lastlivekey(), 5 * 32 + 6);
}

// On the same cell the cursor wins a full repaint and the live colour an incremental one.
TEST_F(HighlightTest, CursorOnTheLiveCell) {
  set(8, 4, 4, 4, 4);
  views.updategridhighlights(true);
  EXPECT_EQ(back(4, 4), tints.cursor);
  views.updategridhighlights(false);
  EXPECT_EQ(back(4, 4), yellow);
}

TEST_F(HighlightTest, LoadUpPutsModelColumnZeroAtTheBottomOnAnEvenStripe) {
  state.preferences.gridloadup = true;
  set(8, 0, 0, 9, 9);
  views.updategridhighlights(true);
  EXPECT_EQ(back(31, 0), tints.cursor);
  EXPECT_EQ(back(31, 1), white);
  EXPECT_EQ(back(30, 1), blue);
  EXPECT_EQ(back(31 - 9, 9), tints.live);
}

TEST_F(HighlightTest, ATableIsShownOnlyInRowZero) {
  set(24, 0, 3, 0, 9);
  views.updategridhighlights(true);
  EXPECT_EQ(back(0, 3), tints.cursor);
  EXPECT_EQ(back(0, 9), tints.live);
  EXPECT_EQ(back(0, 0), white);
  EXPECT_EQ(back(0, 15), white);
  EXPECT_EQ(back(0, 16), grey);
  EXPECT_EQ(back(1, 0), bluegrey);
  EXPECT_EQ(back(2, 31), grey);
  // The same holds on maps without cell texts.
  set(110, 2, 3, 0, 0);
  views.updategridhighlights(true);
  EXPECT_EQ(back(2, 3), tints.cursor);
  EXPECT_EQ(back(15, 15), blue);
  EXPECT_EQ(back(16, 15), grey);
  EXPECT_EQ(back(15, 16), bluegrey);
}

// Rpm and load points that the spreads leave unused lie outside the map.
TEST_F(HighlightTest, UnusedSpreadPointsAreGrey) {
  model.setdata(110, 6 + 19 / 16, 19 % 16, 255, false);  // 20 rpm points
  model.setdata(110, 4 + 11 / 16, 11 % 16, 255, false);  // 12 load points
  model.recalc();
  set(0, 0, 0, 0, 0);
  views.updategridhighlights(true);
  EXPECT_EQ(back(11, 19), blue);
  EXPECT_EQ(back(11, 20), bluegrey);
  EXPECT_EQ(back(12, 19), grey);
  // Maps 106 to 109 keep their whole grid whatever the spreads say.
  set(106, 0, 0, 0, 0);
  views.updategridhighlights(true);
  EXPECT_EQ(back(31, 31), blue);
}

TEST_F(HighlightTest, IncrementalRepaintTouchesThreeCellsWhenTheCursorMoves) {
  set(8, 2, 3, 10, 10);
  views.updategridhighlights(true);
  const auto before = snapshot();
  changes = 0;
  state.cursorrow = 3;  // one cell to the right
  views.updategridhighlights(false);
  EXPECT_EQ(changes, 1);
  const auto after = snapshot();
  const auto changed = diff(before, after);
  ASSERT_EQ(changed.size(), 3u);
  EXPECT_EQ(back(3, 2), blue);  // the old cursor takes its stripe back
  EXPECT_EQ(back(3, 3), tints.cursor);
  EXPECT_EQ(back(10, 10), yellow);
}

TEST_F(HighlightTest, IncrementalRepaintFollowsTheLiveCell) {
  set(8, 2, 3, 10, 10);
  views.updategridhighlights(true);
  const auto before = snapshot();
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 11; });
  views.updategridhighlights(false);
  const auto changed = diff(before, snapshot());
  EXPECT_EQ(changed.size(), 2u);
  EXPECT_EQ(back(10, 10), white);
  EXPECT_EQ(back(10, 11), yellow);
  // The live cell moves onto the cursor, and off it again.
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 2; });
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livecol = 3; });
  views.updategridhighlights(false);
  EXPECT_EQ(back(10, 11), white);
  EXPECT_EQ(back(3, 2), yellow);
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 20; });
  views.updategridhighlights(false);
  EXPECT_EQ(back(3, 2), tints.cursor);
  EXPECT_EQ(back(3, 20), yellow);
}

TEST_F(HighlightTest, OnlyALiveLinkLeavesATraceOfVisitedCells) {
  set(8, 0, 0, 7, 7);
  views.updategridhighlights(true);
  EXPECT_FALSE(model.getvisit(8, 7, 7));
  state.online = true;
  views.updategridhighlights(false);
  EXPECT_TRUE(model.getvisit(8, 7, 7));
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 8; });
  views.updategridhighlights(false);
  EXPECT_EQ(back(7, 7), tints.visited);
  state.online = false;
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 9; });
  views.updategridhighlights(true);
  EXPECT_EQ(back(7, 7), tints.visited);  // already visited cells keep their tint
  EXPECT_EQ(back(7, 8), tints.visited);
  EXPECT_FALSE(model.getvisit(8, 9, 7));
}

TEST_F(HighlightTest, TheSelectionBoxIsPaintedOverEverything) {
  set(8, 5, 5, 6, 6);
  state.trimbox = {true, 5, 5, 7, 6};  // anchor (5, 5), end (7, 6): 3 x 2 cells
  views.updategridhighlights(true);
  for (int k = 5; k <= 7; ++k)
    for (int q = 5; q <= 6; ++q) EXPECT_EQ(back(q, k), boxgrey) << k << " " << q;
  EXPECT_EQ(back(5, 8), blue);
  EXPECT_EQ(back(7, 5), blue);
  EXPECT_EQ(views.highlighter().lastselectionsize(), 6);

  // With the load direction UP the box is turned over like the cells.
  state.preferences.gridloadup = true;
  views.updategridhighlights(true);
  EXPECT_EQ(back(26, 5), boxgrey);
  EXPECT_EQ(back(25, 7), boxgrey);
  EXPECT_EQ(back(5, 5), white);
}

TEST_F(HighlightTest, ANewSelectionSizeForcesAFullRepaint) {
  set(8, 5, 5, 20, 20);
  state.trimbox = {true, 5, 5, 5, 5};
  views.updategridhighlights(true);
  // The box grows by one: an incremental request repaints everything.
  state.trimbox.endh = 6;
  views.mapgrid().setcellbackcolor(0, 0, 0x123456);
  views.updategridhighlights(false);
  EXPECT_EQ(back(0, 0), white);
  EXPECT_EQ(back(5, 6), boxgrey);
  // A one-cell box that moves keeps its size: only a full repaint asked for shows it.
  state.trimbox = {true, 9, 9, 9, 10};
  views.updategridhighlights(true);
  state.trimbox = {true, 9, 10, 9, 11};
  views.updategridhighlights(false);
  EXPECT_EQ(back(9, 9), boxgrey);
  EXPECT_NE(back(11, 9), boxgrey);
  views.updategridhighlights(true);
  EXPECT_EQ(back(11, 9), boxgrey);
  EXPECT_NE(back(9, 9), boxgrey);
}
