#include "gauge/noxgauge.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>

#include "gauge/gaugepaint.h"
#include "gauge/gaugestate.h"
#include "gauge/gaugesurface.h"

namespace nox {

namespace {

// Design sizes in twips. The host sizes a gauge to 3360 by 3120, so only the drawing surface shows; the
// test controls beside and below it stay out of view.
constexpr int designwidth = 3990;
constexpr int designheight = 3495;
constexpr int surfacewidth = 3375;
constexpr int surfaceheight = 3135;

QRect twipsrect(int x, int y, int w, int h) {
  const auto px = [](int twips) { return static_cast<int>(std::nearbyint(topixels(twips))); };
  return {px(x), px(y), px(w), px(h)};
}

}  // namespace

struct NoxGauge::Parts {
  GaugeState state;
  GaugeSurface picGauge{surfacewidth, surfaceheight, defaultcolors[0]};
  QScrollBar* HScroll1 = nullptr;
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
};

NoxGauge::NoxGauge(QWidget* parent) : QWidget(parent), d_(std::make_unique<Parts>()) {
  // Test controls: a scroll bar that moves the needle, "r" for a partial and "p" for a full repaint.
  d_->HScroll1 = new QScrollBar(Qt::Horizontal, this);
  d_->HScroll1->setObjectName(QStringLiteral("HScroll1"));
  d_->HScroll1->setRange(0, 100);
  d_->HScroll1->setGeometry(twipsrect(0, 3120, 3975, 375));
  connect(d_->HScroll1, &QScrollBar::valueChanged, this,
          [this](int value) { setNoxGaugeSetPointAndDraw(static_cast<float>(value), false); });

  d_->Command1 = new QPushButton(QStringLiteral("r"), this);
  d_->Command1->setObjectName(QStringLiteral("Command1"));
  d_->Command1->setGeometry(twipsrect(3360, 0, 615, 1575));
  connect(d_->Command1, &QPushButton::clicked, this, [this] { paintGauge(false); });

  d_->Command2 = new QPushButton(QStringLiteral("p"), this);
  d_->Command2->setObjectName(QStringLiteral("Command2"));
  d_->Command2->setGeometry(twipsrect(3360, 1560, 615, 1575));
  connect(d_->Command2, &QPushButton::clicked, this, [this] { paintGauge(true); });

  resize(sizeHint());
}

NoxGauge::~NoxGauge() = default;

QSize NoxGauge::sizeHint() const {
  return twipsrect(0, 0, designwidth, designheight).size();
}

bool NoxGauge::setPointValue(float value) {
  return d_->state.setPointValue(value);
}

bool NoxGauge::setNoxGaugeSetPointAndDraw(float setpoint, bool /*redraw*/) {
  if (!setPointValue(setpoint)) return false;
  paintGauge(false);
  return true;
}

void NoxGauge::paintGauge(bool repaint) {
  drawgauge(d_->picGauge, d_->state, repaint);
  update(d_->picGauge.image().rect());
}

void NoxGauge::setNoxGaugeColors(std::uint32_t backColor, std::uint32_t faceColor, std::uint32_t needleColor,
                                 std::uint32_t needleCenterColor, std::uint32_t lowZoneColor,
                                 std::uint32_t midZoneColor, std::uint32_t highZoneColor) {
  d_->state.setNoxGaugeColors(backColor, faceColor, needleColor, needleCenterColor, lowZoneColor, midZoneColor,
                              highZoneColor);
}

void NoxGauge::setNoxGaugeStrings(const QString& str) {
  d_->state.setNoxGaugeStrings(str);
}

bool NoxGauge::setNoxGaugeSetZones(float zonelowstart, float zonemidstart, float zonehighstart,
                                   float intergraduations) {
  return d_->state.setNoxGaugeSetZones(zonelowstart, zonemidstart, zonehighstart, intergraduations);
}

void NoxGauge::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect().topLeft(), d_->picGauge.image(), event->rect());
}

}  // namespace nox
