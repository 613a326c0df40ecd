#include "platform/filesave.h"

#include <QFile>
#include <QSaveFile>

namespace ostrel {

QString savefilehead(const QString& path, const QByteArray& head) {
  QByteArray content = head;
  {
    QFile old(path);
    if (old.open(QIODevice::ReadOnly)) content.append(old.readAll().mid(head.size()));
  }
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit()) return {};
  const QString reason = file.errorString();
  return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
}

}  // namespace ostrel
