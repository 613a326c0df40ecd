#include "mapviews/autotune.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "link/eculink.h"
#include "mapviews/interpcopy.h"
#include "mapviews/pendingwrite.h"
#include "mapviews/selection.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

constexpr int last = 31;
constexpr int rings = 50;

// Directions of a spiral's legs: the walker's step, and the neighbour on the spiral's outer side of a visited cell.
enum class Leg { rowplus, colplus, rowminus, colminus };
struct LegStep {
  int dr, dc;  // the walker's step
  int nr, nc;  // the outer neighbour, relative to the visited cell
};
constexpr LegStep legstep(Leg leg) {
  switch (leg) {
    case Leg::rowplus:
      return {1, 0, 0, -1};
    case Leg::colplus:
      return {0, 1, 1, 0};
    case Leg::rowminus:
      return {-1, 0, 0, 1};
    case Leg::colminus:
      return {0, -1, -1, 0};
  }
  return {};
}

// The legs of each pass: [pass][ring odd, ring even][first leg, second leg].
constexpr Leg spirallegs[4][2][2] = {
    {{Leg::rowplus, Leg::colplus}, {Leg::rowminus, Leg::colminus}},
    {{Leg::colplus, Leg::rowminus}, {Leg::colminus, Leg::rowplus}},
    {{Leg::rowminus, Leg::colminus}, {Leg::rowplus, Leg::colplus}},
    {{Leg::colminus, Leg::rowplus}, {Leg::colplus, Leg::rowminus}},
};

// The neighbour rule at a visited cell: its outer neighbour comes to within step of it. Cells on the map's border
// (and off the map) are passed over.
void limitneighbour(WorkCopy& learned, int r, int c, const LegStep& s, int step) {
  if (r < 1 || r > last - 1 || c < 1 || c > last - 1) return;
  const std::int32_t here = learned[r][c];
  std::int32_t& n = learned[r + s.nr][c + s.nc];
  if (n > here && n - here > step) n = here + step;
  if (n < here && here - n > step) n = here - step;
}

// Shortest text that reads back as the same single-precision number, in the C locale ("14.7", "1").
QString shortest(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

int gridindex(int value) {
  return std::clamp(value, 0, last);
}

}  // namespace

TuningLive tuninglive(const ProgramState& state, const EcuLink& link) {
  const LiveData& live = link.live();
  TuningLive t;
  t.online = state.online;
  t.liverow = live.liverow;
  t.livecol = live.livecol;
  t.liverpm = live.liverpm;
  t.afr = live.livevars[6];
  t.afrtarget = live.afrtarget;
  t.livesample = live.livesample;
  t.livevaluesreplies = live.livevaluesreplies;
  t.lastqueuedtransfer = link.lastqueuedtransfer();
  return t;
}

std::optional<int> autotunecorrection(float target, float feedback, int learned) {
  if (target == 0.0f) return std::nullopt;
  const float e = std::fabs(target - feedback);
  if (!(e > 1.0f)) return std::nullopt;
  const float factor = 1.0f + (feedback - target) / (target * 10.0f);
  float v = factor * static_cast<float>(learned);
  // A correction always moves the cell by at least one raw unit.
  if (roundhalfeven(v) == learned) {
    if (v > static_cast<float>(learned))
      v = static_cast<float>(learned + 1);
    else if (v < static_cast<float>(learned))
      v = static_cast<float>(learned - 1);
  }
  return static_cast<int>(roundclamp(v, 0, 255));
}

int autotuneinterval(std::int32_t liverpm) {
  if (liverpm >= 6000) return 50;
  return 5 * static_cast<int>(roundhalfeven((6000.0 - liverpm) / 200.0)) + 50;
}

std::int32_t learnvalue(std::int32_t work, int hits, std::uint8_t livesample) {
  const int n = std::min(hits, 90);
  const float aim = static_cast<float>(livesample * 255.0 / 178.0);
  return static_cast<std::int32_t>(
      roundclamp((static_cast<double>(work) * n + (100 - n) * static_cast<double>(aim)) / 100.0, -32768, 32767));
}

void constrainneighbours(WorkCopy& learned, WorkCopy& work, int row, int col, int value, int step) {
  row = gridindex(row), col = gridindex(col);
  learned[row][col] = value;
  work[row][col] = value;
  for (const auto& pass : spirallegs) {
    int r = row, c = col;
    for (int k = 1; k <= rings; ++k) {
      for (const Leg leg : pass[k % 2 == 1 ? 0 : 1]) {
        const LegStep s = legstep(leg);
        // k + 1 cells a leg: the corner is the last cell of one leg and the first of the next.
        for (int n = 0; n <= k; ++n) {
          limitneighbour(learned, r, c, s, step);
          if (n < k) r += s.dr, c += s.dc;
        }
      }
    }
  }
}

LearnAutoTune::LearnAutoTune(ProgramState& state, maps& model) : state_(state), model_(model) {}

