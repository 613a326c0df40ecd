#pragma once

#include <QString>
#include <QTime>
#include <cstdint>
#include <optional>
#include <vector>

#include "link/frames.h"

namespace ostrel {

struct ProgramState;

inline constexpr int logsamplecount = 48000;  // samples 0 to 47,999
inline constexpr int logchannelcount = 16;
inline constexpr std::int32_t logidle = -50;    // the sample counter from start-up until the logger restarts
inline constexpr std::int32_t logwarmup = -49;  // a restart counts 49 replies before it stores the first

// The data logger's sample store: 16 channels of 48,000 raw bytes, and the time of day (to the second) at which
// each sample was stored. A sample not recorded since the last reset reads as data 0 with time stamp "0"; before
// the first reset the time stamps are empty texts.
//
// Replay moves the program's sample counter, which is also where the next reply is stored. So that a replay never
// overwrites a recording, the first replay step keeps the recording position here, and the next stored reply goes
// on from it (addlogsample).
class logsamples {
 public:
  logsamples();

  // Out-of-range samples or channels store nothing.
  void setlogdata(std::int32_t sample, int channel, std::uint8_t value);
  // 0 for a sample outside 0..47,999 or a channel outside 0..15.
  std::uint8_t getlogdata(std::int32_t sample, int channel) const {
    return inrange(sample, channel)
               ? data_[static_cast<std::size_t>(sample) * logchannelcount + static_cast<std::size_t>(channel)]
               : 0;
  }
  void setlogtimestamp(std::int32_t sample, const QTime& time);
  // "hh:mm:ss" of a recorded sample, "0" for one not recorded since the last reset (and outside 0..47,999), "" before
  // the first reset.
  QString getlogtimestamps(std::int32_t sample) const;
  // Every time stamp "0" and every data byte 0; forgets a kept recording position.
  void resetlogsamples();

  // The second of the day (0 to 86,399) of a recorded sample; unrecorded (or outside the store) below 0.
  static constexpr std::int32_t notrecorded = -1;
  static constexpr std::int32_t neverreset = -2;
  std::int32_t getlogseconds(std::int32_t sample) const {
    return sample >= 0 && sample < logsamplecount ? times_[static_cast<std::size_t>(sample)] : notrecorded;
  }
  // The 16 bytes of one sample, channel 0 first (the store's own memory; valid until the store changes).
  const std::uint8_t* sampledata(std::int32_t sample) const {
    return data_.data() + static_cast<std::size_t>(sample) * logchannelcount;
  }

  // Recording position kept over a replay: the first call keeps logindex, later calls keep the first one.
  void keeprecordposition(std::int32_t logindex);
  std::optional<std::int32_t> keptrecordposition() const { return kept_; }
  // Where recording stands: the kept position during a replay, else the counter itself.
  std::int32_t recordposition(std::int32_t logindex) const { return kept_.value_or(logindex); }
  // Puts a kept recording position back into the counter; false when none was kept.
  bool resumerecording(std::int32_t& logindex);

 private:
  static bool inrange(std::int32_t sample, int channel) {
    return sample >= 0 && sample < logsamplecount && channel >= 0 && channel < logchannelcount;
  }

  std::vector<std::uint8_t> data_;  // sample-major: sample s, channel c at 16 s + c
  std::vector<std::int32_t> times_;
  std::optional<std::int32_t> kept_;
};

// Stores one window-data reply (bytes 0 to 15 are channels 0 to 15) by the sample counter: idle at -50 nothing
// moves; in the warm-up (-49 to -1) the reply is only counted; from 0 it is stored with the time now and the counter
// moves on, staying at 47,999 once there (later replies replace that last sample). A recording position kept over
// a replay is resumed first.
void addlogsample(ProgramState& state, logsamples& store, const RxFrame& rxframe, const QTime& now);
void addlogsample(ProgramState& state, logsamples& store, const RxFrame& rxframe);

// Empties the store and starts the warm-up again (the logger's "Reset log buffer", a channel change, a profile
// load). The log grid's own clearing is the window's.
void restartlog(ProgramState& state, logsamples& store);

// The logger window opening: a recording of fewer than 100 samples (or none) starts again after a warm-up; a
// longer one stays and goes on. The store is not cleared.
void openlogrecording(ProgramState& state, logsamples& store);

}  // namespace ostrel
