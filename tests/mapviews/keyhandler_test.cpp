// The common keyboard handler of the map views, driven key by key against the calibration model.
#include "mapviews/keyhandler.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

#include "calibration/settings.h"
#include "common/linkhelpers.h"
#include "mapviews/keycodes.h"
#include "mapviewsfixture.h"
#include "platform/installfolder.h"
#include "platform/ui/windowlauncher.h"

using namespace ostrel;

namespace {

constexpr int pgup = vk::pageup, pgdn = vk::pagedown, plus = vk::plus, minus = vk::minus;
constexpr int left = vk::left, up = vk::up, right = vk::right, down = vk::down;
constexpr int f(int n) {
  return vk::f1 + n - 1;
}

const QString editrefusal =
    QStringLiteral("It is not possible to edit this map because portions are password protected");

// The cell entry dialog, recorded with the tool mode it opened for and closed unanswered.
struct EntryLauncher final : WindowLauncher {
  EntryLauncher(const ProgramState& state, std::vector<QString>& calls) : state(state), calls(calls) {}
  int showmodal(QDialog& dialog) override {
    calls.push_back(dialog.objectName() == QStringLiteral("frmEntry") ? QStringLiteral("entry %1").arg(state.toolmode)
                                                                      : dialog.objectName());
    return QDialog::Rejected;
  }
  const ProgramState& state;
  std::vector<QString>& calls;
};

class KeyHandlerTest : public test::MapViewsTest {
 protected:
  KeyHandlerTest() {
    handler.install();
    state.preferences.trackmode = false;  // HOLD: the arrows move the cursor
  }
  void SetUp() override {
    openshipped();
    calls.clear();
  }

  void key(int keycode, int shift = 0, MapView view = MapView::grid, bool loadup = false) {
    handler.mapkeydown(keycode, shift, view, loadup);
  }
  void open(int map, int row, int col) {
    state.curmap = static_cast<std::uint8_t>(map);
    state.cursorrow = static_cast<std::uint8_t>(row);
    state.cursorcol = static_cast<std::uint8_t>(col);
  }
  void protect(int map, int first, int last) {
    state.guards.clear();
    state.guards.guard(map, 0, first, last);
  }
  int cell(int row, int col) const { return model.getdata(state.curmap, row, col); }
  void set(int row, int col, int value) { model.setdata(state.curmap, row, col, value, false); }
  bool has(const QString& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  // The maps the views were asked to show afresh, in order.
  std::vector<int> opened() const {
    std::vector<int> maps;
    for (const QString& c : callsof(QStringLiteral("openmapview ")))
      maps.push_back(c.mid(QStringLiteral("openmapview ").size()).toInt());
    return maps;
  }

  settings mainsettings;
  KeyHandler handler{state, model, mainsettings, link, views, prompts};
  EntryLauncher entries{state, calls};
  ScopedLauncher scopedlauncher{entries};
};

TEST_F(KeyHandlerTest, StepKeysMoveTheCursorCellByTheMapsIncrementWithinItsRange) {
  const struct {
    int map, keycode, shift, start, expected;
  } cases[] = {
      {0, pgup, 0, 4000, 4010}, {0, pgdn, 1, 4000, 3999}, {0, plus, 0, 7995, 8000}, {0, pgup, 0, 8000, 8000},
      {0, minus, 0, 5, 0},      {0, pgup, 0, 300, 310},  // map 0's cells are 16-bit
      {4, pgup, 0, 100, 102},   {7, pgdn, 0, 100, 98},    {8, plus, 0, 100, 104},   {15, minus, 0, 100, 96},
      {16, pgup, 0, 100, 105},  {24, pgup, 0, 253, 255},  {24, pgdn, 0, 3, 0},      {110, pgup, 1, 7, 8},
      {4, pgup, 1, 255, 255},   {48, minus, 1, 0, 0},
  };
  for (const auto& c : cases) {
    const bool threed = model.getcontextandtype(c.map) == 0;
    open(c.map, threed ? 3 : 0, 5);
    set(state.cursorrow, 5, c.start);
    model.clearchange();
    state.syncerrticks = 7;
    state.redrawticks = 50;
    calls.clear();
    key(c.keycode, c.shift);
    SCOPED_TRACE(testing::Message() << "map " << c.map << " key " << c.keycode << " shift " << c.shift);
    EXPECT_EQ(cell(state.cursorrow, 5), c.expected);
    EXPECT_TRUE(model.getchange(c.map, state.cursorrow, 5));
    EXPECT_EQ(state.syncerrticks, 0);
    // Page Up and Page Down restart the deferred 3-D redraw, plus and minus leave it alone.
    EXPECT_EQ(state.redrawticks, c.keycode == pgup || c.keycode == pgdn ? 0 : 50);
    EXPECT_EQ(state.pendingcommand, 0) << "offline: nothing marked for writing";
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 0"), QStringLiteral("focus grid")}));
  }
}

TEST_F(KeyHandlerTest, OnlineStepsWidenThePendingWriteOfTheMap) {
  state.online = true;
  open(8, 3, 5);
  key(pgup);
  EXPECT_EQ(state.pendingcommand, 8);
  EXPECT_EQ(state.pendingmap, 8);
  EXPECT_EQ(state.pendingwrite.lowrow, 3);
  EXPECT_EQ(state.pendingwrite.highcol, 5);
  state.pendingcommand = 3;
  state.cursorrow = 2, state.cursorcol = 9;
  key(minus);
  EXPECT_EQ(state.pendingcommand, 8);
  const PendingWrite& r = state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{r.lowrow, r.highrow, r.lowcol, r.highcol}), (std::array<int, 4>{2, 3, 5, 9}));
}

