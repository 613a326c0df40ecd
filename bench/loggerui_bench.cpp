// The logger's windows: one trace step and one set of value boxes painted on the persistent picture (each data
// reply costs both), and "Populate grid" of a full store up to the grid's first paint (goal under 100 ms).

#include <benchmark/benchmark.h>

#include "benchfixture.h"
#include "benchsupport.h"
#include "calibration/maps.h"
#include "calibration/settings.h"
#include "logger/logchannels.h"
#include "logger/logdisplay.h"
#include "logger/loggridmodel.h"
#include "logger/logsamples.h"
#include "logger/ui/loggridview.h"
#include "logger/ui/logpainting.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"

using namespace ostrel;

namespace {

struct Logger {
  RecordingPrompts prompts;
  maps model{prompts};
  settings tables;
  ProgramState state;
  logsamples store;
  Logger() {
    for (int i = 0; i < 16; ++i) {
      state.logvar[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 5);
      state.logcolour[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    state.livemode = 1;
    fillstore(store);
  }
};

// The logger's picture as the designed window places it: 13,260 by 3,850 twips.
void sizepicture(PictureSurface& picture) {
  picture.setbackcolor(tracebackgroundcolour);
  picture.resize(twipstopixels(13260), twipstopixels(3850));
}

// One drawdata: the 16 segments and the cursor strip, a new page once in 100 steps.
void BM_DrawTraceStep(benchmark::State& state) {
  ensureapplication("loggerui_bench");
  Logger logger;
  PictureSurface picture;
  sizepicture(picture);
  std::int32_t index = 0;
  for (auto _ : state) {
    painttracestep(picture, drawdatastep(index, logger.state.livemode, logger.state.logcolour, logger.store,
                                         picture.widthtwips(), picture.heighttwips()));
    index = index + 1 < logsamplecount ? index + 1 : 0;
  }
}
BENCHMARK(BM_DrawTraceStep)->Unit(benchmark::kMicrosecond);

// One logtypedata: 16 boxes and their texts.
void BM_DrawValueBoxes(benchmark::State& state) {
  ensureapplication("loggerui_bench");
  Logger logger;
  const LogColumns columns = logcolumns(logger.state, logger.tables, logger.model, logvariables(logger.tables));
  PictureSurface picture;
  sizepicture(picture);
  const RxFrame reply{};
  std::int32_t index = 1;
  for (auto _ : state) {
    paintvalueboxes(picture, logtypedatastep(index, logger.state.livemode, columns, logger.store, reply));
    index = index + 1 < logsamplecount ? index + 1 : 1;
  }
}
BENCHMARK(BM_DrawValueBoxes)->Unit(benchmark::kMicrosecond);

// "Populate grid" of a full store: the model takes its copy and the view paints its first screen.
void BM_LogGridShowFullStore(benchmark::State& state) {
  ensureapplication("loggerui_bench");
  Logger logger;
  LogGridModel grid;
  LogGridView view(grid);
  view.resize(twipstopixels(13260), twipstopixels(3850));
  view.show();
  for (auto _ : state) {
    grid.clear();
    grid.fill(logger.store, logcolumns(logger.state, logger.tables, logger.model, logvariables(logger.tables)));
    benchmark::DoNotOptimize(view.grab());
  }
}
BENCHMARK(BM_LogGridShowFullStore)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
