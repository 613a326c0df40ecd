#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
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

// The needle is yellow by default; nothing else near the hub carries much red.
inline bool isneedle(const QColor& c) {
  return c.red() > 120 && c.green() > 120 && c.blue() < 80;
}

}  // namespace gaugetest
