// The preferences file's bytes: every preference in range, and what would be saved reads back the same.

#include "fuzzsupport.h"
#include "shell/preferences.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Preferences prefs = preferencesfrombytes(fuzz::inputbytes(data, size));
  FUZZ_CHECK(prefs.comport >= 1 && prefs.comport <= 6);
  FUZZ_CHECK(prefs.defaultview >= 1 && prefs.defaultview <= 3);
  FUZZ_CHECK(prefs.fueltype >= 1 && prefs.fueltype <= 6);
  const QByteArray saved = preferencebytes(prefs);
  FUZZ_CHECK(saved.size() == preferencecount);
  for (char c : saved) FUZZ_CHECK(c >= '0' && c <= '6');
  FUZZ_CHECK(preferencesfrombytes(saved) == prefs);
  return 0;
}
