#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "common/linkhelpers.h"
#include "common/testsupport.h"
#include "ecusim/ecusimulator.h"
#include "ecusim/ptyserver.h"
#include "ecusim/simport.h"
#include "link/eculink.h"
#include "link/serialcommport.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel::test {

// Writes "comports.txt" in the install folder: the device as port 1. False when the file could not be written.
bool writecomports(const QString& device);

// What every test over the ECU simulator starts from: a fresh install folder (first, so that everything built
// later finds it) and the simulator, seeded for its faults and engine.
struct RigBase {
  explicit RigBase(std::uint32_t seed = 1) : sim(seed) {}
  TempInstallFolder folder;
  ecusim::EcuSimulator sim;
};

// The simulator on a pseudo-terminal and the real serial port that reaches it; "comports.txt" names it as port 1.
// Built after the install folder and the simulator it serves.
struct PtyLine {
  explicit PtyLine(ecusim::EcuSimulator& sim);
  bool ready() const { return opened; }  // false when no pseudo-terminal could be made (error says why)
  QString device() const { return QString::fromStdString(server.path()); }

  ecusim::PtyServer server;
  SerialCommPort port;
  bool opened = false;
  std::string error;
};

// The simulator behind the in-process port, for tests that build the program's parts themselves.
struct SimEcu : RigBase {
  explicit SimEcu(std::uint32_t seed = 1) : RigBase(seed) {}
  ecusim::SimPort port{sim};
};

// The simulator on a pseudo-terminal, for tests that build the program's parts themselves.
struct PtyEcu : RigBase, PtyLine {
  explicit PtyEcu(std::uint32_t seed = 1) : RigBase(seed), PtyLine(sim) {}
};

// What the main calibration model and the simulator start with: both the shipped calibration, or both blank (the
// model as constructed, the simulator's own empty image).
enum class StartImage { shipped, blank };

// What a test of the link, or of a window above it, works on: a fresh install folder, state and prompts, both
// calibration models, the settings tables, and the simulator, over whatever port the rig puts behind the link.
struct RigParts : RigBase {
  explicit RigParts(std::uint32_t seed = 1, StartImage start = StartImage::shipped);
  ProgramState state;
  RecordingPrompts prompts;
  maps mainmaps{prompts};
  maps templatemaps{prompts};
  settings mainsettings;

  // Writes "comports.txt" naming the device as port 1.
  bool writecomports(const QString& device) const;
  // Image row r as the simulator holds it and as the main model holds it.
  std::vector<std::uint8_t> simrow(int row) const;
  std::vector<std::uint8_t> modelrow(int row) const;
  bool simholdsmodel() const;
};

// The link over the in-process simulator (SimPort): time passes only through tick().
struct Rig : RigParts {
  Rig() = default;
  explicit Rig(std::uint32_t seed, StartImage start = StartImage::shipped) : RigParts(seed, start) {}

  ecusim::SimPort port{sim};
  EcuLink link{state, mainmaps, prompts, port};

  // Opens the port and passes the start-up wait (the first tick finds no reply, three idle ticks, the fifth sends
  // slot 0 again): the next tick takes the reply to slot 0 and sends slot 1.
  void connect();
  // Ticks of the communications timer, with the simulator's answer waiting before the next.
  void tick(int ticks = 1);
};

// The link through the real QSerialPort to the simulator on a pseudo-terminal; "comports.txt" names it as port 1.
struct PtyRig : RigParts, PtyLine {
  explicit PtyRig(std::uint32_t seed = 1, StartImage start = StartImage::shipped)
      : RigParts(seed, start), PtyLine(sim) {}

  // One tick of the communications timer; the ECU answers and its answer is on the line before the next tick.
  // False when the answer did not arrive.
  bool tick();
  bool tick(int ticks);

  EcuLink link{state, mainmaps, prompts, port};
  bool answering = true;  // false: the ECU stays silent
};

}  // namespace ostrel::test
