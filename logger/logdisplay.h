#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "link/frames.h"
#include "logger/logchannels.h"

namespace ostrel {

class logsamples;

// What the logger's picture shows, in twips from its top left corner (y downwards) and colours 0x00BBGGRR: a band
// of 16 value boxes, and below it a strip chart of 100 samples a page, one trace a channel, drawn a segment at a
// time. The window paints what these plans say on a persistent picture, so a page keeps what was drawn on it.
inline constexpr int tracepagecolumns = 100;
inline constexpr std::uint32_t tracebackgroundcolour = 0x303030;
inline constexpr std::uint32_t tracegridcolour = 0x505050;
inline constexpr std::uint32_t tracecursorcolour = 0xFFFF00;  // cyan
inline constexpr std::uint32_t valueboxcolour = 0x505050;
inline constexpr std::uint32_t tracewhite = 0xFFFFFF;

// The page column of the newest segment: logindex mod 100, 0 while the counter is negative (every warm-up step
// starts a page).
int tracecolumn(std::int32_t logindex);
// Sample column k (0 to 100) of a page.
inline double tracex(int k) {
  return 150.0 + 130.0 * k;
}
// Raw 0 to 256 spans the chart upwards from H - 200 at (H - 1000) / 300 twips per raw unit.
inline double tracescale(double height) {
  return (height - 1000.0) / 300.0;
}
inline double tracey(int raw, double height) {
  return height - 200.0 - raw * tracescale(height);
}
// The column the cursor mark points at: (logindex + 1) mod 100, negative (left of the picture) in the warm-up.
inline int tracecursorcolumn(std::int32_t logindex) {
  return static_cast<int>((logindex + 1) % tracepagecolumns);
}

struct TraceLine {
  QPointF from, to;
  std::uint32_t colour = 0;
};

// One drawdata call.
struct TraceStep {
  int column = 0;
  bool newpage = false;
  QRectF page;                      // filled with the background when a page starts
  std::vector<TraceLine> grid;      // 101 column lines and 17 level lines, only when a page starts
  std::vector<TraceLine> segments;  // one line a traced channel, in channel order (later ones on top)
  QRectF cursorstrip;               // filled with the background on every call
  std::array<TraceLine, 2> cursor;  // the small V whose point marks the end of the newest segment
};

// The newest segment of every traced channel (colour code not 16; while the address monitor holds the selector,
// channels 12 to 15 always, white when untraced) from sample logindex - 2 to logindex - 1; flat while logindex
// is 2 or less.
TraceStep drawdatastep(std::int32_t logindex, std::uint8_t livemode, const std::array<std::uint8_t, 16>& logcolour,
                       const logsamples& store, double width, double height);

// One value box: its area (filled with the box grey), the text and where it starts, and its colour.
struct ValueBox {
  int channel = 0;
  QRectF box;
  QString text;
  QPointF textpos;
  std::uint32_t colour = 0;
  bool raw = false;  // the monitor's plain reply byte (normal font, 10 pt); else the narrow font, 9 pt
};

// The value boxes of the newest sample (logindex - 1): "name value units", right-aligned by 40 twips a character
// short of 24, in the channel's trace colour (white without trace). Channels 12 to 15 are shown while the logger
// holds the selector; while the monitor holds it they show the raw bytes 12 to 15 of the last reply instead;
// otherwise they are not drawn.
std::vector<ValueBox> logtypedatastep(std::int32_t logindex, std::uint8_t livemode, const LogColumns& columns,
                                      const logsamples& store, const RxFrame& lastreply);

}  // namespace ostrel
