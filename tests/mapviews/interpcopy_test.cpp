// The interpolate and copy tools: the work copy each fills, the selections they refuse, and what Ok and Cancel
// leave in the map and the pending-write rectangle.
#include "mapviews/interpcopy.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <vector>

#include "graphfixture.h"
#include "mapviews/frminterpcopy.h"
#include "platform/ui/picturesurface.h"
#include "tuningfixture.h"

using namespace ostrel;

namespace {

using InterpCopyTest = test::TuningTest;

// One straight line of cells: along the first index (X, mode 3) at a column, or along the second (Y, mode 4) at a
// row. The cells from..to hold the values before, and the work copy holds what is expected after.
struct LineCase {
  const char* name;
  int mode;
  int map;
  int at;  // the column of an X line, the row of a Y line
  int from;
  std::vector<int> before;
  std::vector<int> after;
};

TEST_F(InterpCopyTest, InterpolationIsAStraightLineBetweenTheEndsRoundedHalfToEven) {
  const std::vector<LineCase> cases = {
      {"equal ends fill the range", 3, 4, 5, 2, {80, 10, 200, 0, 80}, {80, 80, 80, 80, 80}},
      {"two rows keep their ends", 3, 4, 5, 3, {17, 203}, {17, 203}},
      {"rising line", 3, 4, 9, 0, {10, 0, 0, 0, 50}, {10, 20, 30, 40, 50}},
      {"falling line", 4, 8, 12, 4, {200, 0, 0, 0, 100}, {200, 175, 150, 125, 100}},
      {"middle of 2.5 rounds down to even", 4, 4, 7, 10, {0, 99, 5}, {0, 2, 5}},
      {"middle of 3.5 rounds up to even", 3, 4, 7, 10, {0, 99, 7}, {0, 4, 7}},
      {"sixteen-bit cells of the base fuel table", 3, 0, 3, 0, {1000, 0, 0, 0, 8000}, {1000, 2750, 4500, 6250, 8000}},
      {"a 2-D table along its cells", 4, 24, 0, 2, {0, 0, 0, 30}, {0, 10, 20, 30}},
  };
  for (const LineCase& t : cases) {
    SCOPED_TRACE(t.name);
    const bool x = t.mode == toolmodes::interpx;
    const int last = t.from + static_cast<int>(t.before.size()) - 1;
    for (std::size_t k = 0; k < t.before.size(); ++k) {
      const int along = t.from + static_cast<int>(k);
      rig.mainmaps.setdata(t.map, x ? along : t.at, x ? t.at : along, t.before[k], false);
    }
    const CellBox box = x ? CellBox{t.from, last, t.at, t.at} : CellBox{t.at, t.at, t.from, last};
    WorkCopy work{};
    ASSERT_TRUE(fillinterpcopy(t.mode, rig.mainmaps, t.map, box, work));
    for (std::size_t k = 0; k < t.after.size(); ++k) {
      const int along = t.from + static_cast<int>(k);
      EXPECT_EQ(x ? work[along][t.at] : work[t.at][along], t.after[k]) << "cell " << k;
    }
    // Outside the box the work copy is the map.
    for (int r = 0; r < rig.mainmaps.getmaprows(t.map); ++r)
      for (int c = 0; c < rig.mainmaps.getmapcols(t.map); ++c)
        if (r < box.rowmin || r > box.rowmax || c < box.colmin || c > box.colmax) {
          ASSERT_EQ(work[r][c], rig.mainmaps.getdata(t.map, r, c)) << r << "," << c;
        }
  }
}

TEST_F(InterpCopyTest, InterpolationReadsItsEndsInTheMapForEveryLineOfTheBox) {
  // A box of three columns, each with its own ends.
  for (int c = 0; c < 3; ++c) {
    rig.mainmaps.setdata(4, 0, c, 10 * c, false);
    rig.mainmaps.setdata(4, 4, c, 10 * c + 40, false);
  }
  WorkCopy work{};
  ASSERT_TRUE(fillinterpcopy(toolmodes::interpx, rig.mainmaps, 4, CellBox{0, 4, 0, 2}, work));
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r <= 4; ++r) EXPECT_EQ(work[r][c], 10 * c + 10 * r) << r << "," << c;
}

