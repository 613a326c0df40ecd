#pragma once

namespace ostrel {

class MapGuards;
class maps;

// The part of a map that is in use, as counts of grid positions: across the grid (the rpm points of a 3-D map,
// the columns of any other map) and down it (the load or throttle points of a 3-D map, the rows elsewhere). The
// model answers a count of points on maps 0 to 23 and a last index on every other map; the live cell and every
// view ask here.
struct ShownArea {
  int across = 0;
  int down = 0;
  bool inside(int gridcol, int position) const {
    return gridcol >= 0 && gridcol < across && position >= 0 && position < down;
  }
};
// On maps 0 to 23 an axis ends at the first end marker among its spreads. Where that marker lies at or after the
// first point whose spread a password guards, the end itself is guarded: the whole axis is shown, so that the
// grid's and the graph's extent tell nothing of the guarded spreads.
ShownArea shownarea(const maps& model, const MapGuards& guards, int map);

}  // namespace ostrel