TEST_F(KeyHandlerTest, AProtectedMapRefusesEveryCellEditButNotTheViewKeys) {
  open(8, 0, 0);  // the cursor lies outside the protected rows: the whole map is refused all the same
  protect(8, 5, 9);
  set(0, 0, 100);
  for (int keycode : {pgup, pgdn, plus, minus, vk::enter, int('E'), int('M'), int('V'), int('A'), int('S'), int('Q')}) {
    prompts.clear();
    calls.clear();
    key(keycode);
    EXPECT_EQ(prompts.messages(), std::vector<QString>{editrefusal}) << keycode;
    EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus grid")}) << keycode;
  }
  EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Information);
  EXPECT_EQ(cell(0, 0), 100);
  EXPECT_FALSE(model.getchange(8, 0, 0));

  // Moving about and switching options is no edit.
  prompts.clear();
  key(right);
  key('L');
  EXPECT_EQ(state.cursorrow, 1);
  EXPECT_FALSE(state.preferences.gridcenterload);
  EXPECT_TRUE(prompts.messages().empty());

  // Ctrl refuses the box with its own message and still hands the focus over.
  calls.clear();
  key(right, vk::ctrl);
  EXPECT_EQ(prompts.messages(),
            std::vector<QString>{
                QStringLiteral("It is not possible to mass edit this map because portions are password protected")});
  EXPECT_FALSE(state.trimbox.active);
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus grid")});
}

TEST_F(KeyHandlerTest, ABoxOnAProtectedMapIsNeitherSteppedNorHandedToATool) {
  open(8, 2, 2);
  handler.selection().navigategrid(right, false, false, false);  // as a tool would start it
  protect(8, 0, 31);
  set(2, 2, 40);
  for (int keycode : {pgup, minus, int('E'), int('X'), vk::enter}) {
    prompts.clear();
    calls.clear();
    key(keycode);
    EXPECT_EQ(prompts.messages(), std::vector<QString>{editrefusal}) << keycode;
    EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus grid")}) << keycode;
  }
  EXPECT_EQ(cell(2, 2), 40);
  EXPECT_EQ(state.pendingcommand, 0);
  prompts.clear();
  EXPECT_FALSE(handler.selection().selectall());
  EXPECT_EQ(prompts.messages(), std::vector<QString>{editrefusal});
}

