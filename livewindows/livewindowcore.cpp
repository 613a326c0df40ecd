#include "livewindows/livewindowcore.h"

#include <algorithm>

#include "platform/programstate.h"

namespace ostrel {

LiveWindowCore::LiveWindowCore(ProgramState& state, EcuLink& link, std::uint8_t selector, int closeafter,
                               std::initializer_list<std::uint8_t> alsoown)
    : state_(state), link_(link), selector_(selector), closeafter_(closeafter), own_(alsoown) {
  own_.push_back(selector);
}

LiveWindowCore::~LiveWindowCore() {
  // A window destroyed without closing must still stop its data: the receiver points into it.
  if (isopen()) link_.unregisterreceiver(receiverid_);
}

void LiveWindowCore::open(EcuLink::Receiver receiver) {
  if (isopen()) link_.unregisterreceiver(receiverid_);
  state_.windowticks = 0;
  state_.windowage = 0;
  state_.livemode = selector_;
  receiverid_ = link_.registerreceiver(selector_, std::move(receiver));
}

void LiveWindowCore::close(std::uint8_t backto) {
  if (!isopen()) return;
  link_.unregisterreceiver(receiverid_);
  receiverid_ = 0;
  if (holdsselector()) state_.livemode = backto;
}

bool LiveWindowCore::holdsselector() const {
  return std::find(own_.begin(), own_.end(), state_.livemode) != own_.end();
}

bool LiveWindowCore::countforeigntick() {
  // windowticks is shared: a window that never closes itself leaves it alone (the firmware window counts its
  // closing ticks in it).
  if (closeafter_ <= 0 || holdsselector()) return false;
  if (state_.windowticks < 255) ++state_.windowticks;
  return state_.windowticks >= closeafter_;
}

void LiveWindowCore::countage() {
  if (state_.windowage < maxage) ++state_.windowage;
}

}  // namespace ostrel
