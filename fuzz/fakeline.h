#pragma once

// The line and the ECU of the link's fuzz target: a port whose every arriving byte carries the number of requests
// written before it came, and an ECU that applies every request and works out the answer it would send. What
// actually arrives is the fuzzer's choice (link_fuzz.cpp).

#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "calibration/maps.h"
#include "link/commport.h"
#include "platform/prompts.h"

namespace ostrel::fuzz {

using Wire = std::array<std::uint8_t, 19>;
using Data = std::array<std::uint8_t, 18>;

// The 19 bytes of a reply as they go on the wire: the check byte, then data bytes 17 down to 0. Written here
// apart from the link's own codec, so that a fault in that codec is no fault of the referee too.
inline Wire wireof(const Data& data) {
  Wire wire{};
  unsigned sum = 0;
  for (int i = 1; i <= 18; ++i) {
    wire[i] = data[18 - i];
    sum += wire[i];
  }
  wire[0] = static_cast<std::uint8_t>(sum & 0xFF);
  return wire;
}
inline Data dataof(const Wire& wire) {
  Data data{};
  for (int i = 1; i <= 18; ++i) data[18 - i] = wire[i];
  return data;
}
inline bool checkbyteright(const Wire& wire) {
  unsigned sum = 0;
  for (int i = 1; i <= 18; ++i) sum += wire[i];
  return wire[0] == (sum & 0xFF);
}

// A request frame is whole and its two check bytes are right.
inline bool framewellformed(const std::vector<std::uint8_t>& f) {
  const std::size_t n = f.size();
  if (n < 5 || f[1] != n) return false;
  unsigned sum = 0, products = 0;
  for (std::size_t i = 0; i + 2 < n; ++i) sum += f[i];
  for (std::size_t i = 0; i + 3 < n; ++i) products += unsigned{f[i]} * f[i + 1];
  return f[n - 2] == (sum & 0xFF) && f[n - 1] == (products & 0xFF);
}

// Image row of a row write (0x81) or row read (0x82) frame; -1 for anything else.
inline int rowofframe(const std::vector<std::uint8_t>& f) {
  if (f.size() == 22 && f[0] == 0x81) {
    const int address = f[2] * 256 + f[3];
    return address >= 0x8000 && (address & 15) == 0 ? (address - 0x8000) / 16 : -1;
  }
  if (f.size() == 7 && f[0] == 0x82) return f[3] * 16 + f[4] / 16;
  return -1;
}

struct Arrived {
  std::uint8_t byte;
  std::uint32_t after;  // requests written before the byte arrived
};

class FakeLine final : public CommPort {
 public:
  bool open(const QString& device, QString& reason) override {
    if (refuse) {
      reason = QStringLiteral("refused");
      return false;
    }
    // Whatever the line held stays: a link must not take it for an answer after opening.
    open_ = true;
    failed_ = false;
    device_ = device;
    return true;
  }
  void close() override { open_ = false; }
  bool isopen() const override { return open_; }
  QString device() const override { return device_; }
  int inbuffercount() override { return open_ && !failed_ ? static_cast<int>(inbox.size()) : 0; }
  int read(std::uint8_t* buffer, int max) override {
    if (!open_ || failed_) return 0;
    int n = 0;
    for (; n < max && !inbox.empty(); ++n) {
      buffer[n] = inbox.front().byte;
      reads.push_back(inbox.front());
      inbox.pop_front();
    }
    return n;
  }
  bool write(const std::uint8_t* data, int len) override {
    if (!open_ || failed_) return false;
    frames.emplace_back(data, data + len);
    ++written;
    return true;
  }
  void discardinput() override {
    if (open_ && !failed_) inbox.clear();
  }
  bool failed(QString* reason) const override {
    if (failed_ && reason) *reason = QStringLiteral("unplugged");
    return failed_;
  }

  void unplug() { failed_ = true; }
  void deliver(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) inbox.push_back({b, written});
  }

  std::deque<Arrived> inbox;
  std::vector<std::vector<std::uint8_t>> frames;  // written during the current tick
  std::vector<Arrived> reads;                     // read during the current tick
  std::uint32_t written = 0;
  bool refuse = false;

 private:
  bool open_ = false;
  bool failed_ = false;
  QString device_;
};

// The ECU: RAM, the calibration image, and the live values it reports. Every request is applied whatever then
// happens to its answer on the way back.
struct FakeEcu {
  CalibrationImage image{};
  std::array<std::uint8_t, 0x8000> ram{};
  Data site{}, values{};
  std::uint32_t requests = 0;
  int changes = 0;  // the image was changed behind the PC's back

  Wire answer(const std::vector<std::uint8_t>& f) {
    ++requests;
    Data d{};
    const auto echo = [&] {
      std::copy_n(f.begin() + 4, 16, d.begin());
      d[16] = f[2];
      d[17] = f[3];
    };
    switch (f[0]) {
      case 0x90:
        d = site;
        d[1] = static_cast<std::uint8_t>(d[1] + requests);  // the engine speed moves
        break;
      case 0x91: {
        d = values;
        const int map = f[2];
        const int sum = (map * 0x1F3 + image[(map * 277) % imagesize]) & 0xFFFF;
        d[3] = static_cast<std::uint8_t>(sum >> 8);
        d[7] = static_cast<std::uint8_t>(sum & 0xFF);
        d[0] = static_cast<std::uint8_t>(requests);
        break;
      }
      case 0x93:
        for (int k = 0; k < 16; ++k) {
          const int at = k < 8 ? 0x6DB0 + 2 * k : 0x6DC0 + 2 * (k - 8);
          const int address = ram[at] * 256 + ram[at + 1];
          if (address != 0xFFFF) d[k] = address < 0x8000 ? ram[address] : image[address - 0x8000];
        }
        break;
      case 0x80: {
        const int address = f[2] * 256 + f[3];
        for (int j = 0; j < 16; ++j)
          if (address + j < 0x8000) ram[address + j] = f[4 + j];
        echo();
        break;
      }
      case 0x81: {
        const int row = rowofframe(f);
        if (row >= 0 && row < imagerows) std::copy_n(f.begin() + 4, 16, image.begin() + 16 * row);
        echo();
        break;
      }
      case 0x82: {
        const int row = rowofframe(f);
        if (row >= 0 && row < imagerows) std::copy_n(image.begin() + 16 * row, 16, d.begin());
        d[16] = f[3];
        d[17] = f[4];
        break;
      }
      default:
        break;
    }
    return wireof(d);
  }
};

// Answers every question with its most cautious button: a verify stops at its first differing byte.
class FuzzPrompts final : public Prompts {
 public:
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  QString openfilename(const QString&, const QString&, const QString&) override { return {}; }
  QString savefilename(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QColor> colour(const QColor&) override { return std::nullopt; }
  int shown = 0;

 protected:
  Answer showmessage(const QString&, Icon, Buttons buttons, const QString&) override {
    ++shown;
    switch (buttons) {
      case Buttons::Ok:
        return Answer::Ok;
      case Buttons::OkCancel:
      case Buttons::YesNoCancel:
        return Answer::Cancel;
      case Buttons::YesNo:
        return Answer::No;
    }
    return Answer::Ok;
  }
};

}  // namespace ostrel::fuzz
