// Draws the diagram of the Diagrams window (Help -> "&Diagrams"): the cam timing control as its help text explains
// it. The PID block takes the target and the measured cam angle and the P, I and D terms; its output, plus the
// optional gain schedule table, goes through the scaling function to the duty cycle of the oil control solenoid,
// whose cam the cam sensor measures. Written as an 8-bit bitmap:
//
//   makehelppicture OUTFILE        (data/helppics/pic001.bmp)

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QBuffer>
#include <QVector>
#include <QHash>
#include <cmath>
#include <cstdio>

namespace {

constexpr int width = 980;
constexpr int height = 620;

const QColor ink(0x20, 0x20, 0x20);
const QColor pidfill(0xDD, 0xEA, 0xF7);
const QColor scalefill(0xE2, 0xF2, 0xDD);
const QColor solenoidfill(0xFB, 0xE6, 0xCF);
const QColor gsfill(0xF3, 0xF3, 0xF3);
const QColor inputfill(0xFF, 0xFF, 0xFF);
const QColor note(0x55, 0x55, 0x55);
const QColor feedback(0x2A, 0x5D, 0xA8);

QFont face(int pixels, bool bold = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

void arrowhead(QPainter& p, QPointF tip, QPointF from, const QColor& colour) {
  const QPointF d = tip - from;
  const double length = std::hypot(d.x(), d.y());
  if (length <= 0) return;
  const QPointF u = d / length, n(-u.y(), u.x());
  const QPointF a = tip - u * 10 + n * 5, b = tip - u * 10 - n * 5;
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(a);
  head.lineTo(b);
  head.closeSubpath();
  p.fillPath(head, colour);
}

// A line through the points with an arrowhead at the last.
void arrow(QPainter& p, const QVector<QPointF>& points, const QColor& colour = ink, Qt::PenStyle style = Qt::SolidLine) {
  p.setPen(QPen(colour, 2, style, Qt::FlatCap, Qt::MiterJoin));
  for (int k = 1; k < points.size(); ++k) {
    QPointF end = points[k];
    if (k == points.size() - 1) {
      // Stop the shaft short of the tip, so that the head stays sharp.
      const QPointF d = points[k] - points[k - 1];
      const double length = std::hypot(d.x(), d.y());
      if (length > 0) end = points[k] - d / length * 8;
    }
    p.drawLine(points[k - 1], end);
  }
  arrowhead(p, points.back(), points[points.size() - 2], colour);
}

void box(QPainter& p, const QRectF& r, const QColor& fill, Qt::PenStyle style = Qt::SolidLine) {
  p.setPen(QPen(ink, 2, style));
  p.setBrush(fill);
  p.drawRoundedRect(r, 6, 6);
  p.setBrush(Qt::NoBrush);
}

void text(QPainter& p, const QRectF& r, const QString& s, const QFont& f, int flags = Qt::AlignCenter,
          const QColor& colour = ink) {
  p.setFont(f);
  p.setPen(colour);
  p.drawText(r, flags | Qt::TextWordWrap, s);
}

void input(QPainter& p, double y, const QString& label, const QString& remark) {
  box(p, QRectF(20, y - 18, 190, 36), inputfill);
  text(p, QRectF(24, y - 18, 182, 36), label, face(13, true));
  if (!remark.isEmpty()) text(p, QRectF(20, y + 19, 190, 16), remark, face(10), Qt::AlignCenter, note);
}

void draw(QPainter& p) {
  p.fillRect(0, 0, width, height, Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  text(p, QRectF(0, 12, width, 28), QStringLiteral("Variable cam timing control (VCTi / VCTe)"), face(20, true));
  text(p, QRectF(0, 40, width, 20),
       QStringLiteral("Linear VCT control: PWM2 = VCTi1, PWM3 = VCTi2, PWM4 = VCTe1, PWM5 = VCTe2"), face(12),
       Qt::AlignCenter, note);

  // The controller's inputs.
  input(p, 110, QStringLiteral("VCT target angle"), QString());
  input(p, 175, QStringLiteral("VCT measured angle"), QString());
  input(p, 255, QStringLiteral("P term"), QString());
  input(p, 305, QStringLiteral("I term"), QString());
  input(p, 355, QStringLiteral("D term"), QStringLiteral("settings1 -> ignition triggers"));

  // The PID block.
  const QRectF pid(270, 66, 190, 324);
  box(p, pid, pidfill);
  text(p, QRectF(pid.left(), pid.top() + 4, pid.width(), 24), QStringLiteral("PID controller"), face(16, true));
  // Inside: the error of the angle and the three terms summed.
  p.setPen(QPen(ink, 2));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(305, 142), 14, 14);
  p.setBrush(Qt::NoBrush);
  text(p, QRectF(309, 108, 16, 16), QStringLiteral("+"), face(13, true), Qt::AlignLeft);
  text(p, QRectF(278, 122, 16, 16), QStringLiteral("-"), face(15, true), Qt::AlignLeft);
  text(p, QRectF(325, 132, 130, 20), QStringLiteral("angle error"), face(11), Qt::AlignLeft | Qt::AlignVCenter);
  const char* terms[] = {"P", "I", "D"};
  for (int k = 0; k < 3; ++k) {
    const double y = 188 + k * 52;
    box(p, QRectF(330, y, 44, 34), Qt::white);
    text(p, QRectF(330, y, 44, 34), QString::fromLatin1(terms[k]), face(15, true));
    arrow(p, {{305, 156}, {305, y + 17}, {330, y + 17}});
    arrow(p, {{374, y + 17}, {410, y + 17}, {410, 282}});
  }
  p.setPen(QPen(ink, 2));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(410, 296), 14, 14);
  p.setBrush(Qt::NoBrush);
  text(p, QRectF(396, 282, 28, 28), QStringLiteral("+"), face(16, true));

  // Inputs into the block.
  // The target adds, the measured angle subtracts.
  arrow(p, {{210, 110}, {305, 110}, {305, 128}});
  arrow(p, {{210, 175}, {245, 175}, {245, 142}, {291, 142}});
  for (double y : {255.0, 305.0, 355.0}) arrow(p, {{210, y}, {270, y}});
  text(p, QRectF(275, 244, 50, 16), QStringLiteral("Kp"), face(10), Qt::AlignLeft, note);
  text(p, QRectF(275, 294, 50, 16), QStringLiteral("Ki"), face(10), Qt::AlignLeft, note);
  text(p, QRectF(275, 344, 50, 16), QStringLiteral("Kd"), face(10), Qt::AlignLeft, note);

  // The PID output, with the optional gain schedule added to it.
  const QPointF sum(540, 296);
  arrow(p, {{424, 296}, {sum.x() - 18, 296}});
  text(p, QRectF(462, 272, 70, 20), QStringLiteral("PID output"), face(11), Qt::AlignCenter, note);
  p.setPen(QPen(ink, 2));
  p.setBrush(Qt::white);
  p.drawEllipse(sum, 18, 18);
  p.setBrush(Qt::NoBrush);
  text(p, QRectF(sum.x() - 18, sum.y() - 18, 36, 36), QStringLiteral("+"), face(18, true));

  const QRectF gs(420, 410, 250, 130);
  box(p, gs, gsfill, Qt::DashLine);
  text(p, QRectF(gs.left(), gs.top() + 6, gs.width(), 20), QStringLiteral("Gain schedule (GS) table"), face(13, true));
  text(p, QRectF(gs.left(), gs.top() + 26, gs.width(), 18), QStringLiteral("optional: 3D PWM MAP 9 to 12"), face(11),
       Qt::AlignCenter, note);
  // A small grid stands for the 3-D map.
  p.setPen(QPen(note, 1));
  for (int k = 0; k <= 4; ++k) {
    p.drawLine(QPointF(gs.left() + 14 + k * 12, gs.top() + 56), QPointF(gs.left() + 14 + k * 12, gs.top() + 104));
    p.drawLine(QPointF(gs.left() + 14, gs.top() + 56 + k * 12), QPointF(gs.left() + 62, gs.top() + 56 + k * 12));
  }
  text(p, QRectF(gs.left() + 72, gs.top() + 50, gs.width() - 78, 34),
       QStringLiteral("Y axis: VCTxx PID output"), face(11), Qt::AlignLeft | Qt::AlignVCenter);
  text(p, QRectF(gs.left() + 72, gs.top() + 84, gs.width() - 78, 40),
       QStringLiteral("X axis: additional parameter (coolant temperature, battery voltage)"), face(11),
       Qt::AlignLeft | Qt::AlignVCenter);
  // The PID output on the table's Y axis, the additional parameter on its X axis, the table's output to the sum.
  arrow(p, {{480, 296}, {480, 380}, {450, 380}, {450, gs.top()}}, ink, Qt::DashLine);
  arrow(p, {{300, 500}, {gs.left(), 500}}, ink, Qt::DashLine);
  text(p, QRectF(150, 470, 150, 50), QStringLiteral("additional parameter"), face(11), Qt::AlignRight | Qt::AlignVCenter);
  arrow(p, {{sum.x(), gs.top()}, {sum.x(), sum.y() + 18}}, ink, Qt::DashLine);

  // The scaling function: the controller's output to a duty cycle range for the solenoid.
  const QRectF scale(610, 226, 150, 140);
  box(p, scale, scalefill);
  text(p, QRectF(scale.left(), scale.top() + 6, scale.width(), 20), QStringLiteral("Scaling function"),
       face(13, true));
  const QRectF plot(scale.left() + 24, scale.top() + 36, scale.width() - 44, scale.height() - 56);
  p.setPen(QPen(note, 1));
  p.drawLine(plot.bottomLeft(), plot.bottomRight());
  p.drawLine(plot.bottomLeft(), plot.topLeft());
  p.setPen(QPen(scalefill.darker(250), 2));
  p.drawPolyline(QVector<QPointF>{{plot.left(), plot.bottom() - 12},
                                  {plot.left() + plot.width() * 0.25, plot.bottom() - 12},
                                  {plot.left() + plot.width() * 0.75, plot.top() + 10},
                                  {plot.right(), plot.top() + 10}});
  text(p, QRectF(plot.left(), plot.bottom() + 2, plot.width(), 14), QStringLiteral("input"), face(9), Qt::AlignCenter,
       note);
  text(p, QRectF(scale.left() + 2, plot.top(), 20, plot.height()), QStringLiteral("%"), face(10), Qt::AlignCenter,
       note);
  arrow(p, {{sum.x() + 18, 296}, {scale.left(), 296}});

  // The duty cycle to the oil control solenoid.
  const QRectF solenoid(810, 246, 150, 100);
  box(p, solenoid, solenoidfill);
  text(p, QRectF(solenoid.left() + 4, solenoid.top() + 10, solenoid.width() - 8, 44),
       QStringLiteral("VCT oil control solenoid"), face(13, true));
  text(p, QRectF(solenoid.left(), solenoid.top() + 58, solenoid.width(), 36), QStringLiteral("PWM2 to PWM5 output"),
       face(11), Qt::AlignCenter, note);
  arrow(p, {{scale.right(), 296}, {solenoid.left(), 296}});
  text(p, QRectF(scale.right(), 272, solenoid.left() - scale.right(), 20), QStringLiteral("duty %"), face(11),
       Qt::AlignCenter, note);

  // The cam moves, the cam sensor measures it: the loop closes on the measured angle.
  arrow(p, {{885, solenoid.bottom()}, {885, 585}, {115, 585}, {115, 193}}, feedback);
  text(p, QRectF(560, 560, 320, 20), QStringLiteral("camshaft position (cam sensor)"), face(12), Qt::AlignCenter,
       feedback);
}

// The picture as an 8-bit bitmap, which keeps the file small: a colour table of the drawing's colours and of
// twelve steps between each ink and each background (what the smoothed edges are made of), every pixel taking the
// nearest entry.
QImage indexed(const QImage& picture) {
  const QColor inks[] = {ink, note, feedback, scalefill.darker(250)};
  const QColor grounds[] = {Qt::white, pidfill, scalefill, solenoidfill, gsfill};
  QVector<QRgb> table;
  for (const QColor& g : grounds) table.push_back(g.rgb());
  for (const QColor& i : inks) table.push_back(i.rgb());
  constexpr int steps = 12;
  for (const QColor& i : inks)
    for (const QColor& g : grounds)
      for (int k = 1; k < steps; ++k) {
        const double a = static_cast<double>(k) / steps;
        table.push_back(qRgb(static_cast<int>(std::lround(g.red() + (i.red() - g.red()) * a)),
                             static_cast<int>(std::lround(g.green() + (i.green() - g.green()) * a)),
                             static_cast<int>(std::lround(g.blue() + (i.blue() - g.blue()) * a))));
      }
  QHash<QRgb, int> nearest;
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QImage out(rgb.size(), QImage::Format_Indexed8);
  out.setColorTable(table);
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = rgb.pixel(x, y);
      auto found = nearest.constFind(c);
      if (found == nearest.constEnd()) {
        int best = 0;
        long bestdistance = -1;
        for (int k = 0; k < table.size(); ++k) {
          const long dr = qRed(c) - qRed(table[k]), dg = qGreen(c) - qGreen(table[k]), db = qBlue(c) - qBlue(table[k]);
          const long distance = dr * dr + dg * dg + db * db;
          if (bestdistance < 0 || distance < bestdistance) {
            bestdistance = distance;
            best = k;
          }
        }
        found = nearest.insert(c, best);
      }
      out.setPixel(x, y, static_cast<uint>(*found));
    }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: makehelppicture OUTFILE\n");
    return 2;
  }
  QImage picture(width, height, QImage::Format_RGB32);
  {
    QPainter p(&picture);
    draw(p);
  }
  QSaveFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly) || !indexed(picture).save(&file, "BMP") || !file.commit()) {
    std::fprintf(stderr, "makehelppicture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
