#pragma once

#include <QString>

#include "calibration/shownarea.h"  // the shown area, which every view asks
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

}  // namespace ostrel
