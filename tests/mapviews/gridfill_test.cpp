#include <gtest/gtest.h>

#include <QLocale>

#include "common/linkhelpers.h"
#include "mapviews/mapgridcontent.h"
#include "mapviewsfixture.h"
#include "platform/numbers.h"

using namespace ostrel;
using test::MapViewsTest;

namespace {

// Drives the model's AFR error of cell (i, j) to the given whole percentage, as the live mixture feedback does
// while the engine holds that cell: target 100 in map 19, measured 100 + percent.
void setafrerror(maps& model, int i, int j, int percent) {
  model.setdata(19, i, j, 100, false);
  for (int n = 0; n < 80; ++n) model.setafrerror(static_cast<std::uint8_t>(100 + percent), i, j);
  ASSERT_EQ(model.getafrerror(i, j), percent);
}

}  // namespace

class GridFillTest : public MapViewsTest {
 protected:
  void open(int map) {
    state.curmap = static_cast<std::uint8_t>(map);
    views.filldatagrid(true);
  }
  // Every data cell and label that holds text.
  int filledcells() {
    int n = 0;
    for (int r = 0; r < gridsize; ++r)
      for (int c = 0; c < gridsize; ++c) n += text(r, c).isEmpty() ? 0 : 1;
    return n;
  }
  int labels(bool across) {
    int n = 0;
    for (int k = 0; k < gridsize; ++k) n += (across ? text(-1, k) : text(k, -1)).isEmpty() ? 0 : 1;
    return n;
  }
};

// A 3-D map is shown transposed: the first index across under the rpm labels, the second down beside the load
// labels, bottom-up when the load direction is UP.
TEST_F(GridFillTest, ThreeDMapsAreShownTransposedInEitherLoadDirection) {
  openshipped();
  model.setdata(8, 3, 5, 70, false);  // base timing, multiplier 0.5
  for (bool up : {false, true}) {
    state.preferences.gridloadup = up;
    open(8);
    const int row = up ? 26 : 5;
    EXPECT_EQ(text(row, 3), QStringLiteral("35,0")) << up;  // the test locale is German
    EXPECT_EQ(text(-1, 0), QStringLiteral("0 rpm"));
    EXPECT_EQ(text(-1, 3), QStringLiteral("750 rpm"));
    // Model column 0 is the first load label, at the top or at the bottom.
    EXPECT_EQ(text(up ? 31 : 0, -1), QStringLiteral("0 kPa"));
    EXPECT_EQ(text(up ? 26 : 5, -1), QStringLiteral("17 kPa"));
    EXPECT_EQ(filledcells(), 32 * 32);
    EXPECT_EQ(labels(true), 32);
    EXPECT_EQ(labels(false), 32);
  }
  // Imperial units change the load labels at the next fill.
  state.preferences.metricunits = false;
  open(8);
  EXPECT_EQ(text(31, -1), QStringLiteral("760 mmHg"));
}

