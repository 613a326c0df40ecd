#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QWidget>
#include <csignal>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/installfolder.h"

namespace ostrel::test {

TempInstallFolder::TempInstallFolder() { ostrel::setinstallfolder(dir_.path()); }

QString savescreenshot(QWidget* widget, const QString& name) {
  const QString dir = QStringLiteral(OSTREL_SCREENSHOT_DIR);
  QDir().mkpath(dir);
  const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
  widget->grab().save(path);
  return path;
}

QString sourcepath(const QString& relative) { return QStringLiteral(OSTREL_SOURCE_DIR "/") + relative; }

bool placenotafile(const QString& path, NotAFile kind) {
  QFile::remove(path);
  QDir(path).removeRecursively();
  const QByteArray name = QFile::encodeName(path);
  switch (kind) {
    case NotAFile::Pipe:
      return ::mkfifo(name.constData(), 0600) == 0;
    case NotAFile::Device:
      // Where the tests may make device nodes (as root, which is also where a faulty saver could replace the real
      // /dev/zero), a private twin of /dev/zero stands in; elsewhere a link to it, which such a user cannot replace.
      if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 5)) == 0) return true;
      return ::symlink("/dev/zero", name.constData()) == 0;
    case NotAFile::Folder:
      return QDir().mkpath(path);
  }
  return false;
}

namespace {

extern "C" void blocked(int) {
  static const char text[] = "\nA test blocked (a read waiting on a pipe or a device?); the test program ends.\n";
  [[maybe_unused]] const auto written = ::write(STDERR_FILENO, text, sizeof text - 1);
  ::_exit(3);
}

}  // namespace

BlockGuard::BlockGuard(unsigned seconds) {
  std::signal(SIGALRM, blocked);
  ::alarm(seconds);
}

BlockGuard::~BlockGuard() {
  ::alarm(0);
  std::signal(SIGALRM, SIG_DFL);
}

}  // namespace ostrel::test
