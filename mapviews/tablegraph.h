#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "mapviews/graphdraw.h"
#include "platform/programstate.h"

namespace ostrel {

class maps;
struct LiveData;

// The last 100 live operating points of the ECU on a table, entry 0 the newest: the sample value and the column
// it was taken at. One trail serves every table; opening a map clears it. Only non-zero samples are taken, so an
// entry of value 0 is a slot still empty.
struct TableTrail {
  std::array<std::uint8_t, 100> value{};
  std::array<std::uint8_t, 100> col{};
  void clear() { *this = TableTrail{}; }
};

// Everything one drawing of the table graph reads, taken at the moment of the call.
struct TableGraphInputs {
  std::array<std::int32_t, 16> v{};  // values shown, raw; all 0 on a protected table
  float scale = 20.0f;               // height factor of the map
  bool signedvalues = false;         // a negative display offset: zero is raw 128
  int livecol = 0, cursorcol = 0;
  std::uint8_t livesample = 0;
  bool selection = false;
  int colmin = 0, colmax = 0;
  Colors colors;
  QString title;
};

// The inputs for the current map: its 16 cells (or the work copy's row 0), flat when any row is protected.
TableGraphInputs tablegraphinputs(const maps& model, const ProgramState& state, const LiveData& live,
                                  const WorkCopy* work);

// Twips per raw unit on a picture of this height: the full byte range takes a little over half of it.
double tablescale(double height, float mapscale);

// Plans the table graph of a 2-D table into the scene, always in full: title, the live trail (which takes the
// live sample when it is not 0), grid, zero line, the curve with the live and cursor cells marked, and the selection
// marks. It scales to the height of the picture it draws on; width and height are the picture's (twips).
void plantablegraph(GraphScene& scene, const TableGraphInputs& in, TableTrail& trail, double width, double height);

}  // namespace ostrel
