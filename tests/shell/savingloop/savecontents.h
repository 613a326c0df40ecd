#pragma once

// The two versions of each file that the saving loop writes in turn, for the program and the test that kills it.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "calibration/maps.h"
#include "platform/programstate.h"

namespace ostrel::test::saving {

inline const QString calibrationname = QStringLiteral("killed.s26");

// Version 0 and version 1 differ in every part of the file, so a mix of the two shows wherever it happens.
inline CalibrationImage image(int version) {
  CalibrationImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(version == 0 ? i * 7 : ~i * 3);
  for (std::size_t o = 0; o < 2048; o += 2) image[o] = static_cast<std::uint8_t>(version == 0 ? 0x05 : 0x1A);
  return image;
}

inline Preferences preferences(int version) {
  Preferences p;
  const bool on = version == 1;
  p.metricunits = on;
  p.gridcenterload = !on;
  p.trackmode = on;
  p.panelanalog = !on;
  p.autoconnect = on;
  p.hidenoncritical = !on;
  p.rapidlogging = on;
  p.gridloadup = !on;
  p.vesubstringafrerror = on;
  p.substrings = !on;
  p.comfastest = on;
  p.autosync = !on;
  p.autosyncupload = on;
  p.statusmessages = !on;
  p.comport = on ? 6 : 2;
  p.defaultview = on ? 3 : 1;
  p.fueltype = on ? 5 : 4;
  return p;
}

inline Colors colours(int version) {
  Colors c;
  const std::uint32_t base = version == 0 ? 0x00102030 : 0x00F0E0D0;
  c.bgcolor = base;
  c.wirecolor = base ^ 0x00FFFFFF;
  c.rpmbandcolor = base + 1;
  c.mapbandcolor = base + 2;
  c.trimbandcolor = base + 3;
  c.highlightcolor = base + 4;
  return c;
}

}  // namespace ostrel::test::saving
