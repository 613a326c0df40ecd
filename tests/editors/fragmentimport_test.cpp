// The map fragment import without its window: the donor tree, the masks of the donor versions, choosing, the staged
// donor reads and the copy into the open calibration.
#include "editors/fragmentimport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps25.h"
#include "calibration/maptree.h"
#include "donorfiles.h"
#include "editors/passwordeditor.h"
#include "platform/installfolder.h"

namespace ostrel::test {
namespace {

std::vector<int> chosen(const FragmentImport& importer) {
  std::vector<int> maps;
  for (int map = 0; map < mapcount; ++map)
    if (importer.selected()[static_cast<std::size_t>(map)]) maps.push_back(map);
  return maps;
}

// The tree node of a map's leaf, or of the group node that stands for it.
int nodeofmap(const FragmentImport& importer, const maps& model, int map) {
  const QString definition = model.getmapname(map);
  const QString text = FragmentImport::prefix + (map < 104 ? mapnamepart(definition) : mapgrouppart(definition));
  const auto& tree = importer.tree();
  const auto at = std::find_if(tree.begin(), tree.end(), [&text](const MapTreeNode& n) { return n.text == text; });
  return at == tree.end() ? -1 : static_cast<int>(at - tree.begin());
}

// Every cell of every map, map by map and row by row.
std::vector<std::int16_t> allcells(const maps& model) {
  std::vector<std::int16_t> cells;
  for (int map = 0; map < mapcount; ++map)
    for (int row = 0; row < model.getmaprows(map); ++row)
      for (int col = 0; col < model.getmapcols(map); ++col) cells.push_back(model.getdata(map, row, col));
  return cells;
}

QByteArray readall(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An old calibration whose tables hold recognisable values.
OldCalibration oldcalibration() {
  OldCalibration cal;
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      cal.d[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = r == 31 && c == 31 ? 0xFFFF : 1000 + 31 * r + c;
      for (int t = 0; t < 6; ++t)
        cal.e[static_cast<std::size_t>(32 * t + r)][static_cast<std::size_t>(c)] = (r + c + t) % 128;
      cal.c[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = 100;
    }
  for (int i = 0; i < 24; ++i)
    for (int j = 0; j < 24; ++j) cal.b[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = 4 * i + 4 * j;
  for (int r = 0; r < 48; ++r)
    for (int c = 0; c < 16; ++c) cal.a[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = (r * 5 + c) % 200;
  cal.a[13][10] = 128;  // the old table B's scale: as it is
  for (int c = 0; c < 16; ++c) {
    cal.a[4][c] = 20;  // the load spreads of the old settings
    cal.a[5][c] = 20;
  }
  return cal;
}

class Import : public ::testing::Test {
 protected:
  Import() { rig.mainmaps.clearchange(); }

  EditorRig rig;
  DonorFiles files;
  maps donor{rig.prompts};
};

// --- The tree ------------------------------------------------------------------------------------------------------

TEST_F(Import, TheTreeHoldsRootsGroupsAndAMapLeafForEachMapBelowTheComments) {
  FragmentImport importer(rig.context);
  const std::vector<MapTreeNode>& tree = importer.tree();
  ASSERT_EQ(tree.size(), 131u);
  EXPECT_EQ(tree[0].text, QStringLiteral("(Donor) Maps"));
  EXPECT_EQ(tree[1].key, QStringLiteral("(Donor) Settings"));
  EXPECT_EQ(tree[1].text, QStringLiteral("(Donor) Settings/Modules"));
  EXPECT_EQ(tree[2].text, QStringLiteral("(Donor) 3D Fuel Calibration"));
  EXPECT_EQ(tree[2].parent, 0);
  EXPECT_EQ(tree[3].text, QStringLiteral("(Donor) Base fuel table [RPM, LOAD]"));
  EXPECT_EQ(tree[3].key, tree[3].text);
  EXPECT_EQ(tree[3].parent, 2);
  const auto reserved = std::find_if(tree.begin(), tree.end(), [](const MapTreeNode& n) {
    return n.key == QStringLiteral("(Donor) ***IC [RPM, LOAD]");
  });
  ASSERT_NE(reserved, tree.end());
  EXPECT_EQ(reserved->text, QStringLiteral("*************************"));
  int groups = 0, modules = 0;
  for (const MapTreeNode& n : tree) {
    if (n.parent == 0) ++groups;
    if (n.parent == 1) {
      ++modules;
      EXPECT_FALSE(n.haschildren) << n.text.toStdString();
    }
  }
  EXPECT_EQ(groups, 13);
  EXPECT_EQ(modules, 12);
  EXPECT_EQ(tree.back().text, QStringLiteral("(Donor) Settings 6"));
}

TEST_F(Import, EveryNodeChoosesTheMapItNamesAndOnlyThat) {
  rig.state.donortype = donortypes::current;
  setimportmask(rig.state);
  FragmentImport importer(rig.context);
  const std::vector<MapTreeNode>& tree = importer.tree();
  std::vector<int> reached;
  for (int node = 0; node < static_cast<int>(tree.size()); ++node) {
    const bool changed = importer.choose(node);
    const std::vector<int> now = chosen(importer);
    if (!changed) {
      EXPECT_TRUE(now.empty()) << tree[static_cast<std::size_t>(node)].text.toStdString();
      continue;
    }
    ASSERT_EQ(now.size(), 1u) << tree[static_cast<std::size_t>(node)].text.toStdString();
    const QString name = tree[static_cast<std::size_t>(node)].text.mid(8);
    const QString definition = rig.mainmaps.getmapname(now[0]);
    EXPECT_TRUE(mapnamepart(definition) == name || mapgrouppart(definition) == name) << name.toStdString();
    reached.push_back(now[0]);
    EXPECT_TRUE(importer.choose(node)) << "a second double click takes it back";
    EXPECT_TRUE(chosen(importer).empty());
  }
  // Every map but the reserved ones, each from one node.
  std::vector<int> expected;
  for (int map = 0; map < mapcount; ++map)
    if (!rig.mainmaps.getmapname(map).contains(QStringLiteral("***"))) expected.push_back(map);
  EXPECT_EQ(reached, expected);
  EXPECT_TRUE(rig.prompts.records.empty());
}

TEST_F(Import, ADoubleClickOnAMapTheDonorLacksIsRefused) {
  rig.state.donortype = donortypes::old;
  setimportmask(rig.state);
  FragmentImport importer(rig.context);
  EXPECT_FALSE(importer.choose(nodeofmap(importer, rig.mainmaps, 2)));
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{notindonormessage});
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_TRUE(importer.choose(nodeofmap(importer, rig.mainmaps, 0)));
  EXPECT_EQ(chosen(importer), std::vector<int>{0});
}

// With the PWM axis selectors guarded, every name the window shows leaves the axes out, and such a map is still
// chosen from its node; a PWM table left out by a guard is named in the message the same way.
TEST_F(Import, NamesLeaveOutWhatTheSelectorGuardHidesAndTheirMapsCanStillBeChosen) {
  putfragments(rig.mainmaps, {{0, 110, 255, 3, 3, seedon}, {1, 88, 88, 0, 0, seedon}});
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  ASSERT_TRUE(rig.state.guards.guarded(110, 3));
  const QString shown = QStringLiteral("PWM MAP 1 duty []");
  ASSERT_NE(mapnamepart(rig.mainmaps.getmapname(88)), shown) << "the selector names an axis";

  rig.prompts.paths = {files.current(QStringLiteral("donor.s26"), donor)};
  FragmentImport importer(rig.context);
  ASSERT_TRUE(importer.opendonor(DonorVersion::v26));
  const auto& tree = importer.tree();
  const auto at =
      std::find_if(tree.begin(), tree.end(), [](const MapTreeNode& n) { return n.map == 88 && !n.haschildren; });
  ASSERT_NE(at, tree.end());
  EXPECT_EQ(at->text, FragmentImport::prefix + shown);
  ASSERT_TRUE(importer.choose(static_cast<int>(at - tree.begin())));
  EXPECT_EQ(chosen(importer), std::vector<int>{88});
  EXPECT_EQ(importer.donorlist(), fragmentsheader + QLatin1Char('\n') + shown + QLatin1Char('\n'));
  rig.prompts.clear();
  EXPECT_EQ(importer.import(), std::vector<int>{88});
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{guardedrowsmessage.arg(shown)});
}

// A donor record that guards the PWM axis variables comes along with the passwords map: the tree the import has
// rebuilt names the PWM maps under the guards the import brought, whether the settings came too or not.
TEST_F(Import, TheTreeIsRebuiltUnderTheGuardsTheImportBrings) {
  const QString path = files.current(QStringLiteral("donor.s26"), donor);
  putfragments(donor, {{0, 110, 255, 3, 3, seedon, QStringLiteral("selector")}});
  ASSERT_TRUE(donor.savefile(path));
  for (const bool all : {false, true}) {
    SCOPED_TRACE(all ? "Select All" : "the passwords map alone");
    loadpasswordfragments(rig.mainmaps, rig.state, true);
    ASSERT_FALSE(rig.state.guards.guarded(110, 3));
    std::vector<QString> built;
    rig.host.onnavtree = [&] { built.push_back(mapnamepart(shownmapname(rig.mainmaps, rig.state.guards, 88))); };
    rig.prompts.paths = {path};
    FragmentImport importer(rig.context);
    ASSERT_TRUE(importer.opendonor(DonorVersion::v26));
    if (all) {
      importer.selectall();
    } else {
      const auto& tree = importer.tree();
      const auto at = std::find_if(tree.begin(), tree.end(), [](const MapTreeNode& n) { return n.map == 105; });
      ASSERT_TRUE(importer.choose(static_cast<int>(at - tree.begin())));
    }
    importer.import();
    ASSERT_TRUE(rig.state.guards.guarded(110, 3));
    EXPECT_EQ(built, std::vector<QString>{QStringLiteral("PWM MAP 1 duty []")});
    putfragments(rig.mainmaps, {});  // the open file's own records again, for the next case
  }
}

// --- Version 2.1 and 2.5 donors ------------------------------------------------------------------------------------

TEST_F(Import, AnOldDonorWithSelectAllImportsExactlyItsMaps) {
  const std::array<int, 2> before2 = {rig.mainmaps.getdata(2, 0, 0), rig.mainmaps.getdata(104, 0, 0)};
  rig.prompts.paths = {files.old(QStringLiteral("old.s20"), oldcalibration())};
  FragmentImport importer(rig.context);
  rig.state.pwentered[0] = QStringLiteral("abc");  // an entered password, kept unless the fragments reload
  ASSERT_TRUE(importer.opendonor(DonorVersion::v21));
  EXPECT_EQ(rig.prompts.records[0].kind, RecordingPrompts::Record::Kind::OpenFile);
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("Open V2.1 donor file"));
  EXPECT_EQ(rig.state.donortype, 21);
  EXPECT_EQ(rig.state.donorfile, files.path(QStringLiteral("old.s20")));
  EXPECT_TRUE(importer.donorready());

  importer.selectall();
  const std::vector<int> expected(olddonormaps.begin(), olddonormaps.end());
  EXPECT_EQ(chosen(importer), expected);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{notallindonormessage});
  EXPECT_EQ(rig.prompts.records.back().icon, Prompts::Icon::Information);
  const QStringList lines = importer.donorlist().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 33);
  EXPECT_EQ(lines[0], QStringLiteral("Selected map fragments:"));
  EXPECT_EQ(lines[1], QStringLiteral("Base fuel table [RPM, LOAD]"));
  EXPECT_EQ(lines[8], QStringLiteral("Intake VCT target [RPM, LOAD]"));
  EXPECT_EQ(lines[32], QStringLiteral("Settings group 1"));

