#include "calibration/shownarea.h"

#include <algorithm>

#include "calibration/maps.h"

namespace ostrel {

ShownArea shownarea(const maps& model, int map) {
  const int rows = model.getmaprows(map), cols = model.getmapcols(map);
  if (rows <= 0 || cols <= 0) return {};
  const bool counts = map >= 0 && map <= 23;
  const int lastrow = model.getlastshowrow(map) + (counts ? 0 : 1);
  const int lastcol = model.getlastshowcol(map) + (counts ? 0 : 1);
  // On 3-D maps the rows run across the grid; getlastshowrow speaks of grid rows, getlastshowcol of grid columns.
  const bool threed = model.getcontextandtype(map) == 0;
  const int acrossmax = threed ? rows : cols, downmax = threed ? cols : rows;
  return {std::clamp(lastcol, 0, acrossmax), std::clamp(lastrow, 0, downmax)};
}

}  // namespace ostrel
