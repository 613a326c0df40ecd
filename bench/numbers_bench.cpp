#include <benchmark/benchmark.h>

#include "platform/numbers.h"

static void BM_FormatFixed(benchmark::State& state) {
  double v = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ostrel::formatfixed(v, 2));
    v += 0.37;
  }
}
BENCHMARK(BM_FormatFixed);

BENCHMARK_MAIN();
