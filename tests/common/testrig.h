#pragma once

#include <QString>
#include <cstdint>
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

// What a test of the link, or of a window above it, works on: a fresh install folder, state and prompts, both
// calibration models (the main one holding the shipped calibration), the settings tables, and a link to the ECU
// simulator over whatever port the rig puts behind it. Members are built in order: the folder first.
struct RigParts {
  TempInstallFolder folder;
  ProgramState state;
  RecordingPrompts prompts;
  maps mainmaps{prompts};
  maps templatemaps{prompts};
  settings mainsettings;
  ecusim::EcuSimulator sim;

  RigParts();
  // Writes "comports.txt" naming the device as port 1.
  void writecomports(const QString& device) const;
  // Image row r as the simulator holds it and as the main model holds it.
  std::vector<std::uint8_t> simrow(int row) const;
  std::vector<std::uint8_t> modelrow(int row) const;
  bool simholdsmodel() const;
};

// The link over the in-process simulator (SimPort): time passes only through tick().
struct Rig : RigParts {
  ecusim::SimPort port{sim};
  EcuLink link{state, mainmaps, prompts, port};

  // Opens the port and passes the start-up wait (the first tick finds no reply, three idle ticks, the fifth sends
  // slot 0 again): the next tick takes the reply to slot 0 and sends slot 1.
  void connect();
  // Ticks of the communications timer, with the simulator's answer waiting before the next.
  void tick(int ticks = 1);
};

// The link through the real QSerialPort to the simulator on a pseudo-terminal; "comports.txt" names it as port 1.
struct PtyRig : RigParts {
  PtyRig();
  bool ready() const { return opened; }  // false when no pseudo-terminal could be made (error says why)

  // One tick of the communications timer; the ECU answers and its answer is on the line before the next tick.
  // False when the answer did not arrive.
  bool tick();
  bool tick(int ticks);

  ecusim::PtyServer server{sim};
  SerialCommPort port;
  EcuLink link{state, mainmaps, prompts, port};
  bool opened = false;
  std::string error;
  bool answering = true;  // false: the ECU stays silent
};

}  // namespace ostrel::test
