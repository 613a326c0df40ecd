// The settings editor offscreen: opening, the group walk, apply in every control kind, help mode, the menus, its
// closing and screenshots.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "calibration/cellguards.h"
#include "calibration/startuptables.h"
#include "editors/frmtpscalibrate.h"
#include "editors/settingslayout.h"
#include "editors/throttlecalibration.h"
#include "editorsfixture.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

constexpr int injectortrim = 176;  // (11, 0) "Injector 1 trim (%)": 0.5, -64
constexpr int closedloop = 133;    // (8, 5) "Closed loop enable"
constexpr int cylbank = 188;       // (11, 12) "Cyl bank", bit field 0
constexpr int leftsensor = 144;    // (9, 0) "Left module sensor source", Combo 0
constexpr int pwmaxis = 48;        // (3, 0) "PWM MAP 1 X-axis variable", ComboVariable 0
constexpr int triggeredge = 208;   // (13, 0) "Trigger active edge", ComboTriggerEdge 0: 16 items
constexpr int triggertype = 209;   // (13, 1) "Trigger type": the empty list
constexpr int synctype = 210;      // (13, 2) "Sync type": the empty list
constexpr int outputinj1 = 230;    // (14, 6) "Output INJ1 function", ComboOutput 0: 51 items
constexpr int aux1 = 32;           // map 111 (2, 0) "AUX1 configuration", ComboRequestType 0: 32 items
constexpr int rpmspread1 = 96;     // (6, 0) "Rpm spread 1"

class SettingsEditor : public ::testing::Test {
 protected:
  // Every check box of map 110 at 0 or 255, so that only a test's own bytes are unexpected.
  SettingsEditor() {
    const CellTable table = buildcelltable(rig.mainsettings, 110);
    for (int n = 0; n < 256; ++n)
      if (cellof(table.cells, n).type == 0 && rig.raw(110, n) != 0) rig.setraw(110, n, 255);
  }
  // The page's value controls and captions that are shown.
  static int shown(const std::vector<QLabel*>& captions) {
    int count = 0;
    for (const QLabel* c : captions) count += c->isVisible() ? 1 : 0;
    return count;
  }

  EditorRig rig;
};

TEST_F(SettingsEditor, OpensOnMapOneHundredTenWithTheFirstGroupLaidOut) {
  rig.state.windowticks = 7;
  auto window = rig.open(110);
  EXPECT_EQ(window->objectName(), QStringLiteral("frmSettings"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Settings"));
  EXPECT_EQ(rig.state.livemode, 3);
  EXPECT_EQ(rig.state.windowticks, 0);
  EXPECT_FALSE(window->helpmode());
  EXPECT_EQ(window->Timer1->interval(), 250);
  EXPECT_TRUE(window->Timer1->isActive());
  ASSERT_EQ(window->Combogroups->count(), 17);
  EXPECT_EQ(window->Combogroups->currentIndex(), 0);
  EXPECT_EQ(window->Combogroups->currentText(), QStringLiteral("ignition triggers"));
  EXPECT_EQ(window->size(), QSize(827, 560)) << "12400 x 8400 twips";

  // Group 0: the edge, trigger and sync combos and the text settings of row 13.
  ASSERT_EQ(window->placed().size(), 14u);
  EXPECT_EQ(shown(window->NameCaption), 14);
  EXPECT_EQ(window->NameCaption[208]->text(), QStringLiteral("Trigger active edge "));
  EXPECT_EQ(window->NameCaption[208]->pos(), QPoint(8, 40));
  EXPECT_TRUE(window->ComboTriggerEdge[0]->isVisible());
  EXPECT_FALSE(window->Text[0]->isVisible()) << "controls of other groups are hidden";
  EXPECT_FALSE(window->OptionTrue[0]->isVisibleTo(window.get()));

  // Menus.
  EXPECT_EQ(window->mnuSettings->title(), QStringLiteral("&Settings"));
  EXPECT_EQ(window->mnuExit->text(), QStringLiteral("E&xit"));
  EXPECT_EQ(window->mnuTPSCalibrate->text(), QStringLiteral("&TPS/PPS calibrate"));
  EXPECT_EQ(window->mnuViewLoadSpreads->text(), QStringLiteral("&Load spread tool"));
  EXPECT_EQ(window->mnuViewRpmSpreads->text(), QStringLiteral("&Rpm spread tool"));
  EXPECT_TRUE(window->mnuTPSCalibrate->isEnabled());
  EXPECT_TRUE(window->mnuViewLoadSpreads->isEnabled());
  EXPECT_TRUE(window->mnuViewRpmSpreads->isEnabled());

  // The live request table and the smoothing weights of the panel.
  EXPECT_EQ(rig.link.requesttable(LiveTable::log)[0][2], 0x00);
  EXPECT_EQ(rig.link.requesttable(LiveTable::log)[0][3], 0x92);
}

TEST_F(SettingsEditor, WalksAllGroupsForwardAndBack) {
  auto window = rig.open(110);
  std::vector<int> counts;
  for (int step = 0; step < 17; ++step) {
    if (step > 0) window->Command2->click();
    ASSERT_EQ(window->Combogroups->currentIndex(), step);
    const auto& placed = window->placed();
    counts.push_back(static_cast<int>(placed.size()));
    EXPECT_EQ(shown(window->NameCaption), static_cast<int>(placed.size())) << "group " << step;
    for (const PlacedCell& p : placed) {
      EXPECT_EQ(window->cell(p.cell).group, step);
      EXPECT_TRUE(window->Command[static_cast<std::size_t>(p.cell)]->isVisible());
    }
  }
  EXPECT_EQ(counts, (std::vector<int>{14, 9, 10, 14, 6, 6, 7, 17, 12, 1, 31, 31, 2, 24, 32, 16, 4}));
  window->Command2->click();
  EXPECT_EQ(window->Combogroups->currentIndex(), 16) << "\">\" on the last group changes nothing";
  for (int step = 15; step >= 0; --step) {
    window->Command1->click();
    EXPECT_EQ(window->Combogroups->currentIndex(), step);
    EXPECT_EQ(static_cast<int>(window->placed().size()), counts[static_cast<std::size_t>(step)]);
  }
  window->Command1->click();
  EXPECT_EQ(window->Combogroups->currentIndex(), 0);
}

TEST_F(SettingsEditor, AppliesATextValueAndShowsWhatWasStored) {
  auto window = rig.open(110);
  QLineEdit* box = window->textofcell(injectortrim);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box, window->Text[window->cell(injectortrim).index]);
  struct Case {
    const char* typed;
    int raw;
    const char* shown;
  };
  for (const Case& c : {Case{"10", 148, "10.0"}, Case{"-70", 0, "-64.0"}, Case{"100", 255, "63.5"}}) {
    box->setText(regional(QString::fromLatin1(c.typed)));
    window->Command[injectortrim]->click();
    EXPECT_EQ(rig.raw(110, injectortrim), c.raw) << c.typed;
    EXPECT_EQ(box->text(), regional(QString::fromLatin1(c.shown)));
  }
  EXPECT_TRUE(rig.mainmaps.getchange(110, 11, 0));
  EXPECT_TRUE(rig.prompts.messages().empty());
  EXPECT_EQ(rig.link.transferqueue().records[0].op, 0) << "nothing is queued offline";
}

TEST_F(SettingsEditor, RefusesWhatIsNoValueAndStoresNothing) {
  rig.setraw(110, 0, 100);  // user 1 compares variable 100, which has no scale: its value cell's multiplier is 0
  auto window = rig.open(110);
  const std::uint8_t trim = rig.raw(110, injectortrim);
  QLineEdit* box = window->textofcell(injectortrim);
  box->setText(QStringLiteral("abc"));
  window->Command[injectortrim]->click();
  EXPECT_EQ(rig.raw(110, injectortrim), trim);
  EXPECT_FALSE(rig.mainmaps.getchange(110, 11, 0));
  EXPECT_EQ(box->text(), QStringLiteral(" "));
  ASSERT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("The value is not valid"));
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);

  const std::uint8_t user1 = rig.raw(110, 16);
  window->textofcell(16)->setText(QStringLiteral("3"));
  window->Command[16]->click();
  EXPECT_EQ(rig.raw(110, 16), user1);
  EXPECT_EQ(rig.prompts.messages().back(), QStringLiteral("The value is not valid"));
}

