// Preferences, colours and the log profiles refuse a pipe, a device or a folder in the install folder, each with
// its own failure, at once and without changing what is in force; saving never replaces one.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <functional>

#include "common/testsupport.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "shell/colors.h"
#include "logger/logprofile.h"
#include "shell/preferences.h"

using namespace ostrel;

namespace {

struct Reader {
  const char* name;
  QString file;
  // Runs the reader or writer against the thing in the file's place and checks its failure.
  std::function<void(const QString& path, RecordingPrompts& prompts)> refuses;
};

Colors somecolors() {
  Colors c;
  c.bgcolor = 0x00102030;
  c.wirecolor = 0x00405060;
  return c;
}

void expectonemessage(const RecordingPrompts& prompts, const QString& expected) {
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_EQ(prompts.messages()[0], expected);
}

}  // namespace

TEST(ReadersRefuseWhatIsNotAFile, PreferencesColoursAndLogProfile) {
  test::BlockGuard guard;
  test::TempInstallFolder folder;
  const Reader readers[] = {
      {"loading preferences", preferencesfilename,
       [](const QString& path, RecordingPrompts& prompts) {
         Preferences prefs;
         prefs.metricunits = !defaultpreferences().metricunits;
         prefs.comport = 4;
         loadpreferences(prefs, prompts);
         EXPECT_EQ(prefs, defaultpreferences());
         expectonemessage(prompts, QStringLiteral("The preferences file %1 could not be read (not a regular file). The "
                                                  "default preferences are used.")
                                       .arg(QDir::toNativeSeparators(path)));
       }},
      {"loading colours", colorsfilename,
       [](const QString& path, RecordingPrompts& prompts) {
         Colors colors = somecolors();
         EXPECT_FALSE(loadcolors(colors, prompts));
         EXPECT_EQ(colors, somecolors());
         expectonemessage(prompts, QStringLiteral("The colour file %1 could not be read (not a regular file). The "
                                                  "colours stay as they were.")
                                       .arg(QDir::toNativeSeparators(path)));
       }},
      {"loading the default log profile", defaultlogprofilename,
       [](const QString& path, RecordingPrompts& prompts) {
         ProgramState state;
         state.logcolour.fill(9);
         state.logvar.fill(99);
         EXPECT_FALSE(loadlogprofile(path, state));
         EXPECT_EQ(state.logcolour[0], 9);
         EXPECT_EQ(state.logvar[15], 99);
         EXPECT_TRUE(prompts.records.empty());
       }},
      {"saving preferences", preferencesfilename,
       [](const QString& path, RecordingPrompts& prompts) {
         EXPECT_FALSE(savepreferences(defaultpreferences(), prompts));
         expectonemessage(prompts, QStringLiteral("The preferences could not be saved in %1 (not a regular file). "
                                                  "They stay in force until the program ends.")
                                       .arg(QDir::toNativeSeparators(path)));
       }},
      {"saving colours", colorsfilename,
       [](const QString& path, RecordingPrompts& prompts) {
         EXPECT_FALSE(savecolors(somecolors(), prompts));
         expectonemessage(prompts, QStringLiteral("The colours could not be saved in %1 (not a regular file). They "
                                                  "stay in force until the program ends.")
                                       .arg(QDir::toNativeSeparators(path)));
       }},
      {"saving a log profile", QStringLiteral("chosen.lgp"),
       [](const QString& path, RecordingPrompts& prompts) {
         prompts.paths = {path};
         EXPECT_FALSE(saveprofilecommand(prompts, ProgramState{}));
         expectonemessage(prompts, fileerrormessage);
       }},
      {"saving the default log profile", defaultlogprofilename,
       [](const QString&, RecordingPrompts& prompts) {
         EXPECT_FALSE(savedefaultprofilecommand(prompts, ProgramState{}));
         expectonemessage(prompts, fileerrormessage);
       }},
  };
  for (const test::NotAFileCase& thing : test::notafiles) {
    for (const Reader& reader : readers) {
      SCOPED_TRACE(std::string(reader.name) + " from a " + thing.name);
      const QString path = folder.file(reader.file);
      ASSERT_TRUE(test::placenotafile(path, thing.kind));
      RecordingPrompts prompts;
      reader.refuses(path, prompts);
      const QFileInfo after(path);
      EXPECT_TRUE(after.isSymLink() || !after.isFile()) << "replaced by a file";
    }
  }
}
