#include "platform/ui/windowlauncher.h"

#include <QDialog>

namespace ostrel {

namespace {
WindowLauncher programlauncher;
WindowLauncher* current = &programlauncher;
}  // namespace

int WindowLauncher::showmodal(QDialog& dialog) {
  return dialog.exec();
}

WindowLauncher& launcher() {
  return *current;
}

void setlauncher(WindowLauncher* launcher) {
  current = launcher ? launcher : &programlauncher;
}

int ScriptedLauncher::showmodal(QDialog& dialog) {
  opened.push_back(dialog.objectName());
  dialog.show();
  if (scripts.empty()) {
    dialog.reject();
  } else {
    const Script script = std::move(scripts.front());
    scripts.pop_front();
    script(dialog);
  }
  // Whatever the script left open is closed: the caller goes on as after a modal loop.
  if (dialog.isVisible()) dialog.done(QDialog::Rejected);
  return dialog.result();
}

}  // namespace ostrel
