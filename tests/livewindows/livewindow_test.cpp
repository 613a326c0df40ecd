#include <gtest/gtest.h>

#include <QLabel>

#include "common/testrig.h"
#include "livewindows/livewindow.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

// A live window that keeps what it was given.
class ProbeWindow final : public LiveWindow {
 public:
  ProbeWindow(ProgramState& state, EcuLink& link, int closeafter, std::uint8_t back = 0)
      : LiveWindow(state, link, 14, 200, closeafter, {4}), back_(back) {
    setObjectName(QStringLiteral("frmProbe"));
    startlive();
  }
  std::vector<RxFrame> replies;
  int ticks = 0;

 protected:
  void reportdata(const RxFrame& rxframe) override { replies.push_back(rxframe); }
  void timertick() override {
    ++ticks;
    live().countage();
  }
  std::uint8_t backto() const override { return back_; }

 private:
  std::uint8_t back_;
};

class LiveWindowTest : public ::testing::Test {
 protected:
  Rig rig;
};

TEST_F(LiveWindowTest, OpeningTakesTheSelectorAndWindowDataArrives) {
  rig.state.windowticks = 9;
  rig.state.windowage = 77;
  ProbeWindow window(rig.state, rig.link, 5);
  EXPECT_EQ(rig.state.livemode, 14);
  EXPECT_EQ(rig.state.windowticks, 0);
  EXPECT_EQ(rig.state.windowage, 0);
  rig.sim.setram(0x6D80, 0x5A);
  rig.connect();
  rig.tick(12);  // plan 14 asks for window data once in five requests
  ASSERT_FALSE(window.replies.empty());
}

TEST_F(LiveWindowTest, ClosesItselfOnTheFifthForeignTickCountedApart) {
  ProbeWindow window(rig.state, rig.link, 5);
  window.show();
  const std::uint8_t modes[] = {0, 14, 2, 14, 2, 2};  // foreign ticks need not follow each other
  for (std::uint8_t mode : modes) {
    rig.state.livemode = mode;
    window.Timer1_Timer();
  }
  EXPECT_EQ(rig.state.windowticks, 4);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.ticks, 6) << "the window's own part runs while it stays open";
  rig.state.livemode = 2;
  window.Timer1_Timer();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.ticks, 6);
  EXPECT_EQ(rig.state.livemode, 2) << "the selector of the window that took over is left alone";
}

TEST_F(LiveWindowTest, AnotherOwnValueIsNoForeignTick) {
  ProbeWindow window(rig.state, rig.link, 1);
  rig.state.livemode = 4;
  window.Timer1_Timer();
  EXPECT_EQ(rig.state.windowticks, 0);
}

TEST_F(LiveWindowTest, AWindowThatNeverClosesItselfLeavesTheSharedTickCountAlone) {
  ProbeWindow window(rig.state, rig.link, 0);
  window.show();
  rig.state.livemode = 2;
  for (int i = 0; i < 20; ++i) window.Timer1_Timer();
  EXPECT_EQ(rig.state.windowticks, 0);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.ticks, 20);
}

TEST_F(LiveWindowTest, ClosingGivesTheSelectorBackAndStopsTheData) {
  auto window = std::make_unique<ProbeWindow>(rig.state, rig.link, 5, 1);
  window->show();
  window->close();
  EXPECT_EQ(rig.state.livemode, 1);
  rig.state.livemode = 14;  // the selector names the closed window's value again: nothing may reach it
  rig.connect();
  rig.tick(12);
  EXPECT_TRUE(window->replies.empty());
}

TEST_F(LiveWindowTest, AgeStopsAtAThousand) {
  ProbeWindow window(rig.state, rig.link, 0);
  for (int i = 0; i < 1005; ++i) window.Timer1_Timer();
  EXPECT_EQ(rig.state.windowage, 1000);
}

TEST_F(LiveWindowTest, ScriptedLauncherRunsTheScriptOnTheShownWindowAndClosesIt) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  ProbeWindow window(rig.state, rig.link, 5);
  bool visible = false;
  scripted.scripts.push_back([&](QDialog& dialog) { visible = dialog.isVisible(); });
  launcher().showmodal(window);
  EXPECT_TRUE(visible);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(rig.state.livemode, 0);
  ASSERT_EQ(scripted.opened.size(), 1u);
  EXPECT_EQ(scripted.opened[0], QStringLiteral("frmProbe"));
}

}  // namespace
}  // namespace ostrel::test
