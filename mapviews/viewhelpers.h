#pragma once

#include <QString>

namespace ostrel {

class maps;

// Decimals (0 to 3) that values shown with the multiplier get: the smallest k whose k-th decimal digit of the
// multiplier, rounded half to even at that place, is 1 or more; 0 when there is none or the multiplier is negative.
// The digits are taken from the stored single-precision value, so 0.05 (stored a little above) gets 1.
int decimalsforscale(float x);

// What a map's definition string says about showing it: "group:name;units_multiplier|offset".
struct MapDisplay {
  QString group;
  QString name;
  QString units;
  float gain = 0.0f;  // multiplier times the fuel type's factor on the AFR maps
  float offset = 0.0f;
};
MapDisplay mapdisplay(const maps& model, int map, int fueltype);

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
