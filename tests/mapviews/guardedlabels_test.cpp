// What the grid, its window and the graphs show of settings a password guards: no axis label from the first guarded
// spread point on, no PWM axis variable while the selector row is guarded (in labels, names, captions and titles),
// no extent that tells where a guarded spread ends its axis, and no pulse width worked out from guarded data.
#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <initializer_list>

#include "calibration/cellguards.h"
#include "calibration/shownarea.h"
#include "editors/spreads.h"
#include "mapviews/gridhighlights.h"
#include "mapviews/gridlayer.h"
#include "mapviews/mapgrid.h"
#include "mapviews/tablegraph.h"
#include "mapviews/wiregraph.h"
#include "mapviewsfixture.h"

using namespace ostrel;

namespace {

constexpr int settings1 = 110;

// The map views and the real grid window over the shipped calibration.
class GuardedLabels : public test::MapViewsTest {
 protected:
  GuardedLabels() : window(views, state) {
    openshipped();
    state.preferences.trackmode = false;
    state.preferences.gridloadup = false;
    window.resize(900, 500);
    window.show();
  }

  void guardsettings(std::initializer_list<int> rows) {
    state.guards.clear();
    for (const int row : rows) state.guards.guard(settings1, 0, row, row);
  }
  void open(int map) {
    state.curmap = static_cast<std::uint8_t>(map);
    views.openmapview();
  }
  // A header label as the grid window's view shows it.
  QString label(Qt::Orientation o, int section) const {
    return window.MapGrid()->model()->headerData(section, o, Qt::DisplayRole).toString();
  }
  // How many labels along the axis the view shows, checking that each shown label is the model's own point label
  // and that every one after the last shown is blank. -1 when that is not so.
  int shownlabels(Qt::Orientation o, const QString& modellabels, int count) const {
    const QStringList items = modellabels.split(QLatin1Char(';'));
    int shown = 0;
    bool blankseen = false;
    for (int k = 0; k < count; ++k) {
      // Row labels run bottom-up in a view whose load direction is up.
      const int section = o == Qt::Vertical && state.preferences.gridloadup && count == 32 ? 31 - k : k;
      const QString text = label(o, section);
      if (text.isEmpty()) {
        blankseen = true;
      } else {
        if (blankseen || text != items.value(k)) return -1;
        ++shown;
      }
    }
    return shown;
  }
  // The spreads with the one end marker (255) on the given point.
  void writespreads(SpreadAxis axis, const Spreads& spreads, int endpoint) {
    for (int point = 1; point <= spreadpoints; ++point) {
      const SpreadCell c = spreadcell(axis, point);
      const int spread = spreads[static_cast<std::size_t>(point - 1)];
      model.setdata(settings1, c.row, c.column, point == endpoint ? 255 : spread == 255 ? 20 : spread, false);
    }
  }
  QString title2d() const { return tablegraphinputs(model, state, link.live(), nullptr).title; }
  QString title3d() const { return wiregraphinputs(model, state, link.live(), nullptr).title; }

