#include "platform/numbers.h"

#include <QLocale>
#include <cmath>

namespace ostrel {

QString formatfixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  // QString::number rounds halves away from zero, so the rounding is done here first. It ignores the user's
  // locale, so the decimal point is always '.'.
  const double scale = std::pow(10.0, decimals);
  const double rounded = roundhalfeven(value * scale) / scale;
  QString text = QString::number(std::isfinite(rounded) ? rounded : value, 'f', decimals);
  if (text.startsWith(QLatin1Char('-'))) {
    bool allzero = true;
    for (QChar c : text.mid(1))
      if (c != QLatin1Char('0') && c != QLatin1Char('.')) allzero = false;
    if (allzero) text.remove(0, 1);  // no "-0.00"
  }
  return text;
}

QString formatregional(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  // QLocale rounds halves away from zero; rounding here first leaves it nothing to round.
  const double scale = std::pow(10.0, decimals);
  double rounded = roundhalfeven(value * scale) / scale;
  if (!std::isfinite(rounded)) rounded = value;
  if (rounded == 0) rounded = 0;  // no "-0,00"
  return QLocale().toString(rounded, 'f', decimals);
}

std::optional<double> parsenumber(const QString& text) {
  bool ok = false;
  const double v = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace ostrel
