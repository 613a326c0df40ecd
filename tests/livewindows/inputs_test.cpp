#include <gtest/gtest.h>

#include <QResizeEvent>
#include <QTableView>

#include "calibration/settings.h"
#include "common/testrig.h"
#include "livewindows/frminputs.h"
#include "livewindows/inputstable.h"
#include "livewindowsfixture.h"
#include "platform/colors.h"
#include "platform/twips.h"

namespace ostrel::test {
namespace {

constexpr std::uint32_t high = 0x80FFFF, low = 0xB06060, used = 0x20C0F0, unused = 0x4040C0, active = 0xC0FFC0,
                        inactive = 0x606040;

class InputsTest : public ::testing::Test {
 protected:
  settings mainsettings;
  InputsTable table{mainsettings};
};

TEST_F(InputsTest, RequestTableAsksForTheStatusUseAndLevelWords) {
  const RequestTable t = InputsTable::addresses();
  const RequestTable expected = {
      {{0x6D, 0x80, 0x6D, 0x81, 0x6D, 0x82, 0x6D, 0x83, 0x6D, 0x88, 0x6D, 0x89, 0x6D, 0x8A, 0x6D, 0x8B},
       {0x6D, 0x84, 0x6D, 0x85, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}};
  EXPECT_EQ(t, expected);
}

TEST_F(InputsTest, FixedTextsAndColours) {
  const char* headings[] = {"Input", "State", "Request type", "Use", "Request type", "Status"};
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(table.cell(0, c).text, headings[c]);
    EXPECT_EQ(table.cell(0, c).bgr, 0xC0C0C0u);
  }
  struct Case {
    int row;
    const char* aux;
    const char* state;  // column 1 before any reply
  };
  const Case cases[] = {{1, "AUX 1", ""},           {16, "AUX 16", ""},        {17, "AUX 1", "Pull-up"},
                        {20, "AUX 4", "Pull-up"},   {21, "AUX 5", "Pull-dwn"}, {22, "AUX 6", "Pull-dwn"},
                        {23, "AUX 7", "Pull-up"},   {24, "AUX 8", "Pull-up"},  {25, "AUX 9", "Pull-dwn"},
                        {26, "AUX 10", "Pull-dwn"}, {27, "AUX 11", "TBA"},     {32, "AUX 16", "TBA"}};
  for (const Case& c : cases) {
    EXPECT_EQ(table.cell(c.row, 0).text, c.aux) << c.row;
    EXPECT_EQ(table.cell(c.row, 1).text, c.state) << c.row;
  }
  EXPECT_EQ(table.cell(1, 0).bgr, 0xE0FFFFu);
  EXPECT_EQ(table.cell(2, 2).bgr, 0xE0E0E0u);
  EXPECT_EQ(table.cell(2, 3).bgr, 0xC0C0FFu);

  // The input functions of combo list 12, in columns 2 and 4.
  QString list = mainsettings.getcombostring(12);
  const QStringList items = list.mid(list.indexOf(';') + 1).split(':');
  for (int r = 1; r <= 32; ++r) {
    EXPECT_EQ(table.cell(r, 2).text, items[r - 1]) << r;
    EXPECT_EQ(table.cell(r, 4).text, items[r - 1]) << r;
  }
  EXPECT_FALSE(table.cell(1, 2).text.isEmpty());
}

TEST_F(InputsTest, BitsLandInTheirRows) {
  struct Case {
    int byte;
    std::uint8_t value;
    int row, col;
    const char* text;
    std::uint32_t bgr;
  };
  const Case cases[] = {
      {9, 0x01, 1, 1, "High", high},     {8, 0x80, 16, 1, "High", high},     {9, 0x80, 8, 1, "High", high},
      {8, 0x01, 9, 1, "High", high},     {3, 0x01, 1, 5, "Active", active},  {0, 0x80, 32, 5, "Active", active},
      {2, 0x01, 9, 5, "Active", active}, {1, 0x80, 24, 5, "Active", active}, {7, 0x01, 1, 3, "Used", used},
      {4, 0x80, 32, 3, "Used", used},    {5, 0x01, 17, 3, "Used", used},     {6, 0x80, 16, 3, "Used", used},
  };
  for (const Case& c : cases) {
    const RxFrame frame = frameof({{c.byte, c.value}});
    ASSERT_TRUE(table.reportdata(frame, 5));
    int on = 0;
    for (int r = 1; r <= 32; ++r)
      for (int col : {1, 3, 5})
        if (table.cell(r, col).text == "High" || table.cell(r, col).text == "Used" ||
            table.cell(r, col).text == "Active")
          ++on;
    EXPECT_EQ(on, 1) << "byte " << c.byte << " sets exactly one cell";
    EXPECT_EQ(table.cell(c.row, c.col).text, c.text) << c.byte;
    EXPECT_EQ(table.cell(c.row, c.col).bgr, c.bgr) << c.byte;
  }
}

TEST_F(InputsTest, AllZeroReplyAndEarlyReplies) {
  RxFrame ones{};
  ones.fill(0xFF);
  EXPECT_FALSE(table.reportdata(ones, 4)) << "younger than five ticks: nothing is shown";
  EXPECT_EQ(table.cell(1, 1).text, "");
  EXPECT_EQ(table.cell(1, 3).text, "");
  EXPECT_EQ(table.cell(1, 3).bgr, 0xC0C0FFu);

  ASSERT_TRUE(table.reportdata(RxFrame{}, 5));
  for (int r = 1; r <= 32; ++r) {
    if (r <= 16) {
      EXPECT_EQ(table.cell(r, 1).text, "Low");
      EXPECT_EQ(table.cell(r, 1).bgr, low);
    }
    EXPECT_EQ(table.cell(r, 3).text, "Unused");
    EXPECT_EQ(table.cell(r, 3).bgr, unused);
    EXPECT_EQ(table.cell(r, 5).text, "Inactive");
    EXPECT_EQ(table.cell(r, 5).bgr, inactive);
  }
  EXPECT_EQ(table.cell(17, 1).text, "Pull-up") << "the fixed texts below the levels stay";
}

class InputsWindow : public ::testing::Test {
 protected:
  Rig rig;
  settings mainsettings;
};

TEST_F(InputsWindow, ClosesItselfOnTheFifthForeignTickAndLeavesTheOtherWindowsSelector) {
  frmInputs window(rig.state, rig.link, mainsettings);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Inputs");
  EXPECT_EQ(rig.state.livemode, 14);
  EXPECT_EQ(rig.link.requesttable(LiveTable::inputs), InputsTable::addresses());
  rig.state.livemode = 2;
  for (int i = 0; i < 4; ++i) window.Timer1_Timer();
  EXPECT_TRUE(window.isVisible());
  window.Timer1_Timer();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(rig.state.livemode, 2);
}

TEST_F(InputsWindow, TheGridShowsTheDecodedCellsAndFollowsTheWindowSize) {
  frmInputs window(rig.state, rig.link, mainsettings);
  window.show();
  QAbstractItemModel* model = window.inputGrid->model();
  ASSERT_EQ(model->rowCount(), 33);
  ASSERT_EQ(model->columnCount(), 6);
  EXPECT_EQ(window.inputGrid->columnWidth(2), static_cast<int>(180 * frmInputs::gridunit));
  EXPECT_EQ(window.inputGrid->rowHeight(0), 18);
  EXPECT_EQ(model->index(0, 0).data().toString(), "Input");
  EXPECT_EQ(model->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), bgrtocolor(0xE0FFFF));

  // The window takes no replies in its first second (five ticks of its timer).
  rig.connect();
  for (int i = 0; i < 5; ++i) window.Timer1_Timer();
  rig.tick(20);
  // Input 5 is the simulator's ignition feed, always high.
  EXPECT_EQ(model->index(5, 1).data().toString(), "High");
  EXPECT_EQ(model->index(5, 1).data(Qt::BackgroundRole).value<QBrush>().color(), bgrtocolor(high));

  // Outer size less 375 and 750 twips, the frame added to the client size.
  window.resize(700, 500);
  const QRect grid = window.inputGrid->geometry();
  EXPECT_EQ(grid.width(), twipstopixels(pixelstotwips(700) + frmInputs::framewidth - 375));
  EXPECT_EQ(grid.height(), twipstopixels(pixelstotwips(500) + frmInputs::frameheight - 750));
  window.close();
  EXPECT_EQ(rig.state.livemode, 0);
}

}  // namespace
}  // namespace ostrel::test