TEST_F(KeyHandlerTest, CtrlArrowsStartAndGrowTheBoxTheWayTheViewShowsIt) {
  open(8, 5, 7);
  key(right, vk::ctrl);
  const TrimBox& box = state.trimbox;
  EXPECT_TRUE(box.active);
  EXPECT_EQ((std::array<int, 4>{box.anchorh, box.anchorv, box.endh, box.endv}), (std::array<int, 4>{5, 7, 6, 7}));
  EXPECT_EQ((std::array<int, 4>{box.rowmin, box.rowmax, box.colmin, box.colmax}), (std::array<int, 4>{5, 6, 7, 7}));
  // Ctrl leaves the focus where it is; the box is repainted and the graph redrawn in full.
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("drawmap 1")});

  // With the load direction up, Ctrl Up grows the box towards higher second indexes; Ctrl Down shrinks it back.
  key(up, vk::ctrl, MapView::grid, true);
  EXPECT_EQ(box.colmax, 8);
  key(down, vk::ctrl, MapView::grid, true);
  key(down, vk::ctrl, MapView::grid, true);
  EXPECT_EQ(box.colmin, 6);
  EXPECT_EQ(box.colmax, 7);
  // Without it, Up is towards lower second indexes.
  key(up, vk::ctrl);
  EXPECT_EQ(box.endv, 5);

  // Ctrl with any other key does nothing, not even the focus.
  calls.clear();
  const TrimBox before = box;
  key('E', vk::ctrl);
  key(pgup, vk::ctrl);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(box.endh, before.endh);
  EXPECT_EQ(box.endv, before.endv);

  // On a 2-D table the load direction changes nothing, and the box runs along its 16 cells only.
  state.trimbox.active = false;
  open(24, 0, 14);
  key(up, vk::ctrl, MapView::grid, true);
  key(right, vk::ctrl);
  key(right, vk::ctrl);
  EXPECT_EQ((std::array<int, 4>{box.rowmin, box.rowmax, box.colmin, box.colmax}), (std::array<int, 4>{0, 0, 14, 15}));
}

TEST_F(KeyHandlerTest, StepKeysWithABoxEditEverySelectedCellAndMarkTheBoxForWriting) {
  open(8, 5, 7);
  for (int r = 4; r <= 7; ++r)
    for (int c = 6; c <= 9; ++c) set(r, c, 100);
  key(right, vk::ctrl);
  key(down, vk::ctrl);
  calls.clear();
  state.syncerrticks = 4;
  key(pgup);
  for (int r = 4; r <= 7; ++r)
    for (int c = 6; c <= 9; ++c) {
      const bool inside = r >= 5 && r <= 6 && c >= 7 && c <= 8;
      EXPECT_EQ(cell(r, c), inside ? 104 : 100) << r << "," << c;
    }
  // Offline too: the commands timer drops it again.
  EXPECT_EQ(state.pendingcommand, 8);
  const PendingWrite& w = state.pendingwrite;
  EXPECT_EQ((std::array<int, 4>{w.lowrow, w.highrow, w.lowcol, w.highcol}), (std::array<int, 4>{5, 6, 7, 8}));
  EXPECT_EQ(state.syncerrticks, 0);
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 1"), QStringLiteral("focus grid")}));

  key(minus, vk::shift);
  EXPECT_EQ(cell(5, 7), 103);
  EXPECT_EQ(cell(6, 8), 103);
  EXPECT_TRUE(state.trimbox.active);
}

