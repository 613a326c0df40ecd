#include "mapviews/graphprojection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/numbers.h"

namespace ostrel {

namespace {

std::int32_t toint32(double v) {
  return static_cast<std::int32_t>(
      roundclamp(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

double graphsquash(float anglev) {
  return 0.8 - 0.06 * static_cast<double>(anglev);
}

double baseangle(double x, double y, double cx, double cy, double x0, double width) {
  // The 0.01 keeps the divisor off zero on the centre column.
  const double t = std::atan((cy - y) / ((cx - x) + 0.01));
  return x0 + 0.1 + 0.32 * width > x ? t : t + 3.14159;
}

GraphProjection projectgraph(const ProjectionInputs& inputs) {
  GraphProjection p;
  p.inputs = inputs;
  const double w = inputs.width, h = inputs.height;
  const int nr = std::max(inputs.rows, 2), nc = std::max(inputs.cols, 2);
  const double x0 = static_cast<double>(roundclamp(w * 0.18, -32768, 32767));
  const double y0 = static_cast<double>(roundclamp(h * 0.82, -32768, 32767));
  // Both steps come from the width: the grid is a square whatever the picture's height.
  const double stepi = w * 0.64 / (nr - 1);
  const double stepj = w * 0.64 / (nc - 1);
  const double cx = 0.32 * w + x0, cy = y0 - 0.32 * h;
  // The angle is kept in single precision, as its turn is; 114 makes the scroll bar's 0 to 360 about half a turn.
  const double turn = static_cast<double>(inputs.angles.h / 114.0f) - 1.2;
  const double squash = graphsquash(inputs.angles.v);
  const double level = y0 - 0.1 * h;  // the line the squash scales distances from
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 32; ++j) {
      const double x = stepi * i + x0;
      const double y = y0 - stepj * j;
      const double a = baseangle(x, y, cx, cy, x0, w) + turn;
      const double r = std::sqrt((y - cy) * (y - cy) + (x - cx) * (x - cx));
      p.pointx[i][j] = toint32((x0 - 400) + 0.32 * w - std::cos(a) * r);
      const std::int32_t flat = toint32(cy - std::sin(a) * r);
      p.pointy[i][j] = toint32((flat - level) * squash + level);
    }
  }
  return p;
}

const GraphProjection& GraphProjector::projection(const ProjectionInputs& inputs) {
  if (!made_ || !(projection_.inputs == inputs)) {
    projection_ = projectgraph(inputs);
    made_ = true;
  }
  return projection_;
}

GraphLayout graphlayout(int outerwidth, int outerheight) {
  GraphLayout l;
  // 135 and 525 are the window's frame across and down, 345 the room a scroll bar takes.
  const int across = std::max(0, outerwidth - 135 - 345);
  const int down = std::max(0, outerheight - 525 - 345);
  if (across > down) {
    l.pictureside = down;
    l.picturetop = 0;
    l.pictureleft = (outerwidth - 420 - l.pictureside) / 2.0;
  } else {
    l.pictureside = across;
    l.pictureleft = 0;
    l.picturetop = (outerheight - 525 - l.pictureside) / 2.0;
  }
  if (outerheight > 525) l.vscrollheight = outerheight - 525;
  if (outerwidth > 355) l.hscrollwidth = outerwidth - 355;
  l.vscrollleft = outerwidth - 360;
  l.hscrolltop = outerheight - 780;
  return l;
}

}  // namespace ostrel
