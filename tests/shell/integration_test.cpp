// The main window with its real child windows wired together: the gauge window and its live panel fed by the link,
// keys from every permanent window through the one keyboard handler, and edits made with the keyboard reaching the
// ECU simulator. Ticks are driven by hand.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "calibration/startuptables.h"
#include "common/testrig.h"
#include "gauge/noxgauge.h"
#include "mapviews/mapgrid.h"
#include "mapviews/selection.h"
#include "mapviews/viewhelpers.h"
#include "platform/colors.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"
#include "shell/frmnavigate.h"
#include "shell/statuswindow.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

constexpr int commspercommands = 3;  // 100 ms / 30 ms

class Integration : public test::SimProgramTest {
 protected:
  void SetUp() override { startprogram(); }

  QMdiSubWindow* frameof(QWidget* child) const { return qobject_cast<QMdiSubWindow*>(child->parentWidget()); }

  // A pixel of the live panel, as 0xBBGGRR, at a position in twips.
  std::uint32_t panelpixel(double xtwips, double ytwips) const {
    return colortobgr(window->frmDisplay->picGraph->image().pixelColor(twipstopixels(xtwips), twipstopixels(ytwips)));
  }
  PanelGeometry panel() const {
    return panelgeometry(window->frmDisplay->outerheight(), parts.state.preferences.panelanalog);
  }
};

TEST_F(Integration, DisplayIsTheGaugeWindowWithItsPanel) {
  QMdiSubWindow* frame = window->mdiarea()->subWindowList().value(0);
  ASSERT_NE(frame, nullptr);
  auto* display = qobject_cast<frmDisplay*>(frame->widget());
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display, window->frmDisplay);
  EXPECT_EQ(display->windowTitle(), "Display");
  EXPECT_EQ(display->findChildren<nox::NoxGauge*>().size(), gaugecount);
  for (nox::NoxGauge* gauge : display->gauges) EXPECT_NE(gauge, nullptr);
  ASSERT_NE(window->livepanel(), nullptr);

  // The layout sizes the frame, which is what the gauge window reads as its size: the first layout's 4400 twips,
  // wide enough to ask for the gauge plan, too narrow to show the gauges.
  EXPECT_EQ(frame->width(), twipstopixels(4400));
  EXPECT_EQ(display->outerwidth(), pixelstotwips(frame->width()));
  EXPECT_TRUE(display->selectorswitch().enlarged());
  EXPECT_EQ(parts.state.livemode, panel::gaugeselector);
  EXPECT_EQ(display->picGraph->width(), twipstopixels(display->outerwidth() - 135));

  // The background pass has printed the labels.
  const QImage& image = display->picGraph->image();
  int labelpixels = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < twipstopixels(1000); ++x)
      if (colortobgr(image.pixelColor(x, y)) == panel::labelcolor) ++labelpixels;
  EXPECT_GT(labelpixels, 100);
}

