#include <gtest/gtest.h>

#include <QLabel>

#include "common/testrig.h"
#include "livewindows/frmfuelmuls.h"
#include "livewindows/fuelmultipliers.h"
#include "livewindowsfixture.h"

namespace ostrel::test {
namespace {

TEST(FuelMultipliers, RequestTableInOrder) {
  const RequestTable expected = {
      {{0x6B, 0xC8, 0x6B, 0xC9, 0x6B, 0xC7, 0x6A, 0x33, 0x6A, 0x27, 0x6D, 0xE3, 0x6A, 0x6F, 0x6C, 0xA2},
       {0x6A, 0x1D, 0x6B, 0xEA, 0x6A, 0xCA, 0x6C, 0xAE, 0x6B, 0xCE, 0x6A, 0xC2, 0x6A, 0xA6, 0x6A, 0xA7}}};
  EXPECT_EQ(FuelMultipliers::addresses(), expected);
}

TEST(FuelMultipliers, ValueTexts) {
  struct Case {
    std::initializer_list<std::pair<int, std::uint8_t>> bytes;
    int row;
    const char* shown;
  };
  const Case cases[] = {
      {{{2, 128}}, 1, "0.00"},  // air temperature
      {{{2, 0}}, 1, "-25.60"},
      {{{2, 255}}, 1, "25.40"},
      {{{4, 0}}, 3, "-12.80"},    // gear position, gain 0.1
      {{{6, 255}}, 5, "102.00"},  // coolant, no offset
      {{{7, 129}}, 6, "0.80"},    // barometric
      {{{9, 127}}, 8, "-0.50"},   // long-term trim
      {{{8, 200}}, 7, "200.00"},  // cranking, gain 1
      {{{13, 3}}, 12, "1.50"},    // post-start
      {{{0, 0x10}, {1, 0x00}}, 13, "5.120"},
      {{{0, 0xFF}, {1, 0xFF}}, 13, "81.919"},
      {{{0, 0x00}, {1, 0x02}}, 13, "0.002"},  // 0.0025: the half goes to the even neighbour
      {{{14, 0x01}, {15, 0x00}}, 14, "0.320"},
  };
  for (const Case& c : cases) {
    const auto texts = FuelMultipliers::values(frameof(c.bytes), QLocale::c());
    EXPECT_EQ(texts[c.row], c.shown) << c.row;
  }
  const auto zero = FuelMultipliers::values(RxFrame{}, QLocale::c());
  EXPECT_EQ(zero[0], "Value (%)");
  EXPECT_EQ(zero[13], "0.000");
  EXPECT_EQ(zero[9], "0.00");
}

TEST(FuelMultipliers, TheDecimalSeparatorIsTheSystems) {
  const auto texts = FuelMultipliers::values(frameof({{2, 0}, {0, 0x10}}), QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(texts[1], "-25,60");
  EXPECT_EQ(texts[13], "5,120");
}

TEST(FuelMultipliers, EarlyRepliesKeepTheDesignTexts) {
  FuelMultipliers values;
  EXPECT_FALSE(values.reportdata(frameof({{2, 0}}), 4, QLocale::c()));
  EXPECT_EQ(values.texts(), FuelMultipliers::designtexts());
  EXPECT_EQ(values.texts()[1], "0.00");
  EXPECT_EQ(values.texts()[14], "0.000");
  EXPECT_TRUE(values.reportdata(frameof({{2, 0}}), 5, QLocale::c()));
  EXPECT_EQ(values.texts()[1], "-25.60");
}

TEST(FuelMulsWindow, CaptionsDesignTextsAndTheSelector) {
  Rig rig;
  frmFuelMuls window(rig.state, rig.link);
  EXPECT_EQ(window.windowTitle(), "Fuel multipliers");
  EXPECT_EQ(rig.state.livemode, 20);
  EXPECT_EQ(rig.link.requesttable(LiveTable::fuelmuls), FuelMultipliers::addresses());
  EXPECT_EQ(window.Label1[0]->text(), "Multiplier");
  EXPECT_EQ(window.Label1[12]->text(), "Post-start enrichment:");
  EXPECT_EQ(window.Label2[0]->text(), "Value (%)");
  EXPECT_EQ(window.Label2[14]->text(), "0.000");
  // Rows stand 360 twips apart.
  EXPECT_EQ(window.Label1[2]->y() - window.Label1[1]->y(), 24);
  EXPECT_EQ(window.Label2[1]->x(), 208);
  // Another window takes the selector: this one stays open.
  rig.state.livemode = 2;
  window.show();
  for (int i = 0; i < 10; ++i) window.Timer1_Timer();
  EXPECT_TRUE(window.isVisible());
  window.close();
  EXPECT_EQ(rig.state.livemode, 2);
}

}  // namespace
}  // namespace ostrel::test