  const QString loadlabels = rig.mainmaps.getscalestringY(0, true);
  EXPECT_EQ(importer.import(), expected);
  // Converted cell by cell, marked changed; a map the old file does not hold stays as it was.
  EXPECT_EQ(rig.mainmaps.getdata(0, 2, 3), 1000 + 62 + 3);
  EXPECT_EQ(rig.mainmaps.getdata(0, 31, 31), 8000) << "limited to the base fuel table's range";
  EXPECT_EQ(rig.mainmaps.getdata(1, 4, 5), 9);
  EXPECT_EQ(rig.mainmaps.getdata(8, 4, 5), 2 * (4 + 5 + 2)) << "whole degrees become half degrees";
  EXPECT_EQ(rig.mainmaps.getdata(19, 0, 0), 68);
  EXPECT_EQ(rig.mainmaps.getdata(24, 0, 7), (16 * 5 + 7) % 200);
  EXPECT_EQ(rig.mainmaps.getdata(110, 4, 0), 20);
  EXPECT_TRUE(rig.mainmaps.getchange(0, 0, 0));
  EXPECT_TRUE(rig.mainmaps.getchange(110, 15, 15));
  EXPECT_EQ(rig.mainmaps.getdata(2, 0, 0), before2[0]);
  EXPECT_EQ(rig.mainmaps.getdata(104, 0, 0), before2[1]);
  EXPECT_FALSE(rig.mainmaps.getchange(2, 0, 0));
  EXPECT_FALSE(rig.mainmaps.getchange(104, 0, 0));

