#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QScrollBar>
#include <QTest>
#include <set>

#include "common/wirepoints.h"
#include "graphfixture.h"
#include "mapviews/viewhelpers.h"

using namespace ostrel;
using test::GraphWindowTest;
using test::middle;
using test::Mid;

TEST_F(GraphWindowTest, ShowingTheWindowDrawsTheCurrentMapOnASquarePicture) {
  rig.state.curmap = 8;
  frmMap shown(rig.state, rig.mainmaps, rig.link, views);
  shown.resize(640, 560);
  shown.show();
  QApplication::processEvents();
  const PictureSurface* pic = shown.picGraph();
  EXPECT_EQ(pic->width(), pic->height());
  EXPECT_EQ(pic->image().size(), pic->size());
  EXPECT_GT(test::countcolour(pic->image(), rig.state.colors.wirecolor), 1000);
  EXPECT_EQ(shown.windowTitle(), QStringLiteral("Map"));
  EXPECT_EQ(shown.HScroll1()->value(), 62);
  EXPECT_EQ(shown.VScroll1()->value(), 7);
  EXPECT_EQ(shown.projection().inputs.width, pic->widthtwips());
}

TEST_F(GraphWindowTest, BandsShowInTheirColoursAndMoveOnTheQuickUpdate) {
  const Colors& c = rig.state.colors;
  rig.state.cursorrow = 6;
  rig.state.cursorcol = 20;
  live(14, 9);
  open(8);
  const auto at = [&](Mid m, std::uint32_t colour) { return test::colournear(picture(), m.x, m.y, colour); };
  EXPECT_TRUE(at(middle(window, 14, 25, 14, 26), c.rpmbandcolor));
  EXPECT_TRUE(at(middle(window, 25, 9, 26, 9), c.mapbandcolor));
  EXPECT_TRUE(at(middle(window, 6, 25, 6, 26), c.trimbandcolor));
  EXPECT_TRUE(at(middle(window, 25, 20, 26, 20), c.trimbandcolor));
  EXPECT_TRUE(at(middle(window, 24, 25, 24, 26), c.wirecolor));
  EXPECT_EQ(test::countcolour(picture(), mixturecolor), 0);

  // A live reply moves the live bands over the last full picture and writes the mixture text.
  live(16, 12);
  window.drawmap(false);
  EXPECT_TRUE(at(middle(window, 14, 25, 14, 26), c.wirecolor));
  EXPECT_FALSE(at(middle(window, 14, 25, 14, 26), c.rpmbandcolor));
  EXPECT_TRUE(at(middle(window, 16, 25, 16, 26), c.rpmbandcolor));
  EXPECT_TRUE(at(middle(window, 25, 12, 26, 12), c.mapbandcolor));
  EXPECT_TRUE(at(middle(window, 6, 25, 6, 26), c.trimbandcolor));
  EXPECT_GT(test::countcolour(picture(), mixturecolor), 0);

  // Live cell on the cursor: the shared row alternates, the live colour on the even segments.
  live(6, 20);
  window.drawmap(false);
  EXPECT_TRUE(at(middle(window, 6, 24, 6, 25), c.rpmbandcolor));
  EXPECT_TRUE(at(middle(window, 6, 25, 6, 26), c.trimbandcolor));
  EXPECT_TRUE(at(middle(window, 26, 20, 27, 20), c.mapbandcolor));
  EXPECT_TRUE(at(middle(window, 27, 20, 28, 20), c.trimbandcolor));
  test::savescreenshot(&window, QStringLiteral("graph_map8_liveoncursor"));
}

