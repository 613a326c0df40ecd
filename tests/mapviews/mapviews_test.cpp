#include <gtest/gtest.h>

#include "calibration/settings.h"
#include "mapviews/keycodes.h"
#include "mapviews/keyhandler.h"
#include "mapviewsfixture.h"

using namespace ostrel;
using test::MapViewsTest;

namespace {
const QString masseditproblem = QStringLiteral("A mass edit problem occurred. You should re-upload");
const QString protectedwarning = QStringLiteral("Portions of this map are password protected and will not be shown");
}  // namespace

TEST_F(MapViewsTest, OpeningAMapBringsEveryViewInLine) {
  openshipped();
  state.filename = QStringLiteral("/home/tuner/car.s26");
  state.curmap = 8;
  state.syncerrticks = 7;
  views.openmapview();
  EXPECT_EQ(maincaption,
            QStringLiteral("3D Ignition Calibration: Base timing table [RPM, LOAD]  (/home/tuner/car.s26)"));
  EXPECT_EQ(views.gridcaption(), QStringLiteral("Map data, units = degrees btdc"));
  EXPECT_EQ(callsof(QStringLiteral("status")),
            std::vector<QString>{QStringLiteral("status Base timing table [RPM, LOAD] selected  1")});
  // Dropping the (absent) box redraws the graph, and the opening does again.
  EXPECT_EQ(callsof(QStringLiteral("drawmap")).size(), 2u);
  EXPECT_EQ(callsof(QStringLiteral("cleartabletrail")).size(), 1u);
  EXPECT_EQ(state.syncerrticks, 0);
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(text(-1, 1), QStringLiteral("250 rpm"));
  EXPECT_EQ(back(31, 0), GridTints::of(state.colors.trimbandcolor, 0).cursor);  // cursor (0, 0), load UP
}

TEST_F(MapViewsTest, OpeningATableClampsTheCursorIntoIt) {
  openshipped();
  state.cursorrow = 5;
  state.cursorcol = 20;
  state.curmap = 24;
  views.openmapview();
  EXPECT_EQ(state.cursorrow, 0);
  EXPECT_EQ(state.cursorcol, 15);
}

// While connected with an edit still counting down the box cannot be dropped: the tuner is told to re-upload.
TEST_F(MapViewsTest, AWriteCountingDownOnlineBlocksTheOpening) {
  openshipped();
  state.online = true;
  state.pendingcommand = 4;
  state.curmap = 0;
  views.openmapview();
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text, masseditproblem);
  EXPECT_EQ(prompts.records[0].icon, Prompts::Icon::Critical);
  EXPECT_TRUE(callsof(QStringLiteral("drawmap")).empty());
  EXPECT_EQ(text(0, 0).isEmpty(), false);  // the grid was refilled all the same
  EXPECT_EQ(views.gridcaption(), QStringLiteral("Map data, units = milliseconds"));

  // The same while disconnected passes.
  prompts.clear();
  state.online = false;
  views.openmapview();
  EXPECT_TRUE(prompts.messages().empty());
  // And with the box on nothing has to be dropped.
  state.online = true;
  state.trimbox.active = true;
  views.openmapview();
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_TRUE(state.trimbox.active);
}

TEST_F(MapViewsTest, AProtectedMapWarnsEachTimeItOpens) {
  openshipped();
  settings mainsettings;
  KeyHandler keys{state, model, mainsettings, link, views, prompts};
  keys.install();
  state.curmap = 8;
  const struct { int first, last; bool warns; } cases[] = {{-1, -1, false}, {9, 3, false}, {3, 9, true}, {0, 0, true}};
  for (const auto& c : cases) {
    state.guards.clear();
    state.guards.guard(8, 0, c.first, c.last);
    const bool warns = c.warns;
    for (int n = 0; n < 2; ++n) {
      prompts.clear();
      calls.clear();
      views.openmapview();
      EXPECT_EQ(prompts.messages(), warns ? std::vector<QString>{protectedwarning} : std::vector<QString>{});
      // The warning hands the focus back to the active view.
      EXPECT_EQ(callsof(QStringLiteral("focus grid")).size(), warns ? 1u : 0u);
    }
  }
  EXPECT_EQ(prompts.records[0].icon, Prompts::Icon::Information);
}

