// The three timers of the main window, driven tick by tick without the window.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include <QPlainTextEdit>

#include "common/testrig.h"
#include "editors/comments.h"
#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "editors/frmcomments.h"
#include "recordingshellhost.h"
#include "shell/maintimers.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

// Message boxes that run a callback while they are up, as a modal box lets timer ticks through.
class ReentrantPrompts final : public Prompts {
 public:
  std::function<void()> whileshown;
  std::vector<QString> texts;
  Answer answer = Answer::Yes;

  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  QString openfilename(const QString&, const QString&, const QString&) override { return {}; }
  QString savefilename(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QColor> colour(const QColor&) override { return std::nullopt; }

 protected:
  Answer showmessage(const QString& text, Icon, Buttons buttons, const QString&) override {
    texts.push_back(text);
    if (whileshown) whileshown();
    return buttons == Buttons::YesNo ? answer : Answer::Ok;
  }
};

class Timers : public ::testing::Test, protected test::SimEcu {
 protected:
  Timers() {
    link.sethost(&online);
    state.online = true;
    state.curmap = 8;
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.ecuchecksum = parts.mainmaps.getchecksum(8); });
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.ecuchecksummap = 8; });
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.fwversion = 64; });
  }
  ~Timers() override { link.sethost(nullptr); }

  // The image rows of each batch of writes the link has queued (a batch starts with the block table).
  std::vector<std::set<int>> queued() {
    std::vector<std::set<int>> batches;
    for (const TransferRecord& r : link.transferqueue().records) {
      if (r.op == opramwrite && r.addresshigh == 0x56 && r.addresslow == 0x80) batches.emplace_back();
      if (r.op == oprowwrite && !batches.empty())
        batches.back().insert(((r.addresshigh << 8 | r.addresslow) - 0x8000) / 16);
    }
    return batches;
  }
  void clearqueue() { ostrel::test::LinkProbe::queue(link).clear(); }
  // The image rows that the cells of a rectangle of a map lie in.
  std::set<int> rowsof(int map, const PendingWrite& r) const {
    std::set<int> rows;
    for (int row = r.lowrow; row <= r.highrow; ++row)
      for (int col = r.lowcol; col <= r.highcol; ++col)
        rows.insert(parts.mainmaps.getbufferrow(static_cast<std::uint8_t>(map), row, col));
    return rows;
  }
  int syncs() const { return host.count("runmapsync"); }
  int refreshes() const { return host.count("refreshactiveview"); }
  int unloads() const { return host.count("unloadmainwindow"); }
  std::vector<QString> drawmaps() const {
    std::vector<QString> draws;
    for (const QString& c : host.calls)
      if (c.startsWith("drawmap ")) draws.push_back(c);
    return draws;
  }

  // A checks tick after requests went out (traffic) or not.
  void checks(bool traffic = true) {
    if (traffic) state.sendcount = static_cast<std::int16_t>((state.sendcount + 3) % 1000);
    timers.checkstick();
  }

  // Makes the ECU report another checksum for the current map.
  void mismatch() {
    ostrel::test::changelive(
        link, [&](ostrel::LiveData& l) { l.ecuchecksum = parts.mainmaps.getchecksum(state.curmap) + 1; });
  }

  std::vector<QString> messages() const { return parts.prompts.messages(); }

  test::ShellParts parts{port};
  ProgramState& state = parts.state;
  EcuLink& link = parts.link;
  test::RecordingShellHost host;
  test::OnlineChanges online;
  MainTimers timers{parts.state, parts.mainmaps, parts.link, parts.transfer, parts.progressjobs, parts.prompts, host};
};

TEST_F(Timers, PendingWriteIsQueuedOnTheSeventhCommandsTick) {
  state.pendingwrite = {3, 4, 5, 6};
  state.pendingcommand = MainTimers::writecountdown;
  state.pendingmap = 8;
  for (int tick = 1; tick <= 6; ++tick) {
    timers.commandstick();
    EXPECT_TRUE(queued().empty()) << "tick " << tick;
  }
  timers.commandstick();  // 7th: the countdown reaches 1
  ASSERT_EQ(queued().size(), 1u);
  EXPECT_EQ(queued()[0], rowsof(8, {3, 4, 5, 6}));
  EXPECT_FALSE(state.pendingwrite.empty());  // cleared on the next tick
  timers.commandstick();
  EXPECT_EQ(queued().size(), 1u);
  EXPECT_TRUE(state.pendingwrite.empty());
  EXPECT_EQ(state.pendingmap, -1);
}

