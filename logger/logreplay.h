#pragma once

#include <cstdint>
#include <optional>

namespace ostrel {

class logsamples;
struct ProgramState;

// What replay asks of the logger window: draw the trace step and the value boxes at the cursor, and bring the log
// grid to it. The window implements it; every call does nothing by default.
class LogDisplay {
 public:
  virtual ~LogDisplay() = default;
  virtual void drawdata() {}
  virtual void logtypedata() {}
  virtual void syncloggrid() {}
};

// Offline replay of the store: the buttons and the scroll bar move the sample counter as the replay cursor and
// have the window draw each step. While connected they do nothing (the scroll bar is held at 0). The first move
// keeps the recording position in the store, so recording goes on from there when the link is back.
class LogReplay {
 public:
  static constexpr int scrollmax = 479;  // the scroll bar's values 0 to 479 are pages of 100 samples

  LogReplay(ProgramState& state, logsamples& store, LogDisplay& display);

  // "< Log": one sample back while the cursor is above 1.
  void back();
  // "Log >": one forward while below 47,999.
  void forward();
  // "Log >>": ten forward while below 47,990, drawing each; then the boxes and the trace at the cursor.
  void fastforward();
  // "<< Log": ten back while above 9, redrawing those ten columns; then the boxes and the trace at the cursor.
  void fastback();
  // The scroll bar moved to value: the cursor goes to value x 100 and draws 91 steps of that page. Returns the
  // value the scroll bar should show (0 while connected, where nothing moves).
  int scrollto(int value);

 private:
  bool offline() const;
  void keep();

  ProgramState& state_;
  logsamples& store_;
  LogDisplay& display_;
};

// The grid row to make current for the cursor: logindex - 1 when the cursor lies above 1 and below the row count.
std::optional<int> logsyncrow(std::int32_t logindex, int rowcount);

}  // namespace ostrel
