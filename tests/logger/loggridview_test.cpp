// The log grid model behind a plain table view, as the logger window will show it.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableView>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "common/testsupport.h"
#include "logger/loggridmodel.h"
#include "loggerfixture.h"
#include "platform/prompts.h"

using namespace ostrel;

TEST(LogGridView, ShowsTheFirstRowsOfAFullLog) {
  RecordingPrompts modelprompts;
  maps model{modelprompts};
  settings tables;
  ProgramState state;
  for (int i = 0; i < 16; ++i) {
    state.logvar[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    state.logcolour[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  }
  logsamples store;
  store.resetlogsamples();
  test::record(
      store, logsamplecount, [](int s) { return 14 * 3600 + s / 13; },
      [](int s, int c) { return (s * (c + 1)) & 0xFF; });

  LogGridModel grid;
  grid.fill(store, logcolumns(state, tables, model, logvariables(tables)));
  QTableView view;
  view.setModel(&grid);
  view.resize(1200, 700);
  view.verticalHeader()->setDefaultSectionSize(18);
  view.scrollTo(grid.index(90, 0), QAbstractItemView::PositionAtTop);  // the first band change at row 98
  view.show();
  EXPECT_EQ(view.model()->rowCount(), LogGridModel::gridrows);
  EXPECT_EQ(view.model()->headerData(95, Qt::Vertical).toString(), "14:00:07");
  const QString png = test::savescreenshot(&view, QStringLiteral("loggrid"));
  EXPECT_FALSE(png.isEmpty());
}
