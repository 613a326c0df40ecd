// A version 2.1-2.5 calibration file (*.s20) read, and every cell of every map handed out in current units.

#include "calibration/maps.h"
#include "calibration/maps25.h"
#include "fuzzsupport.h"
#include "platform/prompts.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static RecordingPrompts prompts;
  static maps current(prompts);  // for the shape of every map, as the import dialog asks
  Maps25 reader;
  const bool read = reader.openbytes(fuzz::inputbytes(data, size));
  FUZZ_CHECK(read == reader.failuretext().isEmpty());
  if (!read) return 0;
  for (int map = 0; map < mapcount; ++map) {
    for (int row = 0; row < current.getmaprows(map); ++row) {
      for (int col = 0; col < current.getmapcols(map); ++col) {
        const auto value = reader.getdata(map, row, col);
        if (!value) continue;
        if (map == 0) {
          FUZZ_CHECK(*value >= 0 && *value <= 0xFFFF);
        } else {
          FUZZ_CHECK(*value >= 0 && *value <= 0xFF);
        }
        // The import stores it through the model's own limits.
        static maps target(prompts);
        target.setdata(map, row, col, *value, true);
      }
    }
  }
  for (int row = 0; row < 32; ++row)
    for (int col = 0; col < 32; ++col) static_cast<void>(reader.getdata24to32(0, row, col));
  return 0;
}
