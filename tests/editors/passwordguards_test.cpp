// Every way a tuner without the password might reach a guarded row: two fragments over one map, a fragment built in
// the passwords window with a range that guards nothing, a RESET of a fragment another one shadows, an import of a
// donor's passwords map, an import of a map the donor guards and an import over the open file's guarded rows. In
// each, the grid and the 3-D graph show no data of a guarded row, no guarded data moves, and every right password
// opens the rows again.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "calibration/maptree.h"
#include "donorfiles.h"
#include "editors/fragmentimport.h"
#include "editors/frmsettings.h"
#include "editors/regrid.h"
#include "editors/passwordeditor.h"
#include "editors/passwordparams.h"
#include "editorsfixture.h"
#include "mapviews/mapgrid.h"
#include "mapviews/mapviews.h"
#include "mapviews/wiregraph.h"

namespace ostrel::test {
namespace {

constexpr MapGuards::Rows allrows = MapGuards::span(0, 31);

class Guards : public ::testing::Test {
 protected:
  Guards() {
    rig.state.preferences.gridloadup = false;  // grid row = load row
    // Ignition and the group after it hold no zero, so a cell that shows data cannot pass for a hidden one.
    for (int map = 8; map <= 23; ++map)
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) rig.mainmaps.setdata(map, i, j, pattern(map, i, j), false);
  }
  static int pattern(int map, int i, int j) { return 1 + (map + 32 * i + j) % 200; }

  void load(const std::vector<Fragment>& fragments) {
    putfragments(rig.mainmaps, fragments);
    loadpasswordfragments(rig.mainmaps, rig.state, true);
    editor.refresh();
    editor.timertick();
  }
  // The password typed into the fragment's "entered" cell, then the window's timer.
  void enter(int fragment, const QString& password) {
    rig.prompts.inputs = {password};
    editor.cellclicked(fragment + 1, 2);
    editor.timertick();
  }

  // The load rows of a 3-D map of which the grid or the 3-D graph shows anything.
  MapGuards::Rows shownrows(int map) {
    rig.state.curmap = static_cast<std::uint8_t>(map);
    views.openmapview();
    const WireGraphInputs graph = wiregraphinputs(rig.mainmaps, rig.state, rig.link.live(), nullptr);
    MapGuards::Rows shown = 0;
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i)
        if (!views.mapgrid().celltext(j, i).isEmpty() ||
            graph.z[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] != 0)
          shown |= MapGuards::span(j, j);
    return shown;
  }
  // Every load row of a 3-D map holds the given value (a destroyed row: 0) or its pattern.
  bool holds(int map, MapGuards::Rows destroyed) const {
    for (int i = 0; i < 32; ++i)
      for (int j = 0; j < 32; ++j)
        if (rig.mainmaps.getdata(map, i, j) != ((destroyed >> j & 1U) != 0 ? 0 : pattern(map, i, j))) return false;
    return true;
  }

  // The donor's cells of a 3-D map hold their own pattern (donorfiles.h), never the fixture's.
  bool holdsdonors(int map, const maps& donor) const {
    for (int i = 0; i < 32; ++i)
      for (int j = 0; j < 32; ++j)
        if (rig.mainmaps.getdata(map, i, j) != donor.getdata(map, i, j)) return false;
    return true;
  }
  // A 2.6 donor with the given fragments over its patterned maps, written where the open dialog will find it.
  QString writedonor(const std::vector<Fragment>& fragments) {
    const QString path = files.current(QStringLiteral("donor.s26"), donor);
    putfragments(donor, fragments);
    return donor.savefile(path) ? path : QString();
  }
  // Opens the donor in a fresh import window and imports either every map or the one map given; `said` holds the
  // import's messages.
  void importfrom(const QString& path, int map = -1) {
    rig.prompts.paths = {path};
    FragmentImport importer(rig.context);
    ASSERT_TRUE(importer.opendonor(DonorVersion::v26));
    if (map < 0) {
      importer.selectall();
    } else {
      const auto& tree = importer.tree();
      const auto at = std::find_if(tree.begin(), tree.end(), [map](const MapTreeNode& n) {
        return n.map == map && !n.haschildren && n.parent >= 0;
      });
      ASSERT_NE(at, tree.end());
      ASSERT_TRUE(importer.choose(static_cast<int>(at - tree.begin())));
    }
    rig.prompts.clear();
    ASSERT_FALSE(importer.import().empty());
    said = rig.prompts.messages();
    editor.refresh();
    editor.timertick();
  }
  static QString leftout(const QString& names) { return guardedrowsmessage.arg(names); }

