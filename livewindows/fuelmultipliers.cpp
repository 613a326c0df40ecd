#include "livewindows/fuelmultipliers.h"

#include "platform/numbers.h"

namespace ostrel {

RequestTable FuelMultipliers::addresses() {
  RequestTable table;
  table[0] = {0x6B, 0xC8, 0x6B, 0xC9, 0x6B, 0xC7, 0x6A, 0x33, 0x6A, 0x27, 0x6D, 0xE3, 0x6A, 0x6F, 0x6C, 0xA2};
  table[1] = {0x6A, 0x1D, 0x6B, 0xEA, 0x6A, 0xCA, 0x6C, 0xAE, 0x6B, 0xCE, 0x6A, 0xC2, 0x6A, 0xA6, 0x6A, 0xA7};
  return table;
}

const std::array<QString, FuelMultipliers::rows>& FuelMultipliers::captions() {
  static const std::array<QString, rows> texts = {QStringLiteral("Multiplier"),
                                                  QStringLiteral("Air temperature:"),
                                                  QStringLiteral("dTPS/dt:"),
                                                  QStringLiteral("Gear position:"),
                                                  QStringLiteral("ISC position:"),
                                                  QStringLiteral("Coolant temperature:"),
                                                  QStringLiteral("Barometric:"),
                                                  QStringLiteral("Cranking enrichment:"),
                                                  QStringLiteral("Long-term trim:"),
                                                  QStringLiteral("Throttle pump:"),
                                                  QStringLiteral("AC enrichment:"),
                                                  QStringLiteral("Knock enrichment:"),
                                                  QStringLiteral("Post-start enrichment:"),
                                                  QStringLiteral("Indexed fuel (ms):"),
                                                  QStringLiteral("Corrected fuel (ms):")};
  return texts;
}

const std::array<QString, FuelMultipliers::rows>& FuelMultipliers::designtexts() {
  static const std::array<QString, rows> texts = [] {
    std::array<QString, rows> t;
    t[0] = QStringLiteral("Value (%)");
    for (int i = 1; i <= multipliers; ++i) t[i] = QStringLiteral("0.00");
    t[13] = t[14] = QStringLiteral("0.000");
    return t;
  }();
  return texts;
}

float FuelMultipliers::multiplier(int row, std::uint8_t raw) {
  const auto i = static_cast<std::size_t>(row - 1);
  return (static_cast<float>(raw) - fuelmuloffset[i]) * fuelmulgain[i];
}

double FuelMultipliers::fueltime(std::uint8_t high, std::uint8_t low) {
  return (high * 256 + low) / 4.0 * 0.005;
}

std::array<QString, FuelMultipliers::rows> FuelMultipliers::values(const RxFrame& rxframe, const QLocale& locale) {
  std::array<QString, rows> texts;
  texts[0] = designtexts()[0];
  for (int i = 0; i < multipliers; ++i)
    texts[i + 1] = formatregional(multiplier(i + 1, rxframe[i + 2]), 2, Grouping::none, locale);
  texts[13] = formatregional(fueltime(rxframe[0], rxframe[1]), 3, Grouping::none, locale);
  texts[14] = formatregional(fueltime(rxframe[14], rxframe[15]), 3, Grouping::none, locale);
  return texts;
}

bool FuelMultipliers::reportdata(const RxFrame& rxframe, std::int16_t windowage, const QLocale& locale) {
  if (windowage < firstreplyage) return false;
  texts_ = values(rxframe, locale);
  return true;
}

}  // namespace ostrel
