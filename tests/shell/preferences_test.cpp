#include "shell/preferences.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/testsupport.h"
#include "platform/prompts.h"
#include "recordingshellhost.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

// Every boolean of the struct in file order, for checks over all of them.
std::vector<bool> flags(const Preferences& p) {
  std::vector<bool> out;
  for (const PreferenceGroup& g : preferencegroups)
    if (g.flag) out.push_back(p.*g.flag);
  return out;
}

}  // namespace

TEST(PreferencesFile, ShippedFileIsSeventeenDigitsAndTheDefaults) {
  const QByteArray shipped = test::readfile(test::sourcepath("data/preferences26.dat"));
  ASSERT_EQ(shipped.size(), 17);
  for (char c : shipped) EXPECT_TRUE(c == '0' || c == '1') << c;
  EXPECT_EQ(preferencesfrombytes(shipped), defaultpreferences());
  EXPECT_EQ(defaultpreferences(), Preferences{});
  EXPECT_EQ(preferencebytes(Preferences{}), shipped);
}

TEST(PreferencesFile, TableFollowsFileOrder) {
  ASSERT_EQ(preferencegroups.size(), 17u);
  EXPECT_STREQ(preferencegroups[0].label, "MEASUREMENT UNITS:");
  EXPECT_EQ(preferencegroups[5].number, &Preferences::comport);
  EXPECT_EQ(preferencegroups[8].number, &Preferences::defaultview);
  EXPECT_EQ(preferencegroups[9].number, &Preferences::fueltype);
  EXPECT_STREQ(preferencegroups[11].options[0], "AFRERROR  ");
  EXPECT_STREQ(preferencegroups[16].label, "STATUS MESSAGES:");
  int twoway = 0;
  for (const PreferenceGroup& g : preferencegroups) twoway += g.flag != nullptr;
  EXPECT_EQ(twoway, 14);
}

TEST(PreferencesFile, DecodesEveryByte) {
  const Preferences ones = preferencesfrombytes("11111111111111111");
  for (bool f : flags(ones)) EXPECT_TRUE(f);
  EXPECT_EQ(ones.comport, 1);
  EXPECT_EQ(ones.defaultview, 1);
  EXPECT_EQ(ones.fueltype, 1);

  const Preferences zeros = preferencesfrombytes("00000000000000000");
  for (bool f : flags(zeros)) EXPECT_FALSE(f);
  EXPECT_EQ(zeros.comport, 1);  // "0" is out of range
  EXPECT_EQ(zeros.defaultview, 1);
  EXPECT_EQ(zeros.fueltype, 1);

  struct Case {
    char port, view, fuel;
    int wantport, wantview, wantfuel;
  };
  for (const Case c : {Case{'6', '3', '6', 6, 3, 6},
                       {'7', '4', '7', 1, 1, 1},
                       {'2', '2', '5', 2, 2, 5},
                       {'\xff', '\0', '/', 1, 1, 1}}) {
    QByteArray b("10101010101010101");
    b[5] = c.port;
    b[8] = c.view;
    b[9] = c.fuel;
    const Preferences p = preferencesfrombytes(b);
    EXPECT_EQ(p.comport, c.wantport) << int(c.port);
    EXPECT_EQ(p.defaultview, c.wantview) << int(c.view);
    EXPECT_EQ(p.fueltype, c.wantfuel) << int(c.fuel);
  }

  // A boolean is true for any byte above "0" and is written back as "1".
  QByteArray b("00000000000000000");
  b[0] = '9';
  b[1] = '\xff';
  b[2] = '/';
  b[3] = '\0';
  const Preferences p = preferencesfrombytes(b);
  EXPECT_TRUE(p.metricunits);
  EXPECT_TRUE(p.gridcenterload);
  EXPECT_FALSE(p.trackmode);
  EXPECT_FALSE(p.panelanalog);
  EXPECT_EQ(preferencebytes(p).left(4), "1100");
}

TEST(PreferencesFile, NumbersOutOfRangeAreWrittenAsOne) {
  Preferences p;
  p.comport = 7;
  p.defaultview = 4;
  p.fueltype = 0;
  const QByteArray b = preferencebytes(p);
  EXPECT_EQ(b[5], '1');
  EXPECT_EQ(b[8], '1');
  EXPECT_EQ(b[9], '1');
  p.comport = 6;
  p.defaultview = 3;
  p.fueltype = 5;
  EXPECT_EQ(preferencesfrombytes(preferencebytes(p)), p);
}

