#include "gauge/gaugestate.h"

#include <algorithm>

namespace nox {

namespace {

std::uint8_t limitzone(std::uint8_t start) {
  return std::clamp<std::uint8_t>(start, 1, 80);
}

}  // namespace

GaugeState::GaugeState() {
  setNoxGaugeSetZones(30, 50, 70, 1);
  setPointValue(70);
  setNoxGaugeColors(defaultcolors[0], defaultcolors[1], defaultcolors[2], defaultcolors[3], defaultcolors[4],
                    defaultcolors[5], defaultcolors[6]);
  setNoxGaugeStrings(QStringLiteral("0,20,40,60,80,100,X,X,X,X,AFR"));
}

bool GaugeState::setPointValue(float value) {
  const auto b = tobyte(value);
  if (!b) return false;
  setpoint = *b;
  return true;
}

void GaugeState::setNoxGaugeColors(bgr back, bgr face, bgr needle, bgr needleCenter, bgr lowZone, bgr midZone,
                                   bgr highZone) {
  backColor = back;
  faceColor = face;
  needleColor = needle;
  needleCenterColor = needleCenter;
  lowZoneColor = lowZone;
  midZoneColor = midZone;
  highZoneColor = highZone;
}

void GaugeState::setNoxGaugeStrings(const QString& str) {
  std::array<QString, 10> parsed;
  std::uint8_t count = labelCount;  // deliberately not cleared: ten "X" labels keep the old count
  QString rest = str;
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    const qsizetype comma = rest.indexOf(QLatin1Char(','));
    if (comma < 0) {
      for (std::size_t k = 0; k < defaultlabels.size(); ++k) labels[k] = QString::fromLatin1(defaultlabels[k]);
      labelCount = static_cast<std::uint8_t>(defaultlabels.size());
      title = QStringLiteral("Brackwen");
      return;
    }
    parsed[i] = rest.left(comma);
    rest = rest.mid(comma + 1);
    // Only a capital X marks an unused slot; a lower-case x is a label like any other.
    if (parsed[i] != QLatin1String("X")) count = static_cast<std::uint8_t>(i + 1);
  }
  labels = parsed;
  labelCount = count;
  title = rest;
}

bool GaugeState::setNoxGaugeSetZones(float zonelowstart, float zonemidstart, float zonehighstart, float intergrads) {
  const auto low = tobyte(zonelowstart);
  const auto mid = tobyte(zonemidstart);
  const auto high = tobyte(zonehighstart);
  const auto inter = tobyte(intergrads);
  if (!low || !mid || !high || !inter) return false;
  // The starts are not ordered against each other; each is only kept off the ends of the band.
  zoneLowStart = limitzone(*low);
  zoneMidStart = limitzone(*mid);
  zoneHighStart = limitzone(*high);
  intergraduations = *inter;
  return true;
}

}  // namespace nox
