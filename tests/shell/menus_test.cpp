// The menu bar built from the menu table: the tree with its names and captions, which captions are translated, and
// the items that follow the connection.
#include "shell/menus.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <set>

#include "shell/mainwindow.h"

using namespace ostrel;

namespace {

QStringList objectnames(const QList<QAction*>& actions) {
  QStringList names;
  for (const QAction* a : actions) names << (a->menu() ? a->menu()->objectName() : a->objectName());
  return names;
}

// The menus and items the connection switches, and the state they take while connected.
const std::pair<const char*, bool> connectionitems[] = {
    {"mnuEcuSave", true},          {"mnuEcuVerify", true},        {"mnuFastVerify", true},
    {"mnuEcuOpen", true},          {"mnuComsDisconnect", true},   {"mnuComsConnect", false},
    {"mnuImport", false},          {"mnuImportDefault", false},   {"mnuLearn", true},
    {"mnuInputs", true},           {"mnuFuelMuls", true},         {"mnuLTT", true},
    {"mnuVEFuelBaseTable", false}, {"mnuFuelBaseTableVE", false}, {"mnuFirmWare", true},
    {"mnuInDiagnostic", true},
};

class Menus : public ::testing::Test {
 protected:
  Menus() {
    menus.build(&bar, nullptr);
    menus.setmenucaptions();
  }
  QMenuBar bar;
  MainMenus menus;
};

}  // namespace

TEST_F(Menus, TheBarHoldsTheWholeMenuTreeWithItsCaptions) {
  EXPECT_EQ(objectnames(bar.actions()),
            (QStringList{"mnuFile", "mnuMapGroup", "mnuMap", "mnuEdit", "mnuComs", "mnuTools", "mnuView", "mnuHelp"}));
  const std::pair<const char*, QStringList> trees[] = {
      {"mnuFile",
       {"mnuFileOpen", "mnuEcuOpen", "mnuEcuVerify", "mnuFastVerify", "mnuFileSep1", "mnuFileSave", "mnuEcuSave",
        "mnuFileSep2", "mnuExit"}},
      {"mnuMapGroup", {}},  // filled by the navigation tree's builder
      {"mnuMap", {}},
      {"mnuEdit", {"mnuSelectAll"}},
      {"mnuComs", {"mnuComsConnect", "mnuComsDisconnect"}},
      {"mnuTools",
       {"mnuSystemTools", "mnuViewTools", "mnuTuningTools", "mnuFileTools", "mnuAnalysis", "mnuMigrationTools"}},
      {"mnuSystemTools", {"mnuToolsPreferences", "mnuComErrors", "mnuFirmWare", "mnuInDiagnostic"}},
      {"mnuViewTools", {"mnuToolsColors", "mnuClearVisit", "mnuClearEdit", "mnuClearAFR", "mnuClearKnock"}},
      {"mnuTuningTools", {"mnuLogData", "mnuLearn"}},
      {"mnuFileTools", {"mnuOpenUnix", "mnuImport", "mnuImportDefault", "mnuAnalyseMap"}},
      {"mnuAnalysis", {"mnuRamDump"}},
      {"mnuMigrationTools", {"mnuVEFuelBaseTable", "mnuFuelBaseTableVE"}},
      {"mnuView",
       {"mnuViewArrange", "mnuArrangeA", "mnuArrangeB", "mnuArrangeC", "mnuInputs", "mnuFuelMuls", "mnuLTT"}},
      {"mnuHelp", {"mnuHelpThisMap", "mnuTuneMap", "mnuHotKeys", "mnuPictureHelp", "mnuAbout"}},
  };
  for (const auto& [menu, items] : trees) {
    ASSERT_NE(menus.menu(menu), nullptr) << menu;
    EXPECT_EQ(objectnames(menus.menu(menu)->actions()), items) << menu;
  }
  EXPECT_TRUE(menus.action("mnuFileSep1")->isSeparator());

  // Captions exactly as stored (no translations file here), misspelling included.
  const std::pair<const char*, const char*> captions[] = {
      {"mnuFile", "&File"},
      {"mnuMapGroup", "Map &Group"},
      {"mnuTools", "&Tools"},
      {"mnuMigrationTools", "&Migration tools"},
      {"mnuEcuVerify", "&Complete Verify from ECU"},
      {"mnuComErrors", "&Com stats"},
      {"mnuImportDefault", "Import &default injector reponse map"},
      {"mnuFuelBaseTableVE", "&Fuel Base Table to VE"},
      {"mnuViewArrange", "Arrange &preferred"},
      {"mnuTuneMap", "T&uning this map"},
      {"mnuPictureHelp", "&Diagrams"},
  };
  for (const auto& [name, caption] : captions) {
    const QString shown = menus.menu(name) ? menus.menu(name)->title() : menus.action(name)->text();
    EXPECT_EQ(shown, QString::fromLatin1(caption)) << name;
  }
  EXPECT_EQ(menus.action("mnuNoSuchItem"), nullptr);
  EXPECT_EQ(menus.action("mnuFile"), nullptr) << "a menu is no item";
}

