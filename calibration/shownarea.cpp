#include "calibration/shownarea.h"

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"

namespace ostrel {

namespace {

constexpr int axispoints = 32;

// The count of points an axis shows: the model's, unless a guarded spread decides where the axis ends.
int showncount(int count, const MapGuards& guards, SpreadAxis axis) {
  return count >= firstguardedpoint(guards, axis) ? axispoints : count;
}

}  // namespace

ShownArea shownarea(const maps& model, const MapGuards& guards, int map) {
  const int rows = model.getmaprows(map), cols = model.getmapcols(map);
  if (rows <= 0 || cols <= 0) return {};
  const bool counts = map >= 0 && map <= 23;
  int lastrow = model.getlastshowrow(map) + (counts ? 0 : 1);
  int lastcol = model.getlastshowcol(map) + (counts ? 0 : 1);
  if (counts) {
    lastrow = showncount(lastrow, guards, SpreadAxis::load);
    lastcol = showncount(lastcol, guards, SpreadAxis::rpm);
  }
  // On 3-D maps the rows run across the grid; getlastshowrow speaks of grid rows, getlastshowcol of grid columns.
  const bool threed = model.getcontextandtype(map) == 0;
  const int acrossmax = threed ? rows : cols, downmax = threed ? cols : rows;
  return {std::clamp(lastcol, 0, acrossmax), std::clamp(lastrow, 0, downmax)};
}

}  // namespace ostrel
