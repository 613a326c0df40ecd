#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

#include "link/eculink.h"

namespace ostrel {

class settings;

// The live values panel of the settings editor: the 16 settings-form variables, asked for through the data
// logger's request table and shown smoothed in 8 x 2 boxes.
namespace settingspanel {
inline constexpr int boxpitchx = 1490;  // twips from one column of boxes to the next
inline constexpr int boxpitchy = 500;
inline constexpr std::uint32_t boxcolor = 0x80A0B0;  // red 176, green 160, blue 128
inline constexpr std::uint8_t smoothweight = 25;     // each reply moves a value a quarter of the way
inline constexpr int pedalbyte = 0;                  // reply bytes of the raw pedal and throttle positions
inline constexpr int throttlebyte = 1;
inline constexpr int afrentry = 2;  // scaled by the fuel type's factor
}  // namespace settingspanel

// The request table of the panel: settings-form variable i's ECU RAM address in list i / 8, slot i mod 8, high
// byte first.
RequestTable settingsrequesttable(const settings& mainsettings, bool metric);

// The value of entry i (0 to 15) from its smoothed raw byte: multiplier (the fuel type's for entry 2) x value +
// offset, in single precision.
float settingspanelvalue(const settings& mainsettings, int i, float smoothed, bool metric, int fueltype);
// Its printed text: the entry's decimals, regional format with digit grouping, right-aligned to four characters
// by leading blanks.
QString settingspaneltext(const settings& mainsettings, int i, float smoothed, bool metric, int fueltype,
                          const QLocale& locale);
// A text of 1, 2 or 3 characters gets 3, 2 or 1 leading blanks, so that short values line up on the right.
QString padpanelvalue(const QString& text);

}  // namespace ostrel
