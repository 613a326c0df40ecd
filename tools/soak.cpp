// ostrel_soak: the program's link through the real serial port against the ECU simulator on a pseudo-terminal,
// with 5 % of the replies damaged, writing, reading and verifying whole images for the given number of seconds.
// Prints the cycles done, the faults injected and the wrong bytes (which must be 0); exits with 1 when a byte was
// wrong or a transfer failed.
//
//   ostrel_soak SECONDS [SEED]
#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "ecusim/linksoak.h"
#include "platform/installfolder.h"

namespace {

void print(const ostrel::ecusim::LinkSoak& soak, double seconds) {
  const auto& f = soak.figures();
  std::printf("seconds %.0f, cycles %lld, faults injected %lld, wrong bytes %lld (written %lld, read %lld, "
              "verify errors %lld), link errors %lld, ticks %lld\n",
              seconds, f.cycles, f.faults, f.wrongbytes(), f.wrongwritten, f.wrongread, f.verifyerrors, f.linkerrors,
              f.ticks);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2 || argc > 3 || std::atof(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: ostrel_soak SECONDS [SEED]\n");
    return 2;
  }
  const double duration = std::atof(argv[1]);
  const auto seed = static_cast<std::uint32_t>(argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1);

  // A folder of its own for the port list: the user's own stays untouched.
  QTemporaryDir folder;
  if (!folder.isValid()) {
    std::fprintf(stderr, "ostrel_soak: no temporary folder\n");
    return 1;
  }
  ostrel::setinstallfolder(folder.path());

  ostrel::ecusim::LinkSoak soak(seed, 0.05);
  if (!soak.start()) {
    std::fprintf(stderr, "ostrel_soak: %s\n", soak.error().c_str());
    return 1;
  }
  using Clock = std::chrono::steady_clock;
  const auto started = Clock::now();
  const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - started).count(); };
  double nextreport = 60;
  bool failed = false;
  while (elapsed() < duration) {
    if (!soak.cycle()) {
      std::fprintf(stderr, "ostrel_soak: cycle %lld: %s\n", soak.figures().cycles + 1, soak.error().c_str());
      failed = true;
      break;
    }
    if (elapsed() >= nextreport) {
      print(soak, elapsed());
      nextreport += 60;
    }
  }
  std::printf("done: ");
  print(soak, elapsed());
  return failed || soak.figures().wrongbytes() != 0 ? 1 : 0;
}
