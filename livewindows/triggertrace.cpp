#include "livewindows/triggertrace.h"

#include <algorithm>
#include <array>

namespace ostrel {

namespace {

constexpr std::uint32_t black = 0x000000, yellow = 0x00FFFF, green = 0x00FF00;
constexpr double originx = 300;

// The stamps of one list, divided by the zoom; the entries past the capture stay 0.
std::array<double, 341> stamps(const RamImage& image, int first, int zoom) {
  std::array<double, 341> list{};
  for (int k = 0; k < triggerstampcount; ++k)
    list[static_cast<std::size_t>(k)] = triggerstamp(image, first + 3 * k) / (zoom + 1);
  return list;
}

// Coordinates go to the drawing in single precision.
double single(double value) {
  return static_cast<float>(value);
}

}  // namespace

double triggerstamp(const RamImage& image, int n) {
  const auto at = [&](int i) { return static_cast<double>(image[static_cast<std::size_t>(n + i)]); };
  return at(0) * 65536 + at(1) * 256 + at(2);
}

PicturePlan triggerplan(const RamImage& image, const TriggerView& view, double width, double height) {
  const int zoom = std::clamp(view.zoom, 0, TriggerView::maxzoom);
  const int start = std::clamp(view.start, 0, TriggerView::maxstart);
  const auto t = stamps(image, triggerstampsat, zoom);
  const auto s = stamps(image, syncstampsat, zoom);
  const double h = height;
  const double origin = t[static_cast<std::size_t>(3 * start)];
  const auto x = [&](double stamp) { return single(stamp + originx - origin); };

  PicturePlan plan;
  plan.reserve(1 + 4 * triggeredges);
  plan.push_back(PlanBox{0, 0, width, h, black});
  const double triggerhigh = single(h / 6), triggerlow = single(h / 3);
  const double synchigh = single(h / 1.7), synclow = single(h / 1.3);
  for (int j = 0; j < triggeredges; ++j) {
    const auto i = static_cast<std::size_t>(j);
    const bool even = j % 2 == 0;
    plan.push_back(PlanLine{x(t[i]), triggerhigh, x(t[i]), triggerlow, yellow, 1});
    const double triggerlevel = even != view.inverttrigger ? triggerlow : triggerhigh;
    plan.push_back(PlanLine{x(t[i]), triggerlevel, x(t[i + 1]), triggerlevel, yellow, 1});
    plan.push_back(PlanLine{x(s[i]), synchigh, x(s[i]), synclow, green, 1});
    const double synclevel = even != view.invertsync ? synclow : synchigh;
    plan.push_back(PlanLine{x(s[i]), synclevel, x(s[i + 1]), synclevel, green, 1});
  }
  return plan;
}

}  // namespace ostrel
