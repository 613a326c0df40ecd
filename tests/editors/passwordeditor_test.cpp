// The passwords window's decisions without its widgets: the guards of its buttons and grid cells, RESET with and
// without a connection, its timer and the Exit warning.
#include "editors/passwordeditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "calibration/cellguards.h"
#include "editorsfixture.h"

namespace ostrel::test {
namespace {

using After = PasswordEditor::After;

// Image rows where two images differ.
std::vector<int> changedrows(const CalibrationImage& a, const CalibrationImage& b) {
  std::vector<int> rows;
  for (int r = 0; r < imagerows; ++r)
    if (!std::equal(a.begin() + 16 * r, a.begin() + 16 * r + 16, b.begin() + 16 * r)) rows.push_back(r);
  return rows;
}

class PasswordEditorTest : public ::testing::Test {
 protected:
  // The fragments as a file open leaves them.
  void load(const std::vector<Fragment>& fragments) {
    putfragments(rig.mainmaps, fragments);
    rig.mainmaps.clearchange();
    loadpasswordfragments(rig.mainmaps, rig.state, true);
    rig.prompts.clear();
  }
  void enter(int fragment, const QString& password) {
    rig.state.pwentered[static_cast<std::size_t>(fragment)] = padpassword(password);
    editor.refresh();
  }
  FragmentRow row(int fragment) const { return readfragment(rig.mainmaps, fragment); }
  std::vector<QString> messages() const { return rig.prompts.messages(); }
  int passwordrow(int fragment) const { return rig.mainmaps.getbufferrow(passwordsmap, fragment, 0); }

