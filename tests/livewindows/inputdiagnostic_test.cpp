#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

#include "calibration/startuptables.h"
#include "common/testrig.h"
#include "livewindows/frminputdiagnostic.h"
#include "livewindows/inputdiagnostic.h"
#include "livewindowsfixture.h"

namespace ostrel::test {
namespace {

using LiveVars = std::array<std::int16_t, 18>;

constexpr int aux1 = 6;  // input 6 takes data byte 0; its level is 128 and its expected low share 64 %

class InputDiagnosticTest : public ::testing::Test {
 protected:
  // Replies in which AUX1 reads low (0) for the first lows and high (200) for the rest of count replies.
  void feedaux1(int count, int lows) {
    for (int i = 0; i < count; ++i)
      diag.reportdata(frameof({{0, static_cast<std::uint8_t>(i < lows ? 0 : 200)}}), vars);
  }

  InputDiagnostic diag{startuptables().diagthreshold, startuptables().diagexpected};
  LiveVars vars{};
};

TEST_F(InputDiagnosticTest, RequestTableAndRowsOnLoading) {
  const RequestTable expected = {
      {{0x6D, 0x90, 0x6D, 0x91, 0x6D, 0x92, 0x6D, 0x93, 0x6D, 0x94, 0x6D, 0x95, 0x6D, 0x96, 0x6D, 0x97},
       {0x6D, 0x98, 0x6D, 0x99, 0x6C, 0x03, 0x6A, 0xF7, 0x02, 0x41, 0x02, 0x41, 0x02, 0x41, 0x02, 0x41}}};
  EXPECT_EQ(InputDiagnostic::addresses(), expected);
  EXPECT_EQ(diag.row(0).sensor, "Sensor:");
  EXPECT_EQ(diag.row(0).feedback2, "high feedback");
  EXPECT_EQ(diag.row(1).sensor, "TPS");
  EXPECT_EQ(diag.row(6).sensor, "KNOCK L+R");
  EXPECT_EQ(diag.row(16).sensor, "AUX10");
  EXPECT_EQ(diag.row(20).sensor, "SYNC");
  EXPECT_EQ(diag.row(20).status, "pending...");
  EXPECT_EQ(diag.row(20).lowtime, "low time");
}

TEST_F(InputDiagnosticTest, SamplesComeFromLiveVariablesDataBytesAndTwoBits) {
  vars[13] = 11;  // TPS
  vars[9] = 22;   // AIR
  vars[10] = 33;  // COOL
  vars[4] = 44;   // 02LEFT
  vars[5] = 55;   // 02RIGHT
  vars[15] = 66;  // KNOCK
  RxFrame frame{};
  for (int k = 0; k < 12; ++k) frame[k] = static_cast<std::uint8_t>(100 + k);
  frame[12] = 0x01;
  frame[13] = 0x02;
  diag.reportdata(frame, vars);
  const int expected[] = {11, 22, 33, 44, 55, 66, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 255, 255};
  for (int i = 0; i < 20; ++i) EXPECT_EQ(diag.sample(i), expected[i]) << i;

  // TRIG is bit 0 of byte 12 only, SYNC bit 1 of byte 13 only.
  frame[12] = 0xFE;
  frame[13] = 0xFD;
  diag.reportdata(frame, vars);
  EXPECT_EQ(diag.sample(18), 0);
  EXPECT_EQ(diag.sample(19), 0);
}

TEST_F(InputDiagnosticTest, ASampleAtTheLevelCountsHigh) {
  diag.reportdata(frameof({{0, 128}}), vars);
  diag.reportdata(frameof({{0, 127}}), vars);
  EXPECT_FLOAT_EQ(diag.highcount(aux1), 1.1f);
  EXPECT_FLOAT_EQ(diag.lowcount(aux1), 1.1f);
}

TEST_F(InputDiagnosticTest, EveryTenthReplyShowsFeedbackMeansAndShares) {
  feedaux1(9, 3);
  EXPECT_EQ(diag.row(aux1 + 1).feedback, "feedback");
  EXPECT_EQ(diag.row(aux1 + 1).lowtime, "low time");
  diag.reportdata(frameof({{0, 200}}), vars);
  EXPECT_EQ(diag.diagcount(), 10);
  const InputDiagnostic::Row& row = diag.row(aux1 + 1);
  EXPECT_EQ(row.feedback, "200");
  EXPECT_EQ(row.feedback1, "0");    // 0.1 / 3.1
  EXPECT_EQ(row.feedback2, "197");  // 1400.1 / 7.1: the high samples with the start value
  EXPECT_EQ(row.lowtime, "31");     // 3.1 x 100 / 10
  EXPECT_EQ(row.hightime, "71");    // 7.1 x 100 / 10
  EXPECT_EQ(diag.row(20).feedback, "0");
}

TEST_F(InputDiagnosticTest, AnInputThatNeverGoesLowFails) {
  feedaux1(1000, 0);
  EXPECT_EQ(diag.diagcount(), 1000);
  const InputDiagnostic::Row& row = diag.row(aux1 + 1);
  EXPECT_EQ(row.lowtime, "0");
  EXPECT_EQ(row.hightime, "100");
  EXPECT_EQ(row.feedback1, "1") << "no low sample: the start values' ratio";
  EXPECT_EQ(row.status, "pending...") << "the judgement comes with the next reply";
  feedaux1(1, 0);
  EXPECT_EQ(row.status, "fail");
}

TEST_F(InputDiagnosticTest, TheReplyAfterTheThousandthJudgesAndStartsTheNextRunUncounted) {
  feedaux1(1000, 640);
  EXPECT_EQ(diag.progress(), 1000);
  diag.reportdata(frameof({{0, 50}}), vars);
  EXPECT_EQ(diag.diagcount(), 0);
  EXPECT_EQ(diag.progress(), 1000) << "the judging reply leaves the bar";
  EXPECT_EQ(diag.row(aux1 + 1).status, "pass");
  EXPECT_EQ(diag.row(aux1 + 1).feedback, "50") << "the feedback column is refreshed on the judging reply";
  EXPECT_EQ(diag.row(aux1 + 1).lowtime, "64") << "the shares are not";
  EXPECT_FLOAT_EQ(diag.lowcount(aux1), 1.01f) << "statistics restart at 0.01 and take the judging reply";
  diag.reportdata(frameof({{0, 50}}), vars);
  EXPECT_EQ(diag.diagcount(), 1);
  EXPECT_EQ(diag.progress(), 1);
}

TEST_F(InputDiagnosticTest, SharesAfterAJudgementCountTheJudgingReplyAndStayWithinAHundred) {
  feedaux1(1001, 0);
  ASSERT_EQ(diag.diagcount(), 0);
  feedaux1(10, 0);
  ASSERT_EQ(diag.diagcount(), 10);
  EXPECT_EQ(diag.row(aux1 + 1).hightime, "100") << "eleven high samples of eleven, not 110 %";
  EXPECT_EQ(diag.row(aux1 + 1).lowtime, "0");
}

TEST_F(InputDiagnosticTest, JudgementPassesStrictlyWithinSevenPoints) {
  struct Case {
    int lows;
    const char* status;
  };
  // Low share (lows + 0.1) / 10 against 64: 57.01 and 70.91 pass, 56.91 and 71.01 fail.
  const Case cases[] = {{570, "pass"}, {569, "fail"}, {709, "pass"}, {710, "fail"}, {640, "pass"}};
  for (const Case& c : cases) {
    InputDiagnostic fresh{startuptables().diagthreshold, startuptables().diagexpected};
    for (int i = 0; i < 1001; ++i)
      fresh.reportdata(frameof({{0, static_cast<std::uint8_t>(i < c.lows ? 0 : 200)}}), vars);
    EXPECT_EQ(fresh.row(aux1 + 1).status, c.status) << c.lows;
  }
}

TEST_F(InputDiagnosticTest, TrigAndSyncJudgeTheShareOfClearBits) {
  // Expected 77 % clear: 770 of 1000 replies with both bits clear pass, 600 fail.
  for (int i = 0; i < 1001; ++i) {
    const bool set = i % 1000 >= 770;
    diag.reportdata(
        frameof({{12, static_cast<std::uint8_t>(set ? 0x01 : 0)}, {13, static_cast<std::uint8_t>(set ? 0x02 : 0)}}),
        vars);
  }
  EXPECT_EQ(diag.row(19).status, "pass");
  EXPECT_EQ(diag.row(20).status, "pass");
}

TEST(InputDiagnosticWindow, HasNoTimerAndMovesWithReplies) {
  Rig rig;
  frmInputDiagnostic window(rig.state, rig.link);
  window.show();
  EXPECT_EQ(window.windowTitle(), "Input diagnostic");
  EXPECT_EQ(rig.state.livemode, 22);
  EXPECT_FALSE(window.Timer1->isActive());
  EXPECT_EQ(window.ProgressBar1->maximum(), 1000);
  EXPECT_EQ(window.sensor[0]->text(), "Sensor:");
  EXPECT_EQ(window.status[5]->text(), "pending...");
  rig.connect();
  rig.tick(60);
  EXPECT_GE(window.ProgressBar1->value(), 10);
  EXPECT_NE(window.lowtime[7]->text(), "low time");
  window.close();
  EXPECT_EQ(rig.state.livemode, 0);
}

}  // namespace
}  // namespace ostrel::test
