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

int decimalsforscale(float multiplier) {
  const double v = multiplier;  // the stored single value, widened
  int result = 0;
  for (int k = 3; k >= 1; --k) {
    // fmod keeps the sign of the rounded number, so negative multipliers never qualify; doubles cannot overflow
    // here, where the whole number the digit came from once could.
    const double digit = std::fmod(roundhalfeven(v * std::pow(10.0, k)), 10.0);
    if (digit >= 1.0) result = k;
  }
  return result;
}

}  // namespace ostrel
