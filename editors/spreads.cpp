#include "editors/spreads.h"

#include <cmath>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr int spreadmap = 110;

}  // namespace

Spreads readspreads(const maps& model, SpreadAxis axis) {
  Spreads spreads{};
  for (int point = 1; point <= spreadpoints; ++point) {
    const SpreadCell c = spreadcell(axis, point);
    spreads[static_cast<std::size_t>(point - 1)] = static_cast<std::uint8_t>(model.getdata(spreadmap, c.row, c.column));
  }
  return spreads;
}

bool spreadguarded(const maps& model, const MapGuards& guards, SpreadAxis axis, int point) {
  const SpreadCell c = spreadcell(axis, point);
  return cellguarded(model, guards, spreadmap, c.row, c.column);
}

std::optional<std::uint8_t> spreadvalue(const QString& text) {
  const std::optional<double> number = parsenumber(text);
  if (!number || !std::isfinite(*number)) return std::nullopt;
  const double whole = roundhalfeven(*number);
  if (whole < -32768 || whole > 32767) return std::nullopt;  // no 16-bit number
  return static_cast<std::uint8_t>(roundclamp(whole, 0, 255));
}

QStringList spreadlabels(const maps& model, const MapGuards& guards, SpreadAxis axis, bool metric) {
  constexpr int labelmap = 0;  // a load map: both of its axes carry the spreads' points
  const QString labels = axis == SpreadAxis::rpm ? shownscalestringX(model, guards, labelmap, metric)
                                                 : shownscalestringY(model, guards, labelmap, metric);
  QStringList points = labels.split(QLatin1Char(';'));
  points.removeFirst();                                      // point 0
  while (points.size() > spreadpoints) points.removeLast();  // the closing blank
  while (points.size() < spreadpoints) points.append(QString());
  return points;
}

}  // namespace ostrel
