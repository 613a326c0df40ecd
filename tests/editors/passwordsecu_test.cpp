// Map protection end to end against the ECU simulator: a tuner protects a group and the ECU keeps it; a later
// session that reads the image back from the ECU finds those rows hidden and locked in the map views; a RESET while
// connected clears them in the ECU too, with the rows of every fragment whose record it destroys.
#include <gtest/gtest.h>

#include "editors/passwordeditor.h"
#include "editors/passwordparams.h"
#include "editorsfixture.h"
#include "link/imagetransfer.h"
#include "mapviews/keycodes.h"
#include "mapviews/keyhandler.h"
#include "mapviews/mapviews.h"

namespace ostrel::test {
namespace {

// Link ticks per tick of the transfer dialog: one second of the 30 ms communications timer.
constexpr int linkticksperdialogtick = 33;

class PasswordsEcu : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.state.preferences.gridloadup = false;              // grid row = load row
    loadpasswordfragments(rig.mainmaps, rig.state, true);  // as the main window's load does
    rig.connect();
    ASSERT_TRUE(rig.state.online);
  }

  void drain() {
    for (int t = 0; t < 3000 && rig.link.transferqueue().headiswrite(); ++t) rig.tick();
    ASSERT_FALSE(rig.link.transferqueue().headiswrite()) << "the queue has drained";
  }

  // Open from ECU: a whole-image read, completed as the program completes it.
  void readfromecu() {
    // The program's host reloads the fragments once the image has been stored.
    struct FragmentHost : LinkHost {
      explicit FragmentHost(EditorRig& rig) : rig(rig) {}
      void loadpasswordfragments(bool reset) override { ostrel::loadpasswordfragments(rig.mainmaps, rig.state, reset); }
      EditorRig& rig;
    } host{rig};
    rig.link.sethost(&host);
    ImageTransfer transfer(rig.state, rig.mainmaps, rig.prompts, rig.link);
    rig.state.transfermode = 1;
    transfer.windowopened();
    for (int t = 0; t < 400; ++t) {
      if (transfer.windowtick().close) {
        transfer.windowclosed();
        rig.link.sethost(nullptr);
        return;
      }
      rig.tick(linkticksperdialogtick);
    }
    rig.link.sethost(nullptr);
    FAIL() << "the transfer never ended";
  }

  // The tuner's steps in the passwords window: a new password for fragment 0, entered, the ignition group rows 3 to
  // 32 (stored 2 to 31), turned on.
  void protectignition() {
    PasswordEditor editor(rig.context);
    editor.refresh();
    rig.prompts.inputs = {QStringLiteral("s3cret")};
    ASSERT_EQ(editor.cellclicked(1, 1), PasswordEditor::After::refresh);
    rig.prompts.inputs = {QStringLiteral("s3cret")};
    ASSERT_EQ(editor.cellclicked(1, 2), PasswordEditor::After::refresh);
    ASSERT_EQ(editor.cellclicked(1, 3), PasswordEditor::After::editparameters);
    const auto group = paramschoice(appliesnode(rig.mainmaps, rig.state.guards, QStringLiteral("(Applies) 3D Ignition Calibration")));
    ASSERT_TRUE(group);
    storeparamschoice(rig.context, 0, *group);
    storeprotectedrow(rig.context, 0, false, 2);
    storeprotectedrow(rig.context, 0, true, 31);
    ASSERT_EQ(editor.turnon(0), PasswordEditor::After::refresh);
    editor.timertick();
    EXPECT_EQ(rig.state.guards.guardsof(8), 0) << "the tuner who knows the password sees everything";
  }

  EditorRig rig;
};

