// The simulator answers as the ECU does, so that the link's tests stand on solid ground.
#include <gtest/gtest.h>

#include <set>

#include "calibration/maps.h"
#include "ecusim/ecusimulator.h"
#include "link/frames.h"
#include "platform/prompts.h"

namespace ostrel::ecusim {
namespace {

std::vector<std::uint8_t> request(int len, std::initializer_list<int> head, int fill = 0) {
  TxFrame f{};
  int i = 0;
  for (int b : head) f[i++] = static_cast<std::uint8_t>(b);
  for (; i < len - 2; ++i) f[i] = static_cast<std::uint8_t>(fill + i);
  addframechecks(f.data(), len);
  return {f.begin(), f.begin() + len};
}

// The single reply to one request, decoded; fails the test when there is not exactly one intact reply.
RxFrame ask(EcuSimulator& sim, const std::vector<std::uint8_t>& frame) {
  auto out = sim.receive(frame);
  RxFrame rx{};
  EXPECT_EQ(out.replies.size(), 1u);
  if (out.replies.size() != 1 || out.replies[0].bytes.size() != 19) return rx;
  std::array<std::uint8_t, 19> wire{};
  std::copy(out.replies[0].bytes.begin(), out.replies[0].bytes.end(), wire.begin());
  EXPECT_EQ(decodereply(wire, rx), rx[18]);
  return rx;
}

CalibrationImage patternimage() {
  CalibrationImage image{};
  for (int i = 0; i < imagesize; ++i) image[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 5));
  return image;
}

TEST(EcuSimulator, LiveValuesCarryTheRequestedMapsChecksumAndFirmware64) {
  EcuSimulator sim;
  const CalibrationImage image = patternimage();
  sim.setimage(image);
  RecordingPrompts prompts;
  maps model(prompts);
  model.setimage(image);
  for (int map : {0, 4, 24, 104, 110}) {
    const RxFrame rx = ask(sim, request(5, {0x91, 5, map}));
    EXPECT_EQ(rx[3] * 256 + rx[7], model.getchecksum(map)) << "map " << map;
    EXPECT_EQ(rx[15], 64);
  }
  // A row write changes what the checksum of that row's map is.
  const int row = model.getbufferrow(24, 0, 0);
  ask(sim, request(22, {0x81, 22, 0x80 + row / 16, (row % 16) * 16}, 3));
  EXPECT_NE(sim.checksum(24), model.getchecksum(24));
}

TEST(EcuSimulator, LiveSiteReportsTheEngineAndALiveCellInsideTheMap) {
  EcuSimulator sim;
  for (int i = 0; i < 300; ++i) {
    const RxFrame rx = ask(sim, request(5, {0x90, 5, 0}));
    const int rpm = rx[0] * 256 + rx[1];
    ASSERT_GE(rpm, 600);
    ASSERT_LE(rpm, 7500);
    ASSERT_LE(rx[6], 31);
    ASSERT_LE(rx[7], 31);
  }
  const RxFrame twod = ask(sim, request(5, {0x90, 5, 30}));
  EXPECT_LE(twod[6], 15);
  EXPECT_EQ(twod[7], 0);
  // Over the simulated drive the engine really moves.
  EXPECT_GT(sim.engine().time, 8.0);
}

TEST(EcuSimulator, WritesReadsAndWindowData) {
  EcuSimulator sim;
  sim.setimage(patternimage());
  // RAM write: echoes the data and the address.
  RxFrame rx = ask(sim, request(22, {0x80, 22, 0x60, 0x10}, 0x40));
  EXPECT_EQ(sim.ram(0x6010), 0x44);
  EXPECT_EQ(sim.ram(0x601F), 0x53);
  EXPECT_EQ(rx[0], 0x44);
  EXPECT_EQ(rx[16] * 256 + rx[17], 0x6010);

  // Request table: list 0 asks for 0x6010 and 0x601F, list 1 for 0x6011; the rest are empty.
  std::vector<std::uint8_t> list0 = {0x80, 22, 0x6D, 0xB0, 0x60, 0x10, 0x60, 0x1F};
  list0.resize(20, 0xFF);
  list0.resize(22);
  addframechecks(list0.data(), 22);
  ask(sim, list0);
  std::vector<std::uint8_t> list1 = {0x80, 22, 0x6D, 0xC0, 0x60, 0x11};
  list1.resize(20, 0xFF);
  list1.resize(22);
  addframechecks(list1.data(), 22);
  ask(sim, list1);
  rx = ask(sim, request(5, {0x93, 5, 0}));
  EXPECT_EQ(rx[0], 0x44);
  EXPECT_EQ(rx[1], 0x53);
  EXPECT_EQ(rx[2], 0);
  EXPECT_EQ(rx[8], 0x45);

  // Row write then row read of row 1500: the read echoes the address the link compares.
  ask(sim, request(22, {0x81, 22, 0x80 + 1500 / 16, (1500 % 16) * 16}, 0x10));
  rx = ask(sim, request(7, {0x82, 7, 61, 0x5D, 0xC0}));
  for (int j = 0; j < 16; ++j) EXPECT_EQ(rx[j], 0x10 + 4 + j);
  EXPECT_EQ(rx[16] * 256 + rx[17], 16 * 1500);
  EXPECT_EQ(sim.image()[16 * 1500], 0x14);
}

TEST(EcuSimulator, DamagedRequestsGetNoReplyAndFramesLineUpAgain) {
  EcuSimulator sim;
  auto bad = request(5, {0x91, 5, 0});
  bad[4] ^= 1;
  EXPECT_TRUE(sim.receive(bad).replies.empty());
  std::vector<std::uint8_t> noise = {0x13, 0x37};
  const auto good = request(5, {0x91, 5, 0});
  noise.insert(noise.end(), good.begin(), good.end());
  // Split across two reads, as a line may deliver it.
  EXPECT_TRUE(sim.receive(std::vector<std::uint8_t>(noise.begin(), noise.begin() + 4)).replies.empty());
  EXPECT_EQ(sim.receive(std::vector<std::uint8_t>(noise.begin() + 4, noise.end())).replies.size(), 1u);
  EXPECT_GT(sim.badframes(), 0);
  EXPECT_EQ(sim.requests(), 1);
}

TEST(EcuSimulator, NamedFaultsDoWhatTheySay) {
  EcuSimulator sim;
  const auto frame = request(5, {0x91, 5, 0});
  struct Case {
    Fault fault;
    bool reply, intactlength, late, hangup;
  };
  const Case cases[] = {{Fault::noreply, false, false, false, false},
                        {Fault::shortreply, true, false, false, false},
                        {Fault::corruptbyte, true, true, false, false},
                        {Fault::latereply, true, true, true, false},
                        {Fault::droppedbytes, true, false, false, false},
                        {Fault::extrabytes, true, false, false, false},
                        {Fault::hangup, false, false, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(faultname(c.fault)));
    EXPECT_EQ(faultbyname(faultname(c.fault)), c.fault);
    sim.injectfault(c.fault);
    const auto out = sim.receive(frame);
    ASSERT_EQ(out.replies.size(), c.reply ? 1u : 0u);
    EXPECT_EQ(out.hangup, c.hangup);
    if (!c.reply) continue;
    const auto& bytes = out.replies[0].bytes;
    EXPECT_EQ(bytes.size() == 19, c.intactlength);
    EXPECT_EQ(out.replies[0].late, c.late);
    if (c.fault == Fault::droppedbytes) {
      EXPECT_GE(bytes.size(), 16u);
    }
    if (c.fault == Fault::extrabytes) {
      // The whole reply is there, behind or before the garbage.
      ASSERT_LE(bytes.size(), 27u);
      const auto& meant = sim.sent(0x91).back();
      const auto intactat = [&](std::size_t at) {
        std::array<std::uint8_t, 19> wire{};
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), 19, wire.begin());
        RxFrame rx{};
        return decodereply(wire, rx) == rx[18] && std::equal(meant.begin(), meant.end(), rx.begin());
      };
      EXPECT_TRUE(intactat(0) || intactat(bytes.size() - 19));
    }
    if (c.fault == Fault::corruptbyte) {
      std::array<std::uint8_t, 19> wire{};
      std::copy(bytes.begin(), bytes.end(), wire.begin());
      RxFrame rx{};
      EXPECT_NE(decodereply(wire, rx), rx[18]);
    }
    EXPECT_EQ(sim.faultcount(c.fault), 1);
  }
  EXPECT_TRUE(sim.receive(frame).replies.empty()) << "nothing answers after a hang-up";
}

