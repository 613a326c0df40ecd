#pragma once

// How the open calibration stands against the map protection table (platform/mapguards.h), for every window and tool
// that shows or changes calibration data. Writers ask whether a cell or a map is guarded (cellguarded, mapguarded)
// and store through setcell; readers turn cells into text only through the shown* functions here, which leave out
// whatever a guarded row decides: the cells, and the axis labels and map names made from guarded settings.

#include <QString>
#include <vector>

#include "calibration/spreadcells.h"
#include "platform/mapguards.h"
#include "platform/prompts.h"

namespace ostrel {

class maps;

// The row of the protection table that model cell (i, j) counts in, by map kind (maps::getcontextandtype): the
// load point, the second index, on a 3-D map (kind 0); the first index on every other map.
constexpr int guardrowof(int kind, int i, int j) {
  return kind == 0 ? j : i;
}

// True while a password guards the row that model cell (i, j) of the map counts in.
bool cellguarded(const maps& model, const MapGuards& guards, int map, int i, int j);

// True while a password guards any row of the map: a tool that rewrites the map as a whole refuses.
inline bool mapguarded(const MapGuards& guards, int map) {
  return guards.anyguarded(map);
}

// Whether a row holding any of cells first to last of a 16-column map (cell n = 16 row + column) is guarded: a value
// stored across rows is guarded whole when one of its rows is.
inline bool cellsguarded(const MapGuards& guards, int map, int first, int last) {
  return (guards.rows(map) & MapGuards::span(first / 16, last / 16)) != 0;
}

// The one way an editor or a tool stores a cell of the open calibration: a cell whose row a password guards keeps its
// value. True when the cell was stored. Only a whole-image load (a file opened, an image read from the ECU) and the
// RESET of a password fragment write past the guards.
bool setcell(maps& model, const MapGuards& guards, int map, int i, int j, double value, bool markchanged);

// The +/- step of one cell (maps::incdecdata) through the same guard: false, and nothing stepped, on a guarded cell.
bool stepcell(maps& model, const MapGuards& guards, int map, int i, int j, int step);

// What a tool says when it will not change a map because a password guards rows of it.
inline const QString protectedmaptext =
    QStringLiteral("It is not possible to edit this map because portions are password protected");

inline void refuseguarded(Prompts& prompts) {
  prompts.message(protectedmaptext, Prompts::Icon::Information);
}

// --- What may be shown ----------------------------------------------------------------------------------------------

// The first point (1 to 31) of the axis whose spread a password guards; spreadpoints + 1 when none is. A point lies
// at the sum of the spreads up to it, so its label and every later one tell of a guarded spread.
int firstguardedpoint(const MapGuards& guards, SpreadAxis axis);

// A map's definition string as a tuner may see it: on a PWM map whose axis variables lie in a guarded row, the
// brackets that name them are left empty ("2D PWM:PWM MAP 1 duty [];%_0.39|0").
QString shownmapname(const maps& model, const MapGuards& guards, int map);
// The names (without group and units) of the maps, as a tuner may see them, joined by ", ": what a message lists.
QString shownmapnames(const maps& model, const MapGuards& guards, const std::vector<int>& maplist);

// A map's axis label strings as a tuner may see them: every label from the first point a guarded spread decides on is
// blank, and a PWM axis whose variable lies in a guarded row is blank whole. The string keeps its items and its end.
QString shownscalestringX(const maps& model, const MapGuards& guards, int map, bool metric);
QString shownscalestringY(const maps& model, const MapGuards& guards, int map, bool metric);

}  // namespace ostrel