TEST_F(Timers, CountdownEdgeCases) {
  struct Case {
    const char* name;
    bool online;
    std::uint8_t countdown;
    int ticks;
    std::size_t queuedwrites;
  };
  const Case cases[] = {
      {"offline edits are dropped at once", false, 8, 1, 0},
      {"countdown set to 1 directly is not queued", true, 1, 3, 0},
      {"countdown 2 queues on the first tick", true, 2, 1, 1},
      {"an edit in the last 100 ms queues again", true, 8, 7, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clearqueue();
    state.online = c.online;
    state.pendingwrite = {0, 0, 0, 0};
    state.pendingcommand = c.countdown;
    for (int i = 0; i < c.ticks; ++i) timers.commandstick();
    EXPECT_EQ(queued().size(), c.queuedwrites);
    if (!c.online) {
      EXPECT_EQ(state.pendingcommand, 0);
      EXPECT_TRUE(state.pendingwrite.empty());
    }
  }
  // Widened again while the countdown stood at 1: the whole rectangle goes once more.
  clearqueue();
  state.pendingcommand = 2;
  state.pendingwrite = {1, 1, 1, 1};
  timers.commandstick();
  state.pendingwrite.highrow = 2;
  state.pendingcommand = 2;
  timers.commandstick();
  ASSERT_EQ(queued().size(), 2u);
  EXPECT_EQ(queued()[1], rowsof(8, {1, 2, 1, 1}));
}

TEST_F(Timers, EditOfAnotherMapIsHandedOverForItsOwnMap) {
  state.curmap = 8;
  state.pendingwrite = {2, 2, 7, 7};
  state.pendingcommand = MainTimers::writecountdown;
  state.pendingmap = 8;
  timers.commandstick();
  state.curmap = 12;  // the tuner moves on before the countdown has run out
  timers.handoverpending();
  ASSERT_EQ(queued().size(), 1u);
  EXPECT_EQ(queued()[0], rowsof(8, {2, 2, 7, 7}));
  EXPECT_EQ(state.pendingcommand, 0);
  EXPECT_TRUE(state.pendingwrite.empty());
  for (int i = 0; i < 10; ++i) timers.commandstick();
  EXPECT_EQ(queued().size(), 1u);  // nothing is written into map 12's rows

  // The commands tick does the same for a change nobody announced; offline nothing goes out but the edit ends.
  clearqueue();
  state.pendingwrite = {0, 0, 0, 0};
  state.pendingcommand = 5;
  state.pendingmap = 12;
  state.curmap = 13;
  timers.commandstick();
  ASSERT_EQ(queued().size(), 1u);
  EXPECT_EQ(queued()[0], rowsof(12, {0, 0, 0, 0}));
  // An edit whose map nobody recorded belongs to the current map.
  clearqueue();
  state.pendingwrite = {0, 0, 0, 0};
  state.pendingcommand = 2;
  state.pendingmap = -1;
  timers.commandstick();
  ASSERT_EQ(queued().size(), 1u);
  EXPECT_EQ(queued()[0], rowsof(13, {0, 0, 0, 0}));
}

TEST_F(Timers, PendingEditGoesBeforeTheCalibrationIsReplaced) {
  state.pendingwrite = {4, 4, 4, 4};
  state.pendingcommand = 6;
  timers.handoverpending();  // same map: nothing to hand over
  EXPECT_TRUE(queued().empty());
  timers.handoverpending(true);
  ASSERT_EQ(queued().size(), 1u);
  EXPECT_EQ(queued()[0], rowsof(state.curmap, {4, 4, 4, 4}));
  EXPECT_EQ(state.pendingcommand, 0);
}

TEST_F(Timers, DeferredRedrawOnlyFor3DMapsAtTheEighthTick) {
  state.online = false;
  state.curmap = 8;
  state.redrawticks = 0;
  for (int i = 1; i <= 7; ++i) timers.commandstick();
  EXPECT_TRUE(drawmaps().empty());
  timers.commandstick();
  EXPECT_EQ(drawmaps(), std::vector<QString>{"drawmap 1"});
  for (int i = 0; i < 5; ++i) timers.commandstick();
  EXPECT_EQ(drawmaps().size(), 1u);
  EXPECT_EQ(state.redrawticks, 10);  // counts up to 10 and stops

  host.calls.clear();
  state.curmap = 30;  // a 2-D table
  state.redrawticks = 0;
  for (int i = 0; i < 12; ++i) timers.commandstick();
  EXPECT_TRUE(drawmaps().empty());
}

TEST_F(Timers, ExitStopsCommsAndCommandsAndUnloadsOnTheFourthChecksTick) {
  state.pendingcommand = 5;
  state.pendingwrite = {0, 0, 0, 0};
  timers.startexit();
  EXPECT_TRUE(state.exiting);
  EXPECT_EQ(state.exitticks, 1);
  const auto sent = state.sendcount;
  timers.commstick();
  timers.commandstick();
  EXPECT_EQ(state.sendcount, sent);
  EXPECT_EQ(state.pendingcommand, 5);  // nothing is sent at exit
  for (int tick = 1; tick <= 3; ++tick) {
    checks();
    EXPECT_EQ(unloads(), 0) << "tick " << tick;
  }
  checks();
  EXPECT_EQ(state.exitticks, 5);
  EXPECT_EQ(unloads(), 1);
  checks();
  EXPECT_EQ(unloads(), 1);
  EXPECT_TRUE(messages().empty());
}

TEST_F(Timers, MismatchWarningAtExactlyTenTicksWithTraffic) {
  mismatch();
  for (int tick = 1; tick <= 9; ++tick) {
    checks();
    state.noreplyticks = 0;  // the replies keep coming
  }
  checks(false);  // a tick without traffic does not count
  state.noreplyticks = 0;
  EXPECT_EQ(state.syncerrticks, 9);
  EXPECT_TRUE(messages().empty());
  checks();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], MainTimers::mismatchwarning());
  EXPECT_EQ(refreshes(), 1);
  for (int tick = 0; tick < 100; ++tick) {
    state.noreplyticks = 0;
    checks();
  }
  EXPECT_EQ(messages().size(), 1u);  // a lasting mismatch acts once
  EXPECT_EQ(state.syncerrticks, 100);
  ostrel::test::changelive(link,
                           [&](ostrel::LiveData& l) { l.ecuchecksum = parts.mainmaps.getchecksum(state.curmap); });
  checks();
  EXPECT_EQ(state.syncerrticks, 0);
}

