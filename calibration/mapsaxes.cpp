#include <algorithm>
#include <cmath>

#include "calibration/mapcatalogue.h"
#include "calibration/maps.h"
#include "platform/numbers.h"

namespace ostrel {

namespace mc = mapcatalogue;

namespace {

constexpr int settingsmap = 110;
constexpr int endmarker = 255;

// The fuel conversions work in extended precision from these double constants.
constexpr long double vefactor = 4.453;
constexpr long double pwstep = 0.005;  // ms per step of map 0

// Whole numbers with thousands grouped by ",", as the axis labels print larger pressures.
QString grouped(double value, int decimals) {
  QString text = formatfixed(value, decimals);
  const int point = text.indexOf(QLatin1Char('.'));
  const int intend = point < 0 ? text.size() : point;
  const int intstart = text.startsWith(QLatin1Char('-')) ? 1 : 0;
  for (int pos = intend - 3; pos > intstart; pos -= 3) text.insert(pos, QLatin1Char(','));
  return text;
}

// Fuel types 1 to 6 (GAS, ETH, MTH, E10, E85, LAMBDA): the stoichiometric ratio the AFR maps are shown in.
constexpr std::array<float, 6> fuelmultipliers{14.7f, 9.0f, 6.4f, 14.1f, 9.8f, 1.0f};

}  // namespace

float maps::loadfraction(int j) const {
  return j >= 0 && j < static_cast<int>(loadfractions_.size()) ? loadfractions_[j] : 0.0f;
}

void maps::recalc() {
  lastshowrow_ = 32;
  lastshowcol_ = 32;
  Labels& y0 = ylabels_[0];
  Labels& x0 = xlabels_[0];
  y0 = {QStringLiteral("0 kPa;"), QStringLiteral("760 mmHg;")};
  x0 = {QStringLiteral("0 rpm;"), QStringLiteral("0 rpm;")};
  loadfractions_[0] = 0.0f;

  int load = 0;
  int rpm = 0;
  for (int i = 0; i <= 30; ++i) {
    const int loadinc = getdata(settingsmap, 4 + i / 16, i % 16);
    const int rpminc = getdata(settingsmap, 6 + i / 16, i % 16);
    // The first end marker of an axis decides how much of it is shown; the sums still run over all increments.
    if (rpminc == endmarker && i + 1 < lastshowcol_) lastshowcol_ = static_cast<std::uint8_t>(i + 1);
    if (loadinc == endmarker && i + 1 < lastshowrow_) lastshowrow_ = static_cast<std::uint8_t>(i + 1);

    load += loadinc;
    loadfractions_[i + 1] = static_cast<float>(load / 760.0);
    if (load < 760) {
      y0.imperial += QString::number(760 - load) + QStringLiteral(" mmHg;");
      y0.metric += grouped(load / 7.5, 0) + QStringLiteral(" kPa;");
    } else if (load == 760) {
      y0.imperial += QStringLiteral("0 mmHg;");
      y0.metric += QStringLiteral("101 kPa;");
    } else {
      y0.imperial += grouped((load - 760) * 0.0196, 1) + QStringLiteral(" psi;");
      y0.metric += grouped((load - 760) * 0.137 + 101, 0) + QStringLiteral(" kPa;");
    }

    rpm += rpminc;
    const QString rpmlabel = QString::number(rpm * 5) + QStringLiteral(" rpm;");
    x0.metric += rpmlabel;
    x0.imperial += rpmlabel;
  }
  for (QString* s : {&y0.metric, &y0.imperial, &x0.metric, &x0.imperial}) *s += QLatin1Char(' ');

  for (int map = 1; map <= 23; ++map) xlabels_[map] = x0;
  for (int map : mc::loadlabelmaps) ylabels_[map] = y0;

  for (int k = 0; k < 8; ++k) {
    const int v = getdata(settingsmap, 3, k);
    if (v < 128) xlabels_[88 + k] = varlabels16_[v];
  }
  for (int k = 0; k < 4; ++k) {
    const int v = getdata(settingsmap, 3, 8 + k);
    if (v < 128) xlabels_[106 + k] = varlabels32_[v];
    const int w = getdata(settingsmap, 3, 12 + k);
    if (w < 128) ylabels_[106 + k] = varlabels32_[w];
    // The spread variables put the 3-D breakpoints themselves on the axis.
    if (v == 29) xlabels_[106 + k] = y0;
    if (v == 30) xlabels_[106 + k] = x0;
    if (w == 29) ylabels_[106 + k] = y0;
    if (w == 30) ylabels_[106 + k] = x0;
  }
}

float maps::interpdatabyte(int map, float x, float y) const {
  // Positions are limited to the grid: below 0 (or NaN) reads as 0, above 30.999 as 30.999.
  const auto limit = [](float v) { return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 30.999f); };
  const float xl = limit(x), yl = limit(y);
  const int i = static_cast<int>(xl);
  const int j = static_cast<int>(yl);
  const double a = getdata(map, i, j), b = getdata(map, i, j + 1);
  const double c = getdata(map, i + 1, j), d = getdata(map, i + 1, j + 1);
  const float r1 = static_cast<float>((i + 1 - static_cast<double>(xl)) * a + (xl - static_cast<double>(i)) * c);
  const float r2 = static_cast<float>((i + 1 - static_cast<double>(xl)) * b + (xl - static_cast<double>(i)) * d);
  return static_cast<float>((j + 1 - static_cast<double>(yl)) * r1 + (yl - static_cast<double>(j)) * r2);
}