TEST_F(InterpCopyTest, CopiesTakeTheFirstOrLastSelectedRowOrColumn) {
  // Every cell of map 4 distinct: 10 x row + column.
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) rig.mainmaps.setdata(4, r, c, (10 * r + c) % 256, false);
  const CellBox box{2, 4, 5, 7};
  struct CopyCase {
    int mode;
    bool row;  // a row is copied (else a column)
    int from;
  };
  for (const CopyCase& t :
       {CopyCase{9, true, 2}, CopyCase{10, true, 4}, CopyCase{7, false, 5}, CopyCase{8, false, 7}}) {
    SCOPED_TRACE(t.mode);
    WorkCopy work{};
    ASSERT_TRUE(fillinterpcopy(t.mode, rig.mainmaps, 4, box, work));
    for (int r = 0; r < 32; ++r)
      for (int c = 0; c < 32; ++c) {
        const bool inside = r >= box.rowmin && r <= box.rowmax && c >= box.colmin && c <= box.colmax;
        const int want = !inside ? rig.mainmaps.getdata(4, r, c)
                         : t.row ? rig.mainmaps.getdata(4, t.from, c)
                                 : rig.mainmaps.getdata(4, r, t.from);
        ASSERT_EQ(work[r][c], want) << r << "," << c;
      }
  }
}

TEST_F(InterpCopyTest, ASingleRowOrColumnRefusesTheToolsOfItsDirection) {
  WorkCopy work{};
  work[0][0] = -7;  // a refusal leaves the work copy alone
  // A 2-D table has one row: no X interpolation and no copy of a row.
  const CellBox table{0, 0, 2, 9};
  for (int mode : {3, 9, 10}) EXPECT_FALSE(fillinterpcopy(mode, rig.mainmaps, 24, table, work)) << mode;
  for (int mode : {4, 7, 8}) EXPECT_TRUE(fillinterpcopy(mode, rig.mainmaps, 24, table, work)) << mode;
  work[0][0] = -7;
  // One column of a 3-D map: no Y interpolation and no copy of a column.
  const CellBox column{3, 9, 6, 6};
  for (int mode : {4, 7, 8}) EXPECT_FALSE(fillinterpcopy(mode, rig.mainmaps, 4, column, work)) << mode;
  // Modes that are no interpolation or copy.
  for (int mode : {0, 1, 2, 5, 6, 11, 12})
    EXPECT_FALSE(fillinterpcopy(mode, rig.mainmaps, 4, CellBox{0, 5, 0, 5}, work));
  EXPECT_EQ(work[0][0], -7);
}

TEST_F(InterpCopyTest, TheBoxIsTakenInMapTermsOrderedAndInsideTheMap) {
  TrimBox box;
  box.rowmin = 9, box.rowmax = 3, box.colmin = 40, box.colmax = 2;
  EXPECT_EQ(cellbox(box, rig.mainmaps, 4), (CellBox{3, 9, 2, 31}));
  EXPECT_EQ(cellbox(box, rig.mainmaps, 24), (CellBox{0, 0, 2, 15}));
}

TEST_F(InterpCopyTest, ARefusedBoxShowsTheMessageAndOpensNothing) {
  rig.state.curmap = 24;
  select(0, 0, 2, 9);
  const CalibrationImage before = rig.mainmaps.getimage();
  for (int mode : {3, 9, 10}) {
    rig.state.toolmode = static_cast<std::uint8_t>(mode);
    tools.showinterpcopy();
  }
  EXPECT_TRUE(launcher.opened.empty());
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>(3, nointerpolationtext));
  EXPECT_EQ(rig.mainmaps.getimage(), before);
  EXPECT_TRUE(rig.state.pendingwrite.empty());
}

TEST_F(InterpCopyTest, OkStoresTheBoxMarksOnlyChangedCellsAndTheWholeBoxForWriting) {
  rig.state.curmap = 4;
  fill(4, 100);
  rig.mainmaps.clearchange();
  // Column 6 rises from 100 to 140 over rows 10..14; column 7 stays flat at 100.
  rig.mainmaps.setdata(4, 14, 6, 140, false);
  select(10, 14, 6, 7);
  rig.state.toolmode = toolmodes::interpx;
  launcher.scripts.push_back([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Interpolate in X direction (or rpm)"));
    static_cast<frmInterpcopy&>(d).Command1->click();
  });
  tools.showinterpcopy();

  ASSERT_EQ(launcher.opened, std::vector<QString>{QStringLiteral("frmInterpcopy")});
  for (int r = 10; r <= 14; ++r) {
    EXPECT_EQ(rig.mainmaps.getdata(4, r, 6), 100 + 10 * (r - 10));
    EXPECT_EQ(rig.mainmaps.getchange(4, r, 6), r > 10 && r < 14) << "row " << r;  // the ends kept their values
    EXPECT_FALSE(rig.mainmaps.getchange(4, r, 7));
  }
  const PendingWrite& rect = rig.state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{rect.lowrow, rect.highrow, rect.lowcol, rect.highcol}),
            (std::array<int, 4>{10, 14, 6, 7}));
  EXPECT_EQ(rig.state.pendingcommand, 8);
  EXPECT_EQ(rig.state.toolmode, toolmodes::interpx);  // left as it was
  EXPECT_EQ(host.calls, std::vector<QString>{QStringLiteral("drawmap 1")});
}