  // Map 110 brought its spreads: the axes follow; no passwords came.
  EXPECT_NE(rig.mainmaps.getscalestringY(0, true), loadlabels);
  EXPECT_TRUE(rig.mainmaps.getscalestringY(0, true).startsWith(QStringLiteral("0 kPa;3 kPa;5 kPa;")));
  EXPECT_EQ(rig.host.navtrees, 1);
  EXPECT_EQ(rig.state.pwentered[0], QStringLiteral("abc")) << "no passwords came, so the fragments were not reloaded";
  EXPECT_EQ(rig.host.progressjobs, std::vector<int>{0});
  EXPECT_EQ(rig.state.progressjob, 0);
  EXPECT_EQ(rig.state.progresstotal, 2000);
  EXPECT_EQ(rig.host.mapviews, 1);
  EXPECT_EQ(rig.link.transferqueue().records[0].op, 0) << "nothing goes to the ECU";
}

TEST_F(Import, MapSeventeenOfAnOldDonorIsResampledFromItsTwentyFourPoints) {
  OldCalibration cal = oldcalibration();
  rig.prompts.paths = {files.old(QStringLiteral("a.s20"), cal)};
  FragmentImport importer(rig.context);
  ASSERT_TRUE(importer.opendonor(DonorVersion::v25));
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("Open V2.5 donor file"));
  ASSERT_TRUE(importer.choose(nodeofmap(importer, rig.mainmaps, 17)));
  EXPECT_EQ(importer.import(), std::vector<int>{17});
  // The old table rises by 4 a point on both axes; 32 points span its 24, 0.74 of an old point each.
  struct Case {
    int row, col, value;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{1, 0, 3}, Case{10, 5, 44}, Case{31, 31, 184}, Case{31, 0, 92}})
    EXPECT_EQ(rig.mainmaps.getdata(17, c.row, c.col), c.value) << c.row << ", " << c.col;
  EXPECT_TRUE(rig.mainmaps.getchange(17, 31, 31));

  // The old setting that scales the table around 128.
  cal.a[13][10] = 64;
  rig.prompts.paths = {files.old(QStringLiteral("b.s20"), cal)};
  FragmentImport second(rig.context);
  ASSERT_TRUE(second.opendonor(DonorVersion::v21));
  ASSERT_TRUE(second.choose(nodeofmap(second, rig.mainmaps, 17)));
  second.import();
  EXPECT_EQ(rig.mainmaps.getdata(17, 31, 31), 156);  // (183.52 - 128) / 2 + 128
}

