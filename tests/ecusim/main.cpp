// ecusim: an ECU on a pseudo-terminal, for trying the program without an engine and for end-to-end tests.
// Prints the device to open as its first line, then answers until SIGTERM or SIGINT.
#include <poll.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ecusim/ecusimulator.h"
#include "ecusim/ptyserver.h"
#include "ecusim/startimage.h"

namespace {

volatile std::sig_atomic_t stopping = 0;

void onsignal(int) {
  stopping = 1;
}

int usage() {
  std::fprintf(stderr,
               "usage: ecusim [--image FILE] [--dump FILE] [--faults RATE] [--seed N]\n"
               "  --image FILE   start from a calibration file (.s26) or a 32768-byte image instead of the\n"
               "                 shipped calibration\n"
               "  --dump FILE    write the image to FILE when ending\n"
               "  --faults RATE  drop, shorten, corrupt or delay replies at this rate (0 to 1)\n");
  return 2;
}

bool dumpimage(const std::string& path, const ostrel::CalibrationImage& image) {
  const std::string temp = path + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!out) return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string imagepath, dumppath;
  double faults = 0;
  unsigned seed = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return usage();
    const std::string value = argv[++i];
    if (arg == "--image")
      imagepath = value;
    else if (arg == "--dump")
      dumppath = value;
    else if (arg == "--faults")
      faults = std::strtod(value.c_str(), nullptr);
    else if (arg == "--seed")
      seed = static_cast<unsigned>(std::strtoul(value.c_str(), nullptr, 10));
    else
      return usage();
  }
  if (faults < 0 || faults > 1) return usage();

  ostrel::ecusim::EcuSimulator sim(seed);
  std::string error;
  const auto image = ostrel::ecusim::startimage(imagepath, error);
  if (!image) {
    std::fprintf(stderr, "ecusim: %s\n", error.c_str());
    return 1;
  }
  sim.setimage(*image);
  if (faults > 0) sim.setmixedfaults(faults);

  ostrel::ecusim::PtyServer server(sim);
  // Steps are 30 ms here; four of them put a late reply well past the link's next look and before its retry.
  server.lateafter = 4;
  if (!server.open(&error)) {
    std::fprintf(stderr, "ecusim: cannot create a pseudo-terminal: %s\n", error.c_str());
    return 1;
  }

  struct sigaction action {};
  action.sa_handler = onsignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  std::printf("%s\n", server.path().c_str());
  std::fflush(stdout);

  using Clock = std::chrono::steady_clock;
  auto nextstep = Clock::now() + std::chrono::milliseconds(30);
  while (!stopping && !server.hungup()) {
    server.pump(10);
    if (Clock::now() >= nextstep) {
      server.step();
      nextstep += std::chrono::milliseconds(30);
    }
  }

  std::fprintf(stderr, "ecusim: %d requests answered, %d faults\n", sim.requests(), sim.faultstotal());
  if (!dumppath.empty() && !dumpimage(dumppath, sim.image())) {
    std::fprintf(stderr, "ecusim: cannot write %s\n", dumppath.c_str());
    return 1;
  }
  return 0;
}