TEST(PreferencesFile, ShortFileReadsTheMissingBytesAsZero) {
  const Preferences p = preferencesfrombytes("1000061013");
  EXPECT_TRUE(p.metricunits);
  EXPECT_EQ(p.comport, 6);
  EXPECT_TRUE(p.hidenoncritical);
  EXPECT_EQ(p.fueltype, 3);
  // Bytes 11 to 17 are missing: False.
  EXPECT_FALSE(p.gridloadup);
  EXPECT_FALSE(p.substrings);
  EXPECT_FALSE(p.statusmessages);
  EXPECT_EQ(preferencebytes(p), QByteArray("10000610130000000"));
  EXPECT_EQ(preferencesfrombytes(QByteArray()), preferencesfrombytes(QByteArray(17, '\0')));
}

TEST(PreferencesFile, LoadHandlesMissingShortAndUnreadableFiles) {
  test::TempInstallFolder folder;
  const QString path = folder.file("preferences26.dat");
  RecordingPrompts prompts;
  Preferences p;

  ASSERT_TRUE(test::writefile(path, "00001200100010000"));
  loadpreferences(p, prompts);
  EXPECT_FALSE(p.metricunits);
  EXPECT_TRUE(p.autoconnect);
  EXPECT_EQ(p.comport, 2);
  EXPECT_EQ(p.fueltype, 1);
  EXPECT_FALSE(p.gridloadup);
  EXPECT_TRUE(p.substrings);
  EXPECT_TRUE(prompts.records.empty());

  QFile::remove(path);
  loadpreferences(p, prompts);
  EXPECT_EQ(p, defaultpreferences());
  EXPECT_TRUE(prompts.records.empty());  // a first start is not an error

  // Short and empty files: what is there is read, the rest is False (numbers 1), and nothing is shown.
  struct Short {
    QByteArray bytes;
    std::vector<bool> flags;  // in file order, the numbers left out
    int comport, view, fuel;
  };
  const std::vector<bool> none(14, false);
  const Short cases[] = {
      {"", none, 1, 1, 1},
      {"1111131112",
       {true, true, true, true, true, true, true, false, false, false, false, false, false, false},
       3,
       1,
       2},
      {"1010161121110101",
       {true, false, true, false, true, true, true, true, true, false, true, false, true, false},
       6,
       2,
       1},
  };
  for (const Short& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    ASSERT_TRUE(test::writefile(path, c.bytes));
    p = defaultpreferences();
    loadpreferences(p, prompts);
    EXPECT_EQ(flags(p), c.flags);
    EXPECT_EQ(p.comport, c.comport);
    EXPECT_EQ(p.defaultview, c.view);
    EXPECT_EQ(p.fueltype, c.fuel);
    EXPECT_TRUE(prompts.records.empty());
  }

  prompts.clear();
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkdir(path));  // cannot be read as a file
  p.metricunits = false;
  loadpreferences(p, prompts);
  EXPECT_EQ(p, defaultpreferences());
  EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST(PreferencesFile, SaveWritesSeventeenDigitsAndKeepsWhatFollows) {
  test::TempInstallFolder folder;
  const QString path = folder.file("preferences26.dat");
  RecordingPrompts prompts;
  Preferences p;
  p.metricunits = false;
  p.comport = 4;
  p.fueltype = 6;
  p.defaultview = 2;

  QFile::remove(path);
  ASSERT_TRUE(savepreferences(p, prompts));
  EXPECT_EQ(test::readfile(path), preferencebytes(p));
  EXPECT_EQ(test::readfile(path).size(), 17);

  ASSERT_TRUE(test::writefile(path, "11111111111111111tail"));
  ASSERT_TRUE(savepreferences(p, prompts));
  EXPECT_EQ(test::readfile(path), preferencebytes(p) + "tail");

  Preferences back;
  loadpreferences(back, prompts);
  EXPECT_EQ(back, p);
  EXPECT_TRUE(prompts.records.empty());
}

