#pragma once

#include <QDialog>
#include <cstdint>
#include <initializer_list>

#include "livewindows/livewindowcore.h"

class QTimer;

namespace ostrel {

// The base of the windows that take the live-window selector. A window calls startlive() at the end of its load;
// from then on reportdata() gets every window-data reply of its selector, and its timer (Timer1) first counts a
// tick under a foreign selector, closing the window once there were enough of them (a window that never closes
// itself counts none), and then runs timertick().
// However the window closes (its buttons, Escape, the close box, by itself), it stops its timer, unregisters and
// gives the selector back to backto() while the selector is still its own.
class LiveWindow : public QDialog {
  Q_OBJECT

 public:
  LiveWindow(ProgramState& state, EcuLink& link, std::uint8_t selector, int intervalms, int closeafter,
             std::initializer_list<std::uint8_t> alsoown = {}, QWidget* parent = nullptr);
  ~LiveWindow() override;

  QTimer* Timer1 = nullptr;

  // One tick of the window's timer, as the timer runs it (tests call it directly).
  void Timer1_Timer();
  LiveWindowCore& live() { return core_; }

  void done(int result) override;

 protected:
  // The window data, each reply while the window holds the selector (from the link's reply path: no modal boxes
  // here; defer them with EcuLink::defer).
  virtual void reportdata(const RxFrame& rxframe) = 0;
  // The window's own part of a timer tick, once the shared counting has not closed it.
  virtual void timertick() {}
  // The selector value left behind on closing.
  virtual std::uint8_t backto() const { return 0; }

  // Takes the selector, registers reportdata and starts the timer.
  void startlive();

  ProgramState& state() { return core_.state(); }
  EcuLink& link() { return core_.link(); }

 private:
  LiveWindowCore core_;
};

}  // namespace ostrel
