#include <gtest/gtest.h>

#include "common/linkhelpers.h"
#include "linkfixture.h"

namespace ostrel::test {
namespace {

using ecusim::Fault;

TEST_F(SimLink, FirstTickAfterConnectingFindsNoReplyAndWaitsBeforeAskingAgain) {
  ASSERT_TRUE(link.openport());
  EXPECT_TRUE(state.online);
  EXPECT_TRUE(link.linkready());

  step();  // no reply to anything yet: a short reply with count 0, and slot 0 goes out at once
  ASSERT_EQ(link.errlog().size(), 1u);
  EXPECT_TRUE(link.errlog().back().endsWith(QStringLiteral(", [TRYCOMM], Bad IBC, IBC = 0")));
  EXPECT_EQ(link.errorcount(), 1);
  EXPECT_EQ(labels(), QStringList{QStringLiteral("site")});

  step(3);  // idle while the wait runs
  EXPECT_EQ(port.written.size(), 1u);
  step();  // the fifth tick sends the same request again; the reply to the first was stale and is dropped
  EXPECT_EQ(labels(), (QStringList{QStringLiteral("site"), QStringLiteral("site")}));
  step();
  EXPECT_EQ(link.errorcount(), 1);
  EXPECT_EQ(link.pollindex(), 1);
  EXPECT_EQ(labels().last(), QStringLiteral("values"));
}

struct PlanCase {
  std::uint8_t livemode;
  bool rapid;
  const char* sends;  // the first ten requests, from slot 0 of the first plan
};

class PlanSequence : public SimLink, public ::testing::WithParamInterface<PlanCase> {};

TEST_P(PlanSequence, SendsThePlanOfTheSelector) {
  const PlanCase& c = GetParam();
  state.livemode = c.livemode;
  state.preferences.rapidlogging = c.rapid;
  connectandsettle();
  step(9);
  EXPECT_EQ(labels().join(QLatin1Char(' ')), QString::fromLatin1(c.sends)) << "livemode " << int(c.livemode);
  EXPECT_EQ(link.errorcount(), 1);  // only the start-up wait
}

INSTANTIATE_TEST_SUITE_P(
    Selectors, PlanSequence,
    ::testing::Values(
        PlanCase{0, false, "site values window log0 log1 site values window log0 log1"},
        PlanCase{1, false, "site values window log0 log1 site values window log0 log1"},
        PlanCase{1, true, "log0 window log1 window log0 window log1 window log0 window"},
        PlanCase{2, false, "site values window ltt0 ltt1 site values window ltt0 ltt1"},
        PlanCase{3, false, "site values window log0 log1 site values window log0 log1"},
        PlanCase{4, false, "log0 log1 log0 log1 window log0 log1 log0 log1 window"},
        PlanCase{14, false, "site values window inputs0 inputs1 site values window inputs0 inputs1"},
        PlanCase{15, false, "site values window vct0 vct1 site values window vct0 vct1"},
        PlanCase{16, false, "ramdump0 ramdump1 ramdump0 ramdump1 window ramdump0 ramdump1 ramdump0 ramdump1 window"},
        PlanCase{17, false, "site values window pw0 pw1 site values window pw2 pw3"},
        PlanCase{18, false, "site values site values site values site values site values"},
        PlanCase{19, false, "values values values values values values values values values values"},
        PlanCase{20, false, "site values window fuelmuls0 fuelmuls1 site values window fuelmuls0 fuelmuls1"},
        PlanCase{21, false, "site values window firmware0 firmware1 site values window firmware0 firmware1"},
        PlanCase{22, false, "site values window diag0 diag1 site values window diag0 diag1"},
        // Selector values without a plan poll as 0 does.
        PlanCase{7, false, "site values window log0 log1 site values window log0 log1"},
        PlanCase{13, false, "site values window log0 log1 site values window log0 log1"},
        PlanCase{200, false, "site values window log0 log1 site values window log0 log1"}));

TEST_F(SimLink, PasswordRowsGoOutInTurnAndTheCounterWraps) {
  state.livemode = 17;
  for (int r = 0; r < 8; ++r) {
    std::array<std::uint8_t, 16> row;
    row.fill(static_cast<std::uint8_t>(r + 1));
    link.setpwsendrow(r, row);
  }
  link.setpwsendcounter(250);  // 250 mod 8 = 2
  connectandsettle();
  step(24);
  QStringList pw;
  for (const auto& f : port.written)
    if (f[0] == 0x80) {
      pw << label(f);
      EXPECT_EQ(f[4], f[3] / 16 + 1);  // the row's own bytes
    }
  EXPECT_EQ(pw.join(QLatin1Char(' ')), QStringLiteral("pw2 pw3 pw4 pw5 pw6 pw7 pw0 pw1 pw2 pw3"));
  EXPECT_EQ(link.pwsendcounter(), 4);  // 250 + 10 sent, through 255 back to 0
}

TEST_F(SimLink, ANewSelectorTakesEffectWhenThePlanHasBeenWorkedThrough) {
  connectandsettle();  // slot 0 of plan 0 is out
  state.livemode = 19;
  step(5);
  EXPECT_EQ(labels().join(QLatin1Char(' ')), QStringLiteral("site values window log0 log1 values"));
  EXPECT_EQ(link.curplan(), 19);
}

TEST_F(SimLink, WrongCheckByteIsSentAgainOnTheSameTick) {
  connectandsettle();
  sim.injectfault(Fault::corruptbyte);  // the reply to the next request
  step();                               // "values" goes out
  ASSERT_EQ(link.pollindex(), 1);
  const auto errorsbefore = link.errorcount();
  step();  // finds the bad check byte and sends "values" again at once
  EXPECT_EQ(link.pollindex(), 1);
  EXPECT_EQ(link.errorcount(), errorsbefore + 1);
  EXPECT_TRUE(link.errlog().back().endsWith(QStringLiteral(", [TRYCOMM], Bad checksum, EBC = 19, IBC = 0")));
  EXPECT_EQ(labels().join(QLatin1Char(' ')), QStringLiteral("site values values"));
  step();
  EXPECT_EQ(link.pollindex(), 2);
  EXPECT_EQ(labels().last(), QStringLiteral("window"));
}

TEST_F(SimLink, ShortOrMissingReplyCostsThreeIdleTicksAndIsSentAgainOnTheFourth) {
  connectandsettle();
  for (Fault fault : {Fault::shortreply, Fault::noreply, Fault::latereply}) {
    SCOPED_TRACE(std::string(ecusim::faultname(fault)));
    port.written.clear();
    sim.injectfault(fault);
    step();  // the last reply is taken in, and the next request goes out and gets the fault
    ASSERT_EQ(port.written.size(), 1u);
    const std::uint8_t slot = link.pollindex();
    const auto frame = port.written.back();
    const auto errorsbefore = link.errorcount();
    step();  // nothing complete arrived: short, nothing sent
    EXPECT_EQ(link.errorcount(), errorsbefore + 1);
    EXPECT_TRUE(link.errlog().back().contains(QStringLiteral("Bad IBC, IBC = ")));
    EXPECT_EQ(link.linkretry(), 5);
    step(3);
    EXPECT_EQ(port.written.size(), 1u) << "idle ticks send nothing";
    step();
    ASSERT_EQ(port.written.size(), 2u);
    EXPECT_EQ(port.written.back(), frame);
    step();
    EXPECT_EQ(link.errorcount(), errorsbefore + 1) << "the late reply was dropped before the request went out again";
    EXPECT_EQ(link.pollindex(), (slot + 1) % 5);
  }
}

TEST_F(SimLink, ExtraBytesAfterAReplyAreDroppedBeforeTheNextSend) {
  connectandsettle();
  port.deliver({1, 2, 3, 4, 5, 6});  // 25 bytes wait at the next look
  step();
  EXPECT_EQ(link.errorcount(), 1);
  EXPECT_EQ(link.pollindex(), 1);
  EXPECT_EQ(port.inbuffercount(), 19) << "only the reply to the request just sent";
}

TEST_F(SimLink, BytesWithNoRequestBehindThemAreNotTakenAsAReply) {
  ASSERT_TRUE(link.openport());
  port.deliver(sim.receive(std::vector<std::uint8_t>{0x91, 0x05, 0x00, 0x96, 0xD5}).replies.at(0).bytes);
  step();
  EXPECT_TRUE(link.errlog().back().endsWith(QStringLiteral("Bad IBC, IBC = 19")));
  EXPECT_EQ(link.live().fwversion, 0);
}

TEST_F(SimLink, PollIndexMovesOnlyOnIntactReplies) {
  connectandsettle();
  std::vector<int> indexes;
  sim.injectfault(Fault::none, 2);
  sim.injectfault(Fault::corruptbyte);
  sim.injectfault(Fault::none, 3);
  for (int i = 0; i < 6; ++i) {
    step();
    indexes.push_back(link.pollindex());
  }
  EXPECT_EQ(indexes, (std::vector<int>{1, 2, 3, 3, 4, 0}));
}

TEST_F(SimLink, CountersStopOrWrapAsTheStatisticsExpect) {
  connectandsettle();
  LinkProbe::errorcount(link) = 99999;
  LinkProbe::framessent(link) = 99999;
  state.sendcount = 999;
  sim.injectfault(Fault::corruptbyte, 3);
  const auto lines = link.errlog().size();
  step(4);  // an intact reply, then three with a wrong check byte; a request goes out on each tick
  EXPECT_EQ(link.errorcount(), 100000);
  EXPECT_EQ(link.framessent(), 100000);
  EXPECT_EQ(state.sendcount, 2);  // 999, 1000, 0, 1, 2
  EXPECT_EQ(link.errlog().size(), lines + 3);
}

TEST_F(SimLink, ErrorLogKeepsItsNewest2000Lines) {
  connectandsettle();
  sim.injectfault(Fault::corruptbyte, 2100);
  step(2101);
  ASSERT_EQ(link.errlog().size(), 2000u);
  EXPECT_EQ(link.errorcount(), 2101);
  const QString text = link.errlogtext();
  EXPECT_EQ(text.count(QStringLiteral("\r\n")), 2000);
  EXPECT_TRUE(text.endsWith(QStringLiteral("IBC = 0\r\n")));
}

TEST_F(SimLink, OpeningTwiceKeepsTheCountersAndFastestSetsTheTimer) {
  connectandsettle();
  EXPECT_EQ(host.interval, 0);
  const auto sent = link.framessent();
  state.preferences.comfastest = true;
  ASSERT_TRUE(link.openport());
  EXPECT_EQ(link.framessent(), sent);
  EXPECT_EQ(link.errorcount(), 1);
  EXPECT_EQ(host.interval, 20);
  link.closeport();
  EXPECT_FALSE(state.online);
  EXPECT_FALSE(port.isopen());
  const auto written = port.written.size();
  link.tick();
  EXPECT_EQ(port.written.size(), written) << "no tick while offline";
}

TEST_F(SimLink, OpenFailureShowsTheMessageAndNamesDeviceAndReason) {
  port.openfailure = QStringLiteral("Permission denied (is the user a member of the dialout group?)");
  EXPECT_FALSE(link.openport());
  EXPECT_FALSE(state.online);
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text, QStringLiteral("An error occurred opening the com port"));
  EXPECT_EQ(prompts.records[0].icon, Prompts::Icon::Information);
  ASSERT_EQ(host.statuslines.size(), 1u);
  EXPECT_TRUE(host.statuslines[0].contains(QStringLiteral("/dev/ttyUSB0")));
  EXPECT_TRUE(host.statuslines[0].contains(QStringLiteral("dialout")));

