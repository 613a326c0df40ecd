// Each window opened by its menu call, over the ECU simulator: its request table reaches the ECU through its poll
// plan, it shows what the simulator sends, and a screenshot of it goes to the build's screenshots folder.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableView>
#include <set>

#include "livewindows/frmcomerrors.h"
#include "livewindows/frmfastverify.h"
#include "livewindows/frmfirmware.h"
#include "livewindows/frmfuelmuls.h"
#include "livewindows/frminputdiagnostic.h"
#include "livewindows/frminputs.h"
#include "livewindows/frmltt.h"
#include "livewindows/livewindows.h"
#include "livewindowsfixture.h"

namespace ostrel::test {
namespace {

using ecusim::Fault;

class EndToEnd : public LiveWindowsTest {
 protected:
  // The distinct values one data byte took in the window data seen so far.
  std::set<std::uint8_t> valuesof(int byte) const {
    std::set<std::uint8_t> values;
    for (const RxFrame& frame : windowdata) values.insert(frame[static_cast<std::size_t>(byte)]);
    return values;
  }
};

TEST_F(EndToEnd, InputsAskForTheirWordsAndShowTheSimulatorsInputs) {
  watch(14);
  bool ran = false;
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmInputs>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    clock.run(9000);  // idle, then the pull to full throttle
    EXPECT_EQ(simtable(), InputsTable::addresses());
    ASSERT_FALSE(windowdata.empty());
    const RxFrame last = windowdata.back();
    EXPECT_TRUE(fromsim(last));
    EXPECT_GE(valuesof(9).size(), 2u) << "the simulator's inputs move";

    InputsTable expected(rig.mainsettings);
    expected.reportdata(last, 5);
    const QAbstractItemModel* model = window.inputGrid->model();
    for (int r = 1; r <= 32; ++r)
      for (int c : {1, 3, 5})
        ASSERT_EQ(model->index(r, c).data().toString(), expected.cell(r, c).text) << r << " " << c;
    EXPECT_EQ(model->index(5, 1).data().toString(), "High") << "the ignition feed";
    EXPECT_EQ(model->index(1, 3).data().toString(), "Used");
    savescreenshot(&window, QStringLiteral("frmInputs"));
    ran = true;
  });
  showinputs(rig.state, rig.link, rig.mainsettings, nullptr);
  EXPECT_TRUE(ran);
  ASSERT_EQ(scripted.opened.size(), 1u);
  EXPECT_EQ(scripted.opened[0], "frmInputs");
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(EndToEnd, FuelMultipliersShowTheSimulatorsMultipliersAndTimes) {
  watch(20);
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmFuelMuls>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    clock.run(5600);  // into the pull: throttle pump and dTPS/dt at work
    EXPECT_EQ(simtable(), FuelMultipliers::addresses());
    ASSERT_FALSE(windowdata.empty());
    const RxFrame last = windowdata.back();
    EXPECT_TRUE(fromsim(last));
    const auto texts = FuelMultipliers::values(last, QLocale());
    for (int i = 1; i < FuelMultipliers::rows; ++i) EXPECT_EQ(window.Label2[i]->text(), texts[i]) << i;
    EXPECT_EQ(window.Label2[6]->text(), QStringLiteral("0") + QLocale().decimalPoint() + "00") << "barometric";
    EXPECT_GE(valuesof(1).size(), 3u) << "the indexed fuel time moves";
    savescreenshot(&window, QStringLiteral("frmFuelMuls"));
  });
  showfuelmuls(rig.state, rig.link, nullptr);
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(EndToEnd, LongTermTrimsShowBothHalvesLearnWhenWarmAndClear) {
  watch(2);
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmLtt>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    const auto trim = [&](int r, int c) { return rig.sim.ram(0x6000 + 16 * r + c); };
    std::array<std::uint8_t, 32> before{};
    for (int k = 0; k < 32; ++k) before[k] = trim(k / 4, k % 4);
    // Warm enough to learn, then two more switches of halves so both show what the ECU holds now.
    clock.run(30000);
    clock.run(4000);
    int learnt = 0, shown = 0;
    for (int k = 0; k < 32; ++k) {
      learnt += trim(k / 4, k % 4) != before[k];
      shown += window.Label1[k]->text() == LttTable::trimtext(trim(k / 4, k % 4));
    }
    EXPECT_GT(learnt, 0) << "the warm engine learns trims";
    EXPECT_GE(shown, 31) << "every cell but the one the engine may have moved just now";
    savescreenshot(&window, QStringLiteral("frmLtt"));

    EXPECT_EQ(window.Label1[0]->text(), "-2 %") << "0 rpm, high load: never learnt";
    window.mnuClearLtt->trigger();
    clock.run(4000);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(rig.sim.ram(0x6000 + 16 * r + 15), 0xBB) << r;
    EXPECT_EQ(window.Label1[0]->text(), "0 %");
    EXPECT_EQ(window.Label1[3]->text(), "0 %");
  });
  showltt(rig.state, rig.link, nullptr);
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(EndToEnd, FirmwareSignatureShowsAndTheCloseRunsItsCourse) {
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmFirmware>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    clock.run(4000);
    EXPECT_EQ(simtable(), FirmwareSignature::addresses(true));
    EXPECT_EQ(window.ProgressBar1->value(), 10);
    EXPECT_EQ(window.Label1->text(), "Firmware signature: 12, 200, 7, 99");
    savescreenshot(&window, QStringLiteral("frmFirmware"));

    window.close();
    EXPECT_TRUE(window.isVisible()) << "the first close is refused";
    clock.run(1000);
    EXPECT_EQ(rig.state.livemode, 0) << "the poll is idle after five closing ticks";
    EXPECT_EQ(simtable(), FirmwareSignature::addresses(false)) << "the neutral table reached the ECU";
    clock.run(1000);
    EXPECT_TRUE(window.isVisible());
    clock.run(200);
    EXPECT_FALSE(window.isVisible()) << "gone 2.2 s after the close";
  });
  showfirmware(rig.state, rig.link, nullptr);
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(EndToEnd, InputDiagnosticJudgesTheSimulatorsInputs) {
  watch(22);
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmInputDiagnostic>(dialog);
    SimClock clock(rig);
    rig.connect();
    clock.run(153000);  // a thousand window-data replies and one more
    EXPECT_EQ(simtable(), InputDiagnostic::addresses());
    EXPECT_GE(windowdata.size(), 1001u);
    EXPECT_TRUE(fromsim(windowdata.back()));
    EXPECT_EQ(window.status[7]->text(), "pass") << "AUX1, low for 64 % of the time";
    EXPECT_EQ(window.status[13]->text(), "fail") << "AUX7, low for half of the time";
    EXPECT_EQ(window.status[16]->text(), "fail") << "AUX10, stuck high";
    EXPECT_EQ(window.feedback2[16]->text(), "219");
    EXPECT_EQ(window.status[19]->text(), "pass") << "TRIG";
    EXPECT_EQ(window.status[20]->text(), "pass") << "SYNC";
    savescreenshot(&window, QStringLiteral("frmInputDiagnostic"));
  });
  showinputdiagnostic(rig.state, rig.link, nullptr);
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(EndToEnd, FastVerifyPassesOnAnEqualImage) {
  bool closed = false;
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmFastVerify>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    for (int i = 0; i < 60 && window.isVisible(); ++i) clock.run(1000);
    closed = !window.isVisible();
  });
  showfastverify(rig.state, rig.link, rig.mainmaps, rig.prompts, nullptr);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(rig.prompts.messages().empty());
  EXPECT_EQ(rig.state.curmap, 115);
  EXPECT_EQ(rig.state.livemode, 0);
}