// Connected, at the angles of the main window's load and at 200: the frame runs along the sides the angle chooses, the
// legend sits at three tenths of the width and the live refresh writes the mixture in the fuel's ratio.
TEST_F(GraphWindowTest, TheTimingMapOnlineAtTwoAnglesShowsItsFrameLegendAndMixture) {
  rig.state.cursorrow = 6;
  rig.state.cursorcol = 20;
  rig.state.online = true;
  rig.state.preferences.fueltype = 1;
  live(14, 9);
  test::changelive(rig.link, [](LiveData& l) {
    l.afrtarget = 100;
    l.livevars[6] = 102;
  });
  const std::uint32_t wire = rig.state.colors.wirecolor;
  const double w = window.picGraph()->widthtwips(), h = window.picGraph()->heighttwips();
  // The middle of the corner post at (i, j), between its base point and its surface point; the middle of the base
  // edge from (i1, j1) to (i2, j2).
  const auto post = [&](int i, int j) {
    const GraphProjection& p = window.projection();
    return Mid{p.pointx[i][j] + wireoffsetx, (p.pointy[i][j] + window.wiregraph().surfacey()[i][j]) / 2.0};
  };
  const auto base = [&](int i1, int j1, int i2, int j2) {
    const GraphProjection& p = window.projection();
    return Mid{(p.pointx[i1][j1] + p.pointx[i2][j2]) / 2.0 + wireoffsetx, (p.pointy[i1][j1] + p.pointy[i2][j2]) / 2.0};
  };
  const auto at = [&](Mid m, std::uint32_t colour) { return test::colournear(picture(), m.x, m.y, colour); };

  open(8);
  ASSERT_EQ(window.projection().inputs.rows, 32);
  ASSERT_EQ(window.projection().inputs.cols, 32);
  // Below 137 the frame runs along the sides at j = 0 and i = 0, with their posts.
  EXPECT_TRUE(at(base(31, 0, 0, 0), wire));
  EXPECT_TRUE(at(base(0, 0, 0, 31), wire));
  EXPECT_TRUE(at(post(0, 0), wire));
  EXPECT_TRUE(at(post(0, 31), wire));
  // Connected, the legend's icon (the arrow with the graph focused, else the small grid) moves to 0.3 of the width.
  const double ax = 0.3 * w;
  if (rig.state.graphview)
    EXPECT_TRUE(test::colournear(picture(), ax - 1350, h - 350, rig.state.colors.trimbandcolor));
  else
    EXPECT_TRUE(test::colournear(picture(), ax - 1350, h - 275, titlecolor));

  // The live refresh writes the ratios at (0.7 W - 960, H - 400) over a box in the background colour: 100 and 102
  // are 14.7 and 14.994 for gas, written with the one decimal of 0.147.
  PictureSurface expected;
  expected.resize(window.picGraph()->size());
  expected.show();
  const double x = 0.7 * w - 960, y = h - 400;
  expected.setfont(QString::fromLatin1(graphfont), 14, true, false);
  expected.forecolor = mixturecolor;
  const auto mixtureshown = [&] {
    expected.fillbox(x, y, w, h, rig.state.colors.bgcolor);
    expected.currentx = x;
    expected.currenty = y;
    expected.print(QStringLiteral("TAFR: 14.7  AFR: 15.0"));
    const QRect area(QPoint(twipstopixels(x), twipstopixels(y)), picture().rect().bottomRight());
    return picture().copy(area) == expected.image().copy(area);
  };
  EXPECT_FALSE(mixtureshown()) << "a full redraw writes no mixture";
  window.drawmap(false);
  EXPECT_TRUE(mixtureshown());
  test::savescreenshot(&window, QStringLiteral("graph_map8_angle62"));

  // Above 137 the side at i = 31 takes the place of the side at i = 0; the side at j = 0 stays below 317.
  window.HScroll1()->setValue(200);
  window.VScroll1()->setValue(3);
  ASSERT_FLOAT_EQ(window.projection().inputs.angles.h, 200.0f);
  EXPECT_TRUE(at(base(31, 0, 0, 0), wire));
  EXPECT_TRUE(at(base(31, 0, 31, 31), wire));
  EXPECT_TRUE(at(post(31, 0), wire));
  EXPECT_TRUE(at(post(31, 31), wire));
  window.drawmap(false);
  EXPECT_TRUE(mixtureshown());
  test::savescreenshot(&window, QStringLiteral("graph_map8_angle200"));
}

