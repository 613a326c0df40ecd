#pragma once

#include <Qt>

class QKeyEvent;

namespace ostrel {

// The map views speak of keys in virtual-key codes (Enter 13, Space 32, Page Up 33, Page Down 34, arrows 37 to 40,
// letters 65 to 90, F1 to F12 112 to 123, the plus key 187, the minus key 189) and of modifiers as the mask
// 1 Shift, 2 Ctrl, 4 Alt. Keys without a code of their own give 0, which no view binds.
int virtualkeycode(const QKeyEvent& event);
int virtualkeycode(int qtkey, bool keypad);
int shiftmask(Qt::KeyboardModifiers modifiers);

namespace vk {
inline constexpr int enter = 13;
inline constexpr int space = 32;
inline constexpr int pageup = 33;
inline constexpr int pagedown = 34;
inline constexpr int left = 37;
inline constexpr int up = 38;
inline constexpr int right = 39;
inline constexpr int down = 40;
inline constexpr int f1 = 112;
inline constexpr int plus = 187;
inline constexpr int minus = 189;
inline constexpr int shift = 1;
inline constexpr int ctrl = 2;
inline constexpr int alt = 4;
}  // namespace vk

}  // namespace ostrel
