// Drawing time of the graph window on a 1000 by 1000 pixel picture: a full redraw of a 3-D map, and the quick update
// that follows every live reply (the bands moved and the mixture text written). Goals: well under 10 ms and 3 ms.
#include <benchmark/benchmark.h>

#include "benchfixture.h"
#include "benchsupport.h"
#include "common/linkhelpers.h"
#include "mapviews/frmmap.h"
#include "mapviews/mapviews.h"
#include "platform/installfolder.h"
#include "platform/ui/picturesurface.h"

namespace {

using namespace ostrel;

// The graph window sized so that its picture is 1000 pixels square, over the shipped calibration's timing map.
struct Bench : OfflineParts {
  Bench() {
    // The shipped calibration, which the fresh install folder is seeded with.
    opened = model.openfile(installpath(QStringLiteral("lastsaved.s26")), true, false);
    state.curmap = 8;
    state.online = true;
    state.cursorrow = 6;
    state.cursorcol = 20;
    window.resize(1100, 1023);
    window.show();
  }
  bool ready() const { return opened && window.picGraph()->width() == 1000 && window.picGraph()->height() == 1000; }

  MapViews views{state, model, link, prompts};  // nobody above listens
  frmMap window{state, model, link, views};
  bool opened = false;
};

// The live cell walks over the map as an engine would, one point per reply.
void nextlive(EcuLink& link, int step) {
  test::changelive(link, [step](LiveData& l) {
    l.liverow = static_cast<std::uint8_t>(8 + step % 12);
    l.livecol = static_cast<std::uint8_t>(4 + (step / 3) % 10);
    l.afrtarget = static_cast<std::uint8_t>(95 + step % 10);
    l.livevars[6] = static_cast<std::int16_t>(90 + step % 20);
  });
}

}  // namespace

static void BM_WireGraphFullRedraw(benchmark::State& state) {
  ensureapplication("graph_bench");
  Bench bench;
  if (!bench.ready()) state.SkipWithError("no calibration, or the picture is not 1000 pixels square");
  int step = 0;
  for (auto _ : state) {
    nextlive(bench.link, ++step);
    bench.window.drawmap(true);
  }
}
BENCHMARK(BM_WireGraphFullRedraw)->Unit(benchmark::kMillisecond);

static void BM_WireGraphQuickUpdate(benchmark::State& state) {
  ensureapplication("graph_bench");
  Bench bench;
  if (!bench.ready()) state.SkipWithError("no calibration, or the picture is not 1000 pixels square");
  bench.window.drawmap(true);
  int step = 0;
  for (auto _ : state) {
    nextlive(bench.link, ++step);
    bench.window.drawmap(false);
  }
}
BENCHMARK(BM_WireGraphQuickUpdate)->Unit(benchmark::kMillisecond);

// The projection alone (an angle, size or spread change).
static void BM_GraphProjection(benchmark::State& state) {
  ProjectionInputs in{15000, 15000, 32, 32, {62, 7}};
  for (auto _ : state) {
    in.angles.h = in.angles.h >= 360 ? 0 : in.angles.h + 1;
    benchmark::DoNotOptimize(projectgraph(in));
  }
}
BENCHMARK(BM_GraphProjection)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
