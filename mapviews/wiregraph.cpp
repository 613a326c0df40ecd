#include "mapviews/wiregraph.h"

#include <algorithm>
#include <limits>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "link/eculink.h"
#include "mapviews/mapgridcontent.h"
#include "mapviews/viewhelpers.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr int last = 31;  // last index of the 32 by 32 grid

int ingrid(int index) {
  return std::clamp(index, 0, last);
}

}  // namespace

std::vector<FrameItem> planframe(float angleh, int rows, int cols) {
  const int nr = std::clamp(rows, 2, 32), nc = std::clamp(cols, 2, 32);
  std::vector<FrameItem> f;
  const auto edge = [&f](int i1, int j1, int i2, int j2, bool shade) { f.push_back({false, i1, j1, i2, j2, shade}); };
  const auto post = [&f](int i, int j, bool shade) { f.push_back({true, i, j, i, j, shade}); };
  constexpr bool wire = false, shade = true;

  if (angleh < 317) {  // the side at j = 0
    edge(nr - 1, 0, 0, 0, wire);
    edge(nr - 1, 0, last, 0, shade);
    post(nr - 1, 0, wire);
    post(last, 0, nr == 32 ? wire : shade);
    post(0, 0, wire);
  }
  if (angleh < 137) {  // the side at i = 0
    if (nc < 32) {
      edge(0, nc - 1, 0, 0, wire);
      edge(0, nc - 1, 0, last, shade);
    } else {
      edge(0, 0, 0, last, wire);
    }
    post(0, last, nc == 32 ? wire : shade);
    if (nc < 32) post(0, nc - 1, wire);
  }
  if (angleh > 137) {  // the side at i = 31
    if (nr < 32) {
      edge(last, 0, last, last, shade);
    } else if (nc == 32) {
      edge(last, 0, last, last, wire);
    } else {
      edge(last, nc - 1, last, 0, wire);
      edge(last, nc - 1, last, last, shade);
    }
    if (nr < 32) {
      post(last, last, shade);
    } else {
      post(last, last, nc == 32 ? wire : shade);
      if (nc < 32) post(last, nc - 1, wire);
    }
  }
  if (angleh > 317) {  // the side at j = 31
    post(0, last, nc == 32 ? wire : shade);
    if (nr < 32 && nc == 32) post(nr - 1, last, wire);
    if (nc < 32) {
      edge(0, last, last, last, shade);
    } else {
      edge(nr - 1, last, last, last, shade);
      edge(nr - 1, last, 0, last, wire);
    }
  }
  return f;
}

std::uint32_t meshcolor(int i1, int j1, int i2, int j2, int rows, int cols, const Colors& colors) {
  const int i = std::min(i1, i2), j = std::min(j1, j2);
  const bool alongj = i1 == i2;
  const bool shown = alongj ? j < cols - 1 && i < rows : i < rows - 1 && j < cols;
  return shown ? colors.wirecolor : colors.shadecolor;
}

void planbands(std::vector<BandSegment>& out, const BandCells& cells, int rows, int cols, const Colors& colors) {
  out.clear();
  const auto rowline = [&](int r, auto color) {
    for (int j = 0; j <= cols - 2; ++j) out.push_back({r, j, r, j + 1, color(j)});
  };
  const auto colline = [&](int c, auto color) {
    for (int i = 0; i <= rows - 2; ++i) out.push_back({i, c, i + 1, c, color(i)});
  };
  const auto plain = [](std::uint32_t color) { return [color](int) { return color; }; };
  const auto alternating = [](std::uint32_t even, std::uint32_t odd) {
    return [even, odd](int k) { return k % 2 == 0 ? even : odd; };
  };

  if (cells.liverow != cells.cursorrow) {
    rowline(cells.liverow, plain(colors.rpmbandcolor));
    rowline(cells.cursorrow, plain(colors.trimbandcolor));
  } else {
    rowline(cells.liverow, alternating(colors.rpmbandcolor, colors.trimbandcolor));
  }
  if (cells.livecol != cells.cursorcol) {
    colline(cells.livecol, plain(colors.mapbandcolor));
    colline(cells.cursorcol, plain(colors.trimbandcolor));
  } else {
    colline(cells.livecol, alternating(colors.mapbandcolor, colors.trimbandcolor));
  }
}

