#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "calibration/settings.h"
#include "common/testsupport.h"
#include "platform/prompts.h"
#include "recordingshellhost.h"
#include "shell/colorsdialog.h"
#include "shell/preferencesdialog.h"

using namespace ostrel;

namespace {

QByteArray readfile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(PreferencesDialog, ShowsTheGroupsAndSavesClicks) {
  test::TempInstallFolder folder;
  RecordingPrompts prompts;
  Preferences prefs = defaultpreferences();
  settings mainsettings;
  test::RecordingShellHost host;
  PreferencesEditor editor(prefs, prompts, mainsettings, host);
  frmPreferences dialog(editor);
  EXPECT_EQ(dialog.windowTitle(), "Preferences");
  EXPECT_EQ(dialog.Command1->text(), "&Save and exit");
  EXPECT_EQ(dialog.Command3->text(), "&Ok");

  const QList<QGroupBox*> frames = dialog.findChildren<QGroupBox*>();
  ASSERT_EQ(frames.size(), 17);
  for (int g = 0; g < preferencecount; ++g) {
    QButtonGroup* group = dialog.optiongroup(g);
    EXPECT_EQ(group->objectName(), QStringLiteral("Option%1").arg(g + 1));
    ASSERT_EQ(group->buttons().size(), preferencegroups[g].optioncount);
    EXPECT_EQ(group->button(0)->text(), QString::fromLatin1(preferencegroups[g].options[0]));
    EXPECT_EQ(group->checkedId(), editor.selected(g));
  }
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  test::savescreenshot(&dialog, "preferences");

  QTest::mouseClick(dialog.optiongroup(5)->button(3), Qt::LeftButton);   // CP4
  QTest::mouseClick(dialog.optiongroup(13)->button(0), Qt::LeftButton);  // FASTEST
  QTest::mouseClick(dialog.optiongroup(0)->button(1), Qt::LeftButton);   // IMPERIAL
  EXPECT_EQ(prefs.comport, 4);
  EXPECT_TRUE(prefs.comfastest);
  EXPECT_FALSE(prefs.metricunits);
  EXPECT_EQ(mainsettings.unitscolumn(), 1);
  EXPECT_EQ(host.intervals, std::vector<int>{20});

  QTest::mouseClick(dialog.Command1, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(readfile(folder.file("preferences26.dat")), preferencebytes(prefs));
  EXPECT_EQ(host.calls, (std::vector<QString>{"openmapview", "drawpanel 1"}));
  EXPECT_TRUE(prompts.records.empty());
}

TEST(PreferencesDialog, OutOfRangeNumberShowsNoSelectionAndOkDoesNotWrite) {
  test::TempInstallFolder folder;
  const QByteArray before = readfile(folder.file("preferences26.dat"));
  RecordingPrompts prompts;
  Preferences prefs = defaultpreferences();
  prefs.defaultview = 7;
  settings mainsettings;
  test::RecordingShellHost host;
  PreferencesEditor editor(prefs, prompts, mainsettings, host);
  frmPreferences dialog(editor);
  EXPECT_EQ(dialog.optiongroup(8)->checkedId(), -1);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(dialog.optiongroup(9)->button(5), Qt::LeftButton);  // LAMBDA
  QTest::mouseClick(dialog.Command3, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(prefs.fueltype, 6);
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_TRUE(prompts.messages()[0].contains("but not saved"));
  EXPECT_EQ(readfile(folder.file("preferences26.dat")), before);
}

TEST(ColorsDialog, PicksColoursAndSaves) {
  test::TempInstallFolder folder;
  RecordingPrompts prompts;
  Colors colors;
  test::RecordingShellHost host;
  ColorsEditor editor(colors, prompts, host);
  frmColors dialog(editor);
  EXPECT_EQ(dialog.windowTitle(), "Color selection");
  ASSERT_EQ(dialog.List1->count(), 6);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(dialog.List1->item(k)->text(), QString::fromLatin1(colorslots[k].listtext));
  EXPECT_EQ(dialog.cmdSave->text(), "&Save");
  EXPECT_EQ(dialog.Command1->text(), "&Ok");
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  test::savescreenshot(&dialog, "colors");

  const auto clickentry = [&](int k) {
    const QRect r = dialog.List1->visualItemRect(dialog.List1->item(k));
    QTest::mouseClick(dialog.List1->viewport(), Qt::LeftButton, {}, r.center());
  };
  prompts.colours.push_back(QColor(0, 0, 255));
  clickentry(1);
  EXPECT_EQ(colors.wirecolor, 0x00FF0000u);
  prompts.colours.push_back(std::nullopt);
  clickentry(3);
  EXPECT_EQ(colors.mapbandcolor, Colors{}.mapbandcolor);
  EXPECT_EQ(prompts.records.size(), 2u);

  QTest::mouseClick(dialog.cmdSave, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(readfile(folder.file("colors.dat")), colorbytes(colors));
  EXPECT_EQ(host.count("drawmap 1"), 1);
}
