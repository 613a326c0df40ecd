#pragma once

#include <deque>
#include <vector>

#include "ecusim/ecusimulator.h"
#include "link/commport.h"

namespace ostrel::ecusim {

// The link's port with the simulator behind it, in-process: what the link writes is answered at once, and the
// answer waits for the link's next look. Time passes only through step(), one tick of the communications timer
// each: a late reply appears after the link's next check has missed it.
class SimPort final : public CommPort {
 public:
  explicit SimPort(EcuSimulator& sim) : sim_(sim) {}

  bool open(const QString& device, QString& reason) override;
  void close() override { open_ = false; }
  bool isopen() const override { return open_; }
  QString device() const override { return device_; }
  int inbuffercount() override { return static_cast<int>(inbox_.size()); }
  int read(std::uint8_t* buffer, int max) override;
  bool write(const std::uint8_t* data, int len) override;
  void discardinput() override { inbox_.clear(); }
  bool failed(QString* reason = nullptr) const override;

  // One tick of time passes.
  void step();
  // Bytes the line delivers, as if the ECU sent them unasked.
  void deliver(const std::vector<std::uint8_t>& bytes) { inbox_.insert(inbox_.end(), bytes.begin(), bytes.end()); }
  // The next open fails with this reason (empty: opens work again).
  QString openfailure;
  // The adapter goes away: every later operation fails.
  void unplug(const QString& reason);

  // Everything the link has written, for tests that read the frames.
  std::vector<std::vector<std::uint8_t>> written;
  bool keepwritten = false;

 private:
  EcuSimulator& sim_;
  bool open_ = false;
  bool failed_ = false;
  QString failure_;
  QString device_;
  std::deque<std::uint8_t> inbox_;
  struct Held {
    std::vector<std::uint8_t> bytes;
    int age = 0;
  };
  std::vector<Held> held_;
};

}  // namespace ostrel::ecusim
