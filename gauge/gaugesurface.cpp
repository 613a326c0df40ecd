#include "gauge/gaugesurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>

namespace nox {

namespace {

// 96 dots per inch, so that a point is 4/3 of a pixel whatever screen the gauge is shown on.
constexpr int dotspermeter = 3780;

QPointF topixels(QPointF twips) {
  return {nox::topixels(twips.x()), nox::topixels(twips.y())};
}

double todegrees(double radians) {
  return radians * 180.0 / std::numbers::pi;
}

// The label and title positions allow about 0.556 em per character, the digit width of Arial. A wider face
// (DejaVu Sans where Arial and its metric twins are missing) is narrowed to that width so that the labels
// at the sides of the scale stay inside the gauge. Measured once per size, on a 96 dpi device.
QFont gaugefont(int points, bool bold, const QPaintDevice* device) {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                    QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(points);
  font.setBold(bold);

  static std::map<std::pair<int, bool>, int> stretches;
  const auto [it, fresh] = stretches.try_emplace({points, bold}, 100);
  if (fresh) {
    const double allowed = 0.556 * points * 96.0 / 72.0 + 0.05;
    QFont probe = font;
    int stretch = 100;
    while (stretch > 60 && QFontMetricsF(probe, device).horizontalAdvance(QLatin1Char('0')) > allowed) {
      probe.setStretch(--stretch);
    }
    it->second = stretch;
  }
  if (it->second != 100) font.setStretch(it->second);
  return font;
}

}  // namespace

GaugeSurface::GaugeSurface(int widthtwips, int heighttwips, bgr fill)
    : image_(static_cast<int>(std::nearbyint(widthtwips / twipsperpixel)),
             static_cast<int>(std::nearbyint(heighttwips / twipsperpixel)), QImage::Format_RGB32) {
  image_.setDotsPerMeterX(dotspermeter);
  image_.setDotsPerMeterY(dotspermeter);
  image_.fill(tocolor(fill));
}

SurfacePainter::SurfacePainter(GaugeSurface& surface) : surface_(surface), painter_(&surface.image_) {
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setRenderHint(QPainter::TextAntialiasing);
}

void SurfacePainter::setpen(bgr c) {
  QPen pen(tocolor(c));
  pen.setWidth(std::max(surface_.drawwidth, 1));
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter_.setPen(pen);
}

void SurfacePainter::setbrush(bool filled) {
  painter_.setBrush(filled && surface_.fillsolid ? QBrush(tocolor(surface_.fillcolor)) : QBrush(Qt::NoBrush));
}

void SurfacePainter::box(double x1, double y1, double x2, double y2, bgr c) {
  // Whole pixels, both corners included, so that boxes laid edge to edge leave no seam.
  const auto px = [](double twips) { return static_cast<int>(std::nearbyint(nox::topixels(twips))); };
  const QRect r(QPoint(px(std::min(x1, x2)), px(std::min(y1, y2))), QPoint(px(std::max(x1, x2)), px(std::max(y1, y2))));
  painter_.fillRect(r, tocolor(c));
}

void SurfacePainter::line(QPointF from, QPointF to, bgr c) {
  setpen(c);
  painter_.drawLine(topixels(from), topixels(to));
}

void SurfacePainter::circle(QPointF centre, double r, bgr c) {
  setpen(c);
  setbrush(true);
  const double rp = nox::topixels(r);
  painter_.drawEllipse(topixels(centre), rp, rp);
}

void SurfacePainter::arc(QPointF centre, double r, bgr c, float start, float end) {
  const bool startradius = start < 0;
  const bool endradius = end < 0;
  const double a0 = std::fabs(start);
  const double a1 = std::fabs(end);
  double span = a1 - a0;
  if (span < 0) span += 2 * std::numbers::pi;

  const QPointF cp = topixels(centre);
  const double rp = nox::topixels(r);
  const QRectF box(cp.x() - rp, cp.y() - rp, 2 * rp, 2 * rp);

  setpen(c);
  if (!startradius && !endradius) {
    // The shading ring is a thousand of these; the plain arc call is much cheaper than a path.
    painter_.drawArc(box, static_cast<int>(std::nearbyint(todegrees(a0) * 16)),
                     static_cast<int>(std::nearbyint(todegrees(span) * 16)));
    return;
  }

  QPainterPath path;
  if (startradius) {
    path.moveTo(cp);
    path.arcTo(box, todegrees(a0), todegrees(span));
  } else {
    path.arcMoveTo(box, todegrees(a0));
    path.arcTo(box, todegrees(a0), todegrees(span));
  }
  if (endradius) path.lineTo(cp);
  const bool pie = startradius && endradius;
  if (pie) path.closeSubpath();

  setbrush(pie);
  painter_.drawPath(path);
}

void SurfacePainter::print(double x, double y, const QString& text, bgr c, int points, bool bold) {
  painter_.setFont(gaugefont(points, bold, &surface_.image_));
  painter_.setPen(tocolor(c));
  const QPointF at = topixels(QPointF(x, y));
  painter_.drawText(QRectF(at, QSizeF(1000, 1000)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

}  // namespace nox
