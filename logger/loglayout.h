#pragma once

namespace ostrel {

// Where the logger window's picture, grid and bottom row go for a window height H (twips). H counts the window as
// it was designed, with its caption, menu bar and borders (formchrome twips besides the content area). Only tops
// and the two heights follow the height; widths and left edges stay as designed.
struct LogLayout {
  double pictop = 0;
  double picheight = 0;  // also the grid's height
  double gridtop = 0;
  bool bottomrow = false;  // the buttons, bars and duration text follow the bottom edge
  double buttontop = 0;    // the grid, reset and replay buttons and the duration text
  double bartop = 0;       // the log fill bar
  double scrolltop = 0;    // the replay scroll bar
};

inline constexpr double formchrome = 690;  // caption, menu bar and borders of the designed window

// With the set-up panel shown the picture starts below it at 2160 and picture and grid share H - 3700; hidden it
// starts at 100 and they share H - 1640. A window too low for that keeps the current height.
LogLayout loglayout(double H, bool setupshown, double currentheight);

}  // namespace ostrel
