#include "mapviews/gridscroll.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <algorithm>

#include "mapviews/gridlayer.h"
#include "platform/programstate.h"

using namespace ostrel;

namespace {

// A 32 x 32 grid that shows rows x cols cells at a time and records every put.
class RecordingScroll final : public GridScrolling {
 public:
  RecordingScroll(int rows, int cols) : rows_(rows), cols_(cols) {}

  int toprow() const override { return top; }
  void settoprow(int row) override {
    puts << QStringLiteral("toprow %1").arg(row);
    top = std::clamp(row, 0, 32 - rows_);
  }
  int bottomrow() const override { return top + rows_ - 1; }
  void setbottomrow(int row) override {
    puts << QStringLiteral("bottomrow %1").arg(row);
    top = std::clamp(row - rows_ + 1, 0, 32 - rows_);
  }
  int leftcol() const override { return left; }
  void setleftcol(int col) override {
    puts << QStringLiteral("leftcol %1").arg(col);
    left = std::clamp(col, 0, 32 - cols_);
  }
  int rightcol() const override { return left + cols_ - 1; }
  void setrightcol(int col) override {
    puts << QStringLiteral("rightcol %1").arg(col);
    left = std::clamp(col - cols_ + 1, 0, 32 - cols_);
  }
  int currow() const override { return row; }
  void setcurrow(int r) override {
    puts << QStringLiteral("currow %1").arg(r);
    row = r;
  }
  int curcol() const override { return col; }
  void setcurcol(int c) override {
    puts << QStringLiteral("curcol %1").arg(c);
    col = c;
  }

  int top = 0, left = 0, row = 0, col = 0;
  QStringList puts;

 private:
  int rows_, cols_;
};

class ScrollTest : public ::testing::Test {
 protected:
  ScrollTest() {
    state.preferences.gridloadup = false;
    state.preferences.gridcenterload = true;
  }
  void scroll(int kind, bool reset = false) {
    grid.puts.clear();
    scrollgridtocell(reset, state, kind, liverow, livecol, grid);
  }
  ProgramState state;
  RecordingScroll grid{10, 8};
  int liverow = 0, livecol = 0;
};

}  // namespace

TEST_F(ScrollTest, OpeningAMapStartsAtItsFirstCells) {
  state.preferences.gridloadup = true;
  scroll(0, true);
  EXPECT_EQ(grid.puts, (QStringList{"leftcol 31", "toprow 31"}));
  scroll(1, true);
  EXPECT_EQ(grid.puts, (QStringList{"leftcol 0", "toprow 0"}));
  state.preferences.gridloadup = false;
  scroll(0, true);
  EXPECT_EQ(grid.puts, (QStringList{"leftcol 0", "toprow 0"}));
}

TEST_F(ScrollTest, ACellInsideTheWindowMovesOnlyTheFocus) {
  liverow = 3;
  livecol = 4;
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"curcol 3", "currow 4"}));
  scroll(0);
  EXPECT_TRUE(grid.puts.isEmpty());
}

// The live cell on the last visible row is put there again; the cursor on that row is not.
TEST_F(ScrollTest, LiveAndCursorDifferOnTheLastVisibleRow) {
  liverow = 2;
  livecol = 9;
  scroll(0);
  EXPECT_TRUE(grid.puts.contains(QStringLiteral("bottomrow 9")));
  state.preferences.gridcenterload = false;
  state.cursorrow = 2;
  state.cursorcol = 9;
  scroll(0);
  EXPECT_FALSE(grid.puts.contains(QStringLiteral("bottomrow 9")));
  state.cursorcol = 10;
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"bottomrow 10", "currow 10"}));
  EXPECT_EQ(grid.top, 1);
}

TEST_F(ScrollTest, FollowsTheCellBothWaysAndUpsideDown) {
  state.preferences.gridloadup = true;
  grid.top = 22;
  grid.left = 0;
  liverow = 20;  // beyond the right edge
  livecol = 2;   // grid row 29: inside
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"rightcol 20", "curcol 20", "currow 29"}));
  EXPECT_EQ(grid.left, 13);
  liverow = 5;   // left of the window
  livecol = 20;  // grid row 11: above it
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"leftcol 5", "toprow 11", "curcol 5", "currow 11"}));
}

TEST_F(ScrollTest, ATableAlwaysGoesBackToRowZero) {
  grid.top = 3;
  liverow = 0;
  livecol = 12;
  scroll(1);
  EXPECT_EQ(grid.puts, (QStringList{"rightcol 12", "toprow 0", "curcol 12"}));
  scroll(1);
  EXPECT_EQ(grid.puts, (QStringList{"toprow 0"}));
}

TEST_F(ScrollTest, TheSelectionEndIsBroughtIntoView) {
  state.trimbox = {true, 5, 3, 9, 3};  // growing to the right beyond column 7
  state.cursorrow = 5;
  state.cursorcol = 3;
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"rightcol 9", "curcol 5", "currow 3"}));
  // An end on the last visible column is put again while the box grows, not while it shrinks.
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"rightcol 9"}));
  state.trimbox = {true, 12, 3, 9, 3};
  scroll(0);
  EXPECT_TRUE(grid.puts.isEmpty());
  // Growing to lower columns before the first visible one.
  state.trimbox = {true, 5, 3, 1, 3};
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"leftcol 1"}));
  // Down the grid, growing beyond the last visible row.
  state.trimbox = {true, 1, 3, 1, 14};
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"bottomrow 14"}));
  EXPECT_EQ(grid.top, 5);
  // Shrinking upwards above the first visible row.
  state.trimbox = {true, 1, 14, 1, 2};
  scroll(0);
  EXPECT_EQ(grid.puts, (QStringList{"toprow 2"}));
}
