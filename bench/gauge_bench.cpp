#include <benchmark/benchmark.h>

#include <QApplication>

#include "benchsupport.h"
#include "gauge/noxgauge.h"

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

// Set-up drawing of one gauge: background, scale, shading ring (about a thousand arcs) and inner dial.
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

BENCHMARK_MAIN();
