// The password parameters: the map tree they choose from, what a choice stores, and the dialog offscreen.
#include "editors/passwordparams.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "editors/frmpassparams.h"
#include "calibration/maptree.h"
#include "calibration/spreadcells.h"
#include "editorsfixture.h"

namespace ostrel::test {
namespace {

TEST(MapTree, RootsGroupsAndLeavesAsTheNavigationTreeHasThem) {
  EditorRig rig;
  const std::vector<MapTreeNode> plain = maptree(rig.mainmaps, rig.state.guards, QString());
  ASSERT_EQ(plain.size(), 131u);  // 2 roots, 13 groups with 104 leaves, 12 groups of maps 104 to 115
  EXPECT_EQ(plain[0].text, QStringLiteral("Maps"));
  EXPECT_EQ(plain[1].text, QStringLiteral("Settings/Modules"));
  EXPECT_EQ(plain[1].key, QStringLiteral("Settings"));
  int groups[2] = {0, 0}, leaves = 0;
  for (const MapTreeNode& n : plain) {
    if (n.parent == 0 || n.parent == 1) ++groups[n.parent];
    if (n.parent > 1) ++leaves;
  }
  EXPECT_EQ(groups[0], 13);
  EXPECT_EQ(groups[1], 12);
  EXPECT_EQ(leaves, 104);
  EXPECT_EQ(plain[2].text, QStringLiteral("3D Fuel Calibration"));
  EXPECT_EQ(plain[3].text, QStringLiteral("Base fuel table [RPM, LOAD]"));
  EXPECT_EQ(plain[3].parent, 2);

  const std::vector<MapTreeNode> applies = maptree(rig.mainmaps, rig.state.guards, appliesprefix);
  ASSERT_EQ(applies.size(), plain.size());
  EXPECT_EQ(applies[1].text, QStringLiteral("(Applies) Settings/Modules"));
  EXPECT_EQ(applies[3].key, QStringLiteral("(Applies) Base fuel table [RPM, LOAD]"));
  // A reserved slot shows asterisks only (map 15, the last of the ignition group).
  const auto reserved = std::find_if(applies.begin(), applies.end(), [](const MapTreeNode& n) {
    return n.key == QStringLiteral("(Applies) ***IC [RPM, LOAD]");
  });
  ASSERT_NE(reserved, applies.end());
  EXPECT_EQ(reserved->text, QString(25, QLatin1Char('*')));
}

TEST(MapTree, EveryEntryResolvesToItsOwnMapOrGroup) {
  EditorRig rig;
  const std::vector<MapTreeNode> nodes = maptree(rig.mainmaps, rig.state.guards, appliesprefix);
  int leaf = -1;
  for (std::size_t k = 0; k < nodes.size(); ++k) {
    const MapTreeNode& n = nodes[k];
    const auto choice = paramschoice(n);
    if (n.parent > 1) ++leaf;  // leaves come in map order, 0 to 103
    if (n.parent < 0 || n.text.contains(QStringLiteral("***"))) {
      EXPECT_FALSE(choice) << n.text.toStdString();
      continue;
    }
    ASSERT_TRUE(choice) << n.text.toStdString();
    if (n.parent > 1) {
      EXPECT_TRUE(choice->singlemap) << n.text.toStdString();
      EXPECT_EQ(choice->map, leaf) << n.text.toStdString();
    } else {
      EXPECT_FALSE(choice->singlemap) << n.text.toStdString();
      EXPECT_EQ(mapgrouppart(rig.mainmaps.getmapname(choice->map)), choice->name);
      EXPECT_EQ(choice->map, choice->map < 104 ? choice->map / 8 * 8 : choice->map) << "the group's first map";
    }
  }
  EXPECT_EQ(leaf, 103);
  EXPECT_FALSE(paramschoice(MapTreeNode{QStringLiteral("(Applies) x"), QStringLiteral("(Applies) x"), 2, false, -1}))
      << "a node that carries no map";
}

class PassParamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    putfragments(rig.mainmaps, {{1, 8, 255, 40, 7, seedon}});
    loadpasswordfragments(rig.mainmaps, rig.state, true);
  }
  void choose(frmPassParams& dialog, const QString& text) {
    const auto found = dialog.NavView->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    dialog.NavView->setCurrentItem(found[0]);
    dialog.NavView_DblClick();
  }
  std::array<int, 4> protects(int fragment) const {
    const FragmentRow row = readfragment(rig.mainmaps, fragment);
    return {row[11], row[12], row[13], row[14]};
  }
  EditorRig rig;
};

