// Reply processing: taking each reply in, checking it, logging link errors and handing intact replies on.
#include <algorithm>
#include <utility>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/shownarea.h"
#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

constexpr int afrtargetmap = 19;       // the target ratios the AFR error is measured against
constexpr int knockthresholdmap = 42;  // the knock level above which a cell is marked knocked

}  // namespace

void EcuLink::processreply() {
  // A reply counts only on the first tick after its own request, and only a tick that sends leaves one
  // outstanding. What went out before a wait is answered by nothing: a reply to it is stale, and goes with the other
  // waiting bytes before the next send.
  const bool answered = std::exchange(outstanding_, false);
  // Likewise the write of a request list: the ECU holds the list only once the reply to that write is in.
  const auto listwrite = std::exchange(listwrite_, std::nullopt);

  // The end of a wait: the port is not looked at; the same slot goes out again on this tick.
  if (linkretry_ == 1) {
    linkready_ = true;
    linkretry_ = 0;
    return;
  }

  const int entrycount = port_.inbuffercount();
  if (!checkline()) return;

  if (entrycount <= replydatabytes || !answered) {
    logerror(QStringLiteral("Bad IBC, IBC = ") + QString::number(entrycount));
    linkretry_ = 5;
    counterror();
    if (transfer_ && transfer_->transferactive()) transfer_->transferlinkerror();
    return;
  }

  receivereply();
  if (rxframe_[18] != rxsum_) {
    linkready_ = true;
    linkretry_ = 0;
    logerror(QStringLiteral("Bad checksum, EBC = ") + QString::number(entrycount) + QStringLiteral(", IBC = ") +
             QString::number(port_.inbuffercount()));
    counterror();
    if (transfer_ && transfer_->transferactive()) transfer_->transferlinkerror();
    return;
  }

  linkready_ = true;
  linkretry_ = 0;
  state_.noreplyticks = 0;
  if (listwrite) eculists_[listwrite->first] = listwrite->second;
  dispatch(pollschedule_[pollindex_]);
  pollindex_ = pollindex_ > 3 ? 0 : static_cast<std::uint8_t>(pollindex_ + 1);
}

void EcuLink::dispatch(std::uint8_t type) {
  switch (type) {
    case requesttype::livesite:
      livesitedata();
      break;
    case requesttype::livevalues:
      livevaluesdata();
      break;
    case requesttype::windowdata:
      windowdata();
      break;
    case requesttype::queuedwrite: {
      // The write has arrived: it leaves the queue, unless the queue was refilled meanwhile.
      const TransferRecord& head = transferqueue_.records[0];
      if (head.op == sentwrite_.op && head.addresshigh == sentwrite_.addresshigh &&
          head.addresslow == sentwrite_.addresslow && head.data == sentwrite_.data)
        transferqueue_.removequeuehead();
      host_->drawpanel(false);
      break;
    }
    case requesttype::transferstep:
      if (transfer_) transfer_->transferreply(*this);
      break;
    default:
      break;
  }
}

bool EcuLink::answersselector(std::uint8_t selector) const {
  if (selector != windowselector_) return false;
  // The passwords window reads only the match bits of the live values: its plan writes no table to answer.
  const RequestTable* table = selectortable(selector);
  return !table || (windowlists_[0] == (*table)[0] && windowlists_[1] == (*table)[1]);
}

void EcuLink::windowdata() {
  const std::uint8_t selector = effectiveselector(state_.livemode);
  // Data that answers another table (the one of a window that has just closed, or the one the ECU held before a
  // window's table reached it) is no link error, but no window's and no log sample either: it goes nowhere.
  if (!answersselector(selector)) return;
  // A receiver may close its window (or another, or open one) while it runs, so the next receiver is looked up
  // afresh after each call: registrations stay in the order of their ids, the next is the first with a higher id.
  // Windows registered during this reply get the next one.
  const int end = nextreceiverid_;
  int after = 0;
  for (;;) {
    const auto it = std::find_if(receivers_.begin(), receivers_.end(), [&](const Registration& r) {
      return r.id > after && r.id < end && r.selector == selector;
    });
    if (it == receivers_.end()) break;
    after = it->id;
    const Receiver receiver = it->receiver;  // it may unregister itself while it runs
    receiver(rxframe_);
  }
  if (selector == 0 || selector == 1 || selector == 4) host_->addlogsample(rxframe_);
}

