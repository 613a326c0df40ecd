// The cell entry dialog: its key logic and the entry applied by the tool mode, headless and on screen.
#include "mapviews/cellentry.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "mapviews/pendingwrite.h"
#include "mapviews/selection.h"
#include "mapviewsfixture.h"

using namespace ostrel;

namespace {

class CellEntryTest : public test::MapViewsTest {
 protected:
  void SetUp() override {
    openshipped();
    calls.clear();
  }
  void open(int map, int mode, int row, int col) {
    state.curmap = static_cast<std::uint8_t>(map);
    state.toolmode = static_cast<std::uint8_t>(mode);
    state.cursorrow = static_cast<std::uint8_t>(row);
    state.cursorcol = static_cast<std::uint8_t>(col);
    state.trimbox.active = false;
    model.clearchange();
    for (int r = 0; r < model.getmaprows(map); ++r)
      for (int c = 0; c < model.getmapcols(map); ++c) model.setdata(map, r, c, 100, false);
  }
  void selectbox(int r0, int r1, int c0, int c1) {
    TrimBox& b = state.trimbox;
    const bool threed = model.getcontextandtype(state.curmap) == 0;
    b.active = true;
    b.anchorh = static_cast<std::uint8_t>(threed ? r0 : c0), b.endh = static_cast<std::uint8_t>(threed ? r1 : c1);
    b.anchorv = static_cast<std::uint8_t>(threed ? c0 : r0), b.endv = static_cast<std::uint8_t>(threed ? c1 : r1);
    selectionbounds(b, model.getcontextandtype(state.curmap));
  }
  int cell(int r, int c) const { return model.getdata(state.curmap, r, c); }

