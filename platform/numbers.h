#pragma once

#include <QLocale>
#include <QString>
#include <cmath>
#include <cstdint>
#include <optional>

namespace ostrel {

// Every conversion to a whole number rounds halves to even, as the ECU tools always have.
inline double roundhalfeven(double value) {
  return std::nearbyint(value);
}

// Rounds half to even and limits to [lo, hi]; NaN gives lo.
inline long long roundclamp(double value, long long lo, long long hi) {
  if (std::isnan(value)) return lo;
  const double r = std::nearbyint(value);
  if (r <= static_cast<double>(lo)) return lo;
  if (r >= static_cast<double>(hi)) return hi;
  return static_cast<long long>(r);
}

// Fixed decimals in the C locale, whatever the user's locale ("12.50", never "12,50"); halves of the last digit go
// to the even neighbour ("2.5" with no decimals is "2", 0.125 with two is "0.12").
QString formatfixed(double value, int decimals);

// Fixed decimals in a regional number format, by default the user's (its digits, decimal separator and negative
// sign: "1.234,50" under a German locale), rounded as formatfixed rounds and never "-0". Grouped, the digits are
// grouped as the locale groups them, also where its default leaves grouping out (the C locale's does). Only for the
// few places that show numbers the way the system writes them; files and fixed-format displays use formatfixed.
enum class Grouping : std::uint8_t { none, grouped };
QString formatregional(double value, int decimals, Grouping grouping, const QLocale& locale = QLocale());

// Parses a number written in the C locale, without digit grouping; empty when the text is not a number.
std::optional<double> parsenumber(const QString& text);

// Decimals (0 to 3) shown for values scaled by the multiplier: the smallest k whose k-th decimal digit, rounded
// half to even at that place, is 1 or more. Every display of a scaled value (map cells, settings, log channels)
// takes its decimals from here.
int decimalsforscale(float multiplier);

}  // namespace ostrel
