#pragma once

#include <array>

#include "livewindows/fuelmultipliers.h"
#include "livewindows/livewindow.h"

class QLabel;

namespace ostrel {

// The fuel multipliers window: holds the selector at 20 and shows the ECU's twelve fuel multipliers in percent and
// the indexed and corrected fuel times. It never closes itself; while another window holds the selector it keeps
// the last values.
class frmFuelMuls : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selectorvalue = 20;

  frmFuelMuls(ProgramState& state, EcuLink& link, QWidget* parent = nullptr);

  std::array<QLabel*, FuelMultipliers::rows> Label1{};  // captions
  std::array<QLabel*, FuelMultipliers::rows> Label2{};  // values

 protected:
  void reportdata(const RxFrame& rxframe) override;
  void timertick() override;

 private:
  FuelMultipliers values_;
};

}  // namespace ostrel
