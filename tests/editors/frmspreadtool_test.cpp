// The spread tool offscreen: opening from the settings editor's Tools menu, every keystroke stored into settings
// map 110 and the editor's box, the point labels, the refusals, and the question when the editor closes.
#include "editors/frmspreadtool.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "calibration/cellguards.h"
#include "editors/spreads.h"
#include "editorsfixture.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

class SpreadTool : public ::testing::Test {
 protected:
  SpreadTool() {
    // Every check box of map 110 at 0 or 255, so that opening the editor shows no message of its own.
    const CellTable table = buildcelltable(rig.mainsettings, 110);
    for (int n = 0; n < 256; ++n)
      if (cellof(table.cells, n).type == 0 && rig.raw(110, n) != 0) rig.setraw(110, n, 255);
    for (int point = 1; point <= spreadpoints; ++point) {
      rig.setraw(110, spreadcellnumber(SpreadAxis::load, point), 24);
      rig.setraw(110, spreadcellnumber(SpreadAxis::rpm, point), 100);
    }
    rig.mainmaps.recalc();
    window = rig.open(110);
  }

  // Opens the tool from the menu of an editor on map 110 and runs the script on it.
  void runtool(QAction* (*menu)(frmSettings&), const std::function<void(frmSpreadTool&)>& script) {
    scripted.scripts.push_back([&script](QDialog& dialog) { script(dynamic_cast<frmSpreadTool&>(dialog)); });
    menu(*window)->trigger();
  }
  static QAction* loadmenu(frmSettings& w) { return w.mnuViewLoadSpreads; }
  static QAction* rpmmenu(frmSettings& w) { return w.mnuViewRpmSpreads; }

  EditorRig rig;
  ScriptedLauncher scripted;
  ScopedLauncher scope{scripted};
  std::unique_ptr<frmSettings> window;
};

TEST_F(SpreadTool, OpensOnTheLoadSpreadsWithTheirPoints) {
  rig.setraw(110, spreadcellnumber(SpreadAxis::load, 20), 255);  // the end marker still lists every point
  rig.mainmaps.recalc();
  bool checked = false;
  runtool(loadmenu, [&](frmSpreadTool& tool) {
    EXPECT_EQ(tool.objectName(), QStringLiteral("frmSpreadTool"));
    EXPECT_EQ(tool.windowTitle(), QStringLiteral("Load spread tool"));
    EXPECT_EQ(tool.axis(), SpreadAxis::load);
    ASSERT_EQ(tool.Text.size(), 31u);
    EXPECT_EQ(tool.Label[0]->text(), QStringLiteral("Load spread 1"));
    EXPECT_EQ(tool.Label[30]->text(), QStringLiteral("Load spread 31"));
    EXPECT_EQ(tool.Text[0]->text(), QStringLiteral("24"));
    EXPECT_EQ(tool.Text[19]->text(), QStringLiteral("255"));
    EXPECT_EQ(tool.LabelSpread[0]->text(), QStringLiteral("3 kPa"));     // 24 mmHg
    EXPECT_EQ(tool.LabelSpread[18]->text(), QStringLiteral("61 kPa"));   // 456 mmHg
    EXPECT_EQ(tool.LabelSpread[19]->text(), QStringLiteral("95 kPa"));   // 711 mmHg
    EXPECT_EQ(tool.LabelSpread[30]->text(), QStringLiteral("130 kPa"));  // 975 mmHg
    savescreenshot(&tool, QStringLiteral("spreadtool_load"));
    checked = true;
  });
  ASSERT_TRUE(checked);
  EXPECT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmSpreadTool")});
  EXPECT_EQ(window->Combogroups->currentText(), QStringLiteral("grid load spread"));
  EXPECT_FALSE(rig.state.spreadrpm);
  EXPECT_TRUE(rig.prompts.records.empty());
  EXPECT_FALSE(rig.mainmaps.getchange(110, 4, 0)) << "filling the boxes stores the same values, unmarked";
}