  CellEntry entry{state, model, views, prompts};
};

// Maps used: 8 shown at half its raw value, 9 also offset by -64, 24 a 2-D table at half, 83 at three times.
struct EntryCase {
  int map, mode;
  QString text;
  int expected;  // from a raw 100
};
const EntryCase entrycases[] = {
    {8, 0, "10", 20},    {8, 0, "10.25", 20},  // 20.5 to the even 20
    {8, 0, "-5", 0},                           // limited to the cell's range
    {24, 1, "1.1", 110}, {9, 1, "1.1", 97},    // the shown -14 becomes -15.4
    {8, 2, "2", 50},     {9, 2, "0.5", 72},    // the shown -14 becomes -28
    {83, 5, "5", 102},                         // 1.67 raw units
    {83, 5, "7.5", 102},                       // 2.5 raw units to the even 2
    {8, 6, "1", 98},     {8, 6, "60", 0},
};

TEST_F(CellEntryTest, EachOperationAppliesToTheCursorCellInTheUnitsShown) {
  for (const bool online : {false, true}) {
    for (const EntryCase& c : entrycases) {
      const bool threed = model.getcontextandtype(c.map) == 0;
      open(c.map, c.mode, threed ? 4 : 0, 6);
      state.online = online;
      state.pendingcommand = 0;
      state.pendingwrite.reset();
      state.syncerrticks = 5;
      calls.clear();
      SCOPED_TRACE(testing::Message() << "map " << c.map << " mode " << c.mode << " " << c.text.toStdString());
      EXPECT_TRUE(entry.setentry(c.text));
      EXPECT_EQ(cell(state.cursorrow, 6), c.expected);
      EXPECT_EQ(cell(state.cursorrow, 7), 100);
      EXPECT_TRUE(model.getchange(c.map, state.cursorrow, 6));
      EXPECT_EQ(state.syncerrticks, 0);
      EXPECT_EQ(calls, std::vector<QString>{QStringLiteral("drawmap 1")});
      // Offline a single cell is not marked for writing; online just that cell is.
      EXPECT_EQ(state.pendingcommand, online ? 8 : 0);
      if (online) {
        EXPECT_EQ(state.pendingwrite.lowrow, state.cursorrow);
        EXPECT_EQ(state.pendingwrite.highcol, 6);
      }
    }
  }
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(CellEntryTest, EachOperationAppliesToEverySelectedCell) {
  for (const EntryCase& c : entrycases) {
    const bool threed = model.getcontextandtype(c.map) == 0;
    open(c.map, c.mode, 0, 0);
    if (threed)
      selectbox(2, 3, 5, 7);
    else
      selectbox(0, 0, 5, 7);
    state.pendingwrite.reset();
    SCOPED_TRACE(testing::Message() << "map " << c.map << " mode " << c.mode << " " << c.text.toStdString());
    EXPECT_TRUE(entry.setentry(c.text));
    for (int r = 0; r < model.getmaprows(c.map) && r < 5; ++r)
      for (int col = 4; col <= 8; ++col) {
        const bool inside = col >= 5 && col <= 7 && (threed ? r >= 2 && r <= 3 : r == 0);
        EXPECT_EQ(cell(r, col), inside ? c.expected : 100) << r << "," << col;
      }
    // The box is marked for writing connected or not; the commands timer drops it while offline.
    EXPECT_EQ(state.pendingcommand, pendingcountdown);
    EXPECT_EQ(state.pendingwrite.lowcol, 5);
    EXPECT_EQ(state.pendingwrite.highcol, 7);
  }
}

TEST_F(CellEntryTest, AnEntryThatCannotBeAppliedSaysWhyAndChangesNothing) {
  const struct {
    int mode;
    QString text;
    bool box;
    QString message;
  } cases[] = {
      {0, "", false, "The entry is not a number"},
      {0, "-", false, "The entry is not a number"},
      {1, ".", false, "The entry is not a number"},
      {0, "1.2.3", true, "The entry is not a number"},
      {5, "5-", false, "The entry is not a number"},
      {2, "0", false, "It is not possible to divide by zero"},
      {2, "0.0", true, "It is not possible to divide by zero"},
      {1, "1000", false, "The result is out of range for this map"},
      {0, "99999999", true, "The result is out of range for this map"},
  };
  for (const auto& c : cases) {
    open(8, c.mode, 3, 3);
    if (c.box) selectbox(2, 4, 2, 4);
    prompts.clear();
    calls.clear();
    for (QChar ch : c.text)
      entry.enterupdate(ch == QLatin1Char('.') ? 190 : ch == QLatin1Char('-') ? 189 : ch.unicode());
    EXPECT_EQ(entry.typed(), c.text);
    // Enter: the text is applied, fails, is emptied, and the dialog stays open.
    EXPECT_EQ(entry.enterupdate(13), CellEntry::Outcome::none) << c.text.toStdString();
    EXPECT_EQ(prompts.messages(), std::vector<QString>{c.message}) << c.text.toStdString();
    EXPECT_TRUE(entry.typed().isEmpty());
    EXPECT_EQ(cell(3, 3), 100);
    EXPECT_FALSE(model.getchange(8, 3, 3));
    EXPECT_TRUE(calls.empty());
  }
  // A protected map refuses a selection (the single cell is refused before the dialog opens).
  open(8, 0, 3, 3);
  selectbox(2, 4, 2, 4);
  state.guards.guard(8, 0, 0, 1);
  prompts.clear();
  EXPECT_FALSE(entry.setentry(QStringLiteral("10")));
  EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral(
                                    "It is not possible to edit this map because portions are password protected")});
  EXPECT_EQ(cell(3, 3), 100);
}

TEST_F(CellEntryTest, KeysEditTheTypedText) {
  const struct {
    int keycode;
    CellEntry::Outcome outcome;
    QString typed;
  } steps[] = {
      {49, CellEntry::Outcome::typed, "1"},
      {50, CellEntry::Outcome::typed, "12"},
      {58, CellEntry::Outcome::typed, "12."},
      {190, CellEntry::Outcome::typed, "12.."},
      {8, CellEntry::Outcome::typed, "12."},
      {57, CellEntry::Outcome::typed, "12.9"},
      {65, CellEntry::Outcome::none, "12.9"},
      {97, CellEntry::Outcome::none, "12.9"},  // the pad's 1 as Windows names it
      {46, CellEntry::Outcome::typed, ""},
      {8, CellEntry::Outcome::typed, ""},
      {189, CellEntry::Outcome::typed, "-"},
      {109, CellEntry::Outcome::typed, "--"},
      {46, CellEntry::Outcome::typed, ""},
      {52, CellEntry::Outcome::typed, "4"},
      {27, CellEntry::Outcome::close, "4"},
  };
  open(8, 0, 1, 1);
  for (const auto& s : steps) {
    EXPECT_EQ(entry.enterupdate(s.keycode), s.outcome) << s.keycode;
    EXPECT_EQ(entry.typed(), s.typed) << s.keycode;
  }
  EXPECT_EQ(cell(1, 1), 100) << "Escape applies nothing";
  // The Enter button applies and closes.
  EXPECT_EQ(entry.enterupdate(59), CellEntry::Outcome::close);
  EXPECT_EQ(cell(1, 1), 8);
}