  frmMapGrid window;
};

// Spreads of Settings 1 rows 4 and 5 make the load points, rows 6 and 7 the rpm points: with all four guarded no
// label past point 0 shows, with the later rows guarded none past point 16. A throttle axis keeps its labels.
TEST_F(GuardedLabels, GridHeadersShowNoLabelFromTheFirstGuardedSpreadPointOn) {
  const struct {
    const char* what;
    std::initializer_list<int> rows;
    int map;
    int across, down;
  } cases[] = {
      {"nothing guarded, load map", {}, 8, 32, 32},
      {"all spreads guarded, load map", {4, 5, 6, 7}, 8, 1, 1},
      {"all spreads guarded, fuel map", {4, 5, 6, 7}, 0, 1, 1},
      {"later spreads guarded, load map", {5, 7}, 8, 17, 17},
      {"later spreads guarded, another load map", {5, 7}, 19, 17, 17},
      {"load spreads guarded, load map", {4}, 12, 32, 1},
      {"all spreads guarded, throttle map", {4, 5, 6, 7}, 2, 1, 32},
      {"later spreads guarded, throttle map", {5, 7}, 16, 17, 32},
      {"selectors guarded, load map", {3}, 8, 32, 32},
  };
  for (const bool up : {false, true}) {
    state.preferences.gridloadup = up;
    for (const auto& c : cases) {
      SCOPED_TRACE(c.what);
      guardsettings(c.rows);
      open(c.map);
      EXPECT_EQ(shownlabels(Qt::Horizontal, model.getscalestringX(c.map, true), 32), c.across) << "load up " << up;
      EXPECT_EQ(shownlabels(Qt::Vertical, model.getscalestringY(c.map, true), 32), c.down) << "load up " << up;
    }
  }

  // Imperial labels alike; the guard on row 5 leaves the 16 load points before it.
  state.preferences.gridloadup = false;
  state.preferences.metricunits = false;
  guardsettings({5, 6});
  open(8);
  EXPECT_EQ(shownlabels(Qt::Horizontal, model.getscalestringX(8, false), 32), 1);
  EXPECT_EQ(shownlabels(Qt::Vertical, model.getscalestringY(8, false), 32), 17);
  state.preferences.metricunits = true;

  // A picture of the grid under guarded load and rpm spreads from point 17 on.
  guardsettings({5, 7});
  window.resize(2560, 720);
  open(8);
  const QString path = test::savescreenshot(&window, QStringLiteral("mapgrid_guardedspreads"));
  EXPECT_TRUE(QFile::exists(path));
}

// With the selector row guarded the PWM maps are named with empty brackets everywhere a name is shown, and their axes
// carry no label; the same maps show both once the row is open.
TEST_F(GuardedLabels, AGuardedSelectorRowLeavesThePwmVariablesOutOfNamesTitlesAndAxes) {
  const QString file = QStringLiteral("  (") + state.filename + QLatin1Char(')');
  const struct {
    int map;
    const char* group;
    const char* name;
  } pwm[] = {{88, "2D PWM", "PWM MAP 1 duty []"}, {93, "2D PWM", "PWM MAP 6 duty []"}, {109, "3D PWM 12", "PWM MAP 12 []"}};
  for (const auto& p : pwm) {
    SCOPED_TRACE(p.map);
    const QString name = QString::fromLatin1(p.name);
    const bool threed = p.map >= 106;
    const int across = threed ? 32 : 16;

    guardsettings({3});
    calls.clear();
    open(p.map);
    EXPECT_EQ(maincaption, QString::fromLatin1(p.group) + QStringLiteral(": ") + name + file);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Map data, units = %"));
    EXPECT_EQ(callsof(QStringLiteral("status ")).front(), QStringLiteral("status ") + name + QStringLiteral(" selected  1"));
    EXPECT_EQ(threed ? title3d() : title2d(), name + QStringLiteral(";%"));
    EXPECT_EQ(shownlabels(Qt::Horizontal, model.getscalestringX(p.map, true), across), 0);
    if (threed) {
      EXPECT_EQ(shownlabels(Qt::Vertical, model.getscalestringY(p.map, true), 32), 0);
    }

    // Open, the model's own name and labels show.
    guardsettings({});
    open(p.map);
    const QString full = model.getmapname(p.map);
    const QString modelname = full.mid(full.indexOf(QLatin1Char(':')) + 1, full.indexOf(QLatin1Char(';')) - full.indexOf(QLatin1Char(':')) - 1);
    EXPECT_NE(modelname, name);
    EXPECT_EQ(maincaption, QString::fromLatin1(p.group) + QStringLiteral(": ") + modelname + file);
    EXPECT_EQ(threed ? title3d() : title2d(), modelname + QStringLiteral(";%"));
    EXPECT_EQ(shownlabels(Qt::Horizontal, model.getscalestringX(p.map, true), across), across);
  }
}

// An axis of maps 0 to 23 ends at its first end marker. Where the marker lies at or after the first guarded point of
// its axis the whole axis is shown, in the shown area and so in the grid's stripes, the graph's extent and the live
// cell; a marker before it still ends the axis.
TEST_F(GuardedLabels, AnAxisEndedByAGuardedSpreadShowsWhole) {
  const struct {
    const char* what;
    int rpmend, loadend;  // the points whose spread is the end marker
    std::initializer_list<int> rows;
    int across, down;
  } cases[] = {
      {"nothing guarded", 20, 12, {}, 20, 12},
      {"rpm points from 17 guarded: the rpm end lies in them", 20, 12, {7}, 32, 12},
      {"rpm points from 1 guarded", 20, 12, {6}, 32, 12},
      {"load points from 17 guarded: the load end lies before them", 20, 12, {5}, 20, 12},
      {"load points from 1 guarded", 20, 12, {4}, 20, 32},
      {"both ends guarded", 20, 12, {4, 6}, 32, 32},
      {"selectors guarded", 20, 12, {3}, 20, 12},
      {"an end on the first guarded point", 17, 16, {5, 7}, 32, 16},
  };
  const auto inside = [](std::uint32_t colour) {
    return colour == gridcolors::evenstripe || colour == gridcolors::oddstripe;
  };
  const Spreads rpm = readspreads(model, SpreadAxis::rpm), load = readspreads(model, SpreadAxis::load);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    writespreads(SpreadAxis::rpm, rpm, c.rpmend);
    writespreads(SpreadAxis::load, load, c.loadend);
    model.recalc();
    guardsettings(c.rows);
    const ShownArea area = shownarea(model, state.guards, 8);
    EXPECT_EQ(area.across, c.across);
    EXPECT_EQ(area.down, c.down);
    EXPECT_EQ(shownarea(model, state.guards, 107).across, 32) << "the PWM maps keep their whole grid";

    open(8);
    const WireGraphInputs graph = wiregraphinputs(model, state, link.live(), nullptr);
    EXPECT_EQ(graph.rows, c.across);
    EXPECT_EQ(graph.cols, c.down);
    // Grid column 25 (rpm point 25) and grid row 20 (load point 20), away from the cursor and live cells.
    EXPECT_EQ(inside(views.mapgrid().cellbackcolor(5, 25)), c.across > 25);
    EXPECT_EQ(inside(views.mapgrid().cellbackcolor(20, 5)), c.down > 20);

    RxFrame site{};
    site[6] = 26;
    site[7] = 22;
    link.takereply(requesttype::livesite, site);
    EXPECT_EQ(link.live().liverow, std::min(26, c.across - 1));
    EXPECT_EQ(link.live().livecol, std::min(22, c.down - 1));
  }
}

