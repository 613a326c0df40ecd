// Key edits on their way into the ECU: the keyboard handler, the commands timer's countdown and the link, with the
// simulator on a pseudo-terminal behind the real QSerialPort.
#include <gtest/gtest.h>

#include <set>

#include "common/testrig.h"
#include "link/imagetransfer.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "mapviews/keycodes.h"
#include "mapviews/keyhandler.h"
#include "mapviewsfixture.h"
#include "shell/maintimers.h"
#include "shell/shellhost.h"

using namespace ostrel;

namespace {

// The shipped calibration in the model and in the ECU.
class KeyEditsOverTheLine : public ::testing::Test, protected test::PtyRig {
 protected:
  KeyEditsOverTheLine() : PtyRig(3) {}
  void SetUp() override {
    ASSERT_TRUE(ready()) << error;
    handler.install();
    state.preferences.trackmode = false;  // the live replies leave the cursor where the keys put it
    state.curmap = 4;
  }

  // One tick of the communications timer; the ECU answers and its answer is on the line before the next tick.
  void exchange() { ASSERT_TRUE(PtyRig::tick()) << "the ECU's answer did not arrive"; }
  // 100 ms: three ticks of the communications timer, then one of the commands timer.
  void tick() {
    for (int i = 0; i < 3; ++i) exchange();
    ++ticks;
    const int lastbefore = link.lastqueuedtransfer();
    const bool waitedbefore = link.transferqueue().headiswrite();
    timers.commandstick();
    // A handover queues a batch of writes: the rows it holds are those the rectangle touches.
    if (link.lastqueuedtransfer() > lastbefore || (!waitedbefore && link.transferqueue().headiswrite())) {
      std::set<int> rows;
      for (const TransferRecord& r : link.transferqueue().records)
        if (r.op == oprowwrite) rows.insert(((r.addresshigh << 8 | r.addresslow) - 0x8000) / 16);
      handovers.push_back({ticks, rows});
    }
  }
  void key(int keycode, int shift = 0) { handler.mapkeydown(keycode, shift, MapView::grid, false); }
  std::size_t rowwrites() const { return sim.sent(oprowwrite).size(); }

  struct Handover {
    int tick;
    std::set<int> rows;  // the image rows queued
  };

  maps& model = mainmaps;
  MapViews views{state, model, link, prompts};
  KeyHandler handler{state, model, mainsettings, link, views, prompts};
  ImageTransfer transfer{state, model, prompts, link};
  ShellHost mainwindow;  // nothing to redraw here
  logsamples logstore;
  ProgressJobs jobs{state, model, mainsettings, logstore, link, prompts};
  MainTimers timers{state, model, link, transfer, jobs, prompts, mainwindow};
  std::vector<Handover> handovers;
  int ticks = 0;
};

TEST_F(KeyEditsOverTheLine, ABurstOfKeysIsWrittenOnceAboutSevenTenthsOfASecondAfterTheLastKey) {
  ASSERT_TRUE(link.openport());
  for (int i = 0; i < 5; ++i) tick();
  ASSERT_TRUE(state.online);
  ASSERT_EQ(rowwrites(), 0u);

  // Steps on three cells and a box, each key within 0.7 s of the one before.
  state.cursorrow = 3, state.cursorcol = 5;
  key(vk::pageup);
  tick();
  key(vk::right);
  key(vk::plus, vk::shift);
  tick();
  tick();
  key(vk::down);
  key(vk::pagedown);
  for (int i = 0; i < 5; ++i) tick();
  key(vk::right, vk::ctrl);
  key(vk::right, vk::ctrl);
  key(vk::pageup);  // the last edit: cells (4..6, 6) up by 2
  const int lastkey = ticks;
  ASSERT_EQ(state.pendingcommand, 8);

  while (ticks < lastkey + 6) {
    tick();
    ASSERT_TRUE(handovers.empty()) << "handed over at tick " << ticks - lastkey << " after the last key";
    ASSERT_EQ(rowwrites(), 0u);
  }
  tick();
  ASSERT_EQ(handovers.size(), 1u);
  EXPECT_EQ(handovers[0].tick, lastkey + 7) << "on the seventh commands tick after the last key";
  // Map 4's cells (3..6, 5..6): the whole rectangle of the burst.
  std::set<int> touched;
  for (int row = 3; row <= 6; ++row)
    for (int col = 5; col <= 6; ++col) touched.insert(model.getbufferrow(4, row, col));
  EXPECT_EQ(handovers[0].rows, touched);

  // The queue drains one write per plan slot; every touched image row reaches the ECU once.
  for (int i = 0; i < 20 && link.transferqueue().headiswrite(); ++i) tick();
  ASSERT_FALSE(link.transferqueue().headiswrite());
  EXPECT_EQ(rowwrites(), touched.size());
  EXPECT_TRUE(simholdsmodel());
  EXPECT_EQ(sim.checksum(4), model.getchecksum(4));

  // Nothing more follows.
  for (int i = 0; i < 12; ++i) tick();
  EXPECT_EQ(handovers.size(), 1u);
  EXPECT_EQ(rowwrites(), touched.size());
  EXPECT_EQ(link.errorcount(), 1) << link.errlogtext().toStdString();  // only the start-up wait
}

TEST_F(KeyEditsOverTheLine, EditsMadeOfflineAreNeverSent) {
  ASSERT_TRUE(link.openport());
  for (int i = 0; i < 3; ++i) tick();
  link.closeport();
  ASSERT_FALSE(state.online);

  state.cursorrow = 10, state.cursorcol = 10;
  key(vk::pageup);
  key(vk::right, vk::ctrl);
  key(vk::pageup);  // a box edit marks the box even offline
  EXPECT_EQ(state.pendingcommand, 8);
  tick();
  EXPECT_EQ(state.pendingcommand, 0);
  EXPECT_TRUE(state.pendingwrite.empty());

  // Connecting a moment later writes nothing of them.
  ASSERT_TRUE(link.openport());
  for (int i = 0; i < 20; ++i) tick();
  EXPECT_TRUE(handovers.empty());
  EXPECT_EQ(rowwrites(), 0u);
  EXPECT_FALSE(simholdsmodel());
}

}  // namespace
