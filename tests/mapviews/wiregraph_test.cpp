#include "mapviews/wiregraph.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/linkhelpers.h"
#include "common/testrig.h"

using namespace ostrel;

namespace {

FrameItem E(int i1, int j1, int i2, int j2, bool shade) {
  return {false, i1, j1, i2, j2, shade};
}
FrameItem P(int i, int j, bool shade) {
  return {true, i, j, i, j, shade};
}
constexpr bool W = false, S = true;

// Shortens the rpm axis of the 3-D maps to rpm points and the load axis to load points, by end markers in the
// spreads of settings map 110 (load increments in rows 4 and 5, rpm increments in rows 6 and 7).
void shorten(maps& model, int rpmpoints, int loadpoints) {
  model.setdata(110, 6 + (rpmpoints - 1) / 16, (rpmpoints - 1) % 16, 255, false);
  model.setdata(110, 4 + (loadpoints - 1) / 16, (loadpoints - 1) % 16, 255, false);
  model.recalc();
}

class WireGraphTest : public ::testing::Test {
 protected:
  WireGraphTest() {
    rig.state.curmap = 8;
    projection = projectgraph({6000, 6000, 32, 32, {62, 7}});
  }
  WireGraphInputs inputs() const { return wiregraphinputs(rig.mainmaps, rig.state, rig.link.live(), nullptr); }
  void live(int row, int col) {
    test::changelive(rig.link, [&](LiveData& l) {
      l.liverow = static_cast<std::uint8_t>(row);
      l.livecol = static_cast<std::uint8_t>(col);
    });
  }
  // The lines of the scene in a colour.
  std::vector<GraphShape> lines(std::uint32_t color) const {
    std::vector<GraphShape> out;
    for (const GraphShape& s : scene.of(GraphShape::Kind::line))
      if (s.color == color) out.push_back(s);
    return out;
  }
  // The scene line of the surface segment from (i1, j1) to (i2, j2).
  bool hassegment(int i1, int j1, int i2, int j2, std::uint32_t color) const {
    const GraphPoints& y = graph.surfacey();
    for (const GraphShape& s : scene.of(GraphShape::Kind::line))
      if (s.color == color && s.x1 == projection.pointx[i1][j1] + wireoffsetx && s.y1 == y[i1][j1] &&
          s.x2 == projection.pointx[i2][j2] + wireoffsetx && s.y2 == y[i2][j2])
        return true;
    return false;
  }

  test::Rig rig;
  GraphProjection projection;
  WireGraph graph;
  GraphScene scene;
  const Colors& colors = rig.state.colors;
};

}  // namespace

