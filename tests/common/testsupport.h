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

}  // namespace ostrel::test
