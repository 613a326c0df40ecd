// The live cell the ECU reports, over the simulator, as every map view takes it.
#include <gtest/gtest.h>

#include "calibration/shownarea.h"
#include "common/testrig.h"
#include "mapviews/gridhighlights.h"
#include "mapviews/keycodes.h"
#include "mapviews/keyhandler.h"
#include "mapviews/mapviews.h"
#include "mapviews/wiregraph.h"
#include "mapviewsfixture.h"

using namespace ostrel;

namespace {

// A map whose second axis is the throttle: the ECU counts its points to 31 whatever the load axis shows.
constexpr int throttlemap = 2;
// The points the calibration shows: its spreads end the rpm axis after 6 points and the load axis after 3. The
// ECU keeps the spreads of the shipped calibration, so it reports points beyond them once the engine pulls.
constexpr int rpmpoints = 6, loadpoints = 3;

class LiveCellOverTheLine : public ::testing::Test, protected test::Rig {
 protected:
  LiveCellOverTheLine() {
    views.sethost(&viewshost);
    link.sethost(&linkhost);
    handler.install();
  }
  ~LiveCellOverTheLine() override {
    link.sethost(nullptr);
    views.sethost(nullptr);
  }

  MapViews views{state, mainmaps, link, prompts};
  KeyHandler handler{state, mainmaps, mainsettings, link, views, prompts};
  MapViewsHost viewshost;
  test::ForwardingHost linkhost{views};
};

TEST_F(LiveCellOverTheLine, EveryViewTakesTheCellHeldToTheShownBreakpoints) {
  mainmaps.setdata(110, 6 + (rpmpoints - 1) / 16, (rpmpoints - 1) % 16, 255, false);
  mainmaps.setdata(110, 4 + (loadpoints - 1) / 16, (loadpoints - 1) % 16, 255, false);
  mainmaps.recalc();
  ASSERT_EQ(shownarea(mainmaps, state.guards, throttlemap).across, rpmpoints);
  ASSERT_EQ(shownarea(mainmaps, state.guards, throttlemap).down, loadpoints);
  state.curmap = throttlemap;
  state.preferences.trackmode = false;
  state.preferences.gridloadup = false;
  views.openmapview();
  connect();
  ASSERT_TRUE(state.online);

  // Drive until the engine pulls beyond both shown axes, then hold it there for a few whole poll plans.
  for (int i = 0; i < 2000; ++i) {
    const auto [row, col] = sim.livecell(throttlemap);
    if (row >= rpmpoints + 2 && col >= loadpoints + 2) break;
    tick();
  }
  sim.enginerunning = false;
  tick(20);
  const auto [ecurow, ecucol] = sim.livecell(throttlemap);
  ASSERT_GE(ecurow, rpmpoints);
  ASSERT_GE(ecucol, loadpoints);
  ASSERT_EQ(sim.sent(0x90).back()[6], ecurow);
  ASSERT_EQ(sim.sent(0x90).back()[7], ecucol);

  // The link holds the last shown point of each axis.
  const int row = rpmpoints - 1, col = loadpoints - 1;
  EXPECT_EQ(link.live().liverow, row);
  EXPECT_EQ(link.live().livecol, col);

  // The grid's highlight, on grid row = load point, grid column = rpm point.
  EXPECT_EQ(views.mapgrid().cellbackcolor(col, row), gridcolors::live);
  // The visit marks: the live cell, and nothing beyond the shown part.
  EXPECT_TRUE(mainmaps.getvisit(throttlemap, row, col));
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 32; ++j)
      if (i > row || j > col) {
        ASSERT_FALSE(mainmaps.getvisit(throttlemap, i, j)) << i << "," << j;
      }
  // The graph's bands.
  const WireGraphInputs graph = wiregraphinputs(mainmaps, state, link.live(), nullptr);
  EXPECT_EQ(graph.cells.liverow, row);
  EXPECT_EQ(graph.cells.livecol, col);
  // The Space key puts the cursor on the live cell.
  state.cursorrow = 0;
  state.cursorcol = 0;
  handler.mapkeydown(vk::space, 0, MapView::grid, false);
  EXPECT_EQ(state.cursorrow, row);
  EXPECT_EQ(state.cursorcol, col);
  // And tracking moves the cursor there too.
  state.cursorrow = 0;
  state.cursorcol = 0;
  state.preferences.trackmode = true;
  tick(5);
  EXPECT_EQ(state.cursorrow, row);
  EXPECT_EQ(state.cursorcol, col);
}

}  // namespace
