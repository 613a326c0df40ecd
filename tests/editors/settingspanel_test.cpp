// The settings editor's live panel: its request table and value texts; the throttle calibration texts.
#include <gtest/gtest.h>

#include "calibration/settings.h"
#include "editors/settingspanel.h"
#include "editors/throttlecalibration.h"
#include "platform/programstate.h"

namespace ostrel::test {
namespace {

const QLocale c = QLocale::c();

TEST(SettingsPanel, RequestTableHoldsTheVariablesAddressesHighByteFirst) {
  const settings s;
  for (bool metric : {true, false}) {
    const RequestTable table = settingsrequesttable(s, metric);
    for (int i = 0; i < 16; ++i) {
      const int address = s.getvarsaddress(s.getsettingsformvarindex(i, metric), metric);
      const auto& list = table[static_cast<std::size_t>(i / 8)];
      EXPECT_EQ(list[static_cast<std::size_t>(2 * (i % 8))], address >> 8) << i;
      EXPECT_EQ(list[static_cast<std::size_t>(2 * (i % 8) + 1)], address & 0xFF) << i;
    }
  }
  const RequestTable table = settingsrequesttable(s, true);
  EXPECT_EQ(table[0][0], 0x6D);  // "PPSM": aux 1 at 0x6D90
  EXPECT_EQ(table[0][1], 0x90);
  EXPECT_EQ(table[0][2], 0x00);  // "TPSM": raw tps at 0x0092
  EXPECT_EQ(table[0][3], 0x92);
  EXPECT_EQ(table[1][6], 0x6C);  // "VSS": vehicle speed at 0x6C03
  EXPECT_EQ(table[1][7], 0x03);
}

TEST(SettingsPanel, ShortValuesAreRightAligned) {
  EXPECT_EQ(padpanelvalue(QStringLiteral("7")), QStringLiteral("   7"));
  EXPECT_EQ(padpanelvalue(QStringLiteral("87")), QStringLiteral("  87"));
  EXPECT_EQ(padpanelvalue(QStringLiteral("123")), QStringLiteral(" 123"));
  EXPECT_EQ(padpanelvalue(QStringLiteral("1,234")), QStringLiteral("1,234"));
  EXPECT_EQ(padpanelvalue(QString()), QString());
}

TEST(SettingsPanel, ValuesUseTheEntrysScaleAndDecimals) {
  const settings s;
  struct Case {
    int entry;
    float smoothed;
    bool metric;
    int fuel;
    const char* text;
  };
  const Case cases[] = {
      {1, 7.0f, true, 1, "   7"},        // raw throttle
      {1, 123.4f, true, 1, " 123"},
      {3, 110.0f, true, 1, "  90"},       // coolant: -20 C
      {3, 110.0f, false, 1, " 194"},      // 1.8 x 110 - 4 F
      {2, 100.0f, true, 1, "14.70"},      // petrol: 0.147, two decimals
      {2, 100.0f, false, 1, "14.7"},      // one decimal imperial
      {2, 100.0f, true, 6, "1.00"},       // lambda: 0.01
      {2, 100.0f, true, 9, "0.00"},       // no fuel type, no factor
      {3, 0.0f, true, 1, " -20"},
      {12, 200.0f, true, 1, "   0"},      // the unused entries have no scale
  };
  for (const Case& k : cases)
    EXPECT_EQ(settingspaneltext(s, k.entry, k.smoothed, k.metric, k.fuel, c), QString::fromLatin1(k.text))
        << k.entry << " " << k.smoothed;
  EXPECT_FLOAT_EQ(settingspanelvalue(s, 2, 100.0f, true, 6), 1.0f);
}

TEST(ThrottleTexts, ZeroSitsTwoAboveTheRestingReading) {
  EXPECT_EQ(zerotpstext(23, QStringLiteral("40")), QStringLiteral("25"));
  EXPECT_EQ(zerotpstext(253, QStringLiteral("40")), QStringLiteral("255"));
  EXPECT_EQ(zerotpstext(254, QStringLiteral("40")), QStringLiteral("40")) << "the text stays";
  EXPECT_EQ(zerotpstext(255, QStringLiteral("40")), QStringLiteral("40"));
}

TEST(ThrottleTexts, EachButtonWritesItsReadingAndNothingBeforeTheFirst) {
  using namespace throttlecells;
  const QString current = QStringLiteral("40");
  ProgramState state;
  for (int cell : {zerotps, zeropps, fulltps})
    EXPECT_EQ(throttlecalibrationtext(cell, state, current), std::nullopt) << cell << ": no reading yet";

  state.livetps = 23;
  state.livepps = 0;
  EXPECT_EQ(throttlecalibrationtext(zerotps, state, current), QStringLiteral("25"));
  EXPECT_EQ(throttlecalibrationtext(zeropps, state, current), QStringLiteral("0"));
  EXPECT_EQ(throttlecalibrationtext(fulltps, state, current), QStringLiteral("23"));
  state.livetps = 254;
  EXPECT_EQ(throttlecalibrationtext(zerotps, state, current), current);
  EXPECT_EQ(throttlecalibrationtext(fulltps, state, current), QStringLiteral("254"));
}

}  // namespace
}  // namespace ostrel::test
