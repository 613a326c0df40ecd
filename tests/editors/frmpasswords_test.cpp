// The passwords window offscreen: its grid, its buttons, the ECU status from the live poll, closing by its timer,
// and the parameters dialog it opens.
#include "editors/frmpasswords.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "calibration/cellguards.h"
#include "editors/frmpassparams.h"
#include "editorsfixture.h"
#include "platform/colors.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

class PasswordsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Fragment 0 guards the ignition maps, 3 a single fuel trim and is OFF; the rest as shipped.
    putfragments(rig.mainmaps, {{0, 8, 255, 2, 40, seedon}, {3, 24, 26, 0, 0, seedoff, QStringLiteral("trims")}});
    loadpasswordfragments(rig.mainmaps, rig.state, true);
  }
  std::unique_ptr<frmPasswords> open() {
    auto window = std::make_unique<frmPasswords>(rig.context);
    window->show();
    return window;
  }
  static QString text(frmPasswords& w, int row, int column) { return w.PassGrid->item(row, column)->text(); }
  static std::uint32_t back(frmPasswords& w, int row, int column) {
    return colortobgr(w.PassGrid->item(row, column)->background().color());
  }

  EditorRig rig;
};

TEST_F(PasswordsWindowTest, TheGridShowsEachFragmentAsItOpens) {
  auto w = open();
  EXPECT_EQ(rig.state.livemode, frmPasswords::selector);
  ASSERT_EQ(w->PassGrid->rowCount(), 9);
  ASSERT_EQ(w->PassGrid->columnCount(), 9);
  for (int c = 0; c < 9; ++c) {
    EXPECT_EQ(text(*w, 0, c), passwordgrid::headers[static_cast<std::size_t>(c)]);
    EXPECT_EQ(back(*w, 0, c), passwordgrid::headercolour);
    EXPECT_EQ(w->PassGrid->columnWidth(c), passwordgrid::widths[static_cast<std::size_t>(c)]);
  }
  const struct {
    int row;
    std::array<const char*, 9> texts;
  } rows[] = {
      {1,
       {"Password: 1", "********", "KeyInPwd", "3D Ignition Calibration", "All", "3->41", "No match", "Unknown",
        "Fragment ON"}},
      {2,
       {"Password: 2", "qzq     ", "qzq     ", "3D Fuel Calibration", "Base fuel table [RPM, LOAD]", "1->1", "Match",
        "Unknown", "Fragment OFF"}},
      {4,
       {"Password: 4", "********", "KeyInPwd", "2D Fuel Trims", "Throttle pump enrichment [RPM]", "1->1", "No match",
        "Unknown", "Fragment OFF"}},
  };
  for (const auto& r : rows)
    for (int c = 0; c < 9; ++c)
      EXPECT_EQ(text(*w, r.row, c), QString::fromUtf8(r.texts[static_cast<std::size_t>(c)])) << r.row << " " << c;

  // Colours: the leading column alternates, the even rows are shaded, the statuses are green or red.
  EXPECT_EQ(back(*w, 1, 0), passwordgrid::oddleadcolour);
  EXPECT_EQ(back(*w, 2, 0), passwordgrid::evenleadcolour);
  EXPECT_EQ(back(*w, 1, 3), passwordgrid::plaincolour);
  EXPECT_EQ(back(*w, 2, 3), passwordgrid::evenrowcolour);
  EXPECT_EQ(back(*w, 1, 6), passwordgrid::nomatchcolour);
  EXPECT_EQ(back(*w, 2, 6), passwordgrid::matchcolour);
  EXPECT_EQ(back(*w, 1, 7), passwordgrid::unknowncolour);
  EXPECT_EQ(back(*w, 1, 8), passwordgrid::matchcolour);
  EXPECT_EQ(back(*w, 2, 8), passwordgrid::nomatchcolour);

  // Buttons: ON fragments may be turned off, OFF ones on; RESET only where the passwords do not match.
  EXPECT_FALSE(w->CommandON[0]->isEnabled());
  EXPECT_TRUE(w->CommandOFF[0]->isEnabled());
  EXPECT_TRUE(w->CommandRESET[0]->isEnabled());
  EXPECT_TRUE(w->CommandON[1]->isEnabled());
  EXPECT_FALSE(w->CommandOFF[1]->isEnabled());
  EXPECT_FALSE(w->CommandRESET[1]->isEnabled());
  EXPECT_TRUE(w->CommandRESET[3]->isEnabled());
  // Each row of buttons stands level with its grid row.
  for (int i = 0; i < 8; ++i) {
    const QRect cell = w->PassGrid->visualItemRect(w->PassGrid->item(i + 1, 0));
    const int rowtop = w->PassGrid->viewport()->mapTo(w.get(), cell.topLeft()).y();
    EXPECT_NEAR(w->CommandON[static_cast<std::size_t>(i)]->mapTo(w.get(), QPoint(0, 0)).y(), rowtop, 2) << i;
  }
  savescreenshot(w.get(), QStringLiteral("passwords_window"));
}

