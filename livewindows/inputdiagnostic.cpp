#include "livewindows/inputdiagnostic.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"

namespace ostrel {

namespace {

// The live variables sampled for inputs 0 to 5: TPS, AIR, COOL, 02LEFT, 02RIGHT, KNOCK.
constexpr std::array<int, 6> livevariables = {13, 9, 10, 4, 5, 15};
constexpr int firstauxinput = 6;  // inputs 6 to 17 take data bytes 0 to 11
constexpr int triginput = 18;     // bit 0 of data byte 12
constexpr int syncinput = 19;     // bit 1 of data byte 13

QString whole(float value) {
  return formatfixed(value, 0);
}

}  // namespace

InputDiagnostic::InputDiagnostic(const std::array<float, inputs>& levels, const std::array<float, inputs>& expected)
    : levels_(levels), expected_(expected) {
  load();
}

const std::array<QString, InputDiagnostic::inputs>& InputDiagnostic::sensornames() {
  static const std::array<QString, inputs> names = {
      QStringLiteral("TPS"),  QStringLiteral("ATS"),       QStringLiteral("CTS"),  QStringLiteral("EGO1"),
      QStringLiteral("EGO2"), QStringLiteral("KNOCK L+R"), QStringLiteral("AUX1"), QStringLiteral("AUX2"),
      QStringLiteral("AUX3"), QStringLiteral("AUX4"),      QStringLiteral("AUX5"), QStringLiteral("AUX6"),
      QStringLiteral("AUX7"), QStringLiteral("AUX8"),      QStringLiteral("AUX9"), QStringLiteral("AUX10"),
      QStringLiteral("VSS"),  QStringLiteral("RPM"),       QStringLiteral("TRIG"), QStringLiteral("SYNC")};
  return names;
}

RequestTable InputDiagnostic::addresses() {
  RequestTable table;
  table[0] = {0x6D, 0x90, 0x6D, 0x91, 0x6D, 0x92, 0x6D, 0x93, 0x6D, 0x94, 0x6D, 0x95, 0x6D, 0x96, 0x6D, 0x97};
  table[1] = {0x6D, 0x98, 0x6D, 0x99, 0x6C, 0x03, 0x6A, 0xF7, 0x02, 0x41, 0x02, 0x41, 0x02, 0x41, 0x02, 0x41};
  return table;
}

void InputDiagnostic::resetstatistics(float start) {
  diaglowcount_.fill(start);
  diaglowsum_.fill(start);
  diaghighcount_.fill(start);
  diaghighsum_.fill(start);
}

void InputDiagnostic::load() {
  rows_[0] = {QStringLiteral("Sensor:"),       QStringLiteral("feedback"), QStringLiteral("low feedback"),
              QStringLiteral("high feedback"), QStringLiteral("low time"), QStringLiteral("high time"),
              QStringLiteral("status")};
  for (int i = 0; i < inputs; ++i)
    rows_[i + 1] = {sensornames()[i],
                    QStringLiteral("feedback"),
                    QStringLiteral("low feedback"),
                    QStringLiteral("high feedback"),
                    QStringLiteral("low time"),
                    QStringLiteral("high time"),
                    QStringLiteral("pending...")};
  // Never 0, so the means never divide by zero.
  resetstatistics(0.1f);
  diagcount_ = 0;
  progress_ = 0;
  samples_ = 0;
}

void InputDiagnostic::takesamples(const RxFrame& rxframe, const std::array<std::int16_t, 18>& livevars) {
  for (std::size_t i = 0; i < livevariables.size(); ++i)
    diagsample_[i] = static_cast<std::uint8_t>(std::clamp<int>(livevars[livevariables[i]], 0, 255));
  for (int i = firstauxinput; i < triginput; ++i) diagsample_[i] = rxframe[i - firstauxinput];
  diagsample_[triginput] = (rxframe[12] & 0x01) ? 255 : 0;
  diagsample_[syncinput] = (rxframe[13] & 0x02) ? 255 : 0;
}

void InputDiagnostic::checksensorstatus() {
  for (int i = 0; i < inputs; ++i) {
    const float d = std::fabs(diaglowcount_[i] / 10.0f - expected_[i]);
    rows_[i + 1].status = d < passmargin ? QStringLiteral("pass") : QStringLiteral("fail");
  }
}

void InputDiagnostic::reportdata(const RxFrame& rxframe, const std::array<std::int16_t, 18>& livevars) {
  if (diagcount_ >= runlength) {
    // The reply that triggers the judgement already belongs to the next run, uncounted.
    checksensorstatus();
    diagcount_ = 0;
    samples_ = 0;
    resetstatistics(0.01f);
  } else {
    ++diagcount_;
    progress_ = diagcount_;
  }

  takesamples(rxframe, livevars);
  ++samples_;
  const bool refresh = diagcount_ % refreshevery == 0;
  if (refresh)
    for (int i = 0; i < inputs; ++i) rows_[i + 1].feedback = QString::number(diagsample_[i]);

  for (int i = 0; i < inputs; ++i) {
    const float sample = diagsample_[i];
    // A sample at the level counts as high.
    if (sample < levels_[i]) {
      diaglowcount_[i] += 1.0f;
      diaglowsum_[i] += sample;
    } else {
      diaghighcount_[i] += 1.0f;
      diaghighsum_[i] += sample;
    }
  }

  if (refresh && diagcount_ > 0) {
    // The shares are of the samples in the run: after a judgement that is one more than the count, and dividing by
    // the count would show up to 110 %.
    const auto count = static_cast<float>(samples_);
    for (int i = 0; i < inputs; ++i) {
      Row& row = rows_[i + 1];
      row.feedback1 = whole(diaglowsum_[i] / diaglowcount_[i]);
      row.feedback2 = whole(diaghighsum_[i] / diaghighcount_[i]);
      row.lowtime = whole(diaglowcount_[i] * 100.0f / count);
      row.hightime = whole(diaghighcount_[i] * 100.0f / count);
    }
  }
}

}  // namespace ostrel
