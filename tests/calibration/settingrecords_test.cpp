#include "calibration/settingrecords.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "calibration/settings.h"

namespace ostrel {
namespace {

int countrecords(const settings& s, int set) {
  int count = 0;
  for (int row = 0; row <= 16; ++row) {
    for (int col = 0; col <= 16; ++col) count += s.getdisplaygroup(set, row, col) != 255 ? 1 : 0;
  }
  return count;
}

TEST(SettingRecords, EmptyCellsAndSetsWithoutRecords) {
  const settings s;
  EXPECT_EQ(s.getdisplaygroup(0, 2, 5), 255);
  EXPECT_EQ(s.getdisplaystring(0, 2, 5), QStringLiteral("***"));
  EXPECT_EQ(s.getdisplaygroup(2, 0, 0), 255);
  // Every empty cell listed for map 110, and row/column 16.
  const int empties[][2] = {{2, 2}, {2, 11}, {5, 15}, {7, 15}, {14, 0}, {14, 5}, {15, 14}, {15, 15}, {16, 0}, {0, 16}};
  for (const auto& cell : empties) {
    EXPECT_EQ(s.getdisplaygroup(0, cell[0], cell[1]), 255) << cell[0] << "," << cell[1];
    EXPECT_EQ(s.getdisplaytype(0, cell[0], cell[1]), 0);
  }
  EXPECT_EQ(countrecords(s, 0), 236);
  EXPECT_EQ(countrecords(s, 1), 88);
  for (int set = 2; set < 6; ++set) EXPECT_EQ(countrecords(s, set), 0);
}

TEST(SettingRecords, OutOfRangeReadsAsEmptyCell) {
  const settings s;
  const int bad[][3] = {{6, 0, 0}, {-1, 0, 0}, {0, 17, 0}, {0, 0, 17}, {0, -1, 3}, {255, 255, 255}};
  for (const auto& b : bad) {
    EXPECT_EQ(s.getdisplaygroup(b[0], b[1], b[2]), 255);
    EXPECT_EQ(s.getdisplaytype(b[0], b[1], b[2]), 0);
    EXPECT_EQ(s.getdisplaymul(b[0], b[1], b[2]), 0.0f);
    EXPECT_EQ(s.getdisplayoffset(b[0], b[1], b[2]), QStringLiteral("0"));
    EXPECT_EQ(s.getdisplaystring(b[0], b[1], b[2]), QStringLiteral("***"));
    EXPECT_EQ(s.getdisplaystringtrue(b[0], b[1], b[2]), QStringLiteral("***"));
  }
  EXPECT_EQ(s.getdisplayarraystringtrue(0, 11, 12, 8), QStringLiteral("***"));
  EXPECT_EQ(s.getdisplayarraystringfalse(0, 11, 12, -1), QStringLiteral("***"));
  EXPECT_EQ(s.getsettingsgroupmembers(6), QStringLiteral("0:***"));
}

TEST(SettingRecords, RecordsOfBothSets) {
  const settings s;
  struct Case {
    int set, row, col;
    const char* label;
    int group, type;
    float mul;
    const char* offset;
  };
  const Case cases[] = {
      {0, 0, 0, "User 1 type", 14, 5, 0, "0"},
      {0, 0, 15, "User 12B (AND) type", 14, 5, 0, "0"},
      {0, 1, 9, "User 9B (AND) variable", 14, 1, 1, "0"},
      {0, 3, 11, "PWM MAP 12 X-axis variable", 15, 6, 0, "0"},
      {0, 3, 12, "PWM MAP 9 Y-axis variable", 15, 6, 0, "0"},
      {0, 4, 0, "Load spread 1", 11, 1, 1, "0"},
      {0, 5, 14, "Load spread 31", 11, 1, 1, "0"},
      {0, 7, 14, "Rpm spread 31", 10, 1, 1, "0"},
      {0, 8, 2, "Thermofan on temp", 16, 1, 1, "-20"},
      {0, 9, 13, "Aux map boost trim (psi)", 5, 1, 0.3f, "-38.3"},
      {0, 11, 7, "Injector 8 trim (%)", 7, 1, 0.5f, "-64"},
      {0, 12, 12, "Min pulse (ms)", 7, 1, 0.005f, "0"},
      {0, 13, 1, "Trigger type", 0, 9, 0, "0"},
      {0, 13, 2, "Sync type", 0, 10, 0, "0"},
      {0, 14, 6, "Output INJ1 function", 13, 11, 0, "0"},
      {0, 14, 15, "Output PWM2 function", 13, 11, 0, "0"},
      {0, 15, 13, "Output PWM16 function", 13, 11, 0, "0"},
      {1, 0, 11, "User 17D (AND) type", 0, 5, 0, "0"},
      {1, 2, 2, "AUX3 configuration", 3, 12, 0, "0"},
      {1, 2, 9, "AUX10 (ISCD) configuration", 3, 12, 1, "0"},
      {1, 3, 0, "Ign fire 1 trim (deg.)", 4, 1, 0.022f, "-5.61"},
      {1, 5, 15, "User 22D (OR) variable", 1, 1, 1, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(s.getdisplaystring(c.set, c.row, c.col), QString::fromLatin1(c.label));
    EXPECT_EQ(s.getdisplaygroup(c.set, c.row, c.col), c.group);
    EXPECT_EQ(s.getdisplaytype(c.set, c.row, c.col), c.type);
    EXPECT_EQ(s.getdisplaymul(c.set, c.row, c.col), c.mul);
    EXPECT_EQ(s.getdisplayoffset(c.set, c.row, c.col), QString::fromLatin1(c.offset));
  }
}

TEST(SettingRecords, OwnListsAndBitLabels) {
  const settings s;
  EXPECT_EQ(s.getdisplaytype(0, 13, 1), 9);
  EXPECT_EQ(s.getcombostring(s.getdisplaytype(0, 13, 1)), QStringLiteral("0:***"));
  EXPECT_EQ(s.getdisplaystringtrue(0, 10, 2), QStringLiteral("4;ATS DELCO:ATS FORD:ATS MIATA:ATS DC5 TAP:***"));
  EXPECT_TRUE(s.getdisplaystringtrue(0, 10, 1).startsWith(QStringLiteral("9;CTS DELCO:")));
  EXPECT_EQ(s.getdisplaystringtrue(0, 9, 1), QStringLiteral("4;EGO Left:EGO Right:UEGO AFR:UEGO AFR TARGET:***"));
  EXPECT_EQ(s.getdisplaystringtrue(0, 0, 0), QStringLiteral("***"));

  EXPECT_EQ(s.getdisplayarraystringtrue(0, 11, 12, 0), QStringLiteral("Cyl 1 left"));
  EXPECT_EQ(s.getdisplayarraystringfalse(0, 11, 12, 7), QStringLiteral("Cyl 8 right"));
  EXPECT_EQ(s.getdisplayarraystringfalse(0, 12, 10, 0), QStringLiteral("PWM 16 800 Hz"));
  EXPECT_EQ(s.getdisplayarraystringtrue(0, 12, 10, 7), QStringLiteral("PWM 9 30 Hz"));
  EXPECT_EQ(s.getdisplayarraystringfalse(0, 12, 13, 0), QStringLiteral("PWM 8 800 Hz"));
  EXPECT_EQ(s.getdisplayarraystringtrue(0, 12, 13, 7), QStringLiteral("PWM 1 30 Hz"));
  EXPECT_EQ(s.getdisplayarraystringfalse(0, 13, 11, 4), QStringLiteral("VCTi1 linear"));
  EXPECT_EQ(s.getdisplayarraystringtrue(0, 13, 11, 7), QStringLiteral("VCTe2 GS PWM 12"));
  EXPECT_EQ(s.getdisplayarraystringtrue(0, 9, 0, 0), QStringLiteral("***"));
}

TEST(SettingRecords, EveryRecordIsConsistent) {
  const settings s;
  for (int set = 0; set < 6; ++set) {
    const QString groups = s.getsettingsgroupmembers(set);
    const int groupcount = groups.left(groups.indexOf(QLatin1Char(';'))).toInt();
    for (int row = 0; row <= 16; ++row) {
      for (int col = 0; col <= 16; ++col) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(set).arg(row).arg(col).toStdString());
        EXPECT_EQ(s.getdisplaystringfalse(set, row, col), QStringLiteral("***"));
        const int group = s.getdisplaygroup(set, row, col);
        if (group == 255) continue;
        EXPECT_LT(group, groupcount);
        const int type = s.getdisplaytype(set, row, col);
        EXPECT_TRUE(type <= 2 || (type >= 4 && type <= 12));
        // Only own-list combos carry a list, only bit settings carry bit labels.
        EXPECT_EQ(type == 2, s.getdisplaystringtrue(set, row, col) != QStringLiteral("***"));
        EXPECT_EQ(type == 4, s.getdisplayarraystringtrue(set, row, col, 3) != QStringLiteral("***"));
      }
    }
  }
}

TEST(SettingRecords, GroupLists) {
  const settings s;
  const QString set0 = s.getsettingsgroupmembers(0);
  EXPECT_TRUE(set0.startsWith(QStringLiteral("17;ignition triggers:sensor type and calibration:")));
  EXPECT_TRUE(set0.endsWith(QStringLiteral(":pwm axes:air conditioner and fans:***")));
  EXPECT_EQ(set0.count(QLatin1Char(':')), 17);

  const QString set1 = s.getsettingsgroupmembers(1);
  EXPECT_TRUE(set1.startsWith(QStringLiteral("16;user logic (2xOR, 4xAND):")));
  EXPECT_EQ(set1.split(QLatin1Char(':')).size(), 17);  // 16 groups, five named, and the closing "***"
  EXPECT_TRUE(set1.endsWith(QStringLiteral("ignition cyl trims:***:***:***:***:***:***:***:***:***:***:***:***")));

  QStringList stars;
  for (int i = 0; i < 17; ++i) stars << QStringLiteral("***");
  for (int set = 2; set < 6; ++set) EXPECT_EQ(s.getsettingsgroupmembers(set), "16;" + stars.join(QLatin1Char(':')));

  // Group 2 of map 111 has no member cell.
  for (int row = 0; row < 16; ++row) {
    for (int col = 0; col < 16; ++col) EXPECT_NE(s.getdisplaygroup(1, row, col), 2);
  }
}

}  // namespace
}  // namespace ostrel
