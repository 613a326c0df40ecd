// Background recording while live windows open and close, and across a reconnect: the sample store keeps only window
// data that answered the logger's own request table, and a window's first sample answers the window's table,
// whichever request of a plan was on its way when the selector changed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "livewindows/frminputdiagnostic.h"
#include "livewindows/frminputs.h"
#include "livewindows/frmramdump.h"
#include "livewindows/frmvct.h"
#include "livewindows/vctdata.h"
#include "link/requesttable.h"
#include "loggerrig.h"

namespace ostrel::test {
namespace {

// The logger's table asks for 16 bytes of RAM that no live window asks for. The engine stands still, so every reply
// to that table carries the same bytes and any other sample is foreign.
constexpr int logram = 0x3000;
std::uint8_t logbyte(int channel) { return static_cast<std::uint8_t>(0xA0 + channel); }

void startrecording(RigParts& rig, EcuLink& link, std::uint8_t livemode) {
  rig.sim.enginerunning = false;
  for (int k = 0; k < 16; ++k) rig.sim.setram(logram + k, logbyte(k));
  link.setrequesttable(LiveTable::log, requesttableof([](int k) { return logram + k; }));
  // The cam timing values differ from each other and from the logger's bytes.
  const RequestTable cams = vctrequesttable();
  for (int k = 0; k < 16; ++k) rig.sim.setram(requestaddress(cams, k), static_cast<std::uint8_t>(140 + k));
  rig.state.livemode = livemode;
  rig.state.logindex = 0;  // background recording is on
}

// The samples from first on that are not the logger's bytes.
std::vector<std::int32_t> foreignsamples(const ProgramState& state, const logsamples& store, std::int32_t first) {
  std::vector<std::int32_t> foreign;
  for (std::int32_t s = first; s < state.logindex; ++s)
    for (int c = 0; c < 16; ++c)
      if (store.getlogdata(s, c) != logbyte(c)) {
        foreign.push_back(s);
        break;
      }
  return foreign;
}

// Ticks until the request of the slot of the plan has just gone out, its reply not yet taken in.
bool tickto(EcuLink& link, const std::function<void()>& tick, std::uint8_t plan, int slot) {
  for (int i = 0; i < 40; ++i) {
    if (link.curplan() == plan && link.pollindex() == slot) return true;
    tick();
  }
  return false;
}

// What the cam timing window's first sample must hold: the simulator's RAM at the window's sixteen addresses.
VctBuffer::Sample camram(const ecusim::EcuSimulator& sim) {
  const RequestTable cams = vctrequesttable();
  VctBuffer::Sample sample{};
  for (int k = 0; k < 16; ++k) sample[static_cast<std::size_t>(k)] = sim.ram(requestaddress(cams, k));
  return sample;
}

struct ClosingCase {
  const char* window;
  std::uint8_t openedfrom;  // the selector the window goes back to
  std::uint8_t plan;
  std::function<std::unique_ptr<LiveWindow>(LoggerRig&)> open;
};

const ClosingCase closingcases[] = {
    {"RAM dump", 1, frmRAMDUMP::selector,
     [](LoggerRig& rig) { return std::make_unique<frmRAMDUMP>(rig.state, rig.link, rig.prompts); }},
    {"inputs", 0, frmInputs::selectorvalue,
     [](LoggerRig& rig) { return std::make_unique<frmInputs>(rig.state, rig.link, rig.mainsettings); }},
    {"cam timing", 0, frmVCT::selector, [](LoggerRig& rig) { return std::make_unique<frmVCT>(rig.state, rig.link); }},
    {"input diagnostic", 0, frmInputDiagnostic::selectorvalue,
     [](LoggerRig& rig) { return std::make_unique<frmInputDiagnostic>(rig.state, rig.link); }},
};

TEST(BackgroundLog, ClosingALiveWindowAtAnySlotOfItsPlanStoresNoForeignSample) {
  for (const ClosingCase& c : closingcases) {
    for (int slot = 0; slot < 5; ++slot) {
      SCOPED_TRACE(std::string(c.window) + ", slot " + std::to_string(slot));
      LoggerRig rig;
      startrecording(rig, rig.link, c.openedfrom);
      rig.connect();
      const std::unique_ptr<LiveWindow> window = c.open(rig);
      window->show();
      rig.tick(12);  // the window's table is in the ECU and its plan runs
      ASSERT_TRUE(tickto(rig.link, [&] { rig.tick(); }, c.plan, slot));
      const std::int32_t closedat = rig.state.logindex;
      const std::int32_t errors = rig.link.errorcount();
      const std::size_t errlines = rig.link.errlog().size();

      window->close();
      ASSERT_EQ(rig.state.livemode, c.openedfrom);
      rig.tick(30);
      EXPECT_GE(rig.state.logindex, closedat + 4) << "the recording goes on";
      EXPECT_EQ(foreignsamples(rig.state, rig.store, closedat), std::vector<std::int32_t>{});
      EXPECT_EQ(rig.link.errorcount(), errors) << "a reply that went nowhere is no link error";
      EXPECT_EQ(rig.link.errlog().size(), errlines);
    }
  }
}

// Records in the background until the logger's table is in the ECU, then up to the slot of the plan.
void recordtoslot(LoggerRig& rig, int slot) {
  startrecording(rig, rig.link, 0);
  rig.connect();
  rig.tick(10);
  ASSERT_TRUE(tickto(rig.link, [&] { rig.tick(); }, 0, slot));
}

TEST(BackgroundLog, OpeningTheCamTimingWindowAtAnySlotTakesItsFirstSampleFromItsOwnAddresses) {
  for (int slot = 0; slot < 5; ++slot) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    LoggerRig rig;
    ASSERT_NO_FATAL_FAILURE(recordtoslot(rig, slot));
    const std::int32_t openedat = rig.state.logindex;

    frmVCT window(rig.state, rig.link);
    window.show();
    for (int t = 0; t < 20 && window.buffer().count() == 0; ++t) rig.tick();
    ASSERT_GE(window.buffer().count(), 1);
    EXPECT_EQ(window.buffer().samples()[0], camram(rig.sim));
    EXPECT_EQ(foreignsamples(rig.state, rig.store, 0), std::vector<std::int32_t>{});
    EXPECT_GE(openedat, 1) << "the recording ran before the window opened";
  }
}

// Through the real serial port: records in the background until the logger's table is in the ECU, then up to the
// slot of the plan.
void recordoverlinetoslot(PtyLogRig& rig, int slot) {
  startrecording(rig, rig.link, 0);
  ASSERT_TRUE(rig.link.openport());
  ASSERT_TRUE(rig.tick(15));
  ASSERT_TRUE(tickto(rig.link, [&] { ASSERT_TRUE(rig.tick()); }, 0, slot));
}

// Through the real serial port: the cam timing window opens while the window data of the logger's table is about to
// be asked for, and closes while its own is on its way.
TEST(BackgroundLog, OverTheSerialLineTheWindowAndTheLogEachKeepTheirOwnData) {
  PtyLogRig rig;
  if (!rig.ready()) GTEST_SKIP() << "no pseudo-terminal: " << rig.error;
  ASSERT_NO_FATAL_FAILURE(recordoverlinetoslot(rig, 1));
  const auto tick = [&] { ASSERT_TRUE(rig.tick()); };
  {
    frmVCT window(rig.state, rig.link);
    window.show();
    for (int t = 0; t < 20 && window.buffer().count() == 0; ++t) ASSERT_TRUE(rig.tick());
    ASSERT_GE(window.buffer().count(), 1);
    EXPECT_EQ(window.buffer().samples()[0], camram(rig.sim));

    ASSERT_TRUE(tickto(rig.link, tick, frmVCT::selector, 2));
    window.close();
  }
  const std::int32_t closedat = rig.state.logindex;
  ASSERT_TRUE(rig.tick(30));
  EXPECT_GE(rig.state.logindex, closedat + 4);
  EXPECT_EQ(foreignsamples(rig.state, rig.store, 0), std::vector<std::int32_t>{});
  rig.link.closeport();
}

// Another table in the ECU's request lists (RAM 0x6DB0 to 0x6DCF), put there while the link was closed (by another
// program on the line, say): its sixteen RAM bytes are none of the logger's.
constexpr int otherram = 0x3100;
RequestTable othertable() {
  return requesttableof([](int k) { return otherram + k; });
}
void writeothertable(ecusim::EcuSimulator& sim) {
  for (int k = 0; k < 16; ++k) sim.setram(otherram + k, static_cast<std::uint8_t>(0x10 + k));
  const RequestTable other = othertable();
  for (int list = 0; list < 2; ++list)
    for (int b = 0; b < 16; ++b) sim.setram(0x6DB0 + 16 * list + b, other[list][b]);
}

// With the other table put in the ECU while the link is closed, reconnects: the first window data answers the
// other table, and the recording goes on with none of it among its samples.
template <typename Rig>
void reconnectoverothertable(Rig& rig, const std::function<void(int)>& tick) {
  writeothertable(rig.sim);
  const std::int32_t reopenedat = rig.state.logindex;
  const std::size_t asked = rig.sim.windowtables().size();
  ASSERT_TRUE(rig.link.openport());
  tick(30);
  ASSERT_GT(rig.sim.windowtables().size(), asked);
  EXPECT_EQ(rig.sim.windowtables()[asked], othertable()) << "the first window data answered the other table";
  EXPECT_GE(rig.state.logindex, reopenedat + 4) << "the recording goes on";
  EXPECT_EQ(foreignsamples(rig.state, rig.store, 0), std::vector<std::int32_t>{});
}

// The link closes while site, values or window data is asked for, so that after the reconnect the window data comes
// before the plan writes the logger's table again: that reply answers the other table and is no sample; the
// replies after the link has written its table are.
TEST(BackgroundLog, AfterAReconnectWindowDataIsStoredOnlyOnceTheLinkHasWrittenItsTableAgain) {
  for (int slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    LoggerRig rig;
    ASSERT_NO_FATAL_FAILURE(recordtoslot(rig, slot));
    ASSERT_GE(rig.state.logindex, 1) << "the recording ran before the link closed";
    rig.link.closeport();
    reconnectoverothertable(rig, [&](int ticks) { rig.tick(ticks); });
  }
}

TEST(BackgroundLog, OverTheSerialLineAReconnectStoresNoWindowDataOfATableWrittenMeanwhile) {
  PtyLogRig rig;
  if (!rig.ready()) GTEST_SKIP() << "no pseudo-terminal: " << rig.error;
  ASSERT_NO_FATAL_FAILURE(recordoverlinetoslot(rig, 1));
  ASSERT_GE(rig.state.logindex, 1);
  rig.link.closeport();
  reconnectoverothertable(rig, [&](int ticks) { ASSERT_TRUE(rig.tick(ticks)); });
  rig.link.closeport();
}

}  // namespace
}  // namespace ostrel::test
