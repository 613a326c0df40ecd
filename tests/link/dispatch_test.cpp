#include <gtest/gtest.h>

#include <algorithm>

#include "linkfixture.h"

namespace ostrel::test {
namespace {

using ecusim::Fault;

// The window-data slot of plan 2 (long-term trim): site, values, window, ltt0, ltt1.
TEST_F(SimLink, WindowDataGoesToTheReceiversOfTheSelectorOnly) {
  state.livemode = 2;
  // The long-term trim window asks for two RAM bytes; the rest of its table stays empty.
  RequestTable table;
  table[0] = {0x60, 0x00, 0x60, 0x01};
  for (int i = 4; i < 16; ++i) table[0][i] = 0xFF;
  table[1].fill(0xFF);
  link.setrequesttable(LiveTable::ltt, table);
  sim.setram(0x6000, 0x42);
  sim.setram(0x6001, 0x43);

  std::vector<RxFrame> ltt, other;
  const int id = link.registerreceiver(2, [&](const RxFrame& rx) { ltt.push_back(rx); });
  link.registerreceiver(14, [&](const RxFrame& rx) { other.push_back(rx); });
  connectandsettle();
  step(8);  // to the second window reply: the first was asked before the table went to the ECU, and goes nowhere
  ASSERT_EQ(ltt.size(), 1u);
  EXPECT_TRUE(other.empty());
  EXPECT_EQ(ltt[0][0], 0x42);
  EXPECT_EQ(ltt[0][1], 0x43);
  EXPECT_EQ(ltt[0][2], 0);
  EXPECT_EQ(link.rxframe(), ltt[0]) << "the live windows may read rxframe directly too";
  EXPECT_TRUE(host.samples.empty()) << "window data of a live window is no log sample";

  link.unregisterreceiver(id);  // the window closed without resetting the selector: its data is dropped
  step(5);
  EXPECT_EQ(ltt.size(), 1u);
}

TEST_F(SimLink, LoggerSelectorsFeedTheLoggerThenTheSampleStore) {
  struct Case {
    std::uint8_t livemode;
    const char* calls;
  };
  const Case cases[] = {{0, "addlogsample"},
                        {1, "logtypedata drawdata addlogsample"},
                        {4, "logtypedata drawdata addlogsample"},
                        {9, "addlogsample"},  // no plan: counts as 0
                        {3, "settingstypedata"}};
  link.registerreceiver(1, [&](const RxFrame&) { host.calls.push_back(QStringLiteral("logtypedata")); });
  link.registerreceiver(1, [&](const RxFrame&) { host.calls.push_back(QStringLiteral("drawdata")); });
  link.registerreceiver(4, [&](const RxFrame&) { host.calls.push_back(QStringLiteral("logtypedata")); });
  link.registerreceiver(4, [&](const RxFrame&) { host.calls.push_back(QStringLiteral("drawdata")); });
  link.registerreceiver(3, [&](const RxFrame&) { host.calls.push_back(QStringLiteral("settingstypedata")); });
  connectandsettle();
  for (const Case& c : cases) {
    state.livemode = c.livemode;
    step(5);  // finish the running plan
    host.calls.clear();
    step(5);  // one whole plan of the selector, with exactly one window-data reply
    const QStringList receivers = {QStringLiteral("logtypedata"), QStringLiteral("drawdata"),
                                   QStringLiteral("addlogsample"), QStringLiteral("settingstypedata")};
    QStringList windowcalls;
    for (const QString& call : host.calls)
      if (receivers.contains(call)) windowcalls << call;
    EXPECT_EQ(windowcalls.join(QLatin1Char(' ')), QString::fromLatin1(c.calls)) << "livemode " << int(c.livemode);
  }
}

TEST_F(SimLink, AReceiverMayCloseWindowsAndQueueQuestionsWhileItRuns) {
  state.livemode = 14;
  int calls = 0, later = 0, asked = 0, opened = 0;
  int second = 0;
  link.registerreceiver(14, [&](const RxFrame&) {
    ++calls;
    link.unregisterreceiver(second);  // closes the other window
    // Opens one, which waits for the next reply.
    if (calls == 1) link.registerreceiver(14, [&](const RxFrame&) { ++opened; });
    link.tick();  // an event pumped from inside the reply path does not step the link again
    link.defer([&] {
      ++asked;
      EXPECT_FALSE(link.inticks());
    });
    EXPECT_EQ(asked, calls - 1) << "a question waits until the tick has ended";
  });
  second = link.registerreceiver(14, [&](const RxFrame&) { ++later; });
  connectandsettle();
  step(5);  // the first window reply, asked before the window's table reached the ECU, reaches nobody
  EXPECT_EQ(calls + later, 0);
  const auto sent = port.written.size();
  step(3);  // values, window, inputs0 (the window reply is taken in on the third)
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(later, 0);
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(port.written.size(), sent + 3) << "one request per tick";
  step(5);  // the next window reply reaches the window opened meanwhile
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(later, 0);
}

// Plan 0 without a live window: site, values, window, log0, log1; its window data becomes a log sample.
template <class Param>
class WindowDataTable : public SimLink, public ::testing::WithParamInterface<Param> {
 protected:
  // Connects and works through the first plan, whose window data was asked before the table reached the ECU.
  void connectandwrite() {
    connectandsettle();
    step(5);
    ASSERT_TRUE(host.samples.empty());
    ASSERT_EQ(link.errorcount(), 1);  // the start-up wait only
    ASSERT_EQ(labels().join(QLatin1Char(' ')), QStringLiteral("site values window log0 log1 site"));
  }
};

// The logger's table changes before its window data is asked for, or while the request is on its way: either way
// the ECU answers the addresses written before, and the reply goes nowhere, quietly.
using TableChange = WindowDataTable<bool>;

TEST_P(TableChange, ATableChangedAfterItsWriteLosesTheNextReplyQuietly) {
  const bool onitsway = GetParam();
  connectandwrite();
  step(onitsway ? 2 : 1);
  RequestTable changed = link.requesttable(LiveTable::log);
  changed[1][3] = 0x42;
  link.setrequesttable(LiveTable::log, changed);
  step(onitsway ? 1 : 2);
  EXPECT_EQ(labels().mid(7).join(QLatin1Char(' ')), QStringLiteral("window log0"));
  EXPECT_TRUE(host.samples.empty());
  EXPECT_EQ(link.pollindex(), 3) << "the index moves on as after any intact reply";
  EXPECT_EQ(link.errorcount(), 1) << link.errlogtext().toStdString();
  EXPECT_EQ(link.errlog().size(), 1u);
  step(5);  // the new table reached the ECU before the next request
  ASSERT_EQ(host.samples.size(), 1u);
  EXPECT_EQ(host.samples[0], link.rxframe());
}

INSTANTIATE_TEST_SUITE_P(BeforeTheRequestOrOnItsWay, TableChange, ::testing::Bool());

// A RAM write of the queue that touches a request list: the ECU's list is what that write left, and window data
// goes nowhere until the plan has written the list again.
struct RamWriteCase {
  std::uint16_t address;
  bool answered;
};
using RamWriteOverList = WindowDataTable<RamWriteCase>;

TEST_P(RamWriteOverList, AQueuedRamWriteOverARequestListLosesTheReplyUntilTheListIsWrittenAgain) {
  const RamWriteCase c = GetParam();
  connectandwrite();
  link.queueramwrites({TransferQueue::ramwrite(c.address, {})});
  step(5);  // this plan's window data, then the RAM write
  ASSERT_EQ(host.samples.size(), 1u);
  ASSERT_EQ(labels().last(), QStringLiteral("ram%1").arg(c.address, 4, 16, QLatin1Char('0')));
  step(4);  // the write's reply, site, values, window
  EXPECT_EQ(host.samples.size(), c.answered ? 2u : 1u);
  EXPECT_EQ(link.errorcount(), 1);
  step(5);  // log0 and log1 put the table back
  EXPECT_EQ(host.samples.size(), c.answered ? 3u : 2u);
}

INSTANTIATE_TEST_SUITE_P(Addresses, RamWriteOverList,
                         ::testing::Values(RamWriteCase{0x5000, true}, RamWriteCase{0x6DC0, false},
                                           RamWriteCase{0x6DB8, false}, RamWriteCase{0x6DA8, false},
                                           RamWriteCase{0x6DD0, true}));

TEST_F(SimLink, QueuedWriteLeavesTheQueueOnlyWhenItsReplyArrivedIntact) {
  connectandsettle();  // slot 0 of plan 0 is out
  std::array<std::uint8_t, 16> data{};
  for (int i = 0; i < 16; ++i) data[i] = static_cast<std::uint8_t>(0xA0 + i);
  ASSERT_TRUE(link.queueramwrites({TransferQueue::ramwrite(0x5680, data), TransferQueue::ramwrite(0x5690, data)}));
  EXPECT_EQ(link.transferqueue().lastqueuedtransfer(), 1);

  step(4);  // the live plan is worked through first
  EXPECT_EQ(labels().join(QLatin1Char(' ')), QStringLiteral("site values window log0 log1"));
  sim.injectfault(Fault::corruptbyte);
  sim.injectfault(Fault::shortreply);
  step();  // the first write goes out (its reply will be damaged)
  EXPECT_EQ(link.curplan(), 13);
  EXPECT_EQ(labels().last(), QStringLiteral("ram5680"));
  host.calls.clear();
  step();  // wrong check byte: still queued, sent again at once (its reply will be short)
  EXPECT_TRUE(link.transferqueue().headiswrite());
  EXPECT_EQ(link.transferqueue().records[0].addresslow, 0x80);
  EXPECT_EQ(labels().last(), QStringLiteral("ram5680"));
  step(5);  // short: wait, then again
  EXPECT_EQ(labels().last(), QStringLiteral("ram5680"));
  EXPECT_EQ(link.transferqueue().records[0].addresslow, 0x80);
  step();  // intact: it leaves the queue, the panel shows the count, and the next write goes out
  EXPECT_EQ(link.transferqueue().records[0].addresslow, 0x90);
  EXPECT_EQ(link.transferqueue().lastqueuedtransfer(), 0);
  EXPECT_NE(std::find(host.calls.begin(), host.calls.end(), QStringLiteral("drawpanel 0")), host.calls.end());
  EXPECT_EQ(labels().last(), QStringLiteral("ram5690"));
  step();
  EXPECT_FALSE(link.transferqueue().headiswrite());
  EXPECT_EQ(labels().last(), QStringLiteral("site"));
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(sim.ram(0x5680 + i), 0xA0 + i);
    EXPECT_EQ(sim.ram(0x5690 + i), 0xA0 + i);
  }
}

TEST_F(SimLink, AWriteQueuedMidPlanWaitsForTheRestOfThePlan) {
  state.livemode = 2;
  connectandsettle();
  step(2);  // slots 0 and 1 answered, slot 2 out
  link.queueramwrites({TransferQueue::ramwrite(0x5680, {})});
  step(3);
  EXPECT_EQ(labels().join(QLatin1Char(' ')), QStringLiteral("site values window ltt0 ltt1 ram5680"));
}

// A stand-in for the whole-image transfer, to show the seam the link offers it.
struct FakeTransfer : TransferSteps {
  bool active = true;
  int steps = 0, replies = 0, errors = 0;
  std::int32_t rta = 0;
  bool transferactive() const override { return active; }
  void transferstep(EcuLink& link) override {
    ++steps;
    TxFrame frame{};
    const int length = buildrowreadframe(frame, steps - 1);
    rta = 16 * (steps - 1);
    link.sendrequest(frame, length);
  }
  void transferreply(EcuLink&) override { ++replies; }
  void transferlinkerror() override { ++errors; }
};

TEST_F(SimLink, ARunningTransferOwnsTheLinkThroughItsSeam) {
  FakeTransfer transfer;
  link.settransfer(&transfer);
  state.transfermode = 1;
  connectandsettle();
  EXPECT_EQ(link.curplan(), 7);
  sim.injectfault(Fault::none);
  sim.injectfault(Fault::corruptbyte);
  step(4);
  EXPECT_EQ(labels().join(QLatin1Char(' ')), QStringLiteral("read read read read read"));
  EXPECT_EQ(transfer.errors, 2);  // the start-up wait and the damaged reply
  EXPECT_EQ(transfer.replies, 3);
  EXPECT_EQ(link.rxframe()[16] * 256 + link.rxframe()[17], transfer.rta - 16) << "row reads echo their address";
  transfer.active = false;
  step();
  EXPECT_EQ(labels().last(), QStringLiteral("site"));
  link.settransfer(nullptr);
}

}  // namespace
}  // namespace ostrel::test
