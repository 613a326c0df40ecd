#include <gtest/gtest.h>

#include "linkfixture.h"

namespace ostrel::test {
namespace {

// The live handlers, fed with crafted replies.
class LiveData : public SimLink {
 protected:
  // The blank calibration's spreads hold no end marker: the axes show all 32 points.
  LiveData() { model.recalc(); }
  void site(std::initializer_list<std::pair<int, int>> bytes) {
    for (auto [k, v] : bytes) frame[k] = static_cast<std::uint8_t>(v);
    link.takereply(requesttype::livesite, frame);
  }
  void values(std::initializer_list<std::pair<int, int>> bytes) {
    for (auto [k, v] : bytes) frame[k] = static_cast<std::uint8_t>(v);
    link.takereply(requesttype::livevalues, frame);
  }
  RxFrame frame{};
};

TEST_F(LiveData, LiveSiteSetsRpmAndTheLiveCellWithinTheCurrentMap) {
  struct Case {
    int map;
    int b0, b1, b6, b7;
    int rpm, row, col;
  };
  const Case cases[] = {
      {0, 0x75, 0x31, 3, 4, 30000, 3, 4},  // 30001 rpm is capped
      {0, 0xFF, 0xFF, 3, 4, 30000, 3, 4},
      {0, 0x0B, 0xB8, 40, 5, 3000, 31, 5},  // a 3-D map: row is the rpm point, limited to 31
      {2, 0x0B, 0xB8, 7, 99, 3000, 7, 31},
      {30, 0x01, 0x00, 20, 9, 256, 0, 15},  // a 2-D map: byte 6 is the column, byte 7 unused
      {104, 0x00, 0x10, 3, 9, 16, 0, 3},    // comments: 8 x 16
      {110, 0x00, 0x10, 22, 9, 16, 0, 15},  // settings: 16 x 16
  };
  for (const Case& c : cases) {
    state.curmap = static_cast<std::uint8_t>(c.map);
    site({{0, c.b0}, {1, c.b1}, {6, c.b6}, {7, c.b7}});
    EXPECT_EQ(link.live().liverpm, c.rpm) << "map " << c.map;
    EXPECT_EQ(link.live().livevars[16], c.rpm);
    EXPECT_EQ(link.live().liverow, c.row) << "map " << c.map;
    EXPECT_EQ(link.live().livecol, c.col) << "map " << c.map;
  }
}

TEST_F(LiveData, EachReplyByteLandsInItsLiveVariable) {
  for (int k = 0; k < 18; ++k) frame[k] = static_cast<std::uint8_t>(100 + k);
  frame[9] = 0x12;
  frame[10] = 0x37;
  link.takereply(requesttype::livesite, frame);
  const std::pair<int, int> fromsite[] = {{0, 108},  {1, 1165}, {2, 111},  {4, 112},  {5, 113},
                                          {11, 114}, {12, 115}, {14, 105}, {15, 104}, {17, 103}};
  for (auto [index, value] : fromsite) EXPECT_EQ(link.live().livevars[index], value) << "live variable " << index;

  for (int k = 0; k < 18; ++k) frame[k] = static_cast<std::uint8_t>(200 + k);
  link.takereply(requesttype::livevalues, frame);
  const std::pair<int, int> fromvalues[] = {{9, 200}, {10, 201}, {13, 202}, {6, 204}, {3, 205}, {8, 206}, {7, 210}};
  for (auto [index, value] : fromvalues) EXPECT_EQ(link.live().livevars[index], value) << "live variable " << index;
  EXPECT_EQ(link.live().livesample, 208);
  EXPECT_EQ(link.live().afrtarget, 209);
  EXPECT_EQ(link.live().pwprotected, 211);
  EXPECT_EQ(link.live().pwmatchmask, 212);
  EXPECT_EQ(link.live().afrerrorhold, 214);
  EXPECT_EQ(link.live().fwversion, 215);
  EXPECT_EQ(link.live().ecuchecksum, 203 * 256 + 207);
  EXPECT_EQ(link.live().livevars[1], 1165) << "untouched by live values";
}

TEST_F(LiveData, CursorFollowsTheLiveCellOnlyOnThreeDMapsWhileTracking) {
  state.cursorrow = 9;
  state.cursorcol = 9;
  state.preferences.trackmode = false;
  site({{6, 3}, {7, 4}});
  EXPECT_EQ(state.cursorrow, 9);
  state.preferences.trackmode = true;
  site({{6, 3}, {7, 4}});
  EXPECT_EQ(state.cursorrow, 3);
  EXPECT_EQ(state.cursorcol, 4);
  state.curmap = 30;
  site({{6, 7}});
  EXPECT_EQ(state.cursorcol, 4);
  EXPECT_EQ(link.live().livecol, 7);
}

TEST_F(LiveData, KnockIsMarkedAtThePreviousCellAndOnlyOnThreeDMaps) {
  for (int c = 0; c < 16; ++c) model.setdata(42, 0, c, 50, false);
  site({{0, 0x0B}, {1, 0xB8}, {4, 60}, {6, 3}, {7, 4}});  // first reply: tested against (0, 0)
  EXPECT_TRUE(model.getmapknocked(0, 0));
  EXPECT_FALSE(model.getmapknocked(3, 4));
  site({{4, 60}, {6, 10}, {7, 11}});
  EXPECT_TRUE(model.getmapknocked(3, 4));
  EXPECT_FALSE(model.getmapknocked(10, 11));
  site({{4, 50}, {6, 12}, {7, 12}});  // not above the threshold
  EXPECT_FALSE(model.getmapknocked(10, 11));

  model.clearmapknock();
  state.curmap = 30;  // the live column of a 2-D map is no cell of the knock grid
  site({{4, 90}, {6, 5}});
  site({{4, 90}, {6, 5}});
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) ASSERT_FALSE(model.getmapknocked(r, c)) << r << "," << c;
}

TEST_F(LiveData, LiveValuesRedrawTheViewsThenRecordTheAfrError) {
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) model.setdata(19, r, c, 100, false);
  for (int i = 0; i < 4; ++i) values({{4, 110}, {14, 0}});  // 10 % lean at (0, 0), moving half a point per reply
  EXPECT_EQ(host.calls.size(), 20u);
  EXPECT_EQ(std::vector<QString>(host.calls.begin(), host.calls.begin() + 5),
            (std::vector<QString>{"drawpanel 0", "drawmap 0", "scrollgridtocell 0", "updategridhighlights 0",
                                  "filldatagrid 0"}));
  EXPECT_EQ(model.getafrerror(0, 0), 2);

