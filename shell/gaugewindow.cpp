#include "shell/gaugewindow.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPalette>
#include <QResizeEvent>
#include <cmath>

#include "gauge/noxgauge.h"
#include "link/eculink.h"
#include "platform/colors.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "shell/connectionstate.h"
#include "shell/livepanel.h"
#include "shell/statuslog.h"

namespace ostrel {

const std::array<GaugeSetup, gaugecount> gaugesetups{{
    {"10,12,14,16,18,20,X,X,X,X,AFR", {20, 43, 51}, 1},
    {"0,10,20,30,40,50,60,70,80,X,RPM", {40, 60, 80}, 1},
    {"0,5,10,15,20,30,40,50,60,X,PSI", {40, 60, 80}, 1},
    {"0,20,40,60,80,100,X,X,X,X,TPS", {50, 65, 80}, 1},
    {"0,20,40,60,80,100,120,X,X,X,CTS", {50, 65, 80}, 1},
    {"0,1,2,3,4,5,X,X,X,X,KNOCK", {40, 50, 60}, 1},
}};

namespace {

// Outer sizes at which the layout changes, and the frame that the picture leaves free (twips).
constexpr int packedfrom = 5000;  // wider: the gauges come into view
constexpr int spreadfrom = 13700;
constexpr int tallfrom = 9000;
constexpr int gaugesleft = 2780;
constexpr int gaugegap = 200;
constexpr int hiddenleft = 6000;
constexpr int framewidth = 135;
constexpr int frameheight = 525;

int twipsround(double twips) {
  return static_cast<int>(roundhalfeven(twips));
}

}  // namespace

float gaugevalue(int gauge, const std::array<std::int16_t, 18>& livevars) {
  const auto v = [&livevars](int i) { return static_cast<double>(livevars[static_cast<std::size_t>(i)]); };
  double value = 0;
  switch (gauge) {
    case 0:
      value = (v(6) - 68) * 1.47;
      break;
    case 1:
      value = 0.0124 * v(16);
      break;
    case 2:
      // Stretched below raw 65, where the labels step by 5, compressed above, where they step by 10.
      value = v(7) < 65 ? v(7) * 0.77 : (v(7) - 65) * 0.38 + 50;
      break;
    case 3:
      value = 0.39 * v(13);
      break;
    case 4:
      value = (v(10) - 20) * 0.83;
      break;
    case 5:
      value = 0.39 * v(15);
      break;
    default:
      break;
  }
  return static_cast<float>(value);
}

float limitgaugevalue(float value) {
  if (!(value > 0.0f)) return 0.0f;  // also what a value that is no number gives
  if (value >= 100.0f) return 100.0f;
  return value;
}

std::array<float, 3> afrgaugezones(std::uint8_t afrtarget) {
  float t = static_cast<float>(1.47 * (afrtarget - 68));
  if (t <= 5.0f) t = 5.0f;
  if (t >= 95.0f) t = 95.0f;
  return {1.0f, t - 3.0f, t + 5.0f};
}

void GaugeSelectorSwitch::resized(int widthtwips, std::uint8_t& livemode) {
  const bool wide = widthtwips > threshold;
  if (wide == enlarged_) {
    if (wide && livemode == 0) livemode = panel::gaugeselector;
    return;
  }
  enlarged_ = wide;
  if (wide) {
    savedlivemode_ = livemode;
    livemode = panel::gaugeselector;
  } else {
    livemode = savedlivemode_;
  }
}

std::array<GaugePlace, gaugecount> gaugelayout(int wf, int hf, const std::array<int, gaugecount>& widths,
                                               int gauge1height) {
  std::array<GaugePlace, gaugecount> places{};
  for (int row = 0; row < 2; ++row) {
    const std::size_t first = static_cast<std::size_t>(3 * row);
    GaugePlace* p = &places[first];
    if (wf <= packedfrom) {
      p[0].left = p[1].left = p[2].left = hiddenleft;
    } else if (wf <= spreadfrom) {
      p[0].left = gaugesleft;
      p[1].left = widths[first] + gaugesleft + gaugegap;
      p[2].left = widths[first] + widths[first + 1] + gaugesleft + 2 * gaugegap;
    } else {
      p[0].left = gaugesleft;
      p[1].left = twipsround((wf - gaugesleft) * 0.33 + gaugesleft);
      p[2].left = twipsround((wf - gaugesleft) * 0.66 + gaugesleft);
    }
    int top = 0;
    if (hf <= tallfrom)
      top = row == 0 ? 900 : gauge1height + 1280;
    else
      top = twipsround(hf * (row == 0 ? 0.1 : 0.49));
    p[0].top = p[1].top = p[2].top = top;
  }
  return places;
}

frmDisplay::frmDisplay(ProgramState& state, const EcuLink& link, StatusLog* log, QWidget* parent)
    : QWidget(parent), state_(state), link_(link), log_(log) {
  setObjectName(QStringLiteral("frmDisplay"));
  setWindowTitle(QStringLiteral("Display"));
  setFocusPolicy(Qt::StrongFocus);
  // What the picture does not cover shows the panel's colour.
  QPalette pal = palette();
  pal.setColor(QPalette::Window, bgrtocolor(panel::backgroundcolor));
  setPalette(pal);
  setAutoFillBackground(true);

  picGraph = new PictureSurface(this);
  picGraph->setObjectName(QStringLiteral("picGraph"));
  picGraph->setbackcolor(panel::backgroundcolor);
  picGraph->move(0, 0);
  connect(picGraph, &PictureSurface::focusreceived, this, [this] { picturefocused(); });

  for (int i = 0; i < gaugecount; ++i) {
    auto* gauge = new nox::NoxGauge(this);
    gauge->setObjectName(QStringLiteral("NoxGauge%1").arg(i + 1));
    gauge->resize(twipstopixels(gaugewidth), twipstopixels(gaugeheight));
    // Display only: the gauge's own test controls lie outside the part that shows and must not take the keys.
    gauge->setEnabled(false);
    gauge->move(twipstopixels(hiddenleft), twipstopixels(900));
    gauges[static_cast<std::size_t>(i)] = gauge;
  }
  setupgauges();
}

frmDisplay::~frmDisplay() = default;

void frmDisplay::setupgauges() {
  const auto& c = gaugecolors;
  for (nox::NoxGauge* gauge : gauges) {
    gauge->setNoxGaugeColors(c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
    gauge->setNoxGaugeSetPointAndDraw(0, false);
  }
  for (int i = 0; i < gaugecount; ++i) {
    const GaugeSetup& s = gaugesetups[static_cast<std::size_t>(i)];
    gauges[static_cast<std::size_t>(i)]->setNoxGaugeSetZones(s.zonestarts[0], s.zonestarts[1], s.zonestarts[2],
                                                             s.intergraduations);
  }
  for (int i = 0; i < gaugecount; ++i)
    gauges[static_cast<std::size_t>(i)]->setNoxGaugeStrings(
        QString::fromLatin1(gaugesetups[static_cast<std::size_t>(i)].scale));
  for (nox::NoxGauge* gauge : gauges) gauge->paintGauge(true);
}

void frmDisplay::drawNoxgauges(bool redraw) {
  for (int i = 0; i < gaugecount; ++i) {
    const auto g = static_cast<std::size_t>(i);
    const float value = limitgaugevalue(gaugevalue(i, link_.live().livevars));
    if (!gaugemoves(value, lastgaugevalues[g])) continue;
    lastgaugevalues[g] = value;
    if (i == 0) {
      const std::array<float, 3> zones = afrgaugezones(link_.live().afrtarget);
      gauges[g]->setNoxGaugeSetZones(zones[0], zones[1], zones[2], 1);
    }
    gauges[g]->setNoxGaugeSetPointAndDraw(value, redraw);
  }
}

int frmDisplay::outerwidth() const {
  if (const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget())) return pixelstotwips(frame->width());
  return pixelstotwips(isWindow() ? frameGeometry().width() : width());
}

int frmDisplay::outerheight() const {
  if (const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget())) return pixelstotwips(frame->height());
  return pixelstotwips(isWindow() ? frameGeometry().height() : height());
}