TEST_F(KeyHandlerTest, WithABoxOtherKeysDropItAndToolKeysOpenTheirTool) {
  open(8, 5, 7);
  key(right, vk::ctrl);
  const struct {
    int keycode;
    QString tool;
  } tools[] = {{'E', "entry 0"},      {'M', "entry 1"},      {'V', "entry 2"},      {'A', "entry 5"},
               {'S', "entry 6"},      {'X', "interpcopy 3"}, {'Y', "interpcopy 4"}, {'U', "interpcopy 7"},
               {'D', "interpcopy 8"}, {'F', "interpcopy 9"}, {'B', "interpcopy 10"}};
  for (const auto& t : tools) {
    calls.clear();
    key(t.keycode);
    EXPECT_EQ(calls, (std::vector<QString>{t.tool, QStringLiteral("drawmap 1"), QStringLiteral("focus grid")}));
  }
  calls.clear();
  state.toolmode = 4;
  key(vk::enter);
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("entry 0"), QStringLiteral("drawmap 1"),
                                         QStringLiteral("focus grid")}));
  key('L');
  EXPECT_FALSE(state.preferences.gridcenterload);
  EXPECT_TRUE(state.trimbox.active);

  // Shift with an unbound key does nothing at all.
  key(right, vk::shift);
  key(f(3), vk::shift);
  EXPECT_TRUE(state.trimbox.active);
  EXPECT_EQ(state.curmap, 8);

  // While connected with a write counting down the box stays; afterwards an arrow only drops it.
  state.online = true;
  state.pendingcommand = 4;
  key(right);
  EXPECT_TRUE(state.trimbox.active);
  state.pendingcommand = 0;
  calls.clear();
  key(right);
  EXPECT_FALSE(state.trimbox.active);
  EXPECT_EQ(state.cursorrow, 5);
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 1"), QStringLiteral("focus grid")}));
}

TEST_F(KeyHandlerTest, ToolKeysWithoutABoxOpenTheEntryOnTheCursorCellOrCountAsUnbound) {
  open(8, 1, 1);
  for (const auto& [keycode, mode] :
       std::vector<std::pair<int, int>>{{vk::enter, 0}, {'E', 0}, {'M', 1}, {'V', 2}, {'A', 5}, {'S', 6}}) {
    calls.clear();
    state.toolmode = 9;
    key(keycode);
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("entry %1").arg(mode), QStringLiteral("focus grid")}));
  }
  // The interpolate and copy keys need a box; without one they reach the hidden-key check and reset it.
  for (int keycode : {'X', 'Y', 'U', 'D', 'F', 'B'}) {
    state.keycounts[0] = 5;
    calls.clear();
    key(keycode);
    EXPECT_EQ(state.keycounts[0], 0);
    EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus grid")});
  }
}

TEST_F(KeyHandlerTest, ArrowsMoveTheCursorInHoldModeAsTheGridShowsTheMap) {
  const struct {
    int map, row, col, keycode;
    bool loadup;
    int row2, col2;
  } cases[] = {
      {8, 5, 7, right, false, 6, 7},     {8, 5, 7, left, false, 4, 7},    {8, 5, 7, down, false, 5, 8},
      {8, 5, 7, up, false, 5, 6},        {8, 5, 7, down, true, 5, 6},     {8, 5, 7, up, true, 5, 8},
      {8, 31, 31, right, false, 31, 31}, {8, 0, 0, left, false, 0, 0},    {8, 31, 31, up, true, 31, 31},
      {8, 0, 0, down, true, 0, 0},       {8, 40, 3, right, false, 31, 3},  // beyond the map: put on its last row
      {24, 0, 5, right, false, 0, 6},    {24, 0, 5, left, true, 0, 4},    {24, 0, 15, right, false, 0, 15},
      {24, 0, 5, up, false, 0, 5},       {24, 0, 5, down, true, 0, 5},    {104, 2, 3, right, false, 2, 3},
      {110, 2, 3, down, false, 2, 3},
  };
  for (const auto& c : cases) {
    open(c.map, c.row, c.col);
    calls.clear();
    key(c.keycode, 0, MapView::graph, c.loadup);
    EXPECT_EQ((std::pair<int, int>{state.cursorrow, state.cursorcol}), (std::pair<int, int>{c.row2, c.col2}))
        << "map " << c.map << " key " << c.keycode << " loadup " << c.loadup;
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 0"), QStringLiteral("focus graph")}));
  }
}

