#include "livewindows/vctchart.h"

#include "livewindows/vctdata.h"

namespace ostrel {

namespace {

constexpr std::uint32_t boxcolour = 0x505050;
constexpr std::uint32_t chartcolour = 0x303030;
constexpr std::uint32_t gridcolour = 0x505050;
constexpr double chartleft = 100, chartstep = 130, charttop = 990, chartfoot = 200;

}  // namespace

PicturePlan vctboxesplan(const RxFrame& frame) {
  PicturePlan plan;
  plan.reserve(4 * vctchannelcount);
  const QString narrow = QStringLiteral("arial narrow");
  const QString arial = QStringLiteral("arial");
  for (int k = 0; k < vctchannelcount; ++k) {
    const VctChannel& c = vctchannels()[static_cast<std::size_t>(k)];
    const double x = 1650.0 * (k % 8);
    const double y = 500.0 * (k / 8);
    plan.push_back(PlanBox{x + 30, y + 80, x + 1650, y + 330, boxcolour});
    plan.push_back(PlanText{x + 60, y + 100, QString::fromLatin1(c.label), c.colour, narrow, 8, false});
    plan.push_back(PlanText{x + 950, y + 100, vctvaluetext(vctvalue(k, frame[static_cast<std::size_t>(k)])), c.colour,
                            arial, 10, true});
    plan.push_back(PlanText{x + 1390, y + 100, QString::fromLatin1(c.units), c.colour, narrow, 8, false});
  }
  return plan;
}

PicturePlan VctChart::step(const RxFrame& frame, double width, double height) {
  PicturePlan plan;
  const double h = height;
  const double u = (h - 1000) / 300;  // one raw step of an angle is 0.4u high
  if (tracex_ < sweepend) {
    ++tracex_;
  } else {
    tracex_ = 0;
    plan.push_back(PlanBox{0, charttop, width, h, chartcolour});
    for (int i = 0; i <= 101; ++i) {
      const double x = chartstep * i + chartleft;
      plan.push_back(PlanLine{x, h - chartfoot, x, h - 256 * u - chartfoot, gridcolour, 1});
    }
    for (int j = 0; j <= 16; ++j) {
      const double y = h - chartfoot - 16 * j * u;
      plan.push_back(PlanLine{chartleft, y, chartstep * 101 + chartleft, y, gridcolour, 1});
    }
  }
  for (int k = 0; k < vctanglecount; ++k) {
    const double base = 16 * u * (3 * (k / 2) + 2);  // target and actual of one cam share a base line
    const std::uint8_t now = frame[static_cast<std::size_t>(k)];
    std::uint8_t& before = previous_[static_cast<std::size_t>(k)];
    plan.push_back(PlanLine{chartstep * tracex_ + chartleft, h - chartfoot - base - 0.4 * u * before,
                            chartstep * (tracex_ + 1) + chartleft, h - chartfoot - base - 0.4 * u * now,
                            vctchannels()[static_cast<std::size_t>(k)].colour, 2});
    before = now;
  }
  return plan;
}

}  // namespace ostrel
