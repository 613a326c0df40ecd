// Turning a value control's state back into a raw byte, and setting values as the system writes numbers.
#include <gtest/gtest.h>

#include "editors/settingsapply.h"

namespace ostrel::test {
namespace {

const QLocale c = QLocale::c();
const QLocale german(QLocale::German, QLocale::Germany);

TEST(ApplyText, ScaledValuesBecomeBytesAndTheBoxShowsWhatIsStored) {
  struct Case {
    const char* typed;
    float mul, offset;
    int raw;
    const char* shown;
  };
  const Case cases[] = {
      {"10", 0.5f, -64.0f, 148, "10.0"},    // an injector trim in percent
      {"-70", 0.5f, -64.0f, 0, "-64.0"},    // below the scale: the minimum
      {"100", 0.5f, -64.0f, 255, "63.5"},   // above it: the maximum
      {"-14.25", 0.5f, -64.0f, 100, "-14.0"},  // 99.5 goes to the even 100
      {"12.5", 1.0f, 0.0f, 12, "12"},       // halves to even
      {"13.5", 1.0f, 0.0f, 14, "14"},
      {" 7 ", 1.0f, 0.0f, 7, "7"},          // blanks around the number
      {"6500", 50.0f, 0.0f, 130, "6500"},
      {"0.2", 0.0625f, 0.0f, 3, "0.2"},      // the multiplier's first decimal digit rounds to 1
      {"14.7", 0.147f, 0.0f, 100, "14.7"},
  };
  for (const Case& k : cases) {
    const auto applied = applytext(QString::fromLatin1(k.typed), k.mul, k.offset, c);
    ASSERT_TRUE(applied) << k.typed;
    EXPECT_EQ(applied->raw, k.raw) << k.typed;
    EXPECT_EQ(applied->shown, QString::fromLatin1(k.shown)) << k.typed;
  }
}

TEST(ApplyText, WhatIsNoValueIsRefused) {
  for (const char* typed : {"abc", "", "   ", "12a", "1,5", "inf", "nan"})
    EXPECT_FALSE(applytext(QString::fromLatin1(typed), 1.0f, 0.0f, c)) << typed;
  EXPECT_FALSE(applytext(QStringLiteral("10"), 0.0f, 0.0f, c)) << "a multiplier of 0 has no raw value";
  EXPECT_FALSE(applytext(QStringLiteral("0"), 0.0f, 0.0f, c));
}

TEST(ApplyText, TheSystemsDecimalSeparatorIsUsed) {
  const auto applied = applytext(QStringLiteral("10,5"), 0.5f, -64.0f, german);
  ASSERT_TRUE(applied);
  EXPECT_EQ(applied->raw, 149);
  EXPECT_EQ(applied->shown, QStringLiteral("10,5"));
  EXPECT_FALSE(applytext(QStringLiteral("1.000"), 1.0f, 0.0f, german)) << "no digit grouping in a setting";
}

TEST(SettingText, RawTimesMultiplierPlusOffsetWithTheMultipliersDecimals) {
  EXPECT_EQ(settingvaluetext(100, 0.5f, -64.0f, c), QStringLiteral("-14.0"));
  EXPECT_EQ(settingvaluetext(0, 0.5f, -64.0f, c), QStringLiteral("-64.0"));
  EXPECT_EQ(settingvaluetext(1, 0.5f, -0.5f, c), QStringLiteral("0.0")) << "no minus before a zero";
  EXPECT_EQ(settingvaluetext(200, 64.0f, 0.0f, c), QStringLiteral("12800")) << "no grouping";
  EXPECT_EQ(settingvaluetext(3, 0.005f, 0.0f, c), QStringLiteral("0.015")) << "a leading zero";
  EXPECT_EQ(settingvaluetext(100, 0.5f, -64.0f, german), QStringLiteral("-14,0"));
}

TEST(ApplyOthers, BitsChecksAndCombos) {
  EXPECT_EQ(applybits({true, false, false, false, false, false, false, true}), 129);
  EXPECT_EQ(applybits({}), 0);
  EXPECT_EQ(applybits({true, true, true, true, true, true, true, true}), 255);
  EXPECT_EQ(applycheck(true), 255);
  EXPECT_EQ(applycheck(false), 0);
  EXPECT_EQ(applycombo(10), 10);
  EXPECT_EQ(applycombo(0), 0);
  EXPECT_FALSE(applycombo(-1)) << "nothing selected";
}

}  // namespace
}  // namespace ostrel::test