TEST_F(SettingsEditor, ACheckBoxWithAnUnexpectedByteIsRedUntilApplied) {
  rig.setraw(110, closedloop, 128);
  auto window = rig.open(110);
  ASSERT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("Text box setting error: Closed loop enable"));
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Critical);
  QCheckBox* box = window->Check[window->cell(closedloop).index];
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(box->autoFillBackground());
  EXPECT_EQ(box->palette().color(QPalette::Window), QColor(255, 0, 0));

  window->Command[closedloop]->click();
  EXPECT_EQ(rig.raw(110, closedloop), 255);
  EXPECT_FALSE(box->autoFillBackground());
  box->setChecked(false);
  window->Command[closedloop]->click();
  EXPECT_EQ(rig.raw(110, closedloop), 0);
}

TEST(SettingsEditorShipped, TheShippedCalibrationReportsOnlyCheckBoxesWithUnexpectedBytes) {
  EditorRig rig;
  const CellTable table = buildcelltable(rig.mainsettings, 110);
  std::vector<QString> expected;
  for (int n = 0; n < 256; ++n) {
    const std::uint8_t raw = rig.raw(110, n);
    if (cellof(table.cells, n).type == 0 && raw != 0 && raw != 255)
      expected.push_back(QStringLiteral("Text box setting error: ") + rig.mainsettings.getdisplaystring(0, n / 16, n % 16));
  }
  auto window = rig.open(110);
  EXPECT_EQ(rig.prompts.messages(), expected);
}

TEST_F(SettingsEditor, CombosShowTheirByteAndStoreThePickedItem) {
  rig.setraw(110, leftsensor + 1, 3);
  rig.setraw(110, pwmaxis + 1, 127);
  auto window = rig.open(110);
  EXPECT_EQ(window->Combo[1]->currentText(), QStringLiteral("UEGO AFR TARGET"));
  EXPECT_TRUE(rig.prompts.records.empty());
  EXPECT_EQ(window->ComboVariable[1]->currentIndex(), 127);
  EXPECT_EQ(window->ComboVariable[0]->count(), 128);
  EXPECT_EQ(window->ComboUser[0]->count(), 256);
  EXPECT_EQ(window->ComboTrigger[0]->count(), 0);

  window->ComboVariable[0]->setCurrentIndex(10);
  window->Command[pwmaxis]->click();
  EXPECT_EQ(rig.raw(110, pwmaxis), 10);
}

