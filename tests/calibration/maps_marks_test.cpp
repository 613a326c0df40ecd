#include <gtest/gtest.h>

#include "calibration/maps.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

class Marks : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps m{prompts};
};

}  // namespace

TEST_F(Marks, AJumpOnlyRecordsTheCell) {
  m.setdata(19, 5, 5, 100, false);
  m.setafrerror(150, 5, 5);  // far from (0, 0): weight 100, nothing stored
  EXPECT_EQ(m.getafrerror(5, 5), 0);
  m.setafrerror(150, 5, 5);  // still 100: the cell before last was (0, 0)
  EXPECT_EQ(m.getafrerror(5, 5), 0);
}

TEST_F(Marks, ErrorFollowsTheMeasurementAsTheCellSettles) {
  m.setdata(19, 5, 5, 100, false);
  m.setafrerror(150, 5, 5);
  m.setafrerror(150, 5, 5);
  // From the third call on the weight falls 90, 80, ... 0 and each call moves the error by at most
  // 0.05, 0.1, ... 0.5 percentage points: after ten calls 0.05 * (1 + 2 + ... + 10) = 2.75.
  for (int call = 0; call < 10; ++call) m.setafrerror(150, 5, 5);
  EXPECT_EQ(m.getafrerror(5, 5), 3);  // 2.75
  // Settled: 0.5 per call from now on; 43 more calls reach 24.25, then 50 is far off still.
  for (int call = 0; call < 43; ++call) m.setafrerror(150, 5, 5);
  EXPECT_EQ(m.getafrerror(5, 5), 24);  // 24.25
  for (int call = 0; call < 200; ++call) m.setafrerror(150, 5, 5);
  EXPECT_EQ(m.getafrerror(5, 5), 50);  // reaches the measured error of +50 % and stays near it
}

TEST_F(Marks, OneRowStepFromASettledCellWeighsEight) {
  m.setdata(19, 5, 5, 100, false);
  m.setdata(19, 6, 5, 100, false);
  m.setafrerror(100, 5, 5);
  for (int call = 0; call < 20; ++call) m.setafrerror(100, 5, 5);  // settled, error near 0
  m.clearAFRerror();
  // One row on: weight 0 - 10 + 9 + 9 = 8, gain 0.46. A measured error of +10 % moves the new cell by 0.46.
  m.setafrerror(110, 6, 5);
  m.setafrerror(110, 6, 5);  // weight 8 - 10 + 0 + 9 = 7, gain 0.465: 0.925 in all
  EXPECT_EQ(m.getafrerror(6, 5), 1);
  m.clearcellAFRerror(6, 5);
  EXPECT_EQ(m.getafrerror(6, 5), 0);
}

TEST_F(Marks, AZeroTargetDrivesTheErrorTowardsZero) {
  m.setdata(19, 0, 1, 100, false);
  m.setafrerror(200, 0, 1);
  for (int call = 0; call < 30; ++call) m.setafrerror(200, 0, 1);
  EXPECT_GT(m.getafrerror(0, 1), 5);
  const int before = m.getafrerror(0, 1);
  m.setdata(19, 0, 1, 0, false);
  for (int call = 0; call < 4; ++call) m.setafrerror(200, 0, 1);
  EXPECT_EQ(m.getafrerror(0, 1), before - 2);
}

TEST_F(Marks, AnEqualErrorStillMovesByAHundredth) {
  // Target 8, measured 9: an error of exactly 12.5 %, reached in 25 settled steps of 0.5.
  m.setdata(19, 0, 0, 8, false);
  for (int call = 0; call < 25; ++call) m.setafrerror(9, 0, 0);
  EXPECT_EQ(m.getafrerror(0, 0), 12);  // 12.5, halves to even
  m.setafrerror(9, 0, 0);              // equal: 12.51
  EXPECT_EQ(m.getafrerror(0, 0), 13);
}

TEST_F(Marks, AfrErrorRoundsHalvesToEven) {
  // 2.5 and 3.5 as stored errors: built from 0.5 steps on a settled cell.
  m.setdata(19, 0, 0, 100, false);
  for (int call = 0; call < 10; ++call) m.setafrerror(100, 0, 0);  // settle; the error creeps to 0.1
  m.clearAFRerror();
  for (int call = 0; call < 5; ++call) m.setafrerror(120, 0, 0);  // +0.5 each
  EXPECT_EQ(m.getafrerror(0, 0), 2);                              // 2.5
  for (int call = 0; call < 2; ++call) m.setafrerror(120, 0, 0);
  EXPECT_EQ(m.getafrerror(0, 0), 4);  // 3.5
}

