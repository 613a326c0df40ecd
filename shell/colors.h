#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "platform/programstate.h"

namespace ostrel {

class Prompts;
class ShellHost;

inline const QString colorsfilename = QStringLiteral("colors.dat");
inline constexpr int colorfilesize = 24;  // six records of four bytes, most significant byte first

// The six stored colours in file order, with the text the colours dialog lists them by.
struct ColorSlot {
  const char* listtext;
  std::uint32_t Colors::*color;
};
extern const std::array<ColorSlot, 6> colorslots;

// The 24 file bytes of the six colours.
QByteArray colorbytes(const Colors& colors);

// Decodes the first 24 bytes into the six colours and derives shadecolor; the first byte of each record is
// ignored. A file shorter than 24 bytes is damaged: false, and the colours are left as they were.
bool colorsfrombytes(const QByteArray& bytes, Colors& colors);

// The 3-D graph's shade: per channel 0.3 x background + 0.68 x wire, rounded half to even.
std::uint32_t shadecolorof(std::uint32_t bgcolor, std::uint32_t wirecolor);

// Reads "colors.dat" from the install folder. A missing file leaves the colours as they were; an unreadable or
// damaged one is reported and leaves them too. Returns true when the file was taken.
bool loadcolors(Colors& colors, Prompts& prompts);

// Writes the six colours over the first 24 bytes of the file (anything stored after them is kept). A failure is
// reported through prompts and returns false; the colours stay in force for the run either way.
bool savecolors(const Colors& colors, Prompts& prompts);

// The logic of the colours dialog. A chosen colour is in force at once; only "&Save" writes the file. The shade
// is derived at start-up only, so choosing a new background or wire colour leaves it as it is. Closing the dialog
// redraws the graph through the main window's ShellHost.
class ColorsEditor {
 public:
  ColorsEditor(Colors& colors, Prompts& prompts, ShellHost& host);

  // A click on list entry 0 to 5: the colour picker starts from the entry's colour; Cancel changes nothing.
  // True when a colour was chosen.
  bool pick(int entry);

  // "&Save"; true when the dialog may close (false when the file could not be written).
  bool save();
  // "&Ok": the file is not written.
  void ok();

  std::uint32_t color(int entry) const;

 private:
  Colors& colors_;
  Prompts& prompts_;
  ShellHost& host_;
};

}  // namespace ostrel