// --- Version 2.6 donors --------------------------------------------------------------------------------------------

TEST_F(Import, ACurrentDonorWithSelectAllImportsAllMaps) {
  rig.prompts.paths = {files.current(QStringLiteral("donor.s26"), donor)};
  FragmentImport importer(rig.context);
  rig.state.pwentered[0] = QStringLiteral("abc");  // an entered password, kept unless the fragments reload
  ASSERT_TRUE(importer.opendonor(DonorVersion::v26));
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("Open V2.6 donor file"));
  EXPECT_EQ(rig.state.donortype, 26);
  importer.selectall();
  EXPECT_EQ(chosen(importer).size(), 116u);
  EXPECT_EQ(rig.prompts.records.size(), 1u) << "no message";
  EXPECT_EQ(importer.donorlist().count(QLatin1Char('\n')), 117);

  const std::vector<int> copied = importer.import();
  EXPECT_EQ(copied.size(), 116u);
  EXPECT_TRUE(rig.mainmaps.getimage() == donor.getimage()) << "every cell of every map";
  EXPECT_TRUE(rig.mainmaps.getchange(104, 7, 15));
  EXPECT_TRUE(rig.mainmaps.getchange(115, 15, 15));
  EXPECT_EQ(rig.state.pwentered[0], QStringLiteral("KeyInPwd"))
      << "the passwords map came: the fragments were reloaded";
  EXPECT_EQ(rig.host.navtrees, 1);
  EXPECT_EQ(rig.mainmaps.getscalestringX(0, true), rig.templatemaps.getscalestringX(0, true)) << "the axes follow";
  EXPECT_EQ(rig.host.progressjobs, std::vector<int>{0});
}

