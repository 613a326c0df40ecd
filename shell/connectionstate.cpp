#include "shell/connectionstate.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QWidget>

#include "platform/programstate.h"

namespace ostrel {

namespace {
constexpr std::uint8_t fastverifylivemode = 19;
constexpr std::uint8_t autotunetoolmode = 12;
}  // namespace

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
  return state.livemode == fastverifylivemode || state.toolmode == autotunetoolmode;
}

}  // namespace ostrel
