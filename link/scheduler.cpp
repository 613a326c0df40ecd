// The poll scheduler: which request goes to the ECU on each tick.
#include <algorithm>

#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

using Plan = std::array<std::uint8_t, 5>;

// Plans 0 to 22 in sending order; 0 is an empty slot. Plans 5 to 12 run whole-image transfers, 13 one queued
// write; every other plan is chosen by the live-window selector of the same number.
constexpr std::array<Plan, 23> plantable = {{
    {1, 2, 3, 4, 5},      // 0 no live window, data logger without rapid logging
    {4, 3, 5, 3, 0},      // 1 data logger, rapid logging
    {1, 2, 3, 6, 7},      // 2 long-term trim
    {1, 2, 3, 10, 11},    // 3 settings editor
    {4, 5, 4, 5, 3},      // 4 RAM-address monitor
    {42, 0, 0, 0, 0},     // 5
    {42, 0, 0, 0, 0},     // 6 write the image
    {42, 0, 0, 0, 0},     // 7 read the image
    {42, 0, 0, 0, 0},     // 8 verify the image
    {42, 0, 0, 0, 0},     // 9
    {42, 0, 0, 0, 0},     // 10
    {42, 0, 0, 0, 0},     // 11
    {42, 0, 0, 0, 0},     // 12
    {40, 0, 0, 0, 0},     // 13 one queued write
    {1, 2, 3, 12, 13},    // 14 inputs
    {1, 2, 3, 14, 15},    // 15 variable cam timing
    {16, 17, 16, 17, 3},  // 16 RAM dump
    {1, 2, 3, 18, 19},    // 17 passwords
    {1, 2, 0, 0, 0},      // 18 gauge window enlarged
    {2, 0, 0, 0, 0},      // 19 fast verify
    {1, 2, 3, 20, 21},    // 20 fuel multipliers
    {1, 2, 3, 22, 23},    // 21 firmware signature
    {1, 2, 3, 24, 25},    // 22 input diagnostic
}};

// Request table written by request types 4 to 25, by (type - 4) / 2; null for types without one (8 and 9 are in
// no plan, 18 and 19 send password rows).
constexpr std::array<int, 11> tableoftype = {
    static_cast<int>(LiveTable::log),
    static_cast<int>(LiveTable::ltt),
    -1,
    static_cast<int>(LiveTable::log),
    static_cast<int>(LiveTable::inputs),
    static_cast<int>(LiveTable::vct),
    static_cast<int>(LiveTable::ramdump),
    -1,
    static_cast<int>(LiveTable::fuelmuls),
    static_cast<int>(LiveTable::firmware),
    static_cast<int>(LiveTable::diag),
};

constexpr std::uint8_t firsttransferplan = 6, lasttransferplan = 12, queuedwriteplan = 13;

// The request table that request type 4 to 39 writes, as an index of the link's tables; -1 for a type without one.
int tableindex(std::uint8_t type) {
  if (type < 4) return -1;
  const std::size_t slot = (type - 4) / 2;
  return slot < tableoftype.size() ? tableoftype[slot] : -1;
}

}  // namespace

void EcuLink::initpollplans() {
  for (auto& plan : pollplan_) plan.fill(0);
  std::copy(plantable.begin(), plantable.end(), pollplan_.begin());
}

std::uint8_t EcuLink::effectiveselector(std::uint8_t livemode) {
  const bool hasplan = livemode <= 4 || (livemode >= 14 && livemode <= 22);
  return hasplan ? livemode : 0;
}

std::uint8_t EcuLink::planofselector(std::uint8_t selector) const {
  selector = effectiveselector(selector);
  return selector == 1 ? (state_.preferences.rapidlogging ? 1 : 0) : selector;
}

void EcuLink::chooseplan() {
  std::uint8_t plan;
  if (transfer_ && transfer_->transferactive()) {
    plan = static_cast<std::uint8_t>(std::min<int>(firsttransferplan + state_.transfermode, lasttransferplan));
  } else if (transferqueue_.headiswrite()) {
    plan = queuedwriteplan;
  } else {
    plan = planofselector(state_.livemode);
  }
  curplan_ = plan;
  pollschedule_ = pollplan_[plan];
}

