// The CSV log export: header, times spread over each second, values, and a reader of its own reading it back.
#include "logger/csvexport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "common/testsupport.h"
#include "ecusim/simport.h"
#include "link/eculink.h"
#include "logger/progressjobs.h"
#include "loggerfixture.h"
#include "platform/numbers.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

class Csv : public ::testing::Test, protected test::LogParts {
 protected:
  LogColumns columns() const { return logcolumns(state, tables, model, logvariables(tables), 2); }
  QList<QByteArray> lines() const {
    QList<QByteArray> l = CsvExport::exporttext(store, columns()).split('\n');
    if (!l.isEmpty() && l.back().isEmpty()) l.removeLast();
    return l;
  }
  // The time field of every data line.
  QStringList times() const {
    QStringList t;
    const QList<QByteArray> all = lines();
    for (qsizetype i = 1; i < all.size(); ++i) t << QString::fromLatin1(all[i].left(all[i].indexOf(',')));
    return t;
  }
};

TEST_F(Csv, HeaderOnlyForAStoreThatRecordedNothing) {
  const QByteArray text = CsvExport::exporttext(store, columns());
  EXPECT_EQ(text,
            "timestamp, coolant temp (C), AFR/LMBD (ratio), engine speed (rpm), tps (%), boost (kPa), vehicle speed "
            "(kph), knock ramp (V), air temp (C), duty cycle (%), knock ret. (deg.), wastegate PID (%), cell Y (n), "
            "cell X (n), fuel pulse (ms), vacuum (kPa), advance (deg.)\r\n");
}

TEST_F(Csv, TenSamplesASecondShortlyAfterMidnight) {
  test::record(store, 100, [](int s) { return s / 10; });
  const QStringList t = times();
  ASSERT_EQ(t.size(), 99);  // samples 1 to 99; sample 100 is not recorded
  // Samples 1 to 9 share their second: nine steps of 1000 / 9, within the spacing of single precision.
  const double expected[] = {0, 111.1111, 222.2222, 333.3333, 444.4444, 555.5556, 666.6667, 777.7778, 888.8889};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(parsenumber(t[i]).value(), expected[i], 0.0005) << i;
  EXPECT_EQ(t[0], "0");
  EXPECT_EQ(t[1], "111.1111");
  for (int s = 10; s <= 19; ++s) EXPECT_EQ(t[s - 1], QString::number(1000 + 100 * (s - 10))) << s;
  EXPECT_EQ(t[98], "9900");
  const QList<QByteArray> all = lines();
  EXPECT_TRUE(all[1].endsWith('\r'));
  EXPECT_EQ(all[1].count(','), 16);
  EXPECT_TRUE(all[1].contains(", ")) << all[1].constData();
}

TEST_F(Csv, AtTenOClockTheSpacingIsThatOfSinglePrecision) {
  test::record(store, 100, [](int s) { return 36000 + s / 10; });
  const QStringList t = times();
  ASSERT_EQ(t.size(), 99);
  EXPECT_EQ(t.mid(0, 9), (QStringList{"0", "112", "224", "336", "448", "560", "672", "784", "896"}));
  EXPECT_EQ(t[9], "1000");  // every new second starts exactly
  EXPECT_EQ(t[89], "9000");
}

TEST_F(Csv, SecondsWithManyOrOneSample) {
  // Sample 0 alone in second 0; 30 samples in second 1; one in second 2; then two in second 3.
  const auto second = [](int s) { return s == 0 ? 0 : s <= 30 ? 1 : s == 31 ? 2 : 3; };
  test::record(store, 34, second);
  const QStringList t = times();
  ASSERT_EQ(t.size(), 33);
  EXPECT_EQ(t[0], "1000");
  EXPECT_EQ(t[1], "1038.462");  // a look-ahead of 25 gives a step of 1000 / 26
  EXPECT_EQ(t[25], "1961.539");
  EXPECT_EQ(t[26], "2000");  // the 27th to 30th spill into the next second
  EXPECT_EQ(t[29], "2115.385");
  EXPECT_EQ(t[30], "2000");  // a second with one sample: its whole-second time
  EXPECT_EQ(t[31], "3000");
  EXPECT_EQ(t[32], "3500");
}

