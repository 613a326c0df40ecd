#include "mapviews/gridhighlights.h"

#include <algorithm>
#include <cstdlib>

#include "calibration/maps.h"
#include "mapviews/gridlayer.h"
#include "mapviews/mapgridcontent.h"
#include "mapviews/viewhelpers.h"
#include "platform/programstate.h"

namespace ostrel {

std::uint32_t GridTints::tint(std::uint32_t color, int base, int divisor) {
  const int blue = static_cast<int>((color >> 16) & 0xFF);
  const int green = static_cast<int>((color >> 8) & 0xFF);
  const int red = static_cast<int>(color & 0xFF);
  // A channel cannot pass 255: base plus at most 255 / divisor stays within a byte for both tints in use.
  return static_cast<std::uint32_t>(std::min(255, base + blue / divisor) << 16 |
                                    std::min(255, base + green / divisor) << 8 | std::min(255, base + red / divisor));
}

GridTints GridTints::of(std::uint32_t trimbandcolor, std::uint32_t mapbandcolor) {
  return {tint(trimbandcolor, 128, 2), tint(trimbandcolor, 200, 5), tint(mapbandcolor, 128, 2)};
}

namespace {

// What one pass needs to know about the map and the program.
struct Pass {
  const maps& model;
  int map;
  bool threed;
  bool loadup;
  ShownArea shown;
  GridTints tints;

  int key(int i, int j) const { return threed ? i * gridsize + j : i + j * gridsize; }
  int gridrow(int position) const { return threed && loadup ? gridsize - 1 - position : position; }
  // The model cell at grid column k and position p down the grid.
  bool visited(int k, int p) const { return threed ? model.getvisit(map, k, p) : model.getvisit(map, p, k); }

  std::uint32_t plain(int k, int p) const {
    if (visited(k, p)) return tints.visited;
    const bool odd = p % 2 == 1;
    if (shown.inside(k, p)) return odd ? gridcolors::oddstripe : gridcolors::evenstripe;
    return odd ? gridcolors::oddoutside : gridcolors::evenoutside;
  }
  void paint(GridModel& grid, int cellkey, std::uint32_t color) const {
    grid.setcellbackcolor(gridrow(cellkey % gridsize), cellkey / gridsize, color);
  }
};

}  // namespace

void GridHighlighter::update(bool full, maps& model, const ProgramState& state, int liverow, int livecol,
                             GridModel& grid) {
  const int map = state.curmap;
  if (state.online) model.setvisit(map, liverow, livecol);

  const TrimBox& box = state.trimbox;
  if (box.active) {
    const int size = (std::abs(box.anchorh - box.endh) + 1) * (std::abs(box.anchorv - box.endv) + 1);
    if (size != selectionsize_) full = true;
    selectionsize_ = size;
  }

  // Comments, passwords and settings maps are coloured like tables, in both forms.
  const Pass pass{model,
                  map,
                  model.getcontextandtype(map) == 0,
                  state.preferences.gridloadup,
                  shownarea(model, state.guards, map),
                  GridTints::of(state.colors.trimbandcolor, state.colors.mapbandcolor)};
  grid.setmarkmode(0);
  const int cursor = pass.key(state.cursorrow, state.cursorcol);
  const int live = pass.key(liverow, livecol);

  // One pass reaches the view as one change.
  grid.beginbatch();
  if (full) {
    cursorkey_ = cursor;
    livekey_ = live;
    grid.setredraw(false);
    for (int col = 0; col < gridsize; ++col) grid.setcellforecolor(-1, col, 0);
    for (int p = 0; p < gridsize; ++p) {
      const int g = pass.gridrow(p);
      for (int k = 0; k < gridsize; ++k) {
        grid.setcellbold(g, k, false);
        grid.setcellforecolor(g, k, 0);
        const int cellkey = k * gridsize + p;
        grid.setcellbackcolor(g, k,
                              cellkey == cursor ? pass.tints.cursor
                              : cellkey == live ? pass.tints.live
                                                : pass.plain(k, p));
      }
    }
    if (box.active) {
      const int h0 = std::min(box.anchorh, box.endh), h1 = std::max(box.anchorh, box.endh);
      const int v0 = std::min(box.anchorv, box.endv), v1 = std::max(box.anchorv, box.endv);
      for (int k = h0; k <= h1 && k < gridsize; ++k)
        for (int q = v0; q <= v1 && q < gridsize; ++q) grid.setcellbackcolor(pass.gridrow(q), k, gridcolors::selection);
    }
  } else {
    // Each of the four cells (old live, old cursor, new cursor, new live) is painted once, in that order, the
    // colour a cell gets following what it is now.
    const int oldcursor = cursorkey_, oldlive = livekey_;
    bool donecursor = false, donelive = false;
    if (oldlive == live) {
      pass.paint(grid, oldlive, gridcolors::live);
      donelive = true;
    } else if (oldlive == cursor) {
      pass.paint(grid, oldlive, pass.tints.cursor);
      donecursor = true;
    } else {
      pass.paint(grid, oldlive, pass.plain(oldlive / gridsize, oldlive % gridsize));
    }
    // An old cursor on the old live cell has just been painted with it.
    if (oldcursor != oldlive) {
      if (oldcursor == live) {
        if (!donelive) pass.paint(grid, oldcursor, gridcolors::live);
        donelive = true;
      } else if (oldcursor == cursor) {
        if (!donecursor) pass.paint(grid, oldcursor, pass.tints.cursor);
        donecursor = true;
      } else {
        pass.paint(grid, oldcursor, pass.plain(oldcursor / gridsize, oldcursor % gridsize));
      }
    }
    if (!donecursor) {
      if (cursor == live) {
        pass.paint(grid, cursor, gridcolors::live);
        donelive = true;
      } else {
        pass.paint(grid, cursor, pass.tints.cursor);
      }
    }
    if (!donelive) pass.paint(grid, live, gridcolors::live);
    cursorkey_ = cursor;
    livekey_ = live;
  }
  grid.setredraw(true);
  grid.endbatch();
}

}  // namespace ostrel
