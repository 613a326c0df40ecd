#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace ostrel {

struct ProgramState;

inline const QString defaultlogprofilename = QStringLiteral("defaultlogprefs.lgp");
inline constexpr int logprofilesize = 32;           // 16 trace colour codes, then 16 live variable numbers
inline constexpr std::uint8_t logcolourlimit = 17;  // 0 to 15 a colour, 16 no trace
inline constexpr std::uint8_t logvarlimit = 128;

// The profile shipped as "defaultlogprefs.lgp": each channel its own colour, and engine speed, load, throttle,
// boost, mixture, pulse width, advance, knock retard, temperatures, duty cycle, battery, vacuum, oxygen sensor,
// short-term trim and road speed.
const std::array<std::uint8_t, logprofilesize>& defaultlogprofile();

// Takes the 32 profile bytes into the channel tables; a colour code of 17 or more or a variable number of 128 or
// more leaves that channel's entry as it was.
void applylogprofile(const QByteArray& bytes, ProgramState& state);

// Reads a log profile file into the channel tables. A file that cannot be read, is not a regular file or holds
// fewer than 32 bytes changes nothing and returns false.
bool loadlogprofile(const QString& path, ProgramState& state);

}  // namespace ostrel
