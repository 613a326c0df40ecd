#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "editors/settingcells.h"

namespace ostrel {

// Where the controls of one setting group go on the editor's page (twips, from the page's top-left). Cells are
// placed down a column in steps of 355 and a new column starts once a cell lies below the limit of its control
// kind; a bit field takes eight lines of 360 and starts a column of its own when it would reach into the lower
// part of the window.
struct TwipPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TwipPoint&) const = default;
};

struct PlacedCell {
  int cell = 0;  // 16 row + column
  std::uint8_t type = 0;
  TwipPoint caption;
  bool hasvalue = false;  // the value control and the "Enter" button
  TwipPoint value;
  TwipPoint enter;
  std::array<TwipPoint, 8> frames{};  // bit fields: frame k (option pair k)
};

namespace settingslayout {
inline constexpr int startx = 120;
inline constexpr int starty = 600;
inline constexpr int linestep = 355;
// Bit fields.
inline constexpr int bitline = 360;
inline constexpr int bitreserve = 4000;  // a bit field starts a new column below window height - 4000
inline constexpr int bitcolumnx = 5000;
inline constexpr int bitcolumny = 565;
inline constexpr int bitframedx = 2340;
inline constexpr int bitframedy = -90;
inline constexpr int bitenterdx = 5980;
// Inside a frame.
inline constexpr int optiontrueleft = 120;
inline constexpr int optionfalseleft = 1920;
inline constexpr int optiontop = 120;
}  // namespace settingslayout

// The cells of the group (those whose group equals it, in cell order) and where they go in a window of the given
// height (twips). A group of -1 (nothing selected) places nothing.
std::vector<PlacedCell> layoutgroup(const SettingCells& cells, int group, int windowheight);

}  // namespace ostrel
