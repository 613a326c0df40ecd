#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>

#include "link/eculink.h"

namespace ostrel {

// The fuel multipliers window's values: twelve multipliers in percent, (raw - offset) x gain in single precision
// with two decimals, and the indexed and corrected fuel times in milliseconds, raw16 / 4 x 0.005 with three.
class FuelMultipliers {
 public:
  static constexpr int rows = 15;  // row 0 the headings, rows 1 to 12 the multipliers, 13 and 14 the times
  static constexpr int multipliers = 12;
  static constexpr int firstreplyage = 5;

  static constexpr std::array<float, multipliers> fuelmulgain = {0.2f, 0.2f, 0.1f, 0.1f, 0.4f, 0.8f,
                                                                 1.0f, 0.5f, 1.0f, 0.1f, 0.1f, 0.5f};
  static constexpr std::array<float, multipliers> fuelmuloffset = {128, 128, 128, 128, 0, 128, 0, 128, 0, 0, 0, 0};

  // The fixed request table: data byte k is the ECU byte at address k.
  static RequestTable addresses();

  // Row captions and the design texts of the values.
  static const std::array<QString, rows>& captions();
  static const std::array<QString, rows>& designtexts();

  // The shown texts of rows 1 to 14 (row 0 is the heading "Value (%)"), in the regional format of the locale (the
  // system's in the window), without digit grouping.
  static std::array<QString, rows> values(const RxFrame& rxframe, const QLocale& locale);

  // The value of one multiplier row (1 to 12) and one time (raw16), before formatting.
  static float multiplier(int row, std::uint8_t raw);
  static double fueltime(std::uint8_t high, std::uint8_t low);

  // The shown values, the design texts until the first reply the window takes.
  const std::array<QString, rows>& texts() const { return texts_; }
  // Takes a reply once the window is five ticks old; true when it did.
  bool reportdata(const RxFrame& rxframe, std::int16_t windowage, const QLocale& locale);

 private:
  std::array<QString, rows> texts_ = designtexts();
};

}  // namespace ostrel
