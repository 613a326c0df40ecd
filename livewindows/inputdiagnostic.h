#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "link/eculink.h"

namespace ostrel {

// The input diagnostic: one sample of each of twenty inputs per window-data reply (six live variables, ten
// auxiliary inputs, VSS, RPM and the TRIG and SYNC bits), split by each input's level into low and high samples;
// every 1000 replies each input is judged by its share of low samples against the expected share.
class InputDiagnostic {
 public:
  static constexpr int inputs = 20;
  static constexpr int rows = inputs + 1;  // row 0 the headings, row i + 1 input i
  static constexpr std::int16_t runlength = 1000;
  static constexpr int refreshevery = 10;
  static constexpr float passmargin = 7.0f;  // percentage points

  // The texts of one row of the seven label columns.
  struct Row {
    QString sensor, feedback, feedback1, feedback2, lowtime, hightime, status;
  };

  // levels: the sample below which an input counts as low; expected: the expected share of low samples in percent.
  InputDiagnostic(const std::array<float, inputs>& levels, const std::array<float, inputs>& expected);

  // The fixed request table: AUX1 to AUX10 at 0x6D90 to 0x6D99, VSS 0x6C03, RPM 0x6AF7, and 0x0241 four times.
  static RequestTable addresses();

  // The window has loaded: statistics at 0.1, no samples, every row "pending...".
  void load();
  // One window-data reply, with the live variables of the same pass through the poll plan.
  void reportdata(const RxFrame& rxframe, const std::array<std::int16_t, 18>& livevars);

  const Row& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
  std::int16_t diagcount() const { return diagcount_; }
  // The progress bar: the count of the run, left standing by the reply that judges.
  int progress() const { return progress_; }
  std::uint8_t sample(int input) const { return diagsample_[static_cast<std::size_t>(input)]; }
  float lowcount(int input) const { return diaglowcount_[static_cast<std::size_t>(input)]; }
  float highcount(int input) const { return diaghighcount_[static_cast<std::size_t>(input)]; }

  static const std::array<QString, inputs>& sensornames();

 private:
  void takesamples(const RxFrame& rxframe, const std::array<std::int16_t, 18>& livevars);
  void checksensorstatus();
  void resetstatistics(float start);

  std::array<float, inputs> levels_;
  std::array<float, inputs> expected_;
  std::array<std::uint8_t, inputs> diagsample_{};
  std::array<float, inputs> diaglowcount_{}, diaglowsum_{}, diaghighcount_{}, diaghighsum_{};
  std::int16_t diagcount_ = 0;
  int progress_ = 0;
  int samples_ = 0;  // samples taken into the statistics of the run
  std::array<Row, rows> rows_;
};

}  // namespace ostrel
