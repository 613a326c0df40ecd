#include "calibration/maptree.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "calibration/maps.h"
#include "platform/mapguards.h"
#include "platform/prompts.h"

using namespace ostrel;

TEST(MapTree, GroupAndNameSplitAtTheFirstColonAndTheFollowingSemicolon) {
  struct Case {
    const char* definition;
    const char* group;
    const char* name;
  };
  const Case cases[] = {
      {"3D Engine Calibration:TPS:MAP weight [RPM, TPS];%_0.39|0", "3D Engine Calibration",
       "TPS:MAP weight [RPM, TPS]"},
      {"Comments:Cmnts;%_0.39|0", "Comments", "Cmnts"},
      {"Group:name without units", "Group", "name without units"},
      {"no colon at all", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(mapgrouppart(QString::fromLatin1(c.definition)), QString::fromLatin1(c.group)) << c.definition;
    EXPECT_EQ(mapnamepart(QString::fromLatin1(c.definition)), QString::fromLatin1(c.name)) << c.definition;
  }
}

TEST(MapTree, TheNavigationTreeHasRootsGroupsAndLeaves) {
  RecordingPrompts prompts;
  maps model(prompts);
  const std::vector<MapTreeNode> tree = maptree(model, MapGuards{}, QString());
  ASSERT_EQ(tree.size(), 131u);  // 2 roots, 13 groups, 104 leaves, 12 module groups
  EXPECT_EQ(tree[0].key, QStringLiteral("Maps"));
  EXPECT_EQ(tree[1].text, QStringLiteral("Settings/Modules"));
  int leaves = 0;
  for (const MapTreeNode& n : tree)
    if (n.parent >= 2) ++leaves;
  EXPECT_EQ(leaves, 104);
  // The group "2D Expansion" holds only reserved maps: eight leaves of asterisks, keyed by their own names.
  const auto expansion = std::find_if(tree.begin(), tree.end(),
                                      [](const MapTreeNode& n) { return n.text == QStringLiteral("2D Expansion"); });
  ASSERT_NE(expansion, tree.end());
  const int group = static_cast<int>(expansion - tree.begin());
  for (int k = 1; k <= 8; ++k) {
    const MapTreeNode& leaf = tree[static_cast<std::size_t>(group + k)];
    EXPECT_EQ(leaf.parent, group);
    EXPECT_EQ(leaf.text, QString(25, QLatin1Char('*')));
    EXPECT_TRUE(leaf.key.startsWith(QStringLiteral("***EX")));
  }
}

TEST(MapTree, EveryNodeCarriesItsMapNumber) {
  RecordingPrompts prompts;
  maps model(prompts);
  const std::vector<MapTreeNode> tree = maptree(model, MapGuards{}, QStringLiteral("(Donor) "));
  EXPECT_EQ(tree[0].map, -1);
  EXPECT_EQ(tree[1].map, -1);
  std::vector<int> leaves, groups;
  for (const MapTreeNode& n : tree) {
    if (n.parent < 0) continue;
    (n.parent <= 1 ? groups : leaves).push_back(n.map);
  }
  ASSERT_EQ(leaves.size(), 104u);
  for (int map = 0; map < 104; ++map) EXPECT_EQ(leaves[static_cast<std::size_t>(map)], map);
  const std::vector<int> firsts{0,   8,   16,  24,  32,  40,  48,  56,  64,  72,  80,  88,  96,
                                104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115};
  EXPECT_EQ(groups, firsts);
}
