#pragma once

#include <QString>

#include "calibration/shownarea.h"  // the shown area, which every view asks
#include "platform/numbers.h"

namespace ostrel {

class MapGuards;
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
// The name is the one a tuner may see (shownmapname): the axes that guarded settings decide are left out.
MapDisplay mapdisplay(const maps& model, const MapGuards& guards, int map, int fueltype);
// The same for a definition string, with the fuel type's factor of its map.
MapDisplay parsemapdefinition(const QString& definition, float specialmul);

}  // namespace ostrel
