#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

class QDialog;

namespace ostrel {

// Every modal tool window opens through the launcher, so that a test can run a window without blocking on it: the
// program's launcher runs the dialog's own modal loop, a test's runs a script on the shown window instead.
class WindowLauncher {
 public:
  virtual ~WindowLauncher() = default;
  // Shows the dialog modally and returns its result once it has closed.
  virtual int showmodal(QDialog& dialog);
};

// The launcher in force; the program's own until a test sets another (null puts the program's back).
WindowLauncher& launcher();
void setlauncher(WindowLauncher* launcher);

// For tests: shows each dialog without a modal loop, records its object name and runs the next script on it (the
// script drives the window and usually closes it); a dialog with no script left is closed at once (rejected).
class ScriptedLauncher final : public WindowLauncher {
 public:
  using Script = std::function<void(QDialog& dialog)>;

  std::deque<Script> scripts;
  std::vector<QString> opened;  // object names of the dialogs shown, in order

  int showmodal(QDialog& dialog) override;
};

// Installs a launcher for the lifetime of this object (tests).
class ScopedLauncher {
 public:
  explicit ScopedLauncher(WindowLauncher& launcher) { setlauncher(&launcher); }
  ~ScopedLauncher() { setlauncher(nullptr); }
  ScopedLauncher(const ScopedLauncher&) = delete;
  ScopedLauncher& operator=(const ScopedLauncher&) = delete;
};

}  // namespace ostrel
