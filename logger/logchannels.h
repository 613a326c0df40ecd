#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "link/requesttable.h"

namespace ostrel {

class maps;
class settings;
struct ProgramState;

inline constexpr int loglivevariables = 128;
inline constexpr std::uint8_t lognotrace = 16;  // the colour code of a channel drawn without trace

// The live variables as the logger's 16 lists show them (list index = variable number): the item text, its name
// without units and its units in parentheses ("( )" when it has none).
struct LogVariables {
  int count = 0;
  std::array<QString, loglivevariables> items, names, units;
};

// Parses a list string "count;item:item:...": the first half of the items, each without its last two characters
// (" >"). A list with fewer items than it counts ends early; the rest stay empty.
LogVariables parselogvariables(const QString& list);
// The live variables of the settings tables (their units column).
LogVariables logvariables(const settings& tables);

// The trace palette: colour of each code 0 to 16 as 0x00BBGGRR; 16 is white, no trace.
inline constexpr std::array<std::uint32_t, 17> logpalette = {0xFFFF00, 0xFF8000, 0x801010, 0x108010, 0x80FF00, 0x40FFC0,
                                                             0x10FFFF, 0x1080FF, 0x1010FF, 0xC0C0FF, 0xC040C0, 0x802080,
                                                             0x101080, 0x6060C0, 0x707070, 0xE0E0E0, 0xFFFFFF};
// The colour of a code; a code past 16 counts as no trace.
inline std::uint32_t logpalettecolour(std::uint8_t code) {
  return logpalette[code < 17 ? code : 16];
}

// ">" on a channel: its next colour code that no other channel uses; after 15 comes 16 (no trace, always free),
// after 16 the lowest free colour again.
std::uint8_t nextlogcolour(const std::array<std::uint8_t, 16>& logcolour, int channel);

// How a channel's raw bytes are shown: raw x multiplier + offset in single precision, with the multiplier's
// decimals. The air-fuel-ratio variables 1 and 37 take the fuel's stoichiometric multiplier / 100 instead.
struct ChannelScale {
  float multiplier = 0.0f;
  float offset = 0.0f;
  int decimals = 0;
  float value(std::uint8_t raw) const { return static_cast<float>(raw) * multiplier + offset; }
};
ChannelScale channelscale(const settings& tables, const maps& model, int variable, bool metric, int fueltype);

// One channel as the grid, the value boxes and the exports show it.
struct LogColumn {
  std::uint8_t variable = 0;
  QString name, units;
  ChannelScale scale;
  std::uint8_t colourcode = lognotrace;
  // The value of each raw byte as text with the scale's decimals ("." always), made once per fill.
  std::array<QString, 256> texts;
};
using LogColumns = std::array<LogColumn, 16>;
// The 16 channels of the program's tables (logvar, logcolour, units and fuel preferences). Decimals are those of
// the multiplier, or fixed when fixeddecimals is 0 or more (the CSV export writes two).
LogColumns logcolumns(const ProgramState& state, const settings& tables, const maps& model,
                      const LogVariables& variables, int fixeddecimals = -1);

// Decimal text of a scaled value: fixed decimals, leading zero, minus sign, no grouping, "." whatever the locale.
QString logvaluetext(float value, int decimals);

// The logger's duration line at this recording position ("m minutes logged, 60 - m minutes remaining", 800
// samples a minute), empty while nothing is stored; and the fill bar (0 to 480).
std::optional<QString> logdurationtext(std::int32_t position);
int logfillbar(std::int32_t position);

// The live request table (the link's): channel i is address i.
using LogRequestTable = RequestTable;
// The logger's timer: channels 0 to 11 take the RAM addresses of their variables, and so do 12 to 15 while the
// logger holds the selector (livemode 1); otherwise those four keep what they hold (the address monitor's).
LogRequestTable logrequesttable(const LogRequestTable& current, const settings& tables,
                                const std::array<std::uint8_t, 16>& logvar, bool metric, std::uint8_t livemode);

// An address typed into the monitor: hexadecimal digits in either case, 0 to ffff. Empty, not hexadecimal or
// above ffff gives nothing, and the channel keeps its address.
std::optional<std::uint16_t> parsemonitoraddress(const QString& text);
// The monitor's timer: the four boxes feed channels 12 to 15.
LogRequestTable monitorrequesttable(const LogRequestTable& current, const std::array<QString, 4>& texts);

}  // namespace ostrel
