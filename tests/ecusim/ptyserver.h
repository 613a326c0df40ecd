#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ecusim/ecusimulator.h"

namespace ostrel::ecusim {

// Serves the simulator on a pseudo-terminal: the program opens the slave side (path()) as its serial port. The
// server keeps a slave descriptor of its own open, so the line stays up while the program closes and reopens it,
// and so it can tell how many bytes wait on the program's side.
class PtyServer {
 public:
  explicit PtyServer(EcuSimulator& sim) : sim_(sim) {}
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pseudo-terminal in raw mode; false with the system's reason in error.
  bool open(std::string* error = nullptr);
  const std::string& path() const { return path_; }
  int masterfd() const { return master_; }

  // Answers every request waiting on the line; waits up to timeoutms for the first byte. Returns the requests
  // answered (faulted ones included).
  int pump(int timeoutms = 0);
  // Answers requests until count of them have come in since the server opened, or timeoutms have passed.
  bool pumpuntil(int count, int timeoutms);
  // One tick of time passes: late replies written more than one tick ago go out now.
  void step();
  // Ticks after which a late reply goes out (2: after the link's next check).
  int lateafter = 2;

  // Bytes written to the program that it has not read yet.
  int waitingforprogram() const;
  // Waits until at least count bytes wait on the program's side, or timeoutms have passed.
  bool waitfordelivery(int count, int timeoutms) const;
  // Bytes written to the line since the last call.
  int takewritten() { return std::exchange(written_, 0); }

  // The ECU's side of one tick of the program: answers the request the tick sent (when it sent one), lets a tick of
  // time pass, and waits until every byte the ECU wrote is on the program's side, as on a real line before the next
  // tick. requestsbefore is sim.requests() before the tick. False when the request or the reply did not arrive.
  bool answertick(int requestsbefore, bool requestsent, int timeoutms = 2000);

  // Closes the line: the program's side sees a hang-up.
  void hangup();
  bool hungup() const { return master_ < 0 && opened_; }

 private:
  void send(const std::vector<std::uint8_t>& bytes);

  EcuSimulator& sim_;
  int master_ = -1;
  int slave_ = -1;
  bool opened_ = false;
  std::string path_;
  int written_ = 0;
  struct Held {
    std::vector<std::uint8_t> bytes;
    int age = 0;
  };
  std::vector<Held> held_;
};

}  // namespace ostrel::ecusim
