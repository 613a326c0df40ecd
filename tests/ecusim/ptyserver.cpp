#include "ecusim/ptyserver.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace ostrel::ecusim {

namespace {
using Clock = std::chrono::steady_clock;

int msleft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::max<long long>(0, left));
}
}  // namespace

PtyServer::~PtyServer() {
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
}

bool PtyServer::open(std::string* error) {
  const auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    if (master_ >= 0) ::close(master_);
    master_ = -1;
    return false;
  };
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) return fail("posix_openpt");
  if (::grantpt(master_) != 0) return fail("grantpt");
  if (::unlockpt(master_) != 0) return fail("unlockpt");
  const char* name = ::ptsname(master_);
  if (!name) return fail("ptsname");
  path_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (slave_ < 0) return fail("open slave");
  // Raw at once: an echoing line would hand the ECU its own replies back.
  termios tio{};
  if (::tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
  ::cfmakeraw(&tio);
  ::cfsetispeed(&tio, B38400);
  ::cfsetospeed(&tio, B38400);
  if (::tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  opened_ = true;
  return true;
}

void PtyServer::send(const std::vector<std::uint8_t>& bytes) {
  if (master_ < 0 || bytes.empty()) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{master_, POLLOUT, 0};
      ::poll(&p, 1, 10);
    } else if (n < 0 && errno != EINTR) {
      return;
    }
  }
  written_ += static_cast<int>(bytes.size());
}

int PtyServer::pump(int timeoutms) {
  if (master_ < 0) return 0;
  pollfd p{master_, POLLIN, 0};
  if (::poll(&p, 1, timeoutms) <= 0 || !(p.revents & POLLIN)) return 0;
  const int before = sim_.requests();
  std::uint8_t buffer[512];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) break;
    EcuSimulator::Output out = sim_.receive({buffer, static_cast<std::size_t>(n)});
    for (Reply& reply : out.replies) {
      if (reply.late)
        held_.push_back({std::move(reply.bytes), 0});
      else
        send(reply.bytes);
    }
    if (out.hangup) {
      hangup();
      break;
    }
  }
  return sim_.requests() - before;
}

bool PtyServer::pumpuntil(int count, int timeoutms) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutms);
  while (sim_.requests() < count) {
    if (master_ < 0) return false;
    const int left = msleft(deadline);
    pump(std::min(left, 5));
    if (left == 0 && sim_.requests() < count) return false;
  }
  return true;
}

void PtyServer::step() {
  for (Held& h : held_) ++h.age;
  auto ready = std::stable_partition(held_.begin(), held_.end(), [this](const Held& h) { return h.age < lateafter; });
  for (auto it = ready; it != held_.end(); ++it) send(it->bytes);
  held_.erase(ready, held_.end());
}

int PtyServer::waitingforprogram() const {
  if (slave_ < 0) return 0;
  int n = 0;
  if (::ioctl(slave_, FIONREAD, &n) != 0) return 0;
  return n;
}

bool PtyServer::waitfordelivery(int count, int timeoutms) const {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutms);
  while (waitingforprogram() < count) {
    if (msleft(deadline) == 0) return false;
    pollfd p{slave_, POLLIN, 0};
    ::poll(&p, 1, 1);
    if (waitingforprogram() < count) ::usleep(200);
  }
  return true;
}

void PtyServer::hangup() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
  held_.clear();
}

bool PtyServer::answertick(int requestsbefore, bool requestsent, int timeoutms) {
  const int waiting = waitingforprogram();
  if (requestsent && !pumpuntil(requestsbefore + 1, timeoutms)) return false;
  step();
  return waitfordelivery(waiting + takewritten(), timeoutms);
}

}  // namespace ostrel::ecusim
