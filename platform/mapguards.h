#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

// The map protection table: which rows of which map each password fragment guards. A row is guarded while any
// fragment that reads ON and is not matched covers it, so the guards of several fragments over one map add up and
// none can lift another's. A row is the load point on a 3-D table and a row of the map elsewhere; no map has more
// than 32. Out-of-range maps, rows and fragments guard nothing and read as unguarded.
class MapGuards {
 public:
  static constexpr int mapcount = 116;
  static constexpr int fragmentcount = 8;
  static constexpr int rowcount = 32;
  using Rows = std::uint32_t;       // bit r: row r
  using Fragments = std::uint8_t;   // bit i: fragment i

  void clear() { rows_ = {}; }

  // Rows first to last of the map, guarded by the fragment; a range whose first row is after its last guards nothing.
  void guard(int map, int fragment, int first, int last) {
    if (validmap(map) && fragment >= 0 && fragment < fragmentcount) rows_[at(map)][at(fragment)] |= span(first, last);
  }
  // Rows first to last as a set, limited to rows 0 to 31; empty when first is after last.
  static constexpr Rows span(int first, int last) {
    Rows rows = 0;
    for (int r = first < 0 ? 0 : first; r <= last && r < rowcount; ++r) rows |= Rows{1} << r;
    return rows;
  }

  bool guarded(int map, int row) const { return row >= 0 && row < rowcount && (rows(map) >> row & 1U) != 0; }
  bool anyguarded(int map) const { return rows(map) != 0; }
  // Every guarded row of the map, whoever guards it.
  Rows rows(int map) const {
    Rows all = 0;
    if (validmap(map))
      for (const Rows r : rows_[at(map)]) all |= r;
    return all;
  }
  // The rows of the map that the fragment guards.
  Rows rowsof(int map, int fragment) const {
    return validmap(map) && fragment >= 0 && fragment < fragmentcount ? rows_[at(map)][at(fragment)] : 0;
  }
  // The fragments guarding rows of the map.
  Fragments guardsof(int map) const {
    Fragments by = 0;
    for (int i = 0; i < fragmentcount; ++i)
      if (rowsof(map, i) != 0) by = static_cast<Fragments>(by | 1U << i);
    return by;
  }

  // Calls f(first, last) for each run of neighbouring rows in `rows`, lowest first.
  template <class F>
  static void forruns(Rows rows, F f) {
    for (int r = 0; r < rowcount; ++r) {
      if ((rows >> r & 1U) == 0) continue;
      int last = r;
      while (last + 1 < rowcount && (rows >> (last + 1) & 1U) != 0) ++last;
      f(r, last);
      r = last;
    }
  }

 private:
  static bool validmap(int map) { return map >= 0 && map < mapcount; }
  static std::size_t at(int i) { return static_cast<std::size_t>(i); }
  std::array<std::array<Rows, fragmentcount>, mapcount> rows_{};
};

}  // namespace ostrel
