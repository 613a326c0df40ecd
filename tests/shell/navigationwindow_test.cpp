// The navigation in the main window as the start procedure leaves it: the tree of every map and settings group,
// double-clicks on its nodes, the Map Group and Map menus, the editors they open, the menu items of the views and
// help, the graph window's place among the permanent windows, and the layouts with their screenshots.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <set>

#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "common/pictures.h"
#include "common/testrig.h"
#include "common/wirepoints.h"
#include "editors/passwordfragments.h"
#include "mapviews/frmmap.h"
#include "mapviews/mapgrid.h"
#include "platform/numbers.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"
#include "shell/frmnavigate.h"
#include "shell/gaugewindow.h"
#include "shell/helpwindows.h"
#include "shell/statuswindow.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

const QString reserved(25, QLatin1Char('*'));

class Navigate : public ::testing::Test, protected test::SimEcu {
 protected:
  void SetUp() override {
    window = test::startprogram(start);
    ASSERT_NE(window, nullptr);
    parts.prompts.clear();
  }

  QTreeWidget* tree() const { return window->frmNavigate->NavView; }

  // Every node of the tree in order, depth first.
  std::vector<QTreeWidgetItem*> nodes() const {
    std::vector<QTreeWidgetItem*> all;
    std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
      all.push_back(item);
      for (int k = 0; k < item->childCount(); ++k) walk(item->child(k));
    };
    for (int k = 0; k < tree()->topLevelItemCount(); ++k) walk(tree()->topLevelItem(k));
    return all;
  }
  QTreeWidgetItem* node(const QString& text) const {
    for (QTreeWidgetItem* item : nodes())
      if (item->text(0) == text) return item;
    return nullptr;
  }
  QString name(int map) const { return mapnamepart(parts.mainmaps.getmapname(map)); }
  QAction* groupitem(const QString& caption) const {
    for (QAction* a : window->mapmenus().mnuMapGroupSub)
      if (a->text() == caption) return a;
    return nullptr;
  }
  void connect() {
    window->menus().action("mnuComsConnect")->trigger();
    ASSERT_TRUE(parts.state.online);
  }
  QMdiSubWindow* frame(QWidget* child) const { return qobject_cast<QMdiSubWindow*>(child->parentWidget()); }

  test::ShellParts parts{port};
  StartProcedure start{parts.context};
  VelkorV5* window = nullptr;
};

}  // namespace

TEST_F(Navigate, TheTreeHoldsEveryMapAndGroupUnderTheTwoRoots) {
  const std::vector<QTreeWidgetItem*> all = nodes();
  ASSERT_EQ(all.size(), 131u);
  ASSERT_EQ(tree()->topLevelItemCount(), 2);
  EXPECT_EQ(tree()->topLevelItem(0)->text(0), "Maps");
  EXPECT_EQ(tree()->topLevelItem(1)->text(0), "Settings/Modules");
  EXPECT_TRUE(tree()->topLevelItem(0)->isExpanded());
  EXPECT_TRUE(tree()->topLevelItem(1)->isExpanded());
  EXPECT_EQ(tree()->topLevelItem(0)->childCount(), 13);
  EXPECT_EQ(tree()->topLevelItem(1)->childCount(), 12);

  // The nodes are the map tree's, in its order, and each carries its map.
  const std::vector<MapTreeNode> expected = maptree(parts.mainmaps, MapGuards{}, QString());
  std::vector<QString> texts, want;
  for (QTreeWidgetItem* item : all) texts.push_back(item->text(0));
  for (const MapTreeNode& n : expected) want.push_back(n.text);
  // Depth first and map order agree: the groups come one after another.
  std::sort(texts.begin(), texts.end());
  std::sort(want.begin(), want.end());
  EXPECT_EQ(texts, want);

  int leaves = 0;
  for (QTreeWidgetItem* item : all) {
    const int map = item->data(0, frmNavigate::maprole).toInt();
    const bool group = item->data(0, frmNavigate::grouprole).toBool();
    if (!item->parent()) {
      EXPECT_EQ(map, -1);
      continue;
    }
    if (group) {
      EXPECT_EQ(item->text(0), mapgrouppart(parts.mainmaps.getmapname(map)));
      continue;
    }
    ++leaves;
    EXPECT_EQ(item->text(0), name(map).contains("***") ? reserved : name(map)) << map;
  }
  EXPECT_EQ(leaves, 104);
  EXPECT_EQ(node("3D Engine Calibration")->child(0)->text(0), "TPS:MAP weight [RPM, TPS]");
  EXPECT_EQ(node("3D Ignition Calibration")->child(7)->text(0), reserved);
  for (const char* module : {"Comments", "Passwords", "3D PWM 9", "Settings 1", "Settings 6"})
    EXPECT_EQ(node(module)->childCount(), 0) << module;
}

