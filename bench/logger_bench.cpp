// The data logger: storing one reply, exporting a full log as CSV, showing a full log grid, importing a raw log.
// Goals: CSV export of a full store under 0.3 s, the grid's first screen well under 100 ms, raw log import under
// 150 ms.

#include <benchmark/benchmark.h>

#include <QFile>

#include "benchfixture.h"
#include "calibration/settings.h"
#include "logger/csvexport.h"
#include "logger/loggridmodel.h"
#include "logger/progressjobs.h"
#include "logger/rawlog.h"

using namespace ostrel;

namespace {

// A full store over channels with variables of their own; no job measured here reads the link. The files the jobs
// write and read go in the install folder.
struct Logger : OfflineParts {
  settings tables;
  logsamples store;
  Logger() {
    for (int i = 0; i < 16; ++i) state.logvar[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 5);
    fillstore(store);
  }
};

// Runs the job to its end once an iteration, the file dialog answering path; its ticks go without their 100 ms
// waits.
void runjob(benchmark::State& state, Logger& logger, ProgressJob job, const QString& path) {
  ProgressJobs jobs(logger.state, logger.model, logger.tables, logger.store, logger.link, logger.prompts);
  logger.state.progressjob = static_cast<std::uint8_t>(job);
  for (auto _ : state) {
    logger.prompts.paths = {path};
    jobs.show();
    while (jobs.isopen()) jobs.tick();
  }
}

void BM_AddLogSample(benchmark::State& state) {
  ProgramState program;
  logsamples store;
  store.resetlogsamples();
  program.logindex = 0;
  RxFrame reply{};
  const QTime now(12, 0, 0);
  for (auto _ : state) {
    reply[0] = static_cast<std::uint8_t>(program.logindex);
    addlogsample(program, store, reply, now);
    if (program.logindex == logsamplecount - 1) program.logindex = 0;
  }
  benchmark::DoNotOptimize(store.getlogdata(5, 0));
}
BENCHMARK(BM_AddLogSample);

void BM_AddLogSampleWithClock(benchmark::State& state) {
  ProgramState program;
  logsamples store;
  store.resetlogsamples();
  program.logindex = 0;
  const RxFrame reply{};
  for (auto _ : state) {
    addlogsample(program, store, reply);
    if (program.logindex == logsamplecount - 1) program.logindex = 0;
  }
}
BENCHMARK(BM_AddLogSampleWithClock);

void BM_CsvTextFullStore(benchmark::State& state) {
  Logger logger;
  const LogColumns columns = logcolumns(logger.state, logger.tables, logger.model, logvariables(logger.tables), 2);
  for (auto _ : state) benchmark::DoNotOptimize(CsvExport::exporttext(logger.store, columns));
}
BENCHMARK(BM_CsvTextFullStore)->Unit(benchmark::kMillisecond);

// The whole job, ticks without their 100 ms waits: dialog answer, snapshot, formatting and the file.
void BM_CsvExportJobFullStore(benchmark::State& state) {
  Logger logger;
  runjob(state, logger, ProgressJob::csvexport, logger.folder.filePath(QStringLiteral("bench.csv")));
}
BENCHMARK(BM_CsvExportJobFullStore)->Unit(benchmark::kMillisecond);

// "Populate grid" up to the first screen: the model takes its copy and the view asks for 40 rows.
void BM_LogGridFirstScreen(benchmark::State& state) {
  Logger logger;
  for (auto _ : state) {
    LogGridModel grid;
    grid.fill(logger.store, logcolumns(logger.state, logger.tables, logger.model, logvariables(logger.tables)));
    for (int c = 0; c < 16; ++c) benchmark::DoNotOptimize(grid.headerData(c, Qt::Horizontal));
    for (int r = 0; r < 40; ++r) {
      benchmark::DoNotOptimize(grid.headerData(r, Qt::Vertical));
      for (int c = 0; c < 16; ++c) {
        const QModelIndex index = grid.index(r, c);
        benchmark::DoNotOptimize(grid.data(index));
        benchmark::DoNotOptimize(grid.data(index, Qt::ForegroundRole));
        benchmark::DoNotOptimize(grid.data(index, Qt::BackgroundRole));
      }
    }
  }
}
BENCHMARK(BM_LogGridFirstScreen)->Unit(benchmark::kMillisecond);

void BM_RawLogImport(benchmark::State& state) {
  Logger logger;
  const QString path = logger.folder.filePath(QStringLiteral("bench.rdl"));
  {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(rawlogbytes(logger.state, logger.store));
  }
  runjob(state, logger, ProgressJob::rawimport, path);
  state.SetBytesProcessed(state.iterations() * rawlogsize);
}
BENCHMARK(BM_RawLogImport)->Unit(benchmark::kMillisecond);

void BM_RawLogExportJob(benchmark::State& state) {
  Logger logger;
  runjob(state, logger, ProgressJob::rawexport, logger.folder.filePath(QStringLiteral("bench.rdl")));
  state.SetBytesProcessed(state.iterations() * rawlogsize);
}
BENCHMARK(BM_RawLogExportJob)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
