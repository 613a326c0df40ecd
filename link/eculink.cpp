#include "link/eculink.h"

#include <QTime>
#include <algorithm>

#include "calibration/maps.h"
#include "link/serialcommport.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {
constexpr std::int32_t countercap = 100000;
}  // namespace

EcuLink::EcuLink(ProgramState& state, maps& mainmaps, Prompts& prompts, CommPort& port)
    : state_(state), mainmaps_(mainmaps), prompts_(prompts), port_(port) {
  tables_.fill(emptyrequesttable());
  initpollplans();
}

bool EcuLink::openport() {
  if (!port_.isopen()) {
    const int number = state_.preferences.comport;
    const QString device = comportdevice(number);
    QString reason;
    bool opened = false;
    if (device.isEmpty())
      reason = QStringLiteral("no device is listed for it in comports.txt");
    else
      opened = port_.open(device, reason);
    if (!opened) {
      host_->statusmessage(QStringLiteral("Could not open com port %1 (%2): %3")
                               .arg(number)
                               .arg(device.isEmpty() ? QStringLiteral("none") : device, reason),
                           false);
      prompts_.message(QStringLiteral("An error occurred opening the com port"), Prompts::Icon::Information);
      return false;
    }
    linkready_ = true;
    state_.noreplyticks = 0;
    framessent_ = 0;
    errorcount_ = 0;
    outstanding_ = false;
    // Whatever the ECU holds in its request lists now, the link has not written it.
    eculists_ = {};
    listwrite_.reset();
    setonline(true);
  }
  if (state_.preferences.comfastest) host_->setcommsinterval(20);
  return true;
}

void EcuLink::setonline(bool online) {
  if (state_.online == online) return;
  state_.online = online;
  host_->onlinechanged(online);
}

int EcuLink::lastqueuedtransfer() const {
  const int queued = transferqueue_.lastqueuedtransfer();
  return transfer_ ? std::max(queued, transfer_->lastqueuedwrite()) : queued;
}

void EcuLink::resetstats() {
  framessent_ = 0;
  errorcount_ = 0;
}

void EcuLink::setpwsendrow(int fragment, const std::array<std::uint8_t, 16>& row) {
  if (fragment >= 0 && fragment < 8) pwsendtable_[static_cast<std::size_t>(fragment)] = row;
}

void EcuLink::resettransferqueue() {
  transferqueue_.records.fill(TransferRecord{.status = true});
}

void EcuLink::sendrequest(const TxFrame& frame, int length) {
  txframe_ = frame;
  txlen_ = static_cast<std::uint8_t>(length);
  addframechecks();
  sendframe();
}

void EcuLink::closeport() {
  outstanding_ = false;
  if (port_.isopen()) port_.close();
  // A reading is the engine's state only while the link that brought it is open: the throttle may move meanwhile.
  state_.clearlivereadings();
  setonline(false);
}

void EcuLink::linelost(const QString& reason) {
  const QString device = port_.device();
  closeport();
  host_->statusmessage(QStringLiteral("The connection to %1 was lost: %2").arg(device, reason), false);
}

bool EcuLink::checkline() {
  QString reason;
  if (port_.failed(&reason)) {
    linelost(reason);
    return false;
  }
  if (!port_.isopen()) {
    linelost(QStringLiteral("the port is closed"));
    return false;
  }
  return true;
}

void EcuLink::addframechecks() {
  ostrel::addframechecks(txframe_.data(), txlen_);
}

void EcuLink::flushinput() {
  port_.discardinput();
}

void EcuLink::sendframe() {
  if (!state_.online) return;
  flushinput();
  if (!port_.write(txframe_.data(), txlen_)) {
    QString reason;
    if (!port_.failed(&reason)) reason = QStringLiteral("the request could not be written");
    linelost(reason);
    return;
  }
  if (framessent_ < countercap) ++framessent_;
  linkready_ = false;
  outstanding_ = true;
  noterequest();
  state_.sendcount = state_.sendcount < 1000 ? static_cast<std::int16_t>(state_.sendcount + 1) : 0;
}

void EcuLink::receivereply() {
  if (port_.inbuffercount() <= replydatabytes) {
    rxframe_[18] = 0;
    rxsum_ = 255;
    return;
  }
  std::array<std::uint8_t, replylength> wire{};
  const int n = port_.read(wire.data(), replylength);
  if (n < replylength) {
    rxframe_[18] = 0;
    rxsum_ = 255;
    return;
  }
  rxsum_ = static_cast<std::int16_t>(decodereply(wire, rxframe_));
}

void EcuLink::logerror(const QString& text) {
  errlog_.push_back(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(", [TRYCOMM], ") + text);
  while (errlog_.size() > errlogmaxlines) errlog_.pop_front();
}

void EcuLink::counterror() {
  if (errorcount_ < countercap) ++errorcount_;
}

QString EcuLink::errlogtext() const {
  QString text;
  for (const QString& line : errlog_) text += line + QStringLiteral("\r\n");
  return text;
}

int EcuLink::registerreceiver(std::uint8_t selector, Receiver receiver) {
  const int id = nextreceiverid_++;
  receivers_.push_back({id, selector, std::move(receiver)});
  return id;
}

void EcuLink::unregisterreceiver(int id) {
  std::erase_if(receivers_, [id](const Registration& r) { return r.id == id; });
}

void EcuLink::defer(std::function<void()> action) {
  if (inticks_)
    deferred_.push_back(std::move(action));
  else
    action();
}

void EcuLink::tick() {
  if (inticks_ || !state_.online || state_.exiting) return;
  inticks_ = true;
  commstick();
  inticks_ = false;
  // Deferred actions may open modal boxes, whose event loops may tick again: take the list first.
  auto actions = std::move(deferred_);
  deferred_.clear();
  for (auto& action : actions) action();
}

}  // namespace ostrel