  EditorRig rig;
  DonorFiles files;
  maps donor{rig.prompts};
  std::vector<QString> said;
  PasswordEditor editor{rig.context};
  MapViews views{rig.state, rig.mainmaps, rig.link, rig.prompts};
};

// Fragment 0 over the whole ignition group, fragment 1 over the last load row of its first map: each password opens
// only its own rows, and both open all.
TEST_F(Guards, TwoLockedFragmentsOverOneMapEachKeepTheirRows) {
  const std::vector<Fragment> fragments{{0, 8, 255, 0, 31, seedon, QStringLiteral("aaaa")},
                                        {1, 0, 8, 31, 31, seedon, QStringLiteral("bbbb")}};
  const struct {
    const char* what;
    std::vector<int> entered;
    MapGuards::Rows hidden8, hidden9;
  } cases[] = {
      {"no password", {}, allrows, allrows},
      {"the group's password", {0}, MapGuards::span(31, 31), 0},
      {"the one row's password", {1}, allrows, allrows},
      {"both", {0, 1}, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    load(fragments);
    for (int i : c.entered) enter(i, i == 0 ? QStringLiteral("aaaa") : QStringLiteral("bbbb"));
    EXPECT_EQ(shownrows(8), allrows & ~c.hidden8);
    EXPECT_EQ(shownrows(9), allrows & ~c.hidden9);
  }
}

// With fragment 0 locked over the ignition group, a tuner who knows no password resets the OFF fragment 1, aims it at
// the base timing table with its first row after its last, gives it a password and turns it on: the table stays
// hidden, also once the file is saved and opened again.
TEST_F(Guards, AFragmentBuiltInThePasswordsWindowLiftsNoGuard) {
  load({{0, 8, 255, 0, 31, seedon, QStringLiteral("aaaa")}, {1, 0, 0, 0, 0, seedoff, QStringLiteral("other")}});
  ASSERT_EQ(editor.reset(1), PasswordEditor::After::refresh);
  EXPECT_TRUE(rig.prompts.messages().empty()) << "an OFF fragment resets without a question";
  editor.refresh();
  ASSERT_TRUE(rig.state.pwmatched[1]);
  const auto table =
      paramschoice(appliesnode(rig.mainmaps, rig.state.guards, QStringLiteral("(Applies) Base timing table [RPM, LOAD]")));
  ASSERT_TRUE(table);
  storeparamschoice(rig.context, 1, *table);
  storeprotectedrow(rig.context, 1, false, 6);
  storeprotectedrow(rig.context, 1, true, 3);
  rig.prompts.inputs = {QStringLiteral("mine")};
  ASSERT_EQ(editor.cellclicked(2, 1), PasswordEditor::After::refresh);
  ASSERT_EQ(editor.turnon(1), PasswordEditor::After::refresh);
  editor.timertick();
  ASSERT_TRUE(rig.state.fragmenton[1]);
  EXPECT_EQ(shownrows(8), 0U);

  const QString path = rig.folder.file(QStringLiteral("built.s26"));
  ASSERT_TRUE(rig.mainmaps.savefile(path));
  ASSERT_TRUE(rig.mainmaps.openfile(path, true, false));
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  EXPECT_EQ(shownrows(8), 0U);
  enter(0, QStringLiteral("aaaa"));
  EXPECT_EQ(shownrows(8), allrows);
}

// Fragments 0 and 1 both lock the group of maps 16 to 23. A RESET of fragment 0 destroys every row its record
// covers although fragment 1 guards them too; fragment 1's password then shows them empty.
TEST_F(Guards, AResetDestroysTheRowsOfItsRecordWhoeverElseGuardsThem) {
  load({{0, 16, 255, 0, 31, seedon, QStringLiteral("aaaa")}, {1, 16, 255, 0, 31, seedon, QStringLiteral("bbbb")}});
  rig.prompts.answers = {Prompts::Answer::Ok};
  ASSERT_EQ(editor.reset(0), PasswordEditor::After::refresh);
  editor.timertick();
  for (int map = 16; map <= 23; ++map) {
    EXPECT_TRUE(holds(map, allrows)) << "map " << map;
    EXPECT_EQ(shownrows(map), 0U) << "fragment 1 still guards map " << map;
  }
  enter(1, QStringLiteral("bbbb"));
  for (int map = 16; map <= 23; ++map) EXPECT_EQ(shownrows(map), allrows) << "map " << map;
  EXPECT_TRUE(holds(8, 0)) << "the ignition group is untouched";
}

// The target has fragment 0 locked over the ignition group; the donor's passwords map aims its fragment 1 at the
// base timing table with rows that guard nothing or only the last one. Its record is copied, and guards no less.
TEST_F(Guards, ADonorRecordAddsGuardsAndLiftsNone) {
  const QString donorpath = files.current(QStringLiteral("donor.s26"), donor);
  const struct {
    const char* what;
    int first, last;
    bool selectall;
  } cases[] = {
      {"rows 8 to 3, everything imported", 8, 3, true},
      {"row 31 only, everything imported", 31, 31, true},
      {"rows 8 to 3, the passwords map alone", 8, 3, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    putrow(donor, 1, makerow({1, 0, 8, c.first, c.last, seedon, QStringLiteral("donor")}));
    ASSERT_TRUE(donor.savefile(donorpath));
    load({{0, 8, 255, 0, 31, seedon, QStringLiteral("aaaa")}});
    rig.prompts.paths = {donorpath};
    FragmentImport importer(rig.context);
    ASSERT_TRUE(importer.opendonor(DonorVersion::v26));
    if (c.selectall) {
      importer.selectall();
    } else {
      const auto& tree = importer.tree();
      const QString passwords = FragmentImport::prefix + mapgrouppart(rig.mainmaps.getmapname(passwordsmap));
      const auto at = std::find_if(tree.begin(), tree.end(), [&](const MapTreeNode& n) { return n.text == passwords; });
      ASSERT_NE(at, tree.end());
      ASSERT_TRUE(importer.choose(static_cast<int>(at - tree.begin())));
    }
    ASSERT_FALSE(importer.import().empty());
    ASSERT_EQ(readfragment(rig.mainmaps, 1), readfragment(donor, 1)) << "the record is copied";
    editor.refresh();
    editor.timertick();
    EXPECT_EQ(shownrows(8), 0U);
    EXPECT_EQ(shownrows(9), 0U);
    enter(0, QStringLiteral("aaaa"));
    EXPECT_EQ(shownrows(9), allrows);
    EXPECT_EQ(shownrows(8), c.first <= c.last ? MapGuards::span(0, 30) : allrows) << "the copied record's own row";
  }
}

// --- The import of guarded maps ------------------------------------------------------------------------------------

const QString basetiming = QStringLiteral("Base timing table [RPM, LOAD]");
constexpr int slot = 3;  // the fragment slot the donor's guard is in

// The donor's base timing table is guarded by an ON fragment whose password this run never saw; the open calibration
// is as shipped. Chosen alone, the table is not copied: the open file keeps its own values, and the tuner is told.
TEST_F(Guards, ADonorsGuardedMapChosenAloneIsNotCopied) {
  const QString path = writedonor({{slot, 0, 8, 0, 31, seedon, QStringLiteral("donorpw")}});
  load({});
  importfrom(path, 8);
  EXPECT_TRUE(holds(8, 0)) << "no donor cell came";
  EXPECT_FALSE(rig.mainmaps.getchange(8, 0, 0));
  EXPECT_EQ(shownrows(8), allrows) << "the open file's own table, as before";
  EXPECT_EQ(said, std::vector<QString>{leftout(basetiming)});
}

// The open file keeps its own locked record in the donor's slot (over another map): with Select All the donor's
// record is dropped and its guarded table is not copied. Entering the donor's password in that still locked slot
// opens the donor's table for the next import, which then copies it.
TEST_F(Guards, ADonorsGuardedMapUnderAKeptRecordComesOnlyWithItsPassword) {
  const QString path = writedonor({{slot, 0, 8, 0, 31, seedon, QStringLiteral("donorpw")}});
  load({{slot, 0, 20, 0, 31, seedon, QStringLiteral("mine")}});
  const FragmentRow own = readfragment(rig.mainmaps, slot);
  const QString kept = keptpasswordsmessage.arg(QString::number(slot + 1));
  const QString table20 = mapnamepart(rig.mainmaps.getmapname(20));

  importfrom(path);
  EXPECT_EQ(readfragment(rig.mainmaps, slot), own) << "the donor's record is dropped";
  EXPECT_TRUE(holds(8, 0)) << "the donor's guarded table did not come";
  EXPECT_EQ(shownrows(8), allrows) << "nothing guards it here: the open file's own values show";
  EXPECT_TRUE(holds(20, 0)) << "the open file's guarded table was not written";
  EXPECT_EQ(shownrows(20), 0U);
  EXPECT_EQ(said, (std::vector<QString>{kept, leftout(basetiming + QStringLiteral(", ") + table20)}));

  enter(slot, QStringLiteral("donorpw"));
  ASSERT_FALSE(rig.state.pwmatched[slot]) << "the slot stays locked by the open file's own password";
  importfrom(path);
  EXPECT_TRUE(holdsdonors(8, donor)) << "the password entered in this run opened the donor's table";
  EXPECT_EQ(shownrows(8), allrows);
  EXPECT_EQ(readfragment(rig.mainmaps, slot), own);
  EXPECT_TRUE(holds(20, 0));
  EXPECT_EQ(said, (std::vector<QString>{kept, leftout(table20)}));
}

// The open file's slot is free: with Select All the donor's record comes along and guards the table here too, but
// the donor's table itself did not come. With the donor's password the tuner sees the open file's own old base timing
// table: the donor's guarded values never left the donor.
TEST_F(Guards, ADonorsRecordComesAlongWithoutTheDataItGuards) {
  const QString path = writedonor({{slot, 0, 8, 0, 31, seedon, QStringLiteral("donorpw")}});
  load({});
  importfrom(path);
  EXPECT_EQ(readfragment(rig.mainmaps, slot), readfragment(donor, slot)) << "the donor's record came";
  EXPECT_EQ(shownrows(8), 0U);
  EXPECT_EQ(said, std::vector<QString>{leftout(basetiming)});
  enter(slot, QStringLiteral("donorpw"));
  EXPECT_EQ(shownrows(8), allrows);
  EXPECT_TRUE(holds(8, 0));
}

// Load rows 0 to 23 of the open base timing table are guarded; the table is imported from an unguarded donor. Rows 24
// to 31 show the donor's values at once; after the password, rows 0 to 23 hold what they held.
TEST_F(Guards, AnImportWritesNoGuardedRowOfTheOpenFile) {
  const QString path = writedonor({});
  load({{2, 0, 8, 0, 23, seedon, QStringLiteral("mine")}});
  importfrom(path, 8);
  EXPECT_EQ(said, std::vector<QString>{leftout(basetiming)});
  EXPECT_EQ(shownrows(8), MapGuards::span(24, 31));
  enter(2, QStringLiteral("mine"));
  EXPECT_EQ(shownrows(8), allrows);
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 32; ++j)
      ASSERT_EQ(rig.mainmaps.getdata(8, i, j), j <= 23 ? pattern(8, i, j) : donor.getdata(8, i, j)) << i << ", " << j;
  EXPECT_FALSE(rig.mainmaps.getchange(8, 0, 23));
  EXPECT_TRUE(rig.mainmaps.getchange(8, 0, 24));
}

// The base timing table's load rows 0 to 15 are guarded. In the settings editor the load spreads 1 to 16 go to 0 and
// the re-grid is accepted: where the table re-gridded, its open rows 16 to 31 would copy the guarded ones. It stays on
// its old grid instead and the message names it; the other maps re-grid as they would have without any guard, and
// the password shows the guarded rows as they were.
TEST_F(Guards, TheRegridLeavesAMapWithGuardedRowsAsItWas) {
  using Grid = std::array<std::array<int, 32>, 32>;
  const auto gridof = [](const maps& model, int map) {
    Grid g{};
    for (int i = 0; i < 32; ++i)
      for (int j = 0; j < 32; ++j)
        g[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = static_cast<int>(model.getdata(map, i, j));
    return g;
  };
  const auto grid = [&](int map) { return gridof(rig.mainmaps, map); };
  const auto texts = [this](int map) {
    rig.state.curmap = static_cast<std::uint8_t>(map);
    views.openmapview();
    std::vector<QString> t;
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i) t.push_back(views.mapgrid().celltext(j, i));
    return t;
  };
  const std::vector<QString> timingtexts = texts(8);
  const auto timing = grid(8);
  const auto trim = grid(11);

  // What the other maps become with no guard: the same edit on a copy of the maps, re-gridded unguarded.
  maps copy{rig.prompts};
  maps spare{rig.prompts};
  for (int map : {0, 11, 12, 110})
    for (int i = 0; i < copy.getmaprows(map); ++i)
      for (int j = 0; j < copy.getmapcols(map); ++j) copy.setdata(map, i, j, rig.mainmaps.getdata(map, i, j), false);
  const Spreads oldload = readspreads(copy, SpreadAxis::load);
  Spreads newload = oldload;
  for (int k = 0; k < 16; ++k) newload[static_cast<std::size_t>(k)] = 0;
  const Spreads rpm = readspreads(copy, SpreadAxis::rpm);
  respreadmaps(copy, spare, MapGuards{}, {oldload, rpm, newload, rpm});

  load({{0, 8, 8, 0, 15, seedon, QStringLiteral("timing")}});
  ASSERT_EQ(shownrows(8), MapGuards::span(16, 31));
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  scripted.scripts.push_back([](QDialog& dialog) {
    auto& window = dynamic_cast<frmSettings&>(dialog);
    window.Combogroups->setCurrentIndex(11);
    ASSERT_EQ(window.Combogroups->currentText(), QStringLiteral("grid load spread"));
    for (int point = 1; point <= 16; ++point) {
      const int n = spreadcellnumber(SpreadAxis::load, point);
      window.textofcell(n)->setText(QStringLiteral("0"));
      window.Command[static_cast<std::size_t>(n)]->click();
    }
    window.mnuExit->trigger();
    for (int tick = 0; tick < 5; ++tick) window.Timer1_Timer();
  });
  rig.state.curmap = 110;
  rig.prompts.clear();
  frmSettings::showmodal(rig.context, nullptr);
  ASSERT_EQ(readspreads(rig.mainmaps, SpreadAxis::load), newload);
  EXPECT_EQ(rig.prompts.messages(),
            (std::vector<QString>{
                QStringLiteral("The load or rpm spread has changed, do you wish to recalculate the affected 3D maps?"),
                QStringLiteral("Portions of these maps are password protected, so they were not recalculated: Base "
                               "timing table [RPM, LOAD]")}));

  EXPECT_EQ(grid(8), timing) << "neither the guarded rows nor the open ones changed";
  EXPECT_FALSE(rig.mainmaps.getchange(8, 0, 31));
  EXPECT_EQ(shownrows(8), MapGuards::span(16, 31));
  const std::vector<QString> shown = texts(8);
  EXPECT_TRUE(std::equal(shown.begin() + 16 * 32, shown.end(), timingtexts.begin() + 16 * 32))
      << "the open rows show what they showed";
  for (int map : {0, 11, 12}) {
    EXPECT_EQ(grid(map), gridof(copy, map)) << "map " << map << " re-gridded as without a guard";
    EXPECT_TRUE(rig.mainmaps.getchange(map, 0, 31)) << map;
  }
  EXPECT_NE(grid(11), trim) << "the spreads did move the open maps";

  enter(0, QStringLiteral("timing"));
  EXPECT_EQ(shownrows(8), allrows);
  EXPECT_EQ(texts(8), timingtexts) << "the password shows every row as it was";
}

}  // namespace
}  // namespace ostrel::test
