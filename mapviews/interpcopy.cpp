#include "mapviews/interpcopy.h"

#include <algorithm>
#include <array>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "mapviews/pendingwrite.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

struct ModeTitle {
  int mode;
  const char* title;
};
constexpr std::array<ModeTitle, 8> modetitles{{{toolmodes::interpx, "Interpolate in X direction (or rpm)"},
                                               {toolmodes::interpy, "Interpolate in Y direction (or load)"},
                                               {toolmodes::copyfirstcol, "Copy up in Y direction (or load)"},
                                               {toolmodes::copylastcol, "Copy up in Y direction (or load)"},
                                               {toolmodes::copyfirstrow, "Copy forward in X direction (or rpm)"},
                                               {toolmodes::copylastrow, "Copy forward in X direction (or rpm)"},
                                               {toolmodes::learn, "Learn values"},
                                               {toolmodes::autotune, "Autotune VE map"}}};

int limited(int value, int count) {
  return std::clamp(value, 0, std::max(count - 1, 0));
}

// One point of the straight line from a (at 0) to b (at span), as the tool works it out: the slope in single
// precision, then the step and the sum, each kept in single precision, rounded half to even.
std::int32_t linepoint(int a, int b, int span, int at) {
  const float slope = static_cast<float>(static_cast<double>(b - a) / span);
  const float step = static_cast<float>(at) * slope;
  const float v = static_cast<float>(a) + step;
  return static_cast<std::int32_t>(roundhalfeven(v));
}

}  // namespace

CellBox cellbox(const TrimBox& box, const maps& model, int map) {
  const int rows = model.getmaprows(map), cols = model.getmapcols(map);
  const int rowmin = std::min(box.rowmin, box.rowmax), rowmax = std::max(box.rowmin, box.rowmax);
  const int colmin = std::min(box.colmin, box.colmax), colmax = std::max(box.colmin, box.colmax);
  return {limited(rowmin, rows), limited(rowmax, rows), limited(colmin, cols), limited(colmax, cols)};
}

QString interpcopytitle(int toolmode) {
  for (const ModeTitle& t : modetitles)
    if (t.mode == toolmode) return QString::fromLatin1(t.title);
  return {};
}

void loadworkcopy(const maps& model, int map, WorkCopy& work) {
  const int rows = std::min(model.getmaprows(map), 32), cols = std::min(model.getmapcols(map), 32);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) work[r][c] = r < rows && c < cols ? model.getdata(map, r, c) : 0;
}

void interpx(const maps& model, int map, const CellBox& box, WorkCopy& work) {
  loadworkcopy(model, map, work);
  const int r0 = box.rowmin, r1 = box.rowmax;
  if (r1 <= r0) return;
  for (int c = box.colmin; c <= box.colmax; ++c) {
    const int a = model.getdata(map, r0, c), b = model.getdata(map, r1, c);
    for (int r = r0; r <= r1; ++r) work[r][c] = linepoint(a, b, r1 - r0, r - r0);
  }
}

void interpy(const maps& model, int map, const CellBox& box, WorkCopy& work) {
  loadworkcopy(model, map, work);
  const int c0 = box.colmin, c1 = box.colmax;
  if (c1 <= c0) return;
  for (int r = box.rowmin; r <= box.rowmax; ++r) {
    const int a = model.getdata(map, r, c0), b = model.getdata(map, r, c1);
    for (int c = c0; c <= c1; ++c) work[r][c] = linepoint(a, b, c1 - c0, c - c0);
  }
}

void copyX(const maps& model, int map, const CellBox& box, int toolmode, WorkCopy& work) {
  loadworkcopy(model, map, work);
  const int from = toolmode == toolmodes::copylastrow ? box.rowmax : box.rowmin;
  std::array<std::int32_t, 32> line{};
  for (int i = 0; i < 32; ++i) line[i] = model.getdata(map, from, i);
  for (int r = box.rowmin; r <= box.rowmax; ++r)
    for (int c = box.colmin; c <= box.colmax; ++c) work[r][c] = line[c];
}

void copyY(const maps& model, int map, const CellBox& box, int toolmode, WorkCopy& work) {
  loadworkcopy(model, map, work);
  const int from = toolmode == toolmodes::copylastcol ? box.colmax : box.colmin;
  std::array<std::int32_t, 32> line{};
  for (int i = 0; i < 32; ++i) line[i] = model.getdata(map, i, from);
  for (int r = box.rowmin; r <= box.rowmax; ++r)
    for (int c = box.colmin; c <= box.colmax; ++c) work[r][c] = line[r];
}

bool fillinterpcopy(int toolmode, const maps& model, int map, const CellBox& box, WorkCopy& work) {
  const bool rows = box.rowmax > box.rowmin, cols = box.colmax > box.colmin;
  switch (toolmode) {
    case toolmodes::interpx:
      if (!rows) return false;
      interpx(model, map, box, work);
      return true;
    case toolmodes::interpy:
      if (!cols) return false;
      interpy(model, map, box, work);
      return true;
    case toolmodes::copyfirstcol:
    case toolmodes::copylastcol:
      if (!cols) return false;
      copyY(model, map, box, toolmode, work);
      return true;
    case toolmodes::copyfirstrow:
    case toolmodes::copylastrow:
      if (!rows) return false;
      copyX(model, map, box, toolmode, work);
      return true;
    default:
      return false;
  }
}

void storeinterpcopy(ProgramState& state, maps& model, const CellBox& box, const WorkCopy& work) {
  const int map = state.curmap;
  for (int r = box.rowmin; r <= box.rowmax; ++r)
    for (int c = box.colmin; c <= box.colmax; ++c) {
      const std::int32_t value = work[r][c];
      setcell(model, state.guards, map, r, c, value, value != model.getdata(map, r, c));
    }
  markdirtycells(state, box.rowmin, box.rowmax, box.colmin, box.colmax);
  state.syncerrticks = 0;
}

}  // namespace ostrel
