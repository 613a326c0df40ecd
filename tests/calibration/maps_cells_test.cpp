#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "calibration/maps.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

// Image offset of each cell, as the ECU lays the calibration out.
int expectedoffset(int map, int row, int col) {
  if (map == 0) return 64 * row + 2 * col;
  if (map <= 23) return 0x0800 + 1024 * (map - 1) + 32 * row + col;
  if (map <= 103) return 0x6400 + 16 * (map - 24) + col;
  if (map == 104) return 0x6900 + 16 * row + col;
  if (map == 105) return 0x6980 + 16 * row + col;
  if (map <= 109) return 0x6A00 + 1024 * (map - 106) + 32 * row + col;
  return 0x7A00 + 256 * (map - 110) + 16 * row + col;
}

// A distinct value for every cell of a map that fits the map's range.
int pattern(int map, int row, int col) {
  return map == 0 ? row * 250 + col + 1 : (row * 37 + col * 11 + map) % 255 + 1;
}

class Cells : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps m{prompts};
};

}  // namespace

TEST_F(Cells, SetDataLimitsAndRoundsHalvesToEven) {
  struct Case {
    int map, row, col;
    double value;
    int stored;
  };
  const Case cases[] = {
      {0, 0, 0, 9000, 8000},
      {0, 0, 1, 7999.5, 8000},
      {0, 0, 2, 12.5, 12},
      {0, 0, 3, 13.5, 14},
      {5, 0, 0, 300, 255},
      {5, 0, 1, -3, 0},
      {5, 0, 2, 254.5, 254},
      {8, 31, 31, 255.5, 255},
      {30, 0, 15, 0.5, 0},
      {30, 0, 14, 1.5, 2},
      {104, 7, 15, 65, 65},
      {115, 15, 15, 2.4999, 2},
      {0, 1, 1, std::numeric_limits<double>::infinity(), 8000},
      {12, 1, 1, -std::numeric_limits<double>::infinity(), 0},
  };
  for (const Case& c : cases) {
    m.setdata(c.map, c.row, c.col, c.value, false);
    EXPECT_EQ(m.getdata(c.map, c.row, c.col), c.stored) << c.map << " " << c.value;
  }
}

TEST_F(Cells, OutsideTheMapNothingIsStoredOrMarked) {
  m.setdata(30, 0, 3, 77, false);
  const CalibrationImage before = m.getimage();
  const struct {
    int map, row, col;
  } outside[] = {{30, 1, 3},   {30, 0, 16}, {0, 32, 0},  {0, 0, 32}, {0, -1, 0}, {104, 8, 0},
                 {110, 16, 0}, {116, 0, 0}, {200, 0, 0}, {-1, 0, 0}, {8, 0, 300}};
  for (const auto& c : outside) {
    m.setdata(c.map, c.row, c.col, 99, true);
    m.incdecdata(c.map, c.row, c.col, 5);
    EXPECT_EQ(m.getdata(c.map, c.row, c.col), 0);
    EXPECT_FALSE(m.getchange(c.map, c.row, c.col));
  }
  EXPECT_EQ(m.getimage(), before);
}

TEST_F(Cells, NanStoresNothing) {
  m.setdata(3, 4, 5, 17, false);
  m.setdata(3, 4, 5, std::nan(""), true);
  EXPECT_EQ(m.getdata(3, 4, 5), 17);
  EXPECT_FALSE(m.getchange(3, 4, 5));
}

TEST_F(Cells, ChangedMarkOnlyWhenAsked) {
  m.setdata(4, 2, 3, 50, false);
  EXPECT_FALSE(m.getchange(4, 2, 3));
  m.setdata(4, 2, 3, 51, true);
  EXPECT_TRUE(m.getchange(4, 2, 3));
  EXPECT_FALSE(m.getchange(0, 2, 3));  // maps that share a value array keep their own marks
  EXPECT_FALSE(m.getchange(5, 2, 3));
}

TEST_F(Cells, IncDecStepsThroughTheLimits) {
  m.setdata(8, 0, 0, 254, false);
  m.incdecdata(8, 0, 0, 4);
  EXPECT_EQ(m.getdata(8, 0, 0), 255);
  EXPECT_TRUE(m.getchange(8, 0, 0));
  m.incdecdata(8, 0, 0, -300);
  EXPECT_EQ(m.getdata(8, 0, 0), 0);
  m.setdata(0, 5, 5, 7995, false);
  m.incdecdata(0, 5, 5, 10);
  EXPECT_EQ(m.getdata(0, 5, 5), 8000);
}