TEST_F(KeyHandlerTest, TrackModeRefusesTheArrowsButTheLiveCellKeysWork) {
  state.preferences.trackmode = true;
  open(8, 5, 7);
  key(right);
  EXPECT_EQ(prompts.messages(),
            std::vector<QString>{QStringLiteral("It is not possible to navigate using the arrow keys because the "
                                                "software is in track mode. \r\nToggle to hold mode [F1] if you wish "
                                                "to navigate using the arrow keys")});
  EXPECT_EQ(state.cursorrow, 5);

  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 12, l.livecol = 3; });
  calls.clear();
  key(f(8));
  EXPECT_EQ((std::pair<int, int>{state.cursorrow, state.cursorcol}), (std::pair<int, int>{12, 3}));
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 1"), QStringLiteral("focus grid")}));
  // Connected, the live replies redraw the graph.
  state.online = true;
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.liverow = 1, l.livecol = 2; });
  calls.clear();
  key(vk::space);
  EXPECT_EQ((std::pair<int, int>{state.cursorrow, state.cursorcol}), (std::pair<int, int>{1, 2}));
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus grid")});

  key(f(1));
  EXPECT_FALSE(state.preferences.trackmode);
  key(f(1));
  EXPECT_TRUE(state.preferences.trackmode);
}

TEST_F(KeyHandlerTest, FunctionKeysJumpToTheirMapsAndOpenIt) {
  const std::pair<int, int> jumps[] = {{3, 0}, {4, 8}, {5, 4}, {6, 42}, {7, 48}};
  for (const auto& [n, map] : jumps) {
    open(110, 0, 0);
    key(f(n));
    EXPECT_EQ(state.curmap, map) << "F" << n;
  }
  EXPECT_EQ(opened(), (std::vector<int>{0, 8, 4, 42, 48}));

  // The views open the new map with the cursor clamped to it.
  open(8, 20, 20);
  calls.clear();
  key(f(7), vk::shift);
  EXPECT_EQ(state.curmap, 48);
  EXPECT_EQ((std::pair<int, int>{state.cursorrow, state.cursorcol}), (std::pair<int, int>{0, 15}));
  ASSERT_EQ(callsof(QStringLiteral("status ")).size(), 1u);
  EXPECT_TRUE(callsof(QStringLiteral("status "))[0].startsWith(QStringLiteral("status Boost target")));
}

TEST_F(KeyHandlerTest, OptionKeysChangeThePreferencesInMemory) {
  open(8, 0, 0);
  state.preferences.metricunits = true;
  key('I');
  EXPECT_FALSE(state.preferences.metricunits);
  EXPECT_EQ(mainsettings.unitscolumn(), 1);
  EXPECT_EQ(opened(), std::vector<int>{8});
  EXPECT_TRUE(has(QStringLiteral("drawpanel 1")));
  key('I', vk::shift);
  EXPECT_TRUE(state.preferences.metricunits);
  EXPECT_EQ(mainsettings.unitscolumn(), 0);

  state.preferences.gridcenterload = true;
  key('L');
  EXPECT_FALSE(state.preferences.gridcenterload);

  // F9 with the grid focused asks the main window to cycle the grid window; with the graph focused it explains.
  calls.clear();
  key(f(9));
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("maximisegrid"), QStringLiteral("focus grid")}));
  state.graphview = true;
  calls.clear();
  key(f(9), 0, MapView::graph);
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus graph")});
  EXPECT_EQ(prompts.messages().back(),
            QStringLiteral("Maximise grid is not available when the map grid is not in focus. Press 't' to toggle the "
                           "focus to the map grid"));
}