TEST_F(MapViewsTest, ClearSelectionWaitsForAPendingWriteOnlyWhileConnected) {
  state.trimbox.active = true;
  state.online = true;
  state.pendingcommand = 5;
  EXPECT_FALSE(views.clearselection());
  EXPECT_TRUE(state.trimbox.active);
  EXPECT_TRUE(calls.empty());

  state.pendingcommand = 0;
  EXPECT_TRUE(views.clearselection());
  EXPECT_FALSE(state.trimbox.active);
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("drawmap 1")});

  // Offline the box always goes, even right after an edit.
  state.trimbox.active = true;
  state.online = false;
  state.pendingcommand = 8;
  EXPECT_TRUE(views.clearselection());
  EXPECT_FALSE(state.trimbox.active);
}

TEST_F(MapViewsTest, RefreshActiveViewHandsKeyZeroToTheFocusedView) {
  openshipped();
  // Without a keyboard handler plugged in nothing happens.
  views.refreshactiveview();
  EXPECT_TRUE(calls.empty());

  settings mainsettings;
  {
    KeyHandler keys{state, model, mainsettings, link, views, prompts};
    keys.install();
    views.refreshactiveview();
    state.graphview = true;
    views.refreshactiveview();
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("focus grid"), QStringLiteral("focus graph")}));
    // Key 0 drops an active box.
    calls.clear();
    state.trimbox.active = true;
    views.refreshactiveview();
    EXPECT_FALSE(state.trimbox.active);
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 1"), QStringLiteral("focus graph")}));
  }
  // A handler that has gone is no longer called.
  calls.clear();
  views.refreshactiveview();
  EXPECT_TRUE(calls.empty());
}

TEST_F(MapViewsTest, GridEventsGoToTheKeyboardHandlerAndTheGraph) {
  openshipped();
  settings mainsettings;
  KeyHandler keys{state, model, mainsettings, link, views, prompts};
  keys.install();
  state.preferences.trackmode = false;
  state.preferences.gridloadup = true;
  views.gridkeydown(84, 0, true);   // T on the grid: focus to the graph
  views.gridkeydown(84, 1, true);   // Shift T stays
  views.gridkeydown(84, 0, false);  // T on the window stays
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("focus graph"), QStringLiteral("focus grid"),
                                         QStringLiteral("focus grid")}));
  // The grid's load direction goes with every key: Up on a 3-D map drawn bottom-up raises the second index.
  state.curmap = 8;
  state.cursorrow = 4, state.cursorcol = 5;
  views.gridkeydown(vk::up, 0, true);
  EXPECT_EQ(state.cursorcol, 6);
  state.preferences.gridloadup = false;
  views.gridkeydown(vk::up, 0, true);
  EXPECT_EQ(state.cursorcol, 5);

  calls.clear();
  state.graphview = true;
  state.curmap = 24;
  views.gridfocused();
  EXPECT_FALSE(state.graphview);
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("status Grid focus, arrows are grid oriented 0")});
  calls.clear();
  state.curmap = 0;
  views.gridfocused();
  EXPECT_EQ(callsof(QStringLiteral("drawmapgraph")), std::vector<QString>{QStringLiteral("drawmapgraph 1 0")});
}

// The link's live replies drive the grid: the live site moves the live cell, the live values refresh the views.
TEST_F(MapViewsTest, LiveRepliesMoveTheLiveCell) {
  openshipped();
  test::ForwardingHost host(views);
  link.sethost(&host);
  state.curmap = 0;
  state.preferences.gridloadup = false;
  state.preferences.trackmode = false;
  views.openmapview();
  const auto reply = [&](int rpmpoint, int loadpoint) {
    RxFrame site{};
    site[6] = static_cast<std::uint8_t>(rpmpoint);
    site[7] = static_cast<std::uint8_t>(loadpoint);
    link.takereply(requesttype::livesite, site);
    link.takereply(requesttype::livevalues, RxFrame{});
  };
  reply(12, 7);
  EXPECT_EQ(back(7, 12), gridcolors::live);
  reply(13, 7);
  EXPECT_EQ(back(7, 13), gridcolors::live);
  EXPECT_EQ(back(7, 12), gridcolors::oddstripe);
  // Out of range sites are held to the map.
  reply(200, 200);
  EXPECT_EQ(back(31, 31), gridcolors::live);
}
