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

// A throttle or pedal reading is the engine's for one second after it arrived: four ticks of the settings editor's
// 250 ms timer. A button pressed later would store a position the throttle may have left long ago.
inline constexpr std::uint8_t livereadingmaxticks = 4;
// A window-data reply's readings, fresh.
void takelivereadings(ProgramState& state, std::uint8_t tps, std::uint8_t pps);
// One tick of the settings editor's timer: readings older than a second are emptied.
void agelivereadings(ProgramState& state);

// The text a calibration button puts into its cell's text box (current: what the box holds now) from the program's
// live readings; empty while the reading it needs is missing (none yet in this opening of the editor on this link, or
// older than a second), and then the button stores nothing.
std::optional<QString> throttlecalibrationtext(int cell, const ProgramState& state, const QString& current);
// The status line of a button pressed without a fresh reading.
inline const QString nothrottlereading =
    QStringLiteral("No throttle or pedal reading has arrived from the ECU yet: nothing was calibrated");

}  // namespace ostrel