void EcuLink::livesitedata() {
  const RxFrame& b = rxframe_;
  const int kind = mainmaps_.getcontextandtype(state_.curmap);
  const bool grid = kind == 0;  // the live cell is a cell of the 32 x 32 mark grids only on 3-D maps

  live_.liverpm = std::min(30000, b[0] * 256 + b[1]);
  live_.livevars[16] = static_cast<std::int16_t>(live_.liverpm);
  live_.livevars[17] = b[3];
  live_.livevars[15] = b[4];
  // Knock is tested against the cell of the previous live site reply: the live cell moves only below. A mark
  // against a threshold map a password guards would tell the guarded threshold: none is made.
  if (grid && !mapguarded(state_.guards, knockthresholdmap))
    mainmaps_.setmapknocked(live_.liverpm, b[4], live_.liverow, live_.livecol);
  live_.livevars[14] = b[5];

  // The live cell stays within the part of the map that is shown, which is no larger than the map: the ECU may
  // report a point beyond the last breakpoint in use (a throttle axis runs to 31 whatever the load axis shows), and
  // the grid, its visit marks, the graph and the Space key all take this one cell.
  const ShownArea shown = shownarea(mainmaps_, state_.guards, state_.curmap);
  const int lastacross = std::max(0, shown.across - 1);
  if (grid) {
    live_.liverow = static_cast<std::uint8_t>(std::min<int>(b[6], lastacross));
    if (state_.preferences.trackmode) state_.cursorrow = live_.liverow;
    live_.livecol = static_cast<std::uint8_t>(std::min<int>(b[7], std::max(0, shown.down - 1)));
    if (state_.preferences.trackmode) state_.cursorcol = live_.livecol;
  } else {
    live_.livecol = static_cast<std::uint8_t>(std::min<int>(b[6], lastacross));
    live_.liverow = 0;
  }

  live_.livevars[0] = b[8];
  live_.livevars[1] = static_cast<std::int16_t>((b[9] * 256 + b[10]) / 4);
  live_.livevars[2] = b[11];
  live_.livevars[4] = b[12];
  live_.livevars[5] = b[13];
  live_.livevars[11] = b[14];
  live_.livevars[12] = b[15];
}

void EcuLink::livevaluesdata() {
  const RxFrame& b = rxframe_;
  ++live_.livevaluesreplies;
  live_.livevars[9] = b[0];
  live_.livevars[10] = b[1];
  live_.livevars[13] = b[2];
  live_.livevars[6] = b[4];
  live_.livevars[3] = b[5];
  live_.livevars[8] = b[6];
  live_.livesample = b[8];
  live_.afrtarget = b[9];
  live_.livevars[7] = b[10];
  live_.pwprotected = b[11];
  live_.pwmatchmask = b[12];
  live_.afrerrorhold = b[14];
  live_.fwversion = b[15];

  if (!host_->checkcommsstate()) {
    host_->drawpanel(false);
    host_->drawmap(false);
    host_->scrollgridtocell(false);
    host_->updategridhighlights(false);
    host_->filldatagrid(false);
    // The error is measured against the target ratio map's cell; one a password guards is never measured against,
    // as the grid's notes and the Q key would give the guarded target back.
    if (live_.afrerrorhold == 0 && mainmaps_.getcontextandtype(state_.curmap) == 0 &&
        !cellguarded(mainmaps_, state_.guards, afrtargetmap, live_.liverow, live_.livecol))
      mainmaps_.setafrerror(b[4], live_.liverow, live_.livecol);
  }

  live_.ecuchecksum = b[3] * 256 + b[7];
  live_.ecuchecksummap = sentmap_;
}

void EcuLink::takereply(std::uint8_t type, const RxFrame& frame) {
  rxframe_ = frame;
  sentmap_ = state_.curmap;
  if (type == requesttype::windowdata) {
    windowselector_ = effectiveselector(state_.livemode);
    windowlists_ = {};
    if (const RequestTable* table = selectortable(windowselector_)) windowlists_ = {(*table)[0], (*table)[1]};
  }
  dispatch(type);
}

bool EcuLink::ecuchecksumcurrent() const {
  return live_.ecuchecksummap == state_.curmap;
}

void EcuLink::smoothlivevalues(const RxFrame& frame, bool reset) {
  for (int i = 0; i < 16; ++i) {
    const float byte = frame[i];
    if (reset) {
      smoothvalues_[i] = byte;
    } else {
      const float weight = smoothweight_[i];
      smoothvalues_[i] = ((100.0f - weight) * smoothvalues_[i] + weight * byte) * 0.01f;
    }
  }
}

}  // namespace ostrel