// A combo whose stored byte has no item in its list (the list is empty, or the byte lies past its end) shows no
// item, and an untouched "Enter" keeps the byte, also while connected, and says so; showing another item there would
// have it stored over the byte (an output function of 60 would become ON). An item the tuner picks is stored.
TEST_F(SettingsEditor, ACombosByteWithoutAnItemIsShownAsNoneAndKept) {
  struct Case {
    const char* name;
    int map, n, raw;
    QString loaderror;  // what opening says of the byte
  };
  const Case cases[] = {
      {"trigger type, an empty list", 110, triggertype, 0, {}},
      {"sync type, an empty list", 110, synctype, 2, {}},
      {"type 2 past its four items", 110, leftsensor, 4, QStringLiteral("Combo: 0 load error")},
      {"type 6 past its 128 variables", 110, pwmaxis, 128, {}},
      {"type 8 past its 16 edges", 110, triggeredge, 16, {}},
      {"type 11 past its 51 functions", 110, outputinj1, 60, {}},
      {"type 12 past its 32 configurations", 111, aux1, 200, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int row = c.n / 16;
    const int column = c.n % 16;
    rig.setraw(c.map, c.n, c.raw);
    rig.mainmaps.clearchange();
    LinkProbe::queue(rig.link).clear();
    rig.state.online = false;
    rig.prompts.clear();
    auto window = rig.open(c.map);
    const SettingCell& cell = window->cell(c.n);
    QComboBox* box = window->combos(controlkind(cell.type))[cell.index];
    EXPECT_EQ(box->currentIndex(), -1);
    EXPECT_TRUE(box->currentText().isEmpty());
    EXPECT_EQ(rig.prompts.messages(), c.loaderror.isEmpty() ? std::vector<QString>{} : std::vector<QString>{c.loaderror});

    rig.state.online = true;
    rig.prompts.clear();
    window->Command[c.n]->click();
    EXPECT_EQ(rig.raw(c.map, c.n), c.raw);
    EXPECT_FALSE(rig.mainmaps.getchange(c.map, row, column));
    EXPECT_TRUE(queuedwrites(rig.link).rows.empty());
    EXPECT_EQ(rig.prompts.messages(),
              std::vector<QString>{QStringLiteral("No choice in this list matches the stored value; it is kept")});
    EXPECT_TRUE(!rig.prompts.records.empty() && rig.prompts.records[0].icon == Prompts::Icon::Information);
    EXPECT_EQ(box->currentIndex(), -1) << "still no item";
    if (c.n == outputinj1) {
      window->Combogroups->setCurrentIndex(cell.group);
      savescreenshot(window.get(), QStringLiteral("settings_combo_without_item"));
    }

    if (box->count() == 0) continue;  // nothing to pick
    const int picked = box->count() - 1;
    box->setCurrentIndex(picked);
    window->Command[c.n]->click();
    EXPECT_EQ(rig.raw(c.map, c.n), picked);
    EXPECT_TRUE(rig.mainmaps.getchange(c.map, row, column));
    EXPECT_EQ(queuedwrites(rig.link).rows, std::vector<int>{rig.mainmaps.getbufferrow(c.map, row, column)});
    EXPECT_EQ(rig.prompts.records.size(), 1u);
  }
}

TEST_F(SettingsEditor, ABitFieldShowsAndStoresOneBitPerPair) {
  rig.setraw(110, cylbank, 129);
  auto window = rig.open(110);
  const int base = window->cell(cylbank).index;
  ASSERT_EQ(base, 0);
  EXPECT_EQ(window->FrameTrueFalse.size(), 32u);
  for (int k = 0; k < 8; ++k) {
    const bool set = k == 0 || k == 7;
    EXPECT_EQ(window->OptionTrue[static_cast<std::size_t>(k)]->isChecked(), set) << k;
    EXPECT_EQ(window->OptionFalse[static_cast<std::size_t>(k)]->isChecked(), !set) << k;
    EXPECT_EQ(window->OptionTrue[static_cast<std::size_t>(k)]->parentWidget(),
              window->FrameTrueFalse[static_cast<std::size_t>(k)]);
  }
  EXPECT_EQ(window->OptionTrue[0]->text(), QStringLiteral("Cyl 1 left"));
  EXPECT_EQ(window->OptionFalse[7]->text(), QStringLiteral("Cyl 8 right"));
  window->OptionTrue[0]->setChecked(false);
  window->OptionFalse[0]->setChecked(true);
  window->OptionTrue[3]->setChecked(true);
  window->Command[cylbank]->click();
  EXPECT_EQ(rig.raw(110, cylbank), 0x11);
}

TEST_F(SettingsEditor, ValueCellsFollowTheVariableTheirSelectorNames) {
  rig.setraw(110, 3, 129);  // user 4 on the air-fuel ratio (with the top bit)
  rig.setraw(110, 19, 100);
  rig.state.preferences.fueltype = 1;
  auto window = rig.open(110);
  EXPECT_FLOAT_EQ(window->cell(19).mul, 0.147f);
  EXPECT_EQ(window->textofcell(19)->text(), regional(QStringLiteral("14.7")));

  window->ComboUser[3]->setCurrentIndex(2);  // engine speed, 50 rpm a count
  window->Command[3]->click();
  EXPECT_EQ(rig.raw(110, 3), 2);
  EXPECT_FLOAT_EQ(window->cell(19).mul, 50.0f);
  EXPECT_EQ(window->textofcell(19)->text(), QStringLiteral("5000"));
  EXPECT_EQ(rig.raw(110, 19), 100) << "the value cell's own byte stays";
}

TEST_F(SettingsEditor, OnlineAnApplyQueuesItsRowAfterTheBlockTable) {
  auto window = rig.open(110);
  rig.state.online = true;
  window->textofcell(injectortrim)->setText(regional(QStringLiteral("10")));
  window->Command[injectortrim]->click();
  const auto& records = rig.link.transferqueue().records;
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(records[static_cast<std::size_t>(k)].op, 0x80);
    EXPECT_EQ(records[static_cast<std::size_t>(k)].addresshigh * 256 + records[static_cast<std::size_t>(k)].addresslow,
              0x5680 + 16 * k);
  }
  const int row = rig.mainmaps.getbufferrow(110, 11, 0);
  const TransferRecord& write = records[8];
  EXPECT_EQ(write.op, 0x81);
  EXPECT_EQ(write.addresshigh * 256 + write.addresslow, 0x8000 + 16 * row);
  EXPECT_EQ(std::vector<std::uint8_t>(write.data.begin(), write.data.end()), rig.modelrow(row));
  EXPECT_EQ(records[9].op, 0) << "one row, nothing more";
}