TEST_F(PasswordsEcu, AProtectedGroupReadBackFromTheEcuIsHiddenAndLocked) {
  protectignition();
  drain();
  const int passwordrow = rig.mainmaps.getbufferrow(passwordsmap, 0, 0);
  EXPECT_EQ(rig.simrow(passwordrow), rig.modelrow(passwordrow));
  EXPECT_TRUE(fragmentreadson(readfragment(rig.mainmaps, 0)));

  // Another session: the shipped file opened, then the image read from the ECU.
  ASSERT_TRUE(rig.mainmaps.openfile(sourcepath(QStringLiteral("data/lastsaved.s26")), true, false));
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  EXPECT_EQ(rig.state.guards.guardsof(8), 0);
  readfromecu();
  ASSERT_TRUE(rig.simholdsmodel());
  for (int map = 0; map < mapcount; ++map) {
    const bool ignition = map >= 8 && map <= 15;
    EXPECT_EQ(rig.state.guards.rows(map), ignition ? MapGuards::span(2, 31) : 0) << map;
  }

  // The map views: the protected load rows stay empty and every edit is refused.
  MapViews views(rig.state, rig.mainmaps, rig.link, rig.prompts);
  KeyHandler handler(rig.state, rig.mainmaps, rig.mainsettings, rig.link, views, rig.prompts);
  handler.install();
  rig.state.curmap = 8;
  rig.prompts.clear();
  views.openmapview();
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("Portions of this map are password protected and will not be shown")});
  for (int j = 0; j < 32; ++j)
    for (int i : {0, 17, 31})
      EXPECT_EQ(views.mapgrid().celltext(j, i).isEmpty(), j >= 2) << "load row " << j << " rpm point " << i;

  rig.prompts.clear();
  rig.state.cursorrow = 5;
  rig.state.cursorcol = 5;
  const std::int16_t before = rig.mainmaps.getdata(8, 5, 5);
  handler.mapkeydown(vk::pageup, 0, MapView::grid, false);
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{
                QStringLiteral("It is not possible to edit this map because portions are password protected")});
  EXPECT_EQ(rig.mainmaps.getdata(8, 5, 5), before);
  EXPECT_EQ(rig.state.pendingcommand, 0);

  // Maps outside the group are as before.
  rig.state.curmap = 16;
  rig.prompts.clear();
  views.openmapview();
  EXPECT_TRUE(rig.prompts.messages().empty());
}

// The passwords window opened once over a calibration whose records are all reset matches every fragment; an image
// read from an ECU whose fragment 0 holds a password this PC never saw guards its rows at once.
TEST_F(PasswordsEcu, AMatchOfAResetRecordDoesNotOpenAPasswordReadFromTheEcu) {
  putfragments(rig.mainmaps, {});
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  PasswordEditor editor(rig.context);
  editor.refresh();
  for (int i = 0; i < fragmentcount; ++i) ASSERT_TRUE(rig.state.pwmatched[static_cast<std::size_t>(i)]) << i;

  CalibrationImage ecu = rig.mainmaps.getimage();
  const FragmentRow locked = makerow({0, 8, 255, 0, 31, seedon, QStringLiteral("unknown")});
  const int row = rig.mainmaps.getbufferrow(passwordsmap, 0, 0);
  std::copy(locked.begin(), locked.end(), ecu.begin() + 16 * row);
  rig.sim.setimage(ecu);
  readfromecu();
  ASSERT_EQ(readfragment(rig.mainmaps, 0), locked);

  MapViews views(rig.state, rig.mainmaps, rig.link, rig.prompts);
  const auto shown = [&] {
    int cells = 0;
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i) cells += views.mapgrid().celltext(j, i).isEmpty() ? 0 : 1;
    return cells;
  };
  rig.state.curmap = 8;
  rig.prompts.clear();
  views.openmapview();
  EXPECT_EQ(rig.prompts.messages(),
            std::vector<QString>{QStringLiteral("Portions of this map are password protected and will not be shown")});
  EXPECT_EQ(shown(), 0);

  rig.prompts.inputs = {QStringLiteral("unknown")};
  editor.refresh();
  editor.cellclicked(1, 2);
  editor.timertick();
  views.openmapview();
  EXPECT_EQ(shown(), 1024);
}

TEST_F(PasswordsEcu, ResetWhileConnectedClearsTheProtectedRowsInTheEcu) {
  protectignition();
  drain();
  // A session without the password: the fragment as the ECU holds it protects the group.
  loadpasswordfragments(rig.mainmaps, rig.state, true);
  ASSERT_EQ(rig.state.guards.guardsof(12), 1 << 0);
  const CalibrationImage before = rig.sim.image();

  PasswordEditor editor(rig.context);
  editor.refresh();
  rig.prompts.answers = {Prompts::Answer::Ok};
  ASSERT_EQ(editor.reset(0), PasswordEditor::After::refresh);
  drain();

  EXPECT_TRUE(rig.simholdsmodel());
  const int passwordrow = rig.mainmaps.getbufferrow(passwordsmap, 0, 0);
  EXPECT_EQ(setpasswordof(readfragment(rig.mainmaps, 0)), resetpassword);
  EXPECT_EQ(rig.simrow(passwordrow), rig.modelrow(passwordrow));
  for (int map = 8; map <= 15; ++map)
    for (int i = 0; i < 32; ++i)
      for (int j = 0; j < 32; ++j) {
        const int row = rig.mainmaps.getbufferrow(map, i, j);
        const std::uint8_t ecu = rig.sim.image()[static_cast<std::size_t>(16 * row + j % 16)];
        const std::uint8_t old = before[static_cast<std::size_t>(16 * row + j % 16)];
        ASSERT_EQ(ecu, j >= 2 ? 0 : old) << "map " << map << " rpm " << i << " load " << j;
      }
  // Nothing else in the ECU changed.
  for (int row = 0; row < imagerows; ++row) {
    if (row == passwordrow ||
        (row >= rig.mainmaps.getbufferrow(8, 0, 0) && row <= rig.mainmaps.getbufferrow(15, 31, 31)))
      continue;
    ASSERT_TRUE(
        std::equal(before.begin() + 16 * row, before.begin() + 16 * row + 16, rig.sim.image().begin() + 16 * row))
        << row;
  }
}

