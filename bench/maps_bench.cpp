#include <benchmark/benchmark.h>

#include "calibration/maps.h"
#include "platform/prompts.h"

namespace {

using ostrel::maps;

// One instance for all runs: construction builds the label and help tables once.
maps& model() {
  static ostrel::RecordingPrompts prompts;
  static maps m{prompts};
  return m;
}

void BM_ReadEveryCell(benchmark::State& state) {
  maps& m = model();
  for (auto _ : state) {
    long sum = 0;
    for (int map = 0; map < ostrel::mapcount; ++map)
      for (int r = 0; r < m.getmaprows(map); ++r)
        for (int c = 0; c < m.getmapcols(map); ++c) sum += m.getdata(map, r, c);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadEveryCell);

void BM_WriteEveryCell(benchmark::State& state) {
  maps& m = model();
  int v = 0;
  for (auto _ : state) {
    for (int map = 0; map < ostrel::mapcount; ++map)
      for (int r = 0; r < m.getmaprows(map); ++r)
        for (int c = 0; c < m.getmapcols(map); ++c) m.setdata(map, r, c, (v += 7) % 256, true);
  }
}
BENCHMARK(BM_WriteEveryCell);

void BM_ChecksumEveryMap(benchmark::State& state) {
  maps& m = model();
  for (auto _ : state) {
    int total = 0;
    for (int map = 0; map < ostrel::mapcount; ++map) total += m.getchecksum(map);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_ChecksumEveryMap);

// A whole-image transfer moves the image byte by byte.
void BM_ImageByteByByte(benchmark::State& state) {
  maps& m = model();
  for (auto _ : state) {
    for (int row = 0; row < ostrel::imagerows; ++row)
      for (int b = 0; b < 16; ++b) m.setmapbufferbyte(row, b, m.getmapbufferbyte(row, b));
  }
}
BENCHMARK(BM_ImageByteByByte);

void BM_WholeImageGetAndSet(benchmark::State& state) {
  maps& m = model();
  for (auto _ : state) m.setimage(m.getimage());
}
BENCHMARK(BM_WholeImageGetAndSet);

void BM_Recalc(benchmark::State& state) {
  maps& m = model();
  for (auto _ : state) m.recalc();
}
BENCHMARK(BM_Recalc);

void BM_Construct(benchmark::State& state) {
  ostrel::RecordingPrompts prompts;
  for (auto _ : state) {
    maps m{prompts};
    benchmark::DoNotOptimize(&m);
  }
}
BENCHMARK(BM_Construct);

}  // namespace

BENCHMARK_MAIN();
