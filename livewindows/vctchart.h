#pragma once

#include <array>
#include <cstdint>

#include "link/frames.h"
#include "livewindows/pictureplan.h"

namespace ostrel {

// The sixteen value boxes of one reply, two lines of eight: box, label, value and units of each channel.
PicturePlan vctboxesplan(const RxFrame& frame);

// The running chart of the eight cam angles below the value boxes. Each reply adds one segment per angle,
// 130 twips to the right of the last; after 101 segments, or after the picture was resized, the next reply clears
// the chart and starts again from the left.
class VctChart {
 public:
  static constexpr int sweepend = 100;

  // The picture changed its size: the next reply clears the chart.
  void restart() { tracex_ = sweepend; }
  // The drawing of one reply on a picture of the given size (twips).
  PicturePlan step(const RxFrame& frame, double width, double height);
  int tracex() const { return tracex_; }

 private:
  int tracex_ = sweepend;
  std::array<std::uint8_t, 8> previous_{};  // where each angle's next segment starts; 0 before the first reply
};

}  // namespace ostrel
