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

std::optional<double> parsenumber(const QString& text) {
  // The C locale would take "1,250" as 1250: digit grouping is no part of how numbers are written here, and to a
  // tuner used to a decimal comma it means 1.25, so such a text is not a number.
  static const QLocale c = [] {
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return locale;
  }();
  bool ok = false;
  const double v = c.toDouble(text.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace ostrel
