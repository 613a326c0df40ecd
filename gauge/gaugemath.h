#pragma once

#include <QPointF>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace nox {

// A colour as the host passes it: 0x00BBGGRR, red in the low byte.
using bgr = std::uint32_t;

// The needle's half turn uses this value of pi, not the exact one.
inline constexpr double needlepi = 3.14159;

// Scale angle of a needle position: 0 lower left (5.205), 50 at the top, 100 lower right (1.065).
float valueToAngle(std::uint8_t value);

// percent % of colour a mixed with (100 - percent) % of colour b, channel by channel.
bgr blendColor(bgr a, bgr b, float percent);

// Rounds half to even into 0..255; empty when the result does not fit (or is not a number).
std::optional<std::uint8_t> tobyte(double value);

// Geometry of the dial on a surface of w by h twips; y runs downward, the dial sits 130 twips low.
struct Dial {
  double w = 0;
  double h = 0;

  QPointF centre() const { return {w / 2, h / 2 + 130}; }
  // The point at radius r and scale angle a.
  QPointF point(double r, double a) const;
  // round(k x H) as the drawing uses it: a 16-bit whole number, halves to even.
  std::int16_t radius(double k) const;
};

// Screen angle (counter-clockwise from 3 o'clock) of the edge of a zone band starting at scale value z.
double zoneedgeangle(std::uint8_t z);

// One graduation mark: its scale angle, whether it carries a label, and which label (index into the labels).
struct Graduation {
  double angle = 0;
  bool labelled = false;
  int label = 0;
};

// The marks of a scale of labelCount labels with intergraduations minor marks between two labels, from
// the high end (lower right) to the low end. Fewer than two labels give one labelled mark at the low end.
std::vector<Graduation> graduations(int labelCount, int intergraduations);

// One line of the needle's fan: offsets of the tip (d) and of the tail (e) in radians, the share of hub
// colour in its blend with the needle colour, and its width in pixels.
struct NeedleLine {
  double d;
  double e;
  float hubshare;
  int width;
};

// Drawn in this order; the last two are the needle's outline, the others fill it.
inline constexpr std::array<NeedleLine, 9> needlelines{{
    {-0.01, 0.1, 20, 2},
    {0.01, -0.1, 20, 2},
    {-0.015, 0.15, 40, 1},
    {0.015, -0.15, 40, 1},
    {-0.005, 0.05, 20, 2},
    {0.005, -0.05, 20, 2},
    {0, 0, 10, 2},
    {0.02, -0.2, 70, 1},
    {-0.02, 0.2, 70, 1},
}};

}  // namespace nox