TEST(PreferencesFile, SaveFailureIsReportedNotFatal) {
  test::TempInstallFolder folder;
  const QString path = folder.file("preferences26.dat");
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkdir(path));
  RecordingPrompts prompts;
  EXPECT_FALSE(savepreferences(Preferences{}, prompts));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].icon, Prompts::Icon::Exclamation);
  EXPECT_TRUE(prompts.records[0].text.contains("could not be saved"));
}

namespace {

struct EditorFixture : ::testing::Test {
  test::TempInstallFolder folder;
  RecordingPrompts prompts;
  Preferences prefs = defaultpreferences();
  settings mainsettings;
  test::RecordingShellHost host;
  PreferencesEditor editor{prefs, prompts, mainsettings, host};
  int mapviews() const { return host.count("openmapview"); }
  int panels() const { return host.count("drawpanel 1"); }
};

}  // namespace

TEST_F(EditorFixture, ClicksSetTheVariableAtOnce) {
  std::vector<int> unitscolumns;  // of the setting tables, after each click on the units
  editor.open();
  for (int g = 0; g < preferencecount; ++g) {
    const PreferenceGroup& group = preferencegroups[g];
    for (int e = group.optioncount - 1; e >= 0; --e) {
      editor.click(g, e);
      if (g == 0) unitscolumns.push_back(mainsettings.unitscolumn());
      EXPECT_EQ(editor.selected(g), e) << group.label;
      if (group.flag) {
        EXPECT_EQ(prefs.*group.flag, e == 0) << group.label;
      } else {
        EXPECT_EQ(prefs.*group.number, e + 1) << group.label;
      }
    }
  }
  EXPECT_EQ(unitscolumns, (std::vector<int>{1, 0}));      // IMPERIAL then METRIC, at once
  EXPECT_EQ(host.intervals, (std::vector<int>{30, 20}));  // NORMAL then FASTEST, connected or not
  EXPECT_EQ(mapviews(), 0);

  // Clicks outside the groups change nothing.
  const Preferences before = prefs;
  editor.click(17, 0);
  editor.click(5, 6);
  editor.click(0, -1);
  EXPECT_EQ(prefs, before);
}

TEST_F(EditorFixture, NumberOutOfRangeSelectsNothing) {
  prefs.comport = 9;
  prefs.defaultview = 0;
  EXPECT_EQ(editor.selected(5), -1);
  EXPECT_EQ(editor.selected(8), -1);
  prefs.metricunits = false;
  EXPECT_EQ(editor.selected(0), 1);
}

TEST_F(EditorFixture, OkWithChangedFuelTypeWarnsAndLeavesTheFile) {
  const QString path = folder.file("preferences26.dat");
  const QByteArray before = test::readfile(path);
  editor.open();
  editor.click(9, 4);  // E85
  editor.ok();
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text,
            "The default fuel type has been altered, but not saved. Save this preference and restart the application "
            "for this change to take effect");
  EXPECT_EQ(prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_EQ(test::readfile(path), before);
  EXPECT_EQ(prefs.fueltype, 5);
  EXPECT_EQ(mapviews(), 1);
  EXPECT_EQ(panels(), 1);

  // Reopened in the same run: the new fuel type stands and nothing is said unless it changes again.
  prompts.clear();
  editor.open();
  EXPECT_EQ(editor.selected(9), 4);
  editor.ok();
  EXPECT_TRUE(prompts.records.empty());
}

TEST_F(EditorFixture, SaveAndExitWritesTheFile) {
  const QString path = folder.file("preferences26.dat");
  editor.open();
  editor.click(0, 1);
  EXPECT_TRUE(editor.saveandexit());
  EXPECT_TRUE(prompts.records.empty());
  EXPECT_EQ(test::readfile(path)[0], '0');

  editor.open();
  editor.click(9, 1);
  EXPECT_TRUE(editor.saveandexit());
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(prompts.messages()[0],
            "The default fuel type has been altered. Restart the application for this change to take effect");
  EXPECT_EQ(test::readfile(path)[9], '2');
  EXPECT_EQ(mapviews(), 2);
  EXPECT_EQ(panels(), 2);
}

TEST_F(EditorFixture, SaveFailureKeepsTheDialogAndTheChoices) {
  const QString path = folder.file("preferences26.dat");
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkdir(path));
  editor.open();
  editor.click(2, 1);
  EXPECT_FALSE(editor.saveandexit());
  EXPECT_FALSE(prefs.trackmode);
  EXPECT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(mapviews(), 0);
}