TEST_F(SettingsEditor, HelpModeShowsHelpAndStoresNothing) {
  auto window = rig.open(110);
  window->Command3->click();
  EXPECT_TRUE(window->helpmode());
  for (const QPushButton* enter : window->Command) ASSERT_EQ(enter->text(), QStringLiteral("Help"));
  const std::uint8_t before = rig.raw(110, injectortrim);
  window->textofcell(injectortrim)->setText(QStringLiteral("10"));
  window->Command[injectortrim]->click();
  EXPECT_EQ(rig.raw(110, injectortrim), before);
  ASSERT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_EQ(rig.prompts.records[0].text, settinghelptext(injectortrim));
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_TRUE(rig.prompts.records[0].title.isEmpty()) << "the program's title";
  // A group laid out while help is on shows "Help" on each of its buttons.
  window->Combogroups->setCurrentIndex(7);  // "injection"
  ASSERT_FALSE(window->placed().empty());
  for (const PlacedCell& p : window->placed()) {
    const QPushButton* enter = window->Command[static_cast<std::size_t>(p.cell)];
    EXPECT_TRUE(enter->isVisible()) << p.cell;
    EXPECT_EQ(enter->text(), QStringLiteral("Help")) << p.cell;
  }
  savescreenshot(window.get(), QStringLiteral("settings_group7_helpmode"));
  window->Command3->click();
  for (const QPushButton* enter : window->Command) ASSERT_EQ(enter->text(), QStringLiteral("Enter"));
}

TEST_F(SettingsEditor, HelpPastTheHelpTableShowsTheFallback) {
  auto window = rig.open(113);
  window->Command3->click();
  window->Command_Click(5);  // (113 - 110) x 256 + 5 lies past the 512 texts
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{QStringLiteral("No help available")});
}

TEST_F(SettingsEditor, AMapWithoutSettingsGetsCaptionsAndNoControls) {
  auto window = rig.open(112);
  EXPECT_EQ(window->Combogroups->count(), 16);
  EXPECT_EQ(window->Combogroups->itemText(0), QStringLiteral("***"));
  EXPECT_EQ(window->NameCaption.size(), 256u);
  EXPECT_EQ(window->Command.size(), 256u);
  EXPECT_EQ(window->NameCaption[0]->text(), QStringLiteral("*** "));
  EXPECT_TRUE(window->Text.empty());
  EXPECT_TRUE(window->Check.empty());
  EXPECT_TRUE(window->FrameTrueFalse.empty());
  for (int kind = 0; kind < controlkindcount; ++kind) EXPECT_TRUE(window->combos(static_cast<ControlKind>(kind)).empty());
  for (int step = 0; step < 16; ++step) {
    EXPECT_TRUE(window->placed().empty());
    window->Command2->click();
  }
  EXPECT_EQ(shown(window->NameCaption), 0);
  EXPECT_TRUE(rig.prompts.messages().empty());
  window->Command_Click(0);  // a cell without a setting stores nothing
  EXPECT_FALSE(rig.mainmaps.getchange(112, 0, 0));
}

TEST_F(SettingsEditor, AModalRunAppliesARpmSpreadAndExitRecalculatesAndClosesFiveTicksLater) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  rig.state.curmap = 110;
  const QString before = rig.mainmaps.getscalestringX(0, true);
  bool stillopen = false;
  QString afterapply;
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = dynamic_cast<frmSettings&>(dialog);
    for (int step = 0; step < 17; ++step) window.Command2->click();
    EXPECT_EQ(window.Combogroups->currentIndex(), 16);
    for (int step = 0; step < 6; ++step) window.Command1->click();
    ASSERT_EQ(window.Combogroups->currentText(), QStringLiteral("grid rpm spread"));
    QLineEdit* spread = window.textofcell(rpmspread1);
    spread->setText(QString::number(rig.raw(110, rpmspread1) + 10));
    window.Command[rpmspread1]->click();
    afterapply = rig.mainmaps.getscalestringX(0, true);
    window.mnuExit->trigger();
    EXPECT_EQ(rig.state.livemode, 0);
    EXPECT_EQ(rig.host.navtrees, 1) << "the tree is rebuilt at once";
    for (int tick = 0; tick < 4; ++tick) window.Timer1_Timer();
    stillopen = window.isVisible();
    window.Timer1_Timer();
  });
  frmSettings::showmodal(rig.context, nullptr);
  ASSERT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmSettings")});
  EXPECT_EQ(afterapply, before) << "an apply alone does not move the axes";
  EXPECT_NE(rig.mainmaps.getscalestringX(0, true), before) << "Exit recalculated the axes";
  EXPECT_TRUE(stillopen);
  EXPECT_EQ(rig.state.windowticks, 5);
  EXPECT_EQ(rig.host.navtrees, 2) << "closing rebuilds the tree again";
  EXPECT_EQ(rig.state.livemode, 0);
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral(
                "The load or rpm spread has changed, do you wish to recalculate the affected 3D maps?")})
      << "the changed spread is found when the window unloads, not at Exit";
  EXPECT_TRUE(rig.mainmaps.getchange(8, 0, 0)) << "the 3-D maps were re-gridded";
}

TEST_F(SettingsEditor, ClosingGivesTheSelectorBackOnlyWhileItIsStillItsOwn) {
  {
    auto window = rig.open(110);
    window->close();
    EXPECT_EQ(rig.state.livemode, 0);
    EXPECT_EQ(rig.host.navtrees, 1);
    EXPECT_FALSE(window->Timer1->isActive());
  }
  auto window = rig.open(110);
  const std::uint8_t modes[] = {18, 3, 18, 3, 18, 18};  // own ticks neither count nor reset the count
  for (std::uint8_t mode : modes) {
    rig.state.livemode = mode;
    window->Timer1_Timer();
  }
  EXPECT_EQ(rig.state.windowticks, 4);
  EXPECT_TRUE(window->isVisible());
  window->Timer1_Timer();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(rig.state.livemode, 18) << "the window that took the selector keeps it";
  EXPECT_EQ(rig.host.navtrees, 2);
}

