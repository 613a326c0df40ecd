#include "platform/ui/picturesurface.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <map>
#include <tuple>

#include "platform/colors.h"
#include "platform/twips.h"

namespace ostrel {

namespace {

// 96 dots per inch: a point is 4/3 of a pixel on every screen, as the twips positions assume.
constexpr int dotspermeter = 3780;

int px(double twips) {
  return twipstopixels(twips);
}

QImage blankimage(QSize size, std::uint32_t bgr) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.setDotsPerMeterX(dotspermeter);
  image.setDotsPerMeterY(dotspermeter);
  image.fill(bgrtocolor(bgr));
  return image;
}

// Digit widths in em of the faces the pictures were laid out for: Arial, and its narrow cut.
constexpr double arialdigit = 0.556;
constexpr double arialnarrowdigit = 0.456;

bool isarialnarrow(const QString& family) {
  return family.compare(QLatin1String("Arial Narrow"), Qt::CaseInsensitive) == 0;
}

// Stretch (percent) that brings a stand-in face to the digit width of the face it stands in for (digit em); measured
// once per font.
int fittingstretch(const QFont& font, const QPaintDevice* device, double digit) {
  using Key = std::tuple<QString, int, bool, bool, double>;
  static std::map<Key, int> stretches;
  const Key key{font.families().join(QLatin1Char(',')), font.pointSize(), font.bold(), font.italic(), digit};
  const auto [it, fresh] = stretches.try_emplace(key, 100);
  if (fresh) {
    const double allowed = digit * font.pointSize() * 96.0 / 72.0 + 0.05;
    QFont probe = font;
    int stretch = 100;
    while (stretch > 60 && QFontMetricsF(probe, device).horizontalAdvance(QLatin1Char('0')) > allowed)
      probe.setStretch(--stretch);
    it->second = stretch;
  }
  return it->second;
}

}  // namespace

PictureSurface::PictureSurface(QWidget* parent) : QWidget(parent) {
  // Here, not in the initialiser list: the back colour is declared after the image and set only after it.
  image_ = blankimage(size(), backcolor_);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setfont(QStringLiteral("Arial"), 8, false, false);
}

PictureSurface::~PictureSurface() {
  release();
}

int PictureSurface::widthtwips() const {
  return pixelstotwips(image_.width());
}
int PictureSurface::heighttwips() const {
  return pixelstotwips(image_.height());
}

void PictureSurface::setbackcolor(std::uint32_t bgr) {
  backcolor_ = bgr;
  update();
}

void PictureSurface::setfont(const QString& family, int points, bool bold, bool italic) {
  // Arial Narrow's stand-ins are its metric twin, then any face narrowed to its digits.
  const bool narrow = isarialnarrow(family);
  QFont font;
  QStringList families{family};
  if (narrow) families << QStringLiteral("Liberation Sans Narrow");
  for (const char* standin : {"Arial", "Liberation Sans", "Arimo", "DejaVu Sans"})
    if (!families.contains(QLatin1String(standin))) families << QLatin1String(standin);
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(std::max(points, 1));
  font.setBold(bold);
  font.setItalic(italic);
  const QString found = QFontInfo(font).family();
  const bool metrictwin =
      narrow ? isarialnarrow(found) || found == QLatin1String("Liberation Sans Narrow")
             : found == QLatin1String("Arial") || found == QLatin1String("Liberation Sans") ||
                   found == QLatin1String("Arimo");
  if (found.compare(family, Qt::CaseInsensitive) != 0 && !metrictwin) {
    const int stretch = fittingstretch(font, &image_, narrow ? arialnarrowdigit : arialdigit);
    if (stretch != 100) font.setStretch(stretch);
  }
  font_ = font;
}

QPainter& PictureSurface::painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::TextAntialiasing);
  }
  return *painter_;
}

void PictureSurface::release() {
  if (batches_ > 0) return;
  painter_.reset();
  if (!dirty_.isEmpty()) {
    update(dirty_);
    dirty_ = QRect();
  }
}

void PictureSurface::touched(const QRect& pixels) {
  dirty_ |= pixels.intersected(image_.rect());
}

void PictureSurface::fillbox(double x1, double y1, double x2, double y2, std::uint32_t bgr) {
  const QRect r(QPoint(px(std::min(x1, x2)), px(std::min(y1, y2))), QPoint(px(std::max(x1, x2)), px(std::max(y1, y2))));
  painter().fillRect(r, bgrtocolor(bgr));
  touched(r);
  release();
}

void PictureSurface::paintpicture(const QImage& picture, double x, double y) {
  const QPoint at(px(x), px(y));
  painter().drawImage(at, picture);
  touched(QRect(at, picture.size()));
  release();
}

void PictureSurface::line(double x1, double y1, double x2, double y2, std::uint32_t bgr) {
  QPainter& p = painter();
  QPen pen(bgrtocolor(bgr));
  pen.setWidth(std::max(drawwidth, 1));
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  const QPoint a(px(x1), px(y1));
  const QPoint b(px(x2), px(y2));
  p.drawLine(a, b);
  const int grow = pen.width();
  touched(QRect(a, b).normalized().adjusted(-grow, -grow, grow, grow));
  release();
}

void PictureSurface::circle(double x, double y, double radius, std::uint32_t bgr) {
  QPainter& p = painter();
  QPen pen(bgrtocolor(bgr));
  pen.setWidth(std::max(drawwidth, 1));
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const QPoint centre(px(x), px(y));
  const int r = std::max(px(radius), 0);
  p.drawEllipse(centre, r, r);
  const int grow = r + pen.width();
  touched(QRect(centre, centre).adjusted(-grow, -grow, grow, grow));
  release();
}

void PictureSurface::print(const QString& text) {
  QPainter& p = painter();
  p.setFont(font_);
  p.setPen(bgrtocolor(forecolor));
  const QFontMetricsF metrics(font_, &image_);
  const QPointF at(currentx / twipsperpixel, currenty / twipsperpixel);
  p.drawText(QPointF(at.x(), at.y() + metrics.ascent()), text);
  const QRectF bounds(at, QSizeF(metrics.horizontalAdvance(text) + metrics.height(), metrics.height()));
  touched(bounds.toAlignedRect().adjusted(-2, -1, 2, 1));
  currentx = 0;
  currenty += metrics.height() * twipsperpixel;
  release();
}

PictureSurface::Batch::Batch(PictureSurface& surface) : surface_(surface) {
  ++surface_.batches_;
}

PictureSurface::Batch::~Batch() {
  --surface_.batches_;
  surface_.release();
}

void PictureSurface::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QRect area = event->rect();
  p.drawImage(area.topLeft(), image_, area);
  // Whatever lies beyond the picture (only while it is being resized) shows the back colour.
  const QRegion outside = QRegion(area) - QRegion(image_.rect());
  for (const QRect& r : outside) p.fillRect(r, bgrtocolor(backcolor_));
}

void PictureSurface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->size() == image_.size()) return;
  painter_.reset();  // no drawing is under way between calls; a batch never spans a resize
  QImage grown = blankimage(event->size(), backcolor_);
  {
    QPainter p(&grown);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(grown);
  update();
}

void PictureSurface::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  emit focusreceived();
}

}  // namespace ostrel
