// The data logger against the ECU simulator: what the ECU sends for the chosen variables is what the store keeps
// and the window shows; a change of channel restarts the log; the monitor's addresses reach the ECU.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "logger/logdisplay.h"
#include "logger/ui/frmmonitor.h"
#include "loggerrig.h"
#include "platform/colors.h"
#include "platform/ui/picturesurface.h"

namespace ostrel::test {
namespace {

constexpr std::uint8_t dataop = 0x93;  // the ECU's window-data reply

// Channels of the shipped profile whose variables the simulated engine leaves alone, and what the test puts there.
struct Fixed {
  int channel, variable;
  std::uint8_t value;
};
constexpr Fixed fixedchannels[] = {{7, 9, 41}, {10, 8, 123}, {14, 31, 200}};

void setfixed(LoggerRig& rig) {
  for (const Fixed& f : fixedchannels) rig.sim.setram(rig.address(f.variable), f.value);
}

// Whether a pixel near (x, y) twips has the colour: lines are placed per coordinate, so allow a pixel either way.
bool colournear(const QImage& image, double x, double y, std::uint32_t bgr) {
  const int px = static_cast<int>(x / 15), py = static_cast<int>(y / 15);
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (image.valid(px + dx, py + dy) && image.pixelColor(px + dx, py + dy) == bgrtocolor(bgr)) return true;
  return false;
}

TEST(LoggerEcu, StoresWhatTheEcuSentForTheChosenVariablesAndShowsItScaled) {
  LoggerRig rig;
  setfixed(rig);
  rig.connect();
  auto window = rig.open();
  EXPECT_EQ(rig.state.livemode, 1);
  EXPECT_EQ(rig.state.logindex, logwarmup);
  const std::size_t before = rig.sim.sent(dataop).size();
  rig.run(*window, 1200);  // 36 s of the communications timer; plan 0 asks for window data once in five

  // Every channel asked the ECU for its variable's address.
  for (int c = 0; c < 16; ++c) {
    const int list = c < 8 ? 0x6DB0 : 0x6DC0;
    const int at = list + 2 * (c % 8);
    const int address = rig.address(rig.state.logvar[static_cast<std::size_t>(c)]);
    EXPECT_EQ(rig.sim.ram(at) * 256 + rig.sim.ram(at + 1), address) << "channel " << c;
  }

  // After 49 replies of warm-up every reply to the logger's table became the next sample, byte for byte and
  // channel by channel.
  const auto sent = rig.sim.repliesto(rig.link.requesttable(LiveTable::log), before);
  const auto replies = static_cast<std::int32_t>(sent.size());
  ASSERT_GT(replies, 200);
  ASSERT_EQ(rig.state.logindex, replies + logwarmup);
  for (std::int32_t s = 0; s < rig.state.logindex; ++s) {
    const auto& reply = sent[static_cast<std::size_t>(s - logwarmup)];
    for (int c = 0; c < 16; ++c)
      ASSERT_EQ(rig.store.getlogdata(s, c), reply[static_cast<std::size_t>(c)]) << "sample " << s << " channel " << c;
    ASSERT_NE(rig.store.getlogtimestamps(s), QStringLiteral("0"));
  }
  for (const Fixed& f : fixedchannels)
    EXPECT_EQ(rig.store.getlogdata(rig.state.logindex - 1, f.channel), f.value) << "channel " << f.channel;
  EXPECT_EQ(rig.store.getlogtimestamps(rig.state.logindex), QStringLiteral("0"));

  // The boxes show the engine's own values: speed (channel 0, 50 rpm a step), mixture (4, the petrol ratio of
  // lambda), coolant (8, offset -20) and the fixed knock retard (7, 41 x 0.0625 = 2.5625 with one decimal).
  window->logtypedata();
  const auto& boxes = window->valueboxes();
  ASSERT_EQ(boxes.size(), 16u);
  const auto& engine = rig.sim.engine();
  EXPECT_NEAR(shownvalue(boxes[0].text), engine.rpm, 120.0) << boxes[0].text.toStdString();
  EXPECT_NEAR(shownvalue(boxes[4].text), engine.lambda * 14.7, 0.35) << boxes[4].text.toStdString();
  EXPECT_NEAR(shownvalue(boxes[8].text), engine.coolant, 1.5) << boxes[8].text.toStdString();
  EXPECT_TRUE(boxes[7].text.startsWith(QStringLiteral("knock ret. 2.6 ")) ||
              boxes[7].text.startsWith(QStringLiteral("knock ret. 2.56")))
      << boxes[7].text.toStdString();
  EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("engine speed ")));
  EXPECT_TRUE(boxes[0].text.endsWith(QStringLiteral(" (rpm)")));

