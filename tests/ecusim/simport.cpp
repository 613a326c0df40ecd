#include "ecusim/simport.h"

#include <algorithm>

namespace ostrel::ecusim {

bool SimPort::open(const QString& device, QString& reason) {
  if (!openfailure.isEmpty()) {
    reason = openfailure;
    return false;
  }
  device_ = device;
  open_ = true;
  failed_ = false;
  failure_.clear();
  inbox_.clear();
  held_.clear();
  return true;
}

int SimPort::read(std::uint8_t* buffer, int max) {
  if (!open_ || failed_) return 0;
  const int n = std::min<int>(max, static_cast<int>(inbox_.size()));
  std::copy_n(inbox_.begin(), n, buffer);
  inbox_.erase(inbox_.begin(), inbox_.begin() + n);
  return n;
}

bool SimPort::write(const std::uint8_t* data, int len) {
  if (!open_ || failed_) return false;
  if (keepwritten) written.emplace_back(data, data + len);
  EcuSimulator::Output out = sim_.receive({data, static_cast<std::size_t>(len)});
  for (Reply& reply : out.replies) {
    if (reply.late)
      held_.push_back({std::move(reply.bytes), 0});
    else
      inbox_.insert(inbox_.end(), reply.bytes.begin(), reply.bytes.end());
  }
  if (out.hangup) unplug(QStringLiteral("the line hung up"));
  return true;
}

bool SimPort::failed(QString* reason) const {
  if (failed_ && reason) *reason = failure_;
  return failed_;
}

void SimPort::step() {
  // Written during tick N, a late reply shows up after tick N + 1 has looked for it.
  for (Held& h : held_) ++h.age;
  auto ready = std::stable_partition(held_.begin(), held_.end(), [](const Held& h) { return h.age < 2; });
  for (auto it = ready; it != held_.end(); ++it) inbox_.insert(inbox_.end(), it->bytes.begin(), it->bytes.end());
  held_.erase(ready, held_.end());
}

void SimPort::unplug(const QString& reason) {
  failed_ = true;
  failure_ = reason;
  inbox_.clear();
}

}  // namespace ostrel::ecusim
