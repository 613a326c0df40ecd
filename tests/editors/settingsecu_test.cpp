// The settings editor against the ECU simulator: an applied setting reaches the ECU's image, the live panel shows
// the ECU's values, and the throttle calibration stores only fresh readings the ECU has sent.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "editors/frmtpscalibrate.h"
#include "editors/settingspanel.h"
#include "editors/throttlecalibration.h"
#include "editorsfixture.h"
#include "platform/colors.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

constexpr int injectortrim = 176;  // (11, 0): 0.5, -64
constexpr int pedaladdress = 0x6D90;     // "PPSM": aux 1
constexpr int throttleaddress = 0x0092;  // "TPSM": raw throttle

// The settings editor on map 110, connected to the simulator, whose pedal reads 12 and throttle 77; the three
// calibrated cells hold 50, and the throttle calibration's dialog runs what the test scripts.
struct ThrottleRig : EditorRig {
  ThrottleRig() {
    sim.setram(pedaladdress, 12);
    sim.setram(throttleaddress, 77);
    setcalibrated(50);
    connect();
    window = open(110);
  }
  void setcalibrated(int value) {
    for (int cell : {throttlecells::zerotps, throttlecells::zeropps, throttlecells::fulltps}) setraw(110, cell, value);
  }
  // Opens the throttle calibration from the editor's menu and presses its three buttons in turn, or only the
  // wide open one.
  void pressall() { pressallthrottlebuttons(scripted, *window); }
  void pressfulltps() {
    scripted.scripts.push_back([](QDialog& dialog) { dynamic_cast<frmTPSCalibrate&>(dialog).Command3->click(); });
    window->mnuTPSCalibrate->trigger();
  }
  // Communication ticks until the throttle reading is the value, at most two seconds' worth. (The first replies may
  // still answer the table the ECU held before the editor's own was written, or come after the link's waits for a
  // silent ECU.)
  void tickuntilthrottle(int value) {
    for (int t = 0; t < 60 && state.livetps != value; ++t) tick();
  }
  std::vector<int> calibrated() const {
    using namespace throttlecells;
    return {raw(110, zerotps), raw(110, zeropps), raw(110, fulltps)};
  }

  ScriptedLauncher scripted;
  ScopedLauncher scope{scripted};
  std::unique_ptr<frmSettings> window;
};

TEST(SettingsEditorEcu, AnAppliedSettingReachesTheEcusImage) {
  EditorRig rig;
  rig.connect();
  ASSERT_TRUE(rig.state.online);
  auto window = rig.open(110);
  window->textofcell(injectortrim)->setText(regional(QStringLiteral("10")));
  window->Command[injectortrim]->click();
  ASSERT_EQ(rig.raw(110, injectortrim), 148);
  const int row = rig.mainmaps.getbufferrow(110, 11, 0);
  EXPECT_NE(rig.simrow(row), rig.modelrow(row));
  for (int tick = 0; tick < 60 && rig.link.transferqueue().headiswrite(); ++tick) rig.tick();
  EXPECT_FALSE(rig.link.transferqueue().headiswrite()) << "the queue has drained";
  EXPECT_EQ(rig.simrow(row), rig.modelrow(row));
  EXPECT_TRUE(rig.simholdsmodel());
}

TEST(SettingsEditorEcu, TheLivePanelShowsTheEcusValues) {
  EditorRig rig;
  rig.sim.setram(pedaladdress, 12);
  rig.sim.setram(throttleaddress, 34);
  rig.connect();
  auto window = rig.open(110);
  const int before = static_cast<int>(rig.sim.sent(0x93).size());
  rig.tick(150);  // plan 3 asks for the window data once in five requests
  const auto& replies = rig.sim.sent(0x93);
  ASSERT_GE(static_cast<int>(replies.size()) - before, 25);

  // The ECU got the panel's request table and answers from it.
  for (int k = 0; k < 16; ++k) EXPECT_EQ(rig.sim.ram(0x6DB0 + k), rig.link.requesttable(LiveTable::log)[0][k]);
  EXPECT_EQ(rig.state.livepps, 12);
  EXPECT_EQ(rig.state.livetps, 34);
  EXPECT_NEAR(rig.link.smoothvalues()[0], 12.0f, 0.05f) << "smoothed towards the reading";
  EXPECT_NEAR(rig.link.smoothvalues()[1], 34.0f, 0.05f);
  const bool metric = rig.state.preferences.metricunits;
  EXPECT_EQ(settingspaneltext(rig.mainsettings, 1, rig.link.smoothvalues()[1], metric, 1, QLocale()),
            QStringLiteral("  34"));
  // The coolant temperature follows the engine: the last reply's byte, smoothed.
  const float coolant = rig.link.smoothvalues()[3];
  EXPECT_NEAR(coolant, replies.back()[3], 3.0f);

  // The boxes are drawn where the panel puts them.
  const QImage& image = window->PicSetting->image();
  const auto boxpixel = [&](int i) {  // right of the units, where no text reaches
    return image.pixelColor((1490 * (i % 8) + 1430) / 15, (500 * (i / 8) + 310) / 15);
  };
  for (int i : {0, 7, 8, 15}) EXPECT_EQ(boxpixel(i), bgrtocolor(settingspanel::boxcolor)) << i;
  savescreenshot(window.get(), QStringLiteral("settings_livepanel"));
}

