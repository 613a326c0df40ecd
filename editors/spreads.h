#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace ostrel {

class MapGuards;
class maps;

// The two axes of the 3-D maps whose points settings map 110 sets: 31 spreads each, the spread of point N being its
// distance from point N - 1 (point 0 is 0).
enum class SpreadAxis { load, rpm };

inline constexpr int spreadpoints = 31;
using Spreads = std::array<std::uint8_t, spreadpoints>;  // element k: the spread of point k + 1

struct SpreadCell {
  int row;
  int column;
};

// The cell of settings map 110 that holds the spread of point 1 to 31: load in rows 4 and 5, rpm in rows 6 and 7.
inline SpreadCell spreadcell(SpreadAxis axis, int point) {
  const int first = axis == SpreadAxis::load ? 4 : 6;
  return point <= 16 ? SpreadCell{first, point - 1} : SpreadCell{first + 1, point - 17};
}

// Cell number (16 row + column) of a spread in the settings editor.
inline int spreadcellnumber(SpreadAxis axis, int point) {
  const SpreadCell c = spreadcell(axis, point);
  return 16 * c.row + c.column;
}

// The 31 spreads of an axis as the calibration holds them.
Spreads readspreads(const maps& model, SpreadAxis axis);

// True while a password guards the row of map 110 that holds the spread of the point (1 to 31).
bool spreadguarded(const maps& model, const MapGuards& guards, SpreadAxis axis, int point);
// The first point whose spread a password guards; spreadpoints + 1 when none is. A point lies at the sum of the
// spreads up to it, so its label and every later one tell of a guarded spread.
int firstguardedspread(const maps& model, const MapGuards& guards, SpreadAxis axis);

// The spread a text typed into the spread tool stands for: a whole number (a fraction rounds half to even) limited
// to 0 to 255. Empty when the text is no number of -32768 to 32767 (empty text included).
std::optional<std::uint8_t> spreadvalue(const QString& text);

// The labels of points 1 to 31 of an axis in display units, from the model's axis label strings of map 0.
QStringList spreadlabels(const maps& model, SpreadAxis axis, bool metric);

}  // namespace ostrel