TEST_F(Integration, KeysOnTheGridEditTheCursorCellAndTheEditReachesTheEcu) {
  parts.state.preferences.trackmode = false;  // hold: the arrows move the cursor, the live cell does not
  connect();
  const std::uint8_t map = 8;  // a 3-D map that steps by 4
  parts.state.curmap = map;
  parts.state.cursorrow = 2;
  parts.state.cursorcol = 3;
  window->openmapview();
  const std::int16_t first = parts.mainmaps.getdata(map, 2, 3);
  const std::int16_t second = parts.mainmaps.getdata(map, 3, 3);

  press(grid(), Qt::Key_Plus);
  EXPECT_EQ(parts.mainmaps.getdata(map, 2, 3), first + 4);
  EXPECT_EQ(parts.state.pendingmap, map);
  EXPECT_EQ(parts.state.pendingcommand, MainTimers::writecountdown);
  EXPECT_EQ(parts.state.pendingwrite.lowrow, 2);
  EXPECT_EQ(parts.state.pendingwrite.highrow, 2);

  // Right moves along the first index of a 3-D map; Shift steps by 1; the rectangle widens to both cells.
  press(grid(), Qt::Key_Right);
  EXPECT_EQ(parts.state.cursorrow, 3);
  press(grid(), Qt::Key_PageUp, Qt::ShiftModifier);
  EXPECT_EQ(parts.mainmaps.getdata(map, 3, 3), second + 1);
  EXPECT_EQ(parts.state.redrawticks, 0);
  const PendingWrite& rect = parts.state.pendingwrite;
  EXPECT_EQ(std::vector<int>({rect.lowrow, rect.highrow, rect.lowcol, rect.highcol}), std::vector<int>({2, 3, 3, 3}));

  // The commands timer hands the rectangle to the link 0.7 s after the last edit, and the rows reach the ECU.
  const int row = parts.mainmaps.getbufferrow(map, 3, 3);
  ASSERT_NE(simrow(row), modelrow(row));
  for (int tick = 0; tick < MainTimers::writecountdown; ++tick) {
    commsteps(commspercommands);
    window->timers().commandstick();
  }
  for (int step = 0; step < 40 && simrow(row) != modelrow(row); ++step) commsteps(1);
  EXPECT_EQ(simrow(row), modelrow(row));
  EXPECT_EQ(simrow(parts.mainmaps.getbufferrow(map, 2, 3)), modelrow(parts.mainmaps.getbufferrow(map, 2, 3)));
  EXPECT_TRUE(parts.prompts.messages().empty());
}

TEST_F(Integration, GridSelectionBoxAndMaximise) {
  const std::uint8_t map = 8;
  parts.state.curmap = map;
  parts.state.cursorrow = 0;
  parts.state.cursorcol = 0;
  window->openmapview();
  const std::int16_t corner = parts.mainmaps.getdata(map, 1, 0);

  // Ctrl with an arrow starts the box on the grid; plus then raises every cell in it.
  press(grid(), Qt::Key_Right, Qt::ControlModifier);
  ASSERT_TRUE(parts.state.trimbox.active);
  press(grid(), Qt::Key_Plus);
  EXPECT_EQ(parts.mainmaps.getdata(map, 1, 0), corner + 4);
  press(grid(), Qt::Key_Escape);  // any unbound key drops the box
  EXPECT_FALSE(parts.state.trimbox.active);

  // F9 with the grid focused switches its frame between maximised and normal.
  parts.state.graphview = false;
  QMdiSubWindow* frame = frameof(window->frmMapGrid);
  press(grid(), Qt::Key_F9);
  EXPECT_TRUE(frame->isMaximized());
  press(grid(), Qt::Key_F9);
  EXPECT_FALSE(frame->isMaximized());
  EXPECT_TRUE(parts.prompts.messages().empty());
}

TEST_F(Integration, ABoxCarriedIntoASmallerMapIsLimitedToIt) {
  // The whole of a 3-D map selected, then another map opened by a path that is not the keyboard's.
  parts.state.curmap = 8;
  window->openmapview();
  moveselection(parts.state, parts.mainmaps, 0, true);
  ASSERT_TRUE(parts.state.trimbox.active);
  const SelectionLimits big = selectionlimits(parts.mainmaps, 8);
  int smaller = -1;
  for (int m = 0; m < 116 && smaller < 0; ++m) {
    const SelectionLimits l = selectionlimits(parts.mainmaps, m);
    if (l.across > 0 && l.down > 0 && (l.across < big.across || l.down < big.down)) smaller = m;
  }
  ASSERT_GE(smaller, 0);
  parts.state.curmap = static_cast<std::uint8_t>(smaller);
  window->openmapview();
  const SelectionLimits limits = selectionlimits(parts.mainmaps, smaller);
  const TrimBox& box = parts.state.trimbox;
  EXPECT_TRUE(box.active);
  EXPECT_LT(box.endh, limits.across);
  EXPECT_LT(box.anchorh, limits.across);
  EXPECT_LT(box.endv, limits.down);
  EXPECT_LT(box.anchorv, limits.down);
}