TEST_F(GraphWindowTest, ScrollBarsTurnTheGraphAndGiveTheArrowsBackToIt) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  open(8);
  const GraphPoints before = window.projection().pointx;
  window.HScroll1()->setValue(200);
  EXPECT_FLOAT_EQ(window.graphangles().h, 200.0f);
  EXPECT_FLOAT_EQ(window.projection().inputs.angles.h, 200.0f);
  EXPECT_NE(window.projection().pointx, before);
  EXPECT_TRUE(window.picGraph()->hasFocus());
  window.VScroll1()->setValue(10);
  EXPECT_FLOAT_EQ(window.projection().inputs.angles.v, 10.0f);
  // A resize keeps the angles on the bars.
  window.resize(700, 600);
  EXPECT_EQ(window.HScroll1()->value(), 200);
  EXPECT_EQ(window.VScroll1()->value(), 10);
}

TEST_F(GraphWindowTest, ProjectionFollowsTheShownCountsOfTheMapDrawn) {
  open(8);
  EXPECT_EQ(window.projection().inputs.rows, 32);
  // New spreads: 20 rpm points and 12 load points in use.
  rig.mainmaps.setdata(110, 7, 3, 255, false);
  rig.mainmaps.setdata(110, 4, 11, 255, false);
  rig.mainmaps.recalc();
  window.drawmap(true);
  EXPECT_EQ(window.projection().inputs.rows, 20);
  EXPECT_EQ(window.projection().inputs.cols, 12);
  EXPECT_GT(test::countcolour(picture(), rig.state.colors.shadecolor), 1000);
  test::savescreenshot(&window, QStringLiteral("graph_map8_shortspreads"));
  // A PWM map shows its whole grid; a table leaves the projection as it was.
  open(107);
  EXPECT_EQ(window.projection().inputs.rows, 32);
  EXPECT_EQ(window.projection().inputs.cols, 32);
  open(24);
  window.drawmap3d();
  EXPECT_EQ(window.projection().inputs.rows, 32);
}

TEST_F(GraphWindowTest, ATableWithItsTrail) {
  rig.state.cursorcol = 11;
  open(24);
  for (int k = 0; k < 60; ++k) {
    test::changelive(rig.link, [k](LiveData& l) {
      l.livecol = static_cast<std::uint8_t>(2 + k / 10);
      l.livesample = static_cast<std::uint8_t>(60 + 2 * k + (k % 3) * 7);
    });
    window.drawmap(false);
  }
  EXPECT_EQ(window.tabletrail().value[0], 60 + 2 * 59 + (59 % 3) * 7);
  EXPECT_GT(test::countcolour(picture(), rig.state.colors.mapbandcolor), 200);
  EXPECT_GT(test::countcolour(picture(), rig.state.colors.trimbandcolor), 20);
  test::savescreenshot(&window, QStringLiteral("graph_table24_trail"));
  window.cleartabletrail();
  EXPECT_EQ(window.tabletrail().value[0], 0);
}

TEST_F(GraphWindowTest, OtherMapsLeaveThePictureAsItIs) {
  open(8);
  const QImage before = picture().copy();
  for (const int map : {104, 105, 110}) {
    rig.state.curmap = static_cast<std::uint8_t>(map);
    window.drawmap(true);
    window.drawmap(false);
    EXPECT_EQ(picture(), before) << map;
  }
}

TEST_F(GraphWindowTest, DrawsOnAToolsPictureWithTheWorkCopy) {
  PictureSurface tool;
  tool.resize(300, 200);
  tool.show();
  WorkCopy work{};
  for (int c = 0; c < 16; ++c) work[0][c] = 255;
  open(24);
  const QImage graph = picture().copy();
  window.drawtablegraph(tool, &work);
  EXPECT_EQ(picture(), graph);
  // The curve at raw 255 lies on the top grid line of the tool's own picture.
  const double top = 0.8 * tool.heighttwips() - 255 * tablescale(tool.heighttwips(), 20.0f);
  EXPECT_TRUE(test::colournear(tool.image(), 0.067 * tool.widthtwips() * 5.5, top, rig.state.colors.wirecolor));

  open(8);
  const QImage wire = picture().copy();
  window.drawmapgraph(tool, true, &work);
  EXPECT_EQ(picture(), wire);
  EXPECT_GT(test::countcolour(tool.image(), rig.state.colors.wirecolor), 100);
}

