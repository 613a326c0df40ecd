#include "mapviews/tablegraph.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/linkhelpers.h"
#include "common/testrig.h"
#include "mapviews/viewhelpers.h"

using namespace ostrel;

namespace {

// The table graph of the shipped calibration on a 6000 by 4500 twips picture.
class TableGraphTest : public ::testing::Test {
 protected:
  TableGraphTest() { rig.state.curmap = 24; }
  TableGraphInputs inputs(const WorkCopy* work = nullptr) const {
    return tablegraphinputs(rig.mainmaps, rig.state, rig.link.live(), work);
  }
  void plan(double w = 6000, double h = 4500) { plantablegraph(scene, inputs(), trail, w, h); }
  void live(int col, int sample) {
    test::changelive(rig.link, [&](LiveData& l) {
      l.livecol = static_cast<std::uint8_t>(col);
      l.livesample = static_cast<std::uint8_t>(sample);
    });
  }
  // The curve's segments: the last 15 lines before the selection marks.
  std::vector<GraphShape> curve() const {
    const auto lines = scene.of(GraphShape::Kind::line);
    return {lines.end() - 15, lines.end()};
  }
  // The first table whose display offset is negative (signed values) or not.
  int firsttable(bool negative) const {
    for (int map = 24; map < 104; ++map)
      if ((mapdisplay(rig.mainmaps, rig.state.guards, map, 1).offset < 0) == negative) return map;
    return -1;
  }

  test::Rig rig;
  TableTrail trail;
  GraphScene scene;
  const Colors& colors = rig.state.colors;
};

}  // namespace

TEST_F(TableGraphTest, CurveMarksTheLiveAndCursorCells) {
  const struct {
    int livecol, cursorcol;
    std::vector<int> live, cursor;  // segments in the live colour and in the trim colour
  } cases[] = {
      {3, 10, {2, 3}, {9, 10}},
      {5, 5, {4, 5}, {}},  // the live colour wins on the cursor
      {0, 15, {0}, {14}},
      {4, 5, {3, 4}, {5}},
  };
  for (const auto& c : cases) {
    live(c.livecol, 0);
    rig.state.cursorcol = static_cast<std::uint8_t>(c.cursorcol);
    plan();
    const auto segments = curve();
    for (int s = 0; s < 15; ++s) {
      const bool islive = std::count(c.live.begin(), c.live.end(), s) > 0;
      const bool iscursor = std::count(c.cursor.begin(), c.cursor.end(), s) > 0;
      const std::uint32_t want = islive ? colors.mapbandcolor : iscursor ? colors.trimbandcolor : colors.wirecolor;
      EXPECT_EQ(segments[s].color, want) << c.livecol << " " << c.cursorcol << " segment " << s;
      EXPECT_EQ(segments[s].width, islive || iscursor ? 2 : 1);
    }
  }
}

TEST_F(TableGraphTest, ScalesToThePictureItDrawsOn) {
  const TableGraphInputs in = inputs();
  for (const double h : {4500.0, 2250.0}) {
    plantablegraph(scene, in, trail, 6000, h);
    const double ys = h * 20 / 9000, yb = 0.8 * h;
    EXPECT_DOUBLE_EQ(tablescale(h, 20.0f), ys);
    const auto segments = curve();
    for (int c = 0; c < 15; ++c) {
      EXPECT_DOUBLE_EQ(segments[c].x1, std::nearbyint(0.067 * 6000 * c));
      EXPECT_DOUBLE_EQ(segments[c].y1, yb - in.v[c] * ys);
      EXPECT_DOUBLE_EQ(segments[c].y2, yb - in.v[c + 1] * ys);
    }
    // The grid reaches raw 255 and stays on the picture.
    const auto lines = scene.of(GraphShape::Kind::line);
    const double top = std::min_element(lines.begin(), lines.end(), [](const GraphShape& a, const GraphShape& b) {
                         return std::min(a.y1, a.y2) < std::min(b.y1, b.y2);
                       })->y1;
    EXPECT_DOUBLE_EQ(top, yb - 255 * ys);
    EXPECT_GT(top, 0);
  }
  EXPECT_EQ(scene.texts[0].text, graphtitle(rig.mainmaps.getmapname(24)));
  EXPECT_DOUBLE_EQ(scene.of(GraphShape::Kind::text)[0].x1, 0.5 * 6000 - 50.0 * scene.texts[0].text.size() + 200);
}

