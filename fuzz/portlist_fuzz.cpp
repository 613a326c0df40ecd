// The port list's text: the device of every port is one line without its surrounding blanks.

#include "fuzzsupport.h"
#include "link/serialcommport.h"

using namespace ostrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text = fuzz::inputbytes(data, size);
  for (int port = -1; port <= 8; ++port) {
    const QString device = comportfromlist(text, port);
    if (port < 1) FUZZ_CHECK(device.isEmpty());
    FUZZ_CHECK(!device.contains(QLatin1Char('\n')));
    FUZZ_CHECK(device == device.trimmed());
    FUZZ_CHECK(device.size() <= text.size());
  }
  return 0;
}
