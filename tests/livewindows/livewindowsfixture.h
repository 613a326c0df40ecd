#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <vector>

#include "common/testrig.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {

// Simulated time for a window over the simulator: the communications timer every 30 ms and each added timer at
// its own interval, while it runs, in steps of 10 ms. Nothing sleeps.
class SimClock {
 public:
  explicit SimClock(Rig& rig) : rig_(rig) {}

  // A window timer and the function its tick runs.
  void add(QTimer* timer, std::function<void()> tick) { timers_.push_back({timer, std::move(tick)}); }

  void run(int ms) {
    for (int t = 0; t < ms; t += 10) {
      now_ += 10;
      if (now_ % 30 == 0) rig_.tick();
      for (const Timer& timer : timers_)
        if (timer.timer->isActive() && now_ % timer.timer->interval() == 0) timer.tick();
    }
  }

 private:
  struct Timer {
    QTimer* timer;
    std::function<void()> tick;
  };
  Rig& rig_;
  std::vector<Timer> timers_;
  long now_ = 0;
};

// A window opened through its menu call under a scripted launcher, over a connected simulator.
class LiveWindowsTest : public ::testing::Test {
 protected:
  LiveWindowsTest() : scope_(scripted) {}

  // The window the script runs on, as its own class.
  template <class Window>
  static Window& as(QDialog& dialog) {
    auto* window = dynamic_cast<Window*>(&dialog);
    EXPECT_NE(window, nullptr);
    return *window;
  }

  // The request table as the simulator holds it at 0x6DB0 to 0x6DCF.
  RequestTable simtable() const {
    RequestTable table;
    for (int i = 0; i < 16; ++i) {
      table[0][i] = rig.sim.ram(0x6DB0 + i);
      table[1][i] = rig.sim.ram(0x6DC0 + i);
    }
    return table;
  }

  // Keeps every window-data reply that the link hands to the receivers of the selector, after the window's own.
  void watch(std::uint8_t selector) {
    rig.link.registerreceiver(selector, [this](const RxFrame& frame) { windowdata.push_back(frame); });
  }
  // True when the frame's data bytes are those of a window-data reply the simulator sent.
  bool fromsim(const RxFrame& frame) const {
    for (const auto& sent : rig.sim.sent(0x93))
      if (std::equal(sent.begin(), sent.end(), frame.begin())) return true;
    return false;
  }

  Rig rig;
  ScriptedLauncher scripted;
  std::vector<RxFrame> windowdata;

 private:
  ScopedLauncher scope_;
};

// A reply frame with the given data bytes at their places and zeros elsewhere.
inline RxFrame frameof(std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
  RxFrame frame{};
  for (const auto& [k, value] : bytes) frame[static_cast<std::size_t>(k)] = value;
  return frame;
}

}  // namespace ostrel::test
