#include "editors/settingsapply.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"

namespace ostrel {

std::optional<float> parseregional(const QString& text, const QLocale& locale) {
  QLocale strict = locale;
  strict.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const float value = strict.toFloat(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

QString settingvaluetext(std::uint8_t raw, float mul, float offset, const QLocale& locale) {
  const float value = static_cast<float>(raw) * mul + offset;
  return formatregional(value, decimalsforscale(mul), Grouping::none, locale);
}

std::optional<TextApply> applytext(const QString& text, float mul, float offset, const QLocale& locale) {
  const std::optional<float> typed = parseregional(text, locale);
  if (!typed || mul == 0.0f) return std::nullopt;
  const float f = (*typed - offset) / mul;
  if (std::isnan(f)) return std::nullopt;
  TextApply result;
  result.raw = static_cast<std::uint8_t>(roundclamp(std::clamp(f, 0.0f, 255.0f), 0, 255));
  result.shown = settingvaluetext(result.raw, mul, offset, locale);
  return result;
}

std::uint8_t applybits(const std::array<bool, 8>& set) {
  std::uint8_t value = 0;
  for (int k = 0; k < 8; ++k)
    if (set[static_cast<std::size_t>(k)]) value = static_cast<std::uint8_t>(value | (1 << (7 - k)));
  return value;
}

std::optional<std::uint8_t> applycombo(int item) {
  if (item < 0) return std::nullopt;
  return static_cast<std::uint8_t>(std::min(item, 255));
}

}  // namespace ostrel
