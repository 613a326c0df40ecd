// The progress window's jobs, stepped tick by tick without a window.
#include "logger/progressjobs.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <functional>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/settings.h"
#include "common/linkhelpers.h"
#include "common/testsupport.h"
#include "ecusim/simport.h"
#include "logger/loggridmodel.h"
#include "logger/rawlog.h"
#include "loggerfixture.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

// Stands in for the map views: notes what the map synchronisation marks and how often the views are opened.
class FakeHost : public ProgressHost {
 public:
  struct Rect {
    int firstrow, lastrow, firstcol, lastcol;
    bool operator==(const Rect&) const = default;
  };
  std::vector<Rect> marked;
  int views = 0;

  void queuemaprows(int firstrow, int lastrow, int firstcol, int lastcol) override {
    marked.push_back({firstrow, lastrow, firstcol, lastcol});
  }
  void openmapview() override { ++views; }
};

class Jobs : public ::testing::Test {
 protected:
  test::TempInstallFolder folder;
  RecordingPrompts modelprompts;
  maps mainmaps{modelprompts};
  settings tables;
  ProgramState state;
  logsamples store;
  RecordingPrompts prompts;
  // A link that never connects: the map synchronisation reads its queue, which the tests fill by hand.
  ecusim::EcuSimulator sim;
  ecusim::SimPort port{sim};
  EcuLink link{state, mainmaps, modelprompts, port};
  FakeHost host;
  ProgressJobs jobs{state, mainmaps, tables, store, link, prompts};

  Jobs() {
    store.resetlogsamples();
    jobs.sethost(&host);
  }

  // The link's queue with row writes in records 0 to last (none for 0): lastqueuedtransfer answers last.
  void waiting(int last) {
    TransferQueue& queue = test::LinkProbe::queue(link);
    queue.clear();
    for (int i = 0; last > 0 && i <= last; ++i) queue.append(TransferQueue::rowwrite(i, {}));
    ASSERT_EQ(link.lastqueuedtransfer(), last);
  }

  void show(int job) {
    state.progressjob = static_cast<std::uint8_t>(job);
    state.trimbox.active = true;  // every close must clear it
    jobs.show();
  }
  // Ticks until the window closes (at most limit ticks); the number of ticks it took.
  int run(int limit = 1000) {
    int ticks = 0;
    while (jobs.isopen() && ticks < limit) {
      jobs.tick();
      ++ticks;
    }
    return ticks;
  }
  void expectclosed(ProgressJobs::Outcome outcome) {
    EXPECT_FALSE(jobs.isopen());
    EXPECT_EQ(jobs.outcome(), outcome);
    EXPECT_FALSE(state.trimbox.active);
  }
};

TEST_F(Jobs, UnknownCodesCloseAtOnce) {
  for (int code : {10, 11, 255}) {
    show(code);
    expectclosed(ProgressJobs::Outcome::failed);
    jobs.tick();
    EXPECT_EQ(state.progressjob, code);  // never cleared by the window
  }
}

TEST_F(Jobs, TimedDisplayStepsAHundredthOfItsSpan) {
  state.progresstotal = 2000;
  show(0);
  std::vector<float> bars;
  while (jobs.isopen()) {
    jobs.tick();
    if (jobs.isopen()) bars.push_back(jobs.bar());
  }
  EXPECT_EQ(bars, (std::vector<float>{20, 40, 60, 80}));
  expectclosed(ProgressJobs::Outcome::done);
  show(0);  // a later showing counts on from 1
  bars.clear();
  while (jobs.isopen()) {
    jobs.tick();
    if (jobs.isopen()) bars.push_back(jobs.bar());
  }
  EXPECT_EQ(bars, (std::vector<float>{21, 41, 61, 81}));

  const struct {
    std::int16_t total;
    int ticks;  // on a first showing
  } spans[] = {{0, 100}, {149, 100}, {150, 50}, {250, 50}, {350, 25}, {10000, 1}};
  for (const auto& s : spans) {
    ProgressJobs fresh(state, mainmaps, tables, store, link, prompts);
    state.progresstotal = s.total;
    state.progressjob = 0;
    fresh.show();
    int ticks = 0;
    while (fresh.isopen()) fresh.tick(), ++ticks;
    EXPECT_EQ(ticks, s.ticks) << s.total;
  }
}

