#pragma once

#include <QFile>
#include <QTime>
#include <functional>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "link/frames.h"
#include "logger/logsamples.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel::test {

// A reply whose 16 data bytes are first, first + 1, ... (mod 256).
inline RxFrame reply(int first) {
  RxFrame frame{};
  for (int c = 0; c < 16; ++c) frame[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>((first + c) & 0xFF);
  return frame;
}

// Records samples 0 to count - 1 as if they had come from the ECU: sample s at the time second(s) gives (as a
// second of the day), channel c holding byte(s, c).
inline void record(
    logsamples& store, int count, const std::function<int(int)>& second,
    const std::function<int(int, int)>& byte = [](int s, int c) { return (s + 7 * c) & 0xFF; }) {
  for (int s = 0; s < count; ++s) {
    for (int c = 0; c < 16; ++c) store.setlogdata(s, c, static_cast<std::uint8_t>(byte(s, c)));
    store.setlogtimestamp(s, QTime(0, 0).addSecs(second(s)));
  }
}

// What the log's columns are made from: the channel tables, a calibration, petrol with channel c on variable c, and
// an empty store.
struct LogParts {
  LogParts() {
    store.resetlogsamples();
    for (int i = 0; i < 16; ++i) state.logvar[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    state.preferences.fueltype = 1;
  }

  settings tables;
  RecordingPrompts modelprompts;
  maps model{modelprompts};
  ProgramState state;
  logsamples store;
};

inline bool writebytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return f.write(bytes) == bytes.size();
}

inline QByteArray readbytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace ostrel::test