  struct Case {
    const char* what;
    bool commsstate;
    int hold;
    int map;
    bool redraws, afr;
  };
  const Case cases[] = {{"fast verify or auto-tune", true, 0, 0, false, false},
                        {"AFR error held", false, 1, 0, true, false},
                        {"2-D current map", false, 0, 30, true, false}};
  for (const Case& c : cases) {
    model.clearAFRerror();
    host.calls.clear();
    host.commsstate = c.commsstate;
    state.curmap = static_cast<std::uint8_t>(c.map);
    for (int i = 0; i < 4; ++i) values({{4, 110}, {14, c.hold}, {3, 0x12}, {7, 0x34}});
    EXPECT_EQ(!host.calls.empty(), c.redraws) << c.what;
    EXPECT_EQ(model.getafrerror(0, 0) != 0, c.afr) << c.what;
    EXPECT_EQ(link.live().ecuchecksum, 0x1234) << c.what;
    EXPECT_EQ(link.live().livevars[6], 110) << c.what;
  }
}

// A mark measured against a map a password guards would give the guarded values back (the live panel shows the ratio
// and the knock level): the AFR error is not measured at a target cell in a guarded row, and no knock mark is made
// while the threshold map is guarded. Cells outside the guard are measured as before.
TEST_F(LiveData, NoMarkIsMeasuredAgainstAGuardedMap) {
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) model.setdata(19, r, c, 100, false);
  for (int c = 0; c < 16; ++c) model.setdata(42, 0, c, 50, false);
  state.guards.guard(19, 0, 4, 4);  // load point 4 of the target map
  state.guards.guard(42, 1, 0, 0);

  site({{0, 0x0B}, {1, 0xB8}, {4, 60}, {6, 3}, {7, 4}});
  site({{4, 60}, {6, 3}, {7, 4}});
  EXPECT_FALSE(model.getmapknocked(0, 0));
  EXPECT_FALSE(model.getmapknocked(3, 4));
  for (int i = 0; i < 20; ++i) values({{4, 110}, {14, 0}});
  EXPECT_EQ(model.getafrerror(3, 4), 0) << "the target at load point 4 is guarded";

  site({{4, 60}, {6, 3}, {7, 5}});
  for (int i = 0; i < 20; ++i) values({{4, 110}, {14, 0}});  // the first settles the jump to the new cell
  EXPECT_GT(model.getafrerror(3, 5), 0) << "load point 5 is open";
  state.guards.clear();
  site({{4, 60}, {6, 3}, {7, 5}});
  EXPECT_TRUE(model.getmapknocked(3, 5)) << "the threshold map is open again";
}