// The frame at either side of 137 and 317 (both excluded), for the full grid and for maps that show fewer points.
TEST(WireGraphFrame, SidesFollowTheAngle) {
  using Items = std::vector<FrameItem>;
  const Items front = {E(31, 0, 0, 0, W), E(31, 0, 31, 0, S), P(31, 0, W), P(31, 0, W), P(0, 0, W)};
  const Items left = {E(0, 0, 0, 31, W), P(0, 31, W)};
  const Items back = {E(31, 0, 31, 31, W), P(31, 31, W)};
  const Items right = {P(0, 31, W), E(31, 31, 31, 31, S), E(31, 31, 0, 31, W)};
  const auto join = [](Items a, const Items& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const struct {
    float angle;
    int rows, cols;
    Items expected;
  } cases[] = {
      {100, 32, 32, join(front, left)},
      {137, 32, 32, front},
      {200, 32, 32, join(front, back)},
      {317, 32, 32, back},
      {330, 32, 32, join(back, right)},
      // 20 rpm and 12 load points: what lies beyond them takes the shade colour.
      {100,
       20,
       12,
       {E(19, 0, 0, 0, W), E(19, 0, 31, 0, S), P(19, 0, W), P(31, 0, S), P(0, 0, W), E(0, 11, 0, 0, W),
        E(0, 11, 0, 31, S), P(0, 31, S), P(0, 11, W)}},
      {137, 20, 12, {E(19, 0, 0, 0, W), E(19, 0, 31, 0, S), P(19, 0, W), P(31, 0, S), P(0, 0, W)}},
      {200,
       20,
       12,
       {E(19, 0, 0, 0, W), E(19, 0, 31, 0, S), P(19, 0, W), P(31, 0, S), P(0, 0, W), E(31, 0, 31, 31, S),
        P(31, 31, S)}},
      {317, 20, 12, {E(31, 0, 31, 31, S), P(31, 31, S)}},
      {330, 20, 12, {E(31, 0, 31, 31, S), P(31, 31, S), P(0, 31, S), E(0, 31, 31, 31, S)}},
      {200,
       32,
       12,
       {E(31, 0, 0, 0, W), E(31, 0, 31, 0, S), P(31, 0, W), P(31, 0, W), P(0, 0, W), E(31, 11, 31, 0, W),
        E(31, 11, 31, 31, S), P(31, 31, S), P(31, 11, W)}},
      {330,
       20,
       32,
       {E(31, 0, 31, 31, S), P(31, 31, S), P(0, 31, W), P(19, 31, W), E(19, 31, 31, 31, S), E(19, 31, 0, 31, W)}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(planframe(c.angle, c.rows, c.cols), c.expected) << c.angle << " " << c.rows << "x" << c.cols;
}

TEST(WireGraphBands, LiveAndCursorLinesTakeTheirColours) {
  const Colors colors;
  std::vector<BandSegment> bands;
  // Apart: whole lines in one colour each, over the shown part only (11 segments along j, 19 along i).
  planbands(bands, {14, 9, 6, 10}, 20, 12, colors);
  ASSERT_EQ(bands.size(), 11u + 11u + 19u + 19u);
  EXPECT_EQ(bands[0], (BandSegment{14, 0, 14, 1, colors.rpmbandcolor}));
  EXPECT_EQ(bands[10], (BandSegment{14, 10, 14, 11, colors.rpmbandcolor}));
  EXPECT_EQ(bands[11], (BandSegment{6, 0, 6, 1, colors.trimbandcolor}));
  EXPECT_EQ(bands[22], (BandSegment{0, 9, 1, 9, colors.mapbandcolor}));
  EXPECT_EQ(bands[41], (BandSegment{0, 10, 1, 10, colors.trimbandcolor}));
  EXPECT_EQ(bands.back(), (BandSegment{18, 10, 19, 10, colors.trimbandcolor}));

  // The live cell on the cursor: one row line and one column line, alternating, the live colour first.
  planbands(bands, {14, 9, 14, 9}, 32, 32, colors);
  ASSERT_EQ(bands.size(), 31u + 31u);
  for (int k = 0; k < 31; ++k) {
    EXPECT_EQ(bands[k], (BandSegment{14, k, 14, k + 1, k % 2 == 0 ? colors.rpmbandcolor : colors.trimbandcolor}));
    EXPECT_EQ(bands[31 + k], (BandSegment{k, 9, k + 1, 9, k % 2 == 0 ? colors.mapbandcolor : colors.trimbandcolor}));
  }
  // Only the row shared: the columns keep their own colours.
  planbands(bands, {14, 9, 14, 20}, 32, 32, colors);
  EXPECT_EQ(bands[1].color, colors.trimbandcolor);
  EXPECT_EQ(bands[31].color, colors.mapbandcolor);
  EXPECT_EQ(bands[62].color, colors.trimbandcolor);
}

TEST(WireGraphText, TitleIsTheTextBetweenTheColonAndTheUnderscore) {
  const struct {
    const char* definition;
    const char* title;
  } cases[] = {
      {"3D Ignition Calibration:Base timing table [RPM, LOAD];degrees btdc_0.5|-10",
       "Base timing table [RPM, LOAD];degrees btdc"},
      {"Group:Name: with colon;units_1|0", "Name: with colon;units"},
      {"No colon;units_1|0", ""},
      {"Group:no underscore;units", ""},
      {"Group_x:name", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(graphtitle(QString::fromUtf8(c.definition)), QString::fromUtf8(c.title));
}

TEST_F(WireGraphTest, MixtureTextInTheFuelTypesRatio) {
  EXPECT_EQ(mixturetext(rig.mainmaps, 1, 100, 147), QStringLiteral("TAFR: 14.7  AFR: 21.6"));
  EXPECT_EQ(mixturetext(rig.mainmaps, 6, 100, 147), QStringLiteral("TAFR: 1.00  AFR: 1.47"));
  EXPECT_EQ(mixturetext(rig.mainmaps, 1, 0, -5), QStringLiteral("TAFR: 0.0  AFR: -0.7"));

  // Written by the quick update only, right of the legend's place, over a cleared box in the back colour.
  rig.state.preferences.fueltype = 6;
  test::changelive(rig.link, [](LiveData& l) {
    l.afrtarget = 100;
    l.livevars[6] = 98;
  });
  graph.plan(scene, inputs(), projection, 6000, 6000, true);
  for (const GraphText& t : scene.texts) EXPECT_FALSE(t.text.startsWith(QStringLiteral("TAFR")));
  graph.plan(scene, inputs(), projection, 6000, 6000, false);
  const auto texts = scene.of(GraphShape::Kind::text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(scene.texts[0].text, QStringLiteral("TAFR: 1.00  AFR: 0.98"));
  EXPECT_DOUBLE_EQ(texts[0].x1, 0.7 * 6000 - 960);
  EXPECT_DOUBLE_EQ(texts[0].y1, 6000 - 400);
  EXPECT_EQ(texts[0].color, mixturecolor);
  const auto boxes = scene.of(GraphShape::Kind::box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].color, colors.bgcolor);
  EXPECT_DOUBLE_EQ(boxes[0].x1, 0.7 * 6000 - 960);
  EXPECT_DOUBLE_EQ(boxes[0].x2, 6000);
}

TEST_F(WireGraphTest, LegendSitsAtHalfTheWidthOfflineAndAtThreeTenthsOnline) {
  const struct {
    bool online, graphview;
    double ax;
    const char* text;
  } cases[] = {{false, false, 3000, "ARROWS BY GRID"},
               {true, false, 1800, "ARROWS BY GRID"},
               {false, true, 3000, "ARROWS BY MAP"},
               {true, true, 1800, "ARROWS BY MAP"}};
  for (const auto& c : cases) {
    rig.state.online = c.online;
    rig.state.graphview = c.graphview;
    graph.plan(scene, inputs(), projection, 6000, 5000, true);
    const auto texts = scene.of(GraphShape::Kind::text);
    ASSERT_EQ(texts.size(), 2u);  // title and legend
    EXPECT_EQ(scene.texts[1].text, QString::fromUtf8(c.text));
    EXPECT_DOUBLE_EQ(texts[1].x1, c.ax - 1100);
    EXPECT_DOUBLE_EQ(texts[1].y1, 5000 - 400);
    // The icon: an arrow in the trim band colour, or a small grid in the text colour.
    const auto icon = lines(c.graphview ? colors.trimbandcolor : titlecolor);
    const auto inicon = std::count_if(icon.begin(), icon.end(), [&](const GraphShape& s) {
      return std::min(s.x1, s.x2) >= c.ax - 1500 && std::max(s.x1, s.x2) <= c.ax - 1200 && s.y1 >= 5000 - 350;
    });
    EXPECT_EQ(inicon, c.graphview ? 6 : 7);
  }
  EXPECT_EQ(scene.texts[0].text, QStringLiteral("Base timing table [RPM, LOAD];degrees btdc"));
}

TEST_F(WireGraphTest, SurfaceIsTheBaseLiftedByTheValuesAndProtectedRowsLieFlat) {
  // The protected rows of a 3-D map run along the second index, as the grid hides them.
  rig.state.guards.guard(8, 0, 30, 31);
  const WireGraphInputs in = inputs();
  graph.plan(scene, in, projection, 6000, 6000, true);
  const float h = rig.mainmaps.getmapscale(8);
  for (int i = 0; i < 32; ++i) {
    for (int j = 0; j < 32; ++j) {
      if (j >= 30) {
        EXPECT_EQ(in.z[i][j], 0);
        EXPECT_EQ(graph.surfacey()[i][j], projection.pointy[i][j]);
      } else {
        EXPECT_EQ(in.z[i][j], rig.mainmaps.getdata(8, i, j));
        EXPECT_EQ(graph.surfacey()[i][j],
                  static_cast<int>(std::nearbyint(projection.pointy[i][j] - h * rig.mainmaps.getdata(8, i, j))));
      }
    }
  }
  // A work copy takes the place of the map's values; protection still applies.
  WorkCopy work{};
  work[3][4] = 77;
  work[3][31] = 77;
  const WireGraphInputs fromwork = wiregraphinputs(rig.mainmaps, rig.state, rig.link.live(), &work);
  EXPECT_EQ(fromwork.z[3][4], 77);
  EXPECT_EQ(fromwork.z[3][31], 0);
  EXPECT_EQ(fromwork.z[5][5], 0);
}

TEST_F(WireGraphTest, ShownCountsComeFromTheRpmAndLoadAxesOnEveryThreeDMap) {
  shorten(rig.mainmaps, 20, 12);
  const WireGraphInputs in = inputs();
  EXPECT_EQ(in.rows, 20);  // rpm points, along the first index
  EXPECT_EQ(in.cols, 12);  // load points, along the second
  for (const int map : {106, 109}) {
    rig.state.curmap = static_cast<std::uint8_t>(map);
    EXPECT_EQ(inputs().rows, 32) << map;
    EXPECT_EQ(inputs().cols, 32) << map;
  }
}

TEST_F(WireGraphTest, LiveCellBeyondTheShownPartIsDrawnOnTheLastShownPoints) {
  shorten(rig.mainmaps, 20, 12);
  RxFrame site{};
  site[6] = 31;  // the ECU's rpm and load points, beyond the 20 and 12 in use
  site[7] = 25;
  rig.link.takereply(requesttype::livesite, site);
  const WireGraphInputs in = inputs();
  EXPECT_EQ(in.cells.liverow, 19);
  EXPECT_EQ(in.cells.livecol, 11);
  graph.plan(scene, in, projection, 6000, 6000, true);
  EXPECT_TRUE(hassegment(19, 0, 19, 1, colors.rpmbandcolor));
  EXPECT_TRUE(hassegment(0, 11, 1, 11, colors.mapbandcolor));
  // The program's live cell is that same cell, for the other views.
  EXPECT_EQ(rig.link.live().liverow, 19);
  EXPECT_EQ(rig.link.live().livecol, 11);
}

TEST_F(WireGraphTest, FullRedrawDrawsTheMeshInWireAndShadeThenTheBands) {
  shorten(rig.mainmaps, 20, 12);
  live(14, 9);
  rig.state.cursorrow = 6;
  rig.state.cursorcol = 10;
  graph.plan(scene, inputs(), projection, 6000, 6000, true);
  EXPECT_TRUE(scene.setsbackcolor);
  EXPECT_EQ(scene.shapes.front().kind, GraphShape::Kind::box);
  // 32 x 31 segments each way; the shown part is wire, the rest shade.
  EXPECT_TRUE(hassegment(19, 10, 19, 11, colors.wirecolor));
  EXPECT_TRUE(hassegment(19, 11, 19, 12, colors.shadecolor));
  EXPECT_TRUE(hassegment(20, 0, 20, 1, colors.shadecolor));
  EXPECT_TRUE(hassegment(18, 11, 19, 11, colors.wirecolor));
  EXPECT_TRUE(hassegment(19, 11, 20, 11, colors.shadecolor));
  EXPECT_TRUE(hassegment(0, 12, 1, 12, colors.shadecolor));
  // The bands come after the mesh.
  EXPECT_TRUE(hassegment(14, 3, 14, 4, colors.rpmbandcolor));
  EXPECT_TRUE(hassegment(6, 3, 6, 4, colors.trimbandcolor));
  EXPECT_TRUE(hassegment(3, 9, 4, 9, colors.mapbandcolor));
  EXPECT_TRUE(hassegment(3, 10, 4, 10, colors.trimbandcolor));
  const auto shapes = scene.shapes;
  const auto firstband =
      std::find_if(shapes.begin(), shapes.end(), [&](const GraphShape& s) { return s.color == colors.rpmbandcolor; });
  EXPECT_TRUE(std::none_of(firstband, shapes.end(), [&](const GraphShape& s) { return s.color == colors.wirecolor; }));
  EXPECT_EQ(graph.bands().cells, (BandCells{14, 9, 6, 10}));
}

TEST_F(WireGraphTest, QuickUpdateMovesTheBandsOverTheLastPicture) {
  shorten(rig.mainmaps, 20, 12);
  live(14, 9);
  rig.state.cursorrow = 25;  // beyond the shown rpm points
  rig.state.cursorcol = 10;
  graph.plan(scene, inputs(), projection, 6000, 6000, true);

  live(15, 9);
  graph.plan(scene, inputs(), projection, 6000, 6000, false);
  EXPECT_FALSE(scene.shapes.front().kind == GraphShape::Kind::box);  // nothing cleared
  // The old lines go back to the mesh's colours, the shaded part to the shade colour.
  EXPECT_TRUE(hassegment(14, 3, 14, 4, colors.wirecolor));
  EXPECT_TRUE(hassegment(25, 3, 25, 4, colors.shadecolor));
  EXPECT_TRUE(hassegment(3, 9, 4, 9, colors.wirecolor));
  EXPECT_TRUE(hassegment(15, 3, 15, 4, colors.rpmbandcolor));
  EXPECT_TRUE(hassegment(25, 3, 25, 4, colors.trimbandcolor));
  EXPECT_EQ(graph.bands().cells.liverow, 15);

  // On another map the remembered bands lie on no line of its surface: nothing is drawn over.
  rig.state.curmap = 9;
  graph.plan(scene, inputs(), projection, 6000, 6000, false);
  EXPECT_TRUE(lines(colors.wirecolor).empty());
  EXPECT_TRUE(lines(colors.shadecolor).empty());
  EXPECT_EQ(graph.bands().map, 9);
}

TEST_F(WireGraphTest, SelectionMarksCircleEverySelectedPoint) {
  rig.state.trimbox.active = true;
  rig.state.trimbox.rowmin = 2;
  rig.state.trimbox.rowmax = 3;
  rig.state.trimbox.colmin = 5;
  rig.state.trimbox.colmax = 7;
  for (const bool full : {true, false}) {
    graph.plan(scene, inputs(), projection, 6000, 6000, full);
    const auto circles = scene.of(GraphShape::Kind::circle);
    ASSERT_EQ(circles.size(), 6u);
    EXPECT_EQ(scene.shapes.back().kind, GraphShape::Kind::circle);  // last, over everything
    EXPECT_DOUBLE_EQ(circles[0].x1, projection.pointx[2][5] + wireoffsetx);
    EXPECT_DOUBLE_EQ(circles[0].y1, graph.surfacey()[2][5]);
    EXPECT_DOUBLE_EQ(circles[0].x2, 20);
    EXPECT_EQ(circles[0].color, colors.mapbandcolor);
    EXPECT_DOUBLE_EQ(circles[5].x1, projection.pointx[3][7] + wireoffsetx);
  }
  rig.state.trimbox.active = false;
  graph.plan(scene, inputs(), projection, 6000, 6000, true);
  EXPECT_TRUE(scene.of(GraphShape::Kind::circle).empty());
}
