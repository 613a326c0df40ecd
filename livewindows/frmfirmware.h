#pragma once

#include "livewindows/firmwaresignature.h"
#include "livewindows/livewindow.h"

class QLabel;
class QProgressBar;

namespace ostrel {

// The firmware signature window: holds the selector at 21 while the ECU works out its firmware signature and shows
// it once the progress byte has moved ten times. The first close is refused: the window writes a neutral request
// table for about two seconds more and then closes itself.
class frmFirmware : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selectorvalue = 21;

  frmFirmware(ProgramState& state, EcuLink& link, FirmwareMemory& memory, QWidget* parent = nullptr);

  // What the window keeps from one opening to the next, for the whole run.
  static FirmwareMemory& memory();

  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;

  const FirmwareSignature& signature() const { return signature_; }

  // A close during the signature phase is refused and starts the closing phase.
  void done(int result) override;

 protected:
  void reportdata(const RxFrame& rxframe) override;
  void timertick() override;

 private:
  void showstate();

  FirmwareSignature signature_;
};

}  // namespace ostrel
