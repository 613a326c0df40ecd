#include "mapviews/fuelbaseconversion.h"

#include <array>
#include <cmath>

#include "calibration/maps.h"
#include "platform/mapguards.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr int basefuelmap = 0;
constexpr int vemap = 4;
constexpr double pulsestep = 0.005;  // ms per raw unit of map 0
constexpr int maxpulse = 8000;

// What the two formulas read besides the maps they convert: the target ratio map, and the rows of settings map 110
// holding the injector flow (row 9) and the cylinder capacity (row 10). Row -1: every row.
struct GuardedRead {
  int map, row;
};
constexpr std::array<GuardedRead, 5> conversionreads{{{basefuelmap, -1}, {vemap, -1}, {19, -1}, {110, 9}, {110, 10}}};

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

bool fuelbaseguarded(const MapGuards& guards) {
  for (const GuardedRead& read : conversionreads)
    if (read.row < 0 ? guards.anyguarded(read.map) : guards.guarded(read.map, read.row)) return true;
  return false;
}

int convertfuelbase(maps& model, int direction) {
  const auto cells = fuelbasecells(model, direction);
  if (!cells) return -1;
  const int map = direction == vetofuelbase ? basefuelmap : vemap;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) model.setdata(map, r, c, (*cells)[r][c], true);
  return map;
}

}  // namespace ostrel