TEST_F(Cells, EditSteps) {
  const std::pair<int, int> steps[] = {{0, 10}, {1, 5}, {2, 5},  {3, 5},  {4, 2},  {5, 5},   {6, 5},
                                       {7, 2},  {8, 4}, {15, 4}, {16, 5}, {24, 5}, {115, 5}, {200, 5}};
  for (const auto& [map, step] : steps) {
    EXPECT_EQ(m.getintinc(map, 0), step) << map;
    EXPECT_EQ(m.getintinc(map, 1), 1) << map;
    EXPECT_EQ(m.getintinc(map, 2), step) << map;
  }
}

TEST_F(Cells, BufferRows) {
  EXPECT_EQ(m.getbufferrow(0, 31, 31), 127);
  EXPECT_EQ(m.getbufferrow(0, 1, 8), 5);
  EXPECT_EQ(m.getbufferrow(1, 0, 0), 128);
  EXPECT_EQ(m.getbufferrow(23, 31, 31), 1599);
  EXPECT_EQ(m.getbufferrow(24, 0, 0), 1600);
  EXPECT_EQ(m.getbufferrow(103, 0, 15), 1679);
  EXPECT_EQ(m.getbufferrow(104, 7, 0), 1687);
  EXPECT_EQ(m.getbufferrow(105, 0, 0), 1688);
  EXPECT_EQ(m.getbufferrow(107, 0, 16), 1761);
  EXPECT_EQ(m.getbufferrow(115, 15, 15), 2047);
  EXPECT_EQ(m.getbufferrow(116, 0, 0), 0);
  EXPECT_EQ(m.getbufferrow(200, 3, 3), 0);
}

// Every cell of every map lies where the ECU keeps it: its buffer row, its image bytes and the whole image agree,
// and the maps cover 0x8000 to 0xFFFF exactly once, in map order.
TEST_F(Cells, EveryCellLiesAtItsImageAddress) {
  std::vector<int> owner(imagesize, -1);
  int previousend = 0;
  for (int map = 0; map < 116; ++map) {
    int first = imagesize, last = -1;
    for (int r = 0; r < m.getmaprows(map); ++r) {
      for (int c = 0; c < m.getmapcols(map); ++c) {
        const int o = expectedoffset(map, r, c);
        for (int b = 0; b < (map == 0 ? 2 : 1); ++b) {
          ASSERT_EQ(owner[o + b], -1) << "byte " << o + b << " claimed twice";
          owner[o + b] = map;
        }
        first = std::min(first, o);
        last = std::max(last, o + (map == 0 ? 1 : 0));
        EXPECT_EQ(m.getbufferrow(map, r, c), o / 16) << map << " " << r << " " << c;
      }
    }
    EXPECT_EQ(first, previousend) << "map " << map << " follows the previous one without a gap";
    previousend = last + 1;
  }
  EXPECT_EQ(previousend, imagesize);
  for (int o = 0; o < imagesize; ++o) ASSERT_NE(owner[o], -1) << o;

  // The address ranges by map as the calibration file lists them.
  const struct {
    int firstmap, lastmap, firstaddress, lastaddress;
  } ranges[] = {{0, 0, 0x8000, 0x87FF},     {1, 7, 0x8800, 0xA3FF},     {8, 15, 0xA400, 0xC3FF},
                {16, 23, 0xC400, 0xE3FF},   {24, 103, 0xE400, 0xE8FF},  {104, 104, 0xE900, 0xE97F},
                {105, 105, 0xE980, 0xE9FF}, {106, 109, 0xEA00, 0xF9FF}, {110, 115, 0xFA00, 0xFFFF}};
  for (const auto& range : ranges) {
    for (int a = range.firstaddress; a <= range.lastaddress; ++a) {
      ASSERT_GE(owner[a - 0x8000], range.firstmap) << std::hex << a;
      ASSERT_LE(owner[a - 0x8000], range.lastmap) << std::hex << a;
    }
  }

  // Fill every map with its own pattern and read it back through the image, byte by byte and whole.
  for (int map = 0; map < 116; ++map)
    for (int r = 0; r < m.getmaprows(map); ++r)
      for (int c = 0; c < m.getmapcols(map); ++c) m.setdata(map, r, c, pattern(map, r, c), false);
  const CalibrationImage image = m.getimage();
  for (int map = 0; map < 116; ++map) {
    for (int r = 0; r < m.getmaprows(map); ++r) {
      for (int c = 0; c < m.getmapcols(map); ++c) {
        const int o = expectedoffset(map, r, c), v = pattern(map, r, c);
        if (map == 0) {
          ASSERT_EQ(image[o], v / 256);
          ASSERT_EQ(image[o + 1], v % 256);
          ASSERT_EQ(m.getmapbufferbyte(o / 16, o % 16), v / 256);
          ASSERT_EQ(m.getmapbufferbyte(o / 16, o % 16 + 1), v % 256);
        } else {
          ASSERT_EQ(image[o], v) << map << " " << r << " " << c;
          ASSERT_EQ(m.getmapbufferbyte(o / 16, o % 16), v);
        }
      }
    }
  }
}

