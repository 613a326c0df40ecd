#include "platform/numbers.h"

#include <QLocale>

namespace ostrel {

QString formatfixed(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  // QString::number ignores the user's locale, so the decimal point is always '.'.
  QString text = QString::number(value, 'f', decimals);
  if (text.startsWith(QLatin1Char('-'))) {
    bool allzero = true;
    for (QChar c : text.mid(1))
      if (c != QLatin1Char('0') && c != QLatin1Char('.')) allzero = false;
    if (allzero) text.remove(0, 1);  // no "-0.00"
  }
  return text;
}

std::optional<double> parsenumber(const QString& text) {
  bool ok = false;
  const double v = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return v;
}

}  // namespace ostrel