void LearnAutoTune::startlearn(const TuningLive& live) {
  const int map = state_.curmap;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      hits_[r][c] = 0;
      work_[r][c] = learned_[r][c] = model_.getdata(map, r, c);
    }
  sampledreplies_ = live.livevaluesreplies;
  lastrow_ = lastcol_ = -1;
}

bool LearnAutoTune::learntick(const TuningLive& live) {
  learntick_ = learntick_ < 1000 ? learntick_ + 1 : 0;
  // Only the learn tool itself moves the work copy: an interpolation or copy on map 20 stores what it computed.
  if (state_.toolmode != toolmodes::learn || state_.curmap != learnmap) return false;
  const int r = gridindex(live.liverow), c = gridindex(live.livecol);
  if (hits_[r][c] < 100) ++hits_[r][c];
  work_[r][c] = learnvalue(work_[r][c], hits_[r][c], live.livesample);
  return learntick_ % 10 == 0;
}

AutoTuneShow LearnAutoTune::autotunetick(const TuningLive& live, int interval) {
  // The feedback of the previous tick decides, so a suspension starts and ends one tick late.
  const bool suspended = state_.toolmode != toolmodes::autotune || feedback_ >= suspendfeedback;
  if (!suspended) attick_ = attick_ < 100 ? attick_ + 1 : 0;
  feedback_ = live.afr;
  target_ = live.afrtarget;

  AutoTuneShow show;
  show.interval = interval;
  if (state_.curmap != autotunemap) return show;
  show.targettext = QStringLiteral("target AFR = ") + shortest(target_ / 100.0f);
  show.feedtext = QStringLiteral("feedback AFR = ") + shortest(feedback_ / 100.0f);

  if (!suspended) {
    switch (attick_ % 5) {
      case 0:
        sample(live);
        break;
      case 1:
        applylearned();
        break;
      case 3:
        // Wait here while writes queue up or an edit still counts down: each write-back restarts the countdown,
        // and at high rpm the cycle would otherwise come round before the rows are ever handed to the link.
        if (live.lastqueuedtransfer > 0 || state_.pendingcommand > 0) attick_ = 2;
        break;
      default:
        break;
    }
    show.redraw = attick_ % 10 == 0;
  }
  show.interval = autotuneinterval(live.liverpm);
  return show;
}

void LearnAutoTune::sample(const TuningLive& live) {
  // Values that no reply has renewed since the last sample (a lost line) are no new reading.
  if (!live.online || live.livevaluesreplies == sampledreplies_) return;
  sampledreplies_ = live.livevaluesreplies;

  const int r = gridindex(live.liverow), c = gridindex(live.livecol);
  state_.cursorrow = static_cast<std::uint8_t>(r);
  state_.cursorcol = static_cast<std::uint8_t>(c);
  if (r == lastrow_ && c == lastcol_) {
    if (const auto value = autotunecorrection(target_, feedback_, learned_[r][c]))
      constrainneighbours(learned_, work_, r, c, *value, neighbourstep);
  }
  lastrow_ = r, lastcol_ = c;
}

bool LearnAutoTune::applylearned() {
  const int map = state_.curmap;
  PendingWrite changed;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      // The map counts too: the sampled cell itself is already in the work copy, and a correction that limits no
      // neighbour must still reach the ECU.
      if (work_[r][c] != learned_[r][c] || model_.getdata(map, r, c) != learned_[r][c]) {
        changed.lowrow = std::min<std::uint8_t>(changed.lowrow, static_cast<std::uint8_t>(r));
        changed.highrow = std::max<std::uint8_t>(changed.highrow, static_cast<std::uint8_t>(r));
        changed.lowcol = std::min<std::uint8_t>(changed.lowcol, static_cast<std::uint8_t>(c));
        changed.highcol = std::max<std::uint8_t>(changed.highcol, static_cast<std::uint8_t>(c));
      }
      work_[r][c] = learned_[r][c];
      setcell(model_, state_.guards, map, r, c, learned_[r][c], true);
    }
  if (changed.empty()) return false;

  // The selection box shows what was written back; across is the row index on these 3-D maps.
  TrimBox& box = state_.trimbox;
  if (!box.active) moveselection(state_, model_, 0, false);
  box.anchorh = changed.lowrow;
  box.endh = changed.highrow;
  box.anchorv = changed.lowcol;
  box.endv = changed.highcol;
  selectionbounds(box, model_.getcontextandtype(map));
  markdirtycells(state_, changed.lowrow, changed.highrow, changed.lowcol, changed.highcol);
  state_.syncerrticks = 0;
  return true;
}

void LearnAutoTune::storework() {
  const int map = state_.curmap;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) setcell(model_, state_.guards, map, r, c, work_[r][c], true);
  state_.syncerrticks = 0;
}

void LearnAutoTune::finishlearn() {
  storework();
  markdirtycells(state_, 0, last, 0, last);
  state_.toolmode = 0;
}

void LearnAutoTune::finishautotune() {
  // A correction sampled since the last write-back would otherwise reach the map without ever being marked for
  // the ECU, and its neighbour limits would be lost.
  applylearned();
  storework();
  state_.toolmode = 0;
}

}  // namespace ostrel