TEST_F(Cells, ImageBytesAtTheMapStarts) {
  m.setdata(1, 0, 0, 11, false);
  m.setdata(24, 0, 0, 24, false);
  m.setdata(110, 0, 0, 110, false);
  EXPECT_EQ(m.getmapbufferbyte(128, 0), 11);           // offset 2048
  EXPECT_EQ(m.getmapbufferbyte(0x6400 / 16, 0), 24);   // address 0xE400
  EXPECT_EQ(m.getmapbufferbyte(0x7A00 / 16, 0), 110);  // address 0xFA00
  EXPECT_EQ(m.getmapbufferbyte(0, 16), 0);             // same as row 1 byte 0
  m.setdata(0, 0, 8, 0x1234, false);
  EXPECT_EQ(m.getmapbufferbyte(0, 16), 0x12);  // byte 16 of row 0 is offset 16
  EXPECT_EQ(m.getmapbufferbyte(2048, 0), 0);   // past the image
  EXPECT_EQ(m.getmapbufferbyte(-1, 0), 0);
}

TEST_F(Cells, WritingMapZeroByBytesInAnyOrder) {
  // Address order, as a whole-image read delivers it.
  m.setmapbufferbyte(0, 0, 0x1F);
  m.setmapbufferbyte(0, 1, 0x40);
  EXPECT_EQ(m.getdata(0, 0, 0), 8000);
  m.setmapbufferbyte(0, 0, 0x30);
  EXPECT_EQ(m.getdata(0, 0, 0), 8000);  // 0x3040 = 12352 is limited

  // Low byte first, then high; and a low byte written twice counts once.
  m.setmapbufferbyte(0, 3, 0x2C);
  m.setmapbufferbyte(0, 2, 0x01);
  EXPECT_EQ(m.getdata(0, 0, 1), 300);
  m.setmapbufferbyte(0, 3, 0x2C);
  EXPECT_EQ(m.getdata(0, 0, 1), 300);

  // A high byte above 0x1F limits the cell, and a later low byte does not bring it back below the limit.
  m.setmapbufferbyte(1, 0, 0xFF);
  m.setmapbufferbyte(1, 1, 0x00);
  EXPECT_EQ(m.getdata(0, 0, 8), 8000);
  m.setmapbufferbyte(1, 0, 0x00);
  EXPECT_EQ(m.getdata(0, 0, 8), 0);

  // The writes set no changed marks; a value the caller passes is never touched.
  EXPECT_FALSE(m.getchange(0, 0, 0));
  const std::uint8_t value = 0x40;
  m.setmapbufferbyte(2, 0, value);
  EXPECT_EQ(value, 0x40);

  // Past the image nothing is written.
  const CalibrationImage before = m.getimage();
  m.setmapbufferbyte(2048, 0, 9);
  m.setmapbufferbyte(-1, 15, 9);
  m.setmapbufferbyte(0, -1, 9);
  EXPECT_EQ(m.getimage(), before);
}