TEST_F(SpreadTool, EachKeystrokeStoresTheSpreadTheBoxAndTheEditorShow) {
  const int cell = spreadcellnumber(SpreadAxis::rpm, 3);  // (6, 2)
  runtool(rpmmenu, [&](frmSpreadTool& tool) {
    EXPECT_EQ(tool.windowTitle(), QStringLiteral("Rpm spread tool"));
    EXPECT_EQ(tool.Label[2]->text(), QStringLiteral("Rpm spread 3"));
    EXPECT_EQ(tool.LabelSpread[2]->text(), QStringLiteral("1500 rpm"));
    QLineEdit* box = tool.Text[2];
    QLineEdit* setting = window->textofcell(cell);
    ASSERT_NE(setting, nullptr);
    EXPECT_TRUE(setting->isVisible()) << "the editor shows the rpm spreads";

    // Typed one key at a time: 1, then 12, then 120, with the labels following each step.
    box->selectAll();
    std::vector<int> stored;
    std::vector<QString> labels;
    QObject::connect(box, &QLineEdit::textChanged, [&] {
      stored.push_back(rig.raw(110, cell));
      labels.push_back(tool.LabelSpread[2]->text());
    });
    QTest::keyClicks(box, QStringLiteral("120"));
    EXPECT_EQ(stored, (std::vector<int>{1, 12, 120}));
    EXPECT_EQ(labels, (std::vector<QString>{QStringLiteral("1005 rpm"), QStringLiteral("1060 rpm"),
                                            QStringLiteral("1600 rpm")}));
    EXPECT_EQ(tool.LabelSpread[30]->text(), QStringLiteral("15600 rpm")) << "every later point moves";
    EXPECT_EQ(setting->text(), QStringLiteral("120"));

    struct Case {
      const char* typed;
      int stored;
      const char* box;
      const char* editor;
      const char* label;
    };
    const Case cases[] = {
        {"300", 255, "300", "255", "2275 rpm"}, {"-5", 0, "-5", "0", "1000 rpm"},       {"", 0, "0", "0", "1000 rpm"},
        {"12.5", 12, "12.5", "12", "1060 rpm"}, {"13.5", 14, "13.5", "14", "1070 rpm"}, {"x", 0, "0", "0", "1000 rpm"},
    };
    for (const Case& c : cases) {
      box->setText(QString::fromLatin1(c.typed));
      EXPECT_EQ(rig.raw(110, cell), c.stored) << c.typed;
      EXPECT_EQ(box->text(), QString::fromLatin1(c.box)) << c.typed;
      EXPECT_EQ(setting->text(), QString::fromLatin1(c.editor)) << c.typed;
      EXPECT_EQ(tool.LabelSpread[2]->text(), QString::fromLatin1(c.label)) << c.typed;
    }

    // Deleting every character shows "0" at once.
    box->setText(QStringLiteral("7"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    EXPECT_EQ(rig.raw(110, cell), 0);
  });
  EXPECT_TRUE(rig.state.spreadrpm);
  EXPECT_EQ(window->Combogroups->currentText(), QStringLiteral("grid rpm spread"));
  EXPECT_FALSE(rig.mainmaps.getchange(110, 6, 2)) << "the tool stores without the changed mark";
  EXPECT_EQ(rig.link.transferqueue().records[0].op, 0) << "and queues nothing";
  EXPECT_TRUE(rig.mainmaps.getscalestringX(0, true).startsWith(QStringLiteral("0 rpm;500 rpm;1000 rpm;1000 rpm;")))
      << "the axes follow the last value";
}

TEST_F(SpreadTool, AGuardedRowOfSpreadsShowsNothingAndTakesNoChange) {
  // Row 5 holds load points 17 to 31; the rpm rows stay open.
  rig.state.guards.guard(110, 2, 5, 5);
  rig.setraw(110, spreadcellnumber(SpreadAxis::load, 20), 40);
  rig.mainmaps.recalc();
  const CalibrationImage before = rig.mainmaps.getimage();
  runtool(loadmenu, [&](frmSpreadTool& tool) {
    for (int i = 0; i < spreadpoints; ++i) {
      const bool guarded = i + 1 >= 17;
      EXPECT_EQ(tool.Text[i]->text(), guarded ? QString() : QStringLiteral("24")) << i;
      EXPECT_EQ(tool.Text[i]->isEnabled(), !guarded) << i;
      // A point lies at the sum of the spreads before it, so no later point is shown either.
      EXPECT_EQ(tool.LabelSpread[i]->text().isEmpty(), guarded) << i;
    }
    savescreenshot(&tool, QStringLiteral("spreadtool_guarded"));
    EXPECT_TRUE(rig.prompts.records.empty()) << "opening asks nothing";
    tool.Text[19]->setText(QStringLiteral("99"));
    EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{protectedmaptext});
    EXPECT_EQ(tool.Text[19]->text(), QString());
    EXPECT_EQ(rig.mainmaps.getimage(), before);
    tool.Text[2]->setText(QStringLiteral("30"));  // the open row works as before
    EXPECT_EQ(rig.raw(110, spreadcellnumber(SpreadAxis::load, 3)), 30);
  });
  EXPECT_EQ(rig.raw(110, spreadcellnumber(SpreadAxis::load, 20)), 40);

  // A guard over the first row hides every point; the other axis is untouched.
  rig.state.guards.clear();
  rig.state.guards.guard(110, 2, 4, 4);
  runtool(loadmenu, [&](frmSpreadTool& tool) {
    for (int i = 0; i < spreadpoints; ++i) EXPECT_EQ(tool.LabelSpread[i]->text(), QString()) << i;
    EXPECT_EQ(tool.Text[16]->text(), QStringLiteral("24"));
  });
  runtool(rpmmenu, [&](frmSpreadTool& tool) {
    for (int i = 0; i < spreadpoints; ++i) EXPECT_FALSE(tool.LabelSpread[i]->text().isEmpty()) << i;
  });
}

TEST_F(SpreadTool, ImperialLoadLabelsReadVacuumAndBoost) {
  rig.state.preferences.metricunits = false;
  for (int point = 1; point <= spreadpoints; ++point) rig.setraw(110, spreadcellnumber(SpreadAxis::load, point), 40);
  rig.mainmaps.recalc();
  runtool(loadmenu, [&](frmSpreadTool& tool) {
    EXPECT_EQ(tool.LabelSpread[0]->text(), QStringLiteral("720 mmHg"));
    EXPECT_EQ(tool.LabelSpread[18]->text(), QStringLiteral("0 mmHg"));  // 760
    EXPECT_EQ(tool.LabelSpread[19]->text(), QStringLiteral("0.8 psi"));
    tool.Text[0]->setText(QStringLiteral("60"));
    EXPECT_EQ(tool.LabelSpread[0]->text(), QStringLiteral("700 mmHg"));
    EXPECT_EQ(tool.LabelSpread[18]->text(), QStringLiteral("0.4 psi"));  // 780
    savescreenshot(&tool, QStringLiteral("spreadtool_load_imperial"));
  });
}

TEST_F(SpreadTool, RefusedOnlineAndOnOtherSettingsMaps) {
  rig.state.online = true;
  window->Combogroups->setCurrentIndex(3);
  window->mnuViewLoadSpreads->trigger();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{QStringLiteral("This tool is not available online")});
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  rig.state.online = false;
  window.reset();
  rig.prompts.clear();
  window = rig.open(111);
  rig.state.spreadrpm = false;
  window->mnuViewRpmSpreads->trigger();
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("This tool does not apply to any setting within this setting group")});
  EXPECT_TRUE(scripted.opened.empty());
  EXPECT_FALSE(rig.state.spreadrpm);
  EXPECT_EQ(window->Combogroups->currentIndex(), 0) << "the editor's group stays";
}

