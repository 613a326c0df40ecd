#pragma once

// The two migrations between the volumetric-efficiency map (map 4) and the base fuel table (map 0, pulse widths in
// units of 0.005 ms). The formulas are the calibration model's (getVEPW, getPWVE); here the cells are walked, the
// results limited to what a cell holds, and stored.

#include <array>
#include <cstdint>
#include <optional>

namespace ostrel {

class MapGuards;
class maps;

inline constexpr int vetofuelbase = 0;  // "&VE to Fuel Base Table": map 4 into map 0
inline constexpr int fuelbasetove = 1;  // "&Fuel Base Table to VE": map 0 into map 4

// The raw base fuel cell for a pulse width in ms: ms / 0.005 rounded half to even, limited to 0..8000; a width that
// is no number (a zero divisor upstream, infinity, NaN) gives 0.
std::int32_t pulsewidthraw(float ms);
// The raw VE cell for a VE: rounded half to even, limited to 0..255; no number gives 0.
std::int32_t veraw(float ve);

// All 1,024 new cells of the map the direction rebuilds, [row][column], worked out before any is stored; empty for
// a direction other than 0 or 1. Column 0 of the VE map (no load) takes the new value of its column 1, as the
// model's formula reads it there.
using FuelGrid = std::array<std::array<std::int32_t, 32>, 32>;
std::optional<FuelGrid> fuelbasecells(const maps& model, int direction);

// True while a password guards any row that a conversion reads or rewrites: the whole of maps 0, 4 and 19 (the
// target ratios), the settings rows of injector flow and cylinder capacity, and the load spreads (settings rows 4
// and 5) that the load breakpoints are summed from. Either direction reads them all, and a rebuilt map would show
// what the guarded cells hold.
bool fuelbaseguarded(const maps& model, const MapGuards& guards);

// True while a password guards anything the pulse width of VE cell (i, j) (getVEPW) is worked out from besides the
// VE cell itself: the target ratio cell (i, j), the injector flow and cylinder capacity rows, or a load spread up to
// point j. The grid's pulse width note of that cell then shows nothing.
bool pulsewidthguarded(const maps& model, const MapGuards& guards, int i, int j);

// Rebuilds the map in the model, every cell marked changed (not marked for writing: the cells reach the ECU with the
// next whole-image write), each stored through setcell. Returns the map rebuilt, or -1 for a direction other than 0
// or 1 (nothing changes). The caller refuses first where fuelbaseguarded: then no cell is left half-converted.
int convertfuelbase(maps& model, const MapGuards& guards, int direction);

}  // namespace ostrel
