#include "platform/filesave.h"

#include <QSaveFile>
#include <algorithm>

#include "platform/readfile.h"

namespace ostrel {

namespace {

// Far beyond any head file with whatever a user appended; a larger one is left alone rather than cut short.
constexpr qint64 keptlimit = qint64{16} << 20;

}  // namespace

QString unreplaceable(const QString& path) {
  const FileRead old = readfilehead(path, 0);
  return old.status == FileRead::Status::NotRegular ? old.reason : QString();
}

QString savefile(const QString& path, const QByteArray& bytes) {
  if (path.isEmpty()) return QStringLiteral("no file name");
  if (const QString reason = unreplaceable(path); !reason.isEmpty()) return reason;
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return {};
  const QString reason = file.errorString();
  return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
}

QString savefilehead(const QString& path, const QByteArray& head) {
  QByteArray content = head;
  const FileRead old = readwholefile(path, keptlimit);
  if (old.ok()) {
    content.append(QByteArrayView(old.bytes).sliced(std::min(head.size(), old.bytes.size())));
  } else if (old.status != FileRead::Status::Missing) {
    // What the old file holds after the head cannot be kept (or it is a pipe, a device or a folder that a new
    // file would replace): nothing is written.
    return old.reason;
  }
  return savefile(path, content);
}

}  // namespace ostrel