TEST_F(Jobs, MapSyncMarksTheWholeMapAndClosesWhenTheQueueHasDrained) {
  state.online = true;
  state.curmap = 5;
  show(3);
  jobs.tick();
  EXPECT_TRUE(state.trimbox.active);
  EXPECT_EQ(host.marked, (std::vector<FakeHost::Rect>{{0, 31, 0, 31}}));
  EXPECT_EQ(jobs.bar(), 1.0f);
  std::vector<float> bars;
  for (int last : {0, 0, 0, 72, 64, 48, 10, 1, 0}) {
    ASSERT_TRUE(jobs.isopen());
    waiting(last);
    jobs.tick();
    bars.push_back(jobs.bar());
  }
  // Nothing queued yet, then the block and the 64 rows (capped at the total), then draining; at 0 the bar stays.
  EXPECT_EQ(bars, (std::vector<float>{1, 1, 1, 1, 1, 1 + 16 * 99.0f / 64, 1 + 54 * 99.0f / 64, 1 + 63 * 99.0f / 64,
                                      1 + 63 * 99.0f / 64}));
  expectclosed(ProgressJobs::Outcome::done);
  EXPECT_EQ(host.marked.size(), 1u);
}

TEST_F(Jobs, MapSyncTotalsByMapKind) {
  // With one write waiting the bar shows (total - 1) x 99 / total + 1.
  const struct {
    int map;
    float total;
  } maps_[] = {{0, 128}, {7, 64}, {106, 64}, {104, 8}, {105, 8}, {110, 16}};
  state.online = true;
  for (const auto& m : maps_) {
    state.curmap = static_cast<std::uint8_t>(m.map);
    waiting(1);
    show(3);
    jobs.tick();
    jobs.tick();
    EXPECT_FLOAT_EQ(jobs.bar(), (m.total - 1) * 99.0f / m.total + 1) << m.map;
    EXPECT_TRUE(jobs.isopen());
  }
}

TEST_F(Jobs, MapSyncOfATwoDimensionalTableClosesOnItsSecondTick) {
  state.online = true;
  state.curmap = 30;
  show(3);
  EXPECT_EQ(run(), 2);
  EXPECT_EQ(jobs.bar(), 100.0f);
  EXPECT_EQ(host.marked, (std::vector<FakeHost::Rect>{{0, 0, 0, 15}}));
  expectclosed(ProgressJobs::Outcome::done);
}

TEST_F(Jobs, MapSyncEndsWhenTheLinkGoesOfflineOrNothingIsEverQueued) {
  state.online = true;
  state.curmap = 2;
  show(3);
  jobs.tick();
  jobs.tick();
  state.online = false;
  jobs.tick();
  expectclosed(ProgressJobs::Outcome::failed);

  state.online = true;
  waiting(0);
  show(3);
  const int ticks = run(10000);
  EXPECT_EQ(ticks, ProgressJobs::mapsyncstallticks);  // about 10 s at 100 ms
  expectclosed(ProgressJobs::Outcome::failed);
}

TEST_F(Jobs, PressingTheBarDuringMapSyncMarksTheMapAgain) {
  state.online = true;
  state.curmap = 3;
  waiting(70);
  show(3);
  jobs.tick();
  jobs.tick();
  jobs.pressbar();
  EXPECT_EQ(jobs.bar(), 0.0f);
  jobs.tick();
  EXPECT_EQ(host.marked.size(), 2u);
  EXPECT_EQ(jobs.bar(), 1.0f);
}

