#include "gauge/gaugemath.h"

#include <algorithm>
#include <cmath>

namespace nox {

namespace {

// The scale runs from 1.065 (value 100) to 5.205 (value 0) radians.
constexpr double highendangle = 1.065;
constexpr double lowendangle = 5.205;

int channel(double mixed) {
  const double r = std::nearbyint(mixed);
  return static_cast<int>(std::clamp(r, 0.0, 255.0));
}

}  // namespace

float valueToAngle(std::uint8_t value) {
  return static_cast<float>(lowendangle - 0.0414 * value);
}

bgr blendColor(bgr a, bgr b, float percent) {
  // Channels taken arithmetically, so a stray high byte lands in blue and is then limited to 255.
  const auto split = [](bgr c) {
    const bgr blue = c / 65536;
    const bgr green = (c - blue * 65536) / 256;
    const bgr red = c % 256;
    return std::array<double, 3>{static_cast<double>(red), static_cast<double>(green), static_cast<double>(blue)};
  };
  const auto ca = split(a);
  const auto cb = split(b);
  const double p = percent;
  std::array<int, 3> out{};
  for (std::size_t i = 0; i < 3; ++i) out[i] = channel(((100.0 - p) * cb[i] + p * ca[i]) / 100.0);
  return static_cast<bgr>(out[0]) | (static_cast<bgr>(out[1]) << 8) | (static_cast<bgr>(out[2]) << 16);
}

std::optional<std::uint8_t> tobyte(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= 0.0 && r <= 255.0)) return std::nullopt;  // also refuses NaN
  return static_cast<std::uint8_t>(r);
}

QPointF Dial::point(double r, double a) const {
  return {w / 2 + r * std::sin(a), h / 2 + 130 + r * std::cos(a)};
}

std::int16_t Dial::radius(double k) const {
  const double r = std::clamp(std::nearbyint(k * h), -32768.0, 32767.0);
  return static_cast<std::int16_t>(r);
}

double zoneedgeangle(std::uint8_t z) {
  return 3.7 - 0.042 * z;
}

std::vector<Graduation> graduations(int labelCount, int intergraduations) {
  // With one label there is no span to divide: show that label alone at the low end of the scale.
  if (labelCount < 2) return {Graduation{lowendangle, true, 0}};
  const int step = std::max(intergraduations, 0) + 1;
  const int n = (labelCount - 1) * step;
  std::vector<Graduation> marks;
  marks.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    Graduation g;
    g.angle = highendangle + i * (lowendangle - highendangle) / n;
    g.labelled = i % step == 0;
    g.label = labelCount - 1 - i / step;
    marks.push_back(g);
  }
  return marks;
}

}  // namespace nox
