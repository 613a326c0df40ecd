#include "platform/desktopopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace ostrel {

namespace {
DesktopOpener desktop;
DesktopOpener* current = &desktop;
}  // namespace

bool DesktopOpener::openfile(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

DesktopOpener& desktopopener() {
  return *current;
}

void setdesktopopener(DesktopOpener* opener) {
  current = opener ? opener : &desktop;
}

}  // namespace ostrel