TEST_F(Integration, KeysOfTheOtherWindowsReachTheHandler) {
  QWidget* navigation = window->frmNavigate;
  struct Case {
    const char* where;
    QWidget* target;
    Qt::Key key;
    std::uint8_t map;
  };
  const Case cases[] = {
      {"gauge window", window->frmDisplay, Qt::Key_F4, 8},
      {"gauge picture", window->frmDisplay->picGraph, Qt::Key_F5, 4},
      {"status console", window->frmStatusWindow->TextStatus, Qt::Key_F6, 42},
      {"debug box", window->frmStatusWindow->TextStatusDebug, Qt::Key_F7, 48},
      {"navigation", navigation, Qt::Key_F3, 0},
      {"navigation tree", window->frmNavigate->NavView, Qt::Key_F4, 8},
  };
  parts.state.curmap = 20;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    press(c.target, c.key);
    EXPECT_EQ(parts.state.curmap, c.map);
    // The map view opened: the captions name the new map.
    const MapDisplay d = mapdisplay(parts.mainmaps, parts.state.guards, c.map, parts.state.preferences.fueltype);
    EXPECT_EQ(window->frmMapGrid->windowTitle(), "Map data, units = " + d.units);
    EXPECT_TRUE(window->windowTitle().startsWith(d.group + ": " + d.name + "  ("))
        << window->windowTitle().toStdString();
  }

  // I switches the units and redraws the panel's background in them.
  const QImage before = window->frmDisplay->picGraph->image();
  const bool metric = parts.state.preferences.metricunits;
  press(window->frmDisplay, Qt::Key_I);
  EXPECT_EQ(parts.state.preferences.metricunits, !metric);
  EXPECT_NE(window->frmDisplay->picGraph->image(), before);
  EXPECT_TRUE(parts.prompts.messages().empty());
}

TEST_F(Integration, LiveValuesReachThePanelAndTheGauges) {
  connect();
  commsteps(330);  // the simulated engine pulls at high load about ten seconds in
  const auto& livevars = parts.link.live().livevars;
  ASSERT_GT(livevars[16], 3000);

  // The engine speed bar is drawn as long as the last live value makes it.
  const PanelGeometry g = panel();
  const int units = panelunitscolumn(parts.state.preferences.metricunits);
  const int length = panelbarlength(livevars[16], startuptables().paneltables[16], units);
  ASSERT_GT(length, 100);
  ASSERT_LT(length, 1200);
  const double bary = g.y0 + 885 + 280 * 16;
  EXPECT_EQ(panelpixel(g.x0 + 1050 + 20, bary), panel::zonecolors[0]);
  EXPECT_NE(panelpixel(g.x0 + 1050 + length - 30, bary), panel::barbackcolor);
  EXPECT_EQ(panelpixel(g.x0 + 1050 + length + 30, bary), panel::barbackcolor);
  // The narrow gauge window lets the gauge plan go and leaves the needles alone.
  EXPECT_EQ(parts.state.livemode, 0);
  EXPECT_EQ(window->frmDisplay->lastgaugevalues[1], 0.0f);
  test::savescreenshot(window, "mainwindow_connected");

  // Widened, the gauges come into view and follow the live values.
  QMdiSubWindow* frame = frameof(window->frmDisplay);
  frame->resize(twipstopixels(9000), frame->height());
  EXPECT_EQ(parts.state.livemode, panel::gaugeselector);
  commsteps(10);
  EXPECT_EQ(parts.state.livemode, panel::gaugeselector);
  EXPECT_NEAR(window->frmDisplay->lastgaugevalues[1], limitgaugevalue(gaugevalue(1, livevars)), 1.0f);
  EXPECT_GT(window->frmDisplay->lastgaugevalues[1], 30.0f);
  test::savescreenshot(window, "mainwindow_gauges");
}

}  // namespace
