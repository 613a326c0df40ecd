#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string_view>
#include <vector>

#include "calibration/maps.h"
#include "platform/prompts.h"

namespace ostrel::ecusim {

// What can go wrong with one reply. Tests name the mode they provoke.
// droppedbytes loses one to three bytes from inside the reply; extrabytes adds one to eight garbage bytes before or
// after it.
enum class Fault { none, noreply, shortreply, corruptbyte, latereply, hangup, droppedbytes, extrabytes };
inline constexpr std::array<Fault, 7> faultmodes = {Fault::noreply,    Fault::shortreply,   Fault::corruptbyte,
                                                    Fault::latereply,  Fault::hangup,       Fault::droppedbytes,
                                                    Fault::extrabytes};
// Every fault of a reply that leaves the line up.
inline constexpr std::array<Fault, 6> linefaults = {Fault::noreply,   Fault::shortreply,   Fault::corruptbyte,
                                                    Fault::latereply, Fault::droppedbytes, Fault::extrabytes};
std::string_view faultname(Fault fault);
std::optional<Fault> faultbyname(std::string_view name);

// One reply on its way to the line; a late one is held back by the transport until after the link's next check.
struct Reply {
  std::vector<std::uint8_t> bytes;
  bool late = false;
};

// The ECU's side of the link, with no transport: request frames go in, reply frames come out. It keeps a 32 KB
// calibration image (ECU 0x8000 to 0xFFFF) and 32 KB of RAM (0x0000 to 0x7FFF), answers live site and live values
// for the requested map (with that map's checksum of its image and firmware byte 64), window data from the RAM
// addresses of its request tables at 0x6DB0 and 0x6DC0, RAM writes, row writes and row reads, and runs a small
// engine whose speed, load and mixture move so that a person watching sees something happen. The RAM that the live
// windows ask for moves with it: input levels and input functions, fuel multipliers and fuel times, the long-term
// trim table (learnt once the engine is warm), the input diagnostic's inputs, and the firmware signature, worked
// out while the request table points at it.
class EcuSimulator {
 public:
  static constexpr int ramsize = 0x8000;
  static constexpr int historysize = 4096;

  explicit EcuSimulator(std::uint32_t seed = 1);
  ~EcuSimulator();
  EcuSimulator(const EcuSimulator&) = delete;
  EcuSimulator& operator=(const EcuSimulator&) = delete;

  // --- Memory ------------------------------------------------------------------------------------------------------
  const CalibrationImage& image() const { return image_; }
  void setimage(const CalibrationImage& image);
  std::uint8_t ram(int address) const { return ram_[address & (ramsize - 1)]; }
  void setram(int address, std::uint8_t value) { ram_[address & (ramsize - 1)] = value; }
  // Its own checksum of a map, computed from its image by the calibration model.
  int checksum(int map);

  // --- Faults ------------------------------------------------------------------------------------------------------
  // Chance (0 to 1) that a reply suffers the fault.
  void setfaultrate(Fault fault, double rate);
  // No reply, short reply, corrupted byte and late reply in equal parts, together at the given rate.
  void setmixedfaults(double rate);
  // The given faults in equal parts, together at the given rate.
  void setmixedfaults(double rate, std::span<const Fault> faults);
  // The next count replies suffer the fault, whatever the rates say.
  void injectfault(Fault fault, int count = 1);
  int faultcount(Fault fault) const { return faultcounts_[static_cast<int>(fault)]; }
  int faultstotal() const;

  // --- Protocol ----------------------------------------------------------------------------------------------------
  struct Output {
    std::vector<Reply> replies;
    bool hangup = false;  // the line goes dead now; nothing more is answered
  };
  // Takes bytes from the line and answers every complete request frame among them. Bytes that do not start a
  // valid frame are dropped one at a time until a frame lines up.
  Output receive(std::span<const std::uint8_t> bytes);

