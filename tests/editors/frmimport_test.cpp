// The import window offscreen: its controls before and after a donor, the tree, the buttons, a whole import through
// the menu, a donor that cannot be read, and a screenshot.
#include "editors/frmimport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "donorfiles.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

class ImportWindow : public ::testing::Test {
 protected:
  ImportWindow() { rig.mainmaps.clearchange(); }

  std::vector<QPushButton*> buttons(frmImport& w) {
    return {w.Command1, w.Command2, w.Command3, w.Command4, w.Command5};
  }

  EditorRig rig;
  DonorFiles files;
  maps donor{rig.prompts};
  ScriptedLauncher scripted;
  ScopedLauncher scope{scripted};
};

TEST_F(ImportWindow, OpensWithItsTreeAndEverythingButTheDonorMenuDisabled) {
  bool ran = false;
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& w = dynamic_cast<frmImport&>(dialog);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Import file fragments"));
    EXPECT_EQ(w.mnuFile->title(), QStringLiteral("&File"));
    EXPECT_EQ(w.mnuOpenVA->text(), QStringLiteral("Open V2.1 donor file"));
    EXPECT_EQ(w.mnuOpenVB->text(), QStringLiteral("Open V2.5 donor file"));
    EXPECT_EQ(w.mnuOpenVC->text(), QStringLiteral("Open V2.6 donor file"));
    EXPECT_EQ(w.mnuExit->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(w.mnuImport->title(), QStringLiteral("&Import"));
    EXPECT_EQ(w.mnuImportSelected->text(), QStringLiteral("&Import Selected"));
    const QStringList captions{QStringLiteral("Select All"), QStringLiteral("Select none"),
                               QStringLiteral("Expand all"), QStringLiteral("Contract all"),
                               QStringLiteral("Import list")};
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(buttons(w)[static_cast<std::size_t>(k)]->text(), captions[k]);
      EXPECT_FALSE(buttons(w)[static_cast<std::size_t>(k)]->isEnabled());
    }
    EXPECT_FALSE(w.mnuImportSelected->isEnabled());
    EXPECT_TRUE(w.mnuOpenVC->isEnabled());
    EXPECT_EQ(w.TextDonors->toPlainText(), QStringLiteral("No fragments selected"));
    ASSERT_EQ(w.NavView->topLevelItemCount(), 2);
    EXPECT_EQ(w.NavView->topLevelItem(0)->text(0), QStringLiteral("(Donor) Maps"));
    EXPECT_EQ(w.NavView->topLevelItem(0)->childCount(), 13);
    EXPECT_EQ(w.NavView->topLevelItem(1)->text(0), QStringLiteral("(Donor) Settings/Modules"));
    EXPECT_EQ(w.NavView->topLevelItem(1)->childCount(), 12);
    EXPECT_TRUE(w.NavView->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(w.NavView->topLevelItem(1)->isExpanded());
    EXPECT_FALSE(w.node(2)->isExpanded());
    ran = true;
  });
  frmImport::showmodal(rig.context, nullptr);
  EXPECT_TRUE(ran);
  EXPECT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmImport")});

  rig.state.online = true;
  frmImport::showmodal(rig.context, nullptr);
  EXPECT_EQ(scripted.opened.size(), 1u) << "nothing opens while the ECU is connected";
}

