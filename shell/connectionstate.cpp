#include "shell/connectionstate.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QWidget>

#include "platform/programstate.h"

namespace ostrel {

namespace {
constexpr std::uint8_t fastverifylivemode = 19;
constexpr std::uint8_t autotunetoolmode = 12;
}  // namespace

const std::array<OnlineMenuItem, 16> onlinemenuitems = {{
    {&OnlineMenus::mnuEcuSave, "Sa&ve to ECU", true},
    {&OnlineMenus::mnuEcuVerify, "&Complete Verify from ECU", true},
    {&OnlineMenus::mnuFastVerify, "&Fast verify from ECU", true},
    {&OnlineMenus::mnuEcuOpen, "O&pen from ECU", true},
    {&OnlineMenus::mnuComsDisconnect, "&Disconnect", true},
    {&OnlineMenus::mnuComsConnect, "&Connect", false},
    {&OnlineMenus::mnuImport, "&Import map fragment", false},
    {&OnlineMenus::mnuImportDefault, "Import &default injector reponse map", false},
    {&OnlineMenus::mnuLearn, "Lea&rn data", true},
    {&OnlineMenus::mnuInputs, "&Inputs", true},
    {&OnlineMenus::mnuFuelMuls, "&Fuel multipliers", true},
    {&OnlineMenus::mnuLTT, "&LTT table", true},
    {&OnlineMenus::mnuVEFuelBaseTable, "&VE to Fuel Base Table", false},
    {&OnlineMenus::mnuFuelBaseTableVE, "&Fuel Base Table to VE", false},
    {&OnlineMenus::mnuFirmWare, "&Firmware version", true},
    {&OnlineMenus::mnuInDiagnostic, "&Input diagnostic", true},
}};

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

void setonlinemenus(const OnlineMenus& menus, const ProgramState& state) {
  for (const OnlineMenuItem& item : onlinemenuitems) {
    if (QAction* action = menus.*item.action)
      action->setEnabled(state.online ? item.enabledonline : !item.enabledonline);
  }
}

}  // namespace ostrel
