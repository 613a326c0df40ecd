#pragma once

#include <QString>
#include <cstdint>

namespace ostrel {

// The settings of map 110 that the throttle calibration sets from the live readings (text settings of the
// "throttle setup" group with multiplier 1 and offset 0, so the text is the raw byte).
namespace throttlecells {
inline constexpr int zerotps = 142;  // (8, 14) "Zero TPS calibration"
inline constexpr int zeropps = 148;  // (9, 4) "Closed pedal calibration"
inline constexpr int fulltps = 154;  // (9, 10) "100% TPS calibration"
}  // namespace throttlecells

// The zero throttle sits two counts above the resting reading; a reading of 254 or 255 leaves the text as it is.
QString zerotpstext(std::uint8_t livetps, const QString& current);
inline QString zeroppstext(std::uint8_t livepps) {
  return QString::number(livepps);
}
inline QString fulltpstext(std::uint8_t livetps) {
  return QString::number(livetps);
}

}  // namespace ostrel