TEST_F(PasswordsWindowTest, ButtonsChangeTheFragmentAndTheGridFollows) {
  auto w = open();
  w->CommandON[3]->click();
  EXPECT_EQ(text(*w, 4, 8), QStringLiteral("Fragment ON"));
  EXPECT_FALSE(w->CommandON[3]->isEnabled());
  EXPECT_TRUE(w->CommandOFF[3]->isEnabled());
  EXPECT_TRUE(fragmentreadson(readfragment(rig.mainmaps, 3)));
  EXPECT_TRUE(rig.prompts.records.empty());

  // RESET of fragment 0, which is ON: asked, then the row shows the reset password, matched and OFF.
  rig.prompts.answers.push_back(Prompts::Answer::Ok);
  w->CommandRESET[0]->click();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{PasswordEditor::resetquestion});
  EXPECT_EQ(text(*w, 1, 1), resetpassword);
  EXPECT_EQ(text(*w, 1, 6), QStringLiteral("Match"));
  EXPECT_EQ(text(*w, 1, 8), QStringLiteral("Fragment OFF"));
  EXPECT_FALSE(w->CommandRESET[0]->isEnabled());
  EXPECT_EQ(rig.mainmaps.getdata(8, 0, 5), 0) << "its rows were destroyed";

  // A click on a cell of the grid.
  rig.prompts.clear();
  const QRect cell = w->PassGrid->visualItemRect(w->PassGrid->item(1, 0));
  QTest::mouseClick(w->PassGrid->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{PasswordEditor::celltexts[0]});

  // Entering a password through the grid.
  rig.prompts.clear();
  rig.prompts.inputs = {QStringLiteral("trims")};
  w->PassGrid_Click(4, 2);
  EXPECT_EQ(text(*w, 4, 1), QStringLiteral("trims   "));
  EXPECT_EQ(text(*w, 4, 6), QStringLiteral("Match"));
  EXPECT_FALSE(w->CommandRESET[3]->isEnabled());
}

TEST_F(PasswordsWindowTest, AResetThatClearsThePasswordsMapLocksNoMapAfterSavingAndReopening) {
  // Fragment 5 guards the passwords map itself, rows 0 to 7: its RESET destroys every fragment row, its own too.
  putrow(rig.mainmaps, 5, makerow({5, passwordsmap, passwordsmap, 0, 7, seedon}));
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  auto w = open();
  ASSERT_EQ(text(*w, 6, 8), QStringLiteral("Fragment ON"));
  rig.prompts.answers.push_back(Prompts::Answer::Ok);
  w->CommandRESET[5]->click();
  for (int i = 0; i < fragmentcount; ++i) ASSERT_EQ(readfragment(rig.mainmaps, i), FragmentRow{}) << i;
  w->Timer1_Timer();
  const auto nothingprotected = [&] {
    for (int map = 0; map < mapcount; ++map) EXPECT_EQ(rig.state.guards.rows(map), 0U) << map;
  };
  nothingprotected();
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(text(*w, r, 8), QStringLiteral("Fragment OFF")) << r;
  w.reset();

  // Saved and opened again, as a file open loads the fragments: map 0 keeps every row.
  const QString path = rig.folder.file(QStringLiteral("reset.s26"));
  ASSERT_TRUE(rig.mainmaps.savefile(path));
  ASSERT_TRUE(rig.mainmaps.openfile(path, true, false));
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  nothingprotected();
  w = open();
  w->Timer1_Timer();
  nothingprotected();
  for (int r = 1; r <= 8; ++r) {
    EXPECT_EQ(text(*w, r, 8), QStringLiteral("Fragment OFF")) << r;
    EXPECT_TRUE(w->CommandON[static_cast<std::size_t>(r - 1)]->isEnabled()) << r;
  }
}