  EditorRig rig;
  PasswordEditor editor{rig.context};
};

TEST_F(PasswordEditorTest, TurningOnAndOffNeedsAMatchExceptTurningOnAFragmentThatIsOff) {
  load({{0, 8, 255, 0, 31, seedoff}, {1, 8, 255, 0, 31, seedon}});
  editor.refresh();
  ASSERT_FALSE(rig.state.pwmatched[0]);
  ASSERT_FALSE(rig.state.pwmatched[1]);

  // ON without a match: both refused, nothing written.
  const FragmentRow before = row(1);
  EXPECT_EQ(editor.turnon(1), After::nothing);
  EXPECT_EQ(editor.turnoff(1), After::nothing);
  ASSERT_EQ(messages(), (std::vector<QString>{PasswordEditor::turnontext, PasswordEditor::turnofftext}));
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_EQ(row(1), before);
  EXPECT_TRUE(rig.state.fragmenton[1]);

  // OFF without a match: it may be turned on, not off.
  rig.prompts.clear();
  EXPECT_EQ(editor.turnoff(0), After::nothing);
  EXPECT_EQ(messages(), std::vector<QString>{PasswordEditor::turnofftext});
  EXPECT_EQ(editor.turnon(0), After::refresh);
  EXPECT_TRUE(rig.state.fragmenton[0]);
  EXPECT_TRUE(fragmentreadson(row(0)));
  EXPECT_TRUE(rig.mainmaps.getchange(passwordsmap, 0, fragmentbyte::total));
  EXPECT_FALSE(rig.mainmaps.getchange(passwordsmap, 0, fragmentbyte::group)) << "what it protects stays";

  // With the password entered: off and on again.
  enter(1, QStringLiteral("secret"));
  ASSERT_TRUE(rig.state.pwmatched[1]);
  EXPECT_EQ(editor.turnoff(1), After::refresh);
  EXPECT_FALSE(rig.state.fragmenton[1]);
  EXPECT_FALSE(fragmentreadson(row(1)));
  EXPECT_EQ(row(1), makerow({1, 8, 255, 0, 31, seedoff}));
  EXPECT_EQ(editor.turnon(1), After::refresh);
  EXPECT_EQ(row(1), makerow({1, 8, 255, 0, 31, seedon}));
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty()) << "offline: nothing queued";
}

TEST_F(PasswordEditorTest, WhileConnectedAChangedFragmentRowIsQueuedAtOnce) {
  load({{3, 0, 4, 0, 31, seedoff}});
  rig.state.online = true;
  editor.refresh();
  editor.turnon(3);
  const QueuedWrites q = queuedwrites(rig.link);
  EXPECT_EQ(q.rows, std::vector<int>{passwordrow(3)});
  EXPECT_EQ(q.blocktables, 1);
}

TEST_F(PasswordEditorTest, ResetOfAMatchedOrAnOffFragmentDestroysNothing) {
  load({{0, 8, 255, 0, 31, seedon}, {1, 0, 9, 0, 31, seedoff}});
  enter(0, QStringLiteral("secret"));
  const CalibrationImage image = rig.mainmaps.getimage();
  EXPECT_EQ(editor.reset(0), After::nothing);
  EXPECT_EQ(messages(), std::vector<QString>{PasswordEditor::noresettext});
  EXPECT_EQ(rig.mainmaps.getimage(), image);

  // OFF: reset at once, no question.
  rig.prompts.clear();
  EXPECT_EQ(editor.reset(1), After::refresh);
  EXPECT_TRUE(rig.prompts.records.empty());
  EXPECT_EQ(row(1), makerow({1, 0, 9, 0, 31, seedoff, resetpassword}));
  EXPECT_EQ(rig.state.pwset[1], resetpassword);
  EXPECT_EQ(rig.state.pwentered[1], resetpassword);
  EXPECT_TRUE(rig.state.pwmatched[1]);
  EXPECT_FALSE(rig.state.fragmenton[1]);
  EXPECT_EQ(changedrows(image, rig.mainmaps.getimage()), std::vector<int>{passwordrow(1)});
}

TEST_F(PasswordEditorTest, ResetOfAnOnFragmentAsksAndDestroysWhatItProtected) {
  load({{2, 8, 255, 2, 40, seedon}, {5, 0, 24, 0, 0, seedon}});
  editor.refresh();
  const CalibrationImage image = rig.mainmaps.getimage();

  // Cancel: nothing at all.
  rig.prompts.answers.push_back(Prompts::Answer::Cancel);
  EXPECT_EQ(editor.reset(2), After::nothing);
  ASSERT_EQ(messages(), std::vector<QString>{PasswordEditor::resetquestion});
  EXPECT_EQ(rig.prompts.records[0].buttons, Prompts::Buttons::OkCancel);
  EXPECT_EQ(rig.mainmaps.getimage(), image);
  EXPECT_TRUE(rig.state.fragmenton[2]);

  // OK: the fragment is reset and the protected rows of maps 8 to 15 are zero; rows 0 and 1 and other maps stay.
  rig.prompts.clear();
  EXPECT_EQ(editor.reset(2), After::refresh);
  EXPECT_EQ(row(2), makerow({2, 8, 255, 2, 40, seedoff, resetpassword}));
  EXPECT_TRUE(rig.state.pwmatched[2]);
  for (int map = 8; map <= 15; ++map) {
    for (int i = 0; i < 32; ++i) {
      for (int j = 0; j < 32; ++j) {
        if (j >= 2) {
          ASSERT_EQ(rig.mainmaps.getdata(map, i, j), 0) << map << " " << i << " " << j;
          ASSERT_TRUE(rig.mainmaps.getchange(map, i, j));
        }
      }
    }
  }
  for (int i = 0; i < 32; ++i)
    for (int j = 0; j < 2; ++j) {
      const int r = rig.mainmaps.getbufferrow(8, i, j);
      ASSERT_EQ(rig.mainmaps.getmapbufferbyte(r, j), image[static_cast<std::size_t>(16 * r + j)]) << i << " " << j;
    }
  // Only the fragment's row and maps 8 to 15 changed: fragment 5's table keeps its values.
  for (int r : changedrows(image, rig.mainmaps.getimage()))
    EXPECT_TRUE(r == passwordrow(2) ||
                (r >= rig.mainmaps.getbufferrow(8, 0, 0) && r <= rig.mainmaps.getbufferrow(15, 31, 31)))
        << r;
  EXPECT_TRUE(rig.state.fragmenton[5]);
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty()) << "offline: the ECU keeps its rows";
}

