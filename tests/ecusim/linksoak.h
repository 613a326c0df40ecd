#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "calibration/maps.h"
#include "ecusim/ecusimulator.h"
#include "ecusim/ptyserver.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "link/serialcommport.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel::ecusim {

// The program's link as the program uses it (EcuLink and ImageTransfer, driven by the transfer dialog's ticks and
// the communications timer's ticks) through the real serial port to the simulator on a pseudo-terminal, with the
// simulator damaging a share of its replies. Each cycle writes a fresh image into the ECU, reads it back into a
// second calibration and verifies the first against the ECU; every image is compared byte for byte with the
// simulator's memory. Needs a Qt application object; names the line as port 1 in the install folder's
// "comports.txt", so the install folder must be one of the soak's own.
class LinkSoak {
 public:
  struct Figures {
    long long cycles = 0;
    long long faults = 0;        // replies the simulator damaged or held back
    long long wrongwritten = 0;  // bytes of the ECU's image that differ after a write
    long long wrongread = 0;     // bytes of the image read back that differ from the ECU's
    long long verifyerrors = 0;
    long long linkerrors = 0;  // errors the link counted
    long long ticks = 0;       // ticks of the communications timer

    // Bytes where the ECU or the read-back image differ from what they should hold, and the verify's errors.
    long long wrongbytes() const { return wrongwritten + wrongread + verifyerrors; }
  };

  LinkSoak(std::uint32_t seed, double faultrate);
  ~LinkSoak();
  LinkSoak(const LinkSoak&) = delete;
  LinkSoak& operator=(const LinkSoak&) = delete;

  // Creates the line and opens the port; false with the reason in error().
  bool start();
  // One write, read and verify; false when a transfer did not end as it should (the reason in error()). Wrong
  // bytes do not make it fail: they are counted.
  bool cycle();

  const Figures& figures() const { return figures_; }
  const std::string& error() const { return error_; }
  EcuSimulator& simulator() { return sim_; }

 private:
  // A dialog's run of one transfer over the given calibration; false when it ended with a message or not at all.
  bool runtransfer(maps& calibration, std::uint8_t mode);
  // One tick of the communications timer; the ECU's answer is on the line before the next.
  bool exchange();
  long long differingbytes(const CalibrationImage& a, const CalibrationImage& b) const;

  EcuSimulator sim_;
  PtyServer server_{sim_};
  double faultrate_;
  std::mt19937 rng_;
  ProgramState state_;
  RecordingPrompts prompts_;
  maps pcmaps_{prompts_};    // the calibration written and verified
  maps readmaps_{prompts_};  // the calibration the ECU's image is read into
  SerialCommPort port_;
  EcuLink link_{state_, pcmaps_, prompts_, port_};
  std::unique_ptr<ImageTransfer> transfer_;
  Figures figures_;
  std::string error_;
};

}  // namespace ostrel::ecusim
