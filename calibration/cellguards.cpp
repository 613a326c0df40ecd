#include "calibration/cellguards.h"

#include "calibration/maps.h"

namespace ostrel {

bool cellguarded(const maps& model, const MapGuards& guards, int map, int i, int j) {
  return guards.guarded(map, guardrowof(model.getcontextandtype(map), i, j));
}

}  // namespace ostrel