TEST_F(KeyHandlerTest, F2SavesTheCurrentFileAndTheLastSavedCopy) {
  const QString mine = folder.file(QStringLiteral("mine.s26"));
  const QString lastsaved = installpath(QStringLiteral("lastsaved.s26"));
  QFile::remove(lastsaved);
  open(8, 0, 0);
  set(0, 0, 123);
  state.filename = mine;
  key(f(2));
  EXPECT_TRUE(prompts.messages().empty());
  for (const QString& path : {mine, lastsaved}) {
    RecordingPrompts p;
    maps copy{p};
    ASSERT_TRUE(copy.openfile(path, true, false)) << path.toStdString();
    EXPECT_EQ(copy.getdata(8, 0, 0), 123);
  }

  // The current file may be the last saved copy itself.
  set(0, 0, 77);
  state.filename = lastsaved;
  key(f(2));
  EXPECT_TRUE(prompts.messages().empty());
  {
    RecordingPrompts p;
    maps copy{p};
    ASSERT_TRUE(copy.openfile(lastsaved, true, false));
    EXPECT_EQ(copy.getdata(8, 0, 0), 77);
  }

  // The template, no name, a bare pattern and a file that cannot be written are refused with the file error.
  const QString templ = installpath(QStringLiteral("template.s26"));
  const QByteArray templbefore = [&] {
    QFile t(templ);
    return t.open(QIODevice::ReadOnly) ? t.readAll() : QByteArray();
  }();
  for (const QString& path :
       {templ, QString(), installpath(QStringLiteral("*.s26")), folder.file(QStringLiteral("no/such/folder/x.s26"))}) {
    prompts.clear();
    calls.clear();
    state.filename = path;
    key(f(2));
    EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral("A file error occurred")}) << path.toStdString();
    EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus grid")});
  }
  QFile t(templ);
  ASSERT_TRUE(t.open(QIODevice::ReadOnly));
  EXPECT_EQ(t.readAll(), templbefore);
  EXPECT_FALSE(QFileInfo::exists(installpath(QStringLiteral("*.s26"))));
}

TEST_F(KeyHandlerTest, EightPressesOfTheHiddenKeyInARowOpenTheCamTimingWindowWhileConnected) {
  const int k = KeyHandler::hiddenkey;
  state.online = true;
  open(8, 5, 5);
  for (int i = 0; i < 8; ++i) key(k);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), QStringLiteral("vct")), 1);
  EXPECT_EQ(state.keycounts[0], 0);

  // An unbound key in between starts the count again; a bound key neither counts nor resets.
  calls.clear();
  for (int i = 0; i < 7; ++i) key(k);
  key('Z');
  key(k);
  EXPECT_FALSE(has(QStringLiteral("vct")));
  EXPECT_EQ(state.keycounts[0], 1);
  for (int i = 0; i < 6; ++i) key(k);
  key(right);
  key(k, vk::ctrl);
  key(k, vk::alt);
  key(k);
  EXPECT_TRUE(has(QStringLiteral("vct")));

  // Offline the eighth press only restarts the count.
  state.online = false;
  calls.clear();
  for (int i = 0; i < 8; ++i) key(k, vk::shift);
  EXPECT_FALSE(has(QStringLiteral("vct")));
  EXPECT_EQ(state.keycounts[0], 0);
}

