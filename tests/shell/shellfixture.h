#pragma once

#include <QApplication>
#include <QFile>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "calibration/maps.h"
#include "calibration/maps25.h"
#include "calibration/settings.h"
#include "common/testsupport.h"
#include "ecusim/ecusimulator.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "shell/mainwindow.h"
#include "shell/shellcontext.h"
#include "shell/splash.h"
#include "shell/startup.h"
#include "shell/statuslog.h"

namespace ostrel::test {

// The parts the shell works on, over whatever port the test puts behind the link. The install folder must be set
// before they are built.
struct ShellParts {
  explicit ShellParts(CommPort& port) : link(state, mainmaps, prompts, port) {}

  ProgramState state;
  RecordingPrompts prompts;
  maps mainmaps{prompts};
  maps templatemaps{prompts};
  Maps25 oldmaps;
  settings mainsettings;
  logsamples logstore;
  StatusLog log;
  EcuLink link;
  ImageTransfer transfer{state, mainmaps, prompts, link};
  ProgressJobs progressjobs{state, mainmaps, mainsettings, logstore, link, prompts};
  ShellContext context{state,    prompts,      mainmaps, mainsettings, log,         link,
                       transfer, templatemaps, oldmaps,  logstore,     progressjobs};
};

// Runs the start procedure with the splash ticks driven by hand and the main window's timers stopped, so that the
// test calls every tick itself. Returns the main window.
inline VelkorV5* startprogram(StartProcedure& start) {
  QApplication::setQuitOnLastWindowClosed(false);
  start.begin();
  start.splash()->Timer1->stop();
  for (int i = 0; i < StartProcedure::splashticks; ++i) start.splash()->tick();
  VelkorV5* window = start.mainwindow();
  if (window) {
    window->TimerComms->stop();
    window->TimerCommands->stop();
    window->timerChecks->stop();
  }
  return window;
}

// Writes a file of the given bytes.
inline bool writefile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes) == bytes.size();
}

// Image row r as the simulator holds it and as the model holds it, for comparing what reached the ECU.
inline std::vector<std::uint8_t> simrow(const ecusim::EcuSimulator& sim, int row) {
  return {sim.image().begin() + 16 * row, sim.image().begin() + 16 * row + 16};
}
inline std::vector<std::uint8_t> modelrow(const maps& model, int row) {
  std::vector<std::uint8_t> bytes;
  for (int j = 0; j < 16; ++j) bytes.push_back(model.getmapbufferbyte(row, j));
  return bytes;
}

inline QByteArray readfile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace ostrel::test
