#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

#include "common/testrig.h"
#include "livewindows/firmwaresignature.h"
#include "livewindows/frmfirmware.h"
#include "livewindows/livewindowcore.h"
#include "livewindowsfixture.h"

namespace ostrel::test {
namespace {

class FirmwareTest : public ::testing::Test {
 protected:
  FirmwareTest() {
    live.open([](const RxFrame&) {});
    signature.load();
  }

  // A reply whose progress byte is the given value and whose signature bytes are 12, 200, 7, 99.
  static RxFrame reply(std::uint8_t progress) { return frameof({{6, 12}, {7, 200}, {8, 7}, {9, 99}, {12, progress}}); }

  Rig rig;
  LiveWindowCore live{rig.state, rig.link, 21, 0};
  FirmwareMemory memory;
  FirmwareSignature signature{live, memory};
};

TEST_F(FirmwareTest, SignatureAndNeutralTables) {
  const RequestTable on = FirmwareSignature::addresses(true);
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(on[k / 8][2 * (k % 8)], 0x6C) << k;
    EXPECT_EQ(on[k / 8][2 * (k % 8) + 1], 0xF0 + k) << k;
  }
  const RequestTable off = FirmwareSignature::addresses(false);
  for (const auto& list : off)
    for (std::uint8_t byte : list) EXPECT_EQ(byte, 0x62);
  EXPECT_EQ(rig.link.requesttable(LiveTable::firmware), on) << "the table is in place from the load on";
}

TEST_F(FirmwareTest, TheSignatureShowsAfterTenChangesOfTheProgressByteFromTheSixthTickOn) {
  EXPECT_EQ(signature.label(), "Please wait while the firmware signature is calculated...");
  // Five ticks old: replies are not looked at.
  for (int i = 0; i < 5; ++i) signature.timertick();
  for (int p = 1; p <= 20; ++p) signature.reportdata(reply(static_cast<std::uint8_t>(p)));
  EXPECT_EQ(signature.progress(), 0);
  signature.timertick();
  ASSERT_EQ(rig.state.windowage, 6);

  // The first reply counts against the byte kept from before (0 here); a byte that stays does not count.
  signature.reportdata(reply(20));
  EXPECT_EQ(signature.progress(), 1);
  signature.reportdata(reply(20));
  EXPECT_EQ(signature.progress(), 1);
  for (int p = 21; p <= 28; ++p) signature.reportdata(reply(static_cast<std::uint8_t>(p)));
  EXPECT_EQ(signature.progress(), 9);
  EXPECT_EQ(signature.label(), FirmwareSignature::waitingtext());
  signature.reportdata(reply(29));
  EXPECT_EQ(signature.progress(), 10);
  EXPECT_EQ(signature.label(), "Firmware signature: 12, 200, 7, 99");
  EXPECT_EQ(memory.lastprogressbyte, 29);

  // Later replies rewrite the label; the bar stays full.
  RxFrame later = reply(31);
  later[9] = 100;
  signature.reportdata(later);
  EXPECT_EQ(signature.progress(), 10);
  EXPECT_EQ(signature.label(), "Firmware signature: 12, 200, 7, 100");
}

TEST_F(FirmwareTest, TheFirstCloseIsRefusedThenTheSelectorGoesAtTickSixAndTheWindowAtTwelve) {
  EXPECT_FALSE(signature.requestclose());
  EXPECT_EQ(rig.state.windowticks, 1);
  EXPECT_EQ(rig.link.requesttable(LiveTable::firmware), FirmwareSignature::addresses(true));
  for (int tick = 2; tick <= 12; ++tick) {
    const bool close = signature.timertick();
    EXPECT_EQ(rig.state.windowticks, tick);
    EXPECT_EQ(rig.link.requesttable(LiveTable::firmware), FirmwareSignature::addresses(false)) << tick;
    EXPECT_EQ(rig.state.livemode, tick < 6 ? 21 : 0) << tick;
    EXPECT_EQ(close, tick == 12) << tick;
  }
}

TEST_F(FirmwareTest, ClosingIgnoresRepliesKeepsAnotherWindowsSelectorAndASecondCloseGoesThrough) {
  for (int i = 0; i < 6; ++i) signature.timertick();
  signature.requestclose();
  signature.reportdata(reply(1));
  signature.reportdata(reply(2));
  EXPECT_EQ(signature.progress(), 0) << "the closing phase takes no replies";
  rig.state.livemode = 14;
  for (int i = 0; i < 6; ++i) signature.timertick();
  EXPECT_EQ(rig.state.livemode, 14) << "another window's selector is left alone";
  EXPECT_TRUE(signature.requestclose());
  EXPECT_EQ(rig.state.windowticks, 1);
}

TEST_F(FirmwareTest, AnotherWindowTakingTheSelectorDoesNotStartTheClosingPhase) {
  rig.state.livemode = 14;
  for (int i = 0; i < 10; ++i) signature.timertick();
  EXPECT_EQ(rig.state.windowticks, 0) << "the firmware window counts no foreign ticks";
  EXPECT_FALSE(signature.closing());
}

TEST(FirmwareWindow, CloseIsRefusedOnceAndTheWindowClosesItselfAtTheTwelfthTick) {
  Rig rig;
  FirmwareMemory memory;
  frmFirmware window(rig.state, rig.link, memory);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Firmware signature");
  EXPECT_EQ(rig.state.livemode, 21);
  EXPECT_EQ(window.ProgressBar1->maximum(), 10);
  window.close();
  EXPECT_TRUE(window.isVisible());
  for (int tick = 2; tick < 12; ++tick) window.Timer1_Timer();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(rig.state.livemode, 0);
  window.Timer1_Timer();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace ostrel::test
