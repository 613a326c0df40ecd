#pragma once

#include <QImage>
#include <QRect>
#include <cstdint>

#include "platform/colors.h"
#include "platform/twips.h"

namespace ostrel::test {

// Pixel checks on a picture: whether a colour lies within a pixel or two of a point given in twips.
inline bool colournear(const QImage& image, double xtwips, double ytwips, std::uint32_t bgr, int reach = 1) {
  const int x = twipstopixels(xtwips), y = twipstopixels(ytwips);
  const QRgb want = bgrtocolor(bgr).rgb();
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint p(x + dx, y + dy);
      if (image.rect().contains(p) && (image.pixel(p) & 0xFFFFFF) == (want & 0xFFFFFF)) return true;
    }
  return false;
}

// Pixels of the colour in the picture, or in a part of it (pixels).
inline int countcolour(const QImage& image, std::uint32_t bgr, QRect within = QRect()) {
  const QRgb want = bgrtocolor(bgr).rgb() & 0xFFFFFF;
  const QRect area = within.isNull() ? image.rect() : within.intersected(image.rect());
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == want) ++n;
  return n;
}

}  // namespace ostrel::test
