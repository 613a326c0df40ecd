// A save killed at any moment leaves the old file or the new one complete, never a mix of the two: a separate
// program saves in a loop and is killed at random moments.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <poll.h>
#include <random>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "calibration/calfile.h"
#include "common/testsupport.h"
#include "savingloop/savecontents.h"
#include "shell/colors.h"
#include "shell/preferences.h"

extern char** environ;

namespace ostrel::test {
namespace {

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

bool write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Starts the saving loop and waits until its first round of saves is done; the process id, or -1.
pid_t startsaving(const QString& folder) {
  int out[2];
  if (::pipe(out) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  const QByteArray program(OSTREL_SAVINGLOOP_PATH), where = QFile::encodeName(folder);
  char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(where.constData()), nullptr};
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawned != 0) pid = -1;
  pollfd ready{out[0], POLLIN, 0};
  char byte = 0;
  if (pid > 0 && (::poll(&ready, 1, 10'000) != 1 || ::read(out[0], &byte, 1) != 1)) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
  }
  ::close(out[0]);
  return pid;
}

struct SavedFile {
  const char* what;
  QString name;
  QByteArray old, fresh;  // the two complete contents
};

}  // namespace

TEST(KilledSave, LeavesTheOldOrTheNewFileNeverAMix) {
  // What the preferences and colour files hold after their own bytes is kept by every save.
  const QByteArray tail("\r\nkept after the head\r\n");
  const SavedFile files[] = {
      {"calibration", saving::calibrationname, encodecalfile(saving::image(0)), encodecalfile(saving::image(1))},
      {"preferences", preferencesfilename, preferencebytes(saving::preferences(0)) + tail,
       preferencebytes(saving::preferences(1)) + tail},
      {"colours", colorsfilename, colorbytes(saving::colours(0)) + tail, colorbytes(saving::colours(1)) + tail},
  };
  TempInstallFolder folder;
  for (const SavedFile& file : files) ASSERT_TRUE(write(folder.file(file.name), file.old));
  const auto entries = [&folder] {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  };
  const QStringList before = entries();

  std::mt19937 rng(24);
  std::uniform_int_distribution<int> delayus(0, 5000);
  constexpr int kills = 15;
  int seen[3][2] = {};
  for (int round = 0; round < kills; ++round) {
    const pid_t pid = startsaving(folder.path());
    ASSERT_GT(pid, 0) << "the saving loop did not start or could not save";
    std::this_thread::sleep_for(std::chrono::microseconds(delayus(rng)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving loop ended by itself";
    for (int f = 0; f < 3; ++f) {
      const QByteArray now = contents(folder.file(files[f].name));
      if (now == files[f].old) {
        ++seen[f][0];
      } else if (now == files[f].fresh) {
        ++seen[f][1];
      } else {
        ADD_FAILURE() << files[f].what << ", round " << round << ": the file holds neither version (" << now.size()
                      << " bytes)";
      }
    }
  }
  // Both versions of every file turned up, so the kills did fall among the saves.
  for (int f = 0; f < 3; ++f) {
    EXPECT_GT(seen[f][0], 0) << files[f].what;
    EXPECT_GT(seen[f][1], 0) << files[f].what;
  }
  EXPECT_EQ(entries(), before) << "a killed save left something behind";
}

}  // namespace ostrel::test