TEST_F(Menus, SevenCaptionsAreShownAsWritten) {
  std::set<std::string> aswritten;
  for (const MenuEntry& e : menutable())
    if (e.kind == MenuKind::item && e.captionkind == Caption::aswritten) aswritten.insert(e.caption);
  EXPECT_EQ(aswritten,
            (std::set<std::string>{"&Firmware version", "&Input diagnostic", "Import &default injector reponse map",
                                   "&Fuel multipliers", "&LTT table", "&Diagrams", "&About"}));
}

TEST_F(Menus, ItemsFollowTheConnectionAndThoseStillToComeStayDisabled) {
  // Before the first connect or disconnect: the items marked to start disabled are, and so is every item that has
  // no handler yet.
  for (const MenuEntry& e : menutable()) {
    if (e.kind != MenuKind::item) continue;
    EXPECT_EQ(menus.action(e.name)->isEnabled(), e.handler && e.start == Start::enabled) << e.name;
  }
  for (const char* off : {"mnuEcuOpen", "mnuEcuVerify", "mnuEcuSave", "mnuComsDisconnect", "mnuLearn", "mnuInputs"})
    EXPECT_EQ(menus.entry(off)->start, Start::disabled) << off;

  // The sixteen connection-dependent items, and no other.
  int switched = 0;
  for (const MenuEntry& e : menutable()) switched += e.needs != Needs::any;
  EXPECT_EQ(switched, 16);
  for (const auto& [name, whenonline] : connectionitems)
    EXPECT_EQ(menus.entry(name)->needs, whenonline ? Needs::online : Needs::offline) << name;

  for (bool online : {true, false, true}) {
    menus.setonlinemenus(online);
    for (const auto& [name, whenonline] : connectionitems) {
      const bool built = menus.entry(name)->handler != nullptr;
      EXPECT_EQ(menus.action(name)->isEnabled(), built && whenonline == online) << name << " online " << online;
    }
  }
  // The items of today's program in the two states.
  menus.setonlinemenus(true);
  for (const char* name : {"mnuEcuSave", "mnuEcuVerify", "mnuEcuOpen", "mnuComsDisconnect"})
    EXPECT_TRUE(menus.action(name)->isEnabled()) << name;
  EXPECT_FALSE(menus.action("mnuComsConnect")->isEnabled());
  menus.setonlinemenus(false);
  for (const char* name : {"mnuEcuSave", "mnuEcuVerify", "mnuEcuOpen", "mnuComsDisconnect"})
    EXPECT_FALSE(menus.action(name)->isEnabled()) << name;
  EXPECT_TRUE(menus.action("mnuComsConnect")->isEnabled());
  // Items that never depend on the connection are left alone.
  EXPECT_TRUE(menus.action("mnuFileOpen")->isEnabled());
  EXPECT_TRUE(menus.action("mnuSelectAll")->isEnabled());
}

TEST_F(Menus, ATableRowIsAllAnItemNeeds) {
  // A table of its own: a menu, a separator and an item that needs the ECU, built and switched like the program's.
  static const MenuEntry table[] = {
      {MenuKind::menu, "mnuTest", nullptr, "&Test"},
      {MenuKind::separator, "mnuTestSep", "mnuTest", "-", nullptr, Needs::any, Start::enabled, Caption::aswritten},
      {MenuKind::item, "mnuTestItem", "mnuTest", "&Item", &VelkorV5::mnuAbout_Click, Needs::online, Start::disabled},
  };
  QMenuBar other;
  MainMenus built;
  built.build(&other, nullptr, table);
  built.setmenucaptions();
  EXPECT_EQ(built.menu("mnuTest")->title(), "&Test");
  EXPECT_EQ(objectnames(built.menu("mnuTest")->actions()), (QStringList{"mnuTestSep", "mnuTestItem"}));
  EXPECT_FALSE(built.action("mnuTestItem")->isEnabled());
  built.setonlinemenus(true);
  EXPECT_TRUE(built.action("mnuTestItem")->isEnabled());
}
