#include "mapviews/tablegraph.h"

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "link/eculink.h"
#include "mapviews/viewhelpers.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr std::uint32_t gridcolor = 0x00505050;      // red, green and blue 80
constexpr std::uint32_t zerolinecolor = 0x00808080;  // 128

}  // namespace

TableGraphInputs tablegraphinputs(const maps& model, const ProgramState& state, const LiveData& live,
                                  const WorkCopy* work) {
  TableGraphInputs in;
  const int map = state.curmap;
  const bool protectedtable = mapguarded(state.guards, map);
  for (int c = 0; c < 16; ++c) in.v[c] = protectedtable ? 0 : work ? (*work)[0][c] : model.getdata(map, 0, c);
  in.scale = model.getmapscale(map);
  in.signedvalues = mapdisplay(model, state.guards, map, state.preferences.fueltype).offset < 0;
  in.livecol = live.livecol;
  in.cursorcol = state.cursorcol;
  in.livesample = live.livesample;
  in.selection = state.trimbox.active;
  // On a table the box's columns are the cells' columns.
  in.colmin = std::clamp<int>(std::min(state.trimbox.colmin, state.trimbox.colmax), 0, 15);
  in.colmax = std::clamp<int>(std::max(state.trimbox.colmin, state.trimbox.colmax), 0, 15);
  in.colors = state.colors;
  in.title = graphtitle(shownmapname(model, state.guards, map));
  return in;
}

double tablescale(double height, float mapscale) {
  return height * static_cast<double>(mapscale) / 9000.0;
}

void plantablegraph(GraphScene& scene, const TableGraphInputs& in, TableTrail& trail, double width, double height) {
  scene.clear();
  const Colors& c = in.colors;
  const double cw = 0.067 * width;
  const double ys = tablescale(height, in.scale);
  const double yb = 0.8 * height;
  const auto xof = [cw](int col) { return roundhalfeven(cw * col); };

  scene.setsbackcolor = true;
  scene.backcolor = c.bgcolor;
  scene.box(0, 0, width, height, c.bgcolor);
  scene.print(0.5 * width - 50.0 * in.title.size() + 200, 100, in.title, 12, false, titlecolor);

  if (in.livesample > 0) {
    // Shifting and drawing share one pass, so the older half is drawn as it stands after the shift.
    for (int k = 0; k <= 98; ++k) {
      trail.value[99 - k] = trail.value[98 - k];
      trail.col[99 - k] = trail.col[98 - k];
      if (trail.value[k] == 0) continue;  // a slot no live point has filled yet
      const double x = roundhalfeven(cw * trail.col[k] - cw / 4);
      const double y = yb - trail.value[k] * ys;
      scene.line(x, y - 50, x + cw / 2, y + 50, c.mapbandcolor);
      scene.line(x, y + 50, x + cw / 2, y - 50, c.mapbandcolor);
    }
    trail.value[0] = in.livesample;
    trail.col[0] = static_cast<std::uint8_t>(in.livecol);
  }

  const double top = yb - 255 * ys;
  for (int col = 0; col <= 14; ++col) scene.line(xof(col), top, xof(col), yb, gridcolor);
  scene.line(roundhalfeven(width - 10), top, roundhalfeven(width - 10), yb, gridcolor);
  for (int r = 0; r <= 15; ++r) scene.line(0, yb - 17 * ys * r, width, yb - 17 * ys * r, gridcolor);

  const double zero = in.signedvalues ? yb - 128 * ys : yb;
  scene.line(0, zero, width, zero, zerolinecolor, 2);

  for (int col = 0; col <= 14; ++col) {
    const bool live = in.livecol == col || in.livecol == col + 1;
    const bool cursor = in.cursorcol == col || in.cursorcol == col + 1;
    const std::uint32_t color = live ? c.mapbandcolor : cursor ? c.trimbandcolor : c.wirecolor;
    scene.line(xof(col), yb - in.v[col] * ys, xof(col) + cw, yb - in.v[col + 1] * ys, color, live || cursor ? 2 : 1);
  }

  if (in.selection)
    for (int col = in.colmin; col <= in.colmax; ++col) scene.circle(xof(col), yb - in.v[col] * ys, 50, c.mapbandcolor);
}

}  // namespace ostrel