  // A port number with no line in comports.txt.
  port.openfailure.clear();
  ASSERT_TRUE(writecomports(QStringLiteral("/dev/ttyUSB7")));
  state.preferences.comport = 3;
  EXPECT_FALSE(link.openport());
  EXPECT_TRUE(host.statuslines.back().contains(QStringLiteral("comports.txt")));
  state.preferences.comport = 1;
  EXPECT_TRUE(link.openport());
  EXPECT_EQ(port.device(), QStringLiteral("/dev/ttyUSB7"));
}

TEST_F(SimLink, LostLineClosesThePortWithOneStatusLine) {
  for (bool hangup : {false, true}) {
    host.statuslines.clear();
    host.onlinechanges.clear();
    connectandsettle();
    if (hangup)
      sim.injectfault(Fault::hangup);
    else
      port.unplug(QStringLiteral("Input/output error"));
    step(3);
    EXPECT_FALSE(state.online);
    EXPECT_FALSE(port.isopen());
    ASSERT_EQ(host.statuslines.size(), 1u);
    EXPECT_TRUE(host.statuslines[0].startsWith(QStringLiteral("The connection to /dev/ttyUSB0 was lost: ")));
    // The host hears of it, so the menus leave the connected state.
    EXPECT_EQ(host.onlinechanges, (std::vector<bool>{true, false}));
  }
}

TEST_F(SimLink, TheHostHearsOfEveryChangeOfTheConnectionFlagOnce) {
  // A port that will not open changes nothing.
  port.openfailure = QStringLiteral("Permission denied");
  EXPECT_FALSE(link.openport());
  EXPECT_TRUE(host.onlinechanges.empty());
  port.openfailure.clear();

  ASSERT_TRUE(link.openport());
  EXPECT_TRUE(link.openport());  // already open: no news
  link.closeport();
  link.closeport();  // already closed: no news
  EXPECT_EQ(host.onlinechanges, (std::vector<bool>{true, false}));

  // A request the port refuses to write ends the connection from inside a tick.
  connectandsettle();
  port.unplug(QStringLiteral("No such device"));
  step(6);
  EXPECT_FALSE(state.online);
  EXPECT_EQ(host.onlinechanges, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
}  // namespace ostrel::test
