// The log grid model: texts, colours and bands made on demand from a copy of the store.
#include "logger/loggridmodel.h"

#include <gtest/gtest.h>

#include <QColor>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "loggerfixture.h"
#include "platform/colors.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

class LogGrid : public ::testing::Test, protected test::LogParts {
 protected:
  LogGridModel grid;

  LogGrid() {
    state.logcolour.fill(16);
    state.logcolour[2] = 3;
  }
  void fill() { grid.fill(store, logcolumns(state, tables, model, logvariables(tables))); }
};

TEST_F(LogGrid, EmptyUntilFilledAndAfterARestart) {
  EXPECT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.columnCount(), 2);
  EXPECT_EQ(grid.celltext(-1, -1), "");
  EXPECT_FALSE(grid.data(grid.index(0, 0), Qt::BackgroundRole).isValid());
  fill();
  EXPECT_EQ(grid.rowCount(), 32765);
  EXPECT_EQ(grid.columnCount(), 16);
  grid.clear();
  EXPECT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.data(grid.index(1, 1)).toString(), "");
}

TEST_F(LogGrid, AnEmptyStoreShowsZeroStampsAndEachColumnsOffset) {
  fill();
  EXPECT_EQ(grid.cornertext(), "timestamp");
  EXPECT_EQ(grid.headerData(0, Qt::Horizontal).toString(), "coolant temp");
  EXPECT_EQ(grid.headerData(2, Qt::Horizontal).toString(), "engine speed");
  for (int row : {0, 1, 500, 32760}) {
    EXPECT_EQ(grid.headerData(row, Qt::Vertical).toString(), "0") << row;
    EXPECT_EQ(grid.data(grid.index(row, 0)).toString(), "-20") << row;     // coolant: offset -20, no decimals
    EXPECT_EQ(grid.data(grid.index(row, 15)).toString(), "-64.0") << row;  // advance: 0.5 a unit, offset -64
    EXPECT_EQ(grid.data(grid.index(row, 9)).toString(), "0.0") << row;
  }
}

TEST_F(LogGrid, RecordedSamplesScaledWithTheFuelsAirFuelRatio) {
  test::record(
      store, 40000, [](int s) { return 3600 + s / 10; }, [](int s, int c) { return (s + c) & 0xFF; });
  fill();
  EXPECT_EQ(grid.headerData(0, Qt::Vertical).toString(), "01:00:00");
  EXPECT_EQ(grid.headerData(25, Qt::Vertical).toString(), "01:00:02");
  EXPECT_EQ(grid.data(grid.index(10, 2)).toString(), QString::number((10 + 2) * 50));
  EXPECT_EQ(grid.data(grid.index(99, 1)).toString(), "14.7");  // raw 100 x 0.147 on petrol
  EXPECT_EQ(grid.celltext(32760, 0), QString::number((32760 & 0xFF) - 20));
  // Only the first 32,761 samples show; the last four rows stay empty.
  for (int row : {32761, 32764}) {
    EXPECT_EQ(grid.celltext(row, 0), "") << row;
    EXPECT_EQ(grid.headerData(row, Qt::Vertical).toString(), "") << row;
    EXPECT_FALSE(grid.data(grid.index(row, 0), Qt::BackgroundRole).isValid());
  }
  EXPECT_FALSE(grid.index(32765, 0).isValid());

  store.setlogdata(10, 2, 0);  // the grid shows its own copy until filled again
  EXPECT_EQ(grid.data(grid.index(10, 2)).toString(), "600");
}

TEST_F(LogGrid, BandsAndTextColours) {
  const struct {
    int row;
    std::uint32_t band;
  } bands[] = {{0, 0x40A0A0},  {1, 0xA0A0A0},   {96, 0x40A0A0},  {97, 0xA0A0A0},
               {98, 0xA040A0}, {196, 0xA040A0}, {198, 0x40A0A0}, {32760, 0xA040A0}};
  fill();
  for (const auto& b : bands) {
    EXPECT_EQ(LogGridModel::bandcolour(b.row), b.band) << b.row;
    EXPECT_EQ(grid.data(grid.index(b.row, 7), Qt::BackgroundRole).value<QColor>(), bgrtocolor(b.band)) << b.row;
  }
  EXPECT_EQ(grid.data(grid.index(5, 2), Qt::ForegroundRole).value<QColor>(), bgrtocolor(logpalette[3]));
  EXPECT_EQ(grid.data(grid.index(5, 0), Qt::ForegroundRole).value<QColor>(), QColor(255, 255, 255));
}

}  // namespace
