#include "livewindows/vctdata.h"

#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr std::array<VctChannel, vctchannelcount> channels = {{
    {0x6B76, "VCTI1 target", "deg.", 0.5f, -64.0f, 0xFFFF00},
    {0x6B77, "VCTI1 actual", "deg.", 0.5f, -64.0f, 0xCFCF00},
    {0x6B80, "VCTI2 target", "deg.", 0.5f, -64.0f, 0x80FF00},
    {0x6B81, "VCTI2 actual", "deg.", 0.5f, -64.0f, 0x6FCF00},
    {0x6B8A, "VCTE1 target", "deg.", 0.5f, -64.0f, 0x6060C0},
    {0x6B8B, "VCTE1 actual", "deg.", 0.5f, -64.0f, 0x5858A0},
    {0x6B94, "VCTE2 target", "deg.", 0.5f, -64.0f, 0x40FFC0},
    {0x6B95, "VCTE2 actual", "deg.", 0.5f, -64.0f, 0x30CFA0},
    {0x6B70, "VCTI1 ES", "%", 0.4f, 0.0f, 0x10FFFF},
    {0x6B84, "VCTE1 ES", "%", 0.4f, 0.0f, 0x10FFFF},
    {0x6B78, "VCTI1 out", "%", 0.4f, 0.0f, 0x10FFFF},
    {0x6B82, "VCTI2 out", "%", 0.4f, 0.0f, 0x10FFFF},
    {0x6B8C, "VCTE1 out", "%", 0.4f, 0.0f, 0xC0C0FF},
    {0x6B96, "VCTE2 out", "%", 0.4f, 0.0f, 0xC0C0FF},
    {0x6BBA, "VCTI LD", "%", 0.4f, 0.0f, 0xC0C0FF},
    {0x6BBE, "VCTE LD", "%", 0.4f, 0.0f, 0xC0C0FF},
}};

}  // namespace

const std::array<VctChannel, vctchannelcount>& vctchannels() {
  return channels;
}

RequestTable vctrequesttable() {
  return requesttableof([](int k) { return channels[static_cast<std::size_t>(k)].address; });
}

float vctvalue(int channel, std::uint8_t raw) {
  const VctChannel& c = channels[static_cast<std::size_t>(channel)];
  return static_cast<float>(raw) * c.gain + c.offset;
}

QString vctvaluetext(float value) {
  // Seven significant digits are all a single holds; more would show its binary noise (3.6000001 for 9 x 0.4).
  return QString::number(static_cast<double>(value), 'g', 7);
}

QString vctexporttext(float value) {
  return formatregional(value, 1, Grouping::none);
}

bool VctBuffer::take(const RxFrame& frame) {
  if (count_ >= size) {
    count_ = 0;
    return true;
  }
  std::copy_n(frame.begin(), vctchannelcount, samples_[static_cast<std::size_t>(count_)].begin());
  ++count_;
  return false;
}

std::vector<QStringList> vctexportrows(const std::vector<VctBuffer::Sample>& samples) {
  std::vector<QStringList> rows;
  rows.reserve(samples.size() + 1);
  QStringList header;
  for (const VctChannel& c : channels) header << QString::fromLatin1(c.label);
  rows.push_back(header);
  for (const VctBuffer::Sample& sample : samples) {
    QStringList row;
    row.reserve(vctchannelcount);
    for (int k = 0; k < vctchannelcount; ++k) row << vctexporttext(vctvalue(k, sample[static_cast<std::size_t>(k)]));
    rows.push_back(row);
  }
  return rows;
}

}  // namespace ostrel