TEST_F(GraphWindowTest, TooSmallAWindowHasNoPicture) {
  open(8);
  window.resize(20, 20);
  QApplication::processEvents();
  EXPECT_EQ(window.picGraph()->width(), 0);
  window.drawmap(true);
  window.drawmap(false);
  open(24);
  window.resize(640, 560);
  QApplication::processEvents();
  EXPECT_GT(window.picGraph()->width(), 400);
}

TEST_F(GraphWindowTest, KeysGoToTheKeyboardHandlerAndTSwitchesToTheGrid) {
  const struct {
    QWidget* target;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* call;
  } cases[] = {
      {window.picGraph(), Qt::Key_T, Qt::NoModifier, "mapkeydown 84 0 grid 1"},
      {window.picGraph(), Qt::Key_T, Qt::ShiftModifier, "mapkeydown 84 1 graph 1"},
      {window.picGraph(), Qt::Key_PageUp, Qt::NoModifier, "mapkeydown 33 0 graph 1"},
      {window.picGraph(), Qt::Key_Left, Qt::ControlModifier, "mapkeydown 37 2 graph 1"},
      {&window, Qt::Key_T, Qt::NoModifier, "mapkeydown 84 0 graph 1"},
  };
  for (const auto& c : cases) {
    host.calls.clear();
    QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers);
    QApplication::sendEvent(c.target, &press);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0], QString::fromUtf8(c.call));
  }
}

TEST_F(GraphWindowTest, FocusOnThePictureRedrawsWithTheMapLegend) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  open(8);
  window.picGraph()->clearFocus();
  rig.state.graphview = false;
  host.calls.clear();
  window.picGraph()->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(window.picGraph()->hasFocus());
  EXPECT_TRUE(rig.state.graphview);
  ASSERT_FALSE(host.calls.empty());
  EXPECT_EQ(host.calls[0], QStringLiteral("status Map focus, arrows are map oriented|0"));
  // The legend's arrow in the trim band colour, at half the width while offline.
  const double w = window.picGraph()->widthtwips(), h = window.picGraph()->heighttwips();
  EXPECT_TRUE(test::colournear(picture(), 0.5 * w - 1350, h - 170, rig.state.colors.trimbandcolor));
}

TEST_F(GraphWindowTest, ClosingOnlyMinimisesWhileTheProgramRuns) {
  QCloseEvent running;
  QApplication::sendEvent(&window, &running);
  EXPECT_FALSE(running.isAccepted());
  EXPECT_EQ(host.calls, std::vector<QString>{QStringLiteral("minimizeonclose")});
  rig.state.exiting = true;
  QCloseEvent exiting;
  QApplication::sendEvent(&window, &exiting);
  EXPECT_TRUE(exiting.isAccepted());
}

// The link's live replies redraw the graph as the shell passes them on: the bands follow the ECU's live cell.
TEST_F(GraphWindowTest, FollowsTheLiveCellOfTheSimulatedEcu) {
  struct Forward final : LinkHost {
    explicit Forward(frmMap& window) : window(window) {}
    void drawmap(bool redraw) override {
      window.drawmap(redraw);
      ++redraws;
    }
    frmMap& window;
    int redraws = 0;
  } forward(window);
  rig.link.sethost(&forward);
  rig.state.preferences.trackmode = false;
  rig.state.cursorrow = 3;
  rig.state.cursorcol = 3;
  open(8);
  rig.connect();
  std::set<std::pair<int, int>> cells;
  for (int k = 0; k < 400; ++k) {
    const int before = forward.redraws;
    rig.tick();
    if (forward.redraws == before) continue;  // the graph is redrawn after the live values, not the live site
    const BandCells& drawn = window.wiregraph().bands().cells;
    EXPECT_EQ(drawn.liverow, rig.link.live().liverow);
    EXPECT_EQ(drawn.livecol, rig.link.live().livecol);
    cells.insert({drawn.liverow, drawn.livecol});
    EXPECT_TRUE(test::colournear(picture(), middle(window, drawn.liverow, 30, drawn.liverow, 31).x,
                                 middle(window, drawn.liverow, 30, drawn.liverow, 31).y,
                                 rig.state.colors.rpmbandcolor));
  }
  EXPECT_GT(forward.redraws, 20);
  EXPECT_GE(cells.size(), 2u);
  rig.link.sethost(nullptr);
}
