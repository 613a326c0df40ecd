// The navigation without its window: the Map Group and Map menus' items, the help texts' title and message, and
// what choosing a tree node or a menu item does to the current map, lastviewmap and groupfirstmap.
#include "shell/navigation.h"

#include <gtest/gtest.h>

#include "calibration/maps.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "recordingshellhost.h"

using namespace ostrel;

namespace {

class NavigationLogic : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps model{prompts};
  ProgramState state;
  test::RecordingShellHost host;
  Navigation navigation{state, model, host};

  using Calls = std::vector<QString>;
};

}  // namespace

TEST_F(NavigationLogic, TheMapGroupMenuHasEveryGroupAndASeparatorBeforeTheModules) {
  const std::vector<GroupMenuItem> items = groupmenuitems(model);
  ASSERT_EQ(items.size(), 26u);  // 13 groups of tables, the separator, 12 modules
  EXPECT_EQ(items[0], (GroupMenuItem{"3D Fuel Calibration", 0}));
  EXPECT_EQ(items[2], (GroupMenuItem{"3D Engine Calibration", 16}));
  EXPECT_EQ(items[12], (GroupMenuItem{"2D Expansion", 96}));
  EXPECT_TRUE(items[13].separator());
  EXPECT_EQ(items[14], (GroupMenuItem{"Comments", 104}));
  EXPECT_EQ(items[15], (GroupMenuItem{"Passwords", 105}));
  EXPECT_EQ(items[16], (GroupMenuItem{"3D PWM 9", 106}));
  EXPECT_EQ(items[20], (GroupMenuItem{"Settings 1", 110}));
  EXPECT_EQ(items[25], (GroupMenuItem{"Settings 6", 115}));
  for (std::size_t k = 0; k < 13; ++k) EXPECT_EQ(items[k].map, static_cast<int>(8 * k));
}

TEST_F(NavigationLogic, TheMapMenuNamesEightMapsAndHidesTheReservedOnes) {
  // The ignition group: seven names and one reserved map, shown as 0.8 times as many asterisks as the name before.
  const MapMenu ignition = mapmenuitems(model, MapGuards{}, 8);
  EXPECT_EQ(ignition[0], (MapMenuItem{"Base timing table [RPM, LOAD]", true, 8}));
  const QString before = ignition[6].caption;
  EXPECT_EQ(before, "Flat-shift ignition cut cycles [RPM, TPS]");
  EXPECT_EQ(ignition[7], (MapMenuItem{QString(33, '*'), false, 15}));  // 41 x 0.8 = 32.8

  // Three reserved maps in a row all go by the last name shown: "Start primer [CTS]", 18 x 0.8 = 14.4.
  const MapMenu starting = mapmenuitems(model, MapGuards{}, 64);
  for (int k = 5; k < 8; ++k) EXPECT_EQ(starting[static_cast<std::size_t>(k)], (MapMenuItem{QString(14, '*'), false, 64 + k}));

  // "2D Expansion" holds only reserved maps: eight disabled items without a caption.
  for (const MapMenuItem& item : mapmenuitems(model, MapGuards{}, 96)) {
    EXPECT_TRUE(item.caption.isEmpty());
    EXPECT_FALSE(item.enabled);
  }
  // Labelled from a map near the end, the items beyond the last map open nothing.
  const MapMenu last = mapmenuitems(model, MapGuards{}, 110);
  EXPECT_TRUE(last[5].enabled);
  EXPECT_FALSE(last[6].enabled);
  EXPECT_FALSE(last[7].enabled);

  EXPECT_TRUE(mapmenuenabled(model, 0));
  EXPECT_TRUE(mapmenuenabled(model, 103));
  EXPECT_FALSE(mapmenuenabled(model, 104));
  EXPECT_FALSE(mapmenuenabled(model, 110));
}

