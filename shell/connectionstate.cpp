#include "shell/connectionstate.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QWidget>

#include "livewindows/frmfastverify.h"
#include "mapviews/interpcopy.h"
#include "platform/programstate.h"

namespace ostrel {

void minimizeonclose(QWidget* window, const ProgramState& state) {
  if (state.exiting || !window) return;
  QWidget* target = window;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) target = sub;
  target->showMinimized();
}

void keepopenonclose(QWidget* window, QCloseEvent* event, const ProgramState& state) {
  if (state.exiting) {
    event->accept();
    return;
  }
  event->ignore();
  minimizeonclose(window, state);
}

bool checkcommsstate(const ProgramState& state) {
  return state.livemode == frmFastVerify::selectorvalue || state.toolmode == toolmodes::autotune;
}

}  // namespace ostrel