TEST_F(Navigate, DoubleClicksOpenLeavesAndGroupsButNoRootOrReservedMap) {
  parts.state.curmap = 5;
  // Roots and reserved leaves do nothing.
  for (QTreeWidgetItem* item : {tree()->topLevelItem(0), tree()->topLevelItem(1),
                                node("3D Ignition Calibration")->child(7), node("2D Expansion")->child(3)})
    window->frmNavigate->NavView_DblClick(item);
  EXPECT_EQ(parts.state.curmap, 5);
  EXPECT_TRUE(parts.prompts.records.empty());

  // A leaf opens its map; the Map menu stays on the group it showed.
  const QString before = window->mapmenus().mnuMapSub[0]->text();
  window->frmNavigate->NavView_DblClick(node("Boost target [RPM]"));
  EXPECT_EQ(parts.state.curmap, 48);
  EXPECT_EQ(parts.state.lastviewmap, 48);
  EXPECT_EQ(window->mapmenus().mnuMapSub[0]->text(), before);
  EXPECT_TRUE(window->windowTitle().startsWith("2D Boost Control: Boost target [RPM]  ("));

  // A group opens its first map and labels the Map menu from it.
  window->frmNavigate->NavView_DblClick(node("2D Ignition Trims"));
  EXPECT_EQ(parts.state.curmap, 32);
  EXPECT_EQ(parts.state.groupfirstmap, 32);
  EXPECT_EQ(parts.state.lastviewmap, 32);
  EXPECT_EQ(window->mapmenus().mnuMapSub[0]->text(), name(32));
  EXPECT_EQ(window->mapmenus().mnuMapSub[4]->text(), name(36));

  // A real double-click with the mouse on a leaf.
  QTreeWidgetItem* leaf = node("Base timing table [RPM, LOAD]");
  node("3D Ignition Calibration")->setExpanded(true);
  tree()->scrollToItem(leaf);
  const QPoint at = tree()->visualItemRect(leaf).center();
  QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(parts.state.curmap, 8);
}

TEST_F(Navigate, ANodeOpensItsOwnMapWhateverItsText) {
  // Two nodes with the same text, and one whose text names no map at all: each opens the map it carries.
  QTreeWidgetItem* fuel = node("2D Fuel Trims");
  QTreeWidgetItem* ignition = node("2D Ignition Trims");
  ignition->setText(0, fuel->text(0));
  window->frmNavigate->NavView_DblClick(ignition);
  EXPECT_EQ(parts.state.curmap, 32);
  QTreeWidgetItem* leaf = node("Boost target [RPM]");
  leaf->setText(0, "no such map");
  window->frmNavigate->NavView_DblClick(leaf);
  EXPECT_EQ(parts.state.curmap, 48);

  // The same in the Map Group menu.
  QAction* second = groupitem("2D Ignition Trims");
  ASSERT_NE(second, nullptr);
  second->setText("2D Fuel Trims");
  second->trigger();
  EXPECT_EQ(parts.state.curmap, 32);
}

