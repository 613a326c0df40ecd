#pragma once

// How a cell of a map stands against the map protection table (platform/mapguards.h), for every window and tool
// that shows or changes calibration cells: one rule of which row a cell counts in, and the one refusal text.

#include <QString>

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

// What a tool says when it will not change a map because a password guards rows of it.
inline const QString protectedmaptext =
    QStringLiteral("It is not possible to edit this map because portions are password protected");

inline void refuseguarded(Prompts& prompts) {
  prompts.message(protectedmaptext, Prompts::Icon::Information);
}

// Whether a row holding any of cells first to last of a 16-column map (cell n = 16 row + column) is guarded: a value
// stored across rows is guarded whole when one of its rows is.
inline bool cellsguarded(const MapGuards& guards, int map, int first, int last) {
  return (guards.rows(map) & MapGuards::span(first / 16, last / 16)) != 0;
}

}  // namespace ostrel