TEST_F(Import, AMapTheNewDonorLacksLeavesTheChoiceAndIsNeverCopied) {
  rig.prompts.paths = {files.current(QStringLiteral("donor.s26"), donor),
                       files.old(QStringLiteral("old.s20"), oldcalibration())};
  FragmentImport importer(rig.context);
  ASSERT_TRUE(importer.opendonor(DonorVersion::v26));
  for (int map : {0, 2, 8}) ASSERT_TRUE(importer.choose(nodeofmap(importer, rig.mainmaps, map))) << map;
  ASSERT_TRUE(importer.opendonor(DonorVersion::v21));
  EXPECT_EQ(chosen(importer), (std::vector<int>{0, 8})) << "the old file has no map 2";
  const std::int16_t map2 = rig.mainmaps.getdata(2, 5, 5);
  EXPECT_EQ(importer.import(), (std::vector<int>{0, 8}));
  EXPECT_EQ(rig.mainmaps.getdata(0, 2, 3), 1000 + 62 + 3) << "copied from the donor now open";
  EXPECT_EQ(rig.mainmaps.getdata(2, 5, 5), map2);
}

TEST_F(Import, TheMaskIsHonouredWhateverWasChosenBeforeTheDonor) {
  // A mask left from a 2.6 donor of an earlier opening lets map 2 be chosen before this opening's donor is read.
  rig.state.donortype = donortypes::current;
  setimportmask(rig.state);
  rig.prompts.paths = {files.old(QStringLiteral("old.s20"), oldcalibration())};
  FragmentImport importer(rig.context);
  ASSERT_TRUE(importer.choose(nodeofmap(importer, rig.mainmaps, 2)));
  EXPECT_TRUE(importer.import().empty()) << "no donor has been read in this opening";
  EXPECT_TRUE(rig.host.progressjobs.empty());
  ASSERT_TRUE(importer.opendonor(DonorVersion::v21));
  EXPECT_TRUE(chosen(importer).empty());
  EXPECT_TRUE(importer.import().empty());
  EXPECT_FALSE(rig.mainmaps.getchange(2, 0, 0));
  EXPECT_EQ(rig.host.progressjobs, std::vector<int>{0}) << "an empty import still shows the progress";
}

// --- The passwords map ---------------------------------------------------------------------------------------------