TEST_F(SettingsEditor, OnlyASettingsMapOpensTheEditor) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  rig.state.curmap = 40;
  frmSettings::showmodal(rig.context, nullptr);
  EXPECT_TRUE(scripted.opened.empty());
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(SettingsEditor, ThrottleCalibrationNeedsTheEcuAndMapOneHundredTen) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  auto window = rig.open(110);
  window->mnuTPSCalibrate->trigger();
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("This tool is not available when the ECU is not connected")});
  window.reset();
  rig.state.online = true;
  rig.prompts.clear();
  window = rig.open(111);
  window->mnuTPSCalibrate->trigger();
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("This tool does not apply to any setting within this setting group")});
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_TRUE(scripted.opened.empty());
}

TEST_F(SettingsEditor, ThrottleCalibrationAppliesTheLiveReadings) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  auto window = rig.open(110);
  rig.state.online = true;
  RxFrame frame{};
  frame[0] = 0;   // pedal at rest
  frame[1] = 23;  // throttle at rest
  window->settingstypedata(frame);
  EXPECT_EQ(rig.state.livepps, 0);
  EXPECT_EQ(rig.state.livetps, 23);
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& tps = dynamic_cast<frmTPSCalibrate&>(dialog);
    EXPECT_EQ(tps.windowTitle(), QStringLiteral("Calibrate TPS/PPS"));
    EXPECT_EQ(tps.Label1->text(), QStringLiteral("Accelerator pedal at REST"));
    EXPECT_EQ(tps.Command1->text(), QStringLiteral("Calibrate zero TPS"));
    EXPECT_EQ(tps.Command2->text(), QStringLiteral("Calibrate zero PPS"));
    EXPECT_EQ(tps.Label2->text(), QStringLiteral("Accelerator pedal FULLY DEPRESSED"));
    EXPECT_EQ(tps.Command3->text(), QStringLiteral("Calibrate wide open TPS"));
    savescreenshot(&tps, QStringLiteral("settings_tpscalibrate"));
    tps.Command1->click();
    tps.Command2->click();
    tps.Command3->click();
  });
  window->mnuTPSCalibrate->trigger();
  ASSERT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmTPSCalibrate")});
  EXPECT_EQ(window->Combogroups->currentIndex(), 6) << "\"throttle setup\" is shown";
  EXPECT_EQ(rig.raw(110, 142), 25);
  EXPECT_EQ(window->textofcell(142)->text(), QStringLiteral("25"));
  EXPECT_EQ(rig.raw(110, 148), 0);
  EXPECT_EQ(rig.raw(110, 154), 23);
  EXPECT_EQ(rig.link.transferqueue().lastqueuedtransfer(), 3 * 9 - 1) << "three rows, each after the block table";

  // A reading of 254 applies what the box holds; in help mode nothing is stored.
  frame[1] = 254;
  window->settingstypedata(frame);
  window->textofcell(142)->setText(QStringLiteral("30"));
  scripted.scripts.push_back([](QDialog& dialog) { dynamic_cast<frmTPSCalibrate&>(dialog).Command1->click(); });
  window->mnuTPSCalibrate->trigger();
  EXPECT_EQ(rig.raw(110, 142), 30);
  window->Command3->click();
  scripted.scripts.push_back([](QDialog& dialog) { dynamic_cast<frmTPSCalibrate&>(dialog).Command3->click(); });
  window->mnuTPSCalibrate->trigger();
  EXPECT_EQ(rig.raw(110, 154), 23);
  EXPECT_EQ(rig.prompts.messages().back(), settinghelptext(154));
}

// --- What the page and the live panel show ---------------------------------------------------------------------

constexpr int vctsetup = 219;  // (13, 11) "VCT setup", a bit field of group 3

// A point of the page given in twips, as the window places it.
QPoint px(int xtwips, int ytwips) {
  return {twipstopixels(xtwips), twipstopixels(ytwips)};
}

// A window-data reply for the live panel, its values already smoothed in, so that each box shows its byte.
void showreply(EcuLink& link, frmSettings& window, std::uint8_t throttle = 34) {
  const std::uint8_t bytes[16] = {12, throttle, 147, 110, 65, 1, 2, 3, 4, 5, 6, 88, 0, 0, 0, 0};
  RxFrame frame{};
  std::copy(std::begin(bytes), std::end(bytes), frame.begin());
  link.smoothlivevalues(frame, true);
  window.settingstypedata(frame);
}

// The dark pixels of a part of an image: printed text on a light face.
int darkpixels(const QImage& image, const QRect& part) {
  int n = 0;
  for (int y = part.top(); y <= part.bottom(); ++y)
    for (int x = part.left(); x <= part.right(); ++x) n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  return n;
}

// What a box of the live panel reads: name, value (C locale, padded) and units.
struct BoxText {
  const char* name;
  const char* value;
  const char* units;
};

// The boxes after showreply's reply (fuel type 1), in each unit system: the temperatures, the decimals of the
// mixture and the units of temperature and speed differ.
constexpr BoxText metricboxes[16] = {
    {"PPSM", "  12", "(n)"}, {"TPSM", "  34", "(n)"}, {"AFR / L", "21.61", "(ratio)"}, {"CTS", "  90", "(C)"},
    {"ATS", "  45", "(C)"},  {"AUX1", "   1", "(n)"}, {"AUX2", "   2", "(n)"},         {"AUX3", "   3", "(n)"},
    {"AUX4", "   4", "(n)"}, {"AUX5", "   5", "(n)"}, {"AUX6", "   6", "(n)"},         {"VSS", "  88", "(kph)"},
    {"***", "   0", "(n)"},  {"***", "   0", "(n)"},  {"***", "   0", "(n)"},          {"***", "   0", "(n)"}};