void frmDisplay::layoutforsize() {
  if (!displayresized) {
    displayresized = true;
    setWindowTitle(QStringLiteral("Display"));
  }
  const int wf = outerwidth();
  const int hf = outerheight();
  if (wf > framewidth) picGraph->resize(twipstopixels(wf - framewidth), picGraph->height());
  if (hf > frameheight) picGraph->resize(picGraph->width(), twipstopixels(hf - frameheight));

  selector_.resized(wf, state_.livemode);

  std::array<int, gaugecount> widths{};
  for (int i = 0; i < gaugecount; ++i)
    widths[static_cast<std::size_t>(i)] = pixelstotwips(gauges[static_cast<std::size_t>(i)]->width());
  const auto places = gaugelayout(wf, hf, widths, pixelstotwips(gauges[0]->height()));
  for (int i = 0; i < gaugecount; ++i) {
    const auto g = static_cast<std::size_t>(i);
    gauges[g]->setGeometry(twipstopixels(places[g].left), twipstopixels(places[g].top), twipstopixels(gaugewidth),
                           twipstopixels(gaugeheight));
  }

  if (panel_) panel_->drawpanel(true);
}

void frmDisplay::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutforsize();
}

void frmDisplay::closeEvent(QCloseEvent* event) {
  keepopenonclose(this, event, state_);
}

void frmDisplay::picturefocused() {
  if (log_) log_->statusmessage(QStringLiteral("Display focus, arrows are grid oriented"), false);
  state_.graphview = true;
}

}  // namespace ostrel
