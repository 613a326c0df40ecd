// The logger's grid view over a full log: what it paints and where it scrolls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QHeaderView>
#include <QImage>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "common/testsupport.h"
#include "logger/loggridmodel.h"
#include "logger/ui/loggridview.h"
#include "loggerfixture.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

// The dark pixels of an image: text on the light face of a header.
int darkpixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  return n;
}

}  // namespace

TEST(LogGridView, ShowsAFullLogInBandsUnderTheTimestampCornerAndFollowsTheCurrentRow) {
  test::LogParts parts;
  for (int i = 0; i < 16; ++i) parts.state.logcolour[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  test::record(
      parts.store, logsamplecount, [](int s) { return 14 * 3600 + s / 13; },
      [](int s, int c) { return (s * (c + 1)) & 0xFF; });
  const LogColumns columns = logcolumns(parts.state, parts.tables, parts.model, logvariables(parts.tables));

  LogGridModel grid;
  LogGridView view(grid);
  view.resize(1200, 700);
  view.show();
  auto* corner = view.findChild<QAbstractButton*>();
  ASSERT_NE(corner, nullptr);
  const QImage emptycorner = corner->grab().toImage();
  grid.fill(parts.store, columns);
  view.scrollTo(grid.index(90, 0), QAbstractItemView::PositionAtTop);  // the first band change at row 98
  ASSERT_EQ(view.rowAt(0), 90);
  EXPECT_EQ(view.model()->rowCount(), LogGridModel::gridrows);
  EXPECT_EQ(view.model()->headerData(95, Qt::Vertical).toString(), "14:00:07");

  // The corner where the header row meets the time stamps reads "timestamp" once the grid is filled.
  const QImage filledcorner = corner->grab().toImage();
  EXPECT_EQ(darkpixels(emptycorner), 0);
  EXPECT_GT(darkpixels(filledcorner), 40);

  // Every one of the 32,765 rows is 16 pixels high, which fits a line of text.
  constexpr int rowheight = 16;
  EXPECT_EQ(view.rowHeight(0), rowheight);
  EXPECT_GE(rowheight, view.fontMetrics().height());
  EXPECT_EQ(view.rowHeight(LogGridModel::gridrows - 1), rowheight);
  EXPECT_EQ(view.verticalHeader()->length(), LogGridModel::gridrows * rowheight);

  // The bands as painted, row 90 at the top and every row 16 pixel rows further down (the last of them the grid
  // line): even rows change colour between 96 and 98, odd rows grey.
  ASSERT_EQ(view.rowViewportPosition(90), 0);
  const QImage cells = view.viewport()->grab().toImage();
  const struct {
    int row;
    QColor band;
  } bands[] = {{96, QColor(160, 160, 64)}, {97, QColor(160, 160, 160)}, {98, QColor(160, 64, 160)}};
  const int x = view.columnViewportPosition(7) + view.columnWidth(7) - 4;
  for (const auto& b : bands) {
    const int top = (b.row - 90) * rowheight;
    for (const int y : {top, top + rowheight - 2})
      EXPECT_EQ(cells.pixelColor(x, y), b.band)
          << "row " << b.row << ", y " << y << ": " << cells.pixelColor(x, y).name().toStdString();
  }
  test::savescreenshot(&view, QStringLiteral("loggrid"));

  // The current row is brought into view; a row past the grid changes nothing.
  view.setcurrentrow(5000);
  EXPECT_EQ(view.currentrow(), 5000);
  const int shownat = view.rowViewportPosition(5000);
  EXPECT_GE(shownat, 0);
  EXPECT_LE(shownat + rowheight, view.viewport()->height());
  view.setcurrentrow(LogGridModel::gridrows);
  EXPECT_EQ(view.currentrow(), 5000);

  // A restart of the log leaves the corner empty again.
  grid.clear();
  EXPECT_EQ(darkpixels(corner->grab().toImage()), 0);
}