// The VE map's pulse width note is worked out from the target ratio cell, the injector flow and cylinder capacity
// rows and the load spreads up to the cell's load point: a guard over any of them leaves the note out, not the value.
TEST_F(GuardedLabels, ThePulseWidthNoteShowsNothingWorkedOutFromGuardedData) {
  state.preferences.substrings = true;
  state.preferences.vesubstringafrerror = false;
  const auto note = [this](int gridrow, int gridcol) { return views.mapgrid().celltext(gridrow, gridcol).contains(" ms"); };
  const struct {
    const char* what;
    int map, first, last;
    std::vector<int> without;  // load points whose cells lose the note
  } cases[] = {
      {"nothing guarded", 0, 0, -1, {}},
      {"target ratios at load point 5", 19, 5, 5, {5}},
      {"injector flow", settings1, 9, 9, {1, 5, 16, 17, 31}},
      {"cylinder capacity", settings1, 10, 10, {1, 5, 16, 17, 31}},
      {"load spreads from point 17", settings1, 5, 5, {17, 31}},
      {"rpm spreads", settings1, 6, 7, {}},
      {"the base fuel table", 0, 0, 31, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    state.guards.clear();
    state.guards.guard(c.map, 0, c.first, c.last);
    open(4);
    for (const int j : {1, 5, 16, 17, 31}) {
      const bool lost = std::find(c.without.begin(), c.without.end(), j) != c.without.end();
      EXPECT_EQ(note(j, 3), !lost) << "load point " << j;
      EXPECT_FALSE(views.mapgrid().celltext(j, 3).isEmpty()) << "the VE value itself shows";
    }
  }
}

}  // namespace
