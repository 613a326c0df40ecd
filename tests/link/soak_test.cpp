// A short soak of the link: whole images written, read back and verified through the real serial port with 5 % of
// the simulator's replies damaged in every way that leaves the line up.
#include <gtest/gtest.h>

#include "common/testsupport.h"
#include "ecusim/linksoak.h"

namespace ostrel::ecusim {
namespace {

TEST(LinkSoak, ImagesSurviveFivePercentMixedFaultsByteForByte) {
  test::TempInstallFolder folder;
  LinkSoak soak(17, 0.05);
  ASSERT_TRUE(soak.start()) << soak.error();
  for (int c = 0; c < 2; ++c) ASSERT_TRUE(soak.cycle()) << soak.error();
  const LinkSoak::Figures& f = soak.figures();
  EXPECT_EQ(f.cycles, 2);
  EXPECT_EQ(f.wrongbytes(), 0);
  EXPECT_EQ(f.verifyerrors, 0);
  // Three transfers of 2048 rows a cycle: some 300 damaged replies, every kind among them.
  EXPECT_GT(f.faults, 150);
  EXPECT_GE(f.linkerrors, f.faults / 2);
  for (Fault fault : linefaults) EXPECT_GT(soak.simulator().faultcount(fault), 5) << faultname(fault);
  EXPECT_EQ(soak.simulator().faultcount(Fault::hangup), 0);
}

}  // namespace
}  // namespace ostrel::ecusim
