#include "calibration/settings.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace ostrel {
namespace {

// Splits a list string into its counted items; fails the test when the form is broken.
QStringList listitems(const QString& list) {
  const qsizetype semicolon = list.indexOf(QLatin1Char(';'));
  EXPECT_GT(semicolon, 0) << list.toStdString();
  EXPECT_TRUE(list.endsWith(QStringLiteral(":***"))) << list.toStdString();
  QStringList items = list.mid(semicolon + 1).split(QLatin1Char(':'));
  items.removeLast();  // the closing "***"
  EXPECT_EQ(list.left(semicolon).toInt(), items.size()) << list.toStdString();
  return items;
}

TEST(Settings, LiveVariableScalesPerUnitsColumn) {
  const settings s;
  struct Case {
    int v;
    bool metric;
    float mul, offset;
    std::int32_t address;
  };
  const Case cases[] = {
      {0, true, 1.0f, -20.0f, 0x6AE0},    {0, false, 1.8f, -4.0f, 0x6AE0},   {4, false, 0.307f, 0.0f, 0x6BC5},
      {14, false, 2.98f, 0.0f, 0x6BC6},   {18, false, 7.91f, 0.0f, 0x6CA2},  {9, true, 0.0625f, 0.0f, 0x6B08},
      {60, true, -0.0625f, 0.0f, 0x6B08}, {45, true, 0.8f, -102.4f, 0x6CA2}, {25, true, 0.5f, 0.0f, 0x6AC2},
      {51, true, 0.5f, 0.0f, 0x6AC2},     {36, true, 1.0f, 0.0f, 0x0092},    {39, false, 1.0f, 1.0f, 0x5070},
      {65, true, 0.4f, 0.0f, 0x6B30},     {76, true, 0.4f, 0.0f, 0x6B3B},    {82, false, 1.0f, 0.0f, 0x6A5B},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(s.getvarsmul(c.v, c.metric), c.mul);  // single precision, compared exactly
    EXPECT_EQ(s.getvarsoffset(c.v, c.metric), c.offset);
    EXPECT_EQ(s.getvarsaddress(c.v, c.metric), c.address);
  }
}

TEST(Settings, UnnamedAndOutOfRangeLiveVariablesReadZero) {
  const settings s;
  for (int v : {83, 100, 127, 128, 255, 1000, -1}) {
    SCOPED_TRACE(v);
    EXPECT_EQ(s.getvarsmul(v, true), 0.0f);
    EXPECT_EQ(s.getvarsoffset(v, false), 0.0f);
    EXPECT_EQ(s.getvarsaddress(v, true), 0);
  }
}

TEST(Settings, SettingsFormVariables) {
  const settings s;
  EXPECT_EQ(s.getsettingsformvardps(2, true), 2);
  EXPECT_EQ(s.getsettingsformvardps(2, false), 1);
  EXPECT_EQ(s.getsettingsformvarstring(2, true), QStringLiteral("AFR / L"));
  EXPECT_EQ(s.getsettingsformvarindex(1, true), 36);
  EXPECT_EQ(s.getsettingsformvarunits(3, true), QStringLiteral("(C)"));
  EXPECT_EQ(s.getsettingsformvarunits(3, false), QStringLiteral("(F)"));
  EXPECT_EQ(s.getsettingsformvarmul(4, false), 1.8f);
  EXPECT_EQ(s.getsettingsformvaroffset(4, false), -4.0f);
  EXPECT_EQ(s.getsettingsformvarunits(11, false), QStringLiteral("(mph)"));
  for (int i = 5; i <= 10; ++i) {
    EXPECT_EQ(s.getsettingsformvarindex(i, true), 19 + (i - 5));
    EXPECT_EQ(s.getsettingsformvarstring(i, false), QStringLiteral("AUX%1").arg(i - 4));
  }
  // Unused rows, and indices past the table, read as "***" on variable 19 with no scale.
  for (int i : {12, 15, 16, 255, -1}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.getsettingsformvarstring(i, true), QStringLiteral("***"));
    EXPECT_EQ(s.getsettingsformvarindex(i, true), 19);
    EXPECT_EQ(s.getsettingsformvarunits(i, true), QStringLiteral("(n)"));
    EXPECT_EQ(s.getsettingsformvarmul(i, true), 0.0f);
  }
}

TEST(Settings, SpecialMultiplierByFuelCode) {
  const float expected[] = {0.0f, 0.147f, 0.09f, 0.064f, 0.141f, 0.098f, 0.01f, 0.0f};
  for (int code = 0; code <= 7; ++code) EXPECT_EQ(settings::getsettingsformspecialvarmul(code), expected[code]);
  EXPECT_EQ(settings::getsettingsformspecialvarmul(-1), 0.0f);
  EXPECT_EQ(settings::getsettingsformspecialvarmul(255), 0.0f);
}

TEST(Settings, ConditionListUnderImperialUnits) {
  settings s;
  s.setsettingsmetric(false);
  const QString list = s.getcombostring(5);
  EXPECT_EQ(list, s.getvarsstring());
  EXPECT_TRUE(list.startsWith(QStringLiteral("256;coolant temp (F) >:")));
  const QStringList items = listitems(list);
  ASSERT_EQ(items.size(), 256);
  EXPECT_EQ(items.last(), QStringLiteral("variable 255 <"));
  EXPECT_EQ(items[36], QStringLiteral("raw tps (n) >"));
  EXPECT_EQ(items[39], QStringLiteral("gear >"));
  EXPECT_EQ(items[55], QStringLiteral("cool spark trim (deg) >"));
  EXPECT_EQ(items[83], QStringLiteral("variable 83 >"));
  EXPECT_EQ(items[127], QStringLiteral("variable 127 >"));
  EXPECT_EQ(items[128], QStringLiteral("coolant temp (F) <"));
  EXPECT_EQ(items[128 + 82], QStringLiteral("backup spark (0/1) <"));
  EXPECT_EQ(items[211], QStringLiteral("variable 211 <"));
}