// The grid writes numbers as the user's system does: decimal separator, digit grouping and minus sign follow the
// locale (the test main's default is German).
TEST_F(GridFillTest, ValuesUseTheMapsScaleAndDecimalsInTheRegionalFormat) {
  openshipped();
  const struct {
    int map, i, j, raw;
    const char* german;
    const char* english;
  } cases[] = {
      {0, 2, 3, 2469, "12,345", "12.345"},                                // 0.005 ms: three decimals
      {0, 2, 4, 8000, "40,000", "40.000"}, {1, 0, 0, 128, "0,0", "0.0"},  // 0.08 ms - 10.24: 0.08 rounds to one decimal
      {1, 0, 0, 127, "-0,1", "-0.1"},      {1, 0, 1, 129, "0,1", "0.1"},
      {9, 4, 4, 0, "-64,0", "-64.0"},     // ignition trim: 0.5 degrees - 64
      {19, 1, 1, 100, "14,7", "14.7"},    // AFR target in the ratio of fuel type 1
      {24, 0, 7, 201, "100,5", "100.5"},  // 2-D coolant trim, 0.5 %
      {42, 0, 2, 100, "1,90", "1.90"},    // knock threshold, 0.019 volts: two decimals
      {43, 0, 5, 200, "1.600", "1,600"},  // fuel cut limit, 8 rpm: grouped thousands
      {43, 0, 6, 255, "2.040", "2,040"},   {56, 0, 0, 100, "800", "800"},
  };
  state.preferences.substrings = false;
  state.preferences.gridloadup = false;
  for (const bool english : {false, true}) {
    const QLocale before;
    if (english) QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const auto& c : cases) {
      model.setdata(c.map, c.i, c.j, c.raw, false);
      open(c.map);
      const GridPos pos = gridposof(views.fill(), c.i, c.j);
      EXPECT_EQ(text(pos.row, pos.col), QString::fromLatin1(english ? c.english : c.german)) << c.map;
    }
    QLocale::setDefault(before);
  }
  // The notes' numbers too; no "-0" for a value that rounds to zero.
  EXPECT_EQ(formatregional(-0.004, 2, Grouping::grouped), QStringLiteral("0,00"));
  EXPECT_EQ(formatregional(1234.125, 2, Grouping::grouped), QStringLiteral("1.234,12"));
}

TEST_F(GridFillTest, UnitNotesFollowTheMapAndThePreferences) {
  openshipped();
  state.preferences.gridloadup = false;
  const int i = 5, j = 7;
  const struct {
    int map;
    int error;
    bool afrnote;
    const char* note;
  } cases[] = {
      {0, 2, false, " inc1"},  {0, 1, false, ""},        {0, 0, false, ""},      {0, -1, false, ""},
      {0, -2, false, " dec3"}, {0, 12, false, " inc11"}, {4, 3, true, ", INC3"}, {4, -3, true, ", DEC3"},
      {4, 0, true, ""},        {1, 5, true, ""},         {8, 5, true, ""},
  };
  for (const auto& c : cases) {
    setafrerror(model, i, j, c.error);
    state.preferences.vesubstringafrerror = c.afrnote;
    open(c.map);
    const QString t = text(j, i);
    const QString number = mapcelltext(
        model,
        [&] {
          GridFill f = views.fill();
          f.substrings = false;
          return f;
        }(),
        i, j);
    EXPECT_EQ(t, number + QString::fromLatin1(c.note)) << c.map << " " << c.error;
  }

  // The VE map's other note is the cell's pulse width.
  state.preferences.vesubstringafrerror = false;
  open(4);
  EXPECT_TRUE(
      text(j, i).endsWith(QStringLiteral(", ") + formatregional(model.getVEPW(i, j), 2, Grouping::grouped) + QStringLiteral(" ms")))
      << text(j, i).toStdString();

  // Knock on the base timing map.
  model.setdata(42, 0, 0, 10, false);
  model.setmapknocked(0, 200, i, j);
  open(8);
  EXPECT_TRUE(text(j, i).endsWith(QStringLiteral(", K")));
  EXPECT_FALSE(text(j, i + 1).endsWith(QStringLiteral(", K")));

  // Without unit notes nothing is added anywhere.
  state.preferences.substrings = false;
  for (int map : {0, 4, 8}) {
    open(map);
    EXPECT_FALSE(text(j, i).contains(QLatin1Char(' '))) << map;
  }
}

TEST_F(GridFillTest, ChangedCellsAreBracketedWithTheirNote) {
  openshipped();
  state.preferences.gridloadup = false;
  state.preferences.vesubstringafrerror = true;
  setafrerror(model, 5, 7, -3);
  model.setdata(4, 5, 7, 80, true);
  open(4);
  EXPECT_EQ(text(7, 5), QStringLiteral("[80, DEC3]"));
  EXPECT_FALSE(text(7, 6).startsWith(QLatin1Char('[')));
}

