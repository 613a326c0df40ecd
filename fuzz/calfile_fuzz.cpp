// A calibration file in one of its forms (chosen when built: 2.64+, its LF-only variant or beta) read into the
// model, recalculated, and every value derived from the image asked for.

#include <cmath>

#include "calibration/calfile.h"
#include "calibration/maps.h"
#include "fuzzsupport.h"
#include "platform/prompts.h"

using namespace ostrel;

#if !defined(CALFILE_FORM)
#error "CALFILE_FORM: 0 for 2.64+, 1 for 2.64+ LF-only, 2 for beta"
#endif

namespace {

constexpr CalFormat format = CALFILE_FORM == 2 ? CalFormat::Beta : CalFormat::Current;
constexpr bool lfonly = CALFILE_FORM == 1;

QByteArray written(const CalibrationImage& image) {
  QByteArray text = encodecalfile(image, format);
  if (lfonly) text.replace("\r\n", "\n");
  return text;
}

void askeverything(const maps& model) {
  for (int map = 0; map < mapcount; ++map) {
    const int sum = model.getchecksum(map);
    FUZZ_CHECK(sum >= 0 && sum <= 0xFFFF);
    FUZZ_CHECK(model.getlastshowrow(map) >= 0 && model.getlastshowcol(map) >= 0);
    for (bool metric : {false, true}) {
      FUZZ_CHECK(model.getscalestringX(map, metric).size() < 4096);
      FUZZ_CHECK(model.getscalestringY(map, metric).size() < 4096);
    }
  }
  for (int map : {0, 3}) {
    FUZZ_CHECK(model.getlastshowrow(map) >= 2 && model.getlastshowrow(map) <= 32);
    FUZZ_CHECK(model.getlastshowcol(map) >= 2 && model.getlastshowcol(map) <= 32);
  }
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 32; ++j) {
      FUZZ_CHECK(std::isfinite(model.getVEPW(i, j)));
      FUZZ_CHECK(std::isfinite(model.getPWVE(i, j)));
    }
  }
  for (float x : {-1.0f, 0.0f, 0.5f, 15.25f, 30.999f, 31.0f, 40.0f}) {
    for (int map : {0, 1, 8, 106}) FUZZ_CHECK(std::isfinite(model.interpdatabyte(map, x, 30.5f - x)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text = fuzz::inputbytes(data, size);
  const auto image = decodecalfile(text, format, lfonly);
  if (!image) return 0;
  // A base fuel cell is never above 8000 once read.
  for (std::size_t o = 0; o < 2048; o += 2) FUZZ_CHECK(256 * (*image)[o] + (*image)[o + 1] <= 8000);
  // What the program would write of it reads back the same.
  FUZZ_CHECK(decodecalfile(written(*image), format, lfonly) == image);

  static RecordingPrompts prompts;
  static maps model(prompts);
  model.setimage(*image);
  FUZZ_CHECK(model.getimage() == *image);
  model.recalc();
  askeverything(model);
  return 0;
}
