#include "platform/numbers.h"

#include <QLocale>
#include <cmath>

namespace ostrel {

namespace {

// The value at the given decimals, halves to even; a value the scaling overflows stays as it is.
double roundtodecimals(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double rounded = roundhalfeven(value * scale) / scale;
  return std::isfinite(rounded) ? rounded : value;
}

}  // namespace

QString formatfixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  // QString::number rounds halves away from zero, so the rounding is done here first. It ignores the user's
  // locale, so the decimal point is always '.'.
  QString text = QString::number(roundtodecimals(value, decimals), 'f', decimals);
  if (text.startsWith(QLatin1Char('-'))) {
    bool allzero = true;
    for (QChar c : text.mid(1))
      if (c != QLatin1Char('0') && c != QLatin1Char('.')) allzero = false;
    if (allzero) text.remove(0, 1);  // no "-0.00"
  }
  return text;
}

QString formatregional(double value, int decimals, Grouping grouping, const QLocale& locale) {
  if (decimals < 0) decimals = 0;
  // QLocale rounds halves away from zero; rounding here first leaves it nothing to round.
  double rounded = roundtodecimals(value, decimals);
  if (rounded == 0) rounded = 0;  // no "-0,00"
  QLocale format = locale;
  format.setNumberOptions(grouping == Grouping::grouped ? locale.numberOptions() & ~QLocale::OmitGroupSeparator
                                                        : locale.numberOptions() | QLocale::OmitGroupSeparator);
  return format.toString(rounded, 'f', decimals);
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
