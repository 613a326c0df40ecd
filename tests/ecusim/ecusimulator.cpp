#include "ecusim/ecusimulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "calibration/settings.h"

namespace ostrel::ecusim {

namespace {

constexpr std::array<std::string_view, 8> faultnames = {"none",   "noreply", "short", "corrupt",
                                                        "late",   "hangup",  "drop",  "extra"};

// Request frames the ECU knows, by op, with their length.
int framelength(std::uint8_t op) {
  switch (op) {
    case 0x90:
    case 0x91:
    case 0x93:
      return 5;
    case 0x80:
    case 0x81:
      return 22;
    case 0x82:
      return 7;
    default:
      return 0;
  }
}

// The ECU checks a request just as the PC builds it: byte sum, then the sum of neighbouring products.
bool checksok(std::span<const std::uint8_t> frame) {
  const std::size_t n = frame.size();
  unsigned sum = 0, products = 0;
  for (std::size_t i = 0; i + 2 < n; ++i) sum += frame[i];
  for (std::size_t i = 0; i + 3 < n; ++i) products += unsigned{frame[i]} * frame[i + 1];
  return frame[n - 2] == (sum & 0xFF) && frame[n - 1] == (products & 0xFF);
}

std::vector<std::uint8_t> wireof(const std::array<std::uint8_t, 18>& data) {
  std::vector<std::uint8_t> wire(19);
  unsigned sum = 0;
  for (int i = 1; i <= 18; ++i) {
    wire[i] = data[18 - i];
    sum += wire[i];
  }
  wire[0] = static_cast<std::uint8_t>(sum & 0xFF);
  return wire;
}

std::uint8_t clampbyte(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0));
}

// The 3-D maps whose second axis is the throttle rather than the load.
constexpr std::array<int, 8> throttlemaps = {2, 5, 6, 10, 13, 14, 16, 20};

// Index of the last breakpoint at or below value, the breakpoints being running sums of 31 increments.
int pointof(double value, const std::array<int, 31>& increments, double scale, double fallbackstep) {
  int total = 0;
  for (int inc : increments) total += inc;
  if (total == 0) return std::clamp(static_cast<int>(value / fallbackstep), 0, 31);
  double breakpoint = 0;
  int point = 0;
  for (int i = 0; i < 31; ++i) {
    breakpoint += increments[i] * scale;
    if (breakpoint > value) break;
    point = i + 1;
  }
  return point;
}

}  // namespace

std::string_view faultname(Fault fault) {
  return faultnames[static_cast<int>(fault)];
}

std::optional<Fault> faultbyname(std::string_view name) {
  for (std::size_t i = 0; i < faultnames.size(); ++i)
    if (faultnames[i] == name) return static_cast<Fault>(i);
  return std::nullopt;
}

EcuSimulator::EcuSimulator(std::uint32_t seed)
    : faultrng_(seed), enginerng_(seed * 7919u + 1u), camrng_(seed * 104729u + 3u) {
  model_ = std::make_unique<maps>(prompts_);
  writeliveram();
  seedwindowram();
  writecamram(0);
  writetriggerram();
}

EcuSimulator::~EcuSimulator() = default;

void EcuSimulator::setimage(const CalibrationImage& image) {
  image_ = image;
  modelstale_ = true;
}

maps& EcuSimulator::model() {
  if (modelstale_) {
    model_->setimage(image_);
    modelstale_ = false;
  }
  return *model_;
}

int EcuSimulator::checksum(int map) {
  if (map < 0 || map >= mapcount) return 0;
  return model().getchecksum(map);
}

void EcuSimulator::setfaultrate(Fault fault, double rate) {
  faultrates_[static_cast<int>(fault)] = rate;
}

void EcuSimulator::setmixedfaults(double rate) {
  constexpr std::array<Fault, 4> mixed = {Fault::noreply, Fault::shortreply, Fault::corruptbyte, Fault::latereply};
  setmixedfaults(rate, mixed);
}

void EcuSimulator::setmixedfaults(double rate, std::span<const Fault> faults) {
  faultrates_.fill(0);
  if (faults.empty()) return;
  for (Fault f : faults) faultrates_[static_cast<int>(f)] += rate / static_cast<double>(faults.size());
}

void EcuSimulator::injectfault(Fault fault, int count) {
  for (int i = 0; i < count; ++i) injected_.push_back(fault);
}

