#pragma once

#include <vector>

#include "link/eculink.h"
#include "link/linkhost.h"

namespace ostrel::test {

// Changes the link's live values as replies would have: change(live) edits a copy that the link then takes.
template <class Change>
void changelive(EcuLink& link, Change change) {
  LiveData live = link.live();
  change(live);
  link.setlive(live);
}

// Records the link's reports of a change of the connection flag, which the menus follow.
struct OnlineChanges : LinkHost {
  std::vector<bool> changes;
  void onlinechanged(bool online) override { changes.push_back(online); }
};

// The link's own tests set up counters, the queue and the last reply directly.
struct LinkProbe {
  static TransferQueue& queue(EcuLink& link) { return link.transferqueue_; }
  static std::int32_t& framessent(EcuLink& link) { return link.framessent_; }
  static std::int32_t& errorcount(EcuLink& link) { return link.errorcount_; }
  static RxFrame& rxframe(EcuLink& link) { return link.rxframe_; }
  static std::uint8_t& pwsendcounter(EcuLink& link) { return link.pwsendcounter_; }
};

}  // namespace ostrel::test
