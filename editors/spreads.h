#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "calibration/spreadcells.h"

namespace ostrel {

class MapGuards;
class maps;

// Cell number (16 row + column) of a spread in the settings editor.
inline int spreadcellnumber(SpreadAxis axis, int point) {
  const SpreadCell c = spreadcell(axis, point);
  return 16 * c.row + c.column;
}

// The 31 spreads of an axis as the calibration holds them.
Spreads readspreads(const maps& model, SpreadAxis axis);

// True while a password guards the row of map 110 that holds the spread of the point (1 to 31).
bool spreadguarded(const maps& model, const MapGuards& guards, SpreadAxis axis, int point);

// The spread a text typed into the spread tool stands for: a whole number (a fraction rounds half to even) limited
// to 0 to 255. Empty when the text is no number of -32768 to 32767 (empty text included).
std::optional<std::uint8_t> spreadvalue(const QString& text);

// The labels of points 1 to 31 of an axis in display units, from map 0's axis labels as a tuner may see them
// (shownscalestringX/Y): blank from the first point whose spread a password guards.
QStringList spreadlabels(const maps& model, const MapGuards& guards, SpreadAxis axis, bool metric);

}  // namespace ostrel
