#pragma once

#include <QString>

#include "platform/numbers.h"

namespace ostrel {

class maps;

// What a map's definition string says about showing it: "group:name;units_multiplier|offset".
// Each field runs to the next separator; a separator that is missing leaves the fields after it empty, a gain of 1
// and an offset of 0 (numbers in the C locale).
struct MapDisplay {
  QString group;
  QString name;
  QString units;
  float gain = 1.0f;  // multiplier times the fuel type's factor on the AFR maps
  float offset = 0.0f;
};
MapDisplay mapdisplay(const maps& model, int map, int fueltype);
// The same for a definition string, with the fuel type's factor of its map.
MapDisplay parsemapdefinition(const QString& definition, float specialmul);

// The part of a map that is in use, as counts of grid positions: across the grid (the rpm points of a 3-D map,
// the columns of any other map) and down it (the load or throttle points of a 3-D map, the rows elsewhere). The
// model answers a count of points on maps 0 to 23 and a last index on every other map; every view asks here.
struct ShownArea {
  int across = 0;
  int down = 0;
  bool inside(int gridcol, int position) const {
    return gridcol >= 0 && gridcol < across && position >= 0 && position < down;
  }
};
ShownArea shownarea(const maps& model, int map);

}  // namespace ostrel
