#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

namespace nox {
class NoxGauge;
}

namespace ostrel {

class EcuLink;
class LivePanel;
class PictureSurface;
class StatusLog;
struct ProgramState;

// --- The gauges' arithmetic and the window's rules, apart from any window ------------------------------------------

inline constexpr int gaugecount = 6;
inline constexpr int gaugewidth = 3360;  // twips; only the gauge's drawing surface shows at this size
inline constexpr int gaugeheight = 3120;

// The colours every gauge gets (back, face, needle, hub, low, middle and high zone): the gauge's own defaults.
inline constexpr std::array<std::uint32_t, 7> gaugecolors{0x403010, 0xF0F010, 0x00FFFF, 0x000000,
                                                          0xC0F000, 0x01F080, 0x01F0F0};

struct GaugeSetup {
  const char* scale;                // ten labels and the title
  std::array<float, 3> zonestarts;  // low, middle, high on the 0..100 scale
  float intergraduations;
};
// Air-fuel ratio, engine speed, manifold pressure, throttle, coolant, knock.
extern const std::array<GaugeSetup, gaugecount> gaugesetups;

// The needle position of gauge g (0 to 5) from the raw live variables, not yet limited.
float gaugevalue(int gauge, const std::array<std::int16_t, 18>& livevars);
// Within 0 to 100: a value not above 0 gives 0, one not below 100 gives 100.
float limitgaugevalue(float value);
// Zone starts of the air-fuel gauge around the ECU's target: 1, t - 3 and t + 5 with t = 1.47 x (target - 68)
// kept within 5 to 95.
std::array<float, 3> afrgaugezones(std::uint8_t afrtarget);
// A gauge is moved only when its value differs from the last one it was sent by more than 1.0.
inline bool gaugemoves(float value, float last) {
  return value - last > 1.0f || last - value > 1.0f;
}

// The live-window selector while the gauge window is wide: crossing above 2750 twips saves the selector and asks for
// the gauge plan (18); crossing back to 2750 or less gives the saved value back. Saving and giving back happen only
// at the crossings, so a drag cannot save 18 over the value it should give back. A resize that stays wide asks for
// the gauge plan again only when nobody holds the selector (0): the live panel lets the plan go while the window is
// too narrow to show its gauges, and a window widened from there must get it back.
class GaugeSelectorSwitch {
 public:
  static constexpr int threshold = 2750;

  void resized(int widthtwips, std::uint8_t& livemode);
  bool enlarged() const { return enlarged_; }
  std::uint8_t savedlivemode() const { return savedlivemode_; }

 private:
  bool enlarged_ = false;
  std::uint8_t savedlivemode_ = 0;
};

// Where the gauges go for a window of wf by hf twips (outer size); sizes are the gauges' current ones.
struct GaugePlace {
  int left = 0;
  int top = 0;
};
std::array<GaugePlace, gaugecount> gaugelayout(int wf, int hf, const std::array<int, gaugecount>& widths,
                                               int gauge1height);

// --- The window --------------------------------------------------------------------------------------------------

// The gauge window "Display": the live panel's picture picGraph and six needle gauges over it, which show
// themselves only while the window is wider than 5000 twips. It sets the gauges up when it is built, lays them out
// on every resize, asks for the gauge poll plan while it is wider than 2750 twips, and moves the needles in
// drawNoxgauges. Closing it while the program runs minimises it. Its keys are not its own: the window passes them
// on, and the main window hands them to the keyboard handler.
class frmDisplay : public QWidget {
  Q_OBJECT

 public:
  frmDisplay(ProgramState& state, const EcuLink& link, StatusLog* log, QWidget* parent = nullptr);
  ~frmDisplay() override;

  // Moves each needle whose value has changed by more than 1.0 since it was last moved (redraw is passed on).
  void drawNoxgauges(bool redraw);

  // The window's outer size in twips: its MDI frame's when it has one, which is what the layouts set.
  int outerwidth() const;
  int outerheight() const;

  // The live panel drawn on the picture; every resize redraws it in full. Null: nothing is drawn.
  void setpanel(LivePanel* panel) { panel_ = panel; }

  PictureSurface* picGraph = nullptr;
  std::array<nox::NoxGauge*, gaugecount> gauges{};  // NoxGauge1 to NoxGauge6

  bool displayresized = false;
  const GaugeSelectorSwitch& selectorswitch() const { return selector_; }
  std::array<float, gaugecount> lastgaugevalues{};

  // Lays the window out for its current size, as a resize does.
  void layoutforsize();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void setupgauges();
  void picturefocused();

  ProgramState& state_;
  const EcuLink& link_;
  StatusLog* log_;
  LivePanel* panel_ = nullptr;
  GaugeSelectorSwitch selector_;
};

}  // namespace ostrel