TEST(EcuSimulator, MixedFaultsComeAtAboutTheirRate) {
  EcuSimulator sim(3);
  sim.setmixedfaults(0.2);
  const auto frame = request(5, {0x90, 5, 0});
  for (int i = 0; i < 2000; ++i) sim.receive(frame);
  EXPECT_NEAR(sim.faultstotal(), 400, 80);
  EXPECT_EQ(sim.faultcount(Fault::hangup), 0);
  for (Fault f : {Fault::noreply, Fault::shortreply, Fault::corruptbyte, Fault::latereply})
    EXPECT_GT(sim.faultcount(f), 50) << faultname(f);
}

TEST(EcuSimulator, EveryLineFaultComesInTheMix) {
  EcuSimulator sim(5);
  sim.setmixedfaults(0.3, linefaults);
  const auto frame = request(5, {0x90, 5, 0});
  for (int i = 0; i < 2000; ++i) sim.receive(frame);
  EXPECT_NEAR(sim.faultstotal(), 600, 90);
  EXPECT_EQ(sim.faultcount(Fault::hangup), 0);
  for (Fault f : linefaults) EXPECT_GT(sim.faultcount(f), 60) << faultname(f);
}

}  // namespace
}  // namespace ostrel::ecusim

namespace ostrel::ecusim {
namespace {

// Writes list 0 of a request table (16 addresses' worth of bytes) into the simulator's RAM at 0x6DB0.
void asklist0(EcuSimulator& sim, std::uint8_t high, std::uint8_t low) {
  std::vector<std::uint8_t> frame = {0x80, 22, 0x6D, 0xB0, high, low};
  frame.resize(20, 0xFF);
  frame.resize(22);
  addframechecks(frame.data(), 22);
  ask(sim, frame);
}

TEST(EcuSimulator, TheFirmwareSignatureIsWorkedOutOnlyWhileTheTableAsksForIt) {
  EcuSimulator sim;
  for (int i = 0; i < 100; ++i) ask(sim, request(5, {0x91, 5, 0}));
  EXPECT_EQ(sim.ram(0x6CFC), 0) << "not asked for: nothing moves";
  asklist0(sim, 0x6C, 0xF0);
  std::set<std::uint8_t> progress;
  for (int i = 0; i < EcuSimulator::signaturestep * EcuSimulator::signaturesteps; ++i) {
    progress.insert(sim.ram(0x6CFC));
    ask(sim, request(5, {0x93, 5, 0}));
  }
  EXPECT_GE(progress.size(), 10u);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(sim.ram(0x6CF6 + k), sim.firmwaresignature[k]) << k;
}

TEST(EcuSimulator, InputWordsAndFuelTimesMoveWithTheEngine) {
  EcuSimulator sim;
  std::set<int> levels, indexed;
  for (int i = 0; i < 400; ++i) {  // 12 seconds: idle and the pull to full throttle
    ask(sim, request(5, {0x93, 5, 0}));
    const std::uint32_t status = sim.ram(0x6D80) << 24 | sim.ram(0x6D81) << 16 | sim.ram(0x6D82) << 8 | sim.ram(0x6D83);
    const std::uint32_t use = sim.ram(0x6D88) << 24 | sim.ram(0x6D89) << 16 | sim.ram(0x6D8A) << 8 | sim.ram(0x6D8B);
    ASSERT_EQ(status & ~use, 0u) << "only functions in use are active";
    levels.insert(sim.ram(0x6D84) << 8 | sim.ram(0x6D85));
    indexed.insert(sim.ram(0x6BC8) << 8 | sim.ram(0x6BC9));
  }
  EXPECT_GE(levels.size(), 3u);
  EXPECT_GE(indexed.size(), 20u);
}

TEST(EcuSimulator, TrimsAreLearntOnlyOnceTheEngineIsWarm) {
  EcuSimulator sim;
  std::array<std::uint8_t, 128> before{};
  for (int i = 0; i < 128; ++i) before[i] = sim.ram(0x6000 + i);
  while (sim.engine().coolant < EcuSimulator::lttlearncoolant - 1) ask(sim, request(5, {0x93, 5, 0}));
  for (int i = 0; i < 128; ++i) ASSERT_EQ(sim.ram(0x6000 + i), before[i]) << "cold: nothing learnt";
  for (int i = 0; i < 1000; ++i) ask(sim, request(5, {0x93, 5, 0}));
  int learnt = 0;
  for (int i = 0; i < 128; ++i) learnt += sim.ram(0x6000 + i) != before[i];
  EXPECT_GT(learnt, 0);
  for (int r = 0; r < 8; ++r)
    for (int j = 4; j < 16; ++j) EXPECT_EQ(sim.ram(0x6000 + 16 * r + j), before[16 * r + j]) << "only trims move";
}

}  // namespace
}  // namespace ostrel::ecusim