TEST_F(Navigate, ASettingsGroupOpensItsEditorAndTheViewsComeBackToTheLastTable) {
  window->frmNavigate->NavView_DblClick(node("Intake VCT target [RPM, LOAD]"));
  ASSERT_EQ(parts.state.curmap, 17);
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  int shownmap = -1;
  QPoint placed;
  QSize size;
  windows.scripts.push_back([&](QDialog& dialog) {
    shownmap = parts.state.curmap;
    placed = window->mdiarea()->viewport()->mapFromGlobal(dialog.pos());
    size = dialog.size();
    dialog.reject();
  });
  window->frmNavigate->NavView_DblClick(node("Settings 1"));
  EXPECT_EQ(windows.opened, std::vector<QString>{"frmSettings"});
  EXPECT_EQ(shownmap, 110);
  // The main window's settings layout placed it as it loaded: 2750 by 800 twips into the area, 12400 by 8400.
  EXPECT_EQ(placed, QPoint(twipstopixels(2750), twipstopixels(800)));
  EXPECT_EQ(size, QSize(twipstopixels(12400), twipstopixels(8400)));
  EXPECT_EQ(parts.state.curmap, 17);
  EXPECT_EQ(parts.state.groupfirstmap, 17);
  EXPECT_TRUE(parts.log.lines()[0].startsWith("Intake VCT target")) << parts.log.lines()[0].toStdString();
  // The Map menu shows the map come back to and the seven after it, and opens what it shows.
  EXPECT_EQ(window->mapmenus().mnuMapSub[0]->text(), name(17));
  EXPECT_EQ(window->mapmenus().mnuMapSub[2]->text(), name(19));
  window->mapmenus().mnuMapSub[2]->trigger();
  EXPECT_EQ(parts.state.curmap, 19);
  // The editor rebuilt the tree as it closed.
  EXPECT_EQ(nodes().size(), 131u);

  // The comments and passwords groups open their editors the same way, from the tree and from the Map Group menu.
  window->frmNavigate->NavView_DblClick(node("Comments"));
  groupitem("Passwords")->trigger();
  groupitem("Settings 3")->trigger();
  EXPECT_EQ(windows.opened, (std::vector<QString>{"frmSettings", "frmComments", "frmPasswords", "frmSettings"}));
  EXPECT_EQ(parts.state.curmap, 17);

  // A real double-click: the editor rebuilds the tree under the mouse, the node clicked goes with it.
  QTreeWidgetItem* settings = node("Settings 2");
  tree()->scrollToItem(settings);
  const QPoint at = tree()->visualItemRect(settings).center();
  QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(windows.opened.back(), "frmSettings");
  EXPECT_EQ(windows.opened.size(), 5u);
  EXPECT_EQ(parts.state.curmap, 17);
  EXPECT_EQ(nodes().size(), 131u);
}

TEST_F(Navigate, EveryMapAndSettingsGroupIsReachedFromTheTreeAndFromTheMenus) {
  std::set<int> expected;
  for (int map = 0; map < mapcount; ++map)
    if (!name(map).contains("***")) expected.insert(map);
  ASSERT_EQ(expected.count(110), 1u);
  // Choosing the group "2D Expansion" opens its first map as any group does, reserved as all its maps are.
  expected.insert(96);

  // The map shown: the current map once the views have it, or the one whose editor is open.
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  std::set<int> reached;
  const auto recordeditors = [&] {
    windows.scripts.clear();
    for (int k = 0; k < 50; ++k)
      windows.scripts.push_back([&](QDialog& dialog) {
        reached.insert(parts.state.curmap);
        dialog.reject();
      });
  };

  recordeditors();
  // The settings editor rebuilds the tree: each node is found afresh.
  const std::size_t count = nodes().size();
  for (std::size_t k = 0; k < count; ++k) {
    parts.state.curmap = 0;
    window->frmNavigate->NavView_DblClick(nodes().at(k));
    if (windows.opened.empty()) reached.insert(parts.state.curmap);
    windows.opened.clear();
  }
  reached.erase(0);  // every double-click starts from map 0; the first leaf puts it back
  window->frmNavigate->NavView_DblClick(node("Base fuel table [RPM, LOAD]"));
  reached.insert(parts.state.curmap);
  const auto missing = [&] {
    std::vector<int> out;
    std::set_symmetric_difference(reached.begin(), reached.end(), expected.begin(), expected.end(),
                                  std::back_inserter(out));
    return out;
  };
  EXPECT_EQ(missing(), std::vector<int>{}) << "from the tree";

  reached.clear();
  recordeditors();
  for (QAction* group : window->mapmenus().mnuMapGroupSub) {
    if (group->isSeparator()) continue;
    windows.opened.clear();
    group->trigger();
    if (windows.opened.empty()) reached.insert(parts.state.curmap);
    if (!window->menus().menu("mnuMap")->isEnabled()) continue;
    for (QAction* item : window->mapmenus().mnuMapSub) {
      if (!item->isEnabled()) continue;
      item->trigger();
      reached.insert(parts.state.curmap);
    }
  }
  EXPECT_EQ(missing(), std::vector<int>{}) << "from the Map Group and Map menus";
}