TEST_F(InterpCopyTest, CancelChangesNothing) {
  rig.state.curmap = 4;
  select(0, 8, 0, 8);
  rig.state.toolmode = toolmodes::copylastrow;
  const CalibrationImage before = rig.mainmaps.getimage();
  launcher.scripts.push_back([](QDialog& d) { static_cast<frmInterpcopy&>(d).Command2->click(); });
  tools.showinterpcopy();
  ASSERT_EQ(launcher.opened.size(), 1u);
  EXPECT_EQ(rig.mainmaps.getimage(), before);
  EXPECT_TRUE(rig.state.pendingwrite.empty());
  EXPECT_EQ(rig.state.pendingcommand, 0);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(InterpCopyTest, OnMap20TheLearnTimerLeavesAnInterpolationAlone) {
  rig.state.curmap = 20;
  fill(20, 50);
  rig.mainmaps.setdata(20, 4, 4, 90, false);
  select(0, 4, 4, 4);
  rig.state.toolmode = toolmodes::interpx;
  live(2, 4);
  test::changelive(rig.link, [](LiveData& l) { l.livesample = 178; });
  launcher.scripts.push_back([](QDialog& d) {
    auto& window = static_cast<frmInterpcopy&>(d);
    for (int i = 0; i < 30; ++i) window.learntick();
    window.Command1->click();
  });
  tools.showinterpcopy();
  for (int r = 0; r <= 4; ++r) EXPECT_EQ(rig.mainmaps.getdata(20, r, 4), 50 + 10 * r) << r;
}

TEST_F(InterpCopyTest, ThePreviewLiesOnTheToolsOwnPicture) {
  rig.state.curmap = 0;  // heights of up to 8000 at 0.3 twips each
  select(0, 31, 0, 31);
  rig.state.toolmode = toolmodes::interpy;
  for (GraphAngles angles : {GraphAngles{62, 7}, GraphAngles{200, 0}, GraphAngles{330, 10}}) {
    SCOPED_TRACE(angles.h);
    host.angles = angles;
    launcher.scripts.push_back([&](QDialog& d) {
      auto& window = static_cast<frmInterpcopy&>(d);
      const double w = window.picGraph->widthtwips(), h = window.picGraph->heighttwips();
      ASSERT_EQ(w, frmInterpcopy::pictureside * 15);
      ASSERT_EQ(h, frmInterpcopy::pictureside * 15);
      // The shown part of the surface (the wire colour; beyond it the mesh goes on in the shade colour).
      int lines = 0;
      for (const GraphShape& s : window.scene().of(GraphShape::Kind::line)) {
        if (s.color != rig.state.colors.wirecolor) continue;
        ++lines;
        for (const double x : {s.x1, s.x2}) ASSERT_TRUE(x >= 0 && x <= w) << x;
        for (const double y : {s.y1, s.y2}) ASSERT_TRUE(y >= 0 && y <= h) << y;
      }
      EXPECT_GT(lines, 100);
    });
    tools.showinterpcopy();
  }
  EXPECT_EQ(launcher.opened.size(), 3u);
}

TEST_F(InterpCopyTest, ScreenshotOfTheInterpolateTool) {
  rig.state.curmap = 4;
  // A dent in the VE map over rows 8..16 at loads 10..14, interpolated away along the rpm points.
  for (int r = 9; r <= 15; ++r)
    for (int c = 10; c <= 14; ++c) rig.mainmaps.setdata(4, r, c, 40, false);
  select(8, 16, 10, 14);
  rig.state.cursorrow = 8, rig.state.cursorcol = 10;
  rig.state.toolmode = toolmodes::interpx;
  launcher.scripts.push_back([this](QDialog& d) {
    auto& window = static_cast<frmInterpcopy&>(d);
    EXPECT_GT(test::countcolour(window.picGraph->image(), rig.state.colors.wirecolor), 1000);
    test::savescreenshot(&window, QStringLiteral("interpcopy_map4_interpx"));
  });
  tools.showinterpcopy();
  ASSERT_EQ(launcher.opened.size(), 1u);
}

}  // namespace