TEST_F(PasswordsWindowTest, TheEcuStatusComesFromTheLivePollAndTheEnteredPasswordsGoToTheEcu) {
  rig.sim.pwmatchmask = 0x05;
  rig.connect();
  auto w = open();
  rig.state.pwentered[1] = QStringLiteral("abcdefgh");
  w->Timer1_Timer();
  rig.tick(60);  // plan 17: live site, live values, window data and two password rows per round
  for (int r = 1; r <= 8; ++r) {
    const bool match = r == 1 || r == 3;
    EXPECT_EQ(text(*w, r, 7), match ? QStringLiteral("Match") : QStringLiteral("No match")) << r;
    EXPECT_EQ(back(*w, r, 7), match ? passwordgrid::matchcolour : passwordgrid::nomatchcolour) << r;
  }
  // The ECU's RAM at 0x6800 holds the packed entered passwords.
  const PasswordSendTable table = buildsendtable(rig.state);
  for (int k = 0; k < 128; ++k)
    EXPECT_EQ(rig.sim.ram(0x6800 + k), table[static_cast<std::size_t>(k / 16)][static_cast<std::size_t>(k % 16)]) << k;
  EXPECT_EQ(rig.sim.ram(0x6800 + 11), 'a');
  EXPECT_EQ(rig.sim.ram(0x6800 + 16), 'f');
}

TEST_F(PasswordsWindowTest, TheWindowClosesAtItsThirdForeignTickAndAfterExit) {
  auto w = open();
  rig.state.livemode = 3;  // another window took the selector
  w->Timer1_Timer();
  w->Timer1_Timer();
  EXPECT_TRUE(w->isVisible());
  rig.state.livemode = 17;
  w->Timer1_Timer();  // not counted, and the count is not reset
  rig.state.livemode = 3;
  w->Timer1_Timer();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(rig.state.livemode, 3) << "the other window keeps its selector";

  auto exited = open();
  exited->mnuExit->trigger();
  EXPECT_EQ(rig.state.livemode, 0);
  exited->Timer1_Timer();
  exited->Timer1_Timer();
  EXPECT_TRUE(exited->isVisible());
  exited->Timer1_Timer();
  EXPECT_FALSE(exited->isVisible());
}

TEST_F(PasswordsWindowTest, HelpAndTheMissingFeature) {
  auto w = open();
  w->mnuOverview->trigger();
  w->mnuManaging->trigger();
  ASSERT_EQ(rig.prompts.messages().size(), 2u);
  EXPECT_TRUE(rig.prompts.messages()[0].startsWith(QStringLiteral("There are eight user selectable")));
  EXPECT_TRUE(rig.prompts.messages()[0].contains(QStringLiteral("is:\r\n\r\n      1. To prevent")));
  EXPECT_TRUE(rig.prompts.messages()[0].endsWith(QStringLiteral("\r\n\r\nNote: These functions are inseperable")));
  EXPECT_TRUE(rig.prompts.messages()[1].contains(QStringLiteral("upload from the ECU first to ensure")));
  w->close();

  ScriptedLauncher launcher;
  ScopedLauncher scoped(launcher);
  rig.prompts.clear();
  rig.state.pwincluded = false;
  frmPasswords::showmodal(rig.context, nullptr);
  EXPECT_TRUE(launcher.opened.empty());
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("This software version does not include password protection")});
  rig.state.pwincluded = true;
  frmPasswords::showmodal(rig.context, nullptr);
  EXPECT_EQ(launcher.opened, std::vector<QString>{QStringLiteral("frmPasswords")});
  EXPECT_EQ(rig.state.livemode, 0) << "given back on closing";
}