TEST_F(Jobs, PresetsWriteTheirSixteenValuesIntoMap40) {
  for (int job = 6; job <= 9; ++job) {
    for (int c = 0; c < 16; ++c) mainmaps.setdata(injectormap, 0, c, 0, false);
    mainmaps.clearchange();
    state.curmap = 2;
    host.views = 0;
    show(job);
    jobs.tick();
    EXPECT_EQ(state.curmap, 40);
    EXPECT_EQ(host.views, 1);
    EXPECT_EQ(jobs.bar(), 20.0f);
    for (int c = 0; c < 16; ++c) {
      EXPECT_EQ(mainmaps.getdata(injectormap, 0, c),
                injectorpresets[static_cast<std::size_t>(job - 6)][static_cast<std::size_t>(c)])
          << job << "/" << c;
      EXPECT_TRUE(mainmaps.getchange(injectormap, 0, c));
    }
    EXPECT_EQ(run(), 4);  // closes on the fifth tick
    expectclosed(ProgressJobs::Outcome::done);
  }
  EXPECT_EQ(mainmaps.getdata(injectormap, 0, 0), 46);
  EXPECT_EQ(mainmaps.getdata(injectormap, 0, 15), 16);
  EXPECT_TRUE(host.marked.empty());  // nothing goes to the ECU from here
}

TEST_F(Jobs, APresetRefusesAGuardedInjectorMap) {
  state.guards.guard(injectormap, 4, 0, 0);
  state.curmap = 2;
  const CalibrationImage before = mainmaps.getimage();
  show(7);
  jobs.tick();
  EXPECT_EQ(prompts.messages(), std::vector<QString>{protectedmaptext});
  expectclosed(ProgressJobs::Outcome::failed);
  EXPECT_EQ(mainmaps.getimage(), before);
  EXPECT_EQ(state.curmap, 2);
  EXPECT_EQ(host.views, 0);
  // Once its password is entered the preset goes in.
  state.guards.clear();
  prompts.clear();
  show(7);
  jobs.tick();
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(mainmaps.getdata(injectormap, 0, 0), injectorpresets[1][0]);
}

TEST_F(Jobs, PressingTheBarDuringAPresetWritesItAgain) {
  show(8);
  jobs.tick();
  jobs.tick();
  mainmaps.setdata(injectormap, 0, 3, 0, false);
  jobs.pressbar();
  jobs.tick();
  EXPECT_EQ(mainmaps.getdata(injectormap, 0, 3), 68);
  EXPECT_EQ(jobs.bar(), 20.0f);
  EXPECT_EQ(host.views, 2);
}

TEST_F(Jobs, GridJobFillsTheLoggersGrid) {
  LogGridModel grid;
  show(1);
  EXPECT_EQ(run(), 1);  // no grid open: closes all the same
  jobs.setloggrid(&grid);
  test::record(store, 10, [](int s) { return s; });
  show(1);
  EXPECT_EQ(run(), 1);
  expectclosed(ProgressJobs::Outcome::done);
  EXPECT_EQ(grid.rowCount(), LogGridModel::gridrows);
  EXPECT_EQ(grid.headerData(9, Qt::Vertical).toString(), "00:00:09");
}

TEST_F(Jobs, CsvExportInStepsCancelQuietlyFailureReported) {
  test::record(store, logsamplecount, [](int s) { return s / 13 % 86400; });
  const QString path = folder.file(QStringLiteral("full"));
  prompts.paths = {path};
  show(2);
  const int ticks = run();
  expectclosed(ProgressJobs::Outcome::done);
  EXPECT_EQ(ticks, 1 + 8);  // the dialog, then 6,000 samples a tick
  EXPECT_EQ(jobs.path(), path + ".csv");
  const QByteArray text = test::readbytes(path + ".csv");
  EXPECT_EQ(text.count('\n'), 1 + 47999);
  EXPECT_TRUE(prompts.messages().empty());

  show(2);  // cancelled dialog: nothing written, nothing said
  EXPECT_EQ(run(), 1);
  expectclosed(ProgressJobs::Outcome::cancelled);
  EXPECT_TRUE(prompts.messages().empty());

  prompts.paths = {folder.file(QStringLiteral("no/such/folder/x.csv"))};
  show(2);
  run();
  expectclosed(ProgressJobs::Outcome::failed);
  EXPECT_EQ(prompts.messages(), std::vector<QString>{"An export error occured"});
  EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Exclamation);
}

