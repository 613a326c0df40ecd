#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace ostrel {

struct ProgramState;

// The settings of map 110 that the throttle calibration sets from the live readings (text settings of the
// "throttle setup" group with multiplier 1 and offset 0, so the text is the raw byte).
namespace throttlecells {
inline constexpr int zerotps = 142;  // (8, 14) "Zero TPS calibration"
inline constexpr int zeropps = 148;  // (9, 4) "Closed pedal calibration"
inline constexpr int fulltps = 154;  // (9, 10) "100% TPS calibration"
}  // namespace throttlecells

// The zero throttle sits two counts above the resting reading; a reading of 254 or 255 leaves the text as it is.
QString zerotpstext(std::uint8_t livetps, const QString& current);

// The text a calibration button puts into its cell's text box (current: what the box holds now) from the program's
// live readings; empty while the reading it needs has not arrived since the link opened, and then the button stores
// nothing.
std::optional<QString> throttlecalibrationtext(int cell, const ProgramState& state, const QString& current);
// The status line of a button pressed without a reading.
inline const QString nothrottlereading =
    QStringLiteral("No throttle or pedal reading has arrived from the ECU yet: nothing was calibrated");

}  // namespace ostrel