constexpr BoxText imperialboxes[16] = {
    {"PPSM", "  12", "(n)"}, {"TPSM", "  34", "(n)"}, {"AFR / L", "21.6", "(ratio)"}, {"CTS", " 194", "(F)"},
    {"ATS", " 113", "(F)"},  {"AUX1", "   1", "(n)"}, {"AUX2", "   2", "(n)"},        {"AUX3", "   3", "(n)"},
    {"AUX4", "   4", "(n)"}, {"AUX5", "   5", "(n)"}, {"AUX6", "   6", "(n)"},        {"VSS", "  88", "(mph)"},
    {"***", "   0", "(n)"},  {"***", "   0", "(n)"},  {"***", "   0", "(n)"},         {"***", "   0", "(n)"}};

// Draws box i over the panel as it must read, in the panel's colour, fonts and places: the panel's picture stays as
// it was exactly when the box already read these texts.
void drawbox(PictureSurface& panel, int i, const BoxText& text) {
  const double x0 = 1490 * (i % 8), y0 = 500 * (i / 8);
  panel.fillbox(x0 + 30, y0 + 80, x0 + 1450, y0 + 330, 0x80A0B0);
  const struct {
    double x;
    QString text;
    const char* font;
    int points;
    bool bold;
  } prints[] = {{100, QString::fromLatin1(text.name), "arial narrow", 8, false},
                {620, regional(QString::fromLatin1(text.value)), "arial", 10, true},
                {1100, QString::fromLatin1(text.units), "arial narrow", 8, false}};
  for (const auto& p : prints) {
    panel.setfont(QString::fromLatin1(p.font), p.points, p.bold, false);
    panel.currentx = x0 + p.x;
    panel.currenty = y0 + 100;
    panel.print(p.text);
  }
}

TEST_F(SettingsEditor, TheLivePanelShowsEachValueOfAReplyInItsOwnBox) {
  for (const bool metric : {true, false}) {
    SCOPED_TRACE(metric ? "metric" : "imperial");
    rig.state.preferences.metricunits = metric;
    auto window = rig.open(110);
    showreply(rig.link, *window);
    const QImage& panel = window->PicSetting->image();
    const QRgb boxcolour = qRgb(176, 160, 128);
    const auto colourat = [&](int x, int y) { return panel.pixel(px(x, y)) & 0xFFFFFF; };
    // Box i: column i mod 8, line i / 8, each with its name, value and units printed on it.
    const auto part = [](int i, int left, int right) {
      const int x0 = 1490 * (i % 8), y0 = 500 * (i / 8);
      return QRect(px(x0 + left, y0 + 80), px(x0 + right, y0 + 330));
    };
    std::vector<QImage> boxes;
    for (int i = 0; i < 16; ++i) {
      const int x0 = 1490 * (i % 8), y0 = 500 * (i / 8);
      EXPECT_EQ(colourat(x0 + 40, y0 + 90), boxcolour & 0xFFFFFF) << i;
      EXPECT_EQ(colourat(x0 + 1440, y0 + 320), boxcolour & 0xFFFFFF) << i;
      EXPECT_NE(colourat(x0 + 1485, y0 + 200), boxcolour & 0xFFFFFF) << i << ": boxes stand apart";
      EXPECT_GT(darkpixels(panel, part(i, 100, 600)), 0) << i << " name";
      EXPECT_GT(darkpixels(panel, part(i, 620, 1090)), 0) << i << " value";
      EXPECT_GT(darkpixels(panel, part(i, 1100, 1450)), 0) << i << " units";
      boxes.push_back(panel.copy(part(i, 30, 1450)));
    }

    // Each box reads its entry's name, value and units in the unit system the program is set to.
    for (int i = 0; i < 16; ++i) {
      const BoxText& text = (metric ? metricboxes : imperialboxes)[i];
      drawbox(*window->PicSetting, i, text);
      EXPECT_EQ(panel.copy(part(i, 30, 1450)), boxes[static_cast<std::size_t>(i)])
          << i << " does not read \"" << text.name << "\" \"" << text.value << "\" \"" << text.units << "\"";
      window->PicSetting->paintpicture(boxes[static_cast<std::size_t>(i)], 1490 * (i % 8) + 30, 500 * (i / 8) + 80);
    }

    // A reply that differs only in the throttle byte redraws the throttle's box, entry 1, and no other.
    showreply(rig.link, *window, 200);
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(panel.copy(part(i, 30, 1450)) == boxes[static_cast<std::size_t>(i)], i != 1) << i;
  }
}

