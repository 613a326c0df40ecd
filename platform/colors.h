#pragma once

#include <QColor>
#include <cstdint>

namespace ostrel {

// Stored colours are 0x00BBGGRR: red in the low byte, blue in the high byte.
inline QColor bgrtocolor(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::uint32_t colortobgr(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

}  // namespace ostrel