int EcuSimulator::faultstotal() const {
  int total = 0;
  for (Fault f : faultmodes) total += faultcount(f);
  return total;
}

const std::deque<std::array<std::uint8_t, 18>>& EcuSimulator::sent(std::uint8_t op) const {
  return sent_[op];
}

std::vector<std::array<std::uint8_t, 18>> EcuSimulator::repliesto(const RequestLists& table, std::size_t from) const {
  std::vector<std::array<std::uint8_t, 18>> replies;
  const auto& data = sent_[0x93];
  for (std::size_t i = from; i < data.size() && i < windowtables_.size(); ++i)
    if (windowtables_[i] == table) replies.push_back(data[i]);
  return replies;
}

Fault EcuSimulator::choosefault() {
  if (!injected_.empty()) {
    const Fault f = injected_.front();
    injected_.pop_front();
    return f;
  }
  double roll = std::uniform_real_distribution<double>(0.0, 1.0)(faultrng_);
  for (Fault f : faultmodes) {
    roll -= faultrates_[static_cast<int>(f)];
    if (roll < 0) return f;
  }
  return Fault::none;
}

EcuSimulator::Output EcuSimulator::receive(std::span<const std::uint8_t> bytes) {
  Output out;
  if (hungup_) return out;
  input_.insert(input_.end(), bytes.begin(), bytes.end());
  std::size_t pos = 0;
  while (pos < input_.size()) {
    const int len = framelength(input_[pos]);
    if (len == 0 || (pos + 1 < input_.size() && input_[pos + 1] != len)) {
      ++badframes_;
      ++pos;
      continue;
    }
    if (input_.size() - pos < static_cast<std::size_t>(len)) break;
    const std::span<const std::uint8_t> frame(input_.data() + pos, len);
    if (!checksok(frame)) {
      ++badframes_;
      ++pos;
      continue;
    }
    pos += len;
    ++requests_;
    const std::array<std::uint8_t, 18> data = answer(frame);
    auto& history = sent_[frame[0]];
    history.push_back(data);
    if (history.size() > historysize) history.pop_front();
    if (frame[0] == 0x93) {
      RequestLists& held = windowtables_.emplace_back();
      std::copy_n(ram_.begin() + 0x6DB0, 16, held[0].begin());
      std::copy_n(ram_.begin() + 0x6DC0, 16, held[1].begin());
      if (windowtables_.size() > historysize) windowtables_.pop_front();
    }

    const Fault fault = choosefault();
    ++faultcounts_[static_cast<int>(fault)];
    Reply reply{wireof(data), false};
    switch (fault) {
      case Fault::none:
        break;
      case Fault::noreply:
        continue;
      case Fault::shortreply:
        reply.bytes.resize(std::uniform_int_distribution<int>(1, 18)(faultrng_));
        break;
      case Fault::corruptbyte: {
        const int at = std::uniform_int_distribution<int>(0, 18)(faultrng_);
        reply.bytes[at] ^= static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 255)(faultrng_));
        break;
      }
      case Fault::latereply:
        reply.late = true;
        break;
      case Fault::droppedbytes: {
        const int count = std::uniform_int_distribution<int>(1, 3)(faultrng_);
        for (int k = 0; k < count; ++k) {
          const int at = std::uniform_int_distribution<int>(0, static_cast<int>(reply.bytes.size()) - 1)(faultrng_);
          reply.bytes.erase(reply.bytes.begin() + at);
        }
        break;
      }
      case Fault::extrabytes: {
        std::vector<std::uint8_t> garbage(std::uniform_int_distribution<std::size_t>(1, 8)(faultrng_));
        for (std::uint8_t& b : garbage) b = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(faultrng_));
        const bool before = std::uniform_int_distribution<int>(0, 1)(faultrng_) == 0;
        reply.bytes.insert(before ? reply.bytes.begin() : reply.bytes.end(), garbage.begin(), garbage.end());
        break;
      }
      case Fault::hangup:
        hungup_ = true;
        out.hangup = true;
        input_.clear();
        return out;
    }
    out.replies.push_back(std::move(reply));
  }
  input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(pos));
  return out;
}