TEST_F(Timers, MismatchWarningText) {
  EXPECT_EQ(MainTimers::mismatchwarning(),
            "This map or settings group does not match the map or settings group stored in the ECU. You should:     "
            "\n\r                    1. Open the file from the ECU OR\n\r"
            "                    2. Save this file to the ECU before continuing.");
}

TEST_F(Timers, MismatchCounterHeldOrNotActedOn) {
  struct Case {
    const char* name;
    std::function<void()> set;
    int expectedcount;  // after ten ticks with traffic
  };
  const Case cases[] = {
      {"a queued write holds the counter", [this] { ostrel::test::LinkProbe::queue(link).records[0].op = oprowwrite; },
       0},
      {"a running transfer holds the counter", [this] { parts.transfer.queuefullwrite(); }, 0},
      {"an open transfer window lets it rise but not act", [this] { state.transferwindowopen = true; }, 10},
      {"the auto-tune lets it rise but not act", [this] { state.toolmode = 12; }, 10},
      {"no reply lets it rise but not act", [this] { state.noreplyticks = 5; }, 10},
      {"a checksum of another map is not compared",
       [this] { ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.ecuchecksummap = 9; }); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    parts.prompts.clear();
    ostrel::test::LinkProbe::queue(link).records[0].op = 0;
    parts.transfer.cancel();
    state.transferwindowopen = false;
    state.toolmode = 0;
    ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.ecuchecksummap = state.curmap; });
    state.syncerrticks = 0;
    mismatch();
    c.set();
    for (int i = 0; i < 10; ++i) {
      const auto noreply = state.noreplyticks;
      checks();
      state.noreplyticks = noreply;
    }
    EXPECT_EQ(state.syncerrticks, c.expectedcount);
    EXPECT_TRUE(messages().empty());
    state.noreplyticks = 0;
  }
}

