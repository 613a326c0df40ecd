// The program against the ECU simulator on a pseudo-terminal, through the real serial port: connect, live polling
// from the communications tick, an edit written about 0.7 s after it was made, the mismatch warning and the
// no-reply question. Every tick is driven by hand; the waits are bounded waits for bytes on the line.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "common/testrig.h"
#include "platform/ui/picturesurface.h"
#include "shell/gaugewindow.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

constexpr int commsperchecks = 17;   // 500 ms / 30 ms
constexpr int commspercommands = 3;  // 100 ms / 30 ms

class EndToEnd : public test::ProgramTest<test::PtyEcu> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ready()) << error;
    startprogram();
  }

  // The simulator answers what went out; its answer is on the line before the next tick.
  void commstep() override {
    const auto sent = parts.state.sendcount;
    const int before = sim.requests();
    window->timers().commstick();
    if (answering && parts.state.sendcount != sent) {
      ASSERT_TRUE(server.pumpuntil(before + 1, 1000));
      ASSERT_TRUE(server.waitfordelivery(replylength, 1000));
    }
    server.step();
  }
  // Half a second: the communications ticks, then one checks tick.
  void checksround() {
    commsteps(commsperchecks);
    window->timers().checkstick();
  }

  bool answering = true;
};

TEST_F(EndToEnd, ConnectsAndPollsFromTheCommunicationsTick) {
  window->menus().action("mnuComsConnect")->trigger();
  ASSERT_TRUE(parts.state.online);
  EXPECT_FALSE(window->menus().action("mnuComsConnect")->isEnabled());
  EXPECT_TRUE(window->menus().action("mnuComsDisconnect")->isEnabled());
  EXPECT_TRUE(window->menus().action("mnuEcuSave")->isEnabled());

  const int before = sim.requests();
  const QImage panel = window->frmDisplay->picGraph->image();
  commsteps(40);
  EXPECT_GE(sim.requests() - before, 30);  // one request a tick once the link has settled
  EXPECT_LE(parts.link.errorcount(), 2);
  EXPECT_GT(parts.link.live().liverpm, 0);
  EXPECT_EQ(parts.link.live().fwversion, 64);
  EXPECT_TRUE(parts.link.ecuchecksumcurrent());
  EXPECT_EQ(parts.link.live().ecuchecksum, parts.mainmaps.getchecksum(parts.state.curmap));
  // The live values have been drawn on the gauge window's panel.
  EXPECT_NE(window->frmDisplay->picGraph->image(), panel);

  // Ticks of the checks timer with matching checksums raise nothing.
  for (int i = 0; i < 3; ++i) checksround();
  EXPECT_EQ(parts.state.syncerrticks, 0);
  EXPECT_TRUE(parts.prompts.messages().empty());
  test::savescreenshot(window, "mainwindow");

  window->menus().action("mnuComsDisconnect")->trigger();
  EXPECT_FALSE(parts.state.online);
  EXPECT_TRUE(window->menus().action("mnuComsConnect")->isEnabled());
  const int after = sim.requests();
  commsteps(5);
  EXPECT_EQ(sim.requests(), after);
}

TEST_F(EndToEnd, EditReachesTheEcuOnTheSeventhCommandsTick) {
  connect();
  const std::uint8_t map = 8;
  parts.state.curmap = map;
  const int row = parts.mainmaps.getbufferrow(map, 3, 4);
  const auto original = simrow(row);

  // The edit as the map views make it: the model's cell, the rectangle, its map and the countdown.
  parts.mainmaps.setdata(map, 3, 4, parts.mainmaps.getdata(map, 3, 4) + 5, true);
  parts.state.pendingwrite = {3, 3, 4, 4};
  parts.state.pendingmap = map;
  parts.state.pendingcommand = MainTimers::writecountdown;
  ASSERT_NE(modelrow(row), original);

  for (int tick = 1; tick <= 6; ++tick) {
    commsteps(commspercommands);
    window->timers().commandstick();
    EXPECT_FALSE(parts.link.transferqueue().headiswrite()) << "commands tick " << tick;
  }
  commsteps(commspercommands);
  EXPECT_EQ(simrow(row), original);
  window->timers().commandstick();  // 0.7 s after the edit
  ASSERT_TRUE(parts.link.transferqueue().headiswrite());
  EXPECT_EQ(parts.link.transferqueue().lastqueuedtransfer(), 8);  // eight block-table writes and the row

  int steps = 0;
  while (simrow(row) != modelrow(row) && steps < 40) {
    commstep();
    ++steps;
  }
  EXPECT_EQ(simrow(row), modelrow(row));
  EXPECT_LE(steps, 25);
  // The rows around it are untouched and the ECU now reports the program's checksum.
  EXPECT_EQ(simrow(row + 1), modelrow(row + 1));
  commsteps(10);
  EXPECT_EQ(parts.link.live().ecuchecksum, parts.mainmaps.getchecksum(map));
}

TEST_F(EndToEnd, MismatchWarningAfterTenMismatchingChecksTicks) {
  connect();
  parts.state.curmap = 8;
  checksround();
  EXPECT_EQ(parts.state.syncerrticks, 0);
  // The program's map changes without being written to the ECU.
  parts.mainmaps.setdata(8, 0, 0, parts.mainmaps.getdata(8, 0, 0) + 1, false);
  for (int tick = 1; tick <= 9; ++tick) {
    checksround();
    EXPECT_EQ(parts.state.syncerrticks, tick);
  }
  EXPECT_TRUE(parts.prompts.messages().empty());
  checksround();
  ASSERT_EQ(parts.prompts.messages().size(), 1u);
  EXPECT_EQ(parts.prompts.messages()[0], MainTimers::mismatchwarning());
  checksround();
  EXPECT_EQ(parts.prompts.messages().size(), 1u);
}

TEST_F(EndToEnd, NoReplyQuestionThirteenChecksTicksAfterTheEcuFallsSilent) {
  connect();
  checksround();
  commsteps(commsperchecks);
  answering = false;
  commstep();  // takes in the last reply that was already on its way
  parts.prompts.answers = {Prompts::Answer::Yes};
  for (int tick = 1; tick <= 12; ++tick) {
    window->timers().checkstick();
    EXPECT_TRUE(parts.prompts.messages().empty()) << "checks tick " << tick;
    EXPECT_EQ(parts.state.noreplyticks, tick);
    commsteps(commsperchecks);
  }
  window->timers().checkstick();
  ASSERT_EQ(parts.prompts.messages(), std::vector<QString>{"The ECU is not responding, disconnect now?"});
  EXPECT_FALSE(parts.state.online);
  EXPECT_TRUE(window->menus().action("mnuComsConnect")->isEnabled());
  EXPECT_FALSE(window->menus().action("mnuComsDisconnect")->isEnabled());
}

}  // namespace