TEST_F(PasswordEditorTest, ResetWhileConnectedQueuesTheDestroyedRowsOfEveryMap) {
  // Fragment 6 protects rows 30 and 31 of maps 8 to 15, and fragment 7 the one row of map 40.
  load({{6, 8, 255, 30, 31, seedon}, {7, 40, 40, 0, 9, seedon}, {0, 0, 41, 0, 0, seedon}});
  editor.refresh();
  rig.state.online = true;
  rig.state.curmap = 4;  // the write path must not follow the current map

  ASSERT_EQ(editor.reset(6), After::refresh);
  const QueuedWrites q = queuedwrites(rig.link);
  std::vector<int> expected{passwordrow(6)};
  for (int map = 8; map <= 15; ++map)
    for (int i = 0; i < 32; ++i)
      for (int j = 30; j <= 31; ++j) {
        const int r = rig.mainmaps.getbufferrow(map, i, j);
        if (std::find(expected.begin(), expected.end(), r) == expected.end()) expected.push_back(r);
      }
  EXPECT_EQ(q.rows, expected);
  EXPECT_EQ(q.blocktables, 9) << "the fragment's row, then each map behind its own block table";

  ASSERT_EQ(editor.reset(7), After::refresh);
  const QueuedWrites q7 = queuedwrites(rig.link);
  EXPECT_EQ(std::vector<int>(q7.rows.end() - 2, q7.rows.end()),
            (std::vector<int>{passwordrow(7), rig.mainmaps.getbufferrow(40, 0, 0)}));
  EXPECT_EQ(rig.mainmaps.getdata(40, 0, 9), 0);
  EXPECT_NE(rig.mainmaps.getdata(41, 0, 0), 0) << "fragment 0's map is not touched";
}