TEST_F(Marks, CellsOutsideTheGridAreIgnored) {
  m.setafrerror(100, 32, 0);
  m.setafrerror(100, 0, -1);
  m.setmapknocked(1000, 255, 40, 3);
  m.clearcellAFRerror(99, 99);
  EXPECT_EQ(m.getafrerror(32, 0), 0);
  EXPECT_FALSE(m.getmapknocked(40, 3));
  EXPECT_FALSE(m.getmapknocked(-1, 0));
  // The ignored calls did not move the tracking record: (1, 1) is next to (0, 0), not a jump from (32, 0).
  // Weights 26, 34, 24 give steps of 0.37, 0.33 and 0.38 towards the +50 % error.
  m.setdata(19, 1, 1, 100, false);
  for (int call = 0; call < 3; ++call) m.setafrerror(150, 1, 1);
  EXPECT_EQ(m.getafrerror(1, 1), 1);
}

TEST_F(Marks, KnockAgainstTheThresholdOfTheRpmBand) {
  m.setdata(42, 0, 0, 50, false);
  m.setdata(42, 0, 1, 100, false);
  m.setdata(42, 0, 15, 200, false);
  struct Case {
    int rpm, knock;
    bool marked;
  };
  const Case cases[] = {{849, 50, false},    {849, 51, true},    {850, 100, false}, {850, 101, true},
                        {13499, 200, false}, {13499, 201, true}, {13500, 1, true},  {30000, 1, true},
                        {13500, 0, false},   {-5, 50, false},    {-5, 51, true}};
  for (const Case& c : cases) {
    m.clearmapknock();
    m.setmapknocked(c.rpm, static_cast<std::uint8_t>(c.knock), 3, 4);
    EXPECT_EQ(m.getmapknocked(3, 4), c.marked) << c.rpm << " " << c.knock;
  }
  m.setmapknocked(30000, 9, 3, 4);
  m.setmapknocked(0, 0, 3, 4);  // never cleared by a quiet reading
  EXPECT_TRUE(m.getmapknocked(3, 4));
}

TEST_F(Marks, VisitsAreSharedByMapsWithTheSameAxes) {
  m.setvisit(4, 7, 9);
  for (int map : {0, 1, 3, 4, 7, 8, 9, 11, 12, 15, 17, 18, 19, 21, 22, 23}) EXPECT_TRUE(m.getvisit(map, 7, 9)) << map;
  for (int map : {2, 5, 6, 10, 13, 14, 16, 20}) EXPECT_FALSE(m.getvisit(map, 7, 9)) << map;
  EXPECT_FALSE(m.getvisit(106, 7, 9));
  EXPECT_FALSE(m.getvisit(4, 9, 7));

  m.setvisit(16, 1, 2);
  for (int map : {2, 5, 6, 10, 13, 14, 16, 20}) EXPECT_TRUE(m.getvisit(map, 1, 2)) << map;
  EXPECT_FALSE(m.getvisit(0, 1, 2));

  m.setvisit(106, 31, 31);
  EXPECT_TRUE(m.getvisit(106, 31, 31));
  EXPECT_FALSE(m.getvisit(107, 31, 31));
  m.setvisit(24, 0, 15);
  EXPECT_TRUE(m.getvisit(24, 0, 15));
  EXPECT_FALSE(m.getvisit(25, 0, 15));
}

TEST_F(Marks, VisitsOutsideAMapDoNothing) {
  for (const auto& [map, row, col] : {std::tuple{30, 1, 3},
                                      {30, 0, 16},
                                      {104, 8, 0},
                                      {110, 0, 16},
                                      {4, 32, 0},
                                      {116, 0, 0},
                                      {200, 1, 1},
                                      {-1, 0, 0}}) {
    m.setvisit(map, row, col);
    EXPECT_FALSE(m.getvisit(map, row, col));
  }
  // Nothing spilled into a neighbouring cell.
  for (int map = 0; map < 116; ++map)
    for (int r = 0; r < m.getmaprows(map); ++r)
      for (int c = 0; c < m.getmapcols(map); ++c) ASSERT_FALSE(m.getvisit(map, r, c)) << map << r << c;
}

TEST_F(Marks, EachClearLeavesTheOtherMarks) {
  auto markall = [this] {
    m.setvisit(0, 1, 1);
    m.setdata(0, 1, 1, 5, true);
    m.setdata(19, 1, 1, 100, false);
    m.setafrerror(255, 1, 1);
    for (int call = 0; call < 12; ++call) m.setafrerror(255, 1, 1);
    m.setmapknocked(20000, 1, 1, 1);
  };
  struct Expect {
    bool visit, change, afr, knock;
  };
  const std::pair<void (maps::*)(), Expect> clears[] = {
      {&maps::clearvisit, {false, true, true, true}},
      {&maps::clearchange, {true, false, true, true}},
      {&maps::clearAFRerror, {true, true, false, true}},
      {&maps::clearmapknock, {true, true, true, false}},
  };
  for (const auto& [clear, expect] : clears) {
    markall();
    (m.*clear)();
    EXPECT_EQ(m.getvisit(0, 1, 1), expect.visit);
    EXPECT_EQ(m.getchange(0, 1, 1), expect.change);
    EXPECT_EQ(m.getafrerror(1, 1) != 0, expect.afr);
    EXPECT_EQ(m.getmapknocked(1, 1), expect.knock);
  }
}
