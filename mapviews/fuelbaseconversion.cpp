#include "mapviews/fuelbaseconversion.h"

#include <array>
#include <cmath>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr int basefuelmap = 0;
constexpr int vemap = 4;
constexpr int targetmap = 19;  // the target air-fuel ratios
constexpr double pulsestep = 0.005;  // ms per raw unit of map 0
constexpr int maxpulse = 8000;

// The rows of settings map 110 that both formulas read: the injector flow (row 9) and the cylinder capacity (row
// 10). The load breakpoints come from the load spreads besides.
constexpr std::array<int, 2> fuelsettingrows{9, 10};

bool settingrowguarded(const maps& model, const MapGuards& guards, int row) {
  return cellguarded(model, guards, axissettingsmap, row, 0);
}

}  // namespace

std::int32_t pulsewidthraw(float ms) {
  const double raw = ms / pulsestep;
  if (!std::isfinite(raw)) return 0;
  return static_cast<std::int32_t>(roundclamp(raw, 0, maxpulse));
}

std::int32_t veraw(float ve) {
  if (!std::isfinite(ve)) return 0;
  return static_cast<std::int32_t>(roundclamp(ve, 0, 255));
}

std::optional<FuelGrid> fuelbasecells(const maps& model, int direction) {
  FuelGrid cells{};
  if (direction == vetofuelbase) {
    for (int r = 0; r < 32; ++r)
      for (int c = 0; c < 32; ++c) cells[r][c] = pulsewidthraw(model.getVEPW(r, c));
    return cells;
  }
  if (direction == fuelbasetove) {
    for (int r = 0; r < 32; ++r) {
      for (int c = 31; c >= 1; --c) cells[r][c] = veraw(model.getPWVE(r, c));
      // The formula gives the no-load column the VE map's column 1, which this conversion has just rebuilt.
      cells[r][0] = cells[r][1];
    }
    return cells;
  }
  return std::nullopt;
}

bool fuelbaseguarded(const maps& model, const MapGuards& guards) {
  for (const int map : {basefuelmap, vemap, targetmap})
    if (mapguarded(guards, map)) return true;
  for (const int row : fuelsettingrows)
    if (settingrowguarded(model, guards, row)) return true;
  // Every load breakpoint is a sum of load spreads, and the base-to-VE direction reads them all.
  return firstguardedpoint(guards, SpreadAxis::load) <= spreadpoints;
}

bool pulsewidthguarded(const maps& model, const MapGuards& guards, int i, int j) {
  if (cellguarded(model, guards, targetmap, i, j)) return true;
  for (const int row : fuelsettingrows)
    if (settingrowguarded(model, guards, row)) return true;
  // Breakpoint j lies at the sum of the spreads of points 1 to j.
  return j >= firstguardedpoint(guards, SpreadAxis::load);
}

int convertfuelbase(maps& model, const MapGuards& guards, int direction) {
  const auto cells = fuelbasecells(model, direction);
  if (!cells) return -1;
  const int map = direction == vetofuelbase ? basefuelmap : vemap;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) setcell(model, guards, map, r, c, (*cells)[r][c], true);
  return map;
}

}  // namespace ostrel
