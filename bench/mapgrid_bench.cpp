#include <benchmark/benchmark.h>

#include "benchfixture.h"
#include "benchsupport.h"
#include "common/linkhelpers.h"
#include "mapviews/gridlayer.h"
#include "mapviews/mapgrid.h"
#include "mapviews/mapviews.h"

namespace {

using namespace ostrel;

// The map views over a calibration whose 3-D maps hold a plausible slope, with some changed cells, the unit notes
// on and the grid window on screen (offscreen). The link is only read for its live cell here.
struct Bench : OfflineParts {
  Bench() {
    for (int map : {0, 4, 8, 19})
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j)
          model.setdata(map, i, j, map == 0 ? 200 + 60 * i + 40 * j : 30 + 3 * i + 2 * j, false);
    for (int k = 0; k < 32; ++k) model.setdata(8, k, k, 80, true);
    model.setdata(110, 9, 14, 88, false);
    model.setdata(110, 10, 7, 167, false);
    model.recalc();
    state.preferences.substrings = true;
    state.preferences.vesubstringafrerror = false;  // map 4 shows the pulse width of every cell: the longest texts
    window.resize(1200, 700);
    window.show();
  }

  MapViews views{state, model, link, prompts};
  frmMapGrid window{views, state};
};

Bench& bench() {
  ensureapplication("mapgrid_bench");  // before the window
  static Bench b;
  return b;
}

// A full fill, with every cell text made as the view asks for it when it repaints.
void BM_FullFill(benchmark::State& s) {
  Bench& b = bench();
  b.state.curmap = static_cast<std::uint8_t>(s.range(0));
  GridModel& grid = b.views.mapgrid();
  for (auto _ : s) {
    b.views.filldatagrid(true);
    qsizetype length = 0;
    for (int r = 0; r < grid.rowcount(); ++r)
      for (int c = 0; c < grid.colcount(); ++c) length += grid.index(r, c).data(Qt::DisplayRole).toString().size();
    benchmark::DoNotOptimize(length);
  }
}
BENCHMARK(BM_FullFill)->Arg(0)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// A full fill and the repaint of the grid window that follows it.
void BM_FullFillAndPaint(benchmark::State& s) {
  Bench& b = bench();
  b.state.curmap = static_cast<std::uint8_t>(s.range(0));
  b.views.updategridhighlights(true);
  for (auto _ : s) {
    b.views.filldatagrid(true);
    b.window.MapGrid()->viewport()->repaint();
  }
}
BENCHMARK(BM_FullFillAndPaint)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The highlight update of every live reply: the live cell moves one cell.
void BM_HighlightUpdate(benchmark::State& s) {
  Bench& b = bench();
  b.state.curmap = 8;
  b.state.online = true;
  b.views.updategridhighlights(true);
  int step = 0;
  for (auto _ : s) {
    ostrel::test::changelive(b.link, [&](ostrel::LiveData& l) { l.liverow = static_cast<std::uint8_t>(step % 32); });
    ostrel::test::changelive(b.link,
                             [&](ostrel::LiveData& l) { l.livecol = static_cast<std::uint8_t>((step / 32) % 32); });
    ++step;
    b.views.updategridhighlights(false);
  }
  b.state.online = false;
}
BENCHMARK(BM_HighlightUpdate)->Unit(benchmark::kMicrosecond);

// The full highlight pass of a map opening or a selection change: all 32 x 32 cells.
void BM_HighlightFull(benchmark::State& s) {
  Bench& b = bench();
  b.state.curmap = 8;
  b.state.trimbox = {true, 3, 3, 10, 12, 0, 0, 0, 0};
  for (auto _ : s) b.views.updategridhighlights(true);
  b.state.trimbox.active = false;
}
BENCHMARK(BM_HighlightFull)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
