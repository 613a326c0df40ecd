#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>

#include "gauge/gaugemath.h"

namespace nox {

// Pixels are 15 twips at 96 dpi; every coordinate is converted on its own so fonts keep their point size.
inline constexpr double twipsperpixel = 15.0;
inline double topixels(double twips) {
  return twips / twipsperpixel;
}

// The one conversion of a 0x00BBGGRR colour; a stray high byte is ignored.
inline QColor tocolor(bgr c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

// A drawing surface that keeps what was drawn on it, together with the line width and fill that the
// drawing calls leave behind, so that a later partial drawing continues from there.
class GaugeSurface {
 public:
  GaugeSurface(int widthtwips, int heighttwips, bgr fill);

  const QImage& image() const { return image_; }
  // Size in twips.
  double width() const { return image_.width() * twipsperpixel; }
  double height() const { return image_.height() * twipsperpixel; }

  int drawwidth = 1;      // pixels
  bool fillsolid = true;  // closed figures are filled with fillcolor
  bgr fillcolor = 0;

 private:
  friend class SurfacePainter;
  QImage image_;
};

// Draws on a surface in twips, for as long as it lives.
class SurfacePainter {
 public:
  explicit SurfacePainter(GaugeSurface& surface);

  // A rectangle filled and outlined in c.
  void box(double x1, double y1, double x2, double y2, bgr c);
  void line(QPointF from, QPointF to, bgr c);
  // A full circle outlined in c, filled with the fill colour when the fill is solid.
  void circle(QPointF centre, double r, bgr c);
  // An arc counter-clockwise from start to end (radians from 3 o'clock, counter-clockwise on screen). A
  // negative angle stands for its absolute value and adds the radius to that end; with both negative the
  // figure is a pie slice, filled like a circle.
  void arc(QPointF centre, double r, bgr c, float start, float end);
  // The area that arc() strokes for radii from outer down to inner a pixel or less apart, without their radius
  // lines: the band between the radii widened by half the line width, with round ends. One filled shape; the
  // angles are read as arc() reads them.
  void band(QPointF centre, double outer, double inner, bgr c, float start, float end);
  // Only the radius lines that arc() draws at its negative ends.
  void radiuslines(QPointF centre, double r, bgr c, float start, float end);
  // Text with its top-left corner at (x, y).
  void print(double x, double y, const QString& text, bgr c, int points, bool bold);

 private:
  void setpen(bgr c);
  void setbrush(bool filled);

  GaugeSurface& surface_;
  QPainter painter_;
};

}  // namespace nox
