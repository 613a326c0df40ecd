#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

#include "logger/logchannels.h"

namespace ostrel {

class logsamples;

// The CSV log file: a header line "timestamp, name (units), ..." and one line a recorded sample from sample 1 on:
// its time in milliseconds since sample 0, then the 16 channel values with two decimals. Fields are joined by
// ", ", lines end in CR LF, numbers always use ".".
//
// The store keeps time stamps to the second, so the samples of one second are spread evenly over it: a look-ahead
// of up to 25 samples counts those that share the second. Times are single precision, as the millisecond of the
// day: within a second they carry its rounding, whole seconds are exact. A log that runs past midnight (the time
// of day falls by more than 12 hours) keeps counting up; after a smaller fall, the clock set back, the times step
// back with it, and a rise of more than 12 hours, the clock set back across midnight, takes the day off again. An
// unrecorded sample (time stamp "0") ends the data lines for good.
class CsvExport {
 public:
  // Reads the store as it is while the export runs; the caller keeps it unchanged (the progress job exports a
  // copy). The columns' own decimals are ignored: values get two.
  CsvExport(const logsamples& store, const LogColumns& columns);

  QByteArray header() const;
  // Walks up to count further sample numbers and appends their lines; false once all 47,999 have been walked.
  bool step(int count, QByteArray& out);
  // The next sample number (1 to 48,000).
  std::int32_t position() const { return next_; }
  bool finished() const { return next_ >= logsamplecountforcsv; }

  // The whole file at once.
  static QByteArray exporttext(const logsamples& store, const LogColumns& columns);

 private:
  static constexpr std::int32_t logsamplecountforcsv = 48000;
  static constexpr int lookahead = 25;

  void line(std::int32_t sample, float time, QByteArray& out) const;

  const logsamples& store_;
  QByteArray header_;
  std::array<std::array<QByteArray, 256>, 16> texts_;
  std::int32_t next_ = 1;
  float origin_ = 0.0f;
  float secondstart_ = -1.0f;
  float current_ = 0.0f;
  float samplestep_ = 0.0f;
  bool stopped_ = false;
  std::int32_t lastseconds_ = 0;
  std::int32_t days_ = 0;
};

// A time in the general number form: up to seven significant digits, no trailing zeros, no exponent.
QByteArray csvtimetext(float time);

}  // namespace ostrel
