#include "calibration/maps25.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <array>

#include "common/oldcalfile.h"

using namespace ostrel;
using ostrel::test::OldCalibration;
using ostrel::test::olds20;

namespace {

class OldFile : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.path() + QLatin1Char('/') + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }

  QTemporaryDir dir;
  Maps25 reader;
};

}  // namespace

TEST_F(OldFile, FixtureHasTheOldLayout) {
  const QByteArray file = olds20(OldCalibration{});
  EXPECT_EQ(file.size(), Maps25::filesize);
  EXPECT_EQ(file.size(), 30552);
}

TEST_F(OldFile, CellsComeFromTheirOldTablesInCurrentUnits) {
  OldCalibration cal;
  for (int c = 0; c < 32; ++c) cal.e[0][c] = c;      // line 210: map 1 row 0
  for (int c = 0; c < 32; ++c) cal.d[0][c] = c + 1;  // lines 146 and 147: words 1 to 32
  cal.d[31][31] = 0xFFFF;
  cal.e[32 + 5][6] = 99;                                      // map 3 (5, 6)
  cal.e[64][0] = 200, cal.e[64][1] = 100;                     // map 8: at most 127, doubled
  cal.e[96][0] = 40, cal.e[96][1] = 200, cal.e[96][2] = 150;  // map 9: 65..191 around 128, doubled
  cal.e[128 + 31][31] = 100;                                  // map 11
  cal.e[160 + 1][2] = 60;                                     // map 12
  cal.c[0][0] = 100, cal.c[31][31] = 255;                     // map 19: x 0.68
  cal.a[16][3] = 11;                                          // map 24
  cal.a[18][0] = 129, cal.a[18][1] = 131, cal.a[18][2] = 0;   // map 25: halves go to even
  cal.a[21][0] = 255, cal.a[21][1] = 7;                       // map 26: x 0.8
  cal.a[35][15] = 35;                                         // map 29
  cal.a[26][0] = 64, cal.a[25][0] = 192;                      // maps 32 and 33
  cal.a[17][1] = 17, cal.a[20][1] = 20, cal.a[23][1] = 23, cal.a[32][1] = 32, cal.a[28][1] = 28, cal.a[34][1] = 34;
  cal.a[24][0] = 5, cal.a[24][1] = 7;                        // map 48: x 0.5
  cal.a[27][2] = 27;                                         // map 56
  for (int k = 0; k < 8; ++k) cal.a[40 + k][k] = 200 + k;    // maps 88 to 95
  cal.a[0][0] = 1, cal.a[13][10] = 128, cal.a[47][15] = 47;  // map 110: the old settings rows as they are
  ASSERT_TRUE(reader.openfile(write("old.s20", olds20(cal))));
  EXPECT_TRUE(reader.failuretext().isEmpty());

  for (int c = 0; c < 32; ++c) {
    EXPECT_EQ(reader.getdata(1, 0, c), c);
    EXPECT_EQ(reader.getdata(0, 0, c), c + 1);
  }
  struct Case {
    int map, row, col, value;
  };
  const Case cases[] = {
      {0, 31, 31, 0xFFFF}, {3, 5, 6, 99},    {8, 0, 0, 254},     {8, 0, 1, 200},    {9, 0, 0, 2},      {9, 0, 1, 254},
      {9, 0, 2, 172},      {11, 31, 31, 72}, {12, 1, 2, 120},    {19, 0, 0, 68},    {19, 31, 31, 173}, {24, 0, 3, 11},
      {25, 0, 0, 128},     {25, 0, 1, 130},  {25, 0, 2, 64},     {26, 0, 0, 204},   {26, 0, 1, 6},     {29, 0, 15, 35},
      {32, 0, 0, 2},       {33, 0, 0, 254},  {40, 0, 1, 17},     {41, 0, 1, 20},    {42, 0, 1, 23},    {43, 0, 1, 32},
      {44, 0, 1, 28},      {45, 0, 1, 34},   {48, 0, 0, 2},      {48, 0, 1, 4},     {56, 0, 2, 27},    {88, 0, 0, 200},
      {95, 0, 7, 207},     {110, 0, 0, 1},   {110, 13, 10, 128}, {110, 47, 15, 47},
  };
  for (const Case& c : cases) EXPECT_EQ(reader.getdata(c.map, c.row, c.col), c.value) << "map " << c.map;
  // A 2-D map ignores the row.
  EXPECT_EQ(reader.getdata(24, 9, 3), 11);
  // The same cell asked again gives the same value.
  EXPECT_EQ(reader.getdata(8, 0, 0), 254);
}