TEST_F(PasswordsWindowTest, TheParametersOpenForAMatchedFragmentAndTheGridShowsTheirChange) {
  auto w = open();
  ScriptedLauncher launcher;
  ScopedLauncher scoped(launcher);
  // Fragment 2 (reset, so matched) is pointed at the idle speed group, first row 1.
  launcher.scripts.push_back([](QDialog& dialog) {
    auto& params = dynamic_cast<frmPassParams&>(dialog);
    const auto found = params.NavView->findItems(QStringLiteral("(Applies) 2D Idle Speed Control"),
                                                 Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    params.NavView->setCurrentItem(found[0]);
    params.NavView_DblClick();
    params.Command1_Click();
  });
  w->PassGrid_Click(3, 4);
  EXPECT_EQ(launcher.opened, std::vector<QString>{QStringLiteral("frmPassParams")});
  EXPECT_EQ(w->pwediting(), 2);
  EXPECT_EQ(text(*w, 3, 3), QStringLiteral("2D Idle Speed Control"));
  EXPECT_EQ(text(*w, 3, 4), QStringLiteral("All"));

  // Not matched: refused, no dialog.
  rig.prompts.clear();
  w->PassGrid_Click(1, 3);
  EXPECT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{PasswordEditor::parameterstext});
}

// Fragment 5 guards record 3 (fragment 3's): its row shows nothing of the record, and neither its buttons nor its
// parameters change it; the keeper's password opens it all again.
TEST_F(PasswordsWindowTest, ARecordAnotherFragmentGuardsShowsBlankAndTakesNoChange) {
  putrow(rig.mainmaps, 5, makerow({5, passwordsmap, passwordsmap, 3, 3, seedon, QStringLiteral("keeper")}));
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  auto w = open();
  ScriptedLauncher launcher;
  ScopedLauncher scoped(launcher);
  for (int c : {3, 4, 5}) EXPECT_EQ(text(*w, 4, c), QString()) << c;
  EXPECT_EQ(text(*w, 4, 1), QStringLiteral("********"));
  EXPECT_EQ(text(*w, 4, 8), QStringLiteral("Fragment OFF"));
  savescreenshot(w.get(), QStringLiteral("passwords_guarded_record"));

  const FragmentRow before = readfragment(rig.mainmaps, 3);
  w->CommandON[3]->click();
  w->PassGrid_Click(4, 4);
  EXPECT_TRUE(launcher.opened.empty()) << "no parameters dialog";
  EXPECT_EQ(rig.prompts.messages(), (std::vector<QString>{protectedmaptext, protectedmaptext}));
  EXPECT_EQ(readfragment(rig.mainmaps, 3), before);
  EXPECT_EQ(text(*w, 4, 8), QStringLiteral("Fragment OFF"));

  rig.prompts.inputs = {QStringLiteral("keeper")};
  w->PassGrid_Click(6, 2);
  w->editor().timertick();
  w->refreshpasswordgrid();
  EXPECT_EQ(text(*w, 4, 3), QStringLiteral("2D Fuel Trims"));
  EXPECT_EQ(text(*w, 4, 5), QStringLiteral("1->1"));
  rig.prompts.clear();
  w->CommandON[3]->click();
  EXPECT_TRUE(rig.prompts.records.empty());
  EXPECT_EQ(text(*w, 4, 8), QStringLiteral("Fragment ON"));
}

}  // namespace
}  // namespace ostrel::test
