#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/testrig.h"
#include "livewindows/comstats.h"
#include "livewindows/frmcomerrors.h"
#include "platform/programstate.h"

namespace ostrel::test {
namespace {

TEST(ComStats, FrequencySmoothsTheFramesPerTickWithinFiveAndAHundred) {
  ComStatsMemory memory;
  ComStats stats(memory);
  const Preferences prefs;
  struct Step {
    std::int32_t framessent;
    const char* shown;
  };
  // 15 frames a tick: 6, then 6 x 0.8 + 6, ... towards 30 Hz; no traffic falls back but never shows below 5.
  const Step steps[] = {{15, "6.0 Hz"}, {30, "10.8 Hz"}, {45, "14.6 Hz"}, {45, "11.7 Hz"}, {45, "9.4 Hz"},
                        {45, "7.5 Hz"}, {45, "6.0 Hz"},  {45, "5.0 Hz"},  {45, "5.0 Hz"}};
  for (const Step& s : steps) EXPECT_EQ(stats.tick(s.framessent, 0, 64, prefs).frequency, s.shown) << s.framessent;
  EXPECT_FLOAT_EQ(memory.frequency, 5.0f) << "the limit holds the value itself, not only its text";

  std::int32_t sent = 45;
  for (int i = 0; i < 60; ++i) stats.tick(sent += 15, 0, 64, prefs);
  EXPECT_EQ(stats.tick(sent += 15, 0, 64, prefs).frequency, "30.0 Hz");
  EXPECT_EQ(stats.tick(sent += 1000, 0, 64, prefs).frequency, "100.0 Hz");
}

TEST(ComStats, FrequencyCarriesOverToTheNextOpening) {
  ComStatsMemory memory;
  const Preferences prefs;
  ComStats(memory).tick(40, 0, 64, prefs);
  EXPECT_EQ(memory.lastframecount, 40);
  // The next opening counts every frame since the last tick of the previous one as one tick's worth.
  EXPECT_EQ(ComStats(memory).tick(140, 0, 64, prefs).frequency, "52.8 Hz");
}

TEST(ComStats, YieldIsTheShareWithoutErrorsLimitedToAHundredPercent) {
  struct Case {
    std::int32_t sent, errors;
    const char* shown;  // null: the label keeps its text
  };
  const Case cases[] = {{1000, 50, "95.0 %"}, {3, 1, "66.7 %"}, {100000, 0, "100.0 %"},
                        {10, 30, "0.0 %"},    {0, 0, nullptr},  {0, 12, nullptr}};
  for (const Case& c : cases) {
    const auto text = ComStats::yieldtext(c.sent, c.errors);
    if (c.shown) {
      ASSERT_TRUE(text.has_value()) << c.sent;
      EXPECT_EQ(*text, c.shown) << c.sent << " " << c.errors;
    } else {
      EXPECT_FALSE(text.has_value()) << c.sent;
    }
  }
}

TEST(ComStats, VersionAndAutoSyncTexts) {
  EXPECT_EQ(ComStats::firmwaretext(64), "V2.64, correct version");
  EXPECT_EQ(ComStats::firmwaretext(63), "V2.63, incorrect");
  EXPECT_EQ(ComStats::firmwaretext(0), "V2.0, incorrect");
  Preferences prefs;
  prefs.autosync = false;
  prefs.autosyncupload = true;
  EXPECT_EQ(ComStats::autosynctext(prefs), "Auto-sync disabled");
  prefs.autosync = true;
  prefs.autosyncupload = false;
  EXPECT_EQ(ComStats::autosynctext(prefs), "Auto-sync enabled, sync by download");
  prefs.autosyncupload = true;
  EXPECT_EQ(ComStats::autosynctext(prefs), "Auto-sync enabled, sync by upload");
}

class ComErrorsWindow : public ::testing::Test {
 protected:
  Rig rig;
  ComStatsMemory memory;
};

TEST_F(ComErrorsWindow, ShowsTheLinkAndLeavesTheSelectorAlone) {
  rig.state.livemode = 2;
  rig.state.preferences.autosync = true;
  rig.link.logerror(QStringLiteral("Bad IBC, IBC = 0"));
  frmComErrors window(rig.state, rig.link, memory);
  EXPECT_EQ(window.windowTitle(), "Com stats");
  EXPECT_EQ(window.Label[1]->text(), "Frequency:");
  EXPECT_EQ(window.Label[5]->text(), "ECU firmware:");
  EXPECT_EQ(window.Label[8]->text(), "Advanced:");
  EXPECT_TRUE(window.Text1->toPlainText().endsWith("[TRYCOMM], Bad IBC, IBC = 0")) << "the log is there on loading";

  rig.connect();
  rig.tick(20);
  window.Timer1_Timer();
  EXPECT_EQ(window.Label[6]->text(), "V2.64, correct version");
  EXPECT_EQ(window.Label[7]->text(), "Auto-sync enabled, sync by download");
  EXPECT_TRUE(window.Label[4]->text().endsWith(" %"));
  EXPECT_EQ(rig.state.livemode, 2);
}

TEST_F(ComErrorsWindow, ClearEmptiesTheLogAtTheNextTickAndResetRestartsTheCounters) {
  rig.connect();
  rig.tick(10);
  rig.link.logerror(QStringLiteral("Bad checksum, EBC = 19, IBC = 0"));
  frmComErrors window(rig.state, rig.link, memory);
  window.Timer1_Timer();
  ASSERT_FALSE(window.Text1->toPlainText().isEmpty());
  window.Command1->click();
  EXPECT_TRUE(rig.link.errlog().empty());
  window.Timer1_Timer();
  EXPECT_TRUE(window.Text1->toPlainText().isEmpty());

  const QString yield = window.Label[4]->text();
  window.mnuResetStats->trigger();
  EXPECT_EQ(rig.link.framessent(), 0);
  EXPECT_EQ(rig.link.errorcount(), 0);
  window.Timer1_Timer();
  EXPECT_EQ(window.Label[4]->text(), yield) << "no frame sent since the reset: the yield keeps its text";
}

TEST_F(ComErrorsWindow, AFullLogShowsItsNewestLinesAndFollowsThemWhenTheLengthStaysTheSame) {
  for (int i = 0; i < EcuLink::errlogmaxlines + 50; ++i) rig.link.logerror(QStringLiteral("Bad IBC, IBC = %1").arg(i));
  frmComErrors window(rig.state, rig.link, memory);
  window.show();
  const int last = EcuLink::errlogmaxlines + 49;
  EXPECT_TRUE(window.Text1->toPlainText().endsWith(QStringLiteral("IBC = %1").arg(last)));
  EXPECT_LE(window.Text1->blockCount(), EcuLink::errlogmaxlines + 1);

  // The link drops its oldest line for each new one: same number of lines, new text.
  rig.link.logerror(QStringLiteral("Bad IBC, IBC = %1").arg(last + 1));
  window.Timer1_Timer();
  EXPECT_TRUE(window.Text1->toPlainText().endsWith(QStringLiteral("IBC = %1").arg(last + 1)));
  const QTextCursor cursor = window.Text1->textCursor();
  EXPECT_TRUE(cursor.atEnd()) << "the newest line is in view";
}

TEST_F(ComErrorsWindow, ExitButtonAndMenuCloseTheWindow) {
  frmComErrors window(rig.state, rig.link, memory);
  window.show();
  window.Command2->click();
  EXPECT_FALSE(window.isVisible());
  window.show();
  window.mnuExit->trigger();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace ostrel::test