  // The newest segment of the last channel (drawn on top of the others) lies where its two samples put it.
  const std::int32_t last = rig.state.logindex;
  const int column = tracecolumn(last);
  const double h = window->PicLog->heighttwips();
  const double x = (tracex(column) + tracex(column + 1)) / 2;
  const double y = (tracey(rig.store.getlogdata(last - 2, 15), h) + tracey(rig.store.getlogdata(last - 1, 15), h)) / 2;
  window->drawdata();
  EXPECT_TRUE(colournear(window->PicLog->image(), x, y, logpalette[15]));
  savescreenshot(window.get(), QStringLiteral("logger_simulator"));
}

TEST(LoggerEcu, ChangingAChannelRestartsTheLogAndRecordsTheNewVariable) {
  LoggerRig rig;
  setfixed(rig);
  rig.connect();
  auto window = rig.open();
  rig.run(*window, 600);
  ASSERT_GT(rig.state.logindex, 20);
  rig.tickprogress();
  window->Command2_Click();  // a filled grid, which the restart empties
  ASSERT_EQ(window->gridmodel().rowCount(), LogGridModel::gridrows);

  window->Combo1[3]->setCurrentIndex(9);  // boost becomes the knock retard, fixed at 41
  window->Timer1_Timer();
  EXPECT_EQ(rig.state.logvar[3], 9);
  EXPECT_EQ(rig.state.logindex, logwarmup);
  EXPECT_EQ(rig.store.getlogtimestamps(0), QStringLiteral("0"));
  EXPECT_EQ(rig.store.getlogdata(0, 0), 0);
  EXPECT_EQ(window->gridmodel().rowCount(), LogGridModel::emptysize);
  EXPECT_EQ(requestaddress(rig.link.requesttable(LiveTable::log), 3), rig.address(9));

  rig.run(*window, 600);
  ASSERT_GT(rig.state.logindex, 20);
  EXPECT_EQ(rig.sim.ram(0x6DB6) * 256 + rig.sim.ram(0x6DB7), rig.address(9));
  for (std::int32_t s = 0; s < rig.state.logindex; ++s) ASSERT_EQ(rig.store.getlogdata(s, 3), 41) << s;

  // Choosing the variable a channel already has changes nothing.
  const std::int32_t going = rig.state.logindex;
  window->Combo1[3]->setCurrentIndex(9);
  window->Timer1_Timer();
  EXPECT_EQ(rig.state.logindex, going);
}

TEST(LoggerEcu, MonitorAddressesReachTheEcuAndAreLoggedAsChannels13To16) {
  LoggerRig rig;
  rig.sim.setram(0x1234, 11);
  rig.sim.setram(0x0456, 22);
  rig.sim.setram(0x7ABC, 33);
  rig.connect();
  auto window = rig.open();
  rig.run(*window, 400);
  ASSERT_GE(rig.state.logindex, 0);
  const int channel15 = rig.address(rig.state.logvar[15]);

  bool scripted = false;
  rig.launcher.scripts.push_back([&](QDialog& dialog) {
    auto& monitor = static_cast<frmMonitor&>(dialog);
    scripted = true;
    EXPECT_EQ(rig.state.livemode, 4);
    for (std::uint8_t code : rig.state.logcolour) EXPECT_EQ(code, lognotrace);
    EXPECT_EQ(window->Label2[0]->text(), QStringLiteral("No trace"));
    for (QLineEdit* text : monitor.Text1) EXPECT_EQ(text->text(), QStringLiteral("ffff"));
    monitor.Text1[0]->setText(QStringLiteral("1234"));
    monitor.Text1[1]->setText(QStringLiteral("456"));
    monitor.Text1[2]->setText(QStringLiteral("7abc"));
    monitor.Text1[3]->setText(QStringLiteral("12345"));  // above ffff: the channel keeps its address
    monitor.Timer1_Timer();
    const std::int32_t from = rig.state.logindex;
    rig.run(*window, 200);  // plan 4 writes both halves of the table twice for each data request
    const std::uint8_t expected[] = {0x12, 0x34, 0x04, 0x56, 0x7A, 0xBC,
                                     static_cast<std::uint8_t>(channel15 >> 8),
                                     static_cast<std::uint8_t>(channel15 & 0xFF)};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(rig.sim.ram(0x6DC8 + k), expected[k]) << k;
    ASSERT_GT(rig.state.logindex, from + 20);
    for (std::int32_t s = rig.state.logindex - 10; s < rig.state.logindex; ++s) {
      EXPECT_EQ(rig.store.getlogdata(s, 12), 11);
      EXPECT_EQ(rig.store.getlogdata(s, 13), 22);
      EXPECT_EQ(rig.store.getlogdata(s, 14), 33);
    }
    // The four show the last reply's raw bytes.
    const auto& boxes = window->valueboxes();
    ASSERT_EQ(boxes.size(), 16u);
    EXPECT_TRUE(boxes[12].raw);
    EXPECT_EQ(boxes[12].text, QStringLiteral("11"));
    EXPECT_EQ(boxes[14].text, QStringLiteral("33"));
    savescreenshot(window.get(), QStringLiteral("logger_monitor"));
    monitor.close();
  });
  window->mnuMonitor_Click();
  ASSERT_TRUE(scripted);
  EXPECT_EQ(rig.launcher.opened, std::vector<QString>{QStringLiteral("frmMonitor")});
  EXPECT_EQ(rig.state.livemode, 1);
  // The default profile gave the colours back, and the swatches show them.
  for (int c = 0; c < 16; ++c) EXPECT_EQ(rig.state.logcolour[static_cast<std::size_t>(c)], c);
  EXPECT_TRUE(window->Label2[0]->text().isEmpty());
  // The logger's next tick puts the chosen variables back into channels 13 to 16.
  window->Timer1_Timer();
  EXPECT_EQ(requestaddress(rig.link.requesttable(LiveTable::log), 12), rig.address(rig.state.logvar[12]));
}