std::array<std::uint8_t, 18> EcuSimulator::answer(std::span<const std::uint8_t> frame) {
  if (enginerunning) stepengine(secondsperrequest);
  std::array<std::uint8_t, 18> data{};
  switch (frame[0]) {
    case 0x90:
      return livesite(frame[2]);
    case 0x91:
      return livevalues(frame[2]);
    case 0x93:
      return windowdata();
    case 0x80: {
      const int address = frame[2] * 256 + frame[3];
      for (int j = 0; j < 16; ++j)
        if (address + j < ramsize) ram_[address + j] = frame[4 + j];
      std::copy_n(frame.begin() + 4, 16, data.begin());
      data[16] = frame[2];
      data[17] = frame[3];
      return data;
    }
    case 0x81: {
      const int offset = frame[2] * 256 + frame[3] - 0x8000;
      if (offset >= 0 && offset + 16 <= imagesize) {
        std::copy_n(frame.begin() + 4, 16, image_.begin() + offset);
        modelstale_ = true;
      }
      std::copy_n(frame.begin() + 4, 16, data.begin());
      data[16] = frame[2];
      data[17] = frame[3];
      return data;
    }
    case 0x82: {
      const int row = frame[3] * 16 + frame[4] / 16;
      if (row >= 0 && row < imagerows) std::copy_n(image_.begin() + 16 * row, 16, data.begin());
      data[16] = frame[3];
      data[17] = frame[4];
      return data;
    }
    default:
      return data;
  }
}

std::pair<int, int> EcuSimulator::livecell(int map) {
  const int kind = model().getcontextandtype(map);
  if (kind != 0) return {0, std::clamp(static_cast<int>(engine_.rpm / 500), 0, 15)};
  std::array<int, 31> rpminc{}, loadinc{};
  for (int i = 0; i < 31; ++i) {
    rpminc[i] = model().getdata(110, 6 + i / 16, i % 16);
    loadinc[i] = model().getdata(110, 4 + i / 16, i % 16);
  }
  const int row = pointof(engine_.rpm, rpminc, 5.0, 250.0);
  int col;
  if (std::find(throttlemaps.begin(), throttlemaps.end(), map) != throttlemaps.end())
    col = std::clamp(static_cast<int>(engine_.tps * 31 / 100), 0, 31);
  else
    col = pointof(engine_.mapmmhg, loadinc, 1.0, 40.0);
  return {row, col};
}

std::array<std::uint8_t, 18> EcuSimulator::livesite(int map) {
  const Engine& e = engine_;
  std::array<std::uint8_t, 18> d{};
  const int rpm = static_cast<int>(e.rpm);
  d[0] = static_cast<std::uint8_t>(rpm >> 8);
  d[1] = static_cast<std::uint8_t>(rpm & 0xFF);
  d[3] = clampbyte(std::max(0.0, 760 - e.mapmmhg) / 2.98);
  d[4] = static_cast<std::uint8_t>(e.knock);
  d[5] = clampbyte(e.rpm < 1200 ? 40 : 12);
  const auto [row, col] = livecell(map);
  if (model().getcontextandtype(map) == 0) {
    d[6] = static_cast<std::uint8_t>(row);
    d[7] = static_cast<std::uint8_t>(col);
  } else {
    d[6] = static_cast<std::uint8_t>(col);
  }
  d[8] = clampbyte((8 + e.rpm / 300 - (e.mapmmhg - 300) / 60 + 64) / 0.5);
  const double pulsems = 1.5 + e.mapmmhg / 760 * 7 / e.lambda;
  const int pulseus = static_cast<int>(pulsems * 1000);
  d[9] = static_cast<std::uint8_t>(pulseus >> 8);
  d[10] = static_cast<std::uint8_t>(pulseus & 0xFF);
  d[11] = clampbyte(pulsems / (120000.0 / std::max(e.rpm, 1.0)) * 100 / 0.4);
  d[12] = clampbyte(e.lambda < 1.0 ? 40 : 6);
  d[13] = clampbyte(e.lambda < 1.0 ? 38 : 7);
  d[14] = clampbyte(128 + (1.0 - e.lambda) * 60);
  d[15] = clampbyte(128 + (1.0 - e.lambda) * 55);
  return d;
}

