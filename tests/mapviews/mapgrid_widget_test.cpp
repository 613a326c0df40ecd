#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>

#include "calibration/settings.h"
#include "mapviews/gridlayer.h"
#include "mapviews/keyhandler.h"
#include "mapviews/mapgrid.h"
#include "mapviewsfixture.h"

using namespace ostrel;
using test::MapViewsTest;

namespace {

// The map grid window on screen (offscreen), over the shipped calibration, with the link's replies forwarded.
class MapGridWindowTest : public MapViewsTest {
 protected:
  MapGridWindowTest() : host(views), window(views, state) {
    link.sethost(&host);
    window.resize(760, 420);
    window.show();
  }

  void open(int map) {
    state.curmap = static_cast<std::uint8_t>(map);
    views.openmapview();
  }
  // What the view shows in a cell, read through its model as the view paints it.
  QString shown(int row, int col) const { return grid()->model()->index(row, col).data(Qt::DisplayRole).toString(); }
  QString label(Qt::Orientation o, int section) const {
    return grid()->model()->headerData(section, o, Qt::DisplayRole).toString();
  }
  QColor background(int row, int col) const {
    return grid()->model()->index(row, col).data(Qt::BackgroundRole).value<QBrush>().color();
  }
  // True when the cell lies completely inside the grid's viewport.
  bool onscreen(int row, int col) const {
    const QRect cell = grid()->visualRect(grid()->model()->index(row, col));
    return grid()->viewport()->rect().contains(cell);
  }
  // One live site reply and one live values reply, as the link receives them.
  void livereply(int first, int second) {
    RxFrame site{};
    site[6] = static_cast<std::uint8_t>(first);
    site[7] = static_cast<std::uint8_t>(second);
    link.takereply(requesttype::livesite, site);
    link.takereply(requesttype::livevalues, RxFrame{});
  }
  GridView* grid() const { return window.MapGrid(); }

  test::ForwardingHost host;
  frmMapGrid window;
};

}  // namespace

TEST_F(MapGridWindowTest, ShowsAThreeDMapWithItsMarksAndLiveCell) {
  openshipped();
  state.preferences.gridloadup = false;
  state.preferences.trackmode = false;
  state.guards.guard(8, 0, 30, 31);
  model.setdata(8, 2, 4, 60, true);
  prompts.answers.push_back(Prompts::Answer::Ok);
  open(8);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Map data, units = degrees btdc"));
  EXPECT_EQ(label(Qt::Horizontal, 4), QStringLiteral("1000 rpm"));
  EXPECT_EQ(label(Qt::Vertical, 3), QStringLiteral("10 kPa"));
  EXPECT_EQ(shown(4, 2), QStringLiteral("[30,0]"));  // the test locale is German
  EXPECT_FALSE(shown(5, 2).startsWith(QLatin1Char('[')));
  EXPECT_TRUE(shown(30, 0).isEmpty());  // protected
  EXPECT_TRUE(shown(31, 5).isEmpty());
  EXPECT_FALSE(shown(29, 0).isEmpty());

  livereply(6, 9);
  EXPECT_EQ(background(9, 6), QColor(255, 255, 0));
  livereply(7, 9);
  EXPECT_EQ(background(9, 7), QColor(255, 255, 0));
  EXPECT_NE(background(9, 6), QColor(255, 255, 0));
}

TEST_F(MapGridWindowTest, ShowsATableAndTheLabelsOfMapsWithoutCells) {
  openshipped();
  model.setdata(42, 0, 3, 100, false);
  state.preferences.trackmode = false;
  open(42);
  EXPECT_EQ(shown(0, 3), QStringLiteral("1,90"));
  EXPECT_EQ(label(Qt::Horizontal, 1), QStringLiteral("850 RPM"));
  EXPECT_TRUE(shown(1, 3).isEmpty());
  EXPECT_TRUE(shown(0, 16).isEmpty());
  livereply(5, 0);  // a table's live site is its column
  EXPECT_EQ(background(0, 5), QColor(255, 255, 0));
  EXPECT_EQ(background(0, 20), QColor(128, 128, 128));

  open(110);
  EXPECT_EQ(label(Qt::Horizontal, 1), QStringLiteral("***"));
  for (int r = 0; r < 16; ++r) EXPECT_TRUE(shown(r, 2).isEmpty());
}