TEST_F(ImportWindow, AnOldDonorSelectAllAndImportThroughTheMenu) {
  rig.prompts.paths = {files.old(QStringLiteral("old.s20"), {})};
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& w = dynamic_cast<frmImport&>(dialog);
    w.mnuOpenVA->trigger();
    for (QPushButton* b : buttons(w)) EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(w.mnuImportSelected->isEnabled());
    EXPECT_EQ(w.TextDonors->toPlainText(), QStringLiteral("No fragments selected"));
    w.Command1->click();
    EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{notallindonormessage});
    const QStringList lines = w.TextDonors->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 33);
    EXPECT_EQ(lines.first(), QStringLiteral("Selected map fragments:"));

    w.Command3->click();
    for (int n = 0; n < 131; ++n) ASSERT_TRUE(w.node(n)->childCount() == 0 || w.node(n)->isExpanded()) << n;
    w.Command4->click();
    EXPECT_TRUE(w.node(0)->isExpanded());
    EXPECT_TRUE(w.node(1)->isExpanded());
    EXPECT_FALSE(w.node(2)->isExpanded());
    w.node(2)->setExpanded(true);
    w.NavView->scrollToItem(w.node(3));
    savescreenshot(&w, QStringLiteral("import_olddonor_selectall"));

    // A double click on a map takes it off the list; one the donor lacks is refused.
    w.NavView_DblClick(w.node(3));
    EXPECT_FALSE(w.TextDonors->toPlainText().contains(QStringLiteral("Base fuel table")));
    w.NavView_DblClick(w.node(5));
    EXPECT_EQ(rig.prompts.messages().back(), notindonormessage);
    w.mnuImportSelected->trigger();
    EXPECT_FALSE(w.isVisible()) << "the window closes after the import";
  });
  frmImport::showmodal(rig.context, nullptr);
  EXPECT_EQ(rig.host.progressjobs, std::vector<int>{0});
  EXPECT_EQ(rig.host.mapviews, 1);
  EXPECT_FALSE(rig.mainmaps.getchange(0, 0, 0)) << "map 0 was taken off the list";
  EXPECT_TRUE(rig.mainmaps.getchange(1, 0, 0));
  EXPECT_TRUE(rig.mainmaps.getchange(110, 0, 0));
}

TEST_F(ImportWindow, ACurrentDonorImportedWithTheButton) {
  rig.prompts.paths = {files.current(QStringLiteral("donor.s26"), donor)};
  rig.state.pwentered[0] = QStringLiteral("abc");
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& w = dynamic_cast<frmImport&>(dialog);
    w.mnuOpenVC->trigger();
    w.Command1->click();
    EXPECT_EQ(rig.prompts.records.size(), 1u) << "the dialog only: a 2.6 donor holds every map";
    savescreenshot(&w, QStringLiteral("import_currentdonor_selectall"));
    w.Command2->click();
    EXPECT_EQ(w.TextDonors->toPlainText(), QStringLiteral("Selected map fragments:\n"));
    w.Command1->click();
    w.Command5->click();
  });
  frmImport::showmodal(rig.context, nullptr);
  EXPECT_TRUE(rig.mainmaps.getimage() == donor.getimage());
  EXPECT_EQ(rig.state.pwentered[0], QStringLiteral("KeyInPwd")) << "the fragments were reloaded";
}

TEST_F(ImportWindow, ADonorThatCannotBeReadClosesTheWindowWithNothingChanged) {
  rig.prompts.paths = {files.write(QStringLiteral("bad.s20"), QByteArray("not a calibration"))};
  bool closed = false;
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& w = dynamic_cast<frmImport&>(dialog);
    w.mnuOpenVB->trigger();
    closed = !w.isVisible();
    EXPECT_FALSE(w.Command5->isEnabled());
    EXPECT_FALSE(w.mnuImportSelected->isEnabled());
  });
  frmImport::showmodal(rig.context, nullptr);
  EXPECT_TRUE(closed);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{QStringLiteral("A donor file error occurred")});
  EXPECT_EQ(rig.state.donortype, 0);
  EXPECT_TRUE(rig.host.progressjobs.empty());
}

TEST_F(ImportWindow, ExitRefreshesTheMapViewsAndCloses) {
  scripted.scripts.push_back([](QDialog& dialog) { dynamic_cast<frmImport&>(dialog).mnuExit->trigger(); });
  frmImport::showmodal(rig.context, nullptr);
  EXPECT_EQ(rig.host.mapviews, 1);
  EXPECT_TRUE(rig.prompts.records.empty());
}

}  // namespace
}  // namespace ostrel::test