TEST_F(Csv, AnUnrecordedStampEndsTheLinesForGood) {
  test::record(store, 40, [](int s) { return 100 + s / 20; });
  // Samples recorded after a gap (as after the store was restored from a raw log) are not written.
  store.setlogtimestamp(45, QTime(0, 1, 50));
  EXPECT_EQ(times().size(), 39);
}

TEST_F(Csv, AFullStoreKeepsItsTailAndTimesGrowPastMidnight) {
  // Ten samples a second from 23:30:00, so the log runs past midnight.
  const int start = 23 * 3600 + 30 * 60;
  test::record(store, logsamplecount, [&](int s) { return (start + s / 10) % 86400; });
  const QStringList t = times();
  ASSERT_EQ(t.size(), logsamplecount - 1);
  // Whole seconds are exact; within a second the times carry the spacing of single precision (8 ms here).
  EXPECT_EQ(t[17990 - 1], "1799000");  // the last second before midnight
  EXPECT_NEAR(parsenumber(t[17999 - 1]).value(), 1799900, 40);
  EXPECT_EQ(t[18000 - 1], "1800000");  // midnight
  EXPECT_EQ(t[47990 - 1], "4799000");
  EXPECT_NEAR(parsenumber(t.back()).value(), 4799900, 40);  // sample 47,999: no line lost at the end
  for (qsizetype i = 1; i < t.size(); ++i) ASSERT_GE(parsenumber(t[i]).value(), parsenumber(t[i - 1]).value()) << i;
}

