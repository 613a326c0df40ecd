#pragma once

#include "livewindows/pictureplan.h"
#include "livewindows/ramdump.h"

namespace ostrel {

// The ECU's capture of trigger and sync edges in its RAM: 334 time stamps each, three bytes a stamp, the trigger
// stamps from ECU RAM 0x4000, the sync stamps from 0x4400.
inline constexpr int triggerstampcount = 334;
inline constexpr int triggerstampsat = 0;     // bytes of the RAM copy
inline constexpr int syncstampsat = 1024;
inline constexpr int triggeredges = 311;  // edges drawn per wave, 0 to 310, each to the next

// The stamp at byte n of the copy: a 24-bit count, byte n the most significant.
double triggerstamp(const RamImage& image, int n);

// How the picture is drawn: the zoom divides every stamp by zoom + 1, the start moves the origin to trigger stamp
// 3 x start, and the invert flags choose which level the even-numbered intervals of each wave take.
struct TriggerView {
  static constexpr int maxzoom = 10;
  static constexpr int maxstart = 100;
  int zoom = 0;
  int start = 0;
  bool inverttrigger = false;
  bool invertsync = false;
};

// The picture, of the given size in twips, cleared to black: the trigger wave (yellow) between a sixth and a third
// of the height, the sync wave (green) between 1/1.7 and 1/1.3 of it, each stamp an edge, both on one time base
// that puts the origin stamp at x = 300.
PicturePlan triggerplan(const RamImage& image, const TriggerView& view, double width, double height);

}  // namespace ostrel