// Following the cursor, the grid scrolls the cursor cell into view and puts its focus there.
TEST_F(MapGridWindowTest, ScrollsTheCursorIntoView) {
  openshipped();
  state.preferences.gridloadup = true;
  state.preferences.gridcenterload = false;
  open(0);
  // A freshly opened 3-D map drawn bottom-up starts at its last rows and columns.
  EXPECT_TRUE(onscreen(31, 31));
  EXPECT_EQ(grid()->bottomrow(), 31);
  EXPECT_EQ(grid()->rightcol(), 31);

  state.cursorrow = 1;   // grid column 1
  state.cursorcol = 20;  // grid row 11
  views.updategridhighlights(false);
  views.scrollgridtocell(false);
  EXPECT_TRUE(onscreen(11, 1));
  EXPECT_EQ(grid()->currentIndex(), grid()->model()->index(11, 1));
  EXPECT_EQ(grid()->toprow(), 11);
  EXPECT_EQ(grid()->leftcol(), 1);

  state.cursorrow = 30;
  state.cursorcol = 0;  // grid row 31
  views.scrollgridtocell(false);
  EXPECT_TRUE(onscreen(31, 30));
  EXPECT_EQ(grid()->bottomrow(), 31);
  EXPECT_EQ(grid()->rightcol(), 30);
}

// Scrolled as far as it goes, the grid still starts with a whole row and column and shows the last ones whole; the
// space left over lies beyond them. The sizes leave part of a row and of a column over.
TEST_F(MapGridWindowTest, AtTheFarEndTheFirstVisibleRowAndColumnAreWhole) {
  openshipped();
  state.preferences.gridloadup = true;
  for (const QSize size : {QSize(760, 420), QSize(980, 520), QSize(613, 301)}) {
    window.resize(size);
    open(0);  // starts at the last rows and columns
    const int top = grid()->toprow(), left = grid()->leftcol();
    EXPECT_GT(top, 0) << size.width();
    EXPECT_GT(left, 0) << size.width();
    EXPECT_EQ(grid()->rowViewportPosition(top), 0) << size.width();
    EXPECT_EQ(grid()->columnViewportPosition(left), 0) << size.width();
    EXPECT_TRUE(onscreen(top, left)) << size.width();
    EXPECT_TRUE(onscreen(31, 31)) << size.width();
    EXPECT_EQ(grid()->bottomrow(), 31) << size.width();
    EXPECT_EQ(grid()->rightcol(), 31) << size.width();
    // Back from the end and there again, as a tuner scrolls.
    grid()->setleftcol(0);
    grid()->settoprow(0);
    grid()->setrightcol(31);
    grid()->setbottomrow(31);
    EXPECT_EQ(grid()->columnViewportPosition(grid()->leftcol()), 0) << size.width();
    EXPECT_EQ(grid()->rowViewportPosition(grid()->toprow()), 0) << size.width();
  }
}

TEST_F(MapGridWindowTest, ScrollPutsStopAtTheEdges) {
  open(0);
  grid()->settoprow(31);
  EXPECT_EQ(grid()->bottomrow(), 31);
  EXPECT_GT(grid()->toprow(), 0);
  grid()->setbottomrow(20);
  EXPECT_EQ(grid()->bottomrow(), 20);
  grid()->settoprow(-5);
  EXPECT_EQ(grid()->toprow(), 0);
  grid()->setrightcol(25);
  EXPECT_EQ(grid()->rightcol(), 25);
  grid()->setleftcol(3);
  EXPECT_EQ(grid()->leftcol(), 3);
  grid()->setcurrow(7);
  grid()->setcurcol(9);
  EXPECT_EQ(grid()->currow(), 7);
  EXPECT_EQ(grid()->curcol(), 9);
}