TEST(Settings, MetricAndImperialListsDifferOnlyInUnitNames) {
  settings metric;
  settings imperial;
  imperial.setsettingsmetric(false);
  for (int list : {5, 6}) {
    const QStringList m = listitems(metric.getcombostring(list));
    const QStringList i = listitems(imperial.getcombostring(list));
    ASSERT_EQ(m.size(), i.size());
    QList<int> differing;
    for (int k = 0; k < m.size(); ++k) {
      if (m[k] != i[k]) differing << k % 128;
    }
    const QList<int> expected = {0, 4, 5, 7, 14, 18};
    EXPECT_EQ(QList<int>(differing.begin(), differing.begin() + 6), expected);
    EXPECT_EQ(differing.size(), list == 5 ? 12 : 6);
  }
}

TEST(Settings, VariableNameList) {
  settings s;
  const QStringList items = listitems(s.getcombostring(6));
  ASSERT_EQ(items.size(), 128);
  EXPECT_EQ(items[0], QStringLiteral("coolant temp (C)"));
  EXPECT_EQ(items[36], QStringLiteral("tpsraw (%)"));
  EXPECT_EQ(items[82], QStringLiteral("backup spark (0/1)"));
  EXPECT_EQ(items[83], QStringLiteral("83 ()"));
  EXPECT_EQ(items[127], QStringLiteral("127 ()"));
  for (int v = 0; v < 128; ++v) EXPECT_EQ(livevariablename(v, true), items[v]);
  EXPECT_EQ(livevariablename(18, false), QStringLiteral("baro (mBar)"));
  EXPECT_EQ(livevariablename(128, true), QString());
  EXPECT_EQ(livevariablename(-1, true), QString());
}

TEST(Settings, ComboListsOfBothColumns) {
  settings s;
  for (bool metric : {true, false}) {
    s.setsettingsmetric(metric);
    for (int list = 0; list <= 4; ++list) EXPECT_EQ(s.getcombostring(list), QStringLiteral("***"));
    EXPECT_EQ(s.getcombostring(7), QStringLiteral("1;Vehicle 1:***"));
    const QStringList edges = listitems(s.getcombostring(8));
    ASSERT_EQ(edges.size(), 16);
    EXPECT_EQ(edges.first(), QStringLiteral("OFF,OFF"));
    EXPECT_EQ(edges.last(), QStringLiteral("ANY,ANY"));
    EXPECT_EQ(s.getcombostring(9), QStringLiteral("0:***"));
    EXPECT_EQ(s.getcombostring(10), QStringLiteral("0:***"));
    const QStringList outputs = listitems(s.getcombostring(11));
    ASSERT_EQ(outputs.size(), 51);
    EXPECT_EQ(outputs[8], QStringLiteral("USER 1"));
    EXPECT_EQ(outputs[31], QStringLiteral("PWM MAP 12"));
    EXPECT_EQ(outputs[36], QStringLiteral("CHECK ENGINE"));
    EXPECT_EQ(outputs[50], QStringLiteral("USER 26"));
    const QStringList inputs = listitems(s.getcombostring(12));
    ASSERT_EQ(inputs.size(), 32);
    EXPECT_EQ(inputs[9], QStringLiteral("INPUT FOLLOWER FEEDBACK"));
    EXPECT_EQ(inputs[31], QStringLiteral("OFF"));
  }
  for (int list : {13, 255, -1}) EXPECT_EQ(s.getcombostring(list), QStringLiteral("0:***"));
}

TEST(Settings, UnitsColumnStartsMetricAndBelongsToTheInstance) {
  settings a;
  settings b;
  EXPECT_EQ(a.unitscolumn(), 0);
  a.setsettingsmetric(false);
  EXPECT_EQ(a.unitscolumn(), 1);
  EXPECT_EQ(b.unitscolumn(), 0);
  EXPECT_TRUE(a.getcombostring(6).startsWith(QStringLiteral("128;coolant temp (F):")));
  EXPECT_TRUE(b.getcombostring(6).startsWith(QStringLiteral("128;coolant temp (C):")));
  a.setsettingsmetric(true);
  EXPECT_EQ(a.getcombostring(6), b.getcombostring(6));
}

TEST(Settings, TriggerListFile) {
  QString triggers, syncs;
  ASSERT_TRUE(parsetriggerlists("36-1:60-2:***|CAM:NONE:***\r\n", triggers, syncs));
  EXPECT_EQ(triggers, QStringLiteral("2;36-1:60-2:***"));
  EXPECT_EQ(syncs, QStringLiteral("2;CAM:NONE:***"));
  EXPECT_FALSE(parsetriggerlists("no bar here\r\n", triggers, syncs));
  EXPECT_TRUE(triggers.isEmpty());
  EXPECT_TRUE(syncs.isEmpty());
  EXPECT_FALSE(parsetriggerlists("", triggers, syncs));
}

}  // namespace
}  // namespace ostrel
