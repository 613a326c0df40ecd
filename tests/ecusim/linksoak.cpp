#include "ecusim/linksoak.h"

#include <QFile>
#include <algorithm>

#include "platform/installfolder.h"

namespace ostrel::ecusim {

namespace {
// Ticks of the communications timer (30 ms) in one tick of the transfer dialog (one second).
constexpr int linkticksperdialogtick = 33;
// Dialog ticks a transfer may take before the soak gives up on it: a fault-free image takes about 70.
constexpr int dialogticklimit = 600;
}  // namespace

LinkSoak::LinkSoak(std::uint32_t seed, double faultrate) : sim_(seed), faultrate_(faultrate), rng_(seed) {
  // Steady values: the soak watches the image, not the engine.
  sim_.enginerunning = false;
}

LinkSoak::~LinkSoak() {
  transfer_.reset();
  link_.closeport();
}

bool LinkSoak::start() {
  std::string reason;
  if (!server_.open(&reason)) {
    error_ = "no pseudo-terminal: " + reason;
    return false;
  }
  QFile list(installpath(QStringLiteral("comports.txt")));
  if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      list.write(QString::fromStdString(server_.path()).toUtf8() + "\n") <= 0) {
    error_ = "comports.txt could not be written";
    return false;
  }
  list.close();
  if (!link_.openport()) {
    error_ = "the port did not open: " + server_.path();
    return false;
  }
  // Past the start-up wait, fault-free.
  for (int i = 0; i < 10; ++i)
    if (!exchange()) return false;
  sim_.setmixedfaults(faultrate_, linefaults);
  return true;
}

bool LinkSoak::exchange() {
  const int requests = sim_.requests();
  const auto sent = link_.framessent();
  link_.tick();
  ++figures_.ticks;
  if (!state_.online) {
    error_ = "the link went offline";
    return false;
  }
  if (!server_.answertick(requests, link_.framessent() != sent)) {
    error_ = "the ECU's answer did not arrive";
    return false;
  }
  return true;
}

bool LinkSoak::runtransfer(maps& calibration, std::uint8_t mode) {
  transfer_.reset();
  transfer_ = std::make_unique<ImageTransfer>(state_, calibration, prompts_, link_);
  state_.transfermode = mode;
  if (mode == 0) transfer_->preparebuffer();
  transfer_->windowopened();
  for (int t = 0; t < dialogticklimit; ++t) {
    const ImageTransfer::WindowState w = transfer_->windowtick();
    if (w.close) {
      transfer_->windowclosed();
      if (!w.message.isEmpty()) {
        error_ = "transfer " + std::to_string(mode) + " ended: " + w.message.toStdString();
        return false;
      }
      return true;
    }
    for (int i = 0; i < linkticksperdialogtick; ++i)
      if (!exchange()) return false;
  }
  transfer_->windowclosed();
  error_ = "transfer " + std::to_string(mode) + " did not end within " + std::to_string(dialogticklimit) +
           " dialog ticks";
  return false;
}

long long LinkSoak::differingbytes(const CalibrationImage& a, const CalibrationImage& b) const {
  long long n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

bool LinkSoak::cycle() {
  // A fresh image each cycle, so that a row taken from an earlier cycle or another row shows. The ECU keeps its
  // own last row, which the program always sends as zeros.
  CalibrationImage image{};
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < imagesize - 16; ++i) image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(byte(rng_));
  pcmaps_.setimage(image);
  // What the PC holds (map 0 is kept within its range) is what the ECU must hold.
  image = pcmaps_.getimage();
  const int faultsbefore = sim_.faultstotal();
  link_.resetstats();
  prompts_.clear();

  bool ok = runtransfer(pcmaps_, 0);
  if (ok) figures_.wrongwritten += differingbytes(sim_.image(), image);

  CalibrationImage before{};
  before.fill(0x5A);
  readmaps_.setimage(before);
  ok = ok && runtransfer(readmaps_, 1);
  if (ok) figures_.wrongread += differingbytes(readmaps_.getimage(), sim_.image());

  ok = ok && runtransfer(pcmaps_, 2);
  if (ok) {
    figures_.verifyerrors += transfer_->verifyerrors;
    const auto said = prompts_.messages();
    if (std::find(said.begin(), said.end(),
                  QStringLiteral("The file stored in the ECU is the same as the file opened on your PC")) == said.end() &&
        transfer_->verifyerrors == 0) {
      error_ = "the verify ended without its message";
      ok = false;
    }
  }

  figures_.faults += sim_.faultstotal() - faultsbefore;
  figures_.linkerrors += link_.errorcount();
  if (ok) ++figures_.cycles;
  return ok;
}

}  // namespace ostrel::ecusim
