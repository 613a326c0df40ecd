#include "mapviews/gridscroll.h"

#include "mapviews/gridlayer.h"
#include "mapviews/mapgridcontent.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

// The focus cell is put only when it moves.
void putfocus(GridScrolling& grid, int row, int col) {
  if (grid.curcol() != col) grid.setcurcol(col);
  if (grid.currow() != row) grid.setcurrow(row);
}

}  // namespace

void scrollgridtocell(bool reset, const ProgramState& state, int kind, int liverow, int livecol, GridScrolling& grid) {
  const bool threed = kind == 0;
  const bool flipped = threed && state.preferences.gridloadup;
  auto down = [&](int position) { return flipped ? gridsize - 1 - position : position; };

  if (reset) {
    const int start = flipped ? gridsize - 1 : 0;
    grid.setleftcol(start);
    grid.settoprow(start);
    return;
  }

  const int cursorrow = state.cursorrow, cursorcol = state.cursorcol;
  const TrimBox& box = state.trimbox;
  if (box.active) {
    // A growing box brings its end in as the last visible line; a shrinking one as the first.
    const int e = box.endh, a = box.anchorh;
    if (a < e) {
      if (e > grid.rightcol() - 1) {
        grid.setrightcol(e);
      } else if (e < grid.leftcol()) {
        grid.setleftcol(e);
      }
    } else if (e < grid.leftcol()) {
      grid.setleftcol(e);
    } else if (e > grid.rightcol()) {
      grid.setrightcol(e);
    }
    const int v = down(box.endv);
    if (box.anchorv < box.endv) {
      if (v > grid.bottomrow() - 1) {
        grid.setbottomrow(v);
      } else if (v < grid.toprow()) {
        grid.settoprow(v);
      }
    } else if (v < grid.toprow()) {
      grid.settoprow(v);
    } else if (v > grid.bottomrow()) {
      grid.setbottomrow(v);
    }
    // The focus stays on the cursor cell while the box is open, placed as without a box.
    if (threed) {
      putfocus(grid, down(cursorcol), cursorrow);
    } else {
      putfocus(grid, cursorrow, cursorcol);
    }
    return;
  }

  const bool followlive = state.preferences.gridcenterload;
  const int i = followlive ? liverow : cursorrow;
  const int j = followlive ? livecol : cursorcol;
  const int x = threed ? i : j;
  if (grid.rightcol() < x) grid.setrightcol(x);
  if (x < grid.leftcol()) grid.setleftcol(x);
  if (!threed) {
    grid.settoprow(0);
    putfocus(grid, i, j);
    return;
  }
  const int v = down(j);
  if (followlive ? grid.bottomrow() - 1 < v : grid.bottomrow() < v) grid.setbottomrow(v);
  if (v < grid.toprow()) grid.settoprow(v);
  putfocus(grid, v, i);
}

}  // namespace ostrel