// A RESET of a fragment that guards records of the passwords map: every row that loses its guard with those records
// is destroyed too, and a row another fragment still guards keeps its data.
TEST_F(PasswordEditorTest, ResetDestroysEveryRowThatLosesItsGuard) {
  const Fragment ignition{0, 8, 255, 2, 4, seedon};  // load rows 2 to 4 of maps 8 to 15, password never entered
  const struct Case {
    const char* what;
    std::vector<Fragment> fragments;
    std::vector<int> destroyedrecords;
    bool ignitiondestroyed;
    std::vector<int> onafter;
  } cases[] = {
      {"every record", {ignition, {5, passwordsmap, passwordsmap, 0, 7, seedon}}, {0, 1, 2, 3, 4, 5, 6, 7}, true, {}},
      {"records 0 to 3",
       {ignition, {5, passwordsmap, passwordsmap, 0, 3, seedon}, {6, 24, 24, 0, 0, seedon, QStringLiteral("other")}},
       {0, 1, 2, 3},
       true,
       {6}},
      {"record 0, its rows guarded by fragment 1 as well",
       {ignition, {1, 8, 255, 2, 4, seedon, QStringLiteral("other")}, {5, passwordsmap, passwordsmap, 0, 0, seedon}},
       {0},
       false,
       {1}},
  };
  const auto pattern = [](int i, int j) { return 1 + (32 * i + j) % 250; };
  const auto contains = [](const std::vector<int>& v, int x) { return std::find(v.begin(), v.end(), x) != v.end(); };
  for (const Case& c : cases) {
    EditorRig r;
    PasswordEditor e{r.context};
    for (int map = 8; map <= 15; ++map)
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) r.mainmaps.setdata(map, i, j, pattern(i, j), false);
    putfragments(r.mainmaps, c.fragments);
    loadpasswordfragments(r.mainmaps, r.state, true);
    e.refresh();
    std::array<FragmentRow, fragmentcount> records{};
    for (int i = 0; i < fragmentcount; ++i) records[static_cast<std::size_t>(i)] = readfragment(r.mainmaps, i);
    const CalibrationImage image = r.mainmaps.getimage();

    r.prompts.answers = {Prompts::Answer::Ok};
    ASSERT_EQ(e.reset(5), After::refresh) << c.what;
    EXPECT_EQ(r.prompts.messages(), std::vector<QString>{PasswordEditor::resetquestion}) << c.what;
    e.timertick();

    for (int i = 0; i < fragmentcount; ++i) {
      const bool destroyed = contains(c.destroyedrecords, i);
      const FragmentRow now = readfragment(r.mainmaps, i);
      if (destroyed)
        EXPECT_EQ(now, FragmentRow{}) << c.what << ", record " << i;
      else if (i == 5)
        EXPECT_EQ(setpasswordof(now), resetpassword) << c.what;
      else
        EXPECT_EQ(now, records[static_cast<std::size_t>(i)]) << c.what << ", record " << i;
      EXPECT_EQ(r.state.fragmenton[static_cast<std::size_t>(i)], contains(c.onafter, i))
          << c.what << ", fragment " << i;
    }
    for (int map = 8; map <= 15; ++map) {
      // Guarded still, or destroyed: never open with the data.
      EXPECT_EQ(r.state.guards.rows(map), c.ignitiondestroyed ? 0 : MapGuards::span(2, 4)) << c.what;
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) {
          const bool gone = c.ignitiondestroyed && j >= 2 && j <= 4;
          ASSERT_EQ(r.mainmaps.getdata(map, i, j), gone ? 0 : pattern(i, j))
              << c.what << ", map " << map << " rpm " << i << " load " << j;
          ASSERT_EQ(r.mainmaps.getchange(map, i, j), gone)
              << c.what << ", map " << map << " rpm " << i << " load " << j;
        }
    }
    EXPECT_EQ(r.state.guards.guardsof(24), contains(c.onafter, 6) ? 1 << 6 : 0) << c.what;
    for (int row : changedrows(image, r.mainmaps.getimage()))
      EXPECT_TRUE(
          (row >= r.mainmaps.getbufferrow(passwordsmap, 0, 0) && row <= r.mainmaps.getbufferrow(passwordsmap, 7, 15)) ||
          (row >= r.mainmaps.getbufferrow(8, 0, 0) && row <= r.mainmaps.getbufferrow(15, 31, 31)))
          << c.what << ", image row " << row;
  }
}

