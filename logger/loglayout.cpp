#include "logger/loglayout.h"

namespace ostrel {

LogLayout loglayout(double H, bool setupshown, double currentheight) {
  LogLayout layout;
  layout.picheight = currentheight;
  if (setupshown) {
    layout.pictop = 2160;
    if (H > 3700) layout.picheight = (H - 3700) / 2;
  } else {
    layout.pictop = 100;
    if (H > 1640) layout.picheight = (H - 1640) / 2;
  }
  layout.gridtop = layout.pictop + layout.picheight + 100;
  layout.bottomrow = H > 1385;
  if (layout.bottomrow) {
    layout.buttontop = H - 1335;
    layout.bartop = H - 1385;
    layout.scrolltop = H - 1140;
  }
  return layout;
}

}  // namespace ostrel