std::array<std::uint8_t, 18> EcuSimulator::livevalues(int map) {
  const Engine& e = engine_;
  std::array<std::uint8_t, 18> d{};
  const int sum = checksum(map);
  const auto [row, col] = livecell(0);
  int target = model().getdata(19, row, col);
  if (target <= 0 || target > 255) target = 100;
  d[0] = 45;  // 25 degrees C intake air
  d[1] = clampbyte(e.coolant + 20);
  d[2] = clampbyte(e.tps / 0.4);
  d[3] = static_cast<std::uint8_t>(sum >> 8);
  d[4] = clampbyte(e.lambda * target);
  d[5] = clampbyte(e.rpm / 45);
  d[6] = clampbyte((13.9 - 10) / 0.02 + std::sin(e.time) * 3);
  d[7] = static_cast<std::uint8_t>(sum & 0xFF);
  d[8] = clampbyte(e.mapmmhg / 4);
  d[9] = static_cast<std::uint8_t>(target);
  d[10] = clampbyte(std::max(0.0, e.mapmmhg - 760) * 0.1333 / 2.12);
  d[11] = pwprotected;
  d[12] = pwmatchmask;
  d[14] = afrerrorhold;
  d[15] = fwversion;
  return d;
}

std::array<std::uint8_t, 18> EcuSimulator::windowdata() const {
  std::array<std::uint8_t, 18> d{};
  for (int k = 0; k < 16; ++k) {
    const int at = (k < 8 ? 0x6DB0 + 2 * k : 0x6DC0 + 2 * (k - 8));
    const int address = ram_[at] * 256 + ram_[at + 1];
    if (address == 0xFFFF) continue;
    d[k] = address < ramsize ? ram_[address] : image_[address - ramsize];
  }
  return d;
}

void EcuSimulator::stepengine(double dt) {
  Engine& e = engine_;
  e.time += dt;
  // A 20-second drive: idle, pull to high load, lift off, cruise, idle again.
  const double phase = std::fmod(e.time, 20.0);
  double target;
  if (phase < 4)
    target = 5;
  else if (phase < 8)
    target = 5 + (phase - 4) / 4 * 65;
  else if (phase < 11)
    target = 70;
  else if (phase < 13)
    target = 70 - (phase - 11) / 2 * 65;
  else if (phase < 18)
    target = 25;
  else
    target = 5;
  std::normal_distribution<double> noise(0.0, 1.0);
  e.tps = std::clamp(e.tps + (target - e.tps) * std::min(1.0, dt * 4) + noise(enginerng_) * 0.3, 0.0, 100.0);
  const double rpmtarget = 850 + e.tps * 75;
  e.rpm = std::clamp(e.rpm + (rpmtarget - e.rpm) * std::min(1.0, dt * 1.5) + noise(enginerng_) * 8, 600.0, 7500.0);
  e.mapmmhg = std::clamp(200 + e.tps * 8.5 + e.rpm * 0.02 + noise(enginerng_) * 3, 150.0, 1400.0);
  e.coolant += (88 - e.coolant) * dt * 0.02;
  const double lambdatarget = e.mapmmhg < 700 ? 1.0 : 0.85;
  e.lambda = lambdatarget * (1 + 0.03 * std::sin(2 * std::numbers::pi * e.time / 4.7)) + noise(enginerng_) * 0.004 +
             leanoffset;
  e.knock = 0;
  if (e.mapmmhg > 850 && std::uniform_real_distribution<double>(0, 1)(enginerng_) < 0.05)
    e.knock = std::uniform_int_distribution<int>(20, 90)(enginerng_);
  writeliveram();
  writeinputsram();
  learntrims(dt);
  writefuelram(dt);
  writesignatureram();
  writediagnosticram();
  writecamram(dt);
}

// Puts the engine's values at the RAM addresses of the live variable table, so that window data (the data logger's
// channels, the settings editor's values) moves with the engine.
void EcuSimulator::writeliveram() {
  static const settings table;
  const Engine& e = engine_;
  const auto put = [&](int variable, double raw) {
    const int address = table.getvarsaddress(variable, true);
    if (address > 0 && address < ramsize) ram_[address] = clampbyte(raw);
  };
  put(0, e.coolant + 20);
  put(1, e.lambda * 100);
  put(2, e.rpm / 50);
  put(3, e.tps / 0.4);
  put(4, std::max(0.0, e.mapmmhg - 760) * 0.1333 / 2.12);
  put(5, e.rpm / 45);
  put(7, 45);
  put(13, (1.5 + e.mapmmhg / 760 * 7 / e.lambda) / 0.32);
  put(14, std::max(0.0, 760 - e.mapmmhg) * 0.1333 / 0.392);
  put(15, (8 + e.rpm / 300 - (e.mapmmhg - 300) / 60 + 64) / 0.5);
  put(16, e.lambda < 1.0 ? 40 : 6);
  put(27, (13.9 - 10) / 0.02);
  put(28, e.mapmmhg / 760 * 100 / 0.57);
}

}  // namespace ostrel::ecusim

