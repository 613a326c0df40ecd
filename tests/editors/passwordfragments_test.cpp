// The password fragments without any window: their check arithmetic, the map protection table built from them,
// the entered passwords as they go to the ECU, and how an entered password is kept and compared.
#include "editors/passwordfragments.h"

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <vector>

#include "calibration/maps.h"
#include "editors/passwordparams.h"
#include "editorsfixture.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel::test {
namespace {

// What the table holds for one map: the guarded rows and the fragments guarding them.
struct Protection {
  MapGuards::Rows rows = 0;
  MapGuards::Fragments by = 0;
  bool operator==(const Protection&) const = default;
};
void PrintTo(const Protection& p, std::ostream* os) {
  *os << "rows 0x" << std::hex << p.rows << " by 0x" << static_cast<int>(p.by) << std::dec;
}
// Rows first to last guarded by one fragment.
Protection guard(int first, int last, int fragment) {
  return {MapGuards::span(first, last), static_cast<MapGuards::Fragments>(1U << fragment)};
}
Protection protection(const ProgramState& state, int map) {
  return {state.guards.rows(map), state.guards.guardsof(map)};
}
constexpr Protection none{};

class PasswordFragments : public ::testing::Test {
 protected:
  RecordingPrompts prompts;
  maps model{prompts};
  ProgramState state;
};

TEST(FragmentChecks, ChecksOfAPasswordWorkedByHand) {
  // "abcdefgh": codes 97 to 104; sum 804, weighted sum 2856.
  const PasswordBytes abc = passwordbytes(QStringLiteral("abcdefgh"));
  EXPECT_EQ(passwordchecks(abc, seedon), (PasswordChecks{36, 40, 160}));   // 804, 2856, 36 * 40 = 1440 mod 256
  EXPECT_EQ(passwordchecks(abc, seedoff), (PasswordChecks{69, 73, 173}));  // 69 * 73 = 5037 mod 256
  // The total comes after the checks: 804 + 36 + 40 + 160 + 8 + 255 + 2 + 40 = 1345.
  const FragmentRow row = makerow({0, 8, 255, 2, 40, seedon, QStringLiteral("abcdefgh")});
  EXPECT_EQ(row[fragmentbyte::s1], 36);
  EXPECT_EQ(row[fragmentbyte::total], 1345 % 256);
  EXPECT_EQ(fragmenttotal(row, seedon), row[fragmentbyte::total]);
}

TEST(FragmentChecks, SeedZeroReadsOnSeed33OffAndAnyEditTurnsItOff) {
  const Fragment f{0, 8, 255, 2, 40};
  const FragmentRow on = makerow(f);
  EXPECT_TRUE(fragmentreadson(on));
  Fragment off = f;
  off.seed = seedoff;
  EXPECT_FALSE(fragmentreadson(makerow(off)));
  for (int k = 0; k < 16; ++k) {
    FragmentRow edited = on;
    edited[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(edited[static_cast<std::size_t>(k)] + 1);
    EXPECT_FALSE(fragmentreadson(edited)) << "byte " << k;
  }
  // Written again after the edit, it reads ON again.
  FragmentRow edited = on;
  edited[fragmentbyte::lastrow] = 7;
  EXPECT_TRUE(fragmentreadson(withchecks(edited, seedon)));
}

TEST(PasswordEntry, KeptAsEightLatin1CharactersAndComparedExactly) {
  const struct {
    QString input, kept;
  } entries[] = {
      {QStringLiteral("abc"), QStringLiteral("abc     ")},
      {QStringLiteral("abcdefghijkl"), QStringLiteral("abcdefgh")},
      {QStringLiteral("abcdefgh"), QStringLiteral("abcdefgh")},
      {QStringLiteral(" "), QStringLiteral("        ")},
      {QStringLiteral("caf\u00e9"), QStringLiteral("caf\u00e9    ")},  // é has a Latin-1 code
      {QStringLiteral("\u20acuro"), QStringLiteral("?uro    ")},       // € has none
      {QStringLiteral("\U0001F600x"), QStringLiteral("?x      ")},     // one "?" for one character
  };
  for (const auto& e : entries) EXPECT_EQ(padpassword(e.input), e.kept) << e.input.toStdString();
  EXPECT_EQ(passwordbytes(QStringLiteral("\u20ac"))[0], '?');
  EXPECT_EQ(passwordbytes(QStringLiteral("\u00e9"))[0], 0xE9);

  const struct {
    QString set, entered;
    bool matches;
  } comparisons[] = {
      {QStringLiteral("abc     "), padpassword(QStringLiteral("abc")), true},
      {QStringLiteral("abcdefgh"), padpassword(QStringLiteral("abcdefghXYZ")), true},
      {QStringLiteral("Abc     "), QStringLiteral("abc     "), false},
      {QStringLiteral("abc     "), QStringLiteral("abc"), false},  // only what was padded compares equal
      {resetpassword, placeholderpassword, true},
      {resetpassword, QStringLiteral("anything"), true},
      {placeholderpassword, placeholderpassword, true},
      {QStringLiteral("secret  "), placeholderpassword, false},
      {QStringLiteral("qzq"), QStringLiteral("KeyInPwd"), false},
  };
  for (const auto& c : comparisons)
    EXPECT_EQ(passwordmatches(c.set, c.entered), c.matches) << c.set.toStdString() << " / " << c.entered.toStdString();
}

TEST_F(PasswordFragments, TheProtectionTableFollowsTheFragmentsThatAreOnAndUnmatched) {
  struct Maps {
    int from, to;
    Protection p;
  };
  const struct {
    const char* what;
    std::vector<Fragment> fragments;
    std::vector<Maps> expected;  // maps not named are unprotected; where ranges overlap their guards add up
  } cases[] = {
      {"a group, rows past the maps' end", {{0, 8, 255, 2, 40}}, {{8, 15, guard(2, 31, 0)}}},
      {"a group byte inside the group", {{3, 13, 255, 0, 1}}, {{8, 15, guard(0, 1, 3)}}},
      {"a 2-D table has one row", {{1, 0, 24, 3, 5}}, {{24, 24, guard(0, 0, 1)}}},
      {"a table group", {{2, 24, 255, 0, 0}}, {{24, 31, guard(0, 0, 2)}}},
      {"a settings map", {{4, 110, 255, 3, 40}}, {{110, 110, guard(3, 15, 4)}}},
      {"one map of a group", {{0, 8, 12, 5, 6}}, {{12, 12, guard(5, 6, 0)}}},
      {"two fragments over one map", {{1, 0, 9, 10, 12}, {4, 8, 255, 0, 3}}, {{8, 15, guard(0, 3, 4)}, {9, 9, guard(10, 12, 1)}}},
      {"two fragments over one map, the other way round",
       {{1, 8, 255, 0, 3}, {4, 0, 9, 10, 12}},
       {{8, 15, guard(0, 3, 1)}, {9, 9, guard(10, 12, 4)}}},
      {"a later fragment over fewer rows lifts none", {{0, 8, 255, 1, 31}, {1, 0, 8, 31, 31}},
       {{8, 15, guard(1, 31, 0)}, {8, 8, guard(31, 31, 1)}}},
      {"a range whose first row is after its last guards nothing", {{0, 8, 255, 6, 3}}, {}},
      {"... and lifts nothing", {{0, 8, 255, 0, 31}, {1, 0, 8, 6, 3}}, {{8, 15, guard(0, 31, 0)}}},
      {"map byte 200 names no map", {{0, 8, 200, 0, 31}}, {}},
      {"map byte 116 names no map", {{0, 8, 116, 0, 31}}, {}},
      {"group byte 200 names no map", {{0, 200, 255, 0, 31}}, {}},
      {"group byte 255 names no map", {{0, 255, 255, 0, 31}}, {}},
      {"a fragment that is OFF", {{0, 8, 255, 0, 31, seedoff}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    putfragments(model, c.fragments);
    loadpasswordfragments(model, state, true);
    for (int map = 0; map < mapcount; ++map) {
      Protection expected = none;
      for (const Maps& m : c.expected) {
        if (map < m.from || map > m.to) continue;
        expected.rows |= m.p.rows;
        expected.by = static_cast<MapGuards::Fragments>(expected.by | m.p.by);
      }
      EXPECT_EQ(protection(state, map), expected) << "map " << map;
    }
  }
}

TEST_F(PasswordFragments, AMatchedFragmentOrAProgramWithoutPasswordsProtectsNothing) {
  putfragments(model, {{0, 8, 255, 0, 31}, {1, 24, 255, 0, 0, seedon, resetpassword}});
  loadpasswordfragments(model, state, true);
  EXPECT_EQ(protection(state, 8), guard(0, 31, 0));
  // The reset value counts as matched only from the first refresh of the grid on.
  EXPECT_EQ(protection(state, 24), guard(0, 0, 1));
  refreshmatches(model, state);
  EXPECT_FALSE(state.pwmatched[0]);
  EXPECT_TRUE(state.pwmatched[1]);
  applymapprotection(model, state);
  EXPECT_EQ(protection(state, 24), none);

  state.pwentered[0] = padpassword(QStringLiteral("secret"));
  refreshmatches(model, state);
  applymapprotection(model, state);
  EXPECT_EQ(protection(state, 8), none);

  state.pwentered[0] = placeholderpassword;
  refreshmatches(model, state);
  state.pwincluded = false;
  applymapprotection(model, state);
  EXPECT_EQ(protection(state, 8), none);
}

TEST_F(PasswordFragments, AnEnteredPasswordSurvivesAnUploadButNotAFileOpen) {
  putfragments(model, {{2, 0, 4, 0, 31}});
  loadpasswordfragments(model, state, true);
  EXPECT_EQ(state.pwset[2], QStringLiteral("secret  "));
  EXPECT_EQ(state.pwentered[2], placeholderpassword);
  EXPECT_TRUE(state.fragmenton[2]);
  EXPECT_FALSE(state.fragmenton[0]);
  EXPECT_EQ(protection(state, 4), guard(0, 31, 2));

  state.pwentered[2] = padpassword(QStringLiteral("secret"));
  refreshmatches(model, state);
  loadpasswordfragments(model, state, false);  // after a whole-image read
  EXPECT_TRUE(state.pwmatched[2]);
  EXPECT_EQ(state.pwentered[2], QStringLiteral("secret  "));
  EXPECT_EQ(protection(state, 4), none);

  loadpasswordfragments(model, state, true);  // after a file open
  EXPECT_FALSE(state.pwmatched[2]);
  EXPECT_EQ(state.pwentered[2], placeholderpassword);
  EXPECT_EQ(protection(state, 4), guard(0, 31, 2));
}

TEST_F(PasswordFragments, AMatchOfAResetRecordDoesNotCarryOverToAPasswordReadFromTheEcu) {
  putfragments(model, {});
  loadpasswordfragments(model, state, true);
  refreshmatches(model, state);  // the passwords window: every reset record reads Match
  ASSERT_TRUE(state.pwmatched[0]);

  putfragments(model, {{0, 8, 255, 0, 31}});  // the image read brings a password this PC never saw
  loadpasswordfragments(model, state, false);
  EXPECT_FALSE(state.pwmatched[0]);
  EXPECT_EQ(protection(state, 8), guard(0, 31, 0));
  EXPECT_TRUE(state.pwmatched[1]) << "the records still reset stay matched";

  state.pwentered[0] = padpassword(QStringLiteral("secret"));
  refreshmatches(model, state);
  loadpasswordfragments(model, state, false);  // read again: the entered password still opens it
  EXPECT_TRUE(state.pwmatched[0]);
  EXPECT_EQ(protection(state, 8), none);
}

TEST_F(PasswordFragments, TheSendTablePacksElevenBytesAFragment) {
  computeenteredchecks(state);
  PasswordSendTable table = buildsendtable(state);
  const QByteArray placeholder = placeholderpassword.toLatin1();
  const PasswordChecks checks = passwordchecks(passwordbytes(placeholderpassword), seedon);
  for (int i = 0; i < 128; ++i) {
    const std::uint8_t byte = table[static_cast<std::size_t>(i / 16)][static_cast<std::size_t>(i % 16)];
    std::uint8_t expected = 0;
    if (i < 88) {
      const int k = i % 11;
      expected = k < 8 ? static_cast<std::uint8_t>(placeholder[k]) : k == 8 ? checks.s1 : k == 9 ? checks.s2 : checks.p;
    }
    EXPECT_EQ(byte, expected) << "stream byte " << i;
  }

  // Fragment 1 lies at stream bytes 11 to 21: the end of row 0 and the start of row 1.
  state.pwentered[1] = QStringLiteral("abcdefgh");
  computeenteredchecks(state);
  table = buildsendtable(state);
  EXPECT_EQ((std::vector<int>(table[0].begin() + 11, table[0].end())), (std::vector<int>{'a', 'b', 'c', 'd', 'e'}));
  EXPECT_EQ((std::vector<int>(table[1].begin(), table[1].begin() + 6)), (std::vector<int>{'f', 'g', 'h', 36, 40, 160}));
  EXPECT_EQ(table[1][6], 'K') << "fragment 2 follows at once";
  EXPECT_EQ(state.pwentrychecked[1][10], 160);
}

// Every writer of a record but the RESET's leaves a guarded record as it is and queues nothing, also when called
// past the passwords window's own refusals; an open record next to it takes the same writes.
TEST(FragmentWriters, AGuardedRecordIsWrittenOnlyByTheReset) {
  const struct {
    const char* what;
    std::function<bool(EditorContext&, int)> write;
  } writers[] = {
      {"checks", [](EditorContext& c, int f) { return writefragmentchecks(c, f, seedon); }},
      {"bytes", [](EditorContext& c, int f) { return writefragmentbytes(c, f, fragmentbyte::map, {40}); }},
      {"set password", [](EditorContext& c, int f) { return writesetpassword(c, f, QStringLiteral("mine")); }},
      {"a map", [](EditorContext& c, int f) { return storeparamschoice(c, f, {true, 40, QStringLiteral("x")}); }},
      {"a group", [](EditorContext& c, int f) { return storeparamschoice(c, f, {false, 40, QStringLiteral("x")}); }},
      {"a row", [](EditorContext& c, int f) { return storeprotectedrow(c, f, true, 3); }},
  };
  for (const auto& w : writers) {
    SCOPED_TRACE(w.what);
    EditorRig rig;
    // Fragment 6 guards record 2 and fragment 5 its own; record 3 is open.
    putfragments(rig.mainmaps, {{2, 8, 255, 0, 31, seedoff}, {3, 8, 255, 0, 31, seedoff},
                                {5, passwordsmap, passwordsmap, 5, 5, seedon, QStringLiteral("keeper")},
                                {6, passwordsmap, passwordsmap, 2, 2, seedon, QStringLiteral("keeper")}});
    loadpasswordfragments(rig.mainmaps, rig.state, true);
    rig.state.online = true;
    const CalibrationImage image = rig.mainmaps.getimage();
    for (int fragment : {2, 5}) {
      EXPECT_FALSE(w.write(rig.context, fragment)) << fragment;
      EXPECT_EQ(rig.mainmaps.getimage(), image) << fragment;
      EXPECT_TRUE(queuedwrites(rig.link).rows.empty()) << fragment;
    }
    EXPECT_TRUE(w.write(rig.context, 3));
    EXPECT_EQ(queuedwrites(rig.link).rows, std::vector<int>{rig.mainmaps.getbufferrow(passwordsmap, 3, 0)});
  }
  EditorRig rig;
  putfragments(rig.mainmaps, {{5, passwordsmap, passwordsmap, 5, 5, seedon, QStringLiteral("keeper")}});
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  ASSERT_TRUE(recordguarded(rig.state.guards, 5));
  writeresetrecord(rig.context, 5);
  EXPECT_EQ(readfragment(rig.mainmaps, 5), makerow({5, passwordsmap, passwordsmap, 5, 5, seedoff, resetpassword}));
}

}  // namespace
}  // namespace ostrel::test