TEST_F(NavigationLogic, AHelpTextSplitsIntoTitleAndMessageAtItsFirstSemicolon) {
  struct Case {
    const char* text;
    const char* title;
    const char* message;
  };
  const Case cases[] = {
      {"Base fuel;The fuel; in ms", "Base fuel", "The fuel; in ms"},
      {";message only", "", "message only"},
      {"Title only;", "Title only", ""},
      {"A text without a separator", "", "A text without a separator"},
      {"", "", "No help text available."},
  };
  for (const Case& c : cases) {
    const HelpMessage help = splithelptext(QString::fromLatin1(c.text));
    EXPECT_EQ(help.title, QString::fromLatin1(c.title)) << c.text;
    EXPECT_EQ(help.message, QString::fromLatin1(c.message)) << c.text;
  }
}

TEST_F(NavigationLogic, ATreeLeafOpensItsMapAndLeavesTheMapMenuAlone) {
  state.groupfirstmap = 24;
  navigation.opennode(33, false);
  EXPECT_EQ(state.curmap, 33);
  EXPECT_EQ(state.lastviewmap, 33);
  EXPECT_EQ(state.groupfirstmap, 24);
  EXPECT_EQ(host.calls, Calls{"openmapview"});

  // A root, a reserved leaf and a number beyond the maps open nothing.
  host.calls.clear();
  for (int map : {-1, 15, 96, 116, 300}) navigation.opennode(map, false);
  navigation.opennode(-1, true);
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(state.curmap, 33);
}

TEST_F(NavigationLogic, AGroupNodeOpensItsFirstMapOrItsEditorAndComesBackToTheLastTable) {
  struct Case {
    int group;
    Calls calls;
    int curmap;  // afterwards
  };
  const Case cases[] = {
      {8, {"buildmapmenu", "openmapview"}, 8},
      {106, {"buildmapmenu", "openmapview"}, 106},  // a 3-D PWM map is a table
      {96, {"buildmapmenu", "openmapview"}, 96},    // a group node opens even a reserved group
      {104, {"buildmapmenu", "showeditor 2", "buildmapmenu", "openmapview"}, 40},
      {105, {"buildmapmenu", "showeditor 3", "buildmapmenu", "openmapview"}, 40},
      {110, {"buildmapmenu", "showeditor 4", "buildmapmenu", "openmapview"}, 40},
      {115, {"buildmapmenu", "showeditor 4", "buildmapmenu", "openmapview"}, 40},
  };
  for (bool fromtree : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "group " << c.group << (fromtree ? " tree" : " menu"));
      state.curmap = 41;
      state.lastviewmap = 40;
      state.groupfirstmap = 40;
      host.calls.clear();
      if (fromtree)
        navigation.opennode(c.group, true);
      else
        navigation.choosegroup(c.group);
      EXPECT_EQ(host.calls, c.calls);
      EXPECT_EQ(state.curmap, c.curmap);
      // A table is the map to come back to; after an editor the Map menu names and opens the maps from it.
      EXPECT_EQ(state.lastviewmap, c.curmap);
      EXPECT_EQ(state.groupfirstmap, c.curmap);
    }
  }
}

TEST_F(NavigationLogic, AMapItemOpensTheMapItNames) {
  state.groupfirstmap = 8;
  state.lastviewmap = 3;
  navigation.choosemapitem(2);
  EXPECT_EQ(state.curmap, 10);
  EXPECT_EQ(state.lastviewmap, 3) << "only the tree and the Map Group menu set the map to come back to";
  EXPECT_EQ(host.calls, Calls{"openmapview"});

  host.calls.clear();
  navigation.choosemapitem(7);  // map 15 is reserved
  navigation.choosemapitem(8);
  navigation.choosemapitem(-1);
  state.groupfirstmap = 110;
  navigation.choosemapitem(6);  // map 116 does not exist
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(state.curmap, 10);

  navigation.choosegroup(-1);  // a separator carries no map
  EXPECT_TRUE(host.calls.empty());
}
