#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/eculink.h"

namespace ostrel {

struct ProgramState;

// What every live window shares, apart from its widgets: it takes the live-window selector when it opens and
// registers its receiver for the window data of that selector; its timer counts the window's age and the ticks
// spent while another window holds the selector, after which it closes itself; when it closes it unregisters and
// gives the selector back, but only while the selector is still its own (another window may have taken it).
class LiveWindowCore {
 public:
  static constexpr std::int16_t maxage = 1000;

  // selector: the value the window sets; alsoown: further values under which it still counts as holding it (the
  // data logger keeps counting as its own while its monitor or RAM dump has the selector). closeafter: the number
  // of foreign ticks at which the window closes itself; 0 never.
  LiveWindowCore(ProgramState& state, EcuLink& link, std::uint8_t selector, int closeafter,
                 std::initializer_list<std::uint8_t> alsoown = {});
  ~LiveWindowCore();
  LiveWindowCore(const LiveWindowCore&) = delete;
  LiveWindowCore& operator=(const LiveWindowCore&) = delete;

  // The window has loaded: windowticks and windowage start from 0, the selector is taken and the receiver gets
  // the window data of the selector from now on.
  void open(EcuLink::Receiver receiver);
  // The window closes: no more data; the selector goes to backto when it still holds one of the window's values.
  void close(std::uint8_t backto = 0);
  bool isopen() const { return receiverid_ != 0; }

  // One tick of the window's timer: counts a foreign tick when another value holds the selector (only in a window
  // that closes itself by them). True when the window must now close itself.
  bool countforeigntick();
  // Counts windowage up to maxage.
  void countage();

  bool holdsselector() const;
  std::uint8_t selector() const { return selector_; }
  ProgramState& state() { return state_; }
  EcuLink& link() { return link_; }

 private:
  ProgramState& state_;
  EcuLink& link_;
  std::uint8_t selector_;
  int closeafter_;
  std::vector<std::uint8_t> own_;
  int receiverid_ = 0;
};

}  // namespace ostrel