TEST_F(EndToEnd, FastVerifyFailsOnAChangedMap) {
  // The ECU holds map 30 with one cell changed.
  rig.templatemaps.setimage(rig.mainmaps.getimage());
  rig.templatemaps.setdata(30, 0, 3, (rig.mainmaps.getdata(30, 0, 3) + 1) % 256, false);
  rig.sim.setimage(rig.templatemaps.getimage());
  ASSERT_NE(rig.sim.checksum(30), rig.mainmaps.getchecksum(30));

  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmFastVerify>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    clock.run(4000);
    EXPECT_TRUE(window.Text2->toPlainText().contains(": fast verify failed"));
    savescreenshot(&window, QStringLiteral("frmFastVerify"));
    for (int i = 0; i < 60 && window.isVisible(); ++i) clock.run(1000);
    EXPECT_FALSE(window.isVisible());
  });
  showfastverify(rig.state, rig.link, rig.mainmaps, rig.prompts, nullptr);
  ASSERT_EQ(rig.prompts.messages().size(), 1u);
  EXPECT_EQ(rig.prompts.messages()[0],
            "Not all maps/settings groups loaded in the PC software are the same as those in the ECU");
  EXPECT_EQ(rig.state.curmap, 115);
}

TEST_F(EndToEnd, ComStatsShowTheLinkUnderFaults) {
  ComStatsMemory& memory = frmComErrors::memory();
  memory = ComStatsMemory{};
  rig.sim.setmixedfaults(0.05);
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = as<frmComErrors>(dialog);
    SimClock clock(rig);
    clock.add(window.Timer1, [&] { window.Timer1_Timer(); });
    rig.connect();
    clock.run(8000);
    const double hertz = window.Label[3]->text().chopped(3).toDouble();
    EXPECT_GT(hertz, 20.0) << window.Label[3]->text().toStdString();
    EXPECT_LT(hertz, 40.0);
    const double yield = window.Label[4]->text().chopped(2).toDouble();
    EXPECT_GT(yield, 80.0) << window.Label[4]->text().toStdString();
    EXPECT_LT(yield, 100.0);
    EXPECT_EQ(window.Label[6]->text(), "V2.64, correct version");
    EXPECT_TRUE(window.Text1->toPlainText().contains("[TRYCOMM]"));
    savescreenshot(&window, QStringLiteral("frmComErrors"));
  });
  showcomerrors(rig.state, rig.link, nullptr);
  EXPECT_EQ(rig.state.livemode, 0);
}

// The inputs window through the real serial port to the simulator on a pseudo-terminal.
TEST(EndToEndPty, InputsOverTheSerialLine) {
  PtyRig rig;
  if (!rig.ready()) GTEST_SKIP() << rig.error;
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  scripted.scripts.push_back([&](QDialog& dialog) {
    auto& window = dynamic_cast<frmInputs&>(dialog);
    ASSERT_TRUE(rig.link.openport());
    for (int t = 0; t < 60; ++t) {
      ASSERT_TRUE(rig.tick());
      if (t % 7 == 0) window.Timer1_Timer();
    }
    EXPECT_EQ(rig.sim.ram(0x6DC1), 0x84) << "list 1 of the table reached the ECU";
    EXPECT_EQ(window.inputGrid->model()->index(5, 1).data().toString(), "High");
  });
  showinputs(rig.state, rig.link, rig.mainsettings, nullptr);
  EXPECT_EQ(rig.state.livemode, 0);
}

}  // namespace
}  // namespace ostrel::test