TEST_F(PasswordEditorTest, GridCellsExplainGuardAndEdit) {
  load({{0, 8, 255, 0, 31, seedon}});
  editor.refresh();

  // Explanations, and the header row, which does nothing.
  for (int column : {0, 6, 7, 8}) {
    rig.prompts.clear();
    EXPECT_EQ(editor.cellclicked(1, column), After::nothing);
    EXPECT_EQ(messages(), std::vector<QString>{PasswordEditor::celltexts[static_cast<std::size_t>(column)]});
  }
  rig.prompts.clear();
  EXPECT_EQ(editor.cellclicked(0, 1), After::nothing);
  EXPECT_EQ(editor.cellclicked(9, 1), After::nothing);
  EXPECT_TRUE(rig.prompts.records.empty());

  // Unmatched: no new set password, no parameters.
  const FragmentRow before = row(0);
  EXPECT_EQ(editor.cellclicked(1, 1), After::nothing);
  for (int column : {3, 4, 5}) EXPECT_EQ(editor.cellclicked(1, column), After::nothing);
  EXPECT_EQ(messages(), (std::vector<QString>{PasswordEditor::alterpasswordtext, PasswordEditor::parameterstext,
                                              PasswordEditor::parameterstext, PasswordEditor::parameterstext}));
  EXPECT_EQ(row(0), before);

  // Entering: cancelled leaves the entry, a wrong one does not match, case counts, the right one matches.
  rig.prompts.clear();
  EXPECT_FALSE(editor.entrymade());
  rig.prompts.inputs = {std::nullopt, QStringLiteral(""), QStringLiteral("SECRET"), QStringLiteral("secret")};
  EXPECT_EQ(editor.cellclicked(1, 2), After::nothing);
  EXPECT_TRUE(editor.entrymade()) << "the input was opened";
  EXPECT_EQ(editor.cellclicked(1, 2), After::nothing);
  EXPECT_EQ(rig.state.pwentered[0], placeholderpassword);
  EXPECT_EQ(editor.cellclicked(1, 2), After::refresh);
  EXPECT_EQ(rig.state.pwentered[0], QStringLiteral("SECRET  "));
  EXPECT_FALSE(rig.state.pwmatched[0]);
  EXPECT_EQ(editor.cellclicked(1, 2), After::refresh);
  EXPECT_TRUE(rig.state.pwmatched[0]);
  ASSERT_EQ(rig.prompts.records.size(), 4u);
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("Enter set password:"));
  EXPECT_EQ(rig.prompts.records[0].title, QStringLiteral("Enter set password"));

  // Matched: entering again is refused, the parameters open.
  rig.prompts.clear();
  EXPECT_EQ(editor.cellclicked(1, 2), After::nothing);
  EXPECT_EQ(messages(), std::vector<QString>{PasswordEditor::validatedtext});
  for (int column : {3, 4, 5}) EXPECT_EQ(editor.cellclicked(1, column), After::editparameters);
}

TEST_F(PasswordEditorTest, ANewSetPasswordTurnsTheFragmentOffAndNeedsEnteringAgain) {
  load({{4, 8, 255, 0, 31, seedon}});
  enter(4, QStringLiteral("secret"));
  rig.state.online = true;
  rig.prompts.inputs = {QStringLiteral(""), QStringLiteral("brand new password")};
  EXPECT_EQ(editor.cellclicked(5, 1), After::nothing) << "an empty input changes nothing";
  EXPECT_TRUE(queuedwrites(rig.link).rows.empty());
  EXPECT_EQ(editor.cellclicked(5, 1), After::refresh);
  ASSERT_FALSE(rig.prompts.records.empty());
  EXPECT_EQ(rig.prompts.records.back().text, QStringLiteral("Enter new password:"));
  EXPECT_EQ(rig.prompts.records.back().title, QStringLiteral("Enter new password"));
  EXPECT_EQ(rig.state.pwset[4], QStringLiteral("brand ne"));
  EXPECT_EQ(setpasswordof(row(4)), QStringLiteral("brand ne"));
  EXPECT_FALSE(rig.state.fragmenton[4]) << "the checks were not rewritten";
  EXPECT_FALSE(rig.state.pwmatched[4]);
  EXPECT_EQ(rig.state.pwentered[4], QStringLiteral("secret  "));
  EXPECT_EQ(queuedwrites(rig.link).rows, std::vector<int>{passwordrow(4)});

  // A password without Latin-1 codes is stored with "?" for them, and compared as stored.
  enter(4, QStringLiteral("brand ne"));
  rig.prompts.inputs = {QStringLiteral("\u20ac\u20ac")};
  editor.cellclicked(5, 1);
  EXPECT_EQ(row(4)[0], '?');
  EXPECT_EQ(row(4)[1], '?');
  enter(4, QStringLiteral("\u20ac\u20ac"));
  EXPECT_TRUE(rig.state.pwmatched[4]);
}

