#include "mapviews/viewhelpers.h"

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "platform/numbers.h"

namespace ostrel {

MapDisplay mapdisplay(const maps& model, const MapGuards& guards, int map, int fueltype) {
  return parsemapdefinition(shownmapname(model, guards, map), model.getspecialmul(map, fueltype));
}

MapDisplay parsemapdefinition(const QString& s, float specialmul) {
  MapDisplay d;
  // Each separator is looked for after the one before it: the name may hold a colon of its own.
  const int colon = s.indexOf(QLatin1Char(':'));
  const int semi = colon < 0 ? -1 : s.indexOf(QLatin1Char(';'), colon + 1);
  const int underscore = semi < 0 ? -1 : s.indexOf(QLatin1Char('_'), semi + 1);
  const int bar = underscore < 0 ? -1 : s.indexOf(QLatin1Char('|'), underscore + 1);
  // A multiplier that is missing or no number leaves the raw value as it is.
  float multiplier = 1.0f;
  if (colon >= 0) {
    d.group = s.left(colon);
    d.name = semi < 0 ? s.mid(colon + 1) : s.mid(colon + 1, semi - colon - 1);
  }
  if (semi >= 0) d.units = underscore < 0 ? s.mid(semi + 1) : s.mid(semi + 1, underscore - semi - 1);
  if (underscore >= 0) {
    const QString text = bar < 0 ? s.mid(underscore + 1) : s.mid(underscore + 1, bar - underscore - 1);
    multiplier = static_cast<float>(parsenumber(text).value_or(1.0));
  }
  if (bar >= 0) d.offset = static_cast<float>(parsenumber(s.mid(bar + 1)).value_or(0.0));
  d.gain = multiplier * specialmul;
  return d;
}

}  // namespace ostrel
