#include "livewindows/firmwaresignature.h"

#include "livewindows/livewindowcore.h"
#include "platform/programstate.h"

namespace ostrel {

FirmwareSignature::FirmwareSignature(LiveWindowCore& live, FirmwareMemory& memory)
    : live_(live), memory_(memory), label_(waitingtext()) {}

QString FirmwareSignature::waitingtext() {
  return QStringLiteral("Please wait while the firmware signature is calculated...");
}

RequestTable FirmwareSignature::addresses(bool signaturemode) {
  return requesttableof([signaturemode](int k) { return signaturemode ? 0x6CF0 + k : 0x6262; });
}

void FirmwareSignature::loadaddressarray(bool signaturemode) {
  live_.link().setrequesttable(LiveTable::firmware, addresses(signaturemode));
}

void FirmwareSignature::load() {
  progress_ = 0;
  label_ = waitingtext();
  // The table is in place before the first request goes out, not only after the first tick.
  loadaddressarray(true);
}

bool FirmwareSignature::closing() const {
  return live_.state().windowticks > 0;
}

void FirmwareSignature::reportdata(const RxFrame& rxframe) {
  if (closing() || live_.state().windowage < firstreplyage) return;
  const std::uint8_t byte = rxframe[progressbyte];
  if (byte != memory_.lastprogressbyte && progress_ < progressmax) ++progress_;
  memory_.lastprogressbyte = byte;
  if (progress_ == progressmax)
    label_ = QStringLiteral("Firmware signature: %1, %2, %3, %4")
                 .arg(rxframe[6])
                 .arg(rxframe[7])
                 .arg(rxframe[8])
                 .arg(rxframe[9]);
}

bool FirmwareSignature::timertick() {
  ProgramState& state = live_.state();
  if (!closing()) {
    live_.countage();
    loadaddressarray(true);
    return false;
  }
  if (state.windowticks < 255) ++state.windowticks;
  loadaddressarray(false);
  // The poll goes back to idle only while the selector is still this window's.
  if (state.windowticks == releasetick && live_.holdsselector()) state.livemode = 0;
  return state.windowticks >= closetick;
}

bool FirmwareSignature::requestclose() {
  const bool through = closing();
  live_.state().windowticks = 1;
  return through;
}

}  // namespace ostrel
