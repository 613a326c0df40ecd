#pragma once

// Learn (map 20) and auto-tune (map 4) apart from their window: the arithmetic of a correction, the neighbour
// limit, the timer interval, and the state both timers keep between ticks. The window turns its two timers' ticks
// into learntick and autotunetick and paints the work copy when a tick asks for it.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "mapviews/graphdraw.h"

namespace ostrel {

class EcuLink;
class maps;
struct ProgramState;

// What a tick of the learn or auto-tune timer reads of the link, taken at the moment of the tick.
struct TuningLive {
  bool online = false;
  int liverow = 0, livecol = 0;
  std::int32_t liverpm = 0;
  std::int16_t afr = 0;  // measured air-fuel ratio, raw (hundredths)
  std::uint8_t afrtarget = 0;
  std::uint8_t livesample = 0;
  std::uint32_t livevaluesreplies = 0;  // changes with every live-values reply
  int lastqueuedtransfer = 0;           // above 0 while at least two writes wait for the ECU
};
TuningLive tuninglive(const ProgramState& state, const EcuLink& link);

inline constexpr int autotunemap = 4;
inline constexpr int learnmap = 20;
// The largest step auto-tune leaves between a corrected cell and its neighbours.
inline constexpr int neighbourstep = 4;
// Feedback (raw) at or above which auto-tune stands still: a reading that lean is no mixture to tune by.
inline constexpr float suspendfeedback = 110.0f;

// The new value of a cell after one auto-tune sample: a tenth of the relative error of the feedback against the
// target, at least one raw unit, limited to 0..255. Empty when there is nothing to correct: an error of 1.0 or less,
// or a target of 0 (no ratio to compare with).
std::optional<int> autotunecorrection(float target, float feedback, int learned);

// The auto-tune timer's interval in ms: 50 from 6000 rpm on, else 5 x round((6000 - rpm) / 200) + 50.
int autotuneinterval(std::int32_t liverpm);

// A learn sample of the cell: the work value moved towards livesample x 255 / 178 with the weight of the cell's
// hit count (capped at 90): the first sample puts 99 % on the sample, from the 90th on 10 %.
std::int32_t learnvalue(std::int32_t work, int hits, std::uint8_t livesample);

// Sets the cell (row, col) to value in both arrays, then limits the step between cells of the learned array to
// step, spreading outward from the cell along four square spirals (one per orientation, 50 rings each). At every
// cell the walk visits with both indices inside 1..30, the neighbour on the spiral's outer side is pulled to within
// step of the visited cell. Only the learned array changes beyond the cell itself.
void constrainneighbours(WorkCopy& learned, WorkCopy& work, int row, int col, int value, int step);

// What one auto-tune tick shows: the two label texts, the timer's next interval, and whether the work copy is
// to be painted again.
struct AutoTuneShow {
  QString targettext;
  QString feedtext;
  int interval = 100;
  bool redraw = false;
};

// The learn and auto-tune tools' state: the work copy (which the interpolate and copy tools fill too), the learned
// array, the hit counts, and what the two timers keep between ticks. Works on the current map of the state.
class LearnAutoTune {
 public:
  using Hits = std::array<std::array<std::uint8_t, 32>, 32>;

  LearnAutoTune(ProgramState& state, maps& model);

  // Hit counts to 0, work copy and learned array to the current map; the live-values reply seen now is no sample.
  void startlearn(const TuningLive& live);

  // The learn timer: one sample of the live cell into the work copy, only while the learn tool runs on map 20.
  // True when the work copy is to be painted again.
  bool learntick(const TuningLive& live);
  // The auto-tune timer; interval is the timer's present one, kept while the current map is not map 4.
  AutoTuneShow autotunetick(const TuningLive& live, int interval);

  // The sampling step: the cursor to the live cell and, when the engine has stayed in that cell since the last
  // sample, a correction of it. Only while online and on a live-values reply newer than the last sample.
  void sample(const TuningLive& live);
  // The write-back: every cell of the learned array into the work copy and the map; when any differed from either,
  // the selection box is set over the changed cells and they are marked for writing. True when any differed.
  bool applylearned();

  // Ok of learn: the work copy into the map, all marked changed and for writing; tool mode 0. The caller selects the
  // whole map.
  void finishlearn();
  // Ok of auto-tune (and every other close of it): the pending write-back first, then the work copy into the map;
  // tool mode 0.
  void finishautotune();

  WorkCopy& work() { return work_; }
  const WorkCopy& work() const { return work_; }
  const WorkCopy& learned() const { return learned_; }
  WorkCopy& learned() { return learned_; }
  const Hits& hits() const { return hits_; }
  int autotunetickcount() const { return attick_; }
  void setautotunetick(int tick) { attick_ = tick; }
  int learntickcount() const { return learntick_; }
  float feedback() const { return feedback_; }
  float target() const { return target_; }

 private:
  void storework();

  ProgramState& state_;
  maps& model_;
  WorkCopy work_{};
  WorkCopy learned_{};
  Hits hits_{};
  float target_ = 0;
  float feedback_ = 0;
  int lastrow_ = -1, lastcol_ = -1;   // the cell of the last sample; none before the first
  std::uint32_t sampledreplies_ = 0;  // the live-values reply the last sample used
  int attick_ = 0;                    // 0 to 100
  int learntick_ = 0;                 // 0 to 1000
};

}  // namespace ostrel
