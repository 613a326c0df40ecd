#pragma once

#include <cstdint>

namespace ostrel {

class GridModel;
class maps;
struct ProgramState;

// Fixed colours of the map grid's cells (0x00BBGGRR).
namespace gridcolors {
inline constexpr std::uint32_t evenstripe = 0xFFFFFF;
inline constexpr std::uint32_t oddstripe = 0xFFF0F0;
inline constexpr std::uint32_t evenoutside = 0x808080;
inline constexpr std::uint32_t oddoutside = 0xA08080;
inline constexpr std::uint32_t live = 0x00FFFF;  // live cell of an incremental repaint, cursor on the live cell
inline constexpr std::uint32_t selection = 0xA0A0A0;
}  // namespace gridcolors

// The three tints the grid derives from the colour table at every pass.
struct GridTints {
  std::uint32_t cursor, visited, live;
  // Each channel moved towards white: base + channel / divisor.
  static std::uint32_t tint(std::uint32_t color, int base, int divisor);
  static GridTints of(std::uint32_t trimbandcolor, std::uint32_t mapbandcolor);
};

// Colours the map grid for the current map: the cursor cell, the live cell, visited cells, a two-tone stripe inside
// the map's shown area and grey outside it, and the selection box. A full repaint colours all 32 x 32 cells; an
// incremental one only the old and new cursor and live cells. It remembers, for the whole run and for all maps,
// which cursor and live cells it painted last and the size of the last selection box.
//
// A cell key names a grid cell as grid column * 32 + position down the grid before the load-direction reversal.
class GridHighlighter {
 public:
  // While connected the live cell is marked visited first. liverow and livecol are the link's live cell.
  void update(bool full, maps& model, const ProgramState& state, int liverow, int livecol, GridModel& grid);

  int lastcursorkey() const { return cursorkey_; }
  int lastlivekey() const { return livekey_; }
  int lastselectionsize() const { return selectionsize_; }

 private:
  int cursorkey_ = 0;
  int livekey_ = 0;
  int selectionsize_ = 0;
};

}  // namespace ostrel