// The donor's passwords map replaces the records of fragments that are OFF or whose password was entered; a fragment
// that is ON and whose password nobody entered keeps its record, and so its guard, and one message names it. The rows
// it guards are not written either: once its password is entered they hold what they held, and a second message
// names their maps.
TEST_F(Import, TheRecordOfAFragmentWhosePasswordWasNotEnteredIsKept) {
  struct Guard {
    int map, fragment;
  };
  const struct Case {
    const char* what;
    std::vector<Fragment> fragments;
    std::vector<int> matched;
    std::vector<int> kept;
    std::vector<Guard> guards;  // after the import
    std::vector<int> leftout;   // maps of which guarded rows were not imported
  } cases[] = {
      {"one locked, one matched, one OFF",
       {{2, 24, 24, 0, 0, seedon}, {4, 8, 255, 0, 31, seedon, QStringLiteral("mine")}, {1, 0, 4, 0, 31, seedoff}},
       {4},
       {2},
       {{24, 2}},
       {24}},
      {"matched only", {{4, 8, 255, 0, 31, seedon, QStringLiteral("mine")}}, {4}, {}, {}, {}},
      {"two locked",
       {{0, 0, 4, 0, 31, seedon}, {7, 32, 255, 0, 31, seedon}},
       {},
       {0, 7},
       {{4, 0}, {32, 7}, {39, 7}},
       {4, 32, 33, 34, 35, 36, 37, 38, 39}},
  };
  const QString donorpath = files.current(QStringLiteral("donor.s26"), donor);
  for (const Case& c : cases) {
    EditorRig r;
    putfragments(r.mainmaps, c.fragments);
    loadpasswordfragments(r.mainmaps, r.state, true);
    for (int i : c.matched) r.state.pwentered[static_cast<std::size_t>(i)] = QStringLiteral("mine    ");
    refreshmatches(r.mainmaps, r.state);
    applymapprotection(r.mainmaps, r.state);  // the passwords window's timer
    for (int i : c.matched) ASSERT_TRUE(r.state.pwmatched[static_cast<std::size_t>(i)]) << c.what;
    std::array<FragmentRow, fragmentcount> before{};
    for (int i = 0; i < fragmentcount; ++i) before[static_cast<std::size_t>(i)] = readfragment(r.mainmaps, i);
    const MapGuards guarded = r.state.guards;
    const std::vector<std::int16_t> held = allcells(r.mainmaps);

    r.prompts.paths = {donorpath};
    FragmentImport importer(r.context);
    ASSERT_TRUE(importer.opendonor(DonorVersion::v26)) << c.what;
    importer.selectall();
    r.prompts.clear();
    ASSERT_EQ(importer.import().size(), 116u) << c.what;

    std::vector<QString> messages;
    QStringList kept, leftout;
    for (int i : c.kept) kept << QString::number(i + 1);
    for (int map : c.leftout) leftout << mapnamepart(r.mainmaps.getmapname(map));
    if (!kept.isEmpty()) messages.push_back(keptpasswordsmessage.arg(kept.join(QStringLiteral(", "))));
    if (!leftout.isEmpty()) messages.push_back(guardedrowsmessage.arg(leftout.join(QStringLiteral(", "))));
    EXPECT_EQ(r.prompts.messages(), messages) << c.what;
    for (const auto& record : r.prompts.records) EXPECT_EQ(record.icon, Prompts::Icon::Information) << c.what;
    for (int i = 0; i < fragmentcount; ++i) {
      const bool iskept = std::find(c.kept.begin(), c.kept.end(), i) != c.kept.end();
      EXPECT_EQ(readfragment(r.mainmaps, i),
                iskept ? before[static_cast<std::size_t>(i)] : readfragment(r.templatemaps, i))
          << c.what << ", fragment " << i;
    }
    for (const Guard& g : c.guards)
      EXPECT_NE(r.state.guards.guardsof(g.map) & (1U << g.fragment), 0U) << c.what << ", map " << g.map;

    // With the passwords entered, the guarded rows hold what they held and the rest is the donor's.
    PasswordEditor editor(r.context);
    editor.refresh();
    for (int i : c.kept) {
      r.prompts.inputs = {QStringLiteral("secret")};
      editor.cellclicked(i + 1, 2);
    }
    editor.timertick();
    std::size_t n = 0;
    for (int map = 0; map < mapcount; ++map) {
      ASSERT_FALSE(r.state.guards.anyguarded(map)) << c.what << ", map " << map;
      for (int row = 0; row < r.mainmaps.getmaprows(map); ++row)
        for (int col = 0; col < r.mainmaps.getmapcols(map); ++col, ++n)
          if (map != passwordsmap) {
            ASSERT_EQ(r.mainmaps.getdata(map, row, col),
                      cellguarded(r.mainmaps, guarded, map, row, col) ? held[n] : r.templatemaps.getdata(map, row, col))
                << c.what << ", map " << map << " (" << row << ", " << col << ")";
          }
    }
  }
}

// --- The cell mask --------------------------------------------------------------------------------------------------