int maps::getchecksum(int map) const {
  int sum = 0;
  int product = 0;
  const int rows = getmaprows(map), cols = getmapcols(map);
  for (int r = 0; r < rows; ++r) {
    if (map == 0) {
      for (int c = 0; c < cols; ++c) {
        const int v = getdata(map, r, c);
        const int hi = v / 256, lo = v % 256;
        sum = (sum + hi + lo) % 256;
        product = (product + lo * hi) % 256;
      }
    } else {
      for (int c = 0; c + 1 < cols; c += 2) {
        const int a = getdata(map, r, c), b = getdata(map, r, c + 1);
        sum = (sum + a + b) % 256;
        product = (product + a * b) % 256;
      }
    }
  }
  return sum * 256 + product;
}

float maps::getVEPW(int i, int j) const {
  const long double c = getdata(settingsmap, 10, 7);
  const float q = static_cast<float>(getdata(settingsmap, 9, 14));
  const float a = static_cast<float>(getdata(19, i, j));
  const long double divisor = static_cast<long double>(q) * a;
  if (divisor == 0) return 0.0f;  // no injector flow or no AFR target: no pulse width
  const long double v = getdata(4, i, j);
  return static_cast<float>(static_cast<long double>(loadfraction(j)) * vefactor * c * v / divisor);
}

float maps::getPWVE(int i, int j) const {
  int k = 0;
  for (int n = 0; n <= 10; ++n)
    if (loadfractions_[n] < 0.25f) k = n;
  if (j == 0) return static_cast<float>(getdata(4, i, 1));  // no load: the VE map's own value one breakpoint up
  long double p = getdata(0, i, j);
  // Below breakpoint k the pulse width rises in a straight line from 0 to the cell at k.
  if (j < k) p = static_cast<long double>(j) / k * getdata(0, i, k);
  const long double divisor = static_cast<long double>(loadfraction(j)) * vefactor * getdata(settingsmap, 10, 7);
  if (divisor == 0) return 0.0f;  // no load breakpoint or no cylinder capacity: no VE
  const long double q = getdata(settingsmap, 9, 14), a = getdata(19, i, j);
  return static_cast<float>(p * pwstep * q * a / divisor);
}

float maps::getspecialmul(int map, int fueltype) const {
  if (map != 19 && map != 21 && map != 110) return 1.0f;
  if (fueltype < 1 || fueltype > 6) return 0.0f;
  return fuelmultipliers[fueltype - 1];
}

}  // namespace ostrel
