#pragma once

#include <QString>

namespace ostrel {

// Opens a file the program has written in the program the desktop keeps for its kind (a workbook in the user's
// spreadsheet program). Tests install their own, so that no test starts a program.
class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  // False when the desktop has no program for the file or could not start it.
  virtual bool openfile(const QString& path);
};

// The opener in force; the desktop's until a test sets another (null puts the desktop's back).
DesktopOpener& desktopopener();
void setdesktopopener(DesktopOpener* opener);

}  // namespace ostrel