TEST_F(MapGridWindowTest, EveryKeyGoesToTheKeyboardHandler) {
  openshipped();
  settings mainsettings;
  KeyHandler keys{state, model, mainsettings, link, views, prompts};
  keys.install();
  open(8);
  state.cursorrow = 2, state.cursorcol = 3;
  const int before = model.getdata(8, 2, 3);
  state.preferences.gridloadup = true;
  grid()->setFocus();
  calls.clear();
  QTest::keyClick(grid(), Qt::Key_PageUp);                      // the cell steps up
  QTest::keyClick(grid(), Qt::Key_Right, Qt::ControlModifier);  // a box, the focus stays
  QTest::keyClick(grid(), Qt::Key_T);                           // the focus to the graph
  // The grid itself never moves its focus cell on a key (Tab would, in a plain table view).
  const std::pair<int, int> focuscell{grid()->currow(), grid()->curcol()};
  QTest::keyClick(grid(), Qt::Key_Tab);  // drops the box
  EXPECT_EQ((std::pair<int, int>{grid()->currow(), grid()->curcol()}), focuscell);
  QTest::keyClick(grid(), Qt::Key_F3);  // map 0
  EXPECT_GT(model.getdata(8, 2, 3), before);
  EXPECT_EQ(state.curmap, 0);
  EXPECT_FALSE(state.trimbox.active);
  EXPECT_EQ(callsof(QStringLiteral("focus")),
            (std::vector<QString>{QStringLiteral("focus grid"), QStringLiteral("focus graph"),
                                  QStringLiteral("focus grid"), QStringLiteral("focus grid")}));
  EXPECT_EQ(callsof(QStringLiteral("openmapview")), std::vector<QString>{QStringLiteral("openmapview 0")});
}

TEST_F(MapGridWindowTest, TakingTheFocusReportsItAndRedrawsTheGraph) {
  QWidget other;
  other.show();
  other.setFocus();
  calls.clear();
  state.graphview = true;
  state.curmap = 0;
  QApplication::setActiveWindow(&window);
  grid()->setFocus(Qt::OtherFocusReason);
  QApplication::processEvents();
  EXPECT_FALSE(state.graphview);
  EXPECT_FALSE(callsof(QStringLiteral("status Grid focus, arrows are grid oriented 0")).empty());
  EXPECT_FALSE(callsof(QStringLiteral("drawmapgraph 1 0")).empty());
}

TEST_F(MapGridWindowTest, ClosingOnlyMinimisesUntilTheProgramExits) {
  QMdiArea area;
  QMdiSubWindow* frame = area.addSubWindow(new frmMapGrid(views, state));
  area.show();
  frame->show();
  QCloseEvent close;
  QApplication::sendEvent(frame->widget(), &close);
  EXPECT_FALSE(close.isAccepted());
  EXPECT_TRUE(frame->isMinimized());
  EXPECT_EQ(callsof(QStringLiteral("minimizeonclose")).size(), 1u);
  state.exiting = true;
  QCloseEvent last;
  QApplication::sendEvent(frame->widget(), &last);
  EXPECT_TRUE(last.isAccepted());
}

TEST_F(MapGridWindowTest, TheCaptionStartsAsMapData) {
  MapViews fresh(state, model, link, prompts);
  frmMapGrid w(fresh, state);
  w.resize(300, 200);
  w.show();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Map data"));
  state.curmap = 24;
  fresh.openmapview();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Map data, units = %"));
  w.resize(400, 300);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Map data, units = %"));
}

// The picture a tuner sees: the base timing map drawn bottom-up with the engine's live cell and the trace of where it
// ran, the cursor, a changed cell and a selection box, all inside the corner a freshly opened map shows.
TEST_F(MapGridWindowTest, ScreenshotOfAThreeDMap) {
  openshipped();
  state.preferences.gridloadup = true;
  state.preferences.gridcenterload = true;
  state.preferences.trackmode = false;
  state.online = true;
  state.curmap = 8;
  window.resize(980, 520);
  for (int i = 22; i <= 25; ++i)
    for (int j = 6; j <= 10; ++j) model.setvisit(8, i, j);
  model.setdata(8, 26, 12, model.getdata(8, 26, 12) + 4, true);
  state.cursorrow = 23;
  state.cursorcol = 6;
  views.openmapview();
  state.trimbox = {true, 27, 10, 29, 13};
  views.updategridhighlights(true);
  livereply(24, 8);
  EXPECT_EQ(background(31 - 8, 24), QColor(255, 255, 0));
  for (const auto& [row, col] : {std::pair{31 - 8, 24}, std::pair{31 - 6, 23}, std::pair{31 - 13, 29}})
    EXPECT_TRUE(onscreen(row, col)) << row << " " << col;
  EXPECT_TRUE(shown(31 - 12, 26).startsWith(QLatin1Char('[')));
  const QString path = test::savescreenshot(&window, QStringLiteral("mapgrid_3d"));
  EXPECT_TRUE(QFile::exists(path));
}
