#include "platform/readfile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>

#include <functional>

#include "common/testsupport.h"
#include "platform/filesave.h"
#include "platform/workbook.h"

using namespace ostrel;

namespace {

bool write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(ReadFile, HeadAndWholeOfARegularFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("file");
  ASSERT_TRUE(write(path, "0123456789"));
  struct Case {
    bool whole;
    qint64 limit;
    FileRead::Status status;
    const char* bytes;
  };
  const Case cases[] = {
      {false, 4, FileRead::Status::Ok, "0123"},         {false, 10, FileRead::Status::Ok, "0123456789"},
      {false, 100, FileRead::Status::Ok, "0123456789"}, {false, 0, FileRead::Status::Ok, ""},
      {true, 10, FileRead::Status::Ok, "0123456789"},   {true, 100, FileRead::Status::Ok, "0123456789"},
      {true, 9, FileRead::Status::TooLarge, ""},
  };
  for (const Case& c : cases) {
    const FileRead r = c.whole ? readwholefile(path, c.limit) : readfilehead(path, c.limit);
    EXPECT_EQ(r.status, c.status) << c.whole << " " << c.limit;
    EXPECT_EQ(r.bytes, QByteArray(c.bytes)) << c.whole << " " << c.limit;
    EXPECT_EQ(r.ok(), r.reason.isEmpty());
  }
  // A file the size of which says nothing (as under /proc) is still read to its end.
  const FileRead status = readwholefile("/proc/self/status", 1 << 20);
  ASSERT_TRUE(status.ok());
  EXPECT_TRUE(status.bytes.contains("Pid:"));
}

TEST(ReadFile, MissingEmptyAndUnreadable) {
  QTemporaryDir dir;
  EXPECT_EQ(readfilehead(dir.filePath("none"), 10).status, FileRead::Status::Missing);
  EXPECT_EQ(readwholefile(dir.filePath("none/deeper"), 10).status, FileRead::Status::Missing);
  EXPECT_EQ(readfilehead(QString(), 10).status, FileRead::Status::Missing);
  EXPECT_FALSE(readfilehead(dir.filePath("none"), 10).reason.isEmpty());

  ASSERT_TRUE(write(dir.filePath("empty"), {}));
  const FileRead empty = readwholefile(dir.filePath("empty"), 10);
  EXPECT_TRUE(empty.ok());
  EXPECT_TRUE(empty.bytes.isEmpty());

  if (::geteuid() != 0) {  // root reads whatever the permissions say
    ASSERT_TRUE(write(dir.filePath("locked"), "x"));
    QFile::setPermissions(dir.filePath("locked"), QFile::WriteOwner);
    const FileRead locked = readfilehead(dir.filePath("locked"), 10);
    EXPECT_EQ(locked.status, FileRead::Status::Unreadable);
    EXPECT_FALSE(locked.reason.isEmpty());
  }
}

TEST(ReadFile, RefusesEverythingButARegularFileWithoutBlocking) {
  test::BlockGuard guard;
  QTemporaryDir dir;
  for (const test::NotAFileCase& c : test::notafiles) {
    const QString path = dir.filePath("thing");
    ASSERT_TRUE(test::placenotafile(path, c.kind)) << c.name;
    for (const FileRead& r : {readfilehead(path, 100), readwholefile(path, 100)}) {
      EXPECT_EQ(r.status, FileRead::Status::NotRegular) << c.name;
      EXPECT_EQ(r.reason, QStringLiteral("not a regular file")) << c.name;
      EXPECT_TRUE(r.bytes.isEmpty()) << c.name;
    }
  }
  EXPECT_EQ(readfilehead("/dev/zero", 100).status, FileRead::Status::NotRegular);
  EXPECT_EQ(readfilehead("/dev/null", 100).status, FileRead::Status::NotRegular);
}

TEST(FileSave, HeadSaveKeepsTheTailAndNeverReplacesWhatIsNotAFile) {
  test::BlockGuard guard;
  QTemporaryDir dir;
  const QString path = dir.filePath("prefs.dat");
  EXPECT_EQ(savefilehead(path, "abc"), QString());
  EXPECT_EQ(contents(path), QByteArray("abc"));
  ASSERT_TRUE(write(path, "123456"));
  EXPECT_EQ(savefilehead(path, "ab"), QString());
  EXPECT_EQ(contents(path), QByteArray("ab3456"));

  for (const test::NotAFileCase& c : test::notafiles) {
    ASSERT_TRUE(test::placenotafile(path, c.kind)) << c.name;
    EXPECT_EQ(savefilehead(path, "abc"), QStringLiteral("not a regular file")) << c.name;
    const QFileInfo after(path);
    EXPECT_FALSE(after.isFile() && !after.isSymLink()) << c.name << ": replaced by a file";
  }
}

TEST(FileSave, WholeSaveReplacesAFileButNeverWhatIsNotAFile) {
  test::BlockGuard guard;
  QTemporaryDir dir;
  const QString path = dir.filePath("profile.lgp");
  ASSERT_TRUE(write(path, "123456"));
  EXPECT_EQ(savefile(path, "ab"), QString());
  EXPECT_EQ(contents(path), QByteArray("ab"));
  EXPECT_FALSE(savefile(QString(), "ab").isEmpty());

  // The workbook export saves through it too.
  const std::function<QString(const QString&)> savers[] = {
      [](const QString& p) { return savefile(p, "abc"); },
      [](const QString& p) { return writeworkbook(p, {QStringList{"a", "b"}}); }};
  for (const auto& save : savers) {
    for (const test::NotAFileCase& c : test::notafiles) {
      ASSERT_TRUE(test::placenotafile(path, c.kind)) << c.name;
      EXPECT_EQ(save(path), QStringLiteral("not a regular file")) << c.name;
      const QFileInfo after(path);
      EXPECT_FALSE(after.isFile() && !after.isSymLink()) << c.name << ": replaced by a file";
    }
  }
}
