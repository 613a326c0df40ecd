#include "livewindows/comstats.h"

#include <algorithm>

#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

ComStatsTexts ComStats::tick(std::int32_t framessent, std::int32_t errorcount, std::uint8_t fwversion,
                             const Preferences& preferences) {
  ComStatsTexts texts;
  const std::int32_t d = framessent - memory_.lastframecount;
  // With one tick every half second a steady d frames per tick settles at 2d frames per second.
  // Worked out in double, kept in single precision.
  const double smoothed = 0.4 * d + 0.8 * static_cast<double>(memory_.frequency);
  memory_.frequency = std::clamp(static_cast<float>(smoothed), minfrequency, maxfrequency);
  texts.frequency = formatfixed(memory_.frequency, 1) + QStringLiteral(" Hz");
  memory_.lastframecount = framessent;
  texts.yield = yieldtext(framessent, errorcount);
  texts.firmware = firmwaretext(fwversion);
  texts.autosync = autosynctext(preferences);
  return texts;
}

std::optional<QString> ComStats::yieldtext(std::int32_t framessent, std::int32_t errorcount) {
  if (framessent <= 0) return std::nullopt;
  const double yield = static_cast<double>(framessent - errorcount) / framessent;
  return formatfixed(std::clamp(yield * 100.0, 0.0, 100.0), 1) + QStringLiteral(" %");
}

QString ComStats::firmwaretext(std::uint8_t fwversion) {
  if (fwversion == 64) return QStringLiteral("V2.64, correct version");
  return QStringLiteral("V2.") + QString::number(fwversion) + QStringLiteral(", incorrect");
}

QString ComStats::autosynctext(const Preferences& preferences) {
  if (!preferences.autosync) return QStringLiteral("Auto-sync disabled");
  if (!preferences.autosyncupload) return QStringLiteral("Auto-sync enabled, sync by download");
  return QStringLiteral("Auto-sync enabled, sync by upload");
}

}  // namespace ostrel