TEST_F(Timers, AutomaticSynchronisationConditions) {
  struct Case {
    const char* name;
    bool imageread, autosync, upload;
    int fragment;
    bool fragmenton;
    bool synchronises;
  };
  const Case cases[] = {
      {"image not read from the ECU", false, true, false, 2, false, false},
      {"auto sync off", true, false, false, 2, false, false},
      {"upload method", true, true, true, 2, false, false},
      {"download, map without fragment", true, true, false, -1, false, false},
      {"download, fragment switched on", true, true, false, 2, true, false},
      {"download, fragment switched off", true, true, false, 2, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    parts.prompts.clear();
    host.calls.clear();
    state.syncerrticks = 0;
    state.imageread = c.imageread;
    state.preferences.autosync = c.autosync;
    state.preferences.autosyncupload = c.upload;
    state.guards.clear();
    if (c.fragment >= 0) state.guards.guard(state.curmap, c.fragment, 0, 31);
    state.fragmenton.fill(false);
    if (c.fragment >= 0) state.fragmenton[c.fragment] = c.fragmenton;
    mismatch();
    for (int i = 0; i < 10; ++i) {
      state.noreplyticks = 0;
      checks();
    }
    ASSERT_EQ(messages().size(), 1u);
    if (c.synchronises) {
      EXPECT_EQ(messages()[0], "Please wait while a map syncronisation occurs");
      EXPECT_EQ(syncs(), 1);
      EXPECT_EQ(state.progressjob, 3);
    } else {
      EXPECT_EQ(messages()[0], MainTimers::mismatchwarning());
      EXPECT_EQ(syncs(), 0);
    }
  }
}

TEST_F(Timers, SynchronisationWaitsWhileAnotherProgressJobRuns) {
  state.imageread = true;
  state.preferences.autosync = true;
  state.preferences.autosyncupload = false;
  state.guards.guard(state.curmap, 2, 0, 31);
  state.fragmenton.fill(false);
  mismatch();
  state.progressjob = static_cast<std::uint8_t>(ProgressJob::csvexport);  // an export runs in the progress window
  ASSERT_TRUE(parts.progressjobs.show());
  for (int i = 0; i < 30; ++i) {
    state.noreplyticks = 0;
    checks();
  }
  EXPECT_EQ(syncs(), 0);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(state.syncerrticks, MainTimers::mismatchticks - 1);  // asked for again on each tick with traffic
  parts.progressjobs.abandon();
  state.noreplyticks = 0;
  checks(false);  // no traffic: not yet
  EXPECT_EQ(syncs(), 0);
  state.noreplyticks = 0;
  checks();
  EXPECT_EQ(syncs(), 1);
  EXPECT_EQ(messages(), std::vector<QString>{"Please wait while a map syncronisation occurs"});
  EXPECT_EQ(state.progressjob, 3);
}

TEST_F(Timers, NoReplyQuestionAtTheThirteenthTickWithTraffic) {
  for (auto answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
    SCOPED_TRACE(answer == Prompts::Answer::Yes ? "Yes" : "No");
    parts.prompts.clear();
    online.changes.clear();
    parts.prompts.answers = {answer};
    state.online = true;
    state.noreplyticks = 0;
    for (int tick = 1; tick <= 12; ++tick) checks();
    checks(false);  // no traffic: no count
    EXPECT_EQ(state.noreplyticks, 12);
    EXPECT_TRUE(messages().empty());
    checks();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "The ECU is not responding, disconnect now?");
    EXPECT_EQ(parts.prompts.records[0].buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(state.online, answer == Prompts::Answer::No);
    EXPECT_EQ(online.changes, answer == Prompts::Answer::Yes ? std::vector<bool>{false} : std::vector<bool>{})
        << "the link reports the change, which the menus follow";
    host.calls.clear();
    if (answer == Prompts::Answer::No) {
      for (int tick = 0; tick < 100; ++tick) checks();
      EXPECT_EQ(messages().size(), 1u);  // not again until a good reply resets the count
      EXPECT_EQ(state.noreplyticks, 100);
    }
  }
}

TEST_F(Timers, FirmwareWarningAtTheThirteenthTickAndAgainOnlyAfterAGoodByte) {
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.fwversion = 63; });
  for (int tick = 1; tick <= 12; ++tick) {
    state.noreplyticks = 0;
    checks();
  }
  EXPECT_TRUE(messages().empty());
  state.noreplyticks = 0;
  checks();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "The ECU firmware version is not correct for this PC software version (V2.64)");
  EXPECT_EQ(parts.prompts.records[0].icon, Prompts::Icon::Critical);
  for (int tick = 0; tick < 20; ++tick) {
    state.noreplyticks = 0;
    checks();
  }
  EXPECT_EQ(messages().size(), 1u);
  ostrel::test::changelive(link, [&](ostrel::LiveData& l) { l.fwversion = 64; });
  checks();
  EXPECT_EQ(timers.fwticks, 0);
}

