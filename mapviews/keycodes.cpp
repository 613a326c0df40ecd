#include "mapviews/keycodes.h"

#include <QKeyEvent>
#include <array>
#include <utility>

namespace ostrel {

namespace {

// Qt keys whose virtual-key code is not their own Latin-1 value.
constexpr std::array<std::pair<int, int>, 27> namedkeys{{
    {Qt::Key_Shift, 16},  {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9},  {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
    {Qt::Key_Escape, 27}, {Qt::Key_Space, 32},   {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},    {Qt::Key_Home, 36},    {Qt::Key_Left, 37},   {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},  {Qt::Key_Down, 40},    {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
    {Qt::Key_Plus, 187},  {Qt::Key_Equal, 187},  {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
    {Qt::Key_Comma, 188}, {Qt::Key_Period, 190}, {Qt::Key_Slash, 191},
}};

}  // namespace

int virtualkeycode(int qtkey, bool keypad) {
  // The number pad's own plus and minus keys have codes apart from the main keyboard's.
  if (keypad && qtkey == Qt::Key_Plus) return 107;
  if (keypad && qtkey == Qt::Key_Minus) return 109;
  if (qtkey >= Qt::Key_A && qtkey <= Qt::Key_Z) return qtkey;  // 65 to 90, as the codes are
  if (qtkey >= Qt::Key_0 && qtkey <= Qt::Key_9) return qtkey;  // 48 to 57
  if (qtkey >= Qt::Key_F1 && qtkey <= Qt::Key_F12) return 112 + (qtkey - Qt::Key_F1);
  for (const auto& [key, code] : namedkeys)
    if (key == qtkey) return code;
  return 0;
}

int virtualkeycode(const QKeyEvent& event) {
  return virtualkeycode(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int shiftmask(Qt::KeyboardModifiers modifiers) {
  return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace ostrel
