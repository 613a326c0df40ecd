#include "mapviews/pendingwrite.h"

#include <algorithm>
#include <cmath>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

std::uint8_t asbyte(int value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

constexpr int basefuelmap = 0;
constexpr int vemap = 4;

}  // namespace

void markdirtycells(ProgramState& state, int rowmin, int rowmax, int colmin, int colmax) {
  PendingWrite& rect = state.pendingwrite;
  rect.lowrow = std::min(rect.lowrow, asbyte(rowmin));
  rect.highrow = std::max(rect.highrow, asbyte(rowmax));
  rect.lowcol = std::min(rect.lowcol, asbyte(colmin));
  rect.highcol = std::max(rect.highcol, asbyte(colmax));
  state.pendingmap = state.curmap;
  state.pendingcommand = pendingcountdown;
}

bool applyafrcorrection(ProgramState& state, maps& model) {
  const int map = state.curmap;
  if (map != basefuelmap && map != vemap) return false;
  const int row = state.cursorrow, col = state.cursorcol;
  const int error = model.getafrerror(row, col);  // whole percent
  const double cell = model.getdata(map, row, col);
  const double corrected = roundhalfeven((error / 100.0 + 1.0) * cell);
  // A cell value is a signed 16-bit number; a correction beyond that is no value at all, so the cell and its
  // recorded error stay as they are.
  if (corrected < -32768.0 || corrected > 32767.0) return false;
  if (!setcell(model, state.guards, map, row, col, corrected, true)) return false;
  if (state.online) markdirtycells(state, row, row, col, col);
  model.clearcellAFRerror(row, col);
  state.syncerrticks = 0;
  return true;
}

}  // namespace ostrel