QString mixturetext(const maps& model, int fueltype, std::uint8_t afrtarget, std::int16_t afr) {
  // Single precision, as the ratio is kept: a raw 100 shows 14.7 for gas and 1.00 for lambda.
  const float mul = model.getspecialmul(19, fueltype) / 100.0f;
  const int d = decimalsforscale(mul);
  const float target = static_cast<float>(afrtarget) * mul;
  const float measured = static_cast<float>(afr) * mul;
  return QStringLiteral("TAFR: ") + formatfixed(target, d) + QStringLiteral("  AFR: ") + formatfixed(measured, d);
}

WireGraphInputs wiregraphinputs(const maps& model, const ProgramState& state, const LiveData& live,
                                const WorkCopy* work) {
  WireGraphInputs in;
  in.map = state.curmap;
  // On 3-D maps the shown area counts rpm points across the grid (the first index) and load points down it.
  const ShownArea area = shownarea(model, state.guards, in.map);
  in.rows = std::clamp(area.across, 2, 32);
  in.cols = std::clamp(area.down, 2, 32);

  // Protected rows lie flat, the same cells the grid hides.
  const GridFill fill = GridFill::of(model, state);
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 32; ++j)
      in.z[i][j] = !cellshown(model, fill, i, j) ? 0 : work ? (*work)[i][j] : model.getdata(in.map, i, j);
  in.scale = model.getmapscale(in.map);

  // The link keeps the live cell within the shown part; the graph only keeps it on its 32 x 32 points.
  in.cells.liverow = ingrid(live.liverow);
  in.cells.livecol = ingrid(live.livecol);
  in.cells.cursorrow = ingrid(state.cursorrow);
  in.cells.cursorcol = ingrid(state.cursorcol);

  const TrimBox& box = state.trimbox;
  in.selection = box.active;
  in.rowmin = ingrid(std::min(box.rowmin, box.rowmax));
  in.rowmax = ingrid(std::max(box.rowmin, box.rowmax));
  in.colmin = ingrid(std::min(box.colmin, box.colmax));
  in.colmax = ingrid(std::max(box.colmin, box.colmax));

  in.colors = state.colors;
  in.online = state.online;
  in.graphview = state.graphview;
  in.title = graphtitle(shownmapname(model, state.guards, in.map));
  in.mixture = mixturetext(model, state.preferences.fueltype, live.afrtarget, live.livevars[6]);
  return in;
}

void WireGraph::plan(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection, double width,
                     double height, bool full) {
  scene.clear();
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 32; ++j)
      surfacey_[i][j] = static_cast<std::int32_t>(
          roundclamp(projection.pointy[i][j] - static_cast<double>(in.scale) * in.z[i][j],
                     std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));

  if (full)
    planfull(scene, in, projection, width, height);
  else
    planquick(scene, in, projection, width, height);

  if (in.selection)
    for (int i = in.rowmin; i <= in.rowmax; ++i)
      for (int j = in.colmin; j <= in.colmax; ++j)
        scene.circle(projection.pointx[i][j] + wireoffsetx, surfacey_[i][j], 20, in.colors.mapbandcolor);
}

void WireGraph::segment(GraphScene& scene, const GraphProjection& projection, int i1, int j1, int i2, int j2,
                        std::uint32_t color) const {
  scene.line(projection.pointx[i1][j1] + wireoffsetx, surfacey_[i1][j1], projection.pointx[i2][j2] + wireoffsetx,
             surfacey_[i2][j2], color);
}

void WireGraph::planbandlines(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection) {
  planbands(bandsegments_, in.cells, in.rows, in.cols, in.colors);
  for (const BandSegment& s : bandsegments_) segment(scene, projection, s.i1, s.j1, s.i2, s.j2, s.color);
  bands_ = {true, in.map, in.cells};
}

