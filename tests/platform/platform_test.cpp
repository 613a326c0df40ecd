#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

#include "common/testsupport.h"
#include "platform/colors.h"
#include "platform/installfolder.h"
#include "platform/numbers.h"
#include "platform/prompts.h"
#include "platform/twips.h"

using namespace ostrel;

TEST(Numbers, RoundsHalvesToEven) {
  struct Case { double in; double out; };
  for (const Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, -0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {7999.5, 8000}}) {
    EXPECT_EQ(roundhalfeven(c.in), c.out) << c.in;
  }
  EXPECT_EQ(roundclamp(255.5, 0, 255), 255);
  EXPECT_EQ(roundclamp(-3, 0, 255), 0);
  EXPECT_EQ(roundclamp(std::nan(""), 0, 255), 0);
  EXPECT_EQ(roundclamp(128.5, 0, 255), 128);
}

TEST(Numbers, FormatsAndParsesInTheCLocaleWhateverTheDefault) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(formatfixed(12.5, 2), "12.50");
  EXPECT_EQ(formatfixed(-0.001, 2), "0.00");
  EXPECT_EQ(formatfixed(3.14159, 0), "3");
  EXPECT_EQ(parsenumber(" 1.25 ").value(), 1.25);
  EXPECT_FALSE(parsenumber("1,25").has_value());
  EXPECT_FALSE(parsenumber("abc").has_value());
}

TEST(Numbers, ParsingRefusesDigitGrouping) {
  // Found by fuzzing: the C locale took grouped digits, so "1,250" (1.25 to a tuner used to a decimal comma) read
  // as 1250.
  for (const char* grouped : {"1,250", "-000,000", "12,345,678", "1,250.5"}) {
    EXPECT_FALSE(parsenumber(QString::fromLatin1(grouped)).has_value()) << grouped;
  }
  struct Case { const char* text; double value; };
  for (const Case c : {Case{"1250", 1250}, {"-0.5", -0.5}, {"1e3", 1000}, {" 12 ", 12}, {"+3", 3}, {"1.", 1}}) {
    ASSERT_TRUE(parsenumber(QString::fromLatin1(c.text)).has_value()) << c.text;
    EXPECT_EQ(*parsenumber(QString::fromLatin1(c.text)), c.value) << c.text;
  }
}

TEST(Numbers, FixedDecimalsRoundHalvesToEven) {
  struct Case { double in; int decimals; const char* out; };
  for (const Case c : {Case{0.5, 0, "0"}, {1.5, 0, "2"}, {2.5, 0, "2"}, {-2.5, 0, "-2"}, {-0.5, 0, "0"},
                       {0.125, 2, "0.12"}, {0.375, 2, "0.38"}, {7.25, 1, "7.2"}, {2.5001, 0, "3"}}) {
    EXPECT_EQ(formatfixed(c.in, c.decimals), c.out) << c.in << " with " << c.decimals;
  }
  // Values too large to scale are written as they are.
  EXPECT_TRUE(formatfixed(1e307, 2).endsWith(".00"));
}

TEST(Numbers, RegionalDecimalsGroupingAndSeparators) {
  const QLocale c = QLocale::c();
  const QLocale german(QLocale::German, QLocale::Germany);
  const QLocale indian(QLocale::English, QLocale::India);
  constexpr Grouping grouped = Grouping::grouped, none = Grouping::none;
  struct Case { double in; int decimals; Grouping grouping; const QLocale& locale; const char* out; };
  for (const Case& k : {Case{1234.5, 1, grouped, c, "1,234.5"},  // asked for, also where the locale leaves it out
                        {-1234567.0, 0, grouped, c, "-1,234,567"},
                        {123.0, 0, grouped, c, "123"},
                        {1234.5, 1, grouped, german, "1.234,5"},
                        {1234.5, 1, none, german, "1234,5"},
                        {1234567.0, 0, grouped, indian, "12,34,567"},  // as the locale groups
                        {0.125, 2, none, c, "0.12"},                  // halves to even
                        {-0.125, 2, none, german, "-0,12"},
                        {0.375, 2, none, german, "0,38"},
                        {2.5, 0, grouped, german, "2"},
                        {-2.5, 0, grouped, german, "-2"},
                        {-0.004, 2, grouped, german, "0,00"},  // no "-0"
                        {1234.125, 2, grouped, german, "1.234,12"},
                        {0.5, 1, none, german, "0,5"}}) {
    EXPECT_EQ(formatregional(k.in, k.decimals, k.grouping, k.locale).toStdString(), k.out)
        << k.in << " with " << k.decimals << " in " << k.locale.name().toStdString();
  }
  // Without a locale, the user's.
  const QLocale before;
  QLocale::setDefault(german);
  EXPECT_EQ(formatregional(-1234.5, 1, grouped), QStringLiteral("-1.234,5"));
  QLocale::setDefault(before);
}

TEST(Colors, ConvertsBgrBothWays) {
  const QColor c = bgrtocolor(0x00336699);
  EXPECT_EQ(c.red(), 0x99);
  EXPECT_EQ(c.green(), 0x66);
  EXPECT_EQ(c.blue(), 0x33);
  EXPECT_EQ(colortobgr(c), 0x00336699u);
  EXPECT_EQ(colortobgr(Qt::red), 0x000000FFu);
}

TEST(Twips, FifteenToAPixel) {
  EXPECT_EQ(twipstopixels(2750), 183);
  EXPECT_EQ(twipstopixels(15), 1);
  EXPECT_EQ(pixelstotwips(200), 3000);
}

TEST(InstallFolder, SeedsMissingFilesAndKeepsTheUsersOwn) {
  test::TempInstallFolder folder;
  EXPECT_EQ(installfolder(), folder.path());
  ASSERT_TRUE(QFile::exists(folder.file("comports.txt")));
  QFile::remove(folder.file("comports.txt"));
  EXPECT_GE(seedinstallfolder(folder.path()), 1);
  ASSERT_TRUE(QFile::exists(folder.file("comports.txt")));
  {
    QFile f(folder.file("comports.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("/dev/pts/9\n");
  }
  EXPECT_EQ(seedinstallfolder(folder.path()), 0);
  QFile f(folder.file("comports.txt"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("/dev/pts/9\n"));
  EXPECT_EQ(installpath("comports.txt"), folder.file("comports.txt"));
}

TEST(Prompts, RecordingFakeAnswersFromItsScript) {
  RecordingPrompts p;
  p.answers.push_back(Prompts::Answer::No);
  EXPECT_EQ(p.message("Disconnect?", Prompts::Icon::Question, Prompts::Buttons::YesNo), Prompts::Answer::No);
  EXPECT_EQ(p.message("Done", Prompts::Icon::Information), Prompts::Answer::Ok);
  EXPECT_EQ(p.openfilename("Open", "*.s26", ""), QString());
  ASSERT_EQ(p.messages().size(), 2u);
  EXPECT_EQ(p.messages()[0], "Disconnect?");
}
