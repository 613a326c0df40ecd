#pragma once

// Fixed facts about the 116 maps, by map index: kind, shape, place in the calibration image, definition pieces,
// group names and the label and help texts the model starts with. Shared by both instances of `maps`.

#include <QString>
#include <array>
#include <cstdint>

namespace ostrel::mapcatalogue {

inline constexpr int count = 116;

enum Kind : int { kind3d = 0, kind2d = 1, kindcomments = 2, kindpasswords = 3, kindsettings = 4 };

constexpr bool valid(int map) {
  return map >= 0 && map < count;
}

constexpr int kind(int map) {
  if (map >= 0 && map <= 23) return kind3d;
  if (map >= 24 && map <= 103) return kind2d;
  if (map == 104) return kindcomments;
  if (map == 105) return kindpasswords;
  if (map >= 106 && map <= 109) return kind3d;
  return kindsettings;  // 110-115 and every index outside the catalogue
}

constexpr int rows(int map) {
  if (!valid(map)) return 0;
  switch (kind(map)) {
    case kind3d:
      return 32;
    case kind2d:
      return 1;
    case kindcomments:
    case kindpasswords:
      return 8;
    default:
      return 16;
  }
}

constexpr int cols(int map) {
  if (!valid(map)) return 0;
  return kind(map) == kind3d ? 32 : 16;
}

// Image bytes per cell: map 0 holds 16-bit values, high byte first.
constexpr int cellsize(int map) {
  return map == 0 ? 2 : 1;
}

// Image offset of cell (0, 0): the maps lie in map order without gaps, each row after row.
constexpr int imagestart(int map) {
  int start = 0;
  for (int m = 0; m < map && m < count; ++m) start += rows(m) * cols(m) * cellsize(m);
  return start;
}

constexpr bool inside(int map, int row, int col) {
  return valid(map) && row >= 0 && row < rows(map) && col >= 0 && col < cols(map);
}

// Image start of every map, computed once.
inline constexpr std::array<int, count + 1> imagestarts = [] {
  std::array<int, count + 1> a{};
  for (int m = 0; m <= count; ++m) a[m] = imagestart(m);
  return a;
}();

// Image offset of the cell's (first) byte; -1 outside the map.
constexpr int celloffset(int map, int row, int col) {
  if (!inside(map, row, col)) return -1;
  return imagestarts[map] + (row * cols(map) + col) * cellsize(map);
}

// Pieces of a map's definition string. axes == nullptr: no bracket part; "" gives " []".
struct Definition {
  const char* group;
  const char* name;
  const char* axes;
  const char* units;
  const char* multiplier;
  const char* offset;
};

// The definition pieces of every map; the PWM maps 88-95 and 106-109 name their axes from the settings and are
// built by the model (their entry here holds the axis placeholder of their help texts).
const std::array<Definition, count>& definitions();

// "group:name [axes];units_multiplier|offset", untranslated, from the table above.
QString definitionstring(int map);

// The groups in table order: group number and name.
struct Group {
  int number;
  const char* name;
};
const std::array<Group, 25>& groups();

// Drawing factor of the map graphs.
float graphscale(int map);

// Step of the +/- keys of the map views when no shift is held.
int editstep(int map);

// Whether a 3-D map's second axis is throttle (the visited marks are shared within each set).
bool throttleaxisset(int map);

// The 3-D maps besides map 0 whose second axis is load: they carry the load labels that the spreads make.
inline constexpr std::array<int, 13> loadlabelmaps{1, 3, 4, 8, 11, 12, 15, 17, 18, 19, 21, 22, 23};
constexpr bool loadlabelled(int map) {
  if (map == 0) return true;
  for (int m : loadlabelmaps)
    if (m == map) return true;
  return false;
}

// Axis label strings the model starts with.
struct LabelPair {
  const char* metric;
  const char* imperial;
};
LabelPair initialxlabels(int map);    // maps 0-87 and 96-115; PWM maps take the variable labels
LabelPair initialylabels(int map);    // maps 0-23 and the single maps; 2-D maps get the no-label string
extern const char* const nolabels16;  // " ;***;...": a 2-D axis without labels
extern const char* const nolabels32;  // a 32-point axis without labels

// The fixed variable labels of variables 0-2 (16-point); null beyond.
LabelPair fixedvariablelabels16(int variable);

// Help and tuning texts of maps 0-95, untranslated; empty from 96 up.
QString helptext(int map);
QString tunetext(int map);

}  // namespace ostrel::mapcatalogue