TEST_F(PasswordEditorTest, TheTimerKeepsTableSendRowsAndMaskInStep) {
  load({{1, 0, 4, 0, 31, seedon}, {6, 0, 5, 0, 0, seedoff, QStringLiteral("other")}});
  LiveData live;
  live.pwmatchmask = 0x05;
  rig.link.setlive(live);
  rig.state.pwentered[1] = QStringLiteral("secret  ");
  editor.refresh();
  ASSERT_EQ(rig.state.guards.guardsof(4), 1 << 1) << "the table is rebuilt only by the timer";
  editor.timertick();
  EXPECT_EQ(rig.state.guards.guardsof(4), 0);
  EXPECT_EQ(editor.masksnapshot(), 0x05);
  EXPECT_EQ(rig.link.pwsendtable(), buildsendtable(rig.state));
  EXPECT_EQ(rig.link.pwsendtable()[0][11], 's');

  // The mask is followed until the first entry is opened.
  live.pwmatchmask = 0x07;
  rig.link.setlive(live);
  editor.timertick();
  EXPECT_EQ(editor.masksnapshot(), 0x07);
  rig.prompts.inputs = {std::nullopt};
  editor.cellclicked(7, 2);
  ASSERT_TRUE(editor.entrymade());
  live.pwmatchmask = 0x0F;
  rig.link.setlive(live);
  editor.timertick();
  EXPECT_EQ(editor.masksnapshot(), 0x07);
}

TEST_F(PasswordEditorTest, ExitWarnsOnlyWhenConnectedAfterAnEntryAndTheMaskChanged) {
  const struct {
    bool online, entry, changed, warns;
  } cases[] = {
      {true, true, true, true},
      {false, true, true, false},
      {true, false, true, false},
      {true, true, false, false},
  };
  for (const auto& c : cases) {
    EditorRig r;
    PasswordEditor e{r.context};
    r.state.livemode = 17;
    LiveData live;
    live.pwmatchmask = 0x01;
    r.link.setlive(live);
    e.timertick();
    if (c.entry) {
      r.prompts.inputs = {QStringLiteral("x")};
      e.cellclicked(2, 2);
    }
    if (c.changed) live.pwmatchmask = 0x03;
    r.link.setlive(live);
    r.state.online = c.online;
    r.prompts.clear();
    e.exit(true);
    EXPECT_EQ(r.state.livemode, 0);
    EXPECT_EQ(r.prompts.messages(),
              c.warns ? std::vector<QString>{PasswordEditor::reuploadtext} : std::vector<QString>{})
        << c.online << c.entry << c.changed;
  }
  // Another window's selector is left alone.
  EditorRig r;
  PasswordEditor e{r.context};
  r.state.livemode = 18;
  e.exit(false);
  EXPECT_EQ(r.state.livemode, 18);
}

// --- A record of the passwords map that a fragment guards ------------------------------------------------------------

// Fragment 5, whose password is never entered, guards record 2 of the passwords map.
const Fragment recordkeeper{5, passwordsmap, passwordsmap, 2, 2, seedon, QStringLiteral("keeper")};

