#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <cmath>
#include <cstdlib>

#include "gauge/gaugemath.h"
#include "gauge/gaugesurface.h"

// Reading back what a gauge drew: positions in twips on the host-sized surface.
namespace gaugetest {

inline const nox::Dial hostdial{3375, 3135};

inline QColor pixelat(const QImage& image, QPointF twips) {
  return image.pixelColor(static_cast<int>(twips.x() / 15.0), static_cast<int>(twips.y() / 15.0));
}

// The point at radius r (twips) where the needle for value v points.
inline QPointF alongneedle(double r, int v) {
  return hostdial.point(r, nox::valueToAngle(static_cast<std::uint8_t>(v)));
}

inline bool near(const QColor& c, nox::bgr expected, int tolerance = 2) {
  const QColor e = nox::tocolor(expected);
  return std::abs(c.red() - e.red()) <= tolerance && std::abs(c.green() - e.green()) <= tolerance &&
         std::abs(c.blue() - e.blue()) <= tolerance;
}

// Pixels of the box (pixels) that carry the colour, give or take the tolerance: the ink of a text printed there.
inline int ink(const QImage& image, QRect box, nox::bgr colour, int tolerance = 20) {
  const QRect area = box.intersected(image.rect());
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += near(image.pixelColor(x, y), colour, tolerance);
  return n;
}

// The box (pixels) that a scale label of the given characters, printed about the point at (twips), lies in: 90
// twips a character.
inline QRect labelbox(QPointF at, int characters) {
  const QPoint c = (at / 15.0).toPoint();
  const int halfwidth = 3 * characters + 3;
  return QRect(c.x() - halfwidth, c.y() - 8, 2 * halfwidth + 1, 19);
}

// The needle is yellow by default; nothing else near the hub carries much red.
inline bool isneedle(const QColor& c) {
  return c.red() > 120 && c.green() > 120 && c.blue() < 80;
}

}  // namespace gaugetest
