// A save killed at any moment leaves the old file or the new one complete, never a mix of the two: a separate
// program saves in a loop and is killed at random moments.

#include <gtest/gtest.h>

#include <QFile>
#include <poll.h>
#include <random>
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

// The saving loop as a child process; it reports every finished round of saves with one byte.
class SavingLoop {
 public:
  explicit SavingLoop(const QString& folder) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const QByteArray program(OSTREL_SAVINGLOOP_PATH), where = QFile::encodeName(folder);
    char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(where.constData()), nullptr};
    if (::posix_spawn(&pid_, program.constData(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    rounds_ = out[0];
  }
  ~SavingLoop() {
    kill();
    if (rounds_ >= 0) ::close(rounds_);
  }
  SavingLoop(const SavingLoop&) = delete;
  SavingLoop& operator=(const SavingLoop&) = delete;

  // Waits for the next round to finish from now on (the reports of rounds already done are dropped); false when
  // none comes.
  bool nextround() {
    if (pid_ <= 0) return false;
    pollfd ready{rounds_, POLLIN, 0};
    char bytes[256];
    while (::poll(&ready, 1, 0) == 1 && ::read(rounds_, bytes, sizeof bytes) > 0) {
    }
    return ::poll(&ready, 1, 10'000) == 1 && ::read(rounds_, bytes, 1) == 1;
  }

  // True when it was still saving when killed.
  bool kill() {
    if (pid_ <= 0) return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status);
  }

 private:
  pid_t pid_ = -1;
  int rounds_ = -1;
};

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

  std::mt19937 rng(24);
  std::uniform_int_distribution<int> extrarounds(0, 3);
  std::uniform_real_distribution<double> fraction(0.0, 1.0);
  constexpr int kills = 15;
  int seen[3][2] = {};
  for (int round = 0; round < kills; ++round) {
    SavingLoop loop(folder.path());
    ASSERT_TRUE(loop.nextround()) << "the saving loop did not start or could not save";
    // A few more rounds, so either version may be the last complete one, then a moment within a round.
    auto started = std::chrono::steady_clock::now();
    auto roundtime = std::chrono::microseconds(3000);
    for (int more = extrarounds(rng); more > 0; --more) {
      ASSERT_TRUE(loop.nextround());
      const auto now = std::chrono::steady_clock::now();
      roundtime = std::chrono::duration_cast<std::chrono::microseconds>(now - started);
      started = now;
    }
    std::this_thread::sleep_for(roundtime * fraction(rng));
    ASSERT_TRUE(loop.kill()) << "the saving loop ended by itself";
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
}

}  // namespace ostrel::test