TEST_F(KeyHandlerTest, QCorrectsAFuelCellByItsRecordedMixtureError) {
  // Settles the recorded error of a cell at the given percent: measured against a target of 100 in map 19.
  const auto record = [&](int row, int col, int percent) {
    model.setdata(19, row, col, 100, false);
    for (int i = 0; i < 400; ++i) model.setafrerror(static_cast<std::uint8_t>(100 + percent), row, col);
    ASSERT_EQ(model.getafrerror(row, col), percent);
  };
  const struct {
    int map, error, start, expected;
  } cases[] = {{4, 10, 200, 220}, {4, -10, 200, 180}, {4, 30, 200, 255}, {0, 3, 4000, 4120}, {0, 0, 500, 500}};
  for (const auto& c : cases) {
    open(c.map, 6, 9);
    set(6, 9, c.start);
    record(6, 9, c.error);
    model.clearchange();
    state.online = true;
    state.pendingcommand = 0;
    state.pendingwrite.reset();
    key('Q');
    EXPECT_EQ(cell(6, 9), c.expected) << c.map << " " << c.error;
    EXPECT_TRUE(model.getchange(c.map, 6, 9));
    EXPECT_EQ(state.pendingcommand, 8);
    EXPECT_EQ(model.getafrerror(6, 9), 0);
    // The error is consumed: a second Q changes nothing more.
    key('Q');
    EXPECT_EQ(cell(6, 9), c.expected);
  }
  // Offline nothing is marked for writing; on another map nothing happens at all.
  state.online = false;
  state.pendingcommand = 0;
  open(4, 6, 9);
  set(6, 9, 200);
  record(6, 9, 10);
  key('Q');
  EXPECT_EQ(cell(6, 9), 220);
  EXPECT_EQ(state.pendingcommand, 0);
  open(8, 6, 9);
  set(6, 9, 50);
  record(6, 9, 10);
  model.clearchange();
  key('Q');
  EXPECT_EQ(cell(6, 9), 50);
  EXPECT_FALSE(model.getchange(8, 6, 9));
  EXPECT_EQ(model.getafrerror(6, 9), 10);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(KeyHandlerTest, RefreshActiveViewDropsTheBoxOrResetsTheHiddenKeys) {
  open(8, 5, 5);
  state.keycounts[0] = 6;
  state.graphview = true;
  views.refreshactiveview();
  EXPECT_EQ(state.keycounts[0], 0);
  EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("focus graph")});

  key(right, vk::ctrl);
  state.graphview = false;
  calls.clear();
  views.refreshactiveview();
  EXPECT_FALSE(state.trimbox.active);
  EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("drawmap 1"), QStringLiteral("focus grid")}));
}

TEST_F(KeyHandlerTest, QtKeysReachTheHandlerAsVirtualKeys) {
  open(8, 5, 5);
  set(5, 5, 100);
  // The grid window's keys go through the map views with the grid's load direction.
  state.preferences.gridloadup = true;
  views.gridkeydown(up, vk::ctrl, true);
  EXPECT_EQ(state.trimbox.endv, 6);
  state.trimbox.active = false;

  // Gauge, status and navigation windows forward theirs with the graph as the view.
  QWidget window;
  handler.forwardkeys(&window);
  calls.clear();
  QTest::keyClick(&window, Qt::Key_PageUp);
  EXPECT_EQ(cell(5, 5), 104);
  QTest::keyClick(&window, Qt::Key_Plus, Qt::ShiftModifier);  // Shift with "=" on a US keyboard
  EXPECT_EQ(cell(5, 5), 105);
  QTest::keyClick(&window, Qt::Key_Minus);
  EXPECT_EQ(cell(5, 5), 101);
  QTest::keyClick(&window, Qt::Key_Plus, Qt::KeypadModifier);  // the number pad's plus is another key
  EXPECT_EQ(cell(5, 5), 101);
  QTest::keyClick(&window, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_TRUE(state.trimbox.active);
  // A modifier pressed alone is a key of its own, bound to nothing (Ctrl alone does nothing at all).
  const QString step = QStringLiteral("drawmap 0"), focus = QStringLiteral("focus graph");
  EXPECT_EQ(calls,
            (std::vector<QString>{step, focus, focus, step, focus, step, focus, focus, QStringLiteral("drawmap 1")}));
}

TEST(CycleWindowState, F9TogglesBetweenNormalAndMaximised) {
  QWidget w;
  w.show();
  cyclewindowstate(&w);
  EXPECT_TRUE(w.windowState().testFlag(Qt::WindowMaximized));
  cyclewindowstate(&w);
  EXPECT_FALSE(w.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
  w.showMinimized();
  cyclewindowstate(&w);
  EXPECT_FALSE(w.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
  cyclewindowstate(nullptr);
}

}  // namespace
