// Opening and saving a calibration file (.s26), with and without the disk.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <random>

#include "calibration/calfile.h"
#include "calibration/maps.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

CalibrationImage sampleimage() {
  CalibrationImage image{};
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255), word(0, 8000);
  for (auto& b : image) b = static_cast<std::uint8_t>(byte(rng));
  for (int cell = 0; cell < 1024; ++cell) {
    const int v = word(rng);
    image[2 * cell] = static_cast<std::uint8_t>(v / 256);
    image[2 * cell + 1] = static_cast<std::uint8_t>(v % 256);
  }
  return image;
}

void BM_SaveFile(benchmark::State& state) {
  QTemporaryDir dir;
  RecordingPrompts prompts;
  maps model(prompts);
  model.setimage(sampleimage());
  const QString path = dir.filePath(QStringLiteral("bench.s26"));
  for (auto _ : state) benchmark::DoNotOptimize(model.savefile(path));
  state.SetBytesProcessed(state.iterations() * calfilesize);
}
BENCHMARK(BM_SaveFile);

void BM_OpenFile(benchmark::State& state) {
  QTemporaryDir dir;
  RecordingPrompts prompts;
  maps model(prompts);
  model.setimage(sampleimage());
  const QString path = dir.filePath(QStringLiteral("bench.s26"));
  model.savefile(path);
  for (auto _ : state) benchmark::DoNotOptimize(model.openfile(path, true, false));
  state.SetBytesProcessed(state.iterations() * calfilesize);
}
BENCHMARK(BM_OpenFile);

void BM_EncodeImage(benchmark::State& state) {
  const CalibrationImage image = sampleimage();
  for (auto _ : state) benchmark::DoNotOptimize(encodecalfile(image));
}
BENCHMARK(BM_EncodeImage);

void BM_DecodeText(benchmark::State& state) {
  const QByteArray text = encodecalfile(sampleimage());
  for (auto _ : state) benchmark::DoNotOptimize(decodecalfile(text, CalFormat::Current, false));
}
BENCHMARK(BM_DecodeText);

}  // namespace

BENCHMARK_MAIN();
