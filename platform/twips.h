#pragma once

#include <cmath>

namespace ostrel {

// Window geometry is kept in twips: 15 twips to a pixel at 96 dpi. Converted per coordinate, never by
// scaling a painter (fonts would shrink with it).
inline constexpr int twipsperpixel = 15;

inline int twipstopixels(double twips) { return static_cast<int>(std::nearbyint(twips / twipsperpixel)); }
inline constexpr int pixelstotwips(int pixels) { return pixels * twipsperpixel; }

}  // namespace ostrel