// Every command that would write record 2 refuses with the protected message, whatever state fragment 2 is in, and
// writes and queues nothing; the prompts stand ready to answer what the command would ask had it gone on.
TEST_F(PasswordEditorTest, ARecordAnotherFragmentGuardsRefusesEveryCommandThatWouldWriteIt) {
  const struct {
    const char* what;
    Fragment fragment2;
    bool entered;
  } states[] = {
      {"ON, not entered", {2, 8, 255, 0, 31, seedon}, false},
      {"ON, entered", {2, 8, 255, 0, 31, seedon}, true},
      {"OFF, not entered", {2, 8, 255, 0, 31, seedoff}, false},
      {"OFF, entered", {2, 8, 255, 0, 31, seedoff}, true},
      {"reset", {2, 0, 0, 0, 0, seedoff, resetpassword}, false},
      {"ON, guarding its own record too", {2, passwordsmap, passwordsmap, 2, 2, seedon}, false},
  };
  const struct {
    const char* what;
    std::function<After(PasswordEditor&)> press;
  } commands[] = {
      {"TURN ON", [](PasswordEditor& e) { return e.turnon(2); }},
      {"TURN OFF", [](PasswordEditor& e) { return e.turnoff(2); }},
      {"RESET", [](PasswordEditor& e) { return e.reset(2); }},
      {"set password", [](PasswordEditor& e) { return e.cellclicked(3, 1); }},
      {"group", [](PasswordEditor& e) { return e.cellclicked(3, 3); }},
      {"map", [](PasswordEditor& e) { return e.cellclicked(3, 4); }},
      {"rows", [](PasswordEditor& e) { return e.cellclicked(3, 5); }},
  };
  for (const auto& s : states) {
    for (const auto& c : commands) {
      SCOPED_TRACE(std::string(s.what) + ", " + c.what);
      EditorRig r;
      PasswordEditor e{r.context};
      putfragments(r.mainmaps, {s.fragment2, recordkeeper});
      loadpasswordfragments(r.mainmaps, r.state, true);
      if (s.entered) r.state.pwentered[2] = padpassword(QStringLiteral("secret"));
      e.refresh();
      e.timertick();
      ASSERT_TRUE(r.state.guards.guarded(passwordsmap, 2));
      r.state.online = true;
      const CalibrationImage image = r.mainmaps.getimage();
      const bool on = r.state.fragmenton[2];
      r.prompts.clear();
      r.prompts.inputs = {QStringLiteral("mine")};
      r.prompts.answers = {Prompts::Answer::Ok};

      EXPECT_EQ(c.press(e), After::nothing);
      EXPECT_EQ(r.prompts.messages(), std::vector<QString>{protectedmaptext});
      EXPECT_EQ(r.mainmaps.getimage(), image);
      EXPECT_TRUE(queuedwrites(r.link).rows.empty());
      EXPECT_EQ(r.state.fragmenton[2], on);
    }
  }
}

// The RESET of the fragment that guards a record still destroys it, and a fragment whose record only it guards
// still resets itself, destroying its record as it goes.
TEST_F(PasswordEditorTest, TheResetOfTheFragmentGuardingARecordStillDestroysIt) {
  load({{2, 8, 255, 0, 31, seedon}, recordkeeper});
  editor.timertick();
  rig.prompts.answers = {Prompts::Answer::Ok};
  EXPECT_EQ(editor.reset(5), After::refresh);
  EXPECT_EQ(messages(), std::vector<QString>{PasswordEditor::resetquestion});
  EXPECT_EQ(row(2), FragmentRow{});
  EXPECT_FALSE(rig.state.fragmenton[2]);

  load({{2, passwordsmap, passwordsmap, 2, 2, seedon}});
  editor.timertick();
  ASSERT_EQ(rig.state.guards.guardsof(passwordsmap), 1 << 2);
  rig.prompts.answers = {Prompts::Answer::Ok};
  EXPECT_EQ(editor.reset(2), After::refresh);
  EXPECT_EQ(messages(), std::vector<QString>{PasswordEditor::resetquestion});
  EXPECT_EQ(row(2), FragmentRow{});
}

// A command takes the guards as the fragments make them at that moment, not as the timer last left them: a fragment
// just turned on guards its record at once, and one whose password was just entered guards it no more.
TEST_F(PasswordEditorTest, ACommandTakesTheGuardsAsTheFragmentsStandNow) {
  load({{2, 8, 255, 0, 31, seedoff}, {5, passwordsmap, passwordsmap, 2, 2, seedoff, QStringLiteral("keeper")}});
  enter(2, QStringLiteral("secret"));
  editor.timertick();
  ASSERT_EQ(editor.turnon(5), After::refresh);
  EXPECT_EQ(editor.gridrow(2).cells[1].text, QStringLiteral("********")) << "hidden in the grid at once";
  const FragmentRow before = row(2);
  rig.prompts.clear();
  EXPECT_EQ(editor.turnon(2), After::nothing);
  EXPECT_EQ(messages(), std::vector<QString>{protectedmaptext});
  EXPECT_EQ(row(2), before);

  rig.prompts.clear();
  rig.prompts.inputs = {QStringLiteral("keeper")};
  ASSERT_EQ(editor.cellclicked(6, 2), After::refresh);
  EXPECT_EQ(editor.turnon(2), After::refresh);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(fragmentreadson(row(2)));
}