// A limiting conversion leaves the limited old value in the table; nothing else in the tables changes.
TEST_F(OldFile, ALimitedValueIsWrittenBackIntoTheTable) {
  OldCalibration cal;
  cal.e[64][0] = 200, cal.e[64][1] = 100;                     // map 8: at most 127
  cal.e[96][0] = 40, cal.e[96][1] = 200, cal.e[96][2] = 150;  // map 9: 65..191
  cal.e[128 + 3][4] = 255;                                    // map 11
  cal.e[160 + 31][31] = 128;                                  // map 12: exactly the limit stays
  cal.a[26][5] = 10, cal.a[25][6] = 250;                      // maps 32 and 33
  cal.c[0][0] = 255;                                          // map 19 scales without a limit
  ASSERT_TRUE(reader.openfile(write("old.s20", olds20(cal))));
  const auto before = reader.tables();

  struct Case {
    int map, row, col, value;
    const std::int16_t* cell;
    int left;  // what the table holds afterwards
  };
  const auto& t = reader.tables();
  const Case cases[] = {
      {8, 0, 0, 254, &t.e[64][0], 127},      {8, 0, 1, 200, &t.e[64][1], 100}, {9, 0, 0, 2, &t.e[96][0], 65},
      {9, 0, 1, 254, &t.e[96][1], 191},      {9, 0, 2, 172, &t.e[96][2], 150}, {11, 3, 4, 254, &t.e[131][4], 191},
      {12, 31, 31, 254, &t.e[191][31], 127}, {32, 0, 5, 2, &t.a[26][5], 65},   {33, 9, 6, 254, &t.a[25][6], 191},
      {19, 0, 0, 173, &t.c[0][0], 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(reader.getdata(c.map, c.row, c.col), c.value) << "map " << c.map;
    EXPECT_EQ(*c.cell, c.left) << "map " << c.map;
    // Asked again, the limited value gives the same answer.
    EXPECT_EQ(reader.getdata(c.map, c.row, c.col), c.value) << "map " << c.map;
  }

  auto expected = before;
  expected.e[64][0] = 127, expected.e[96][0] = 65, expected.e[96][1] = 191, expected.e[131][4] = 191;
  expected.e[191][31] = 127, expected.a[26][5] = 65, expected.a[25][6] = 191;
  EXPECT_EQ(t.a, expected.a);
  EXPECT_EQ(t.b, expected.b);
  EXPECT_EQ(t.c, expected.c);
  EXPECT_EQ(t.d, expected.d);
  EXPECT_EQ(t.e, expected.e);
}

TEST_F(OldFile, MapsTheOldFileDoesNotHoldAndCellsOutsideATableHaveNoValue) {
  ASSERT_TRUE(reader.openfile(write("old.s20", olds20(OldCalibration{}))));
  for (const int map : {2, 4, 17, 23, 27, 46, 104, 105, 106, 111, 115, 116, 255, -1}) {
    EXPECT_FALSE(reader.getdata(map, 0, 0).has_value()) << map;
  }
  EXPECT_TRUE(reader.getdata(1, 31, 31).has_value());
  EXPECT_FALSE(reader.getdata(1, 32, 0).has_value());
  EXPECT_FALSE(reader.getdata(19, 0, -1).has_value());
  EXPECT_FALSE(reader.getdata(24, 0, 16).has_value());
  EXPECT_FALSE(reader.getdata(110, 48, 0).has_value());
}

TEST_F(OldFile, ResamplesThe24PointTableOnto32Points) {
  OldCalibration cal;
  for (int i = 0; i < 24; ++i)
    for (int j = 0; j < 24; ++j) cal.b[i][j] = 10 * i;  // rises along the rows only
  cal.b[24][0] = 250;                                   // the second old table is never read
  cal.a[13][10] = 128;                                  // scale 1
  ASSERT_TRUE(reader.openfile(write("old.s20", olds20(cal))));
  // Row r lies at old row 0.74 r: 0 -> 0, 1 -> 7.4, 10 -> 74, 31 -> 229.4.
  EXPECT_EQ(reader.getdata24to32(17, 0, 5), 0);
  EXPECT_EQ(reader.getdata24to32(17, 1, 31), 7);
  EXPECT_EQ(reader.getdata24to32(17, 10, 0), 74);
  EXPECT_EQ(reader.getdata24to32(17, 31, 31), 229);

  // The old setting scales the table around 128: half of (0 - 128) gives 64.
  cal.a[13][10] = 64;
  ASSERT_TRUE(reader.openfile(write("half.s20", olds20(cal))));
  EXPECT_EQ(reader.getdata24to32(17, 0, 0), 64);
  EXPECT_EQ(reader.getdata24to32(17, 31, 31), 179);  // (229.4 - 128) / 2 + 128 = 178.7
}

TEST_F(OldFile, LowerCaseDigitsAndExtraBytesAreRead) {
  OldCalibration cal;
  cal.e[0][0] = 0xAB;
  cal.d[0][0] = 0xBEEF;
  ASSERT_TRUE(reader.openfile(write("lower.s20", olds20(cal, true) + "trailing bytes are never read")));
  EXPECT_EQ(reader.getdata(1, 0, 0), 0xAB);
  EXPECT_EQ(reader.getdata(0, 0, 0), 0xBEEF);
}

TEST_F(OldFile, AShortOrDamagedFileFailsAsAWholeAndKeepsThePreviousFile) {
  OldCalibration cal;
  cal.e[0][0] = 42;
  cal.a[24][0] = 10;
  ASSERT_TRUE(reader.openfile(write("good.s20", olds20(cal))));

  OldCalibration other;
  other.e[0][0] = 7;
  other.a[24][0] = 99;
  const QByteArray file = olds20(other);
  QByteArray lastdigit = file;
  lastdigit[76 * 401 + 71] = 'G';
  QByteArray firstdigit = file;
  firstdigit[8] = ' ';
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const Case cases[] = {
      {"one byte short", file.left(Maps25::filesize - 1)},
      {"empty", QByteArray()},
      {"bad last digit", lastdigit},
      {"bad first digit", firstdigit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(reader.openfile(write("bad.s20", c.bytes)));
    EXPECT_EQ(reader.failuretext(), Maps25::corruptedmessage);
    EXPECT_EQ(reader.getdata(1, 0, 0), 42);
    EXPECT_EQ(reader.getdata(48, 0, 0), 5);
  }
  for (const QString& unreadable : {dir.path() + QStringLiteral("/missing.s20"), dir.path(), QString()}) {
    EXPECT_FALSE(reader.openfile(unreadable));
    EXPECT_TRUE(reader.failuretext().isEmpty());
  }
  EXPECT_EQ(reader.getdata(1, 0, 0), 42);
}
