#include "testsupport.h"

#include <QDir>
#include <QWidget>

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

}  // namespace ostrel::test
