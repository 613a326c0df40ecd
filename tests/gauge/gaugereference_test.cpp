// The drawing of a gauge compared with reference pictures drawn by the first, arc-by-arc version of the painting
// code (tests/gauge/reference/*.png). Later ways of drawing the same gauge may differ from those pictures only by
// anti-aliasing noise along the edges of shapes; anything else is a changed picture.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "common/testsupport.h"
#include "gauge/gaugepaint.h"

using namespace nox;

namespace {

struct ReferenceCase {
  const char* name;
  int width;  // surface in twips
  int height;
  std::function<void(GaugeState&)> setup;
  std::function<void(GaugeSurface&, GaugeState&)> draw;
};

void full(GaugeSurface& surface, GaugeState& state) {
  drawgauge(surface, state, true);
}

void scale(GaugeState& s, const char* text, float low, float mid, float high, float inter) {
  s.setNoxGaugeStrings(QString::fromLatin1(text));
  s.setNoxGaugeSetZones(low, mid, high, inter);
}

const ReferenceCase cases[] = {
    {"minimum", 3375, 3135,
     [](GaugeState& s) {
       scale(s, "0,10,20,30,40,50,60,70,80,X,RPM", 40, 60, 80, 1);
       s.setPointValue(0);
     },
     full},
    {"middle", 3375, 3135,
     [](GaugeState& s) {
       scale(s, "10,12,14,16,18,20,X,X,X,X,AFR", 20, 43, 51, 1);
       s.setPointValue(50);
     },
     full},
    {"maximum", 3375, 3135,
     [](GaugeState& s) {
       scale(s, "0,1,2,3,4,5,X,X,X,X,KNOCK", 40, 50, 60, 1);
       s.setPointValue(100);
     },
     full},
    {"coolant", 3375, 3135,
     [](GaugeState& s) {
       scale(s, "0,20,40,60,80,100,120,X,X,X,CTS", 50, 65, 80, 1);
       s.setPointValue(37);
     },
     full},
    {"small", 2250, 2085, [](GaugeState& s) { s.setPointValue(70); }, full},
    {"large", 5250, 4875,
     [](GaugeState& s) {
       // Strong colours make every edge of the shading ring show.
       s.setNoxGaugeColors(0x000000, 0xFFFFFF, 0x0000FF, 0x808080, 0x00FF00, 0xFF0000, 0x00FFFF);
       scale(s, "0,5,10,15,20,30,40,50,60,X,PSI", 10, 30, 75, 4);
       s.setPointValue(85);
     },
     full},
    {"needlemoved", 3375, 3135,
     [](GaugeState& s) {
       scale(s, "0,20,40,60,80,100,X,X,X,X,TPS", 50, 65, 80, 1);
       s.setPointValue(20);
     },
     [](GaugeSurface& surface, GaugeState& state) {
       drawgauge(surface, state, true);
       state.setPointValue(80);
       drawgauge(surface, state, false);
     }},
};

QImage render(const ReferenceCase& c) {
  GaugeState state;
  c.setup(state);
  GaugeSurface surface(c.width, c.height, defaultcolors[0]);
  c.draw(surface, state);
  return surface.image().convertToFormat(QImage::Format_RGB32);
}

QString referencepath(const char* name) {
  return ostrel::test::sourcepath(QStringLiteral("tests/gauge/reference/%1.png").arg(QLatin1String(name)));
}

// What was drawn goes next to the screenshots, so that a failing picture can be looked at (and a deliberate
// change of the look can be taken over as the new reference).
QString savedrawn(const QImage& image, const char* name) {
  const QString dir = QStringLiteral(OSTREL_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  const QString path = dir + QStringLiteral("/gauge_reference_%1.png").arg(QLatin1String(name));
  image.save(path);
  return path;
}

int channeldiff(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// How far the colours of the 3 x 3 block around (x, y) of the reference spread: zero inside a flat area, large on
// the edge of a shape.
int localspread(const QImage& image, int x, int y) {
  int spread = 0;
  const QRgb centre = image.pixel(x, y);
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= image.width() || ny >= image.height()) continue;
      spread = std::max(spread, channeldiff(centre, image.pixel(nx, ny)));
    }
  return spread;
}

// The pictures hold text; they were drawn with DejaVu Sans, the face setup.sh installs.
bool referencefont() {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                    QStringLiteral("DejaVu Sans")});
  font.setPointSize(8);
  font.setBold(true);
  return QFontInfo(font).family() == QLatin1String("DejaVu Sans");
}

}  // namespace

// Tolerance for anti-aliasing noise: off the edges of shapes (where the reference's 3 x 3 block spreads by less than
// the difference) a pixel may differ by at most 2 levels in a channel; on an edge by at most 48 levels, which only
// the black and white gauge comes near (many overlapping arcs left a harder edge than one shape of the same
// outline); and fewer than one pixel in twenty may differ at all.
TEST(GaugeReference, DrawingMatchesTheReferencePictures) {
  if (!referencefont())
    GTEST_SKIP() << "the reference pictures were drawn with DejaVu Sans, which is not the face here";
  for (const ReferenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage drawn = render(c);
    const QString saved = savedrawn(drawn, c.name);
    const QString refpath = referencepath(c.name);
    if (!QFile::exists(refpath)) {
      ADD_FAILURE() << "no reference picture; this drawing is in " << saved.toStdString();
      continue;
    }
    const QImage reference = QImage(refpath).convertToFormat(QImage::Format_RGB32);
    if (drawn.size() != reference.size()) {
      ADD_FAILURE() << "the picture has another size than the reference";
      continue;
    }

    int worst = 0, offedge = 0, differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x) {
        const int d = channeldiff(drawn.pixel(x, y), reference.pixel(x, y));
        if (d == 0) continue;
        ++differing;
        worst = std::max(worst, d);
        if (d > 2 && d > localspread(reference, x, y)) ++offedge;
      }
    EXPECT_LE(worst, 48) << saved.toStdString();
    EXPECT_EQ(offedge, 0) << saved.toStdString();
    // Noise stays along edges: a small share of the picture.
    EXPECT_LT(differing, drawn.width() * drawn.height() / 20) << saved.toStdString();
  }
}