TEST_F(SpreadTool, ClosingTheEditorAfterASpreadChangeAsksOnceAndRegrids) {
  rig.mainmaps.setdata(8, 3, 3, 100, false);
  rig.mainmaps.setdata(8, 4, 3, 200, false);
  rig.mainmaps.clearchange();
  window.reset();
  window = rig.open(110);  // the spreads as they are now are the ones found on opening
  runtool(rpmmenu, [](frmSpreadTool& tool) {
    tool.Text[3]->setText(QStringLiteral("50"));  // point 4 halfway back to point 3
    tool.Text[3]->setText(QStringLiteral("75"));
  });
  EXPECT_TRUE(rig.prompts.records.empty()) << "nothing is asked while the editor stays open";
  window->close();
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral(
                "The load or rpm spread has changed, do you wish to recalculate the affected 3D maps?")});
  // New rpm point 4 (375 steps) lies three quarters of the way from old point 3 to old point 4.
  EXPECT_EQ(rig.mainmaps.getdata(8, 4, 3), 175);
  EXPECT_TRUE(rig.mainmaps.getchange(8, 0, 0));
  EXPECT_EQ(rig.host.navtrees, 1);
}

TEST_F(SpreadTool, ChangedAndChangedBackAsksNothing) {
  rig.mainmaps.clearchange();
  runtool(loadmenu, [](frmSpreadTool& tool) {
    tool.Text[0]->setText(QStringLiteral("30"));
    tool.Text[0]->setText(QStringLiteral("24"));
  });
  window->close();
  EXPECT_TRUE(rig.prompts.records.empty());
  EXPECT_FALSE(rig.mainmaps.getchange(0, 0, 0));
}

}  // namespace
}  // namespace ostrel::test