// Group 3 fills its first column with twelve lines, so its bit field would start at 4860, below 8400 - 4000: it
// starts a column of its own at (5000, 565), eight frames one under the other, each pair one bit, the top bit first.
TEST_F(SettingsEditor, ABitFieldTooLowForItsColumnShowsItsBitsAtTheTopOfANewOne) {
  rig.setraw(110, vctsetup, 0x1E);  // bits 4 to 1 set: pairs 3 to 6
  auto window = rig.open(110);
  showreply(rig.link, *window);
  window->Combogroups->setCurrentIndex(3);
  ASSERT_EQ(window->Combogroups->currentText(), QStringLiteral("ignition and rpm limits"));
  const std::vector<PlacedCell>& placed = window->placed();
  ASSERT_EQ(placed.size(), 14u);
  ASSERT_EQ(placed[12].cell, vctsetup);
  for (int k = 0; k < 12; ++k)
    EXPECT_EQ(window->NameCaption[static_cast<std::size_t>(placed[k].cell)]->pos(), px(120, 600 + 355 * k)) << k;

  EXPECT_EQ(window->NameCaption[vctsetup]->pos(), px(5000, 565));
  EXPECT_TRUE(window->Command[vctsetup]->isVisible());
  EXPECT_EQ(window->Command[vctsetup]->pos(), px(5000 + 5980, 565));
  const int base = window->cell(vctsetup).index;
  for (int k = 0; k < 8; ++k) {
    const auto i = static_cast<std::size_t>(base + k);
    EXPECT_TRUE(window->FrameTrueFalse[i]->isVisible()) << k;
    EXPECT_EQ(window->FrameTrueFalse[i]->pos(), px(5000 + 2340, 565 - 90 + 360 * k)) << k;
    const bool set = k >= 3 && k <= 6;
    EXPECT_TRUE(window->OptionTrue[i]->isVisible()) << k;
    EXPECT_EQ(window->OptionTrue[i]->isChecked(), set) << k;
    EXPECT_EQ(window->OptionFalse[i]->isChecked(), !set) << k;
  }
  // The eight lines are the bit field's advance: the next cell comes below them.
  EXPECT_EQ(window->NameCaption[static_cast<std::size_t>(placed[13].cell)]->pos(), px(5000, 565 + 8 * 360));
  savescreenshot(window.get(), QStringLiteral("settings_group3_bitfield"));
}

// User logic: the sixteen type selectors fill the first column; the one at 5925 passes the limit of its kind, so the
// sixteen values that follow them start a column at 6200.
TEST_F(SettingsEditor, UserLogicShowsItsTypesThenTheirValuesInASecondColumn) {
  auto window = rig.open(110);
  showreply(rig.link, *window);
  window->Combogroups->setCurrentIndex(14);
  ASSERT_EQ(window->Combogroups->currentText(), QStringLiteral("user logic (single, AND)"));
  ASSERT_EQ(window->placed().size(), 32u);
  for (int k = 0; k < 16; ++k) {
    const auto type = static_cast<std::size_t>(k), value = static_cast<std::size_t>(16 + k);
    const int y = 600 + 355 * k;
    EXPECT_EQ(window->NameCaption[type]->pos(), px(120, y)) << k;
    QComboBox* selector = window->ComboUser[window->cell(k).index];
    EXPECT_TRUE(selector->isVisible()) << k;
    EXPECT_EQ(selector->pos(), px(120 + 2320, y - 20)) << k;
    EXPECT_EQ(window->Command[type]->pos(), px(120 + 4860, y)) << k;
    EXPECT_EQ(window->NameCaption[value]->pos(), px(6200, y)) << k;
    QLineEdit* box = window->textofcell(16 + k);
    ASSERT_NE(box, nullptr) << k;
    EXPECT_TRUE(box->isVisible()) << k;
    EXPECT_EQ(box->pos(), px(6200 + 2320, y - 30)) << k;
    EXPECT_EQ(window->Command[value]->pos(), px(6200 + 3080, y - 10)) << k;
  }
  savescreenshot(window.get(), QStringLiteral("settings_group14_userlogic"));
}

// --- Under a password guard ----------------------------------------------------------------------------------------

class GuardedSettings : public SettingsEditor {
 protected:
  // Fragments over rows of map 110, read in as a calibration opens; their guards add up.
  void guardrows(std::vector<std::pair<int, int>> ranges) {
    std::vector<Fragment> fragments;
    for (const auto& [first, last] : ranges)
      fragments.push_back({static_cast<int>(fragments.size()), 110, allmapsingroup, first, last});
    putfragments(rig.mainmaps, fragments);
    loadpasswordfragments(rig.mainmaps, rig.state, true);
  }
  void enterpasswords() {
    for (QString& entered : rig.state.pwentered) entered = padpassword(QStringLiteral("secret"));
    refreshmatches(rig.mainmaps, rig.state);
    applymapprotection(rig.mainmaps, rig.state);
  }
  // The value control of a cell (a bit field's first frame) and whether it shows a value.
  static QWidget* control(frmSettings& w, int n) {
    const SettingCell& c = w.cell(n);
    switch (controlkind(c.type)) {
      case ControlKind::check:
        return w.Check[c.index];
      case ControlKind::text:
        return w.Text[c.index];
      case ControlKind::bits:
        return w.FrameTrueFalse[c.index];
      default:
        return w.combos(controlkind(c.type))[c.index];
    }
  }
  static bool showsvalue(frmSettings& w, int n) {
    const SettingCell& c = w.cell(n);
    switch (controlkind(c.type)) {
      case ControlKind::check:
        return w.Check[c.index]->isChecked();
      case ControlKind::text:
        return !w.Text[c.index]->text().isEmpty();
      case ControlKind::bits:
        for (int k = 0; k < 8; ++k) {
          const auto i = static_cast<std::size_t>(c.index + k);
          if (w.OptionTrue[i]->isChecked() || w.OptionFalse[i]->isChecked()) return true;
        }
        return false;
      default:
        return w.combos(controlkind(c.type))[c.index]->currentIndex() >= 0;
    }
  }
};

constexpr int knockretard = 136;  // (8, 8) "Maximum knock retard", text
constexpr int closedpedal = 148;  // (9, 4) "Closed pedal calibration", text