TEST_F(Navigate, TheMapMenusFollowTheGroupChosen) {
  const std::vector<QAction*>& groups = window->mapmenus().mnuMapGroupSub;
  ASSERT_EQ(groups.size(), 26u);
  EXPECT_EQ(groups[0]->text(), "3D Fuel Calibration");
  EXPECT_TRUE(groups[13]->isSeparator());
  EXPECT_EQ(groups[25]->text(), "Settings 6");
  EXPECT_EQ(window->menus().menu("mnuMapGroup")->actions().size(), 26);

  groupitem("3D Ignition Calibration")->trigger();
  EXPECT_EQ(parts.state.curmap, 8);
  const std::array<QAction*, 8>& items = window->mapmenus().mnuMapSub;
  EXPECT_EQ(items[0]->text(), "Base timing table [RPM, LOAD]");
  EXPECT_FALSE(items[7]->isEnabled());
  items[3]->trigger();
  EXPECT_EQ(parts.state.curmap, 11);
  EXPECT_TRUE(window->menus().menu("mnuMap")->isEnabled());

  // A module's group disables the Map menu; the editor's group falls back to the last table.
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  groupitem("3D PWM 10")->trigger();
  EXPECT_EQ(parts.state.curmap, 107);
  EXPECT_FALSE(window->menus().menu("mnuMap")->isEnabled());
  EXPECT_TRUE(windows.opened.empty()) << "a 3-D PWM map opens in the views";

  groupitem("2D Expansion")->trigger();
  for (QAction* item : items) {
    EXPECT_TRUE(item->text().isEmpty());
    EXPECT_FALSE(item->isEnabled());
  }
  // The connection leaves the navigation's menus alone.
  connect();
  EXPECT_TRUE(groupitem("Settings 1")->isEnabled());
  EXPECT_TRUE(window->menus().menu("mnuMap")->isEnabled());
}

