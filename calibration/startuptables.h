#pragma once

// Tables filled once at start-up: live panel scaling, map-check limits, input diagnostic levels, re-grid flags and
// the settings editor's help texts; initvariables also has the two stored byte tables parsed (bytetables.h).
//
// Start-up order for the caller (the start procedure), after setsettingsmetric:
//   1. inithelptexts();
//   2. empty the ECU link's transfer queue (all 2048 records: operation 0, free, status True);
//   3. initvariables(state);   // curmap := 0, online := false, builds the tables, parses the byte tables
//   4. load the colours ("colors.dat").
// Steps 2 and 4 belong to the ECU link and the shell; they are left to the caller so that this layer needs neither.

#include <QString>
#include <array>
#include <cstdint>

namespace ostrel {

struct ProgramState;

inline constexpr int panelvariablecount = 18;
inline constexpr int diaginputcount = 20;
inline constexpr int settinghelpcount = 512;  // (settings map - 110) * 256 + row * 16 + column

// One variable of the live panel; two-element fields hold the metric (0) and imperial (1) column.
struct PanelVariable {
  std::array<QString, 2> name;
  std::array<QString, 2> scaletext;  // drawn under the bar; spaces matter
  std::array<float, 2> barscale;     // bar position = (source + baroffset) * barscale, within 0..1250
  std::array<float, 2> baroffset;
  std::array<float, 2> valuemul;  // shown value = (live value + valueoffset) * valuemul
  std::array<float, 2> valueoffset;
  std::array<QString, 2> units;
  std::array<std::int16_t, 2> decimals;
  std::int16_t barlimit;  // width of one colour zone of the bar, in twips
};

// Limits the map check holds a map to; the defaults (4096, 10000, -10000, 0, false) mean no limit.
struct CheckLimits {
  float maxdeviation = 4096.0f;
  std::int16_t maxrise = 10000;
  std::int16_t maxfall = -10000;
  std::uint8_t minzerocount = 0;
  bool rightcellzero = false;
};

struct StartupTables {
  std::array<PanelVariable, panelvariablecount> paneltables;
  std::array<CheckLimits, 116> checklimits;
  std::array<float, diaginputcount> diagthreshold;
  std::array<float, diaginputcount> diagexpected;
  std::array<bool, 24> regridboth;
};

// The tables, built on first use and constant afterwards.
const StartupTables& startuptables();

// Setting help texts, "No help available" where a cell has none; built on first use.
const std::array<QString, settinghelpcount>& settinghelp();

// Help text of a settings cell; "No help available" for any index outside the table.
QString settinghelptext(int index);

// Builds the setting help texts (so that the first settings editor opens without delay).
void inithelptexts();

// Resets the current map to 0 and the connection flag to false, builds the start-up tables and has the block
// table and byte substitution table parsed from their stored texts. Emptying the transfer queue and loading the
// colours are the caller's steps (see the top of this file).
void initvariables(ProgramState& state);

}  // namespace ostrel
