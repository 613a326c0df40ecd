// A log profile's bytes: every channel keeps a colour code below 17 and a live variable below 128, either the
// file's or the one it had.

#include "fuzzsupport.h"
#include "platform/programstate.h"
#include "logger/logprofile.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = fuzz::inputbytes(data, size);
  ProgramState state;
  const auto& shipped = defaultlogprofile();
  for (int i = 0; i < 16; ++i) {
    state.logcolour[i] = shipped[i];
    state.logvar[i] = shipped[i + 16];
  }
  const ProgramState before = state;
  applylogprofile(bytes, state);
  for (int i = 0; i < 16; ++i) {
    FUZZ_CHECK(state.logcolour[i] < logcolourlimit && state.logvar[i] < logvarlimit);
    if (bytes.size() < logprofilesize) {
      FUZZ_CHECK(state.logcolour[i] == before.logcolour[i] && state.logvar[i] == before.logvar[i]);
    } else {
      FUZZ_CHECK(state.logcolour[i] == before.logcolour[i] || state.logcolour[i] == static_cast<std::uint8_t>(bytes[i]));
      FUZZ_CHECK(state.logvar[i] == before.logvar[i] || state.logvar[i] == static_cast<std::uint8_t>(bytes[i + 16]));
    }
  }
  return 0;
}