TEST_F(Cells, WholeImageRoundTripsThroughAFreshInstance) {
  CalibrationImage image{};
  for (int o = 0; o < imagesize; ++o) image[o] = static_cast<std::uint8_t>((o * 7 + o / 256) % 256);
  for (int cell = 0; cell < 1024; ++cell) image[2 * cell] = static_cast<std::uint8_t>(cell % 31);  // up to 7935
  image[0] = 0x1F;
  image[1] = 0x40;  // 8000, the largest value map 0 holds
  m.setimage(image);
  EXPECT_EQ(m.getimage(), image);

  maps fresh{prompts};
  fresh.setimage(m.getimage());
  EXPECT_EQ(fresh.getimage(), image);

  // Byte by byte in address order gives the same instance.
  maps bytewise{prompts};
  for (int row = 0; row < imagerows; ++row)
    for (int b = 0; b < 16; ++b) bytewise.setmapbufferbyte(row, b, image[16 * row + b]);
  EXPECT_EQ(bytewise.getimage(), image);
  for (int row = 0; row < imagerows; ++row)
    for (int b = 0; b < 16; ++b) ASSERT_EQ(bytewise.getmapbufferbyte(row, b), image[16 * row + b]);

  // No marks come with an image.
  EXPECT_FALSE(fresh.getchange(0, 0, 0));
  EXPECT_FALSE(fresh.getchange(110, 3, 3));
}

TEST_F(Cells, SetImageLimitsMapZero) {
  CalibrationImage image{};
  image[0] = 0xFF;
  image[1] = 0xFF;
  image[2] = 0x1F;
  image[3] = 0x41;
  m.setimage(image);
  EXPECT_EQ(m.getdata(0, 0, 0), 8000);
  EXPECT_EQ(m.getdata(0, 0, 1), 8000);
}

TEST_F(Cells, DestroyClearsTheRowsOfTheFragment) {
  ProgramState state;
  for (int map : {0, 24, 105, 110}) {
    for (int r = 0; r < m.getmaprows(map); ++r)
      for (int c = 0; c < m.getmapcols(map); ++c) m.setdata(map, r, c, 9, false);
  }
  state.guards.guard(0, 3, 2, 4);
  state.guards.guard(24, 3, 0, 0);
  state.guards.guard(110, 5, 0, 15);   // another fragment
  state.guards.guard(105, 3, 6, 200);  // rows past the map are ignored
  state.guards.guard(24, 6, 0, 0);     // a row guarded by another fragment too goes all the same

  const CalibrationImage before = m.getimage();
  m.destroymapdata(7, state);  // protects nothing
  EXPECT_EQ(m.getimage(), before);

  m.destroymapdata(3, state);
  // Map 0 is a 3-D table: its protected rows are load rows, at every rpm point.
  for (int r = 0; r < 32; ++r) {
    EXPECT_EQ(m.getdata(0, 31, r), r >= 2 && r <= 4 ? 0 : 9) << r;
    EXPECT_EQ(m.getdata(0, 0, r), r >= 2 && r <= 4 ? 0 : 9) << r;
    EXPECT_EQ(m.getchange(0, 7, r), r >= 2 && r <= 4) << r;
  }
  EXPECT_EQ(m.getdata(24, 0, 15), 0);
  EXPECT_EQ(m.getdata(105, 5, 0), 9);
  EXPECT_EQ(m.getdata(105, 7, 15), 0);
  EXPECT_EQ(m.getdata(110, 0, 0), 9);

  // No fragment 255 guards anything.
  m.destroymapdata(255, state);
  EXPECT_EQ(m.getdata(110, 0, 0), 9);
}

// The main and the second instance work side by side without sharing anything.
TEST(TwoInstances, KeepTheirOwnCellsMarksAndLabels) {
  RecordingPrompts prompts;
  auto mainmaps = std::make_unique<maps>(prompts);
  auto templatemaps = std::make_unique<maps>(prompts);
  mainmaps->setdata(0, 1, 1, 500, true);
  mainmaps->setvisit(0, 1, 1);
  mainmaps->setdata(110, 3, 0, 2, false);
  mainmaps->setdata(110, 6, 0, 100, false);
  mainmaps->recalc();
  EXPECT_EQ(templatemaps->getdata(0, 1, 1), 0);
  EXPECT_FALSE(templatemaps->getchange(0, 1, 1));
  EXPECT_FALSE(templatemaps->getvisit(0, 1, 1));
  EXPECT_EQ(templatemaps->getmapname(88), "2D PWM:PWM MAP 1 duty [coolant temp];%_0.39|0");
  EXPECT_TRUE(templatemaps->getscalestringX(0, true).startsWith("RX1;"));
  EXPECT_EQ(templatemaps->getlastshowcol(0), 2);
  EXPECT_EQ(mainmaps->getchecksum(0), (1 + 244) * 256 + 1 * 244);  // 500 = bytes 1 and 244
  EXPECT_EQ(templatemaps->getchecksum(0), 0);
  templatemaps.reset();
  EXPECT_EQ(mainmaps->getdata(0, 1, 1), 500);
}