// Which cells of the base timing table (guarded by load point), the passwords map (a kept record) and settings map
// 110 (guarded by row) an import may write, from the open calibration's guards, the donor's own, the passwords
// entered in this run and the kind of donor.
TEST_F(Import, TheCellMaskLeavesOutWhatEitherSideGuardsAndTheKeptRecords) {
  struct Entered {
    int fragment;
    QString password;
  };
  // Cells first to last of one index: the load point on the 3-D table, the row elsewhere.
  struct Out {
    int map, first, last;
  };
  const QString donorpw = QStringLiteral("donorpw");
  const struct Case {
    const char* what;
    std::vector<Fragment> open, donor;
    std::vector<Entered> entered;
    std::uint8_t donortype;
    std::vector<Out> out;
    std::vector<int> leftout;  // maps named as left out by a guard
  } cases[] = {
      {"nothing guarded", {}, {}, {}, donortypes::current, {}, {}},
      {"the open calibration's load rows",
       {{0, 0, 8, 0, 23, seedon}},
       {},
       {},
       donortypes::current,
       {{8, 0, 23}, {passwordsmap, 0, 0}},
       {8}},
      {"the open calibration's settings rows",
       {{0, 110, 255, 4, 7, seedon}},
       {},
       {},
       donortypes::current,
       {{110, 4, 7}, {passwordsmap, 0, 0}},
       {110}},
      {"an open guard whose password was entered",
       {{0, 0, 8, 0, 23, seedon}},
       {},
       {{0, QStringLiteral("secret")}},
       donortypes::current,
       {},
       {}},
      {"the donor's rows, no password",
       {},
       {{1, 0, 8, 4, 7, seedon, donorpw}, {2, 110, 255, 3, 3, seedon, donorpw}},
       {},
       donortypes::current,
       {{8, 4, 7}, {110, 3, 3}},
       {8, 110}},
      {"the donor's rows, their password entered in this run",
       {{1, 0, 0, 0, 0, seedoff, QStringLiteral("other")}},
       {{1, 0, 8, 4, 7, seedon, donorpw}},
       {{1, donorpw}},
       donortypes::current,
       {},
       {}},
      {"the donor's rows, another slot's password entered",
       {{1, 0, 0, 0, 0, seedoff, QStringLiteral("other")}, {2, 0, 0, 0, 0, seedoff, QStringLiteral("other")}},
       {{1, 0, 8, 4, 7, seedon, donorpw}},
       {{2, donorpw}},
       donortypes::current,
       {{8, 4, 7}},
       {8}},
      {"a donor record that is OFF", {}, {{1, 0, 8, 4, 7, seedoff, donorpw}}, {}, donortypes::current, {}, {}},
      {"a donor record with the reset password",
       {},
       {{1, 0, 8, 4, 7, seedon, resetpassword}},
       {},
       donortypes::current,
       {},
       {}},
      {"both sides over one map",
       {{0, 0, 8, 0, 3, seedon}},
       {{5, 8, 255, 30, 31, seedon, donorpw}},
       {},
       donortypes::current,
       {{8, 0, 3}, {8, 30, 31}, {passwordsmap, 0, 0}},
       {8}},
      {"an older donor carries no passwords", {}, {{1, 0, 8, 4, 7, seedon, donorpw}}, {}, donortypes::old, {}, {}},
  };
  const std::vector<int> maps{8, passwordsmap, 110};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EditorRig r;
    putfragments(r.mainmaps, c.open);
    loadpasswordfragments(r.mainmaps, r.state, true);
    for (const Entered& e : c.entered)
      r.state.pwentered[static_cast<std::size_t>(e.fragment)] = padpassword(e.password);
    refreshmatches(r.mainmaps, r.state);  // as the passwords grid decides
    applymapprotection(r.mainmaps, r.state);
    putfragments(r.templatemaps, c.donor);
    r.state.donortype = c.donortype;

    const ImportGuards guards = importguards(r.mainmaps, r.templatemaps, r.state);
    for (int map : maps) {
      const ImportCellMask mask = importcellmask(r.mainmaps, guards, map);
      const bool byload = map == 8;
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) {
          const int index = byload ? j : i;
          const bool out = std::any_of(c.out.begin(), c.out.end(), [&](const Out& o) {
            return o.map == map && o.first <= index && index <= o.last;
          });
          ASSERT_EQ(mask[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)], !out)
              << "map " << map << " (" << i << ", " << j << ")";
        }
      const bool named = std::find(c.leftout.begin(), c.leftout.end(), map) != c.leftout.end();
      EXPECT_EQ(guards.leavesout(map), named) << "map " << map;
    }
  }
}