// Rows 3, 8 and 11 guarded by three fragments: a setting of every kind there shows no value, takes none and refuses
// its "Enter" with the grid's message, without load errors that would tell of its byte; the settings of the other
// rows show and apply as before. Once the passwords are entered everything shows again on the next opening.
TEST_F(GuardedSettings, GuardedSettingsShowNothingAndRefuseTheRestWork) {
  guardrows({{3, 3}, {8, 8}, {11, 11}});
  rig.setraw(110, closedloop, 128);  // a check box's unexpected byte
  rig.setraw(110, pwmaxis, 7);
  rig.setraw(110, cylbank, 129);
  rig.setraw(110, closedpedal, 40);
  rig.state.online = true;
  auto window = rig.open(110);
  EXPECT_TRUE(rig.prompts.messages().empty()) << "no load error of a guarded setting";
  // "throttle setup": guarded settings of row 8 beside open ones of rows 2 and 9; "closed loop control": a guarded
  // check box, text box and bit field beside open combos.
  window->Combogroups->setCurrentIndex(6);
  EXPECT_TRUE(window->textofcell(throttlecells::zerotps)->isVisible());
  savescreenshot(window.get(), QStringLiteral("settings_guarded_throttlesetup"));
  window->Combogroups->setCurrentIndex(4);
  savescreenshot(window.get(), QStringLiteral("settings_guarded_closedloop"));

  const int guarded[] = {closedloop, knockretard, injectortrim, cylbank, pwmaxis};  // check, text x 2, bits, combo
  CalibrationImage before = rig.mainmaps.getimage();
  for (const int n : guarded) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(window->guarded(n));
    EXPECT_FALSE(showsvalue(*window, n));
    EXPECT_FALSE(control(*window, n)->isEnabled());
    // Whatever the control is made to hold, "Enter" stores nothing.
    if (QLineEdit* box = window->textofcell(n)) box->setText(QStringLiteral("10"));
    if (n == closedloop) window->Check[window->cell(n).index]->setChecked(true);
    rig.prompts.clear();
    window->Command_Click(n);
    EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
  }
  EXPECT_EQ(rig.mainmaps.getimage(), before);
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty());

  // The other rows of the map, the same kinds.
  for (const int n : {leftsensor, closedpedal}) {
    EXPECT_FALSE(window->guarded(n)) << n;
    EXPECT_TRUE(showsvalue(*window, n)) << n;
    EXPECT_TRUE(control(*window, n)->isEnabled()) << n;
  }
  EXPECT_EQ(window->textofcell(closedpedal)->text(), QStringLiteral("40"));
  window->textofcell(closedpedal)->setText(QStringLiteral("41"));
  rig.prompts.clear();
  window->Command[closedpedal]->click();
  EXPECT_TRUE(rig.prompts.messages().empty());
  EXPECT_EQ(rig.raw(110, closedpedal), 41);
  EXPECT_EQ(queuedwrites(rig.link).rows, std::vector<int>{rig.mainmaps.getbufferrow(110, 9, 0)});

  window.reset();

  enterpasswords();
  rig.prompts.clear();
  window = rig.open(110);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{QStringLiteral("Text box setting error: Closed loop enable")});
  for (const int n : guarded) {
    EXPECT_FALSE(window->guarded(n)) << n;
    EXPECT_TRUE(showsvalue(*window, n)) << n;
    EXPECT_TRUE(control(*window, n)->isEnabled()) << n;
  }
  EXPECT_EQ(window->ComboVariable[window->cell(pwmaxis).index]->currentIndex(), 7);
  window->textofcell(injectortrim)->setText(regional(QStringLiteral("10")));
  window->Command[injectortrim]->click();
  EXPECT_EQ(rig.raw(110, injectortrim), 148);
}

// A guard over the user logic values: their selectors go with them. Applying another setting refreshes the values
// that follow a variable, and must not put the guarded ones back into their boxes.
TEST_F(GuardedSettings, UserLogicValuesAndTheirSelectorsAreGuardedTogether) {
  rig.setraw(110, 3, 2);  // user 4 on engine speed
  rig.setraw(110, 19, 100);
  guardrows({{1, 1}});
  auto window = rig.open(110);
  window->Combogroups->setCurrentIndex(14);
  for (const int n : {3, 19}) {
    EXPECT_TRUE(window->guarded(n)) << n;
    EXPECT_FALSE(showsvalue(*window, n)) << n;
  }
  window->textofcell(injectortrim)->setText(regional(QStringLiteral("10")));
  window->Command[injectortrim]->click();
  EXPECT_EQ(rig.raw(110, injectortrim), 148);
  EXPECT_EQ(window->textofcell(19)->text(), QString()) << "the refresh leaves a guarded value unshown";
  EXPECT_FALSE(window->guarded(32));
  EXPECT_TRUE(showsvalue(*window, pwmaxis));

  window->ComboUser[window->cell(3).index]->setCurrentIndex(5);
  window->Command[3]->click();
  EXPECT_EQ(rig.raw(110, 3), 2);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
  savescreenshot(window.get(), QStringLiteral("settings_guarded_userlogic"));
}

// The throttle calibration writes three settings of rows 8 and 9; with row 8 guarded its button refuses and leaves
// the guarded box empty, the pedal and wide open throttle are calibrated as before.
TEST_F(GuardedSettings, ThrottleCalibrationDoesNotWriteAGuardedSetting) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  guardrows({{8, 8}});
  const std::uint8_t zerotps = rig.raw(110, throttlecells::zerotps);
  auto window = rig.open(110);
  rig.state.online = true;
  RxFrame frame{};
  frame[0] = 9;
  frame[1] = 23;
  window->settingstypedata(frame);
  pressallthrottlebuttons(scripted, *window);
  EXPECT_EQ(rig.raw(110, throttlecells::zerotps), zerotps);
  EXPECT_EQ(window->textofcell(throttlecells::zerotps)->text(), QString());
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
  EXPECT_EQ(rig.raw(110, throttlecells::zeropps), 9);
  EXPECT_EQ(rig.raw(110, throttlecells::fulltps), 23);
  const int row9 = rig.mainmaps.getbufferrow(110, 9, 0);
  EXPECT_EQ(queuedwrites(rig.link).rows, (std::vector<int>{row9, row9}));
}

}  // namespace
}  // namespace ostrel::test