TEST_F(Timers, OfflineChecksOnlyFollowTheSendCount) {
  state.online = false;
  mismatch();
  state.sendcount = 40;
  timers.checkstick();
  EXPECT_EQ(timers.lastsendcount, 40);
  EXPECT_EQ(state.syncerrticks, 0);
  EXPECT_EQ(state.noreplyticks, 0);
  // The first online tick sees no traffic since then.
  state.online = true;
  timers.checkstick();
  EXPECT_EQ(state.syncerrticks, 0);
  EXPECT_EQ(state.noreplyticks, 0);
}

TEST(TimersReentry, ChecksTickReturnsAtOnceWhileItsMessageBoxIsUp) {
  test::SimEcu ecu;
  test::ShellParts parts{ecu.port};
  ReentrantPrompts prompts;
  parts.state.online = true;
  ostrel::test::changelive(parts.link, [&](ostrel::LiveData& l) { l.fwversion = 64; });
  test::RecordingShellHost host;
  MainTimers timers(parts.state, parts.mainmaps, parts.link, parts.transfer, parts.progressjobs, prompts, host);
  int nested = 0;
  prompts.answer = Prompts::Answer::No;
  prompts.whileshown = [&] {
    ++nested;
    parts.state.sendcount = static_cast<std::int16_t>(parts.state.sendcount + 1);
    timers.checkstick();  // a tick delivered while the question is open
  };
  parts.state.noreplyticks = 12;
  parts.state.sendcount = 1;
  timers.checkstick();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(prompts.texts.size(), 1u);
  EXPECT_EQ(parts.state.noreplyticks, 13);  // the nested tick did nothing
  // Once the box is closed the ticks work again.
  parts.state.sendcount = static_cast<std::int16_t>(parts.state.sendcount + 1);
  timers.checkstick();
  EXPECT_EQ(parts.state.noreplyticks, 14);
}

// The comments are written into the calibration before their message says they go to the ECU; the timers keep
// ticking while it is up. Left open for a long time, the message must not be joined by the mismatch warning, whose
// first advice (open the file from the ECU) would throw the new comment away.
TEST(TimersOverTheSimulator, CommentsSavedOnlineBringNoMismatchWarningWhileTheirMessageIsUp) {
  constexpr int commsperchecks = 17;  // 500 ms / 30 ms
  test::SimEcu ecu;
  test::ShellParts parts{ecu.port};
  ASSERT_TRUE(parts.mainmaps.openfile(test::sourcepath(QStringLiteral("data/lastsaved.s26")), true, false));
  ecu.sim.setimage(parts.mainmaps.getimage());
  ReentrantPrompts prompts;
  test::RecordingShellHost host;
  MainTimers timers(parts.state, parts.mainmaps, parts.link, parts.transfer, parts.progressjobs, prompts, host);
  EditorsHost editorshost;
  EditorContext context{parts.state,       prompts,   parts.mainmaps,      parts.mainsettings,
                        parts.link,        editorshost, parts.templatemaps, parts.oldmaps};
  const auto checksround = [&] {
    for (int i = 0; i < commsperchecks; ++i) {
      timers.commstick();
      ecu.port.step();
    }
    timers.checkstick();
  };

  ASSERT_TRUE(parts.link.openport());
  parts.state.curmap = commentsmap;  // as while the comments editor is up
  for (int i = 0; i < 3; ++i) checksround();
  ASSERT_TRUE(parts.link.ecuchecksumcurrent());
  ASSERT_EQ(parts.state.syncerrticks, 0);

  int roundsshown = 0;
  prompts.whileshown = [&] {
    if (prompts.texts.size() != 1) return;  // only the comments' own message stays up
    for (; roundsshown < 40; ++roundsshown) checksround();  // 20 s
  };
  frmComments window(context);
  window.softComments->setPlainText(QStringLiteral("Mapped on the dyno"));
  window.mnuCommentsSave->trigger();

  EXPECT_EQ(roundsshown, 40);
  EXPECT_EQ(prompts.texts, std::vector<QString>{commentsonlinetext});
  EXPECT_EQ(parts.state.syncerrticks, 0);
  EXPECT_EQ(readcomment(parts.mainmaps, softcommentfirstrow, softcommentlength),
            softcommentforstore(QStringLiteral("Mapped on the dyno")));
  for (int row = 0; row < 8; ++row) {
    const int r = parts.mainmaps.getbufferrow(commentsmap, row, 0);
    EXPECT_EQ(test::simrow(ecu.sim, r), test::modelrow(parts.mainmaps, r)) << "comments row " << row;
  }
  EXPECT_FALSE(parts.link.transferqueue().headiswrite());
}

}  // namespace