void WireGraph::planfull(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection, double width,
                         double height) {
  const Colors& c = in.colors;
  scene.setsbackcolor = true;
  scene.backcolor = c.bgcolor;
  scene.box(0, 0, width, height, c.bgcolor);

  scene.print(0.5 * width - 50.0 * in.title.size(), 100, in.title, 11, false, titlecolor);

  // The arrow legend moves left while connected, to leave the right-hand part to the mixture text.
  const double ax = in.online ? 0.3 * width : 0.5 * width;
  const double h = height;
  scene.print(ax - 1100, h - 400, in.graphview ? QStringLiteral("ARROWS BY MAP") : QStringLiteral("ARROWS BY GRID"), 14,
              true, titlecolor);
  if (in.graphview) {
    const std::uint32_t t = c.trimbandcolor;  // an up-and-down arrow
    scene.line(ax - 1500, h - 170, ax - 1200, h - 170, t);
    scene.line(ax - 1500, h - 220, ax - 1200, h - 220, t);
    scene.line(ax - 1500, h - 220, ax - 1350, h - 350, t);
    scene.line(ax - 1200, h - 220, ax - 1350, h - 350, t);
    scene.line(ax - 1500, h - 170, ax - 1350, h - 40, t);
    scene.line(ax - 1200, h - 170, ax - 1350, h - 40, t);
  } else {
    for (const double y : {h - 350, h - 275, h - 200, h - 125})  // a small grid
      scene.line(ax - 1500, y, ax - 1200, y, titlecolor);
    for (const double x : {ax - 1500, ax - 1350, ax - 1200}) scene.line(x, h - 350, x, h - 125, titlecolor);
  }

  for (const FrameItem& f : planframe(projection.inputs.angles.h, in.rows, in.cols)) {
    const std::uint32_t color = f.shade ? c.shadecolor : c.wirecolor;
    const double x1 = projection.pointx[f.i1][f.j1] + wireoffsetx;
    if (f.post)
      scene.line(x1, projection.pointy[f.i1][f.j1], x1, surfacey_[f.i1][f.j1], color);
    else
      scene.line(x1, projection.pointy[f.i1][f.j1], projection.pointx[f.i2][f.j2] + wireoffsetx,
                 projection.pointy[f.i2][f.j2], color);
  }

  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < last; ++j)
      segment(scene, projection, i, j, i, j + 1, meshcolor(i, j, i, j + 1, in.rows, in.cols, c));
  for (int i = 0; i < last; ++i)
    for (int j = 0; j < 32; ++j)
      segment(scene, projection, i, j, i + 1, j, meshcolor(i, j, i + 1, j, in.rows, in.cols, c));

  planbandlines(scene, in, projection);
}

void WireGraph::planquick(GraphScene& scene, const WireGraphInputs& in, const GraphProjection& projection, double width,
                          double height) {
  const Colors& c = in.colors;
  // The old bands go back to the mesh's own colours; bands remembered on another map lie on no line of this one.
  if (bands_.drawn && bands_.map == in.map) {
    const BandCells& old = bands_.cells;
    const auto rowline = [&](int r) {
      for (int j = 0; j <= in.cols - 2; ++j)
        segment(scene, projection, r, j, r, j + 1, meshcolor(r, j, r, j + 1, in.rows, in.cols, c));
    };
    const auto colline = [&](int col) {
      for (int i = 0; i <= in.rows - 2; ++i)
        segment(scene, projection, i, col, i + 1, col, meshcolor(i, col, i + 1, col, in.rows, in.cols, c));
    };
    rowline(old.liverow);
    colline(old.livecol);
    rowline(old.cursorrow);
    colline(old.cursorcol);
  }
  planbandlines(scene, in, projection);

  const double x = 0.7 * width - 960, y = height - 400;
  scene.setsbackcolor = true;
  scene.backcolor = c.bgcolor;
  scene.box(x, y, width, height, c.bgcolor);
  scene.print(x, y, in.mixture, 14, true, mixturecolor);
}

}  // namespace ostrel
