// The settings editor against the ECU simulator: an applied setting reaches the ECU's image, and the live panel
// shows the ECU's values.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "editors/settingspanel.h"
#include "editorsfixture.h"
#include "platform/colors.h"
#include "platform/ui/picturesurface.h"

namespace ostrel::test {
namespace {

constexpr int injectortrim = 176;  // (11, 0): 0.5, -64
constexpr int pedaladdress = 0x6D90;     // "PPSM": aux 1
constexpr int throttleaddress = 0x0092;  // "TPSM": raw throttle

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
  EXPECT_EQ(window->livepps(), 12);
  EXPECT_EQ(window->livetps(), 34);
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
  EXPECT_EQ(window.livetps(), 77);
  rig.link.closeport();
}

}  // namespace
}  // namespace ostrel::test