TEST_F(LiveData, EcuChecksumBelongsToTheMapItWasAskedFor) {
  EXPECT_FALSE(link.ecuchecksumcurrent());
  sim.setimage([] {
    CalibrationImage image{};
    for (int i = 0; i < imagesize; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return image;
  }());
  state.curmap = 30;
  connectandsettle();
  step(2);  // the live-values reply for map 30 is in
  EXPECT_EQ(link.live().ecuchecksummap, 30);
  EXPECT_EQ(link.live().ecuchecksum, sim.checksum(30));
  EXPECT_TRUE(link.ecuchecksumcurrent());
  state.curmap = 31;  // until a reply for map 31 arrives, the number says nothing about it
  EXPECT_FALSE(link.ecuchecksumcurrent());
  step(5);
  EXPECT_TRUE(link.ecuchecksumcurrent());
  EXPECT_EQ(link.live().ecuchecksum, sim.checksum(31));
}

TEST_F(LiveData, OnlyIntactLiveValuesRepliesCountAsFreshValues) {
  const std::uint32_t start = link.live().livevaluesreplies;
  site({{6, 3}});
  EXPECT_EQ(link.live().livevaluesreplies, start);
  values({{4, 100}});
  values({{4, 100}});  // the same values again are a new reply all the same
  EXPECT_EQ(link.live().livevaluesreplies, start + 2);
  // Over the line: one count per live-values reply, none while the ECU is silent.
  connectandsettle();
  const std::uint32_t before = link.live().livevaluesreplies;
  step(10);
  EXPECT_GT(link.live().livevaluesreplies, before);
  sim.injectfault(ecusim::Fault::noreply, 50);
  step(3);  // the reply in flight before the silence may still land
  const std::uint32_t silent = link.live().livevaluesreplies;
  step(20);
  EXPECT_EQ(link.live().livevaluesreplies, silent);
}

TEST_F(LiveData, SmoothingMovesAQuarterOfTheWayAtWeight25) {
  for (int k = 0; k < 16; ++k) link.setsmoothweight(k, 25);
  frame.fill(100);
  const float expected[] = {25.0f, 43.75f, 57.8125f};
  for (float e : expected) {
    link.smoothlivevalues(frame, false);
    EXPECT_FLOAT_EQ(link.smoothvalues()[0], e);
    EXPECT_FLOAT_EQ(link.smoothvalues()[15], e);
  }
  frame[3] = 7;
  link.smoothlivevalues(frame, true);
  EXPECT_EQ(link.smoothvalues()[3], 7.0f);
  EXPECT_EQ(link.smoothvalues()[0], 100.0f);
}

}  // namespace
}  // namespace ostrel::test
