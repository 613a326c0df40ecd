// Painting time of the live data after one live-values reply: the live panel's value pass, and one update of the
// gauge window's six needles.
#include <benchmark/benchmark.h>

#include "benchfixture.h"
#include "benchsupport.h"
#include "common/linkhelpers.h"
#include "platform/twips.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"

namespace {

using namespace ostrel;

// The gauge window at a given outer size with its panel, over a link that is never opened.
struct Bench : OfflineParts {
  explicit Bench(int widthtwips, int heighttwips) {
    display.resize(twipstopixels(widthtwips), twipstopixels(heighttwips));
    display.show();
    display.layoutforsize();
    display.setpanel(&panel);
    panel.drawpanel(true);
  }

  frmDisplay display{state, link, nullptr};
  LivePanel panel{state, model, link, display};
};

// Live values that move every bar and every needle by more than the gauges' dead band from one step to the next.
void nextvalues(EcuLink& link, int step) {
  const std::int16_t swing = static_cast<std::int16_t>(step % 2 == 0 ? 60 : 180);
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) {
    for (std::size_t i = 0; i < l.livevars.size(); ++i) l.livevars[i] = static_cast<std::int16_t>(swing + i);
    l.livevars[16] = static_cast<std::int16_t>(swing * 40);
    l.afrtarget = static_cast<std::uint8_t>(swing);
  });
}

}  // namespace

// One value pass of the panel in the narrow window (4400 by 6900 twips, the gauges out of view): 18 bars, values
// and units, the queue strip and the engine speed.
static void BM_LivePanelValuePass(benchmark::State& state) {
  ensureapplication("livepanel_bench");
  Bench bench(4400, 6900);
  int step = 0;
  for (auto _ : state) {
    nextvalues(bench.link, ++step);
    bench.panel.drawpanel(false);
  }
}
BENCHMARK(BM_LivePanelValuePass)->Unit(benchmark::kMicrosecond);

// One update of the six gauges with every needle moving (the partial repaint of each gauge).
static void BM_GaugeWindowUpdate(benchmark::State& state) {
  ensureapplication("livepanel_bench");
  Bench bench(13500, 8100);
  int step = 0;
  for (auto _ : state) {
    nextvalues(bench.link, ++step);
    bench.display.drawNoxgauges(false);
  }
}
BENCHMARK(BM_GaugeWindowUpdate)->Unit(benchmark::kMicrosecond);

// What one live-values reply costs on the wide gauge window: the value pass followed by the needles.
static void BM_LivePanelWithGauges(benchmark::State& state) {
  ensureapplication("livepanel_bench");
  Bench bench(13500, 8100);
  int step = 0;
  for (auto _ : state) {
    nextvalues(bench.link, ++step);
    bench.panel.drawpanel(false);
  }
}
BENCHMARK(BM_LivePanelWithGauges)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
