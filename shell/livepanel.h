#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace ostrel {

class EcuLink;
class frmDisplay;
class maps;
struct PanelVariable;
struct ProgramState;

// --- The panel's arithmetic, apart from any window ---------------------------------------------------------------

namespace panel {
inline constexpr int rows = 18;
inline constexpr int rowpitch = 280;        // twips from one row to the next
inline constexpr int barmax = 1250;         // longest bar, twips
inline constexpr int queuefillmax = 40;     // the queue strip shows at most 41 ticks
inline constexpr int tickspacing = 50;      // twips between two ticks of the queue strip
inline constexpr int enginespeedrow = 16;   // livevars index printed in large type
inline constexpr int afrrow = 6;            // printed as an air-fuel ratio of the chosen fuel
inline constexpr int stoichmap = 19;        // the map whose special multiplier is the stoichiometric factor
inline constexpr int gaugewidthmin = 5000;  // the gauge window shows its gauges only when wider than this
inline constexpr std::uint8_t gaugeselector = 18;

inline constexpr std::uint32_t backgroundcolor = 0x403030;
inline constexpr std::uint32_t labelcolor = 0x2080F0;  // labels, values and the separator
inline constexpr std::uint32_t scalecolor = 0x0000FF;
inline constexpr std::uint32_t barbackcolor = 0x503030;
inline constexpr std::uint32_t tickcolor = 0xF0C060;
inline constexpr std::uint32_t enginespeedcolor = 0x1060C0;
// Bar zones from the left: cyan, light green, light orange, orange, red.
inline constexpr std::array<std::uint32_t, 5> zonecolors{0xFFFF00, 0x80FF80, 0x80C0FF, 0x0080FF, 0x0000FF};
}  // namespace panel

// Where the panel lies on its surface: vertical origin y0, bar origin x0 and value column w (twips).
struct PanelGeometry {
  int y0 = 0;
  int x0 = 0;
  int w = 0;
};

// The panel is centred vertically in a gauge window taller than 6700 twips; in the digital mode the bars are drawn
// left of the surface, out of sight, and the values move next to the labels.
PanelGeometry panelgeometry(int displayheight, bool analog);

// Units column of the panel table: 0 metric, 1 imperial.
inline int panelunitscolumn(bool metric) {
  return metric ? 0 : 1;
}

// Bar length in twips of a live value: (value + bar offset) x bar multiplier, halves to even, within 0 to 1250.
int panelbarlength(std::int16_t value, const PanelVariable& row, int units);

// One coloured stretch of a bar, from and to measured from the bar's left end.
struct BarZone {
  int from = 0;
  int to = 0;
  std::uint32_t color = 0;
};
// The zones of a bar of the given (limited) length with zones of the given width; the first is always there, also
// for a bar of length 0. Returns how many of the five are used.
int panelbarzones(int length, int zonewidth, std::array<BarZone, 5>& zones);

// The printed number of a live value: (value + value offset) x value multiplier (x factor), in single precision,
// with the row's decimals, '.' as decimal point and no grouping. factor is the stoichiometric factor on the
// air-fuel row and 1 elsewhere.
float panelvalue(std::int16_t value, const PanelVariable& row, int units, float factor);
QString panelvaluetext(std::int16_t value, const PanelVariable& row, int units, float factor);

// The queue strip: the last waiting write's position capped at 40, and the number of ticks it shows (none for 0,
// else one more than the fill, 50 twips apart from x = 300).
int panelqueuefill(int lastqueued);
inline int panelqueueticks(int fill) {
  return fill > 0 ? fill + 1 : 0;
}

// --- The panel ---------------------------------------------------------------------------------------------------

// The live panel on the gauge window's picture: labels and scale texts (background pass), then bars, values, units,
// the queue strip and the engine speed (value pass, after every live-values reply), which also moves the gauges.
// It keeps nothing between calls.
class LivePanel {
 public:
  LivePanel(ProgramState& state, const maps& mainmaps, const EcuLink& link, frmDisplay& display);

  // True: the background pass; false: the value pass. The queue strip shows the link's waiting writes, those of a
  // whole-image write included.
  void drawpanel(bool redraw);

 private:
  void backgroundpass(const PanelGeometry& g, int units);
  void valuepass(const PanelGeometry& g, int units);

  ProgramState& state_;
  const maps& mainmaps_;
  const EcuLink& link_;
  frmDisplay& display_;
};

}  // namespace ostrel
