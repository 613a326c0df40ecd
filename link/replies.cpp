// Reply processing: taking each reply in, checking it, logging link errors and handing intact replies on.
#include <algorithm>

#include "calibration/maps.h"
#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

void EcuLink::processreply() {
  // The end of a wait: the port is not looked at; the same slot goes out again on this tick.
  if (linkretry == 1) {
    linkready = true;
    linkretry = 0;
    return;
  }

  const int entrycount = port_.inbuffercount();
  if (!checkline()) return;
  // A reply counts only on the first tick after its request; bytes with no request behind them are stale.
  const bool answered = outstanding_;
  outstanding_ = false;

  if (entrycount <= replydatabytes || !answered) {
    logerror(QStringLiteral("Bad IBC, IBC = ") + QString::number(entrycount));
    linkretry = 5;
    counterror();
    if (transfer_ && transfer_->transferactive()) transfer_->transferlinkerror();
    return;
  }

  receivereply();
  if (rxframe[18] != rxsum) {
    linkready = true;
    linkretry = 0;
    logerror(QStringLiteral("Bad checksum, EBC = ") + QString::number(entrycount) + QStringLiteral(", IBC = ") +
             QString::number(port_.inbuffercount()));
    counterror();
    if (transfer_ && transfer_->transferactive()) transfer_->transferlinkerror();
    return;
  }

  linkready = true;
  linkretry = 0;
  state_.noreplyticks = 0;
  dispatch(pollschedule[pollindex]);
  pollindex = pollindex > 3 ? 0 : static_cast<std::uint8_t>(pollindex + 1);
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
      const TransferRecord& head = transferqueue.records[0];
      if (head.op == sentwrite_.op && head.addresshigh == sentwrite_.addresshigh &&
          head.addresslow == sentwrite_.addresslow && head.data == sentwrite_.data)
        transferqueue.removequeuehead();
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

void EcuLink::windowdata() {
  const std::uint8_t selector = effectiveselector(state_.livemode);
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
    receiver(rxframe);
  }
  if (selector == 0 || selector == 1 || selector == 4) host_->addlogsample(rxframe);
}

void EcuLink::livesitedata() {
  const RxFrame& b = rxframe;
  const int kind = mainmaps_.getcontextandtype(state_.curmap);
  const bool grid = kind == 0;  // the live cell is a cell of the 32 x 32 mark grids only on 3-D maps

  liverpm = std::min(30000, b[0] * 256 + b[1]);
  livevars[16] = static_cast<std::int16_t>(liverpm);
  livevars[17] = b[3];
  livevars[15] = b[4];
  // Knock is tested against the cell of the previous live site reply: the live cell moves only below.
  if (grid) mainmaps_.setmapknocked(liverpm, b[4], liverow, livecol);
  livevars[14] = b[5];

  const int lastrow = std::max(0, mainmaps_.getmaprows(state_.curmap) - 1);
  const int lastcol = std::max(0, mainmaps_.getmapcols(state_.curmap) - 1);
  if (grid) {
    liverow = static_cast<std::uint8_t>(std::min<int>(b[6], lastrow));
    if (state_.preferences.trackmode) state_.cursorrow = liverow;
    livecol = static_cast<std::uint8_t>(std::min<int>(b[7], lastcol));
    if (state_.preferences.trackmode) state_.cursorcol = livecol;
  } else {
    livecol = static_cast<std::uint8_t>(std::min<int>(b[6], lastcol));
    liverow = 0;
  }

  livevars[0] = b[8];
  livevars[1] = static_cast<std::int16_t>((b[9] * 256 + b[10]) / 4);
  livevars[2] = b[11];
  livevars[4] = b[12];
  livevars[5] = b[13];
  livevars[11] = b[14];
  livevars[12] = b[15];
}

void EcuLink::livevaluesdata() {
  const RxFrame& b = rxframe;
  livevars[9] = b[0];
  livevars[10] = b[1];
  livevars[13] = b[2];
  livevars[6] = b[4];
  livevars[3] = b[5];
  livevars[8] = b[6];
  livesample = b[8];
  afrtarget = b[9];
  livevars[7] = b[10];
  pwprotected = b[11];
  pwmatchmask = b[12];
  afrerrorhold = b[14];
  fwversion = b[15];

  if (!host_->checkcommsstate()) {
    host_->drawpanel(false);
    host_->drawmap(false);
    host_->scrollgridtocell(false);
    host_->updategridhighlights(false);
    host_->filldatagrid(false);
    if (afrerrorhold == 0 && mainmaps_.getcontextandtype(state_.curmap) == 0)
      mainmaps_.setafrerror(b[4], liverow, livecol);
  }

  ecuchecksum = b[3] * 256 + b[7];
  ecuchecksummap = sentmap_;
}

bool EcuLink::ecuchecksumcurrent() const {
  return ecuchecksummap == state_.curmap;
}

void EcuLink::smoothlivevalues(bool reset) {
  for (int i = 0; i < 16; ++i) {
    const float byte = rxframe[i];
    if (reset) {
      smoothvalues[i] = byte;
    } else {
      const float weight = smoothweight[i];
      smoothvalues[i] = ((100.0f - weight) * smoothvalues[i] + weight * byte) * 0.01f;
    }
  }
}

}  // namespace ostrel
