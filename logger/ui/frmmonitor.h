#pragma once

#include <array>

#include "livewindows/livewindow.h"
#include "logger/ui/loggercontext.h"

class QLabel;
class QLineEdit;

namespace ostrel {

class LogDisplay;

// "Monitor data": four ECU RAM addresses, typed in hexadecimal, are logged as channels 13 to 16 in place of their
// variables. The window holds selector 4 (the link then writes both halves of the request table twice for every
// data request) and hands each reply to the logger's display, which shows those four channels as raw bytes in
// white. Closing gives the selector back to the logger and reloads the default log profile.
class frmMonitor : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selector = 4;
  static constexpr std::uint8_t loggerselector = 1;
  static constexpr int timerms = 500;

  frmMonitor(LoggerContext& context, LogDisplay& display, QWidget* parent = nullptr);
  ~frmMonitor() override;

  std::array<QLabel*, 4> Label1{};
  std::array<QLineEdit*, 4> Text1{};  // "ffff": the slot stays empty

  void done(int result) override;

 protected:
  void reportdata(const RxFrame& rxframe) override;
  // The typed addresses go into channels 12 to 15 of the logger's request table; a text that is no address up to
  // ffff leaves its channel's address as it was.
  void timertick() override;
  std::uint8_t backto() const override { return loggerselector; }

 private:
  LoggerContext& context_;
  LogDisplay& display_;
  bool unloaded_ = false;
};

}  // namespace ostrel
