#include "mapviews/gridlayer.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QSignalSpy>

using namespace ostrel;

TEST(GridModel, KeepsWhatIsPutAndAnswersTheView) {
  GridModel grid(3, 4);
  grid.setcelltext(1, 2, QStringLiteral("12.5"));
  grid.setcelltext(-1, 0, QStringLiteral("0 rpm"));
  grid.setcelltext(2, -1, QStringLiteral("10 kPa"));
  grid.setcellbackcolor(1, 2, 0x0000FF);  // red, stored 0x00BBGGRR
  grid.setcellforecolor(-1, 0, 0xFF0000);
  grid.setcellbold(1, 2, true);
  EXPECT_EQ(grid.index(1, 2).data().toString(), QStringLiteral("12.5"));
  EXPECT_EQ(grid.index(1, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
  EXPECT_TRUE(grid.index(1, 2).data(Qt::FontRole).value<QFont>().bold());
  EXPECT_FALSE(grid.index(0, 0).data(Qt::BackgroundRole).isValid());
  EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString(), QStringLiteral("0 rpm"));
  EXPECT_EQ(grid.headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 255));
  EXPECT_EQ(grid.headerData(2, Qt::Vertical).toString(), QStringLiteral("10 kPa"));
  EXPECT_EQ(grid.celltext(-1, 0), QStringLiteral("0 rpm"));

  // Anything outside the grid is ignored and reads as nothing.
  grid.setcelltext(3, 0, QStringLiteral("x"));
  grid.setcellbackcolor(-1, 0, 0);
  grid.setcellbold(0, 4, true);
  grid.setcelltext(-2, 0, QStringLiteral("x"));
  EXPECT_EQ(grid.celltext(3, 0), QString());
  EXPECT_EQ(grid.cellbackcolor(0, 4), GridModel::nocolor);

  // A larger grid keeps every cell where it was.
  grid.setrowcount(5);
  grid.setcolcount(6);
  EXPECT_EQ(grid.celltext(1, 2), QStringLiteral("12.5"));
  EXPECT_EQ(grid.cellbackcolor(1, 2), 0x0000FFu);
  EXPECT_EQ(grid.celltext(2, -1), QStringLiteral("10 kPa"));
  EXPECT_EQ(grid.rowCount(), 5);
  grid.setrowcount(1);
  EXPECT_EQ(grid.celltext(1, 2), QString());
}

TEST(GridModel, ATextSourceAnswersForEveryDataCell) {
  GridModel grid(2, 2);
  grid.setcelltext(0, 0, QStringLiteral("stored"));
  grid.setcelltext(-1, 1, QStringLiteral("label"));
  grid.settextsource([](int row, int col) { return QStringLiteral("%1,%2").arg(row).arg(col); });
  EXPECT_EQ(grid.celltext(0, 0), QStringLiteral("0,0"));
  EXPECT_EQ(grid.index(1, 0).data().toString(), QStringLiteral("1,0"));
  EXPECT_EQ(grid.celltext(-1, 1), QStringLiteral("label"));
  grid.settextsource({});
  EXPECT_EQ(grid.celltext(0, 0), QStringLiteral("stored"));
}

// With redraw off every put is only stored; turning it on shows them all as one change of texts and one of looks.
TEST(GridModel, PutsReachTheViewAsOneChangePerPass) {
  GridModel grid(32, 32);
  QSignalSpy data(&grid, &QAbstractItemModel::dataChanged);
  QSignalSpy headers(&grid, &QAbstractItemModel::headerDataChanged);
  grid.setredraw(false);
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      grid.setcellbackcolor(r, c, 0xFFFFFF);
      grid.setcellforecolor(r, c, 0);
    }
  for (int c = 0; c < 32; ++c) grid.setcelltext(-1, c, QStringLiteral("x"));
  grid.setcelltext(4, 5, QStringLiteral("a"));
  grid.setcelltext(6, 2, QStringLiteral("b"));
  EXPECT_EQ(data.count(), 0);
  grid.setredraw(true);
  ASSERT_EQ(data.count(), 2);
  EXPECT_EQ(data[0][0].value<QModelIndex>(), grid.index(4, 2));
  EXPECT_EQ(data[0][1].value<QModelIndex>(), grid.index(6, 5));
  EXPECT_EQ(data[0][2].value<QList<int>>(), QList<int>{Qt::DisplayRole});
  EXPECT_EQ(data[1][0].value<QModelIndex>(), grid.index(0, 0));
  EXPECT_EQ(data[1][1].value<QModelIndex>(), grid.index(31, 31));
  ASSERT_EQ(headers.count(), 1);
  EXPECT_EQ(headers[0][1].toInt(), 0);
  EXPECT_EQ(headers[0][2].toInt(), 31);

  // Nested batches tell the view at the last end only.
  data.clear();
  grid.beginbatch();
  grid.setcellbackcolor(1, 1, 0);
  grid.beginbatch();
  grid.setcellbackcolor(30, 30, 0);
  grid.endbatch();
  EXPECT_EQ(data.count(), 0);
  grid.endbatch();
  EXPECT_EQ(data.count(), 1);
  // With redraw on and no batch each put is shown at once.
  grid.setcellbold(3, 3, true);
  EXPECT_EQ(data.count(), 2);
}