TEST_F(TableGraphTest, ZeroLineAtRaw128ForSignedTables) {
  const int signedtable = firsttable(true), plaintable = firsttable(false);
  ASSERT_GE(signedtable, 0);
  ASSERT_GE(plaintable, 0);
  for (const int map : {signedtable, plaintable}) {
    rig.state.curmap = static_cast<std::uint8_t>(map);
    plan();
    const double ys = 4500.0 * rig.mainmaps.getmapscale(map) / 9000, yb = 0.8 * 4500;
    const auto lines = scene.of(GraphShape::Kind::line);
    const auto zero = std::find_if(lines.begin(), lines.end(), [](const GraphShape& s) { return s.width == 2; });
    ASSERT_NE(zero, lines.end());
    EXPECT_DOUBLE_EQ(zero->y1, map == signedtable ? yb - 128 * ys : yb) << map;
    EXPECT_EQ(zero->color, 0x00808080u);
  }
}

TEST_F(TableGraphTest, ProtectedTableLiesFlatAndAWorkCopyTakesThePlaceOfTheValues) {
  WorkCopy work{};
  for (int c = 0; c < 16; ++c) work[0][c] = 10 * c;
  EXPECT_EQ(inputs(&work).v[7], 70);
  EXPECT_EQ(inputs().v[7], rig.mainmaps.getdata(24, 0, 7));

  rig.state.guards.guard(24, 3, 0, 0);
  for (const std::int32_t v : inputs().v) EXPECT_EQ(v, 0);
  for (const std::int32_t v : inputs(&work).v) EXPECT_EQ(v, 0);
  rig.state.guards.clear();
  EXPECT_EQ(inputs().v[7], rig.mainmaps.getdata(24, 0, 7));
}

TEST_F(TableGraphTest, TrailKeepsTheLastHundredLivePointsNewestFirst) {
  // A zero sample neither draws nor moves the trail.
  live(3, 0);
  plan();
  EXPECT_EQ(trail.value, TableTrail{}.value);
  EXPECT_TRUE(std::none_of(scene.shapes.begin(), scene.shapes.end(),
                           [&](const GraphShape& s) { return s.color == colors.mapbandcolor && s.width == 1; }));

  // Slots no live point has filled yet are not drawn: three points so far, two of them drawn (the newest is drawn
  // from the next call on).
  const auto crossesdrawn = [&] {
    const auto lines = scene.of(GraphShape::Kind::line);
    return std::count_if(lines.begin(), lines.end(),
                         [&](const GraphShape& s) { return s.color == colors.mapbandcolor && s.width == 1; });
  };
  for (int k = 1; k <= 3; ++k) {
    live(k, 40 * k);
    plan();
  }
  EXPECT_EQ(crossesdrawn(), 2 * 2);

  for (int k = 1; k <= 120; ++k) {
    live(k % 16, k);
    plan();
  }
  EXPECT_EQ(trail.value[0], 120);
  EXPECT_EQ(trail.col[0], 120 % 16);
  EXPECT_EQ(trail.value[99], 21);
  EXPECT_EQ(trail.col[99], 21 % 16);
  // 99 crosses of two lines in the live band colour.
  EXPECT_EQ(crossesdrawn(), 198);
  const auto lines = scene.of(GraphShape::Kind::line);
  // The cross of the newest point before this call sits over its column and value.
  const double cw = 0.067 * 6000, ys = 4500.0 * 20 / 9000;
  EXPECT_DOUBLE_EQ(lines[0].x1, std::nearbyint(cw * (119 % 16) - cw / 4));
  EXPECT_DOUBLE_EQ(lines[0].y1, 0.8 * 4500 - 119 * ys - 50);

  live(3, 0);
  plan();
  EXPECT_EQ(trail.value[0], 120);  // a zero sample leaves it where it stopped
  trail.clear();
  EXPECT_EQ(trail.value[0], 0);
}

TEST_F(TableGraphTest, SelectionMarksCircleTheSelectedCells) {
  rig.state.trimbox.active = true;
  rig.state.trimbox.colmin = 4;
  rig.state.trimbox.colmax = 6;
  plan();
  const auto circles = scene.of(GraphShape::Kind::circle);
  ASSERT_EQ(circles.size(), 3u);
  const TableGraphInputs in = inputs();
  for (int k = 0; k < 3; ++k) {
    EXPECT_DOUBLE_EQ(circles[k].x1, std::nearbyint(0.067 * 6000 * (4 + k)));
    EXPECT_DOUBLE_EQ(circles[k].y1, 0.8 * 4500 - in.v[4 + k] * 4500.0 * 20 / 9000);
    EXPECT_DOUBLE_EQ(circles[k].x2, 50);
  }
}
