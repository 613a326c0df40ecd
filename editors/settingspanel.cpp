#include "editors/settingspanel.h"

#include "calibration/settings.h"
#include "editors/settingsapply.h"
#include "platform/numbers.h"

namespace ostrel {

RequestTable settingsrequesttable(const settings& mainsettings, bool metric) {
  return requesttableof(
      [&](int i) { return mainsettings.getvarsaddress(mainsettings.getsettingsformvarindex(i, metric), metric); });
}

float settingspanelvalue(const settings& mainsettings, int i, float smoothed, bool metric, int fueltype) {
  const float mul = i == settingspanel::afrentry ? settings::getsettingsformspecialvarmul(fueltype)
                                                 : mainsettings.getsettingsformvarmul(i, metric);
  return mul * smoothed + mainsettings.getsettingsformvaroffset(i, metric);
}

QString settingspaneltext(const settings& mainsettings, int i, float smoothed, bool metric, int fueltype,
                          const QLocale& locale) {
  const float value = settingspanelvalue(mainsettings, i, smoothed, metric, fueltype);
  return padpanelvalue(formatregional(value, mainsettings.getsettingsformvardps(i, metric), Grouping::grouped, locale));
}

QString padpanelvalue(const QString& text) {
  const qsizetype length = text.size();
  if (length >= 1 && length <= 3) return QString(4 - length, QLatin1Char(' ')) + text;
  return text;
}

}  // namespace ostrel
