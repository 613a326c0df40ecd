#include "platform/installfolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

static void initdataresources() { Q_INIT_RESOURCE(ostreldata); }

namespace ostrel {

namespace {
QString& currentfolder() {
  static QString folder;
  return folder;
}
}  // namespace

int seedinstallfolder(const QString& folder) {
  initdataresources();
  QDir().mkpath(folder);
  int copied = 0;
  QDirIterator it(QStringLiteral(":/data"), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString relative = source.mid(QStringLiteral(":/data/").size());
    const QString target = folder + QLatin1Char('/') + relative;
    if (QFile::exists(target)) continue;
    QDir().mkpath(QFileInfo(target).absolutePath());
    if (QFile::copy(source, target)) {
      // Resource copies are read-only; the user owns the seeded file.
      QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
      ++copied;
    }
  }
  return copied;
}

QByteArray shippedfile(const QString& name) {
  initdataresources();
  QFile file(QStringLiteral(":/data/") + name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void setinstallfolder(const QString& folder) {
  currentfolder() = QDir(folder).absolutePath();
  seedinstallfolder(currentfolder());
}

QString installfolder() {
  if (currentfolder().isEmpty()) {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/share");
    setinstallfolder(base + QStringLiteral("/ostrel"));
  }
  return currentfolder();
}

QString installpath(const QString& name) { return installfolder() + QLatin1Char('/') + name; }

bool isprotectedsavepath(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  return absolute == QFileInfo(installpath(QStringLiteral("template.s26"))).absoluteFilePath() ||
         absolute == QFileInfo(installpath(QStringLiteral("*.s26"))).absoluteFilePath();
}

}  // namespace ostrel
