#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace ostrel {

// Setting values are typed and shown in the system's regional number format (formatregional).
// A typed number in the regional format, blanks around it allowed, no digit grouping; empty when it is none.
std::optional<float> parseregional(const QString& text, const QLocale& locale);

// The text of a text setting: raw x multiplier + offset in single precision, with the multiplier's decimals.
QString settingvaluetext(std::uint8_t raw, float mul, float offset, const QLocale& locale);

// A typed text value turned into the raw byte to store: (value - offset) / multiplier, limited to 0 to 255, halves
// to even; and the text the box then shows. Empty when the text is no number or the multiplier is 0.
struct TextApply {
  std::uint8_t raw = 0;
  QString shown;
};
std::optional<TextApply> applytext(const QString& text, float mul, float offset, const QLocale& locale);

// A check box stores 255 ticked, 0 not.
inline std::uint8_t applycheck(bool checked) {
  return checked ? 255 : 0;
}
// A bit field stores bit 7 - k for every set option pair k.
std::uint8_t applybits(const std::array<bool, 8>& set);
// A combo stores the position of its selected item; empty when nothing is selected.
std::optional<std::uint8_t> applycombo(int item);
// What "Enter" says of a combo that shows no item because its stored byte has none: the byte is left as it is.
inline const QString combokepttext = QStringLiteral("No choice in this list matches the stored value; it is kept");

}  // namespace ostrel