TEST_F(Jobs, ExportsNeverReplaceAPipeADeviceOrAFolder) {
  test::BlockGuard guard;  // a saver that opens the pipe itself blocks until a reader comes: the test ends with a message
  test::record(store, 50, [](int s) { return s; });
  struct Export {
    int job;
    const char* extension;
    QString message;
  };
  const Export exports[] = {{2, "csv", QStringLiteral("An export error occured")},
                            {4, "rdl", QStringLiteral("A file error occurred")}};
  for (const Export& e : exports) {
    for (const test::NotAFileCase& thing : test::notafiles) {
      SCOPED_TRACE(std::string(e.extension) + " export onto a " + thing.name);
      const QString path = folder.file(QStringLiteral("thing.") + QLatin1String(e.extension));
      ASSERT_TRUE(test::placenotafile(path, thing.kind));
      prompts.clear();
      prompts.paths = {path};
      show(e.job);
      EXPECT_EQ(run(), 1);
      expectclosed(ProgressJobs::Outcome::failed);
      EXPECT_EQ(prompts.messages(), std::vector<QString>{e.message});
      const QFileInfo after(path);
      EXPECT_TRUE(after.isSymLink() || !after.isFile()) << "replaced by a file";
    }
  }
}

TEST_F(Jobs, AnAbandonedExportLeavesTheOldFile) {
  const QString path = folder.file(QStringLiteral("keep.csv"));
  ASSERT_TRUE(test::writebytes(path, "old"));
  test::record(store, logsamplecount, [](int s) { return s / 10 % 86400; });
  prompts.paths = {path};
  show(2);
  jobs.tick();
  jobs.tick();
  jobs.abandon();
  expectclosed(ProgressJobs::Outcome::cancelled);
  EXPECT_EQ(test::readbytes(path), "old");
}

TEST_F(Jobs, ExportsTheStoreAsItWasWhenTheyBegan) {
  test::record(
      store, 100, [](int s) { return s; }, [](int, int) { return 0x11; });
  prompts.paths = {folder.file(QStringLiteral("snap.rdl"))};
  show(4);
  jobs.tick();
  store.setlogdata(0, 0, 0x99);  // a reply stored while the export runs
  run();
  expectclosed(ProgressJobs::Outcome::done);
  EXPECT_EQ(test::readbytes(folder.file(QStringLiteral("snap.rdl"))).mid(78 + 10, 2), "11");
}