namespace ostrel::ecusim {

namespace {

constexpr int lttaddress = 0x6000;  // 8 rows of 16 bytes: trims in bytes 0 to 3, a fixed pattern after them
constexpr std::array<std::uint8_t, 12> lttpattern = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA,
                                                     0x55, 0xAA, 0x00, 0x00, 0x66, 0xBB};
constexpr int signatureaddress = 0x6CF0;
constexpr int progressaddress = 0x6CFC;

// The trim a cell settles at once learnt, and the one it holds when the simulator starts: small corrections of a
// few percent, different in every cell.
std::uint8_t learnttrim(int row, int col) {
  return static_cast<std::uint8_t>(128 + (row * 7 + col * 3) % 13 - 6);
}
std::uint8_t startingtrim(int row, int col) {
  return static_cast<std::uint8_t>(128 + (row * 5 + col * 11) % 9 - 4);
}

// A square wave: true for the share high of each period.
bool wave(double time, double hertz, double phase, double high) {
  return std::fmod(time * hertz + phase, 1.0) >= 1.0 - high;
}

}  // namespace

void EcuSimulator::seedwindowram() {
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 4; ++c) ram_[lttaddress + 16 * r + c] = startingtrim(r, c);
    std::copy(lttpattern.begin(), lttpattern.end(), ram_.begin() + lttaddress + 16 * r + 4);
  }
}

// The auxiliary inputs as switches on the car; the calibration uses some input functions, which are active while
// their input is high.
void EcuSimulator::writeinputsram() {
  const Engine& e = engine_;
  std::uint16_t levels = 0;
  const auto level = [&](int input, bool high) {
    if (high) levels = static_cast<std::uint16_t>(levels | (1u << (input - 1)));
  };
  level(1, e.tps > 60);                         // full-throttle switch
  level(2, wave(e.time, 0.33, 0, 0.33));        // a toggling switch
  level(3, e.rpm > 3000);                       // shift light
  level(4, e.coolant > 80);                     // fan thermoswitch
  level(5, true);                               // ignition feed
  level(9, wave(e.time, 1.0 / 7, 0, 2.0 / 7));  // air conditioning request
  level(12, e.mapmmhg > 760);                   // boost switch
  constexpr std::uint32_t used = (1u << 0) | (1u << 1) | (1u << 3) | (1u << 4) | (1u << 8) | (1u << 11) | (1u << 16) |
                                 (1u << 17) | (1u << 24) | (1u << 27);
  std::uint32_t status = 0;
  for (int f = 0; f < 32; ++f)
    if ((used >> f & 1u) && (levels >> (f % 16) & 1u)) status |= 1u << f;
  for (int i = 0; i < 4; ++i) {
    const int shift = 8 * (3 - i);  // most significant byte first
    ram_[0x6D80 + i] = static_cast<std::uint8_t>(status >> shift);
    ram_[0x6D88 + i] = static_cast<std::uint8_t>(used >> shift);
  }
  ram_[0x6D84] = static_cast<std::uint8_t>(levels >> 8);
  ram_[0x6D85] = static_cast<std::uint8_t>(levels & 0xFF);
}

void EcuSimulator::learntrims(double dt) {
  const Engine& e = engine_;
  const int row = std::clamp(static_cast<int>(e.rpm / 800), 0, 7);
  const int col = e.mapmmhg > 800 ? 0 : e.mapmmhg > 550 ? 1 : e.mapmmhg > 380 ? 2 : 3;
  std::uint8_t& trim = ram_[lttaddress + 16 * row + col];
  ram_[0x6BEA] = trim;  // the trim in use, as the fuel multipliers show it
  // No learning cold, nor below 800 rpm.
  if (e.coolant < lttlearncoolant || row == 0) return;
  lttclock_ += dt;
  if (lttclock_ < lttlearnseconds) return;
  lttclock_ = 0;
  const std::uint8_t target = learnttrim(row, col);
  if (trim < target) ++trim;
  if (trim > target) --trim;
}

