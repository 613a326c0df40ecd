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

namespace {

// Angles of an arc call in degrees for Qt: where it starts and how far it runs counter-clockwise. An arc with
// neither radius line goes through QPainter::drawArc, which takes whole sixteenths of a degree.
struct ArcAngles {
  double from;
  double span;
};

ArcAngles arcangles(float start, float end) {
  const double a0 = std::fabs(start);
  const double a1 = std::fabs(end);
  double span = a1 - a0;
  if (span < 0) span += 2 * std::numbers::pi;
  if (start >= 0 && end >= 0)
    return {std::nearbyint(todegrees(a0) * 16) / 16.0, std::nearbyint(todegrees(span) * 16) / 16.0};
  return {todegrees(a0), todegrees(span)};
}

QRectF circlebox(QPointF centrepx, double rpx) {
  return {centrepx.x() - rpx, centrepx.y() - rpx, 2 * rpx, 2 * rpx};
}

}  // namespace

void SurfacePainter::arc(QPointF centre, double r, bgr c, float start, float end) {
  const bool startradius = start < 0;
  const bool endradius = end < 0;
  const ArcAngles a = arcangles(start, end);
  const QPointF cp = topixels(centre);
  const QRectF box = circlebox(cp, nox::topixels(r));

  setpen(c);
  if (!startradius && !endradius) {
    painter_.drawArc(box, static_cast<int>(a.from * 16), static_cast<int>(a.span * 16));
    return;
  }

  QPainterPath path;
  if (startradius) {
    path.moveTo(cp);
    path.arcTo(box, a.from, a.span);
  } else {
    path.arcMoveTo(box, a.from);
    path.arcTo(box, a.from, a.span);
  }
  if (endradius) path.lineTo(cp);
  const bool pie = startradius && endradius;
  if (pie) path.closeSubpath();

  setbrush(pie);
  painter_.drawPath(path);
}

void SurfacePainter::band(QPointF centre, double outer, double inner, bgr c, float start, float end) {
  const ArcAngles a = arcangles(start, end);
  const QPointF cp = topixels(centre);
  const double ro = nox::topixels(outer);
  const double ri = nox::topixels(inner);
  const double w = std::max(surface_.drawwidth, 1) / 2.0;  // half the line width
  const double a1 = a.from + a.span;

  // Qt's angles: counter-clockwise from 3 o'clock with y downward on the screen.
  const auto at = [&cp](double r, double degrees) {
    const double t = degrees * std::numbers::pi / 180.0;
    return QPointF(cp.x() + r * std::cos(t), cp.y() - r * std::sin(t));
  };
  const auto capbox = [w](QPointF p) { return QRectF(p.x() - w, p.y() - w, 2 * w, 2 * w); };

  // The outline of everything the arcs' strokes cover: the outer arc widened by half the line width, a round end,
  // the inner arc narrowed by half the line width, the other round end. One filled shape instead of many strokes.
  QPainterPath path;
  path.arcMoveTo(circlebox(cp, ro + w), a.from);
  path.arcTo(circlebox(cp, ro + w), a.from, a.span);
  path.arcTo(capbox(at(ro, a1)), a1, 90);
  path.lineTo(at(ri, a1) + (at(w, a1 + 90) - cp));
  path.arcTo(capbox(at(ri, a1)), a1 + 90, 90);
  path.arcTo(circlebox(cp, ri - w), a1, -a.span);
  path.arcTo(capbox(at(ri, a.from)), a.from + 180, 90);
  path.lineTo(at(ro, a.from) + (at(w, a.from - 90) - cp));
  path.arcTo(capbox(at(ro, a.from)), a.from + 270, 90);
  path.closeSubpath();

  painter_.setPen(Qt::NoPen);
  painter_.setBrush(tocolor(c));
  painter_.drawPath(path);
}

void SurfacePainter::radiuslines(QPointF centre, double r, bgr c, float start, float end) {
  if (start >= 0 && end >= 0) return;
  const ArcAngles a = arcangles(start, end);
  const QPointF cp = topixels(centre);
  const QRectF box = circlebox(cp, nox::topixels(r));
  QPainterPath path;
  if (start < 0) {
    path.moveTo(cp);
    path.arcTo(box, a.from, 0);
  }
  if (end < 0) {
    path.arcMoveTo(box, a.from + a.span);
    path.lineTo(cp);
  }
  setpen(c);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPath(path);
}

void SurfacePainter::print(double x, double y, const QString& text, bgr c, int points, bool bold) {
  painter_.setFont(gaugefont(points, bold, &surface_.image_));
  painter_.setPen(tocolor(c));
  const QPointF at = topixels(QPointF(x, y));
  painter_.drawText(QRectF(at, QSizeF(1000, 1000)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

}  // namespace nox
