#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

// Settings map 110 holds what the axes and names of other maps are made of: the 31 spreads of each 3-D axis and the
// live variables on the PWM maps' axes.
inline constexpr int axissettingsmap = 110;
inline constexpr int pwmselectorrow = 3;  // columns 0-7: maps 88-95; 8-11 and 12-15: X and Y of maps 106-109

// The two axes of the 3-D maps whose points settings map 110 sets: 31 spreads each, the spread of point N being its
// distance from point N - 1 (point 0 is 0).
enum class SpreadAxis { load, rpm };

inline constexpr int spreadpoints = 31;
using Spreads = std::array<std::uint8_t, spreadpoints>;  // element k: the spread of point k + 1

struct SpreadCell {
  int row;
  int column;
};

// The cell of settings map 110 that holds the spread of point 1 to 31: load in rows 4 and 5, rpm in rows 6 and 7.
constexpr SpreadCell spreadcell(SpreadAxis axis, int point) {
  const int first = axis == SpreadAxis::load ? 4 : 6;
  return point <= 16 ? SpreadCell{first, point - 1} : SpreadCell{first + 1, point - 17};
}

}  // namespace ostrel
