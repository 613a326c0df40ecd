#include <benchmark/benchmark.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <vector>

#include "benchfixture.h"
#include "benchsupport.h"
#include "gauge/noxgauge.h"
#include "platform/twips.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"

namespace {

// Widgets need an application; the gauges draw offscreen unless a platform is chosen.
// A gauge as the gauge window sets it up, at the window's size.
void setup(nox::NoxGauge& gauge) {
  gauge.resize(224, 208);
  gauge.setNoxGaugeSetZones(40, 60, 80, 1);
  gauge.setNoxGaugeStrings(QStringLiteral("0,10,20,30,40,50,60,70,80,X,RPM"));
  gauge.paintGauge(true);
}

}  // namespace

// Set-up drawing of one gauge: background, scale, shading ring (fourteen passes of three bands) and inner dial.
static void BM_FullRepaint(benchmark::State& state) {
  ensureapplication("gauge_bench");
  nox::NoxGauge gauge;
  setup(gauge);
  for (auto _ : state) gauge.paintGauge(true);
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// One needle move, as after every live-values reply.
static void BM_NeedleMove(benchmark::State& state) {
  ensureapplication("gauge_bench");
  nox::NoxGauge gauge;
  setup(gauge);
  float value = 0;
  for (auto _ : state) {
    gauge.setNoxGaugeSetPointAndDraw(value, false);
    value = value >= 100 ? 0 : value + 7;
  }
}
BENCHMARK(BM_NeedleMove)->Unit(benchmark::kMicrosecond);

namespace {

using namespace ostrel;

// The gauge window with its six gauges and the live panel in an MDI area, as the main window holds it, over a link
// that is never opened.
struct GaugeWindow : OfflineParts {
  GaugeWindow() {
    display->setpanel(&panel);
    area.resize(1200, 760);
    area.show();
    frame->resize(twipstopixels(13000), twipstopixels(8100));
    frame->show();
    area.repaint();
  }

  QMdiArea area;
  frmDisplay* display = new frmDisplay(state, link, nullptr);  // owned by the area
  QMdiSubWindow* frame = area.addSubWindow(display);
  LivePanel panel{state, model, link, *display};
};

}  // namespace

// One step of dragging the gauge window's corner with all six gauges in view: the window is laid out for its new
// size (panel picture, gauge places, the panel drawn afresh) and painted, gauges included. The drag goes one pixel
// a step across 13700 twips, where the gauges spread out, and back, so that no two neighbouring steps have the
// same size.
static void BM_GaugeWindowResize(benchmark::State& state) {
  ensureapplication("gauge_bench");
  GaugeWindow window;
  std::vector<QSize> drag;
  for (int k = 0; k < 150; ++k) drag.emplace_back(twipstopixels(13000) + k, twipstopixels(8100) + k / 2);
  for (int k = 149; k > 0; --k) drag.push_back(drag[static_cast<std::size_t>(k)]);
  const int before = window.display->gauges[1]->x();
  std::size_t step = 0;
  for (auto _ : state) {
    window.frame->resize(drag[step]);
    window.frame->repaint();
    step = (step + 1) % drag.size();
  }
  window.frame->resize(drag[149]);
  if (window.display->gauges[1]->x() == before) state.SkipWithError("the gauges were not laid out afresh");
}
BENCHMARK(BM_GaugeWindowResize)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
