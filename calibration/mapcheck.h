#pragma once

// What the map check measures of a 2-D map against the same map of a template calibration, and which limits of the
// map's check record (startuptables.h) the measurements break. The check's window and messages sit above this; here
// is only the arithmetic, so that the shipped calibration can be held to its own records too.

#include <cstdint>
#include <vector>

#include "calibration/startuptables.h"

namespace ostrel {

class maps;

// First and last map the check covers: the fuel trims up to the PWM duty tables.
inline constexpr int firstcheckedmap = 24;
inline constexpr int lastcheckedmap = 95;

struct MapCheckFigures {
  double deviation = 0;           // sum of |template - map| over the cells
  std::int16_t loweststep = 0;    // most negative change from one cell to the next; never above 0
  std::int16_t higheststep = 0;   // largest rise; never below 0
  std::int16_t neutralcount = 0;  // cells holding the neutral value
  bool lastcellneutral = false;   // the rightmost cell holds it
  bool operator==(const MapCheckFigures&) const = default;
};

// The limits a map can break, in the order the check reports them.
enum class MapCheckFault { Deviation, NegativeGradient, PositiveGradient, RightCellNotNeutral, NeutralCount };

// Raw value that counts as neutral ("zero") on a map: 0 when the map's display offset is 0, else 128, the raw value
// of a map of signed values around 128.
int neutralvalue(const maps& model, int map);

// The figures of row 0 of a map of model against the same cells of templ.
MapCheckFigures mapcheckfigures(const maps& model, const maps& templ, int map);

// The limits that the figures break, in report order; empty when the map passes.
std::vector<MapCheckFault> mapcheckfaults(const MapCheckFigures& figures, const CheckLimits& limits);

// Both of the above with the map's own check record.
std::vector<MapCheckFault> checkmap(const maps& model, const maps& templ, int map);

}  // namespace ostrel
