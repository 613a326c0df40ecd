#include "calibration/mapcheck.h"

#include <algorithm>
#include <cstdlib>

#include "calibration/maps.h"
#include "platform/numbers.h"

namespace ostrel {

int neutralvalue(const maps& model, int map) {
  // The offset closes the definition string: "group:name [axes];units_multiplier|offset".
  const QString definition = model.getmapname(map);
  const int bar = definition.lastIndexOf(QLatin1Char('|'));
  const double offset = bar < 0 ? 0.0 : parsenumber(definition.mid(bar + 1)).value_or(0.0);
  return static_cast<float>(offset) == 0.0f ? 0 : 128;
}

MapCheckFigures mapcheckfigures(const maps& model, const maps& templ, int map) {
  MapCheckFigures f;
  const int neutral = neutralvalue(model, map);
  const int n = model.getmapcols(map);
  std::int16_t previous = 0;
  for (int c = 0; c < n; ++c) {
    const std::int16_t a = model.getdata(map, 0, c);
    const std::int16_t t = templ.getdata(map, 0, c);
    if (a == neutral) ++f.neutralcount;
    if (c == 0) previous = a;
    f.deviation += std::abs(t - a);
    const auto step = static_cast<std::int16_t>(a - previous);
    f.loweststep = std::min(f.loweststep, step);
    f.higheststep = std::max(f.higheststep, step);
    if (c == n - 1) f.lastcellneutral = a == neutral;
    previous = a;
  }
  return f;
}

std::vector<MapCheckFault> mapcheckfaults(const MapCheckFigures& figures, const CheckLimits& limits) {
  std::vector<MapCheckFault> faults;
  if (figures.deviation > limits.maxdeviation) faults.push_back(MapCheckFault::Deviation);
  if (figures.loweststep < limits.maxfall) faults.push_back(MapCheckFault::NegativeGradient);
  if (figures.higheststep > limits.maxrise) faults.push_back(MapCheckFault::PositiveGradient);
  if (!figures.lastcellneutral && limits.rightcellzero) faults.push_back(MapCheckFault::RightCellNotNeutral);
  if (figures.neutralcount < limits.minzerocount) faults.push_back(MapCheckFault::NeutralCount);
  return faults;
}

std::vector<MapCheckFault> checkmap(const maps& model, const maps& templ, int map) {
  const auto& limits = startuptables().checklimits;
  if (map < 0 || map >= static_cast<int>(limits.size())) return {};
  return mapcheckfaults(mapcheckfigures(model, templ, map), limits[static_cast<std::size_t>(map)]);
}

}  // namespace ostrel