TEST_F(PassParamsTest, OpensOnTheFragmentsGroupMapAndRows) {
  frmPassParams dialog(rig.context, 1);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Password parameters"));
  EXPECT_EQ(dialog.Label5->text(), QStringLiteral("3D Ignition Calibration"));
  EXPECT_EQ(dialog.Label6->text(), QStringLiteral("All maps within group"));
  EXPECT_EQ(dialog.Combo1->count(), 32);
  EXPECT_EQ(dialog.Combo1->itemText(0), QStringLiteral("row 1"));
  EXPECT_EQ(dialog.Combo1->currentIndex(), -1) << "a stored row of 40 selects nothing";
  EXPECT_EQ(dialog.Combo2->currentIndex(), 7);
  EXPECT_EQ(dialog.NavView->topLevelItemCount(), 2);
  EXPECT_TRUE(dialog.NavView->topLevelItem(0)->isExpanded());
  savescreenshot(&dialog, QStringLiteral("password_parameters"));

  // "Enter" without a selection changes nothing; with one it stores the item's row.
  rig.mainmaps.clearchange();
  dialog.Command2->click();
  EXPECT_FALSE(rig.mainmaps.getchange(passwordsmap, 1, 13));
  dialog.Combo1->setCurrentIndex(4);
  dialog.Command2->click();
  dialog.Combo2->setCurrentIndex(30);
  dialog.Command3->click();
  EXPECT_EQ(protects(1), (std::array<int, 4>{8, 255, 4, 30}));
  EXPECT_TRUE(rig.mainmaps.getchange(passwordsmap, 1, 13));
  validatefragments(rig.mainmaps, rig.state);
  EXPECT_FALSE(rig.state.fragmenton[1]) << "an edited fragment reads OFF until turned on";

  // A fragment that names no map shows no names, and changes nothing by opening.
  putfragments(rig.mainmaps, {{2, 200, 150, 0, 0, seedon}});
  frmPassParams nothing(rig.context, 2);
  EXPECT_EQ(nothing.Label5->text(), QStringLiteral("No change"));
  EXPECT_EQ(nothing.Label6->text(), QString());
}

TEST_F(PassParamsTest, ATreeChoiceStoresAGroupOrAMap) {
  rig.state.online = true;
  frmPassParams dialog(rig.context, 1);
  dialog.show();

  // A table group: its first map and "all"; one row to choose from.
  choose(dialog, QStringLiteral("(Applies) 2D Fuel Trims"));
  EXPECT_EQ(protects(1), (std::array<int, 4>{24, 255, 40, 7}));
  EXPECT_EQ(dialog.Label5->text(), QStringLiteral("2D Fuel Trims"));
  EXPECT_EQ(dialog.Label6->text(), QStringLiteral("All maps within group"));
  EXPECT_EQ(dialog.Combo1->count(), 1);
  EXPECT_EQ(dialog.Combo1->currentIndex(), -1);
  const QueuedWrites q = queuedwrites(rig.link);
  EXPECT_EQ(q.rows, std::vector<int>{rig.mainmaps.getbufferrow(passwordsmap, 1, 0)});
  EXPECT_EQ(q.blocktables, 1);

  // A map of another group: only the map byte.
  choose(dialog, QStringLiteral("(Applies) Dwell [BATT]"));
  EXPECT_EQ(protects(1), (std::array<int, 4>{24, 44, 40, 7}));
  EXPECT_EQ(dialog.Label5->text(), QStringLiteral("2D Fuel Trims"));
  EXPECT_EQ(dialog.Label6->text(), QStringLiteral("Dwell [BATT]"));

  // A settings map counts as a group; sixteen rows.
  choose(dialog, QStringLiteral("(Applies) Settings 3"));
  EXPECT_EQ(protects(1), (std::array<int, 4>{112, 255, 40, 7}));
  EXPECT_EQ(dialog.Combo2->count(), 16);
  EXPECT_EQ(dialog.Combo2->currentIndex(), 7);
  choose(dialog, QStringLiteral("(Applies) 3D Engine Calibration"));
  EXPECT_EQ(dialog.Combo1->count(), 32);

  // Roots and reserved slots do nothing.
  const std::array<int, 4> before = protects(1);
  const std::size_t queued = queuedwrites(rig.link).rows.size();
  choose(dialog, QStringLiteral("(Applies) Maps"));
  dialog.NavView->setCurrentItem(
      dialog.NavView->findItems(QString(25, QLatin1Char('*')), Qt::MatchExactly | Qt::MatchRecursive)[0]);
  dialog.NavView_DblClick();
  EXPECT_EQ(protects(1), before);
  EXPECT_EQ(queuedwrites(rig.link).rows.size(), queued);
}

// The dialog names a PWM map as a tuner may see it: without the axis variable a guarded settings row holds.
TEST_F(PassParamsTest, APwmMapIsNamedWithoutAGuardedAxisVariable) {
  putfragments(rig.mainmaps, {{1, 88, 88, 0, 0, seedoff},
                              {6, axissettingsmap, allmapsingroup, pwmselectorrow, pwmselectorrow, seedon}});
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  frmPassParams guarded(rig.context, 1);
  EXPECT_EQ(guarded.Label5->text(), QStringLiteral("2D PWM"));
  EXPECT_EQ(guarded.Label6->text(), QStringLiteral("PWM MAP 1 duty []"));
  // The short name still chooses its map: PWM map 2 for fragment 1.
  choose(guarded, QStringLiteral("(Applies) PWM MAP 2 duty []"));
  EXPECT_EQ(readfragment(rig.mainmaps, 1)[fragmentbyte::map], 89);
  EXPECT_EQ(guarded.Label6->text(), QStringLiteral("PWM MAP 2 duty []"));
  rig.state.pwentered[6] = padpassword(QStringLiteral("secret"));
  refreshmatches(rig.mainmaps, rig.state);
  applymapprotection(rig.mainmaps, rig.state);
  frmPassParams open(rig.context, 1);
  EXPECT_EQ(open.Label6->text(), mapnamepart(rig.mainmaps.getmapname(89)));
  EXPECT_NE(open.Label6->text(), QStringLiteral("PWM MAP 2 duty []"));
}

}  // namespace
}  // namespace ostrel::test
