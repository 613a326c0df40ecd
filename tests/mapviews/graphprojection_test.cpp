#include "mapviews/graphprojection.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ostrel;

namespace {

ProjectionInputs inputs(double w, double h, int rows, int cols, float angleh, float anglev) {
  ProjectionInputs in;
  in.width = w;
  in.height = h;
  in.rows = rows;
  in.cols = cols;
  in.angles = {angleh, anglev};
  return in;
}

}  // namespace

// Points worked out apart from the program (double precision, the turn in single, halves to even) at a few sizes
// and angles; the 20 by 12 case puts the far shown corner (19, 11) where the full grid puts (31, 31).
TEST(GraphProjection, GoldenPoints) {
  struct Point {
    int i, j, x, y;
  };
  const struct {
    ProjectionInputs in;
    std::vector<Point> points;
  } cases[] = {
      {inputs(6000, 6000, 32, 32, 62, 7),
       {{0, 0, 2250, 4842},
        {31, 0, 5293, 3951},
        {0, 31, -93, 3685},
        {31, 31, 2950, 2795},
        {10, 20, 1720, 3809},
        {19, 11, 3284, 3886}}},
      {inputs(6000, 6000, 20, 12, 62, 7),
       {{0, 0, 2250, 4842},
        {31, 0, 7214, 3389},
        {0, 31, -4352, 1583},
        {31, 31, 612, 131},
        {10, 20, -408, 2271},
        {19, 11, 2950, 2795}}},
      {inputs(15000, 15000, 32, 32, 200, 0),
       {{0, 0, 492, 9403},
        {31, 0, 8654, 13446},
        {0, 31, 5546, 2874},
        {31, 31, 13708, 6917},
        {10, 20, 6385, 6495},
        {19, 11, 7288, 9564}}},
      {inputs(4500, 3000, 32, 32, 330, 10),
       {{0, 0, 1075, 1718},
        {31, 0, 719, 2290},
        {0, 31, 3933, 1790},
        {31, 31, 3577, 2361},
        {10, 20, 2804, 1949},
        {19, 11, 1871, 2094}}},
      {inputs(6000, 6000, 32, 32, 0, 5),
       {{0, 0, 3694, 4902},
        {31, 0, 5085, 3113},
        {0, 31, 115, 4207},
        {31, 31, 1506, 2418},
        {10, 20, 1834, 3876},
        {19, 11, 3277, 3559}}},
  };
  for (const auto& c : cases) {
    const GraphProjection p = projectgraph(c.in);
    for (const Point& pt : c.points) {
      EXPECT_EQ(p.pointx[pt.i][pt.j], pt.x) << c.in.angles.h << " " << pt.i << "," << pt.j;
      EXPECT_EQ(p.pointy[pt.i][pt.j], pt.y) << c.in.angles.h << " " << pt.i << "," << pt.j;
    }
  }
}

TEST(GraphProjection, ElevationSquashesTheGridVertically) {
  EXPECT_NEAR(graphsquash(7), 0.38, 1e-12);
  EXPECT_NEAR(graphsquash(0), 0.8, 1e-12);
  EXPECT_NEAR(graphsquash(10), 0.2, 1e-12);

  // Distances from the line 0.1 H above the grid's front edge shrink with the factor; x does not change.
  const GraphProjection flat = projectgraph(inputs(6000, 6000, 32, 32, 62, 10));
  const GraphProjection steep = projectgraph(inputs(6000, 6000, 32, 32, 62, 0));
  const double level = 4920 - 600;
  EXPECT_EQ(flat.pointx, steep.pointx);
  EXPECT_NEAR((flat.pointy[31][31] - level) / (steep.pointy[31][31] - level), 0.25, 0.01);
}

// A point at x0 + 0.1 + 0.32 W and right of it lies half a turn on; left of it, not.
TEST(GraphProjection, PointsRightOfTheCentreLineTakeTheOtherBranch) {
  const double w = 6000, x0 = 1080, cx = 3000, cy = 3000, y = 1000;
  const double edge = x0 + 0.1 + 0.32 * w;
  const auto plain = [&](double x) { return std::atan((cy - y) / ((cx - x) + 0.01)); };
  EXPECT_DOUBLE_EQ(baseangle(edge, y, cx, cy, x0, w), plain(edge) + 3.14159);
  EXPECT_DOUBLE_EQ(baseangle(edge + 100, y, cx, cy, x0, w), plain(edge + 100) + 3.14159);
  const double left = std::nextafter(edge, 0.0);
  EXPECT_DOUBLE_EQ(baseangle(left, y, cx, cy, x0, w), plain(left));
  EXPECT_DOUBLE_EQ(baseangle(cx, y, cx, cy, x0, w), plain(cx));
}