const RequestTable* EcuLink::selectortable(std::uint8_t selector) const {
  for (const std::uint8_t type : pollplan_[planofselector(selector)])
    if (const int table = tableindex(type); table >= 0) return &tables_[static_cast<std::size_t>(table)];
  return nullptr;
}

void EcuLink::noterequest() {
  listwrite_.reset();
  const std::uint8_t op = txframe_[0];
  if (op == opwindowdata) {
    windowselector_ = effectiveselector(state_.livemode);
    windowlists_ = eculists_;
    return;
  }
  if (op != opramwrite) return;
  // Whatever the ECU held in a list that this write touches is gone; a write of a whole list holds it once its
  // reply has arrived intact (the ECU may or may not have taken a write whose reply was lost).
  const int address = txframe_[2] * 256 + txframe_[3];
  const int length = txframe_[1] - 6;
  for (std::size_t list = 0; list < eculists_.size(); ++list) {
    const int at = list == 0 ? requestlist0address : requestlist1address;
    if (address >= at + 16 || at >= address + length) continue;
    eculists_[list].reset();
    if (address == at && length == 16) {
      RequestList written;
      std::copy_n(txframe_.begin() + 4, written.size(), written.begin());
      listwrite_.emplace(list, written);
    }
  }
}

bool EcuLink::buildrequestframe(std::uint8_t type) {
  if (type < 4 || type > 39) return false;
  const std::array<std::uint8_t, 16>* data = nullptr;
  std::uint16_t address = 0;
  if (type == 18 || type == 19) {
    const int row = pwsendcounter_ % 8;
    address = static_cast<std::uint16_t>(0x6800 + 16 * row);
    data = &pwsendtable_[row];
    pwsendcounter_ = static_cast<std::uint8_t>(pwsendcounter_ + 1);  // wraps from 255 to 0
  } else {
    const int index = tableindex(type);
    if (index < 0) return false;
    const RequestTable& table = tables_[static_cast<std::size_t>(index)];
    const int list = type % 2;
    address = list == 0 ? requestlist0address : requestlist1address;
    data = &table[list];
  }
  txlen_ = static_cast<std::uint8_t>(buildramwriteframe(txframe_, address, *data));
  return true;
}

void EcuLink::sendslot(std::uint8_t type) {
  bool built = false;
  switch (type) {
    case requesttype::livesite:
    case requesttype::livevalues:
    case requesttype::windowdata: {
      static constexpr std::array<std::uint8_t, 3> ops = {oplivesite, oplivevalues, opwindowdata};
      sentmap_ = state_.curmap;
      txlen_ = static_cast<std::uint8_t>(buildliveframe(txframe_, ops[type - 1], sentmap_));
      built = true;
      break;
    }
    case requesttype::queuedwrite:
      // The head stays queued until its reply has arrived intact; an error sends it again.
      if (transferqueue_.headiswrite()) {
        sentwrite_ = transferqueue_.records[0];
        txlen_ = static_cast<std::uint8_t>(transferqueue_.buildqueuewriteframe(0, txframe_));
        built = true;
      }
      break;
    case requesttype::transferstep:
      if (transfer_) transfer_->transferstep(*this);
      return;
    default:
      built = buildrequestframe(type);
      break;
  }
  if (!built) return;
  addframechecks();
  sendframe();
}

void EcuLink::commstick() {
  if (!checkline()) return;

  // 1. After a short reply the link waits: three idle ticks, then the same slot again.
  if (linkretry_ > 0) --linkretry_;
  if (linkretry_ > 1) return;

  // 2. The reply to the previous request.
  processreply();
  if (!state_.online) return;

  // 3. A new plan once the last one has been worked through.
  if (pollindex_ == 0) chooseplan();

  // 4. Skip empty slots; past the last slot the next plan is chosen, and an empty slot 0 sends nothing.
  while (pollschedule_[pollindex_] == 0) {
    if (pollindex_ > 3) {
      pollindex_ = 0;
      chooseplan();
      break;
    }
    ++pollindex_;
  }

  // 5. The request of the slot, when the link is free.
  if (linkready_) sendslot(pollschedule_[pollindex_]);
}

}  // namespace ostrel
