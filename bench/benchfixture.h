#pragma once

#include <QTemporaryDir>
#include <QTime>
#include <cstdint>

#include "calibration/maps.h"
#include "ecusim/ecusimulator.h"
#include "ecusim/simport.h"
#include "link/eculink.h"
#include "logger/logsamples.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

// The parts a benchmark builds its windows or jobs on: a fresh install folder (set first, so that the model and
// whatever follows find it), the program state, a calibration model and a link to a simulated ECU that is never
// opened.
struct OfflineParts {
  QTemporaryDir folder;
  bool folderset = (ostrel::setinstallfolder(folder.path()), true);
  ostrel::ProgramState state;
  ostrel::RecordingPrompts prompts;
  ostrel::maps model{prompts};
  ostrel::ecusim::EcuSimulator sim;
  ostrel::ecusim::SimPort port{sim};
  ostrel::EcuLink link{state, model, prompts, port};
};

// A full log store: 48,000 samples at about 13 a second from 14:00, every byte in use.
inline void fillstore(ostrel::logsamples& store) {
  store.resetlogsamples();
  for (int s = 0; s < ostrel::logsamplecount; ++s) {
    for (int c = 0; c < 16; ++c) store.setlogdata(s, c, static_cast<std::uint8_t>((s * 7 + c * 31) & 0xFF));
    store.setlogtimestamp(s, QTime(14, 0).addSecs(s / 13));
  }
}
