// Numbers as text in the C locale, whatever the default locale: what parses formats back with fixed decimals and
// parses again to the value rounded to those decimals.

#include <QLocale>
#include <cmath>
#include <cstring>

#include "fuzzsupport.h"
#include "platform/numbers.h"

using namespace ostrel;

namespace {

bool plaindecimal(const QString& text) {
  for (QChar c : text)
    if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-'))) return false;
  return true;
}

// "-0", "-0.00": a sign on a value that shows as zero.
bool negativezero(const QString& text) {
  if (!text.startsWith(QLatin1Char('-'))) return false;
  for (QChar c : text.mid(1))
    if (c != QLatin1Char('0') && c != QLatin1Char('.')) return false;
  return true;
}

void formatsback(double value) {
  for (int decimals = 0; decimals <= 6; ++decimals) {
    const QString text = formatfixed(value, decimals);
    if (!std::isfinite(value)) continue;
    FUZZ_CHECK(plaindecimal(text));
    FUZZ_CHECK(!negativezero(text));
    const auto back = parsenumber(text);
    FUZZ_CHECK(back.has_value());
    const int point = text.indexOf(QLatin1Char('.'));
    FUZZ_CHECK(point < 0 ? decimals == 0 : text.size() - point - 1 == decimals);
    // Within half a step of the last decimal (and the text's own precision for huge values).
    const double step = std::pow(10.0, -decimals);
    FUZZ_CHECK(std::fabs(*back - value) <= step / 2 + std::fabs(value) * 1e-15);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Any use of the default locale shows up as a comma.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = fuzz::inputbytes(data, size);
  for (const QString& text : {QString::fromUtf8(bytes), QString::fromLatin1(bytes)}) {
    const auto value = parsenumber(text);
    if (!value) continue;
    // Digit grouping is no part of how the program writes numbers, and "1,250" means 1.25 to many a tuner.
    FUZZ_CHECK(!text.contains(QLatin1Char(',')));
    formatsback(*value);
  }
  // The same eight bytes as a double, as a scale or a live value may hold.
  if (size >= sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    formatsback(raw);
  }
  return 0;
}
