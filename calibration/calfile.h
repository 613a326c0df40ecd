#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "calibration/maps.h"

namespace ostrel {

class Prompts;

// The calibration file (*.s26): 1024 lines in the shape of S1 records, line k carrying the 32 image bytes at
// ECU address 0x8000 + 32 k as "S123", four plain address digits, 64 data digits, "FF" and the line end.
inline constexpr int calfilelines = 1024;
inline constexpr int calfilelinelength = 76;  // with CR LF; 75 in the LF-only variant
inline constexpr int calfilesize = calfilelines * calfilelinelength;

// How the data digits are written: Current (2.64+) substitutes every byte and shifts every digit by 0x31
// ("0"-"9" as "a"-"j", "A"-"F" as "r"-"w"); Beta writes plain upper-case digits without substitution.
enum class CalFormat { Current, Beta };

// The file text of an image, CR LF lines. The program itself only ever writes Current files.
QByteArray encodecalfile(const CalibrationImage& image, CalFormat format = CalFormat::Current);

// The image a file text holds, or empty when any data digit is missing or not a digit of the format. Nothing but
// the data digits is examined. A map-0 cell above 8000 reads as 8000.
std::optional<CalibrationImage> decodecalfile(const QByteArray& text, CalFormat format, bool lfonly);

// Reads a file whole, showing the reader's messages in order on failure and returning empty then.
std::optional<CalibrationImage> readcalfile(const QString& path, CalFormat format, bool lfonly, Prompts& prompts);

// Writes a Current file atomically: either the complete new file is in place, or the old one is untouched and the
// result is false.
bool writecalfile(const QString& path, const CalibrationImage& image);

}  // namespace ostrel
