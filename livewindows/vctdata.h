#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "link/eculink.h"

namespace ostrel {

// One channel of the variable cam timing window: address k of its request table, data byte k of its replies.
struct VctChannel {
  std::uint16_t address;
  const char* label;
  const char* units;
  float gain;  // shown value = raw x gain + offset, in single precision
  float offset;
  std::uint32_t colour;  // 0x00BBGGRR
};

inline constexpr int vctchannelcount = 16;
inline constexpr int vctanglecount = 8;  // channels 0 to 7 are the cam angles drawn in the chart

// The channels in the order of the request table (angles of four cams, target then actual; then percentages).
const std::array<VctChannel, vctchannelcount>& vctchannels();
// The window's request table: channels 0 to 7 in list 0, 8 to 15 in list 1; no slot is empty.
RequestTable vctrequesttable();

float vctvalue(int channel, std::uint8_t raw);
// The value as its box shows it: the single-precision number in its shortest form, no fixed decimals ("-64",
// "63.5", "102", "3.6"), in the C locale.
QString vctvaluetext(float value);
// The value as the export writes it: one decimal, in the system's regional number format.
QString vctexporttext(float value);

// The export buffer: the raw bytes of 1000 window-data replies. Replies 1 to 1000 after a reset fill it; the
// 1001st is drawn but not stored: it hands the full buffer over to the export, and the reply after it is sample 0
// of the next buffer.
class VctBuffer {
 public:
  static constexpr int size = 1000;
  using Sample = std::array<std::uint8_t, vctchannelcount>;

  void reset() { count_ = 0; }
  int count() const { return count_; }
  // Stores the reply; true when it found the buffer full, which samples() then holds whole for the export.
  bool take(const RxFrame& frame);
  const std::vector<Sample>& samples() const { return samples_; }

 private:
  std::vector<Sample> samples_ = std::vector<Sample>(size);
  int count_ = 0;
};

// The rows of the export: the 16 labels, then one row of 16 value texts per sample.
std::vector<QStringList> vctexportrows(const std::vector<VctBuffer::Sample>& samples);

}  // namespace ostrel
