#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "link/eculink.h"

namespace ostrel {

class settings;

// One cell of a live window's grid: its text and its background, 0x00BBGGRR.
struct GridCell {
  QString text;
  std::uint32_t bgr = 0x00FFFFFF;
};

// The inputs window's grid: the levels of the sixteen auxiliary inputs and, for each of the 32 input functions,
// whether the ECU uses it and whether it is active, decoded from one window-data reply. Row 0 holds the headings;
// row r stands for input function r in columns 2 to 5 and for an input in columns 0 and 1.
class InputsTable {
 public:
  static constexpr int rows = 33;
  static constexpr int cols = 6;
  static constexpr int firstreplyage = 5;  // replies count from this window age on
  static constexpr std::array<int, cols> columnwidths = {50, 50, 180, 50, 180, 50};
  static constexpr int rowheight = 18;
  // The grid's display attribute per column: 2 for the name columns, 1 for the state columns.
  static constexpr std::array<int, cols> columnattributes = {2, 1, 2, 1, 2, 1};

  static constexpr std::uint32_t headingbgr = 0xC0C0C0;
  static constexpr std::uint32_t livebgr = 0xC0C0FF;
  static constexpr std::uint32_t oddrowbgr = 0xE0FFFF;
  static constexpr std::uint32_t evenrowbgr = 0xE0E0E0;

  // Fills the fixed texts and colours; the names of the input functions come from combo list 12.
  explicit InputsTable(const settings& mainsettings);

  // The fixed request table: status word 0x6D80-0x6D83, use word 0x6D88-0x6D8B, level word 0x6D84-0x6D85.
  static RequestTable addresses();

  // Decodes data bytes 0 to 9 into columns 1, 3 and 5; a reply before the window is five ticks old changes
  // nothing. True when the cells were rewritten.
  bool reportdata(const RxFrame& rxframe, std::int16_t windowage);

  const GridCell& cell(int row, int col) const { return cells_[row][col]; }

 private:
  void set(int row, int col, bool on, const char* ontext, std::uint32_t onbgr, const char* offtext,
           std::uint32_t offbgr);

  std::array<std::array<GridCell, cols>, rows> cells_;
};

}  // namespace ostrel