  int requests() const { return requests_; }
  int badframes() const { return badframes_; }
  // The data bytes of every reply made to an op, oldest first (as meant, before any fault), the last historysize.
  const std::deque<std::array<std::uint8_t, 18>>& sent(std::uint8_t op) const;
  // The request table (RAM 0x6DB0 to 0x6DBF, then 0x6DC0 to 0x6DCF) that each window-data reply of sent(0x93)
  // answered, in the same order.
  using RequestLists = std::array<std::array<std::uint8_t, 16>, 2>;
  const std::deque<RequestLists>& windowtables() const { return windowtables_; }
  // The window-data replies from position from of sent(0x93) on that answered the table.
  std::vector<std::array<std::uint8_t, 18>> repliesto(const RequestLists& table, std::size_t from = 0) const;

  // --- Engine ------------------------------------------------------------------------------------------------------
  double secondsperrequest = 0.03;  // engine time that passes with each request
  // False: the engine stands still, and so do its values in RAM (tests that compare a copy of RAM with it).
  bool enginerunning = true;
  std::uint8_t fwversion = 64;
  std::uint8_t pwprotected = 0;
  std::uint8_t pwmatchmask = 0;
  std::uint8_t afrerrorhold = 0;
  // The firmware signature at 0x6CF6 to 0x6CF9 once worked out; the progress byte 0x6CFC moves every
  // signaturestep requests while the request table points at 0x6CF0, and the signature is there after
  // signaturesteps moves.
  std::array<std::uint8_t, 4> firmwaresignature = {12, 200, 7, 99};
  static constexpr int signaturestep = 4;
  static constexpr int signaturesteps = 12;
  // Long-term trims are learnt above this coolant temperature, one step every lttlearnseconds.
  static constexpr double lttlearncoolant = 50;
  static constexpr double lttlearnseconds = 0.5;
  double leanoffset = 0;  // added to the engine's lambda: above 0 it runs lean, below 0 rich
  struct Engine {
    double time = 0;
    double rpm = 850;
    double tps = 5;        // percent
    double mapmmhg = 260;  // manifold absolute pressure
    double coolant = 40;   // degrees C
    double lambda = 1.0;
    int knock = 0;
    std::array<double, 4> camangle{};  // actual cam angles, degrees: intake 1 and 2, exhaust 1 and 2
  };
  const Engine& engine() const { return engine_; }
  // The live cell the ECU reports for a map: (rpm point, load or throttle point) on 3-D maps, (0, column) elsewhere.
  std::pair<int, int> livecell(int map);

 private:
  std::array<std::uint8_t, 18> answer(std::span<const std::uint8_t> frame);
  std::array<std::uint8_t, 18> livesite(int map);
  std::array<std::uint8_t, 18> livevalues(int map);
  std::array<std::uint8_t, 18> windowdata() const;
  void stepengine(double seconds);
  void writeliveram();
  // The RAM of the live diagnostic windows.
  void seedwindowram();
  void writeinputsram();
  void writefuelram(double seconds);
  void learntrims(double seconds);
  void writesignatureram();
  void writediagnosticram();
  void writecamram(double seconds);
  void writetriggerram();
  Fault choosefault();
  maps& model();

  CalibrationImage image_{};
  std::array<std::uint8_t, ramsize> ram_{};
  bool modelstale_ = true;
  RecordingPrompts prompts_;  // the model never asks anything here
  std::unique_ptr<maps> model_;

  std::vector<std::uint8_t> input_;
  int requests_ = 0;
  int badframes_ = 0;
  bool hungup_ = false;
  std::array<std::deque<std::array<std::uint8_t, 18>>, 256> sent_;
  std::deque<RequestLists> windowtables_;

  std::mt19937 faultrng_;
  std::mt19937 enginerng_;
  std::mt19937 camrng_;  // apart from the engine's, so the cams leave the engine's course as it was
  std::array<double, 8> faultrates_{};
  std::deque<Fault> injected_;
  std::array<int, 8> faultcounts_{};

  Engine engine_;
  double lasttps_ = 5;
  double lttclock_ = 0;
  int signaturerequests_ = 0;
  int signaturemoves_ = 0;
};

}  // namespace ostrel::ecusim