// Protected rows count on the second index of a 3-D map whatever the load direction; the guards of two fragments
// over one map add up.
TEST_F(GridFillTest, ProtectedRowsStayEmpty) {
  openshipped();
  state.guards.guard(8, 0, 4, 9);
  state.guards.guard(8, 1, 31, 31);
  for (bool up : {false, true}) {
    state.preferences.gridloadup = up;
    open(8);
    for (int j = 0; j < 32; ++j) {
      const int row = up ? 31 - j : j;
      EXPECT_EQ(text(row, 0).isEmpty(), (j >= 4 && j <= 9) || j == 31) << j << " " << up;
    }
  }
  state.guards.clear();
  open(8);
  EXPECT_FALSE(text(5, 0).isEmpty());

  // A table's protection row is its only row.
  state.guards.guard(24, 0, 0, 0);
  open(24);
  EXPECT_EQ(filledcells(), 0);
  EXPECT_EQ(labels(true), 16);
}

TEST_F(GridFillTest, AnotherKindOfMapLeavesNoOldText) {
  openshipped();
  open(0);
  ASSERT_EQ(filledcells(), 1024);
  open(24);
  EXPECT_EQ(filledcells(), 16);
  for (int c = 0; c < 16; ++c) EXPECT_FALSE(text(0, c).isEmpty()) << c;
  EXPECT_EQ(labels(true), 16);
  EXPECT_EQ(text(-1, 0), QStringLiteral("-20 C"));
  EXPECT_EQ(text(-1, 15), QStringLiteral("130 C"));
  EXPECT_EQ(labels(false), 1);  // the one row label of a table is a blank
  EXPECT_EQ(text(0, -1), QStringLiteral(" "));
  // The load direction does not turn a table.
  state.preferences.gridloadup = !state.preferences.gridloadup;
  open(24);
  EXPECT_FALSE(text(0, 0).isEmpty());

  // Comments, passwords and settings maps: labels, no cells.
  for (int map : {104, 105, 110}) {
    open(map);
    EXPECT_EQ(filledcells(), 0) << map;
    EXPECT_EQ(text(-1, 0), QStringLiteral(" ")) << map;
    EXPECT_EQ(text(-1, 1), QStringLiteral("***")) << map;
  }
}

// The short refresh tells the view about two cells only; their texts are read afresh when they are painted.
TEST_F(GridFillTest, ShortRefreshTouchesTheLiveAndCursorCells) {
  openshipped();
  state.preferences.gridloadup = true;
  open(0);
  std::vector<std::pair<QModelIndex, QModelIndex>> changes;
  QObject::connect(&views.mapgrid(), &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& a, const QModelIndex& b) { changes.emplace_back(a, b); });
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 3; });
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.livecol = 4; });
  state.cursorrow = 10;
  state.cursorcol = 0;
  views.filldatagrid(false);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].first, views.mapgrid().index(27, 3));
  EXPECT_EQ(changes[0].second, views.mapgrid().index(27, 3));
  EXPECT_EQ(changes[1].first, views.mapgrid().index(31, 10));

  model.setdata(0, 3, 4, 1000, true);
  EXPECT_EQ(text(27, 3), QStringLiteral("[5,000]"));

  // A full fill is one change of the whole grid.
  changes.clear();
  views.filldatagrid(true);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].first, views.mapgrid().index(0, 0));
  EXPECT_EQ(changes[0].second, views.mapgrid().index(31, 31));

  // Comments have no cells to refresh.
  state.curmap = 104;
  changes.clear();
  views.filldatagrid(false);
  EXPECT_TRUE(changes.empty());
}

TEST(AxisLabels, TakesLabelsUpToEachSemicolon) {
  EXPECT_EQ(axislabels(QStringLiteral("a;b;c;***;"), 3), (QStringList{"a", "b", "c"}));
  EXPECT_EQ(axislabels(QStringLiteral("a;;c;"), 3), (QStringList{"a", "", "c"}));
  // A damaged string never reads past its end.
  EXPECT_EQ(axislabels(QStringLiteral("a;b"), 4), (QStringList{"a", "b", "", ""}));
  EXPECT_EQ(axislabels(QString(), 2), (QStringList{"", ""}));
}
