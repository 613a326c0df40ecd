#pragma once

#include <cstdint>

namespace ostrel {

class maps;
struct ProgramState;

// Ticks of the commands timer (100 ms) that an edit waits before it is written into the ECU: the rows go out on the
// seventh tick after the last mark, so a burst of edits becomes one write of each touched image row.
inline constexpr std::uint8_t pendingcountdown = 8;

// Widens the pending-write rectangle by the edited cells of the current map (first-index range, second-index range;
// a single cell passes its indices twice), notes the map it belongs to and restarts the countdown. It does not look
// at the connection: the commands timer drops marks made while offline. Whoever changes the current map hands a
// pending rectangle over first (the main window's openmapview does), so a rectangle never spans two maps.
void markdirtycells(ProgramState& state, int rowmin, int rowmax, int colmin, int colmax);

// The Q key: corrects the cursor cell of the base fuel table (map 0) or the VE table (map 4) by the air-fuel-ratio
// error recorded for it, marks the cell changed (and for writing while connected) and consumes the error. Any other
// map is left alone. False when nothing was changed: another map, or a correction too large for a cell value (the
// error is then kept).
bool applyafrcorrection(ProgramState& state, maps& model);

}  // namespace ostrel
