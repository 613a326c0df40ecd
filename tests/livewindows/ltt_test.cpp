#include <gtest/gtest.h>

#include <QLabel>

#include "common/linkhelpers.h"
#include "common/testrig.h"
#include "livewindows/frmltt.h"
#include "livewindows/livewindowcore.h"
#include "livewindows/ltttable.h"
#include "livewindowsfixture.h"

namespace ostrel::test {
namespace {

class LttTest : public ::testing::Test {
 protected:
  LttTest() {
    live.open([](const RxFrame&) {});
    table.load();
  }
  // Timer ticks until the window age stands at the given value (the half may switch on the way).
  void tickto(int age) {
    while (rig.state.windowage != age) table.timertick();
  }

  Rig rig;
  LiveWindowCore live{rig.state, rig.link, 2, 0};
  LttTable table{live};
};

TEST_F(LttTest, RequestTablesOfBothHalves) {
  const RequestTable first = {
      {{0x60, 0x00, 0x60, 0x01, 0x60, 0x02, 0x60, 0x03, 0x60, 0x10, 0x60, 0x11, 0x60, 0x12, 0x60, 0x13},
       {0x60, 0x20, 0x60, 0x21, 0x60, 0x22, 0x60, 0x23, 0x60, 0x30, 0x60, 0x31, 0x60, 0x32, 0x60, 0x33}}};
  const RequestTable second = {
      {{0x60, 0x40, 0x60, 0x41, 0x60, 0x42, 0x60, 0x43, 0x60, 0x50, 0x60, 0x51, 0x60, 0x52, 0x60, 0x53},
       {0x60, 0x60, 0x60, 0x61, 0x60, 0x62, 0x60, 0x63, 0x60, 0x70, 0x60, 0x71, 0x60, 0x72, 0x60, 0x73}}};
  EXPECT_EQ(LttTable::addresses(false), first);
  EXPECT_EQ(LttTable::addresses(true), second);
  EXPECT_EQ(rig.link.requesttable(LiveTable::ltt), first) << "the first half on loading";
}

TEST_F(LttTest, TrimTexts) {
  const std::pair<std::uint8_t, const char*> cases[] = {{128, "0 %"},    {123, "-2.5 %"}, {255, "63.5 %"}, {0, "-64 %"},
                                                        {127, "-0.5 %"}, {133, "2.5 %"},  {130, "1 %"}};
  for (const auto& [trim, text] : cases) EXPECT_EQ(LttTable::trimtext(trim), text) << int(trim);
}

TEST_F(LttTest, HalvesSwitchEveryTenTicks) {
  for (int tick = 1; tick <= 9; ++tick) table.timertick();
  EXPECT_FALSE(table.ltthalf());
  EXPECT_EQ(rig.state.windowage, 9);
  table.timertick();
  EXPECT_TRUE(table.ltthalf());
  EXPECT_EQ(rig.state.windowage, 0);
  EXPECT_EQ(rig.link.requesttable(LiveTable::ltt), LttTable::addresses(true));
  for (int tick = 1; tick <= 10; ++tick) table.timertick();
  EXPECT_FALSE(table.ltthalf());
  EXPECT_EQ(rig.link.requesttable(LiveTable::ltt), LttTable::addresses(false));
}

TEST_F(LttTest, RepliesCountOnlyOnTheTenthTickOfAHalf) {
  const RxFrame frame = frameof({{0, 128}, {15, 133}, {5, 100}});
  for (int age = 0; age <= 8; ++age) {
    tickto(age);
    EXPECT_FALSE(table.reportdata(frame)) << age;
  }
  EXPECT_EQ(table.cell(15), "0 %");
  tickto(9);
  ASSERT_TRUE(table.reportdata(frame));
  EXPECT_EQ(table.cell(0), "0 %");     // 0 rpm, high load
  EXPECT_EQ(table.cell(15), "2.5 %");  // 2400 rpm, light load
  EXPECT_EQ(table.cell(5), "-14 %");   // 800 rpm, mid load
  EXPECT_EQ(table.cell(16), "0 %");

  tickto(0);
  ASSERT_TRUE(table.ltthalf());
  tickto(9);
  const RxFrame second = frameof({{0, 120}, {15, 133}});
  ASSERT_TRUE(table.reportdata(second));
  EXPECT_EQ(table.cell(16), "-4 %");   // 3200 rpm, high load
  EXPECT_EQ(table.cell(31), "2.5 %");  // 5600 rpm, light load
  EXPECT_EQ(table.cell(0), "0 %") << "the other half keeps its cells";
  EXPECT_EQ(table.cell(5), "-14 %");
}

TEST_F(LttTest, ClearAppendsEightWritesBehindTheQueue) {
  std::vector<TransferRecord> waiting;
  for (int i = 0; i < 20; ++i) waiting.push_back(TransferQueue::ramwrite(0x5000, {}));
  ASSERT_TRUE(rig.link.queueramwrites(waiting));
  ASSERT_TRUE(table.clear());
  const TransferQueue& queue = rig.link.transferqueue();
  const std::array<std::uint8_t, 16> pattern = {0x80, 0x80, 0x80, 0x80, 0x55, 0xAA, 0x55, 0xAA,
                                                0x55, 0xAA, 0x55, 0xAA, 0x00, 0x00, 0x66, 0xBB};
  for (int r = 0; r < 8; ++r) {
    const TransferRecord& record = queue.records[20 + r];
    EXPECT_EQ(record.op, 0x80) << r;
    EXPECT_EQ(record.addresshigh, 0x60) << r;
    EXPECT_EQ(record.addresslow, 16 * r) << r;
    EXPECT_EQ(record.count, 16) << r;
    EXPECT_FALSE(record.status) << r;
    EXPECT_EQ(record.data, pattern) << r;
  }
  for (int i = 0; i < 20; ++i) EXPECT_EQ(queue.records[i], waiting[i]) << "no record in use is overwritten";
  EXPECT_EQ(queue.records[28].op, 0);
}

TEST_F(LttTest, ClearIntoAQueueWithoutRoomQueuesNothing) {
  const int room = rig.link.transferqueue().room();
  ASSERT_TRUE(rig.link.queueramwrites(std::vector<TransferRecord>(room - 7, TransferQueue::ramwrite(0x5000, {}))));
  const TransferQueue before = rig.link.transferqueue();
  EXPECT_FALSE(table.clear());
  EXPECT_EQ(rig.link.transferqueue().records, before.records);
}

TEST(LttWindow, CellsShowTheTableAndClearReachesTheEcu) {
  Rig rig;
  frmLtt window(rig.state, rig.link);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Long term trim");
  EXPECT_EQ(rig.state.livemode, 2);
  EXPECT_EQ(window.Label2[0]->text(), "High load");
  EXPECT_EQ(window.Label2[11]->text(), "5600 rpm ");
  EXPECT_EQ(window.Label1[31]->text(), "0 %");
  // Cell 4r + c stands at left 1440 + 1080 r, top 720 + 360 c.
  EXPECT_EQ(window.Label1[5]->x() - window.Label1[1]->x(), 72);
  EXPECT_EQ(window.Label1[1]->y() - window.Label1[0]->y(), 24);

  rig.connect();
  for (int i = 0; i < 9; ++i) {
    window.Timer1_Timer();
    rig.tick(7);
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(window.Label1[4 * r + c]->text(), LttTable::trimtext(rig.sim.ram(0x6000 + 16 * r + c))) << r << c;

  window.mnuClearLtt->trigger();
  rig.tick(30);
  for (int r = 0; r < 8; ++r) EXPECT_EQ(rig.sim.ram(0x6000 + 16 * r + 15), 0xBB) << r;
  EXPECT_EQ(rig.sim.ram(0x6053), 0x80);
  window.mnuExitLTT->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(rig.state.livemode, 0);
}

}  // namespace
}  // namespace ostrel::test
