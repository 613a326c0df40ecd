#include "logger/logsamples.h"

#include <algorithm>

#include "platform/programstate.h"

namespace ostrel {

logsamples::logsamples()
    : data_(static_cast<std::size_t>(logsamplecount) * logchannelcount, 0),
      times_(static_cast<std::size_t>(logsamplecount), neverreset) {}

void logsamples::setlogdata(std::int32_t sample, int channel, std::uint8_t value) {
  if (!inrange(sample, channel)) return;
  data_[static_cast<std::size_t>(sample) * logchannelcount + static_cast<std::size_t>(channel)] = value;
}

void logsamples::setlogtimestamp(std::int32_t sample, const QTime& time) {
  if (sample < 0 || sample >= logsamplecount || !time.isValid()) return;
  times_[static_cast<std::size_t>(sample)] = time.hour() * 3600 + time.minute() * 60 + time.second();
}

QString logsamples::getlogtimestamps(std::int32_t sample) const {
  const std::int32_t seconds = getlogseconds(sample);
  if (seconds == neverreset) return QString();
  if (seconds < 0) return QStringLiteral("0");
  return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

void logsamples::resetlogsamples() {
  std::fill(times_.begin(), times_.end(), notrecorded);
  std::fill(data_.begin(), data_.end(), std::uint8_t{0});
  kept_.reset();
}

void logsamples::keeprecordposition(std::int32_t logindex) {
  if (!kept_) kept_ = logindex;
}

bool logsamples::resumerecording(std::int32_t& logindex) {
  if (!kept_) return false;
  logindex = *kept_;
  kept_.reset();
  return true;
}

void addlogsample(ProgramState& state, logsamples& store, const RxFrame& rxframe, const QTime& now) {
  store.resumerecording(state.logindex);
  std::int32_t& index = state.logindex;
  if (index >= 0) {
    for (int c = 0; c < logchannelcount; ++c) store.setlogdata(index, c, rxframe[static_cast<std::size_t>(c)]);
    store.setlogtimestamp(index, now);
  }
  if (index > logidle && index < logsamplecount - 1) ++index;
}

void addlogsample(ProgramState& state, logsamples& store, const RxFrame& rxframe) {
  addlogsample(state, store, rxframe, QTime::currentTime());
}

void restartlog(ProgramState& state, logsamples& store) {
  state.logindex = logwarmup;
  store.resetlogsamples();
}

void openlogrecording(ProgramState& state, logsamples& store) {
  if (store.recordposition(state.logindex) >= 100) return;
  std::int32_t ignored = 0;
  store.resumerecording(ignored);  // a short recording starts again, so a kept position means nothing any more
  state.logindex = logwarmup;
}

}  // namespace ostrel