void EcuSimulator::writefuelram(double dt) {
  const Engine& e = engine_;
  const double tpsrate = dt > 0 ? (e.tps - lasttps_) / dt : 0;  // percent per second
  lasttps_ = e.tps;
  const bool ac = wave(e.time, 1.0 / 7, 0, 2.0 / 7);
  // Raw bytes as the ECU keeps them: (raw - 128) x gain or raw x gain percent.
  ram_[0x6BC7] = 126;                                                   // air temperature, -0.40 %
  ram_[0x6A33] = clampbyte(128 + std::max(0.0, tpsrate) * 0.02 / 0.2);  // dTPS/dt
  ram_[0x6A27] = e.rpm > 2500 ? 133 : 128;                              // gear
  ram_[0x6DE3] = clampbyte(128 + (e.tps < 8 ? 2.0 : 0.0) / 0.1);        // ISC position
  ram_[0x6A6F] = clampbyte(std::max(0.0, 70 - e.coolant) * 0.6 / 0.4);  // coolant
  ram_[0x6CA2] = 128;                                                   // barometric
  ram_[0x6A1D] = 0;                                                     // cranking
  ram_[0x6ACA] = clampbyte(std::max(0.0, tpsrate) * 0.05);              // throttle pump
  ram_[0x6CAE] = ac ? 50 : 0;                                           // air conditioning, 5 %
  ram_[0x6BCE] = clampbyte(e.knock * 0.5 / 0.1);                        // knock
  ram_[0x6AC2] = clampbyte(std::max(0.0, 30 - e.time * 1.5) / 0.5);     // post-start

  double percent = 0;
  for (const auto& [address, offset, gain] : {std::tuple{0x6BC7, 128, 0.2},
                                              {0x6A33, 128, 0.2},
                                              {0x6A27, 128, 0.1},
                                              {0x6DE3, 128, 0.1},
                                              {0x6A6F, 0, 0.4},
                                              {0x6CA2, 128, 0.8},
                                              {0x6A1D, 0, 1.0},
                                              {0x6BEA, 128, 0.5},
                                              {0x6ACA, 0, 1.0},
                                              {0x6CAE, 0, 0.1},
                                              {0x6BCE, 0, 0.1},
                                              {0x6AC2, 0, 0.5}})
    percent += (ram_[address] - offset) * gain;
  // Fuel times in units of 1/800 ms.
  const auto puttime = [&](int address, double ms) {
    const int raw = std::clamp(static_cast<int>(std::nearbyint(ms * 800)), 0, 0xFFFF);
    ram_[address] = static_cast<std::uint8_t>(raw >> 8);
    ram_[address + 1] = static_cast<std::uint8_t>(raw & 0xFF);
  };
  const double indexed = 1.5 + e.mapmmhg / 760 * 7;
  puttime(0x6BC8, indexed);
  puttime(0x6AA6, std::max(0.0, indexed * (1 + percent / 100)));
}

// The signature is worked out only while the request table's first address is 0x6CF0; another table starts it
// again.
void EcuSimulator::writesignatureram() {
  if (ram_[0x6DB0] != (signatureaddress >> 8) || ram_[0x6DB1] != (signatureaddress & 0xFF)) {
    signaturerequests_ = 0;
    signaturemoves_ = 0;
    return;
  }
  if (++signaturerequests_ % signaturestep != 0 || signaturemoves_ >= 255) return;
  ++ram_[progressaddress];
  if (++signaturemoves_ == signaturesteps)
    std::copy(firmwaresignature.begin(), firmwaresignature.end(), ram_.begin() + signatureaddress + 6);
}

// The twenty inputs of the input diagnostic: ten auxiliary inputs as square waves (most low for 64 % of the time,
// AUX7 for half of it, AUX10 stuck high), a tachometer input and the trigger and sync bits at 0x0241. They move only
// while the input diagnostic's table is in place, so that other windows reading the same inputs see steady values
// that their tests set.
void EcuSimulator::writediagnosticram() {
  if (ram_[0x6DC0] != 0x6D || ram_[0x6DC1] != 0x98) return;
  const Engine& e = engine_;
  constexpr std::array<double, 10> hertz = {0.37, 0.53, 0.71, 0.29, 0.61, 0.43, 0.83, 0.47, 0.33, 0.0};
  constexpr std::array<double, 10> highshare = {0.36, 0.36, 0.36, 0.36, 0.36, 0.36, 0.5, 0.36, 0.36, 1.0};
  for (int k = 0; k < 10; ++k)
    ram_[0x6D90 + k] = static_cast<std::uint8_t>(wave(e.time, hertz[k], 0.13 * k, highshare[k]) ? 210 + k : 25 + k);
  ram_[0x6AF7] = wave(e.time, 1.13, 0, 0.4) ? 180 : 2;
  std::uint8_t bits = 0;
  if (wave(e.time, 2.37, 0, 0.23)) bits |= 0x01;
  if (wave(e.time, 1.91, 0.4, 0.23)) bits |= 0x02;
  ram_[0x0241] = bits;
}