TEST_F(Jobs, RawLogExportThenImportRestoresTheLog) {
  test::record(
      store, 500, [](int s) { return s; }, [](int s, int c) { return (s ^ c) & 0xFF; });
  for (int i = 0; i < 16; ++i) state.logcolour[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(15 - i);
  state.logvar.fill(44);
  const QString path = folder.file(QStringLiteral("run.rdl"));
  prompts.paths = {path};
  show(4);
  EXPECT_EQ(run(), 1 + 8);
  expectclosed(ProgressJobs::Outcome::done);
  EXPECT_EQ(test::readbytes(path).size(), rawlogsize);

  const logsamples before = store;
  store.resetlogsamples();
  state.logvar.fill(0);
  state.logcolour.fill(16);
  prompts.paths = {path};
  show(5);
  EXPECT_EQ(run(), 1);
  expectclosed(ProgressJobs::Outcome::done);
  EXPECT_EQ(state.logvar[3], 44);
  EXPECT_EQ(state.logcolour[3], 12);
  for (int s : {0, 1, 255, 499, 47997}) EXPECT_EQ(store.getlogdata(s, 7), before.getlogdata(s, 7)) << s;
  EXPECT_EQ(store.getlogtimestamps(3), "0");  // time stamps are not in the file
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Jobs, RawLogImportRefusedOnlineDamagedOrCancelledChangesNothing) {
  test::record(store, 50, [](int s) { return s; });
  state.logvar.fill(12);
  const logsamples before = store;
  const QString damaged = folder.file(QStringLiteral("damaged.rdl"));
  QByteArray file = rawlogbytes(state, store);
  file[1871900] = 'x';  // near the end: nothing before it may be taken either
  file.replace(10 + 2 * 16, 2, "05");
  ASSERT_TRUE(test::writebytes(damaged, file));
  const QString shortfile = folder.file(QStringLiteral("short.rdl"));
  ASSERT_TRUE(test::writebytes(shortfile, file.left(1000)));
  state.logvar.fill(30);

  struct Case {
    const char* what;
    bool online;
    QString path;
    std::vector<QString> messages;
    ProgressJobs::Outcome outcome;
  };
  const Case cases[] = {
      {"online", true, damaged, {onlineimportmessage}, ProgressJobs::Outcome::failed},
      {"cancelled", false, QString(), {}, ProgressJobs::Outcome::cancelled},
      {"damaged", false, damaged, {"A file error occurred"}, ProgressJobs::Outcome::failed},
      {"short", false, shortfile, {"A file error occurred"}, ProgressJobs::Outcome::failed},
      {"missing",
       false,
       folder.file(QStringLiteral("none.rdl")),
       {"A file error occurred"},
       ProgressJobs::Outcome::failed},
  };
  for (const Case& c : cases) {
    prompts.clear();
    state.online = c.online;
    prompts.paths = {c.path};
    show(5);
    run();
    expectclosed(c.outcome);
    EXPECT_EQ(prompts.messages(), c.messages) << c.what;
    if (c.online) {
      EXPECT_EQ(prompts.records.size(), 1u);  // no dialog either
    }
    EXPECT_EQ(state.logvar[0], 30) << c.what;
    for (int s = 0; s < 50; ++s) ASSERT_EQ(store.getlogdata(s, 2), before.getlogdata(s, 2)) << c.what;
  }
}

TEST_F(Jobs, RawLogImportRefusesAPipeADeviceAndAFolderAtOnce) {
  test::BlockGuard guard;  // a pipe that is opened blocks until a writer comes: the test ends with a message
  test::record(store, 50, [](int s) { return s; });
  state.logvar.fill(12);
  const logsamples before = store;
  for (std::size_t i = 0; i < std::size(test::notafiles); ++i) {
    const test::NotAFileCase& c = test::notafiles[i];
    SCOPED_TRACE(c.name);
    const QString path = folder.file(QStringLiteral("thing%1.rdl").arg(i));
    ASSERT_TRUE(test::placenotafile(path, c.kind));
    prompts.clear();
    prompts.paths = {path};
    show(5);
    EXPECT_EQ(run(), 1);
    expectclosed(ProgressJobs::Outcome::failed);
    EXPECT_EQ(prompts.messages(), std::vector<QString>{"A file error occurred"});
    EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(state.logvar[0], 12);
    for (int s = 0; s < 50; ++s) ASSERT_EQ(store.getlogdata(s, 2), before.getlogdata(s, 2));
  }
}

TEST_F(Jobs, RawLogImportTakesALogWithMoreAfterIt) {
  // A whole raw log, then what a copy through another tool may leave after it, or much more.
  logsamples other;
  other.resetlogsamples();
  test::record(
      other, 50, [](int s) { return s; }, [](int, int) { return 0x5A; });
  ProgramState otherstate;
  otherstate.logvar.fill(40);
  const QByteArray log = rawlogbytes(otherstate, other);
  const struct {
    const char* name;
    QByteArray tail;
  } cases[] = {{"a line end more", "\r\n"}, {"a megabyte of anything", QByteArray(1 << 20, 'x')}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    store.resetlogsamples();
    test::record(store, 50, [](int s) { return s; });
    state.logvar.fill(12);
    const QString path = folder.file(QStringLiteral("copied%1.rdl").arg(i));
    ASSERT_TRUE(test::writebytes(path, log + cases[i].tail));
    prompts.clear();
    prompts.paths = {path};
    show(5);
    run();
    expectclosed(ProgressJobs::Outcome::done);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(state.logvar[0], 40);
    for (int s = 0; s < 50; ++s) ASSERT_EQ(store.getlogdata(s, 2), 0x5A) << s;
  }
}

TEST_F(Jobs, ImportCommandRefusedWhileRecording) {
  state.online = true;
  EXPECT_FALSE(rawimportallowed(prompts, state));
  EXPECT_EQ(prompts.messages(), std::vector<QString>{onlineimportmessage});
  EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Information);
  state.online = false;
  EXPECT_TRUE(rawimportallowed(prompts, state));
  EXPECT_EQ(prompts.records.size(), 1u);
}

