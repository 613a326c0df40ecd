#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace ostrel {

// The calibration keeps passwords and comments as 8-bit Latin-1 codes, one byte a character. A character without
// a Latin-1 code becomes "?" (one for each character, also for one outside the basic plane).
std::vector<std::uint8_t> latin1codes(const QString& text);
// The same text as it will read back from the calibration.
QString tolatin1(const QString& text);
// Characters from stored codes.
QString fromlatin1(const std::vector<std::uint8_t>& codes);

}  // namespace ostrel