TEST(GraphProjection, AZeroPictureAndCountsBelowTwoStayFinite) {
  // A window too small for a picture: every point lands on one spot, none is lost to a division.
  const GraphProjection none = projectgraph(inputs(0, 0, 32, 32, 62, 7));
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 32; ++j) {
      EXPECT_EQ(none.pointx[i][j], -400);
      EXPECT_EQ(none.pointy[i][j], 0);
    }
  // A map that shows fewer than two points along an axis is spaced as one that shows two.
  EXPECT_EQ(projectgraph(inputs(6000, 6000, 1, 0, 62, 7)).pointx, projectgraph(inputs(6000, 6000, 2, 2, 62, 7)).pointx);
  EXPECT_EQ(projectgraph(inputs(6000, 6000, 1, 0, 62, 7)).pointy, projectgraph(inputs(6000, 6000, 2, 2, 62, 7)).pointy);
}

TEST(GraphProjection, ProjectorRemakesTheProjectionWhenAnInputChanges) {
  GraphProjector projector;
  const ProjectionInputs first = inputs(6000, 6000, 32, 32, 62, 7);
  EXPECT_EQ(projector.projection(first).pointx, projectgraph(first).pointx);
  for (const ProjectionInputs& changed :
       {inputs(4500, 6000, 32, 32, 62, 7), inputs(6000, 4500, 32, 32, 62, 7), inputs(6000, 6000, 20, 32, 62, 7),
        inputs(6000, 6000, 32, 12, 62, 7), inputs(6000, 6000, 32, 32, 200, 7), inputs(6000, 6000, 32, 32, 62, 3)}) {
    const GraphProjection& p = projector.projection(changed);
    EXPECT_EQ(p.inputs, changed);
    EXPECT_EQ(p.pointx, projectgraph(changed).pointx);
    EXPECT_EQ(p.pointy, projectgraph(changed).pointy);
  }
}

TEST(GraphLayout, ThePictureIsTheLargestSquareBesideTheScrollBars) {
  // Wide: the side is the height left, centred across what is left of the vertical bar.
  GraphLayout l = graphlayout(9000, 6900);
  EXPECT_EQ(l.pictureside, 6900 - 870);
  EXPECT_DOUBLE_EQ(l.picturetop, 0);
  EXPECT_DOUBLE_EQ(l.pictureleft, (9000 - 420 - 6030) / 2.0);
  EXPECT_EQ(l.vscrollleft, 9000 - 360);
  EXPECT_EQ(l.vscrollheight, 6900 - 525);
  EXPECT_EQ(l.hscrolltop, 6900 - 780);
  EXPECT_EQ(l.hscrollwidth, 9000 - 355);

  // Tall: the side is the width left, centred down.
  l = graphlayout(5000, 9000);
  EXPECT_EQ(l.pictureside, 5000 - 480);
  EXPECT_DOUBLE_EQ(l.pictureleft, 0);
  EXPECT_DOUBLE_EQ(l.picturetop, (9000 - 525 - 4520) / 2.0);

  // Too narrow or too low for a picture; the scroll bars keep their lengths while the window is smaller than them.
  EXPECT_EQ(graphlayout(479, 9000).pictureside, 0);
  EXPECT_EQ(graphlayout(9000, 869).pictureside, 0);
  EXPECT_EQ(graphlayout(481, 9000).pictureside, 1);
  l = graphlayout(355, 525);
  EXPECT_EQ(l.pictureside, 0);
  EXPECT_FALSE(l.vscrollheight.has_value());
  EXPECT_FALSE(l.hscrollwidth.has_value());
  l = graphlayout(356, 526);
  EXPECT_EQ(l.vscrollheight, 1);
  EXPECT_EQ(l.hscrollwidth, 1);
}