TEST(SettingsEditorEcu, ThrottleCalibrationStoresOnlyAReadingTheEcuHasSent) {
  using namespace throttlecells;
  ThrottleRig rig;
  const std::vector<int> untouched{50, 50, 50};

  // Before the first window-data reply: nothing stored, nothing queued, and the status line says why.
  rig.pressall();
  ASSERT_FALSE(rig.state.livetps.has_value());
  EXPECT_EQ(rig.calibrated(), untouched);
  for (int cell : {zerotps, zeropps, fulltps})
    EXPECT_EQ(rig.window->textofcell(cell)->text(), QStringLiteral("50")) << cell;
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty());
  EXPECT_EQ(queuedwrites(rig.link).blocktables, 0);
  EXPECT_EQ(rig.host.statuslines, std::vector<QString>(3, nothrottlereading));
  EXPECT_TRUE(rig.prompts.records.empty());

  // After a reply: the readings are stored and their rows queued for the ECU.
  rig.tickuntilthrottle(77);
  ASSERT_EQ(rig.state.livetps, 77);
  rig.pressall();
  EXPECT_EQ(rig.calibrated(), (std::vector<int>{79, 12, 77}));
  const int row = rig.mainmaps.getbufferrow(110, 9, 0);
  EXPECT_EQ(queuedwrites(rig.link).rows,
            (std::vector<int>{rig.mainmaps.getbufferrow(110, 8, 0), row, row}));
  EXPECT_EQ(rig.host.statuslines.size(), 3u);

  // The editor closed and opened again after the throttle moved: right after opening the earlier reading is not
  // stored; one of this opening is.
  rig.window.reset();
  rig.sim.setram(throttleaddress, 90);
  rig.setraw(110, fulltps, 50);
  rig.window = rig.open(110);
  rig.pressfulltps();
  EXPECT_EQ(rig.raw(110, fulltps), 50);
  ASSERT_EQ(rig.host.statuslines.size(), 4u);
  EXPECT_EQ(rig.host.statuslines.back(), nothrottlereading);
  rig.tickuntilthrottle(90);
  ASSERT_EQ(rig.state.livetps, 90);
  rig.pressfulltps();
  EXPECT_EQ(rig.raw(110, fulltps), 90);
  EXPECT_EQ(rig.host.statuslines.size(), 4u);
}

TEST(SettingsEditorEcu, AReadingMoreThanASecondOldIsNotStored) {
  ThrottleRig rig;
  const std::vector<int> untouched{50, 50, 50};
  rig.tickuntilthrottle(77);
  ASSERT_EQ(rig.state.livetps, 77);

  // The ECU stops answering while the port stays open, and the throttle moves. The reply already on its way is
  // the last one: from the second tick on nothing arrives.
  rig.sim.setfaultrate(ecusim::Fault::noreply, 1.0);
  rig.sim.setram(throttleaddress, 90);
  rig.sim.setram(pedaladdress, 20);
  rig.tick(2);
  const int requests = rig.sim.requests();
  // A tick of the editor's 250 ms timer, with the communication ticks of its time.
  const auto quarterofasecond = [&] {
    rig.tick(8);
    rig.window->Timer1_Timer();
  };

  // Four ticks of the editor's timer are within a second of the last reply: the readings are stored.
  for (int i = 0; i < livereadingmaxticks; ++i) quarterofasecond();
  rig.pressall();
  EXPECT_EQ(rig.calibrated(), (std::vector<int>{79, 12, 77}));
  EXPECT_TRUE(rig.host.statuslines.empty());

  // The fifth is over a second: nothing stored, and the status line says why.
  rig.setcalibrated(50);
  quarterofasecond();
  rig.pressall();
  EXPECT_EQ(rig.calibrated(), untouched);
  EXPECT_EQ(rig.host.statuslines, std::vector<QString>(3, nothrottlereading));

  // Still so long after, with the link open and asking all the while.
  for (int i = 0; i < 20; ++i) quarterofasecond();
  ASSERT_TRUE(rig.state.online);
  EXPECT_GT(rig.sim.requests(), requests + 20);
  rig.pressall();
  EXPECT_EQ(rig.calibrated(), untouched);
  EXPECT_EQ(rig.host.statuslines.size(), 6u);

  // The ECU answers again: its readings are stored.
  rig.sim.setfaultrate(ecusim::Fault::noreply, 0.0);
  rig.tickuntilthrottle(90);
  ASSERT_EQ(rig.state.livetps, 90);
  rig.pressall();
  EXPECT_EQ(rig.calibrated(), (std::vector<int>{92, 20, 90}));
  EXPECT_EQ(rig.host.statuslines.size(), 6u);
}

