#include "calibration/maps.h"

#include <algorithm>
#include <cmath>

#include "calibration/mapcatalogue.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

namespace mc = mapcatalogue;

namespace {

constexpr int map0bytes = 2048;  // map 0: 1024 cells of two image bytes each
constexpr int map0max = 8000;

int map0index(int row, int col) {
  return row * 32 + col;
}

}  // namespace

maps::maps(Prompts& prompts) : prompts_(prompts) {
  fillvariablelabels();
  filllabeltables();
  filltexts();
}

std::int16_t maps::getdata(int map, int row, int col) const {
  if (!mc::inside(map, row, col)) return 0;  // a cell outside the map reads as empty, taken as 0
  if (map == 0) return map0_[map0index(row, col)];
  return bytes_[mc::imagestarts[map] + row * mc::cols(map) + col];
}

void maps::setdata(int map, int row, int col, double value, bool markchanged) {
  if (std::isnan(value)) return;  // NaN names no value: the cell keeps what it holds
  const int offset = mc::celloffset(map, row, col);
  if (offset < 0) return;  // outside the map
  const long long stored = roundclamp(value, 0, map == 0 ? map0max : 255);
  if (map == 0) {
    map0_[map0index(row, col)] = static_cast<std::int16_t>(stored);
    map0word_[map0index(row, col)] = static_cast<std::uint16_t>(stored);
  } else {
    bytes_[offset] = static_cast<std::uint8_t>(stored);
  }
  if (markchanged) changed_.set(offset);
}

void maps::incdecdata(int map, int row, int col, int step) {
  setdata(map, row, col, static_cast<double>(getdata(map, row, col)) + step, true);
}

int maps::getintinc(int map, int shift) const {
  return shift == 1 ? 1 : mc::editstep(map);
}

int maps::getbufferrow(int map, int row, int col) const {
  const int offset = mc::celloffset(map, row, col);
  return offset < 0 ? 0 : offset / 16;  // 0 for a cell outside the catalogue's maps, as for a map above 115
}

std::uint8_t maps::getmapbufferbyte(int row, int byte) const {
  const long long offset = 16LL * row + byte;
  if (offset < 0 || offset >= imagesize) return 0;  // outside the image: nothing to read
  if (offset < map0bytes) {
    const int value = map0_[offset / 2];
    return static_cast<std::uint8_t>(offset % 2 == 0 ? value / 256 : value % 256);
  }
  return bytes_[offset];
}

void maps::setmapbufferbyte(int row, int byte, std::uint8_t value) {
  const long long offset = 16LL * row + byte;
  if (offset < 0 || offset >= imagesize) return;  // outside the image: nothing is written
  if (offset < map0bytes) {
    // The cell keeps the word the image last gave it, so high and low byte may arrive in any order and any
    // number of times; the value is that word, limited to the map's maximum.
    std::uint16_t& word = map0word_[offset / 2];
    word = offset % 2 == 0 ? static_cast<std::uint16_t>((word & 0x00FF) | (value << 8))
                           : static_cast<std::uint16_t>((word & 0xFF00) | value);
    map0_[offset / 2] = static_cast<std::int16_t>(std::min<int>(word, map0max));
    return;
  }
  bytes_[offset] = value;
}

CalibrationImage maps::getimage() const {
  CalibrationImage image = bytes_;
  for (int cell = 0; cell < 1024; ++cell) {
    image[2 * cell] = static_cast<std::uint8_t>(map0_[cell] / 256);
    image[2 * cell + 1] = static_cast<std::uint8_t>(map0_[cell] % 256);
  }
  return image;
}

void maps::setimage(const CalibrationImage& image) {
  bytes_ = image;
  for (int cell = 0; cell < 1024; ++cell) {
    const std::uint16_t word = static_cast<std::uint16_t>(image[2 * cell] << 8 | image[2 * cell + 1]);
    map0word_[cell] = word;
    map0_[cell] = static_cast<std::int16_t>(std::min<int>(word, map0max));
    bytes_[2 * cell] = bytes_[2 * cell + 1] = 0;  // map 0 lives in its own array
  }
}

maps::CellRange maps::destroyrows(int map, int first, int last) {
  const bool threed = getcontextandtype(map) == 0;
  const int count = threed ? getmapcols(map) : getmaprows(map);
  const int across = threed ? getmaprows(map) : getmapcols(map);
  first = std::max(first, 0);
  last = std::min(last, count - 1);
  if (first > last || across <= 0) return {};
  const CellRange cells = threed ? CellRange{0, across - 1, first, last} : CellRange{first, last, 0, across - 1};
  for (int row = cells.firstrow; row <= cells.lastrow; ++row)
    for (int col = cells.firstcol; col <= cells.lastcol; ++col) setdata(map, row, col, 0, true);
  return cells;
}

void maps::destroymapdata(int fragment, const ProgramState& state) {
  for (int map = 0; map < mapcount; ++map)
    MapGuards::forruns(state.guards.rowsof(map, fragment), [&](int first, int last) { destroyrows(map, first, last); });
}

void maps::setmetric(bool metric) {
  metric_ = metric;
}

}  // namespace ostrel
