#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace ostrel {

class Prompts;
struct ProgramState;

// A log profile file ("*.lgp") is 32 bytes: the trace colour code of channels 0 to 15, then their live variable
// numbers. No header, no check; bytes after the 32nd are ignored.
inline const QString defaultlogprofilename = QStringLiteral("defaultlogprefs.lgp");
inline constexpr int logprofilesize = 32;           // 16 trace colour codes, then 16 live variable numbers
inline constexpr std::uint8_t logcolourlimit = 17;  // 0 to 15 a colour, 16 no trace
inline constexpr std::uint8_t logvarlimit = 128;

// The profile shipped as "defaultlogprefs.lgp": each channel its own colour, and engine speed, load, throttle,
// boost, mixture, pulse width, advance, knock retard, temperatures, duty cycle, battery, vacuum, oxygen sensor,
// short-term trim and road speed.
const std::array<std::uint8_t, logprofilesize>& defaultlogprofile();

// Takes the 32 profile bytes into the channel tables, colours first; a colour code of 17 or more or a variable
// number of 128 or more leaves that channel's entry as it was. Fewer than 32 bytes change nothing.
void applylogprofile(const QByteArray& bytes, ProgramState& state);

// Reads a log profile file into the channel tables. A file that cannot be read or holds fewer than 32 bytes
// changes nothing and returns false.
bool loadlogprofile(const QString& path, ProgramState& state);

// The 32 bytes of the channel tables; an entry out of range is written as 0.
QByteArray logprofilebytes(const ProgramState& state);

// Writes the channel tables as a 32-byte profile (a longer file is cut to 32 bytes; a pipe or a device in the file's
// place is refused and stays); the reason on failure, an empty text on success.
QString savelogprofile(const QString& path, const ProgramState& state);

// The logger's File menu. A cancelled dialog does nothing at all; a file that cannot be read or written shows
// "A file error occurred" and changes nothing.
//
// "&Load profile": true when a profile was read into the channel tables; the window then shows the new set-up,
// tells the tuner with logresetmessage and restarts the log.
inline const QString logresetmessage = QStringLiteral("The log buffer has been reset for these new logging parameters");
bool loadprofilecommand(Prompts& prompts, ProgramState& state);
// "&Save profile": true when written.
bool saveprofilecommand(Prompts& prompts, const ProgramState& state);
// "Save profile as &default": writes the install folder's "defaultlogprefs.lgp" without asking; it takes effect
// at the next start or when the address monitor closes.
bool savedefaultprofilecommand(Prompts& prompts, const ProgramState& state);

inline const QString fileerrormessage = QStringLiteral("A file error occurred");

// A path typed without an extension gets the dialog's default one.
QString withdefaultextension(const QString& path, const QString& extension);

}  // namespace ostrel