TEST_F(CellEntryTest, TitlesFollowTheToolMode) {
  const std::pair<int, QString> titles[] = {{0, "Direct numerical entry"},  {1, "Multiply by factor"},
                                            {2, "Divide by factor"},        {5, "Add constant value"},
                                            {6, "Subtract constant value"}, {3, "Direct entry"}};
  for (const auto& [mode, title] : titles) {
    frmEntry dialog(entry, mode);
    EXPECT_EQ(dialog.windowTitle(), title);
  }
}

// The dialog on screen, driven by key clicks and button clicks.
class EntryDialogTest : public CellEntryTest {
 protected:
  // Types the text on the keyboard, presses Enter; true when the dialog closed accepted.
  bool typeandenter(frmEntry& dialog, const QString& text) {
    for (QChar ch : text) {
      const Qt::Key k = ch == QLatin1Char('.')   ? Qt::Key_Period
                        : ch == QLatin1Char('-') ? Qt::Key_Minus
                                                 : static_cast<Qt::Key>(Qt::Key_0 + ch.digitValue());
      QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, k);
    }
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Return);
    return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
  }
};

TEST_F(EntryDialogTest, KeyClicksApplyEachOperationToTheCursorCellAndToASelection) {
  for (const bool box : {false, true}) {
    for (const EntryCase& c : entrycases) {
      const bool threed = model.getcontextandtype(c.map) == 0;
      open(c.map, c.mode, 0, 6);
      if (box) selectbox(0, 0, 5, 6);
      CellEntry logic(state, model, views, prompts);
      frmEntry dialog(logic, c.mode);
      dialog.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      SCOPED_TRACE(testing::Message() << "box " << box << " map " << c.map << " mode " << c.mode << " "
                                      << c.text.toStdString());
      EXPECT_TRUE(typeandenter(dialog, c.text));
      EXPECT_EQ(cell(0, 6), c.expected);
      EXPECT_EQ(cell(0, 5), box ? c.expected : 100);
      EXPECT_EQ(cell(threed ? 1 : 0, 7), 100);
    }
  }
}

TEST_F(EntryDialogTest, ButtonsTypeAndApplyAndAFailedEntryKeepsTheDialogOpen) {
  open(8, 2, 2, 2);
  CellEntry logic(state, model, views, prompts);
  frmEntry dialog(logic, 2);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

  QTest::mouseClick(dialog.Command1[0], Qt::LeftButton);
  EXPECT_EQ(dialog.Label1[1]->text(), QStringLiteral("0"));
  EXPECT_TRUE(dialog.Command1[11]->hasFocus());
  QTest::mouseClick(dialog.Command1[11], Qt::LeftButton);  // divide by 0
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.Label1[1]->text(), QString());
  EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral("It is not possible to divide by zero")});

  // Enter on the focused Enter button with nothing typed: fails, stays open.
  QTest::keyClick(dialog.Command1[11], Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(prompts.messages().size(), 2u);

  // The number pad types like the main keys; the buttons' own captions as written.
  QTest::keyClick(dialog.Command1[11], Qt::Key_2, Qt::KeypadModifier);
  QTest::mouseClick(dialog.Command1[10], Qt::LeftButton);
  QTest::mouseClick(dialog.Command1[5], Qt::LeftButton);
  EXPECT_EQ(dialog.Label1[1]->text(), QStringLiteral("2.5"));
  EXPECT_EQ(dialog.Label1[0]->text(), CellEntry::hint);
  EXPECT_EQ(dialog.Command1[10]->text(), QStringLiteral("."));
  EXPECT_EQ(dialog.Command1[11]->text(), QStringLiteral("Enter"));
  test::savescreenshot(&dialog, QStringLiteral("cellentry"));
  QTest::mouseClick(dialog.Command1[11], Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(cell(2, 2), 40);

  // Escape closes without applying.
  frmEntry again(logic, 2);
  again.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
  QTest::keyClick(&again, Qt::Key_4);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(again.isVisible());
  EXPECT_EQ(again.result(), QDialog::Rejected);
  EXPECT_EQ(cell(2, 2), 40);
}

}  // namespace