TEST(LoggerEcu, TheRamDumpOpensFromTheViewMenuAndCopiesTheEcusRamWhileTheLoggerWaits) {
  LoggerRig rig;
  rig.sim.enginerunning = false;  // RAM stands still while it is copied
  for (int address = 0x4000; address < 0x4040; ++address)
    rig.sim.setram(address, static_cast<std::uint8_t>(address * 7 + 3));
  rig.connect();
  auto window = rig.open();
  rig.run(*window, 100);
  ASSERT_TRUE(window->mnuRamDump->isEnabled());

  bool scripted = false;
  rig.launcher.scripts.push_back([&](QDialog& dialog) {
    scripted = true;
    EXPECT_EQ(rig.state.livemode, 16);
    // The logger's timer runs on underneath and takes 16 as its own: it stays open.
    rig.run(*window, 80);
    EXPECT_TRUE(window->isVisible());
    for (int n = 0; n < 0x40; ++n)
      ASSERT_EQ(rig.state.ramimage[static_cast<std::size_t>(n)], rig.sim.ram(0x4000 + n)) << "ECU RAM " << 0x4000 + n;
    dialog.close();
  });
  window->mnuRamDump->trigger();
  ASSERT_TRUE(scripted);
  EXPECT_EQ(rig.launcher.opened, std::vector<QString>{QStringLiteral("frmRAMDUMP")});
  EXPECT_EQ(rig.state.livemode, 1) << "back to the logger";
  const std::int32_t from = rig.state.logindex;
  rig.run(*window, 80);
  EXPECT_GT(rig.state.logindex, from) << "the logger records again";
}

TEST(LoggerEcu, ThroughTheSerialPortTheStoreHoldsWhatTheEcuSent) {
  PtyLogRig rig;
  if (!rig.ready()) GTEST_SKIP() << "no pseudo-terminal: " << rig.error;
  logsamples& store = rig.store;
  LinkProgressHost progresshost(rig.state, rig.link);
  ProgressJobs jobs(rig.state, rig.mainmaps, rig.mainsettings, store, rig.link, rig.prompts);
  jobs.sethost(&progresshost);
  LoggerContext context{rig.state, rig.prompts, rig.mainmaps, rig.mainsettings, rig.link, store, jobs};
  applylogprofile(shippedprofile(), rig.state);
  rig.state.preferences.rapidlogging = true;  // plan 1: two data requests in five
  ASSERT_TRUE(rig.link.openport());
  ASSERT_TRUE(rig.tick(6));
  {
    frmLog window(context);
    window.show();
    const std::size_t before = rig.sim.sent(dataop).size();
    for (int i = 0; i < 300; ++i) {
      ASSERT_TRUE(rig.tick());
      if (i % 8 == 7) window.Timer1_Timer();
    }
    const auto sent = rig.sim.repliesto(rig.link.requesttable(LiveTable::log), before);
    ASSERT_GT(rig.state.logindex, 30);
    ASSERT_EQ(rig.state.logindex, static_cast<std::int32_t>(sent.size()) + logwarmup);
    for (std::int32_t s = 0; s < rig.state.logindex; ++s)
      for (int c = 0; c < 16; ++c)
        ASSERT_EQ(store.getlogdata(s, c), sent[static_cast<std::size_t>(s - logwarmup)][static_cast<std::size_t>(c)]);
    window.close();
  }
  EXPECT_EQ(rig.state.livemode, 0);
  rig.link.sethost(nullptr);
  rig.link.closeport();
}

}  // namespace
}  // namespace ostrel::test
