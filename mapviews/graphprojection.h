#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace ostrel {

// Screen positions (twips) of a 32 by 32 grid of points, indexed (i, j): i along the map's rows (the rpm points of
// a 3-D map), j along its columns (the load points).
using GraphPoints = std::array<std::array<std::int32_t, 32>, 32>;

// The two viewing angles of the 3-D graph: the turn about the grid's centre (0 to 360, the horizontal scroll bar)
// and the elevation (0 to 10, the vertical one), which squashes the grid vertically.
struct GraphAngles {
  float h = 62.0f;
  float v = 7.0f;
  bool operator==(const GraphAngles&) const = default;
};

// What a projection is made from: the picture's size in twips, the shown point counts along i and j, the angles.
struct ProjectionInputs {
  double width = 0;
  double height = 0;
  int rows = 2;  // shown points along i
  int cols = 2;  // shown points along j
  GraphAngles angles;
  bool operator==(const ProjectionInputs&) const = default;
};

// The base grid of the 3-D graph (every point at height 0) seen from the angles: the shown part of the grid fills a
// square of side 0.64 of the picture's width, turned about its centre and squashed by the elevation. Points beyond
// the shown rows and columns lie outside that square. x does not yet carry the drawing offset of the wire graph.
struct GraphProjection {
  ProjectionInputs inputs;
  GraphPoints pointx{};
  GraphPoints pointy{};
};

// The vertical squash of the elevation: 0.8 at 0 down to 0.2 at 10.
double graphsquash(float anglev);

// Angle (radians, before the turn) at which a base point at (x, y) lies from the centre (cx, cy). Points at or right
// of x0 + 0.1 + 0.32 W (the centre line) lie half a turn on; x0 is the grid's left edge and width the picture's.
double baseangle(double x, double y, double cx, double cy, double x0, double width);

// Projects the 32 by 32 base grid. Counts below 2 are taken as 2, so a map that shows a single point never divides
// by zero.
GraphProjection projectgraph(const ProjectionInputs& inputs);

// Keeps the last projection and makes it again only when its inputs change (size, angles, shown counts).
class GraphProjector {
 public:
  // The projection for these inputs, made afresh when they differ from the last ones.
  const GraphProjection& projection(const ProjectionInputs& inputs);
  // The last projection made (all points 0 before the first).
  const GraphProjection& last() const { return projection_; }

 private:
  GraphProjection projection_;
  bool made_ = false;
};

// Where the graph window puts its picture and scroll bars for its outer size (twips): the picture is the largest
// square left of the vertical bar and above the horizontal one, centred across or down the rest. A scroll bar's
// length is only set when the window is big enough for it (empty: keep the one it has).
struct GraphLayout {
  double pictureleft = 0, picturetop = 0;
  int pictureside = 0;
  int vscrollleft = 0;
  std::optional<int> vscrollheight;
  int hscrolltop = 0;
  std::optional<int> hscrollwidth;
};
GraphLayout graphlayout(int outerwidth, int outerheight);

}  // namespace ostrel
