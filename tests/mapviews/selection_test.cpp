// The selection box, the selection edits and the pending-write rectangle, without windows.
#include "mapviews/selection.h"

#include <gtest/gtest.h>

#include <array>

#include "mapviews/keycodes.h"
#include "mapviews/pendingwrite.h"
#include "mapviewsfixture.h"

using namespace ostrel;

namespace {

std::array<int, 4> bounds(const TrimBox& b) {
  return {b.rowmin, b.rowmax, b.colmin, b.colmax};
}
std::array<int, 4> ends(const TrimBox& b) {
  return {b.anchorh, b.anchorv, b.endh, b.endv};
}
std::array<int, 4> rect(const PendingWrite& w) {
  return {w.lowrow, w.highrow, w.lowcol, w.highcol};
}

TEST(SelectionBounds, AnchorAndEndOrderIntoMapIndexesByKind) {
  const struct {
    int kind, anchorh, anchorv, endh, endv;
    std::array<int, 4> expected;  // rows over the first index, then columns over the second
  } cases[] = {
      {0, 5, 7, 6, 7, {5, 6, 7, 7}},  // 3-D: across is the first index
      {0, 9, 4, 2, 1, {2, 9, 1, 4}},  // an end left of and above its anchor: as the mirrored box
      {0, 2, 1, 9, 4, {2, 9, 1, 4}},   {1, 3, 0, 11, 0, {0, 0, 3, 11}},  // every other kind: across is the second index
      {2, 12, 6, 4, 2, {2, 6, 4, 12}}, {4, 0, 0, 0, 0, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    TrimBox box;
    box.anchorh = static_cast<std::uint8_t>(c.anchorh), box.anchorv = static_cast<std::uint8_t>(c.anchorv);
    box.endh = static_cast<std::uint8_t>(c.endh), box.endv = static_cast<std::uint8_t>(c.endv);
    selectionbounds(box, c.kind);
    EXPECT_EQ(bounds(box), c.expected) << c.kind << " " << c.anchorh << "," << c.anchorv;
  }
}

class SelectionTest : public test::MapViewsTest {
 protected:
  void SetUp() override { openshipped(); }
  void open(int map, int row = 0, int col = 0) {
    state.curmap = static_cast<std::uint8_t>(map);
    state.cursorrow = static_cast<std::uint8_t>(row);
    state.cursorcol = static_cast<std::uint8_t>(col);
    state.trimbox.active = false;
  }
  void fill(int value) {
    for (int r = 0; r < model.getmaprows(state.curmap); ++r)
      for (int c = 0; c < model.getmapcols(state.curmap); ++c) model.setdata(state.curmap, r, c, value, false);
  }
  // Puts the box on the map rectangle rows r0..r1, columns c0..c1 (as the keyboard would, in grid positions).
  void box(int r0, int r1, int c0, int c1) {
    const bool threed = model.getcontextandtype(state.curmap) == 0;
    TrimBox& b = state.trimbox;
    b.active = true;
    b.anchorh = static_cast<std::uint8_t>(threed ? r0 : c0), b.endh = static_cast<std::uint8_t>(threed ? r1 : c1);
    b.anchorv = static_cast<std::uint8_t>(threed ? c0 : r0), b.endv = static_cast<std::uint8_t>(threed ? c1 : r1);
    selectionbounds(b, model.getcontextandtype(state.curmap));
  }
  int cell(int r, int c) const { return model.getdata(state.curmap, r, c); }
};

TEST_F(SelectionTest, TheEndMovesWithinTheMapAndTheAnchorStays) {
  open(8, 5, 7);
  moveselection(state, model, vk::right, false);
  EXPECT_EQ(ends(state.trimbox), (std::array<int, 4>{5, 7, 6, 7}));
  EXPECT_EQ(bounds(state.trimbox), (std::array<int, 4>{5, 6, 7, 7}));

  open(8, 0, 31);
  moveselection(state, model, vk::left, false);
  moveselection(state, model, vk::down, false);
  EXPECT_EQ(ends(state.trimbox), (std::array<int, 4>{0, 31, 0, 31}));
  for (int i = 0; i < 40; ++i) moveselection(state, model, vk::right, false);
  for (int i = 0; i < 40; ++i) moveselection(state, model, vk::up, false);
  EXPECT_EQ(ends(state.trimbox), (std::array<int, 4>{0, 31, 31, 0}));
  EXPECT_EQ(bounds(state.trimbox), (std::array<int, 4>{0, 31, 0, 31}));

  // A 2-D table's box runs along its one row; other codes move nothing.
  open(24, 0, 15);
  moveselection(state, model, vk::down, false);
  moveselection(state, model, vk::right, false);
  moveselection(state, model, vk::pageup, false);
  EXPECT_EQ(ends(state.trimbox), (std::array<int, 4>{15, 0, 15, 0}));
}

TEST_F(SelectionTest, SelectAllSpansTheWholeMapOfEachKind) {
  const struct {
    int map;
    std::array<int, 4> expected;
  } cases[] = {
      {8, {0, 31, 0, 31}}, {24, {0, 0, 0, 15}}, {104, {0, 7, 0, 15}}, {110, {0, 15, 0, 15}}, {107, {0, 31, 0, 31}}};
  for (const auto& c : cases) {
    open(c.map, 3, 4);
    calls.clear();
    Selection selection(state, model, views, prompts);
    EXPECT_TRUE(selection.selectall());
    EXPECT_TRUE(state.trimbox.active);
    EXPECT_EQ(bounds(state.trimbox), c.expected) << c.map;
    EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("drawmap 1")});
  }
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(SelectionTest, ABoxCarriedIntoAnotherMapIsLimitedToIt) {
  open(8);
  box(20, 25, 3, 10);
  state.curmap = 24;
  limitselection(state, model);
  EXPECT_EQ(bounds(state.trimbox), (std::array<int, 4>{0, 0, 15, 15}));
  state.curmap = 104;
  state.trimbox.anchorh = 3, state.trimbox.endh = 30, state.trimbox.anchorv = 2, state.trimbox.endv = 20;
  limitselection(state, model);
  EXPECT_EQ(bounds(state.trimbox), (std::array<int, 4>{2, 7, 3, 15}));

  // So is one that grows after the change.
  open(8);
  box(20, 25, 3, 10);
  state.curmap = 24;
  moveselection(state, model, vk::left, false);
  EXPECT_EQ(bounds(state.trimbox), (std::array<int, 4>{0, 0, 14, 15}));

  // An edit after the change of map never reaches outside the new map.
  open(8);
  box(20, 25, 3, 10);
  state.curmap = 25;
  fill(100);
  state.curincrement = 5;
  EXPECT_EQ(editselection(state, model, vk::pageup, 0, 0.0f), EditRefusal::none);
  for (int c = 0; c < 16; ++c) EXPECT_EQ(cell(0, c), c == 15 ? 105 : 100) << c;
  EXPECT_EQ(rect(state.pendingwrite), (std::array<int, 4>{0, 0, 15, 15}));
}

TEST(EditArithmetic, ToolsWorkInTheUnitsShownAndRoundHalfToEven) {
  const struct {
    int op;
    double cell;
    float factor, gain, offset;
    EditRefusal refusal;
    double expected;
  } cases[] = {
      {1, 100, 1.1f, 0.5f, 0.0f, EditRefusal::none, 110},
      {1, 100, 1.1f, 0.5f, -40.0f, EditRefusal::none, 102},
      {1, 100, 1.1f, 0.5f, -64.0f, EditRefusal::none, 97},
      {2, 100, 2.0f, 0.5f, 0.0f, EditRefusal::none, 50},
      {2, 100, 4.0f, 0.5f, -40.0f, EditRefusal::none, 85},  // shown 10 becomes 2.5: (100 - 80) / 4 + 80
      {5, 100, 1.0f, 0.5f, 0.0f, EditRefusal::none, 102},
      {5, 100, 5.0f, 2.0f, 0.0f, EditRefusal::none, 102},
      {6, 100, 1.0f, 0.5f, 0.0f, EditRefusal::none, 98},
      {6, 100, 7.5f, 3.0f, 0.0f, EditRefusal::none, 98},
      {2, 100, 0.0f, 0.5f, 0.0f, EditRefusal::dividebyzero, 0},
      {1, 8000, 5.0f, 0.005f, 0.0f, EditRefusal::outofrange, 0},
      {5, 100, 1e9f, 0.5f, 0.0f, EditRefusal::outofrange, 0},
      {6, 100, 200.0f, 0.005f, 0.0f, EditRefusal::outofrange, 0},
      {1, 100, 2.0f, 0.0f, 0.0f, EditRefusal::nogain, 0},
      {5, 100, 2.0f, 0.0f, 0.0f, EditRefusal::nogain, 0},
      {3, 100, 2.0f, 0.0f, 0.0f, EditRefusal::none, 100},  // not a tool of this kind: the value stays
  };
  for (const auto& c : cases) {
    const EditValue v = tooledit(c.op, c.cell, c.factor, c.gain, c.offset);
    EXPECT_EQ(v.refusal, c.refusal) << c.op << " " << c.cell << " " << c.factor;
    if (c.refusal == EditRefusal::none) {
      EXPECT_EQ(v.value, c.expected) << c.op << " " << c.cell << " " << c.factor;
    }
  }
  EXPECT_EQ(directraw(10.0f, 0.5f, 0.0f).value, 20);
  EXPECT_EQ(directraw(10.25f, 0.5f, 0.0f).value, 20);  // 20.5 to the even 20
  EXPECT_EQ(directraw(10.75f, 0.5f, 0.0f).value, 22);  // 21.5 to the even 22
  EXPECT_EQ(directraw(-64.0f, 0.5f, -64.0f).value, 0);
  EXPECT_EQ(directraw(-30.0f, 0.5f, 0.0f).value, -60);  // the model limits it when stored
  EXPECT_EQ(directraw(1.0f, 0.0f, 0.0f).refusal, EditRefusal::nogain);
  EXPECT_EQ(directraw(1e6f, 0.005f, 0.0f).refusal, EditRefusal::outofrange);
}

TEST_F(SelectionTest, ASelectionEditIsCheckedWholeBeforeAnyCellChanges) {
  open(0);
  fill(4000);
  model.setdata(0, 6, 6, 7000, false);  // the last cell of the box
  box(5, 6, 5, 6);
  // 7000 times 5 is no cell value; 4000 times 5 would be, but nothing may change.
  EXPECT_EQ(editselection(state, model, 1, 0, 5.0f), EditRefusal::outofrange);
  EXPECT_EQ(editselection(state, model, 2, 0, 0.0f), EditRefusal::dividebyzero);
  state.guards.guard(0, 0, 20, 21);
  EXPECT_EQ(editselection(state, model, vk::pageup, 0, 0.0f), EditRefusal::protectedmap);
  state.guards.clear();
  EXPECT_EQ(cell(5, 5), 4000);
  EXPECT_EQ(cell(6, 6), 7000);
  EXPECT_FALSE(model.getchange(0, 5, 5));
  EXPECT_EQ(state.pendingcommand, 0);
  EXPECT_TRUE(state.pendingwrite.empty());

  // Results that are cell values but beyond the cell's range are limited to it.
  state.syncerrticks = 9;
  EXPECT_EQ(editselection(state, model, 1, 0, 1.5f), EditRefusal::none);
  EXPECT_EQ(cell(5, 5), 6000);
  EXPECT_EQ(cell(6, 6), 8000);
  EXPECT_EQ(cell(7, 7), 4000);
  EXPECT_TRUE(model.getchange(0, 5, 6));
  EXPECT_EQ(state.syncerrticks, 0);
  EXPECT_EQ(state.pendingcommand, pendingcountdown);
  EXPECT_EQ(state.pendingmap, 0);
  EXPECT_EQ(rect(state.pendingwrite), (std::array<int, 4>{5, 6, 5, 6}));

  // Set, add and subtract on a map shown at half its raw value; steps by the key's increment.
  open(8);
  fill(100);
  box(1, 2, 3, 3);
  EXPECT_EQ(editselection(state, model, 0, 40, 0.0f), EditRefusal::none);
  EXPECT_EQ(cell(1, 3), 40);
  EXPECT_EQ(editselection(state, model, 5, 0, 1.0f), EditRefusal::none);
  EXPECT_EQ(cell(2, 3), 42);
  EXPECT_EQ(editselection(state, model, 6, 0, 30.0f), EditRefusal::none);
  EXPECT_EQ(cell(2, 3), 0);
  state.curincrement = 4;
  EXPECT_EQ(editselection(state, model, vk::plus, 0, 0.0f), EditRefusal::none);
  EXPECT_EQ(editselection(state, model, vk::pagedown, 0, 0.0f), EditRefusal::none);
  EXPECT_EQ(editselection(state, model, vk::minus, 0, 0.0f), EditRefusal::none);
  EXPECT_EQ(cell(1, 3), 0);
  EXPECT_EQ(cell(1, 4), 100);
  // A code that is no operation changes nothing and marks nothing.
  state.pendingcommand = 0;
  state.pendingwrite.reset();
  EXPECT_EQ(editselection(state, model, 3, 0, 2.0f), EditRefusal::none);
  EXPECT_EQ(state.pendingcommand, 0);
}

TEST_F(SelectionTest, MarkingWidensThePendingRectangleAndRestartsTheCountdown) {
  state.curmap = 4;
  markdirtycells(state, 5, 5, 7, 7);
  EXPECT_EQ(rect(state.pendingwrite), (std::array<int, 4>{5, 5, 7, 7}));
  state.pendingcommand = 2;
  markdirtycells(state, 2, 3, 9, 9);
  EXPECT_EQ(rect(state.pendingwrite), (std::array<int, 4>{2, 5, 7, 9}));
  EXPECT_EQ(state.pendingcommand, 8);
  EXPECT_EQ(state.pendingmap, 4);
}

TEST_F(SelectionTest, RefusalsAreShownAsInformation) {
  open(8);
  box(0, 1, 0, 1);
  Selection selection(state, model, views, prompts);
  EXPECT_FALSE(selection.editselection(2, 0, 0.0f));
  EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral("It is not possible to divide by zero")});
  EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Information);
  EXPECT_TRUE(selection.editselection(vk::pageup, 0, 0.0f));
  EXPECT_EQ(prompts.messages().size(), 1u);
}

}  // namespace