// The variable cam timing control: each cam's target angle follows speed and throttle, its actual angle follows
// the target with a lag, and the control's error sum, output and load duty move with the difference.
void EcuSimulator::writecamram(double dt) {
  Engine& e = engine_;
  const double load = e.tps / 100;
  const double speed = std::clamp((e.rpm - 850) / 5000, 0.0, 1.0);
  const std::array<double, 4> targets = {8 + 30 * load * (1 - 0.4 * speed), 6 + 28 * load * (1 - 0.3 * speed),
                                         -4 - 18 * load * speed, -6 - 16 * load * speed};
  const std::array<int, 4> targetat = {0x6B76, 0x6B80, 0x6B8A, 0x6B94};  // the actual angle follows at + 1
  const std::array<int, 4> outputat = {0x6B78, 0x6B82, 0x6B8C, 0x6B96};
  std::normal_distribution<double> noise(0.0, 1.0);
  for (std::size_t c = 0; c < 4; ++c) {
    double& actual = e.camangle[c];
    if (dt == 0) actual = targets[c];
    actual += (targets[c] - actual) * std::min(1.0, dt * 2.5) + (dt == 0 ? 0 : noise(camrng_) * 0.3);
    const double error = targets[c] - actual;
    ram_[targetat[c]] = clampbyte((targets[c] + 64) / 0.5);
    ram_[targetat[c] + 1] = clampbyte((actual + 64) / 0.5);
    ram_[outputat[c]] = clampbyte((50 + error * 6) / 0.4);
  }
  ram_[0x6B70] = clampbyte((50 + (targets[0] - e.camangle[0]) * 2) / 0.4);
  ram_[0x6B84] = clampbyte((50 + (targets[2] - e.camangle[2]) * 2) / 0.4);
  ram_[0x6BBA] = clampbyte((20 + 60 * load) / 0.4);
  ram_[0x6BBE] = clampbyte((15 + 50 * load * speed) / 0.4);
}

// The ECU's capture of trigger and sync edges: 334 stamps of a 24-bit timer at 250 kHz each, the trigger stamps at
// 0x4000 from a 36-1 crank wheel (both edges of each tooth, none at the missing one) and the sync stamps at 0x4400
// from one cam tooth every second turn, taken at a steady 850 rpm.
void EcuSimulator::writetriggerram() {
  constexpr double countsperturn = 250000.0 * 60 / 850;
  constexpr double tooth = countsperturn / 36;
  constexpr double firststamp = 0x0F4240;
  const auto put = [&](int at, double stamp) {
    const auto count = static_cast<std::uint32_t>(std::nearbyint(stamp)) & 0xFFFFFF;
    ram_[at] = static_cast<std::uint8_t>(count >> 16);
    ram_[at + 1] = static_cast<std::uint8_t>(count >> 8);
    ram_[at + 2] = static_cast<std::uint8_t>(count);
  };
  int edge = 0;
  for (int position = 0; edge < 334; ++position) {
    const int turn = position / 36;
    const int teeth = position % 36;
    if (teeth == 35) continue;  // the missing tooth
    const double rising = firststamp + turn * countsperturn + teeth * tooth;
    put(0x4000 + 3 * edge++, rising);
    if (edge < 334) put(0x4000 + 3 * edge++, rising + tooth / 2);
  }
  for (int k = 0; k < 334; k += 2) {
    const double rising = firststamp + (k / 2) * 2 * countsperturn + 0.3 * countsperturn;
    put(0x4400 + 3 * k, rising);
    put(0x4400 + 3 * (k + 1), rising + countsperturn / 12);
  }
}

}  // namespace ostrel::ecusim
