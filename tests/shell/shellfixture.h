#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "calibration/maps.h"
#include "calibration/maps25.h"
#include "calibration/settings.h"
#include "common/testrig.h"
#include "common/testsupport.h"
#include "ecusim/ecusimulator.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "mapviews/mapgrid.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "shell/mainwindow.h"
#include "shell/menus.h"
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

// The program as it runs over the ECU that Ecu puts behind the port (SimEcu or PtyEcu), every tick driven by the
// test: the shell's parts, the start procedure and the main window it opened.
template <class Ecu>
class ProgramTest : public ::testing::Test, protected Ecu {
 protected:
  // Runs the start procedure; the ECU then holds what the program opened, and the start's messages are forgotten.
  void startprogram() {
    window = test::startprogram(start);
    ASSERT_NE(window, nullptr);
    this->sim.setimage(parts.mainmaps.getimage());
    parts.prompts.clear();
  }

  // One tick of the communications timer, and the ECU's answer to what it sent.
  virtual void commstep() = 0;
  void commsteps(int n) {
    for (int i = 0; i < n; ++i) commstep();
  }
  // Connects from the menu and lets the link settle.
  void connect() {
    window->menus().action("mnuComsConnect")->trigger();
    ASSERT_TRUE(parts.state.online);
    commsteps(10);
  }

  static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &event);
  }
  QWidget* grid() const { return window->frmMapGrid->MapGrid(); }

  std::vector<std::uint8_t> simrow(int row) const { return test::simrow(this->sim, row); }
  std::vector<std::uint8_t> modelrow(int row) const { return test::modelrow(parts.mainmaps, row); }

  ShellParts parts{this->port};
  StartProcedure start{parts.context};
  VelkorV5* window = nullptr;
};

// The program over the in-process simulator, which has answered once the port steps.
class SimProgramTest : public ProgramTest<SimEcu> {
 protected:
  void commstep() override {
    window->timers().commstick();
    port.step();
  }
};

}  // namespace ostrel::test