TEST_F(Csv, OnlyAJumpOfMoreThanTwelveHoursCrossesMidnight) {
  // One sample a second; the clock set back steps the times back with it, midnight counts on, and a clock set back
  // across midnight takes the day off again.
  struct Case {
    const char* name;
    std::vector<int> stamps;       // seconds of the day of samples 0, 1, ...
    std::vector<double> expected;  // the times of samples 1, 2, ...
  };
  const int ten = 10 * 3600, noon = 12 * 3600, lastsecond = 86399;
  const Case cases[] = {
      {"2 s step back", {ten, ten + 1, ten + 2, ten + 3, ten + 1, ten + 2}, {1000, 2000, 3000, 1000, 2000}},
      {"1 h step back", {ten, ten + 1, ten + 2, ten + 2 - 3600, ten + 3 - 3600}, {1000, 2000, -3598000, -3597000}},
      {"midnight", {lastsecond - 1, lastsecond, 0, 1}, {1000, 2000, 3000}},
      {"a fall of 12 h is a step back", {noon, noon + 1, 1}, {1000, -43199000}},
      {"a fall of 12 h and a second is midnight", {noon, noon + 2, 1}, {2000, 43201000}},
      {"1 h step back across midnight", {1800, 1801, 84602, 84603}, {1000, -3598000, -3597000}},
      {"a rise of 12 h is the clock moving on", {1, 2, noon + 2}, {1000, 43201000}},
      {"a rise of 12 h and a second is a step back across midnight", {1, 2, noon + 3}, {1000, -43198000}},
      {"midnight, then set back across it", {lastsecond, 0, 1, lastsecond - 3597}, {1000, 2000, -3597000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store.resetlogsamples();
    test::record(store, static_cast<int>(c.stamps.size()),
                 [&](int s) { return c.stamps[static_cast<std::size_t>(s)]; });
    const QStringList t = times();
    ASSERT_EQ(t.size(), static_cast<qsizetype>(c.expected.size()));
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(parsenumber(t[static_cast<qsizetype>(i)]).value(), c.expected[i]) << "sample " << i + 1;
  }
}

TEST_F(Csv, ValuesHaveTwoDecimalsAndTheAirFuelRatioIsTheFuels) {
  test::record(
      store, 2, [](int) { return 5; }, [](int, int c) { return c == 1   ? 100
                                                               : c == 0 ? 0
                                                                        : 3; });
  const QList<QByteArray> fields = lines()[1].trimmed().split(',');
  ASSERT_EQ(fields.size(), 17);
  EXPECT_EQ(fields[1], " -20.00");   // coolant: 0 x 1 - 20
  EXPECT_EQ(fields[2], " 14.70");    // AFR: raw 100 x 0.147
  EXPECT_EQ(fields[3], " 150.00");   // engine speed
  EXPECT_EQ(fields[16], " -62.50");  // advance: 3 x 0.5 - 64
}

TEST(CsvTime, GeneralFormWithoutExponent) {
  const struct {
    float time;
    const char* text;
  } cases[] = {{0.0f, "0"},
               {111.11111f, "111.1111"},
               {1000.0f, "1000"},
               {-500.0f, "-500"},
               {9999999.0f, "9999999"},
               {12345678.0f, "12345680"},
               {86400000.0f, "86400000"},
               {0.5f, "0.5"}};
  for (const auto& c : cases) EXPECT_EQ(csvtimetext(c.time), c.text) << c.time;
}

// The export job writes the file; Python's own CSV reader reads it back.
TEST_F(Csv, AnIndependentReaderReadsTheSameNumbers) {
  const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
  if (python.isEmpty()) GTEST_SKIP() << "python3 is not installed";
  test::TempInstallFolder folder;
  test::record(
      store, 500, [](int s) { return 7200 + s / 8; }, [](int s, int c) { return (s * 3 + c * 17) & 0xFF; });
  RecordingPrompts prompts;
  ecusim::EcuSimulator sim;
  ecusim::SimPort port{sim};
  EcuLink link{state, model, modelprompts, port};
  ProgressJobs jobs(state, model, tables, store, link, prompts);
  const QString path = folder.file(QStringLiteral("log.csv"));
  prompts.paths = {path};
  state.progressjob = 2;
  jobs.show();
  for (int k = 0; k < 20 && jobs.isopen(); ++k) jobs.tick();
  ASSERT_EQ(jobs.outcome(), ProgressJobs::Outcome::done);

  const QString script = QStringLiteral(
      "import csv, sys\n"
      "with open(sys.argv[1], newline='') as f:\n"
      "    rows = list(csv.reader(f, skipinitialspace=True))\n"
      "print(len(rows[0]), rows[0][0], rows[0][3])\n"
      "for row in rows[1:]:\n"
      "    print(' '.join(repr(float(x)) for x in row))\n");
  QProcess process;
  process.start(python, {QStringLiteral("-c"), script, path});
  ASSERT_TRUE(process.waitForFinished(30000));
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
  const QList<QByteArray> out = process.readAllStandardOutput().trimmed().split('\n');
  ASSERT_EQ(out.size(), 1 + 499);
  EXPECT_EQ(out[0], "17 timestamp engine speed (rpm)");
  const LogColumns cols = columns();
  for (int s = 1; s < 500; ++s) {
    const QList<QByteArray> numbers = out[s].split(' ');
    ASSERT_EQ(numbers.size(), 17) << s;
    // The samples of a second spread evenly over it (sample 0 only gives the origin; the last second holds four).
    const int second = s / 8, first = second == 0 ? 1 : 8 * second, n = std::min(8 * second + 8, 500) - first;
    const double time = 1000.0 * second + (s - first) * 1000.0 / n;
    EXPECT_NEAR(numbers[0].toDouble(), time, 2.0) << s;
    for (int c = 0; c < 16; ++c) {
      const double value = cols[static_cast<std::size_t>(c)].scale.value(store.getlogdata(s, c));
      EXPECT_NEAR(numbers[c + 1].toDouble(), value, 0.005 + 1e-9) << s << "/" << c;
    }
  }
}

}  // namespace
