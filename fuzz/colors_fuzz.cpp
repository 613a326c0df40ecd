// The colour file's bytes: a short file changes nothing; a taken one gives colours of 24 bits whose saved form
// reads back the same.

#include "fuzzsupport.h"
#include "shell/colors.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = fuzz::inputbytes(data, size);
  Colors before;
  before.bgcolor = 0x00010203;
  before.shadecolor = 0x00040506;
  Colors colors = before;
  const bool taken = colorsfrombytes(bytes, colors);
  FUZZ_CHECK(taken == (bytes.size() >= colorfilesize));
  if (!taken) {
    FUZZ_CHECK(colors == before);
    return 0;
  }
  for (const ColorSlot& slot : colorslots) FUZZ_CHECK(colors.*slot.color <= 0xFFFFFF);
  FUZZ_CHECK(colors.shadecolor == shadecolorof(colors.bgcolor, colors.wirecolor));
  const QByteArray saved = colorbytes(colors);
  FUZZ_CHECK(saved.size() == colorfilesize);
  Colors again;
  FUZZ_CHECK(colorsfrombytes(saved, again) && again == colors);
  return 0;
}
