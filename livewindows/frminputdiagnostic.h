#pragma once

#include <array>

#include "livewindows/inputdiagnostic.h"
#include "livewindows/livewindow.h"

class QLabel;
class QProgressBar;

namespace ostrel {

// The input diagnostic window: holds the selector at 22 and samples twenty inputs on every window-data reply,
// judging each after 1000 samples. It has no timer of its own: it moves only as replies arrive.
class frmInputDiagnostic : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selectorvalue = 22;
  using Labels = std::array<QLabel*, InputDiagnostic::rows>;

  frmInputDiagnostic(ProgramState& state, EcuLink& link, QWidget* parent = nullptr);

  Labels sensor{}, feedback{}, feedback1{}, feedback2{}, lowtime{}, hightime{}, status{};
  QProgressBar* ProgressBar1 = nullptr;

  const InputDiagnostic& diagnostic() const { return diagnostic_; }

 protected:
  void reportdata(const RxFrame& rxframe) override;

 private:
  void showrows();

  InputDiagnostic diagnostic_;
};

}  // namespace ostrel