// --- Donors that cannot be read ------------------------------------------------------------------------------------

TEST_F(Import, ADonorThatCannotBeReadChangesNothing) {
  // An earlier opening read a 2.6 donor.
  rig.prompts.paths = {files.current(QStringLiteral("good.s26"), donor)};
  ASSERT_TRUE(FragmentImport(rig.context).opendonor(DonorVersion::v26));
  const CalibrationImage held = rig.templatemaps.getimage();
  const CalibrationImage open = rig.mainmaps.getimage();
  const std::array<bool, 116> mask = rig.state.importmask;

  QByteArray damaged = olds20(oldcalibration());
  damaged[76 * 300 + 20] = 'G';
  QByteArray damaged26 = readall(files.path(QStringLiteral("good.s26")));
  damaged26[76 * 500 + 40] = 'z';
  struct Case {
    const char* what;
    DonorVersion version;
    QString path;
    std::vector<QString> messages;
  };
  const Case cases[] = {
      {"a damaged old file", DonorVersion::v21, files.write(QStringLiteral("bad.s20"), damaged), {donorerrormessage}},
      {"a short old file",
       DonorVersion::v25,
       files.write(QStringLiteral("short.s20"), olds20({}).left(30000)),
       {donorerrormessage}},
      {"a missing old file", DonorVersion::v21, files.path(QStringLiteral("none.s20")), {donorerrormessage}},
      {"a damaged 2.6 file",
       DonorVersion::v26,
       files.write(QStringLiteral("bad.s26"), damaged26),
       {QStringLiteral("The file is not a valid 2.64+ file"), QStringLiteral("A file opening error occurred"),
        donorerrormessage}},
      {"no file chosen", DonorVersion::v26, QString(), {donorerrormessage}},
      {"the dialog's own pattern", DonorVersion::v21, installpath(QStringLiteral("*.s20")), {donorerrormessage}},
  };
  for (const Case& c : cases) {
    rig.prompts.clear();
    rig.prompts.paths = {c.path};
    FragmentImport importer(rig.context);
    importer.selectall();
    rig.prompts.clear();
    EXPECT_FALSE(importer.opendonor(c.version)) << c.what;
    EXPECT_EQ(rig.prompts.messages(), c.messages) << c.what;
    EXPECT_EQ(rig.prompts.records.back().icon, Prompts::Icon::Exclamation) << c.what;
    EXPECT_EQ(rig.state.donortype, 26) << c.what;
    EXPECT_EQ(rig.state.donorfile, files.path(QStringLiteral("good.s26"))) << c.what;
    EXPECT_EQ(rig.state.importmask, mask) << c.what;
    EXPECT_FALSE(importer.donorready()) << c.what;
    EXPECT_TRUE(importer.import().empty()) << c.what;
    EXPECT_TRUE(rig.templatemaps.getimage() == held) << c.what;
    EXPECT_TRUE(rig.mainmaps.getimage() == open) << c.what;
  }
  EXPECT_TRUE(rig.host.progressjobs.empty());
  EXPECT_FALSE(rig.mainmaps.getchange(0, 0, 0));
}

TEST_F(Import, AFailedOldFileKeepsTheOldDonorReadBefore) {
  OldCalibration first = oldcalibration();
  first.d[0][0] = 1234;
  rig.prompts.paths = {files.old(QStringLiteral("first.s20"), first)};
  ASSERT_TRUE(FragmentImport(rig.context).opendonor(DonorVersion::v21));
  QByteArray damaged = olds20(oldcalibration());
  damaged[76 * 150 + 10] = '#';
  rig.prompts.paths = {files.write(QStringLiteral("bad.s20"), damaged)};
  EXPECT_FALSE(FragmentImport(rig.context).opendonor(DonorVersion::v21));
  EXPECT_EQ(rig.oldmaps.getdata(0, 0, 0).value_or(-1), 1234);
}

}  // namespace
}  // namespace ostrel::test
