// Log profile files and the logger's profile commands.
#include "logger/logprofile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/testsupport.h"
#include "loggerfixture.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

class LogProfileFile : public ::testing::Test {
 protected:
  test::TempInstallFolder folder;
  ProgramState state;
  RecordingPrompts prompts;

  LogProfileFile() {
    for (int i = 0; i < 16; ++i) {
      state.logcolour[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(15 - i);
      state.logvar[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(3 * i + 1);
    }
  }
  QString file(const char* name) const { return folder.file(QString::fromLatin1(name)); }
};

TEST_F(LogProfileFile, SavedAndLoadedGivesTheSameChannels) {
  const QString path = file("round.lgp");
  ASSERT_TRUE(savelogprofile(path, state).isEmpty());
  const QByteArray bytes = test::readbytes(path);
  ASSERT_EQ(bytes.size(), 32);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), 15);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[16]), 1);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[31]), 46);

  ProgramState other;
  ASSERT_TRUE(loadlogprofile(path, other));
  EXPECT_EQ(other.logcolour, state.logcolour);
  EXPECT_EQ(other.logvar, state.logvar);
}

TEST_F(LogProfileFile, EntriesOutOfRangeAreSavedAsZero) {
  state.logcolour[2] = 17;
  state.logcolour[3] = 16;  // no trace is valid
  state.logvar[5] = 128;
  state.logvar[6] = 127;
  const QByteArray bytes = logprofilebytes(state);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 16);
  EXPECT_EQ(bytes[16 + 5], 0);
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[16 + 6]), 127);
}

TEST_F(LogProfileFile, InvalidBytesKeepTheirChannelAndTheRestLoads) {
  QByteArray bytes(32, '\0');
  for (int i = 0; i < 16; ++i) bytes[i] = static_cast<char>(i % 3), bytes[16 + i] = static_cast<char>(60 + i);
  bytes[3] = 20;
  bytes[19] = static_cast<char>(200);
  const QString path = file("bad.lgp");
  ASSERT_TRUE(test::writebytes(path, bytes));
  const ProgramState before = state;
  ASSERT_TRUE(loadlogprofile(path, state));
  for (int i = 0; i < 16; ++i) {
    const auto k = static_cast<std::size_t>(i);
    EXPECT_EQ(state.logcolour[k], i == 3 ? before.logcolour[k] : i % 3) << i;
    EXPECT_EQ(state.logvar[k], i == 3 ? before.logvar[k] : 60 + i) << i;
  }
}

TEST_F(LogProfileFile, FortyByteFileLoadsItsFirstThirtyTwoTenByteFileIsRefused) {
  QByteArray forty(40, static_cast<char>(5));
  forty[0] = 9;
  ASSERT_TRUE(test::writebytes(file("forty.lgp"), forty));
  ASSERT_TRUE(test::writebytes(file("ten.lgp"), QByteArray(10, static_cast<char>(1))));

  prompts.paths = {file("ten.lgp")};
  const ProgramState before = state;
  EXPECT_FALSE(loadprofilecommand(prompts, state));
  EXPECT_EQ(prompts.messages(), std::vector<QString>{"A file error occurred"});
  EXPECT_EQ(prompts.records.back().icon, Prompts::Icon::Exclamation);
  EXPECT_EQ(state.logcolour, before.logcolour);
  EXPECT_EQ(state.logvar, before.logvar);

  prompts.clear();
  prompts.paths = {file("forty.lgp")};
  EXPECT_TRUE(loadprofilecommand(prompts, state));
  EXPECT_TRUE(prompts.messages().empty());  // the window shows the reset message after repainting
  EXPECT_EQ(state.logcolour[0], 9);
  EXPECT_EQ(state.logcolour[15], 5);
  EXPECT_EQ(state.logvar[15], 5);
}

TEST_F(LogProfileFile, CancelledDialogsDoNothingAtAll) {
  const ProgramState before = state;
  prompts.paths = {QString(), QString()};
  EXPECT_FALSE(loadprofilecommand(prompts, state));
  EXPECT_FALSE(saveprofilecommand(prompts, state));
  EXPECT_TRUE(prompts.messages().empty());
  EXPECT_EQ(state.logvar, before.logvar);
  EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.lgp")}),
            QStringList{defaultlogprofilename});  // nothing written but the shipped default
}

TEST_F(LogProfileFile, SaveCommandsWriteOrReportAFileError) {
  prompts.paths = {file("typed")};  // no extension: the dialog's default one is added
  EXPECT_TRUE(saveprofilecommand(prompts, state));
  EXPECT_EQ(test::readbytes(file("typed.lgp")), logprofilebytes(state));

  EXPECT_TRUE(savedefaultprofilecommand(prompts, state));
  EXPECT_EQ(test::readbytes(installpath(defaultlogprofilename)), logprofilebytes(state));

  ASSERT_TRUE(test::writebytes(file("long.lgp"), QByteArray(100, 'x')));
  prompts.paths = {file("long.lgp")};
  EXPECT_TRUE(saveprofilecommand(prompts, state));
  EXPECT_EQ(test::readbytes(file("long.lgp")).size(), 32);  // a longer file is cut
  EXPECT_TRUE(prompts.messages().empty());

  prompts.paths = {file("missing/folder/p.lgp")};
  EXPECT_FALSE(saveprofilecommand(prompts, state));
  EXPECT_EQ(prompts.messages(), std::vector<QString>{"A file error occurred"});
}

}  // namespace
