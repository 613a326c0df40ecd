// Reading a translations file: the time per byte must stay flat as the file grows, whatever its shape.

#include <benchmark/benchmark.h>

#include "calibration/translate.h"

using namespace ostrel;

namespace {

// Ordinary entries: '>"caption n"' and '="Beschriftung n"' lines, about size bytes in all.
QByteArray entries(qsizetype size) {
  QByteArray file("\xFF\xFE");
  file.reserve(size + 64);
  for (int n = 0; file.size() < size; ++n) {
    file += ">\"Caption " + QByteArray::number(n) + "\"\r\n";
    file += "=\"Beschriftung " + QByteArray::number(n) + "\"\r\n";
  }
  return file;
}

// One long source text followed by many translation lines for it: each line has to be seen, but must not cost the
// length of the key again.
QByteArray longkey(qsizetype size) {
  QByteArray file("\xFF\xFE>\"");
  file += QByteArray(size / 2, 'K');
  file += "\"\r\n";
  while (file.size() < size) file += "=\"x\"\r\n";
  return file;
}

void BM_TranslationsEntries(benchmark::State& state) {
  const QByteArray file = entries(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(Translations::fromfilebytes(file).size());
  state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_TranslationsEntries)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Unit(benchmark::kMillisecond);

void BM_TranslationsLongKey(benchmark::State& state) {
  const QByteArray file = longkey(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(Translations::fromfilebytes(file).size());
  state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_TranslationsLongKey)->RangeMultiplier(4)->Range(1 << 16, 1 << 24)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
