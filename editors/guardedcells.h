#pragma once

#include <QString>

#include "platform/mapguards.h"
#include "platform/prompts.h"

namespace ostrel {

// The editors of the comments and settings maps treat a row that a password guards as the map grid does: they show
// nothing of it and refuse to change it, with the grid's own words.
inline const QString guardedmaptext =
    QStringLiteral("It is not possible to edit this map because portions are password protected");

inline void refuseguarded(Prompts& prompts) {
  prompts.message(guardedmaptext, Prompts::Icon::Information);
}

// Whether a row holding any of cells first to last of a 16-column map (cell n = 16 row + column) is guarded: a value
// stored across rows is guarded whole when one of its rows is.
inline bool cellsguarded(const MapGuards& guards, int map, int first, int last) {
  return (guards.rows(map) & MapGuards::span(first / 16, last / 16)) != 0;
}

}  // namespace ostrel