// Fragment 5 guards records of the passwords map; fragment 0, whose password nobody entered, load rows 2 to 4 of the
// ignition group. Its RESET destroys those records and with them fragment 0's rows, in the ECU as in the PC, while
// the records it did not guard stay as the ECU holds them.
TEST_F(PasswordsEcu, ResetWhileConnectedDestroysTheRowsOfTheRecordsItDestroysInTheEcu) {
  const struct Case {
    const char* what;
    int lastrecord;  // fragment 5 guards records 0 to this one
  } cases[] = {{"every record", 7}, {"records 0 to 3", 3}};
  for (const Case& c : cases) {
    EditorRig r;
    for (int map = 8; map <= 15; ++map)
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) r.mainmaps.setdata(map, i, j, 1 + (32 * i + j) % 250, false);
    putfragments(r.mainmaps, {{0, 8, 255, 2, 4, seedon},
                              {5, passwordsmap, passwordsmap, 0, c.lastrecord, seedon},
                              {6, 24, 24, 0, 0, seedon, QStringLiteral("other")}});
    r.sim.setimage(r.mainmaps.getimage());
    loadpasswordfragments(r.mainmaps, r.state, true);
    r.connect();
    ASSERT_TRUE(r.state.online) << c.what;
    const CalibrationImage before = r.sim.image();

    PasswordEditor editor(r.context);
    editor.refresh();
    r.prompts.answers = {Prompts::Answer::Ok};
    ASSERT_EQ(editor.reset(5), PasswordEditor::After::refresh) << c.what;
    for (int t = 0; t < 3000 && r.link.transferqueue().headiswrite(); ++t) r.tick();
    ASSERT_FALSE(r.link.transferqueue().headiswrite()) << c.what << ": the queue has drained";

    EXPECT_TRUE(r.simholdsmodel()) << c.what;
    const CalibrationImage& ecu = r.sim.image();
    const auto byte = [](const CalibrationImage& image, int row, int j) {
      return image[static_cast<std::size_t>(16 * row + j)];
    };
    for (int map = 8; map <= 15; ++map)
      for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j) {
          const int row = r.mainmaps.getbufferrow(map, i, j);
          ASSERT_EQ(byte(ecu, row, j % 16), j >= 2 && j <= 4 ? 0 : byte(before, row, j % 16))
              << c.what << ": map " << map << " rpm " << i << " load " << j;
        }
    for (int i = 0; i < fragmentcount; ++i) {
      if (i == 5) continue;  // reset, or destroyed with the records it guarded
      const int row = r.mainmaps.getbufferrow(passwordsmap, i, 0);
      const std::vector<std::uint8_t> held = r.simrow(row);
      if (i <= c.lastrecord)
        EXPECT_EQ(held, std::vector<std::uint8_t>(16, 0)) << c.what << ": record " << i;
      else
        EXPECT_EQ(held, std::vector<std::uint8_t>(before.begin() + 16 * row, before.begin() + 16 * row + 16))
            << c.what << ": record " << i;
    }
    // Fragment 6 kept its record, so it still guards its map.
    EXPECT_EQ(r.state.fragmenton[6], c.lastrecord < 6) << c.what;
    editor.timertick();
    EXPECT_EQ(r.state.guards.guardsof(24), c.lastrecord < 6 ? 1 << 6 : 0) << c.what;
    EXPECT_EQ(r.state.guards.rows(8), 0U) << c.what;
  }
}

}  // namespace
}  // namespace ostrel::test
