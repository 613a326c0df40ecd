#include "logger/logreplay.h"

#include <algorithm>

#include "logger/logsamples.h"
#include "platform/programstate.h"

namespace ostrel {

LogReplay::LogReplay(ProgramState& state, logsamples& store, LogDisplay& display)
    : state_(state), store_(store), display_(display) {}

bool LogReplay::offline() const {
  return !state_.online;
}

void LogReplay::keep() {
  store_.keeprecordposition(state_.logindex);
}

void LogReplay::back() {
  if (!offline() || state_.logindex <= 1) return;
  keep();
  --state_.logindex;
  display_.drawdata();
  display_.logtypedata();
  display_.syncloggrid();
}

void LogReplay::forward() {
  if (!offline() || state_.logindex >= logsamplecount - 1) return;
  keep();
  ++state_.logindex;
  display_.drawdata();
  display_.logtypedata();
  display_.syncloggrid();
}

void LogReplay::fastforward() {
  if (!offline()) return;
  if (state_.logindex < logsamplecount - 10) {
    keep();
    for (int k = 0; k < 10; ++k) {
      display_.drawdata();
      ++state_.logindex;
    }
  }
  display_.logtypedata();
  display_.drawdata();
  display_.syncloggrid();
}

void LogReplay::fastback() {
  if (!offline()) return;
  if (state_.logindex > 9) {
    keep();
    state_.logindex -= 10;
    for (int k = 0; k < 10; ++k) {
      display_.drawdata();
      ++state_.logindex;
    }
    state_.logindex -= 10;
  }
  display_.logtypedata();
  display_.drawdata();
  display_.syncloggrid();
}

int LogReplay::scrollto(int value) {
  if (!offline()) return 0;
  value = std::clamp(value, 0, scrollmax);
  keep();
  state_.logindex = value * 100;
  for (int k = 0; k < 91; ++k) {
    display_.drawdata();
    display_.logtypedata();
    ++state_.logindex;
  }
  display_.drawdata();
  display_.syncloggrid();
  return value;
}

std::optional<int> logsyncrow(std::int32_t logindex, int rowcount) {
  if (logindex < rowcount && logindex > 1) return static_cast<int>(logindex - 1);
  return std::nullopt;
}

}  // namespace ostrel