// The grid shows nothing of a guarded record's bytes: no set password, no group, map or rows; its statuses stay, and
// a password may still be entered. Names follow what the guards let a tuner see.
TEST_F(PasswordEditorTest, TheGridShowsNothingOfAGuardedRecord) {
  // Fragment 2 aims at PWM map 1, whose axis variable fragment 6 guards.
  load({{2, 88, 88, 0, 0, seedoff}, recordkeeper,
        {6, axissettingsmap, allmapsingroup, pwmselectorrow, pwmselectorrow, seedon, QStringLiteral("selector")}});
  enter(2, QStringLiteral("secret"));
  editor.timertick();
  const PasswordGridRow hidden = editor.gridrow(2);
  EXPECT_EQ(hidden.cells[1].text, QStringLiteral("********"));
  EXPECT_EQ(hidden.cells[2].text, QStringLiteral("secret  "));
  for (int c : {3, 4, 5}) EXPECT_TRUE(hidden.cells[static_cast<std::size_t>(c)].text.isEmpty()) << c;
  EXPECT_EQ(hidden.cells[6].text, QStringLiteral("Match"));
  EXPECT_EQ(hidden.cells[8].text, QStringLiteral("Fragment OFF"));

  // The keeper's password shows the record, with the PWM map's name short of the guarded selector.
  rig.prompts.inputs = {QStringLiteral("keeper")};
  ASSERT_EQ(editor.cellclicked(6, 2), After::refresh);
  editor.timertick();
  const PasswordGridRow shown = editor.gridrow(2);
  EXPECT_EQ(shown.cells[1].text, QStringLiteral("secret  "));
  EXPECT_EQ(shown.cells[3].text, QStringLiteral("2D PWM"));
  EXPECT_EQ(shown.cells[4].text, QStringLiteral("PWM MAP 1 duty []"));
  EXPECT_EQ(shown.cells[5].text, QStringLiteral("1->1"));
  rig.prompts.inputs = {QStringLiteral("selector")};
  ASSERT_EQ(editor.cellclicked(7, 2), After::refresh);
  editor.timertick();
  EXPECT_NE(editor.gridrow(2).cells[4].text, QStringLiteral("PWM MAP 1 duty []"));
  EXPECT_TRUE(editor.gridrow(2).cells[4].text.startsWith(QStringLiteral("PWM MAP 1 duty [")));
}

// A reset record counts as matched, and the match copies its password into the entered one; guarded, the record shows
// none of it until the guarding password is entered.
TEST_F(PasswordEditorTest, AGuardedResetRecordShowsNotThePasswordItMatchedBy) {
  load({{5, passwordsmap, passwordsmap, 3, 3, seedon, QStringLiteral("keeper")}});
  editor.refresh();
  editor.timertick();
  ASSERT_TRUE(rig.state.pwmatched[3]);
  EXPECT_EQ(editor.gridrow(3).cells[1].text, QStringLiteral("********"));
  EXPECT_EQ(editor.gridrow(3).cells[2].text, QStringLiteral("********"));
  EXPECT_EQ(editor.gridrow(4).cells[2].text, resetpassword) << "an open reset record shows as before";
  enter(5, QStringLiteral("keeper"));
  editor.timertick();
  EXPECT_EQ(editor.gridrow(3).cells[1].text, resetpassword);
  EXPECT_EQ(editor.gridrow(3).cells[2].text, resetpassword);
}

}  // namespace
}  // namespace ostrel::test
