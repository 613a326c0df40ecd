#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "platform/programstate.h"

namespace ostrel {

class Prompts;
class settings;
class ShellHost;

inline const QString preferencesfilename = QStringLiteral("preferences26.dat");
inline constexpr int preferencecount = 17;

// One option group of the preferences dialog, in file order. A two-way group holds a boolean (element 0 means
// true); a numbered group holds element index + 1.
struct PreferenceGroup {
  const char* label;
  std::array<const char*, 6> options;  // captions, exactly as shown (trailing blanks included)
  int optioncount;
  bool Preferences::*flag;            // two-way groups
  std::uint8_t Preferences::*number;  // numbered groups (port, view, fuel type)
};

extern const std::array<PreferenceGroup, preferencecount> preferencegroups;

// The 17 file bytes of the preferences: "1"/"0" for booleans, the digit of the three numbers ("1" when out of range).
QByteArray preferencebytes(const Preferences& prefs);

// Decodes file bytes. A boolean is true for any byte above "0"; a number outside its range reads as 1. Bytes past
// the end of a short file read as zero bytes: False, and 1 for the numbers.
Preferences preferencesfrombytes(const QByteArray& bytes);

// The preferences of the file shipped with the program.
Preferences defaultpreferences();

// Reads "preferences26.dat" from the install folder into prefs. A missing file gives the shipped defaults; a short or
// empty one is read as far as it goes, without a message; one that cannot be read is reported and gives the
// defaults. Never stops the caller.
void loadpreferences(Preferences& prefs, Prompts& prompts);

// Writes the preferences over the first 17 bytes of the file (anything stored after them is kept). A failure is
// reported through prompts and returns false; the preferences stay in force for the run either way.
bool savepreferences(const Preferences& prefs, Prompts& prompts);

// The logic of the preferences dialog: a click changes the preference at once, for the rest of the run; only
// "&Save and exit" writes the file. The units go to the setting tables at once; the communications interval and
// the refreshed views go to the main window through its ShellHost.
class PreferencesEditor {
 public:
  PreferencesEditor(Preferences& prefs, Prompts& prompts, settings& mainsettings, ShellHost& host);

  // The dialog opens: remembers the fuel type so a change can be pointed out on leaving.
  void open();

  // The selected element of a group; -1 when a number lies outside its range.
  int selected(int group) const;

  void click(int group, int element);

  // "&Save and exit"; true when the dialog may close (false when the file could not be written).
  bool saveandexit();
  // "&Ok": the file is not written.
  void ok();

  std::uint8_t fueltypeatopen() const { return fueltypeatopen_; }

 private:
  void refreshviews();

  Preferences& prefs_;
  Prompts& prompts_;
  settings& mainsettings_;
  ShellHost& host_;
  std::uint8_t fueltypeatopen_ = 0;
};

}  // namespace ostrel
