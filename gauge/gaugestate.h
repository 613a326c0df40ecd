#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "gauge/gaugemath.h"

namespace nox {

// The seven colours a gauge starts with: back, face, needle, hub, low, middle and high zone.
inline constexpr std::array<bgr, 7> defaultcolors{0x403010, 0xF0F010, 0x00FFFF, 0x000000, 0xC0F000, 0x01F080, 0x01F0F0};

// The labels put back when a scale text cannot be read.
inline constexpr std::array<const char*, 6> defaultlabels{"0", "20", "40", "60", "80", "100"};

// Everything one gauge remembers between calls. The setters check all of their input before they store
// anything, so a refused call leaves the gauge exactly as it was.
struct GaugeState {
  bgr backColor = defaultcolors[0];
  bgr faceColor = defaultcolors[1];
  bgr needleColor = defaultcolors[2];
  bgr needleCenterColor = defaultcolors[3];
  bgr lowZoneColor = defaultcolors[4];
  bgr midZoneColor = defaultcolors[5];
  bgr highZoneColor = defaultcolors[6];

  std::uint8_t zoneLowStart = 30;
  std::uint8_t zoneMidStart = 50;
  std::uint8_t zoneHighStart = 70;
  std::uint8_t intergraduations = 1;
  std::uint8_t setpoint = 70;

  std::array<QString, 10> labels;
  std::uint8_t labelCount = 6;
  QString title;

  // Working angles of the shading arcs, rewritten by every full repaint.
  float arcStart = 0;
  float arcEnd = 0;

  // The state of a newly created gauge, set up through the same calls as the control's creation.
  GaugeState();

  // Needle position, rounded half to even; false (and nothing stored) outside 0..255.
  bool setPointValue(float value);

  void setNoxGaugeColors(bgr back, bgr face, bgr needle, bgr needleCenter, bgr lowZone, bgr midZone, bgr highZone);

  // Ten comma-terminated labels, then the title (which may hold commas). A text with fewer than ten commas
  // gives the default labels 0 to 100 and the title "Brackwen"; labels 6 to 9 keep their texts.
  void setNoxGaugeStrings(const QString& str);

  // Zone starts limited to 1..80, inter-graduations as given; false (and nothing stored) when any value does
  // not fit in 0..255 after rounding.
  bool setNoxGaugeSetZones(float zonelowstart, float zonemidstart, float zonehighstart, float intergrads);
};

}  // namespace nox
