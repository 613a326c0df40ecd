// Spreads and re-gridding without windows: the spread texts and labels, where new points fall on the old axis, the
// re-sampling of maps 0 to 23 and the question when the settings editor closes.
#include "editors/regrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "calibration/startuptables.h"
#include "editors/spreads.h"
#include "editorsfixture.h"
#include "platform/numbers.h"

namespace ostrel::test {
namespace {

Spreads allspreads(std::uint8_t value) {
  Spreads s;
  s.fill(value);
  return s;
}

void setspreads(maps& model, SpreadAxis axis, const Spreads& spreads) {
  for (int point = 1; point <= spreadpoints; ++point) {
    const SpreadCell c = spreadcell(axis, point);
    model.setdata(110, c.row, c.column, spreads[static_cast<std::size_t>(point - 1)], false);
  }
}

// Maps 0 to 23 full of unrelated values (map 0 over its whole range), with no changed marks.
void fillmaps(maps& model, unsigned seed) {
  std::mt19937 random(seed);
  for (int map = 0; map < regridmaps; ++map)
    for (int x = 0; x < 32; ++x)
      for (int y = 0; y < 32; ++y)
        model.setdata(map, x, y, static_cast<double>(random() % (map == 0 ? 8001 : 256)), false);
  model.clearchange();
}

using Grid = std::array<std::array<int, 32>, 32>;
Grid grid(const maps& model, int map) {
  Grid g{};
  for (int x = 0; x < 32; ++x)
    for (int y = 0; y < 32; ++y) g[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = model.getdata(map, x, y);
  return g;
}

// --- Spread cells, texts and labels --------------------------------------------------------------------------------

TEST(Spreads, PointsLieInRowsFourToSevenOfSettingsMapOneHundredTen) {
  EXPECT_EQ(spreadcellnumber(SpreadAxis::load, 1), 64);   // (4, 0)
  EXPECT_EQ(spreadcellnumber(SpreadAxis::load, 16), 79);  // (4, 15)
  EXPECT_EQ(spreadcellnumber(SpreadAxis::load, 17), 80);  // (5, 0)
  EXPECT_EQ(spreadcellnumber(SpreadAxis::load, 31), 94);  // (5, 14); (5, 15) is no spread
  EXPECT_EQ(spreadcellnumber(SpreadAxis::rpm, 1), 96);
  EXPECT_EQ(spreadcellnumber(SpreadAxis::rpm, 31), 126);
}

TEST(Spreads, TypedTextBecomesAByteOrNothing) {
  struct Case {
    const char* text;
    int value;  // -1: no number
  };
  const Case cases[] = {
      {"300", 255},  {"-5", 0},      {"", -1},    {"12.5", 12}, {"13.5", 14}, {"120", 120},   {"0", 0},
      {"255", 255},  {"256", 255},   {" 7 ", 7},  {"abc", -1},  {"12a", -1},  {"32767", 255}, {"32768", -1},
      {"-32768", 0}, {"-32769", -1}, {"nan", -1}, {"inf", -1},  {"12,5", -1},
  };
  for (const Case& c : cases) {
    const std::optional<std::uint8_t> v = spreadvalue(QString::fromLatin1(c.text));
    if (c.value < 0)
      EXPECT_FALSE(v.has_value()) << c.text;
    else
      EXPECT_EQ(v, std::optional<std::uint8_t>(static_cast<std::uint8_t>(c.value))) << c.text;
  }
}

TEST(Spreads, LabelsNameEachPointInBothUnitSystems) {
  RecordingPrompts prompts;
  maps model(prompts);
  Spreads load = allspreads(40);  // 40, 80, ... 760 at point 19, 800 at point 20
  load[0] = 24;                   // point 1 at 24 mmHg
  setspreads(model, SpreadAxis::load, load);
  setspreads(model, SpreadAxis::rpm, allspreads(100));
  model.recalc();

  const QStringList metric = spreadlabels(model, MapGuards{}, SpreadAxis::load, true);
  const QStringList imperial = spreadlabels(model, MapGuards{}, SpreadAxis::load, false);
  ASSERT_EQ(metric.size(), 31);
  ASSERT_EQ(imperial.size(), 31);
  EXPECT_EQ(metric[0], QStringLiteral("3 kPa"));  // 24 / 7.5 = 3.2
  EXPECT_EQ(imperial[0], QStringLiteral("736 mmHg"));
  EXPECT_EQ(metric[18], QStringLiteral("99 kPa"));  // point 19: 744 mmHg
  EXPECT_EQ(imperial[18], QStringLiteral("16 mmHg"));
  EXPECT_EQ(metric[19], QStringLiteral("104 kPa"));  // point 20: 784 mmHg, 24 above the atmosphere
  EXPECT_EQ(imperial[19], QStringLiteral("0.5 psi"));

  load[0] = 40;  // point 19 exactly at the atmosphere
  setspreads(model, SpreadAxis::load, load);
  model.recalc();
  EXPECT_EQ(spreadlabels(model, MapGuards{}, SpreadAxis::load, true)[18], QStringLiteral("101 kPa"));
  EXPECT_EQ(spreadlabels(model, MapGuards{}, SpreadAxis::load, false)[18], QStringLiteral("0 mmHg"));

  const QStringList rpm = spreadlabels(model, MapGuards{}, SpreadAxis::rpm, false);
  ASSERT_EQ(rpm.size(), 31);
  EXPECT_EQ(rpm[0], QStringLiteral("500 rpm"));
  EXPECT_EQ(rpm[30], QStringLiteral("15500 rpm"));
  EXPECT_EQ(spreadlabels(model, MapGuards{}, SpreadAxis::rpm, true), rpm);
}

// --- Positions -----------------------------------------------------------------------------------------------------

TEST(RegridPositions, DoubledSpreadsMoveEachPointToTwiceItsNumberUntilTheOldAxisEnds) {
  const auto r = regridpositions(allspreads(50), allspreads(100));
  EXPECT_EQ(r[0], 0.0f);
  for (int n = 1; n <= 15; ++n) EXPECT_EQ(r[static_cast<std::size_t>(n)], 2.0f * n) << n;
  for (int n = 16; n <= 31; ++n) EXPECT_EQ(r[static_cast<std::size_t>(n)], 31.0f) << n;
}

TEST(RegridPositions, HalvedSpreadsPutEveryOtherPointBetweenTwoOldOnes) {
  const auto r = regridpositions(allspreads(100), allspreads(50));
  for (int n = 0; n <= 31; ++n) EXPECT_EQ(r[static_cast<std::size_t>(n)], 0.5f * n) << n;
}

TEST(RegridPositions, AnUnchangedAxisGivesEveryPointItsOwnPositionEvenWithZeroSpreads) {
  Spreads s = allspreads(10);
  for (int k : {0, 4, 5, 30}) s[static_cast<std::size_t>(k)] = 0;  // points 0 and 1, 4 to 6, 30 and 31 coincide
  const auto r = regridpositions(s, s);
  for (int n = 0; n <= 31; ++n) EXPECT_EQ(r[static_cast<std::size_t>(n)], static_cast<float>(n)) << n;
}

TEST(RegridPositions, AZeroSpreadGivesADefinedPositionWithinTheAxis) {
  struct Case {
    const char* what;
    Spreads oldspreads, newspreads;
  };
  Spreads zerofifth = allspreads(10);
  zerofifth[4] = 0;  // old points 4 and 5 both at 40
  Spreads zerolast = allspreads(10);
  zerolast[30] = 0;  // old points 30 and 31 both at 300
  Spreads shifted = allspreads(10);
  shifted[0] = 5;  // every new point 5 lower
  const Case cases[] = {
      {"a new point on a doubled old point", zerofifth, allspreads(10)},
      {"a doubled last old point", zerolast, allspreads(10)},
      {"shifted onto a doubled last point", zerolast, shifted},
      {"an old axis all at 0", allspreads(0), allspreads(10)},
      {"both axes all at 0", allspreads(0), allspreads(0)},
  };
  for (const Case& c : cases) {
    const auto r = regridpositions(c.oldspreads, c.newspreads);
    for (int n = 0; n <= 31; ++n) {
      const float p = r[static_cast<std::size_t>(n)];
      EXPECT_TRUE(std::isfinite(p) && p >= 0.0f && p <= 31.0f) << c.what << ", point " << n << ": " << p;
      if (n > 0) {
        EXPECT_GE(p, r[static_cast<std::size_t>(n - 1)]) << c.what << ", point " << n;
      }
    }
  }
  const auto fifth = regridpositions(zerofifth, allspreads(10));
  EXPECT_EQ(fifth[3], 3.0f);
  EXPECT_EQ(fifth[4], 4.0f) << "new point 4 (40) takes the doubled old point nearest its own number";
  EXPECT_EQ(fifth[5], 6.0f) << "new point 5 (50) is old point 6";
  EXPECT_EQ(fifth[30], 31.0f);
  EXPECT_EQ(fifth[31], 31.0f) << "beyond the old axis";
  const auto last = regridpositions(zerolast, allspreads(10));
  EXPECT_EQ(last[30], 30.0f);
  EXPECT_EQ(last[31], 31.0f) << "310 lies beyond the old axis";
  EXPECT_EQ(regridpositions(allspreads(0), allspreads(10))[1], 31.0f);
}

TEST(RegridRead, WholePositionsReadTheirCellsExactlyTheLastPointIncluded) {
  RecordingPrompts prompts;
  maps model(prompts);
  model.setdata(0, 30, 31, 0, false);
  model.setdata(0, 31, 30, 0, false);
  model.setdata(0, 31, 31, 8000, false);
  model.setdata(0, 30, 30, 0, false);
  EXPECT_EQ(regridread(model, 0, 31.0f, 31.0f), 8000.0f);
  EXPECT_LT(model.interpdatabyte(0, 31.0f, 31.0f), 8000.0f) << "the model's own reading stops at 30.999";
  EXPECT_EQ(regridread(model, 0, 30.5f, 31.0f), 4000.0f);
  EXPECT_EQ(regridread(model, 0, 40.0f, 31.0f), 8000.0f) << "beyond the grid reads the edge";
  model.setdata(5, 7, 9, 77, false);
  EXPECT_EQ(regridread(model, 5, 7.0f, 9.0f), 77.0f);
}

// --- Re-sampling the maps ------------------------------------------------------------------------------------------

class Respread : public ::testing::Test {
 protected:
  Respread() { fillmaps(model, 17); }
  RecordingPrompts prompts;
  maps model{prompts};
  maps scratch{prompts};
};

TEST_F(Respread, UnchangedSpreadsChangeNoCellOfAnyMap) {
  Spreads load = allspreads(24);
  load[3] = 0;
  load[30] = 0;
  const Spreads rpm = allspreads(100);
  // Map 0's last two points far apart, where a reading at 30.999 would move the last cell.
  for (int y = 0; y < 32; ++y) {
    model.setdata(0, 30, y, 0, false);
    model.setdata(0, 31, y, 8000, false);
    model.setdata(0, y, 30, 8000, false);
    model.setdata(0, y, 31, 0, false);
  }
  std::array<Grid, regridmaps> before{};
  for (int map = 0; map < regridmaps; ++map) before[static_cast<std::size_t>(map)] = grid(model, map);
  respreadmaps(model, scratch, MapGuards{}, {load, rpm, load, rpm});
  for (int map = 0; map < regridmaps; ++map) EXPECT_EQ(grid(model, map), before[static_cast<std::size_t>(map)]) << map;
  EXPECT_TRUE(model.getchange(0, 31, 31)) << "every re-gridded cell is marked changed";
  EXPECT_TRUE(model.getchange(23, 0, 0));
  EXPECT_FALSE(model.getchange(24, 0, 0)) << "the 2-D maps are not touched";
}

TEST_F(Respread, HalvedRpmSpreadsReadEachMapBeforeWritingIt) {
  // New rpm point x lies at old point x / 2: a map written while it is read would blend cells already replaced.
  std::array<Grid, regridmaps> before{};
  for (int map = 0; map < regridmaps; ++map) before[static_cast<std::size_t>(map)] = grid(model, map);
  const Spreads load = allspreads(20);
  respreadmaps(model, scratch, MapGuards{}, {load, allspreads(100), load, allspreads(50)});
  for (int map = 0; map < regridmaps; ++map) {
    const Grid& old = before[static_cast<std::size_t>(map)];
    for (int x = 0; x < 32; ++x) {
      for (int y = 0; y < 32; ++y) {
        const auto cell = [&old, y](int i) { return old[static_cast<std::size_t>(i)][static_cast<std::size_t>(y)]; };
        const double expected = x % 2 == 0 ? cell(x / 2) : roundhalfeven((cell(x / 2) + cell(x / 2 + 1)) / 2.0);
        ASSERT_EQ(model.getdata(map, x, y), expected) << "map " << map << " (" << x << ", " << y << ")";
      }
    }
  }
  EXPECT_EQ(grid(scratch, 7), grid(model, 7)) << "the scratch model keeps the re-sampled maps";
}

TEST_F(Respread, MapsOverThrottleFollowOnlyTheRpmAxis) {
  const auto& both = startuptables().regridboth;
  std::array<Grid, regridmaps> before{};
  for (int map = 0; map < regridmaps; ++map) before[static_cast<std::size_t>(map)] = grid(model, map);
  // Doubled rpm and load spreads: new (x, y) reads old (2x, 2y) on both axes, old (2x, y) over throttle.
  respreadmaps(model, scratch, MapGuards{}, {allspreads(20), allspreads(50), allspreads(40), allspreads(100)});
  int throttlemaps = 0;
  for (int map = 0; map < regridmaps; ++map) {
    const Grid& old = before[static_cast<std::size_t>(map)];
    const bool alongload = both[static_cast<std::size_t>(map)];
    throttlemaps += alongload ? 0 : 1;
    for (int x = 0; x <= 15; ++x) {
      for (int y = 0; y <= 15; ++y) {
        const int oldy = alongload ? 2 * y : y;
        ASSERT_EQ(model.getdata(map, x, y), old[static_cast<std::size_t>(2 * x)][static_cast<std::size_t>(oldy)])
            << "map " << map << " (" << x << ", " << y << ")";
      }
    }
    // Past the old axis every rpm point takes the last one.
    EXPECT_EQ(model.getdata(map, 20, 3), old[31][static_cast<std::size_t>(alongload ? 6 : 3)]) << map;
  }
  EXPECT_EQ(throttlemaps, 10);
  EXPECT_FALSE(both[2]);
  EXPECT_TRUE(both[0]);
}

// Maps with a guarded row stay as they were, not even read into the scratch model; every other map re-grids as it
// would with no guard at all.
TEST_F(Respread, AMapWithAGuardedRowStaysOnItsOldGrid) {
  maps unguarded{prompts};
  maps spare{prompts};
  fillmaps(unguarded, 17);
  MapGuards guards;
  guards.guard(8, 0, 0, 15);                                  // the base timing table's first load rows
  for (int map = 16; map <= 23; ++map) guards.guard(map, 3, 31, 31);  // one row of a whole group
  guards.guard(40, 1, 0, 0);                                  // a 2-D map, not re-gridded anyway
  std::array<Grid, regridmaps> before{};
  for (int map = 0; map < regridmaps; ++map) before[static_cast<std::size_t>(map)] = grid(model, map);
  for (int x = 0; x < 32; ++x)
    for (int y = 0; y < 32; ++y) scratch.setdata(8, x, y, 77, false);
  const SpreadChange change{allspreads(20), allspreads(50), allspreads(40), allspreads(60)};

  EXPECT_EQ(respreadmaps(model, scratch, guards, change), (std::vector<int>{8, 16, 17, 18, 19, 20, 21, 22, 23}));
  respreadmaps(unguarded, spare, MapGuards{}, change);
  for (int map = 0; map < regridmaps; ++map) {
    const bool kept = map == 8 || map >= 16;
    EXPECT_EQ(grid(model, map), kept ? before[static_cast<std::size_t>(map)] : grid(unguarded, map)) << map;
    EXPECT_EQ(model.getchange(map, 0, 31), !kept) << map;
    EXPECT_EQ(model.getchange(map, 31, 0), !kept) << map;
  }
  EXPECT_NE(grid(model, 11), before[11]) << "the spreads did move the open maps";
  for (int x = 0; x < 32; ++x)
    for (int y = 0; y < 32; ++y) ASSERT_EQ(scratch.getdata(8, x, y), 77) << x << " " << y;
}

// --- Closing the settings editor -----------------------------------------------------------------------------------

class ExitSpreads : public ::testing::Test {
 protected:
  ExitSpreads() {
    rig.link.sethost(&online);
    fillmaps(rig.mainmaps, 5);
    loadentryspreads(rig.state, rig.mainmaps);
    rpm1 = rig.raw(110, spreadcellnumber(SpreadAxis::rpm, 1));
  }
  ~ExitSpreads() override { rig.link.sethost(nullptr); }
  void changerpm1(int by) { rig.setraw(110, spreadcellnumber(SpreadAxis::rpm, 1), rpm1 + by); }

  EditorRig rig;
  test::OnlineChanges online;  // the menus follow what the link reports
  int rpm1 = 0;
};

TEST_F(ExitSpreads, UnchangedOrChangedBackAsksNothing) {
  const Grid before = grid(rig.mainmaps, 8);
  EXPECT_FALSE(checkexitspreads(rig.context));
  changerpm1(5);
  changerpm1(0);
  EXPECT_FALSE(checkexitspreads(rig.context));
  EXPECT_TRUE(rig.prompts.records.empty());
  EXPECT_EQ(grid(rig.mainmaps, 8), before);
  EXPECT_FALSE(rig.mainmaps.getchange(8, 0, 0));
  EXPECT_EQ(rig.state.exitrpmspread, rig.state.entryrpmspread);
}

TEST_F(ExitSpreads, OfflineTheQuestionLeadsToTheRegridAndNothingMore) {
  changerpm1(-1);
  const Grid before = grid(rig.mainmaps, 0);
  EXPECT_TRUE(checkexitspreads(rig.context));
  ASSERT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_EQ(rig.prompts.records[0].text,
            QStringLiteral("The load or rpm spread has changed, do you wish to recalculate the affected 3D maps?"));
  EXPECT_EQ(rig.prompts.records[0].buttons, Prompts::Buttons::YesNo);
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::None);
  EXPECT_NE(grid(rig.mainmaps, 0), before);
  EXPECT_TRUE(rig.mainmaps.getchange(0, 0, 0));
  EXPECT_TRUE(online.changes.empty());
  EXPECT_EQ(rig.link.transferqueue().records[0].op, 0) << "nothing is queued for the ECU";
  EXPECT_EQ(rig.state.exitrpmspread[0], rpm1 - 1);
}

TEST_F(ExitSpreads, OnlineYesGoesOfflineFirstAndAsksForTheDownload) {
  rig.connect();
  ASSERT_TRUE(rig.state.online);
  changerpm1(1);
  EXPECT_TRUE(checkexitspreads(rig.context));
  EXPECT_EQ(
      rig.prompts.messages(),
      (std::vector<QString>{QStringLiteral("The load or rpm spread has changed, do you wish to go offline and "
                                           "recalculate the affected 3D maps?"),
                            QStringLiteral("The affected 3D maps have changed. You now need to download to the ECU")}));
  EXPECT_EQ(rig.prompts.records[1].icon, Prompts::Icon::Information);
  EXPECT_FALSE(rig.state.online);
  EXPECT_FALSE(rig.port.isopen());
  EXPECT_EQ(online.changes, (std::vector<bool>{true, false})) << "connected, then offline once";
  EXPECT_TRUE(rig.mainmaps.getchange(12, 31, 31));
}

TEST_F(ExitSpreads, NoKeepsTheMapsAndTheLink) {
  rig.connect();
  changerpm1(1);
  const Grid before = grid(rig.mainmaps, 19);
  rig.prompts.answers = {Prompts::Answer::No};
  EXPECT_FALSE(checkexitspreads(rig.context));
  EXPECT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_TRUE(rig.state.online);
  EXPECT_EQ(online.changes, std::vector<bool>{true}) << "connected only";
  EXPECT_EQ(grid(rig.mainmaps, 19), before);
  EXPECT_FALSE(rig.mainmaps.getchange(19, 0, 0));
  EXPECT_EQ(rig.raw(110, spreadcellnumber(SpreadAxis::rpm, 1)), rpm1 + 1) << "the spread stays as edited";
  rig.link.closeport();
}

// The maps a password kept on their old grid are named once after the re-grid, before the download advice, which
// goes when no map changed at all.
TEST_F(ExitSpreads, TheMapsAPasswordKeptAreNamedAfterTheRegrid) {
  const QString question = QStringLiteral(
      "The load or rpm spread has changed, do you wish to go offline and recalculate the affected 3D maps?");
  const struct {
    const char* what;
    std::vector<std::pair<int, int>> guarded;  // maps first to last, one row each
    bool online;
    std::vector<QString> messages;
  } cases[] = {
      {"offline, one map",
       {{8, 8}},
       false,
       {QStringLiteral("The load or rpm spread has changed, do you wish to recalculate the affected 3D maps?"),
        QStringLiteral("Portions of these maps are password protected, so they were not recalculated: Base timing "
                       "table [RPM, LOAD]")}},
      {"online, two maps",
       {{1, 1}, {20, 20}},
       true,
       {question,
        QStringLiteral("Portions of these maps are password protected, so they were not recalculated: Anti-lag fuel "
                       "trim [RPM, LOAD], Programmed MAP [RPM, TPS]"),
        regriddownloadmessage}},
      {"online, every map", {{0, 23}}, true, {question, regridguardedmessage.arg(QString())}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EditorRig r;
    fillmaps(r.mainmaps, 5);
    loadentryspreads(r.state, r.mainmaps);
    for (const auto& [first, last] : c.guarded)
      for (int map = first; map <= last; ++map) r.state.guards.guard(map, 0, 4, 4);
    if (c.online) {
      r.connect();
      ASSERT_TRUE(r.state.online);
    }
    r.setraw(110, spreadcellnumber(SpreadAxis::rpm, 1), rpm1 + 3);
    EXPECT_TRUE(checkexitspreads(r.context));
    std::vector<QString> messages = r.prompts.messages();
    if (c.guarded.front().second == 23) {
      // Every name, in map order.
      ASSERT_EQ(messages.size(), 2u);
      const QString names = messages[1].mid(regridguardedmessage.indexOf(QLatin1Char('%')));
      EXPECT_EQ(names.count(QStringLiteral("[RPM, ")), 24);
      EXPECT_TRUE(names.startsWith(QStringLiteral("Base fuel table [RPM, LOAD], Anti-lag fuel trim"))) << names.toStdString();
      messages[1] = regridguardedmessage.arg(QString());
    }
    EXPECT_EQ(messages, c.messages);
    for (std::size_t k = 1; k < r.prompts.records.size(); ++k)
      EXPECT_EQ(r.prompts.records[k].icon, Prompts::Icon::Information);
    EXPECT_FALSE(r.state.online);
  }
}

}  // namespace
}  // namespace ostrel::test