TEST_F(Navigate, EachItemsEffectOnTheModesAndTheCurrentMap) {
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  struct Case {
    const char* item;
    int curmap;  // afterwards, the map current before being 20
    const char* opened;
  };
  const Case cases[] = {
      {"mnuSelectAll", 20, nullptr},     {"mnuClearVisit", 20, nullptr}, {"mnuClearEdit", 20, nullptr},
      {"mnuClearAFR", 20, nullptr},      {"mnuClearKnock", 20, nullptr}, {"mnuViewArrange", 20, nullptr},
      {"mnuArrangeA", 20, nullptr},      {"mnuArrangeB", 20, nullptr},   {"mnuArrangeC", 20, nullptr},
      {"mnuHelpThisMap", 20, nullptr},   {"mnuTuneMap", 20, nullptr},    {"mnuHotKeys", 20, "frmHotkeys"},
      {"mnuPictureHelp", 20, "frmHelp"}, {"mnuImport", 20, "frmImport"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    parts.state.curmap = 20;
    parts.state.transfermode = 2;
    parts.state.toolmode = 0;
    windows.opened.clear();
    QAction* action = window->menus().action(c.item);
    ASSERT_TRUE(action->isEnabled());
    action->trigger();
    EXPECT_EQ(parts.state.curmap, c.curmap);
    EXPECT_EQ(parts.state.transfermode, 2);
    EXPECT_EQ(parts.state.toolmode, 0);
    EXPECT_EQ(windows.opened, c.opened ? std::vector<QString>{c.opened} : std::vector<QString>{});
  }
}

TEST_F(Navigate, SelectAllAndTheClearTracesWorkOnTheCurrentMap) {
  parts.state.curmap = 8;
  window->openmapview();
  window->menus().action("mnuSelectAll")->trigger();
  const TrimBox& box = parts.state.trimbox;
  EXPECT_TRUE(box.active);
  EXPECT_EQ(box.rowmin, 0);
  EXPECT_EQ(box.colmin, 0);
  EXPECT_GT(box.rowmax, 0);
  EXPECT_GT(box.colmax, 0);

  // A protected map refuses it.
  parts.state.trimbox.active = false;
  parts.state.guards.guard(8, 0, 0, 3);
  parts.prompts.clear();
  window->menus().action("mnuSelectAll")->trigger();
  EXPECT_FALSE(parts.state.trimbox.active);
  EXPECT_EQ(parts.prompts.messages().size(), 1u);
  parts.state.guards.clear();

  struct Case {
    const char* item;
    std::function<void()> mark;
    std::function<bool()> marked;
  };
  maps& m = parts.mainmaps;
  const Case cases[] = {
      {"mnuClearVisit", [&] { m.setvisit(8, 3, 4); }, [&] { return m.getvisit(8, 3, 4); }},
      {"mnuClearEdit", [&] { m.setdata(8, 3, 4, m.getdata(8, 3, 4) + 1, true); }, [&] { return m.getchange(8, 3, 4); }},
      {"mnuClearKnock", [&] { m.setmapknocked(3000, 255, 3, 4); }, [&] { return m.getmapknocked(3, 4); }},
  };
  for (const Case& c : cases) {
    c.mark();
    ASSERT_TRUE(c.marked()) << c.item;
    window->menus().action(c.item)->trigger();
    EXPECT_FALSE(c.marked()) << c.item;
  }
}

TEST_F(Navigate, HelpShowsTheMapsTextsUnderTheirTitles) {
  parts.state.curmap = 0;
  window->menus().action("mnuHelpThisMap")->trigger();
  window->menus().action("mnuTuneMap")->trigger();
  ASSERT_EQ(parts.prompts.records.size(), 2u);
  // The text before the first ";" is the box's title, the rest its message.
  const QString help = parts.mainmaps.getmaphelpstring(0);
  const QString tune = parts.mainmaps.getmaptunestring(0);
  ASSERT_TRUE(help.contains(';'));
  EXPECT_EQ(parts.prompts.records[0].title, help.section(';', 0, 0));
  EXPECT_EQ(parts.prompts.records[0].text, help.section(';', 1));
  EXPECT_TRUE(parts.prompts.records[0].title.startsWith("3D Fuel Calibration:Base fuel table"));
  EXPECT_EQ(parts.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_EQ(parts.prompts.records[1].title, tune.section(';', 0, 0));
  EXPECT_EQ(parts.prompts.records[1].text, tune.section(';', 1));
}

TEST_F(Navigate, ImportMapFragmentOpensOnlyOffline) {
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  connect();
  EXPECT_FALSE(window->menus().action("mnuImport")->isEnabled());
  window->mnuImport_Click();
  EXPECT_TRUE(windows.opened.empty());
  window->menus().action("mnuComsDisconnect")->trigger();
  window->menus().action("mnuImport")->trigger();
  EXPECT_EQ(windows.opened, std::vector<QString>{"frmImport"});
}

TEST_F(Navigate, TheEditorsHostRunsTheProgressWindowAndLoadsTheFragments) {
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  window->runprogressjob(0);
  EXPECT_EQ(windows.opened, std::vector<QString>{"frmProgress"});
  EXPECT_EQ(parts.state.progressjob, 0);
  EXPECT_EQ(window->versionminor(), 64);
  EXPECT_EQ(window->revision(), 8);

  // A fragment that is ON protects rows 2 to 5 of map 30.
  for (int i = 0; i < fragmentcount; ++i) {
    FragmentRow row{};
    const PasswordBytes bytes = passwordbytes(i == 0 ? QStringLiteral("secret") : resetpassword);
    std::copy(bytes.begin(), bytes.end(), row.begin());
    if (i == 0) {
      row[fragmentbyte::group] = 24;
      row[fragmentbyte::map] = 30;
      row[fragmentbyte::firstrow] = 0;
      row[fragmentbyte::lastrow] = 0;
    }
    row = withchecks(row, i == 0 ? seedon : seedoff);
    for (int k = 0; k < 16; ++k) parts.mainmaps.setdata(passwordsmap, i, k, row[static_cast<std::size_t>(k)], false);
  }
  window->loadpasswordfragments(true);
  EXPECT_EQ(parts.state.guards.guardsof(30), 1 << 0);
  EXPECT_EQ(parts.state.guards.rows(30), MapGuards::span(0, 0));
  EXPECT_EQ(parts.state.guards.guardsof(31), 0);
}

TEST_F(Navigate, TheGraphWindowDrawsTheCurrentMapAndTakesTheFocusBothWays) {
  frmMap* graph = window->frmMap;
  // The load set the angles on the scroll bars.
  EXPECT_EQ(graph->graphangles(), (GraphAngles{62.0f, 7.0f}));
  EXPECT_EQ(graph->HScroll1()->value(), 62);
  EXPECT_EQ(graph->VScroll1()->value(), 7);
  EXPECT_TRUE(frame(graph)->isVisible());

  // The dispatch draws a 3-D map and a table, and leaves the picture of a settings map alone.
  parts.state.curmap = 8;
  window->openmapview();
  const QImage threed = graph->picGraph()->image();
  parts.state.curmap = 40;
  window->openmapview();
  const QImage table = graph->picGraph()->image();
  EXPECT_NE(table, threed);
  parts.state.curmap = 110;
  window->drawmap(true);
  EXPECT_EQ(graph->picGraph()->image(), table);

  // T on the grid gives the keys to the graph, T on the graph gives them back.
  parts.state.curmap = 8;
  window->openmapview();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  window->frmMapGrid->MapGrid()->setFocus(Qt::OtherFocusReason);
  QTest::keyClick(window->frmMapGrid->MapGrid(), Qt::Key_T);
  EXPECT_TRUE(graph->picGraph()->hasFocus());
  EXPECT_TRUE(parts.state.graphview);
  EXPECT_EQ(parts.log.lines()[3], "Map focus, arrows are map oriented");
  QTest::keyClick(graph->picGraph(), Qt::Key_T);
  EXPECT_TRUE(window->frmMapGrid->MapGrid()->hasFocus());
  EXPECT_FALSE(parts.state.graphview);
  EXPECT_EQ(parts.log.lines()[3], "Grid focus, arrows are grid oriented");
}

TEST_F(Navigate, TheGraphFollowsTheLiveCell) {
  parts.state.curmap = 8;
  window->openmapview();
  connect();
  const frmMap& graph = *window->frmMap;
  const Colors& colors = parts.state.colors;
  const auto drive = [&](int ticks) {
    for (int i = 0; i < ticks; ++i) {
      window->timers().commstick();
      port.step();
    }
  };
  const auto near = [&](test::Mid m, std::uint32_t colour) {
    return test::colournear(graph.picGraph()->image(), m.x, m.y, colour);
  };
  // The live cell's row line and column line over the whole map, the cursor on the same cell (the track mode the
  // program starts in): the segments alternate between the live band colour and the trim band colour.
  const auto marked = [&](int row, int col) {
    const BandCells& drawn = graph.wiregraph().bands().cells;
    EXPECT_EQ(drawn, (BandCells{row, col, row, col}));
    for (int k = 0; k < 31; ++k) {
      const bool live = k % 2 == 0;
      EXPECT_TRUE(near(test::middle(graph, row, k, row, k + 1), live ? colors.rpmbandcolor : colors.trimbandcolor))
          << "row " << row << " segment " << k;
      EXPECT_TRUE(near(test::middle(graph, k, col, k + 1, col), live ? colors.mapbandcolor : colors.trimbandcolor))
          << "column " << col << " segment " << k;
    }
  };

  // Idling, then pulling up to speed: the bands move with the link's live cell and leave the wire mesh behind.
  drive(100);
  const LiveData idle = parts.link.live();
  ASSERT_EQ(graph.projection().inputs.rows, 32);
  ASSERT_EQ(graph.projection().inputs.cols, 32);
  EXPECT_EQ(parts.state.cursorrow, idle.liverow);
  EXPECT_EQ(parts.state.cursorcol, idle.livecol);
  marked(idle.liverow, idle.livecol);
  drive(150);
  const LiveData pulling = parts.link.live();
  ASSERT_GT(pulling.liverow, idle.liverow + 2);
  ASSERT_GT(pulling.livecol, idle.livecol + 2);
  marked(pulling.liverow, pulling.livecol);
  // The old row and column are back in the mesh's colour, away from where the new lines cross them.
  for (int k = 0; k < 31; ++k) {
    if (k + 1 < pulling.livecol - 1 || k > pulling.livecol + 1) {
      const test::Mid m = test::middle(graph, idle.liverow, k, idle.liverow, k + 1);
      EXPECT_FALSE(near(m, colors.rpmbandcolor) || near(m, colors.trimbandcolor)) << "old row segment " << k;
    }
    if (k + 1 < pulling.liverow - 1 || k > pulling.liverow + 1) {
      const test::Mid m = test::middle(graph, k, idle.livecol, k + 1, idle.livecol);
      EXPECT_FALSE(near(m, colors.mapbandcolor) || near(m, colors.trimbandcolor)) << "old column segment " << k;
    }
  }
  test::savescreenshot(graph.picGraph(), QStringLiteral("navigate_graph_livecell"));
}

TEST_F(Navigate, LayoutsAbcWithTheTreeAndTheGraph) {
  window->showNormal();
  window->setGeometry(0, 0, 1600, 1000);
  QApplication::processEvents();
  parts.state.curmap = 8;
  window->openmapview();
  const std::pair<const char*, const char*> layouts[] = {
      {"mnuArrangeA", "mainwindow_layout_a"}, {"mnuArrangeB", "mainwindow_layout_b"}, {"mnuArrangeC", "mainwindow_layout_c"}};
  std::vector<QRect> navigation;
  for (const auto& [item, shot] : layouts) {
    window->menus().action(item)->trigger();
    QApplication::processEvents();
    navigation.push_back(frame(window->frmNavigate)->geometry());
    for (QMdiSubWindow* sub : window->mdiarea()->subWindowList())
      EXPECT_TRUE(sub->isVisible() && !sub->isMinimized()) << item << " " << sub->widget()->objectName().toStdString();
    // The keys end on the grid; the tree fills its window.
    EXPECT_EQ(window->mdiarea()->activeSubWindow(), frame(window->frmMapGrid)) << item;
    EXPECT_GT(window->frmNavigate->NavView->width(), window->frmNavigate->width() / 2) << item;
    test::savescreenshot(window, QString::fromLatin1(shot));
  }
  EXPECT_NE(navigation[0], navigation[1]);
  EXPECT_NE(navigation[1], navigation[2]);

  // VIEW A from the main window's outer size: the gauges 4400 by 6900 twips top left, the graph beside them.
  window->menus().action("mnuArrangeA")->trigger();
  EXPECT_EQ(frame(window->frmDisplay)->geometry(), QRect(0, 0, 293, 460));
  const int W = pixelstotwips(window->frameGeometry().width());
  EXPECT_EQ(frame(window->frmMap)->geometry().width(), twipstopixels(roundhalfeven((W - 4395) * 0.6)));

  // Status messages off: the status window goes down, the preferred layout follows the preference.
  parts.state.preferences.statusmessages = false;
  parts.state.preferences.defaultview = 2;
  window->menus().action("mnuViewArrange")->trigger();
  EXPECT_TRUE(frame(window->frmStatusWindow)->isMinimized());
  EXPECT_EQ(frame(window->frmNavigate)->geometry().height(),
            twipstopixels(pixelstotwips(window->frameGeometry().height()) - 1200));
}

TEST_F(Navigate, TheDiagramsAndHotkeysWindows) {
  ScriptedLauncher windows;
  ScopedLauncher scoped(windows);
  windows.scripts.push_back([](QDialog& dialog) {
    auto& help = static_cast<frmHelp&>(dialog);
    dialog.resize(1100, 820);
    QApplication::processEvents();
    EXPECT_FALSE(help.picture().isNull());
    EXPECT_EQ(help.TextHelp->toPlainText(), vcthelptext().replace("\r\n", "\n"));
    test::savescreenshot(&dialog, "diagrams");
    help.VScrollhelp->setValue(4);
    test::savescreenshot(&dialog, "diagrams_scrolled");
    dialog.accept();
  });
  windows.scripts.push_back([](QDialog& dialog) {
    auto& keys = static_cast<frmHotkeys&>(dialog);
    EXPECT_EQ(keys.windowTitle(), "Hotkeys");
    EXPECT_EQ(keys.Text1->toPlainText(), hotkeystext().replace("\r\n", "\n"));
    QApplication::processEvents();
    test::savescreenshot(&dialog, "hotkeys");
    dialog.accept();
  });
  parts.state.curmap = 107;
  window->menus().action("mnuPictureHelp")->trigger();
  window->menus().action("mnuHotKeys")->trigger();
  EXPECT_EQ(windows.opened, (std::vector<QString>{"frmHelp", "frmHotkeys"}));
}
