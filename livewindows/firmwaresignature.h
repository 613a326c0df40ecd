#pragma once

#include <QString>
#include <cstdint>

#include "link/eculink.h"

namespace ostrel {

class LiveWindowCore;

// Kept from one opening of the firmware window to the next: data byte 12 of the previous reply.
struct FirmwareMemory {
  std::uint8_t lastprogressbyte = 0;
};

// The firmware signature: while its request table points at ECU RAM 0x6CF0 to 0x6CFF the ECU works out a
// signature of its firmware, moving the progress byte 0x6CFC as it goes; after ten moves the four bytes at 0x6CF6
// to 0x6CF9 are the signature. Closing is refused once: the window then writes a neutral table for five ticks,
// gives the selector back at the sixth and goes at the twelfth.
class FirmwareSignature {
 public:
  static constexpr int progressmax = 10;
  static constexpr int firstreplyage = 6;           // replies count from this window age on
  static constexpr int releasetick = 6;             // closing tick at which the poll returns to idle
  static constexpr int closetick = 12;              // closing tick at which the window goes
  static constexpr std::uint8_t progressbyte = 12;  // data byte of ECU 0x6CFC

  FirmwareSignature(LiveWindowCore& live, FirmwareMemory& memory);

  // The request table: the signature addresses, or 0x6262 in all sixteen slots.
  static RequestTable addresses(bool signaturemode);
  // Writes the table into the link's table of the window.
  void loadaddressarray(bool signaturemode);

  // The window has loaded: the signature phase starts with an empty progress bar and the waiting text.
  void load();
  void reportdata(const RxFrame& rxframe);
  // One tick of the window's timer; true when the window must now close.
  bool timertick();
  // A close of the window: false (refused) during the signature phase, which it ends.
  bool requestclose();

  bool closing() const;
  int progress() const { return progress_; }
  const QString& label() const { return label_; }

  static QString waitingtext();

 private:
  LiveWindowCore& live_;
  FirmwareMemory& memory_;
  int progress_ = 0;
  QString label_;
};

}  // namespace ostrel