// A dialog is modal, so the window's timer goes on ticking behind it; those ticks must not run the job again.
class ReenteringPrompts : public Prompts {
 public:
  ProgressJobs* jobs = nullptr;
  std::function<void()> whileopen;  // more of what arrives while the dialog is up
  QString path;
  int dialogs = 0;
  QString savefilename(const QString&, const QString&, const QString&) override {
    ++dialogs;
    if (jobs) jobs->tick(), jobs->tick();
    if (whileopen) whileopen();
    return path;
  }
  QString openfilename(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QString> input(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QColor> colour(const QColor&) override { return {}; }

 protected:
  Answer showmessage(const QString&, Icon, Buttons, const QString&) override { return Answer::Ok; }
};

TEST_F(Jobs, TicksDuringTheDialogAreIgnored) {
  ReenteringPrompts reentering;
  ProgressJobs own(state, mainmaps, tables, store, link, reentering);
  reentering.jobs = &own;
  reentering.path = folder.file(QStringLiteral("r.csv"));
  state.progressjob = 2;
  own.show();
  while (own.isopen()) own.tick();
  EXPECT_EQ(reentering.dialogs, 1);
  EXPECT_EQ(own.outcome(), ProgressJobs::Outcome::done);
}

// The checks timer asks for the map synchronisation while an export runs, in its dialog or between its ticks: the
// export is not replaced and writes its file whole; the synchronisation begins once it has ended.
TEST_F(Jobs, NoJobBeginsWhileAnotherRuns) {
  test::record(store, logsamplecount, [](int s) { return s / 10 % 86400; });
  for (int job : {2, 4}) {
    SCOPED_TRACE(job == 2 ? "CSV export" : "raw log export");
    ReenteringPrompts reentering;
    ProgressJobs own(state, mainmaps, tables, store, link, reentering);
    own.sethost(&host);
    host.marked.clear();
    const auto asksync = [&] {
      state.progressjob = static_cast<std::uint8_t>(ProgressJob::mapsync);
      EXPECT_FALSE(own.show());
      EXPECT_EQ(own.job(), job);
      EXPECT_TRUE(own.isopen());
    };
    reentering.whileopen = asksync;
    reentering.path = folder.file(job == 2 ? QStringLiteral("whole.csv") : QStringLiteral("whole.rdl"));
    state.progressjob = static_cast<std::uint8_t>(job);
    ASSERT_TRUE(own.show());
    own.tick();  // the dialog, with a request inside it
    ASSERT_EQ(reentering.dialogs, 1);
    int ticks = 1;
    while (own.isopen() && ticks < 100) {
      asksync();
      own.tick();
      ++ticks;
    }
    EXPECT_EQ(ticks, 1 + 8);
    EXPECT_EQ(own.outcome(), ProgressJobs::Outcome::done);
    const QByteArray written = test::readbytes(reentering.path);
    if (job == 2)
      EXPECT_EQ(written.count('\n'), 1 + 47999);
    else
      EXPECT_EQ(written, rawlogbytes(state, store));
    EXPECT_TRUE(host.marked.empty());

    state.online = true;
    state.progressjob = static_cast<std::uint8_t>(ProgressJob::mapsync);
    ASSERT_TRUE(own.show());
    own.tick();
    EXPECT_EQ(host.marked.size(), 1u);  // now the synchronisation marks the map
    own.abandon();
    state.online = false;
  }
}

}  // namespace
