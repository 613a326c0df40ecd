#include <QApplication>
#include <QLabel>

#include "platform/installfolder.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ostrel"));
  ostrel::installfolder();
  QLabel label(QStringLiteral("ostrel: the main window is not built yet."));
  label.setMinimumSize(480, 120);
  label.setAlignment(Qt::AlignCenter);
  label.show();
  return app.exec();
}
