#pragma once

#include <QString>
#include <QTemporaryDir>

class QWidget;

namespace ostrel::test {

// A fresh install folder for one test, seeded with the shipped defaults and removed afterwards.
class TempInstallFolder {
 public:
  TempInstallFolder();
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }

 private:
  QTemporaryDir dir_;
};

// Writes a PNG of the widget into the build folder's screenshots folder; returns its path.
QString savescreenshot(QWidget* widget, const QString& name);

// Path of a file in the source tree (fixtures, shipped data).
QString sourcepath(const QString& relative);

// Things that can stand in a file's place without being a regular file. A reader must refuse each of them at once:
// opening a named pipe waits for a writer forever, and /dev/zero never ends. A saver must leave each in place.
enum class NotAFile { Pipe, Device, Folder };
struct NotAFileCase {
  const char* name;
  NotAFile kind;
};
inline constexpr NotAFileCase notafiles[] = {
    {"named pipe", NotAFile::Pipe}, {"device", NotAFile::Device}, {"folder", NotAFile::Folder}};

// Puts one of them at path, replacing whatever is there; false when it could not be made.
bool placenotafile(const QString& path, NotAFile kind);

// While it lives, a test that blocks ends the test program with a message after the given time instead of hanging.
class BlockGuard {
 public:
  explicit BlockGuard(unsigned seconds = 20);
  ~BlockGuard();
  BlockGuard(const BlockGuard&) = delete;
  BlockGuard& operator=(const BlockGuard&) = delete;
};

}  // namespace ostrel::test