// The age of the readings starts again with every reply: with the ECU answering all along, the buttons store its
// readings however long the editor has been open.
TEST(SettingsEditorEcu, AReadingThatKeepsArrivingStaysFresh) {
  ThrottleRig rig;
  rig.tickuntilthrottle(77);
  ASSERT_EQ(rig.state.livetps, 77);
  for (int i = 1; i <= 20; ++i) {
    rig.tick(8);  // a quarter of a second of communication ticks, window-data replies among them
    rig.window->Timer1_Timer();
    EXPECT_EQ(rig.state.livetps, 77) << "settings tick " << i;
  }
  rig.pressall();
  EXPECT_EQ(rig.calibrated(), (std::vector<int>{79, 12, 77}));
  EXPECT_TRUE(rig.host.statuslines.empty());
}

TEST(SettingsEditorEcu, AReadingFromBeforeTheLinkClosedIsNotStored) {
  const struct {
    const char* name;
    bool unplug;  // the line is lost rather than closed from the menu
  } cases[] = {{"disconnected", false}, {"line lost", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ThrottleRig rig;
    rig.tickuntilthrottle(77);
    ASSERT_EQ(rig.state.livetps, 77);
    ASSERT_EQ(rig.state.livepps, 12);

    if (c.unplug) {
      rig.port.unplug(QStringLiteral("the adapter went away"));
      for (int tick = 0; tick < 5 && rig.state.online; ++tick) rig.tick();
    } else {
      rig.link.closeport();
    }
    ASSERT_FALSE(rig.state.online);
    EXPECT_FALSE(rig.state.livetps.has_value());
    EXPECT_FALSE(rig.state.livepps.has_value());

    // The throttle moves while the link is down; the buttons pressed before the first reply of the new connection
    // store nothing.
    rig.sim.setram(throttleaddress, 90);
    rig.sim.setram(pedaladdress, 20);
    ASSERT_TRUE(rig.link.openport());
    ASSERT_FALSE(rig.state.livetps.has_value());
    const std::size_t statuslines = rig.host.statuslines.size();
    rig.pressall();
    EXPECT_EQ(rig.calibrated(), (std::vector<int>{50, 50, 50}));
    ASSERT_EQ(rig.host.statuslines.size(), statuslines + 3);
    for (std::size_t i = statuslines; i < statuslines + 3; ++i)
      EXPECT_EQ(rig.host.statuslines[i], nothrottlereading);

    // A reading of this connection is stored.
    rig.tickuntilthrottle(90);
    ASSERT_EQ(rig.state.livetps, 90);
    rig.pressfulltps();
    EXPECT_EQ(rig.raw(110, throttlecells::fulltps), 90);
  }
}

TEST(SettingsEditorEcu, ThroughTheSerialPortTheSettingReachesTheEcu) {
  PtyRig rig;
  if (!rig.ready()) GTEST_SKIP() << "no pseudo-terminal: " << rig.error;
  RecordingEditorsHost host;
  Maps25 oldmaps;
  EditorContext context{rig.state, rig.prompts, rig.mainmaps,     rig.mainsettings,
                        rig.link,  host,        rig.templatemaps, oldmaps};
  ASSERT_TRUE(rig.link.openport());
  ASSERT_TRUE(rig.tick(6));
  rig.state.curmap = 110;
  rig.sim.setram(throttleaddress, 77);
  frmSettings window(context);
  window.show();
  window.textofcell(injectortrim)->setText(regional(QStringLiteral("-14")));
  window.Command[injectortrim]->click();
  for (int tick = 0; tick < 60 && rig.link.transferqueue().headiswrite(); ++tick) ASSERT_TRUE(rig.tick());
  const int row = rig.mainmaps.getbufferrow(110, 11, 0);
  EXPECT_EQ(rig.simrow(row), rig.modelrow(row));
  EXPECT_EQ(rig.mainmaps.getdata(110, 11, 0), 100);
  ASSERT_TRUE(rig.tick(20));
  EXPECT_EQ(rig.state.livetps, 77);
  rig.link.closeport();
}

}  // namespace
}  // namespace ostrel::test
