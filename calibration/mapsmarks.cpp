#include <cmath>
#include <cstdlib>

#include "calibration/mapcatalogue.h"
#include "calibration/maps.h"
#include "platform/numbers.h"

namespace ostrel {

namespace mc = mapcatalogue;

namespace {

constexpr bool ingrid(int row, int col) {
  return row >= 0 && row < 32 && col >= 0 && col < 32;
}
constexpr int gridindex(int row, int col) {
  return row * 32 + col;
}

constexpr std::array<int, 8> throttlemaps{2, 5, 6, 10, 13, 14, 16, 20};
constexpr std::array<int, 16> loadmaps{0, 1, 3, 4, 7, 8, 9, 11, 12, 15, 17, 18, 19, 21, 22, 23};

constexpr int squared(int v) {
  return v * v;
}

}  // namespace

void maps::setafrerror(std::uint8_t measured, int row, int col) {
  if (!ingrid(row, col)) return;  // outside the 32 x 32 grid: no cell to smooth, the record is left as it was
  AfrTracking& t = afrtracking_;
  const int droplast = std::abs(row - t.lastrow), dcollast = std::abs(col - t.lastcol);
  if (droplast >= 2 || dcollast >= 2) {
    t.settleweight = 100;  // the live cell jumped: hold the error until it settles
  } else {
    int weight = t.settleweight - 10;
    weight += squared(3 * droplast) + squared(3 * dcollast) + squared(3 * std::abs(row - t.prevrow)) +
              squared(3 * std::abs(col - t.prevcol));
    t.settleweight = std::clamp(weight, 0, 100);

    const int target = getdata(19, row, col);
    const float error = target > 0 ? (static_cast<float>(measured) / static_cast<float>(target) - 1.0f) * 100.0f : 0.0f;
    const float gain = 0.005f * static_cast<float>(100 - t.settleweight);
    float& stored = afrerror_[gridindex(row, col)];
    float step = error - stored;
    if (step == 0.0f) step = 0.01f;
    if (std::fabs(step) > gain) step = std::copysign(gain, step);
    stored += step;
  }
  t.prevrow = t.lastrow;
  t.prevcol = t.lastcol;
  t.lastrow = static_cast<std::uint8_t>(row);
  t.lastcol = static_cast<std::uint8_t>(col);
}

int maps::getafrerror(int row, int col) const {
  if (!ingrid(row, col)) return 0;  // outside the grid: no error
  return static_cast<int>(roundclamp(afrerror_[gridindex(row, col)], -32768, 32767));
}

void maps::clearAFRerror() {
  afrerror_.fill(0.0f);
}

void maps::clearcellAFRerror(int row, int col) {
  if (ingrid(row, col)) afrerror_[gridindex(row, col)] = 0.0f;
}

void maps::setmapknocked(int rpm, std::uint8_t knock, int row, int col) {
  if (!ingrid(row, col)) return;
  int threshold = 0;
  // A negative rpm is read as 0 rpm (the first cell of the threshold map).
  if (rpm < 13500) threshold = getdata(42, 0, std::max(rpm, 0) / 850);
  if (knock > threshold) knocked_.set(gridindex(row, col));
}

bool maps::getmapknocked(int row, int col) const {
  return ingrid(row, col) && knocked_.test(gridindex(row, col));
}

void maps::clearmapknock() {
  knocked_.reset();
}

void maps::setvisit(int map, int row, int col) {
  if (!mc::inside(map, row, col)) return;
  if (map <= 23) {
    // The 3-D maps that share their axes share the trace of where the engine ran.
    const bool throttle = mc::throttleaxisset(map);
    if (throttle) {
      for (int m : throttlemaps) visited_.set(mc::celloffset(m, row, col));
    } else {
      for (int m : loadmaps) visited_.set(mc::celloffset(m, row, col));
    }
    return;
  }
  visited_.set(mc::celloffset(map, row, col));
}

bool maps::getvisit(int map, int row, int col) const {
  return mc::inside(map, row, col) && visited_.test(mc::celloffset(map, row, col));
}

bool maps::getchange(int map, int row, int col) const {
  return mc::inside(map, row, col) && changed_.test(mc::celloffset(map, row, col));
}

void maps::clearvisit() {
  visited_.reset();
}

void maps::clearchange() {
  changed_.reset();
}

}  // namespace ostrel
