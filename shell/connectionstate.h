#pragma once

#include <array>

class QAction;
class QCloseEvent;
class QWidget;

namespace ostrel {

struct ProgramState;

// A permanent child window closed while the program runs is minimised instead (its own window, or the MDI
// sub-window that holds it); during exit nothing is done and it closes.
void minimizeonclose(QWidget* window, const ProgramState& state);

// For the close handlers of the permanent child windows: cancels the close and minimises the window unless the
// program is exiting.
void keepopenonclose(QWidget* window, QCloseEvent* event, const ProgramState& state);

// True while the map views must be left alone by the live replies: the fast verify window holds the poll
// (livemode 19) or the auto-tune tool runs (toolmode 12).
bool checkcommsstate(const ProgramState& state);

// The main window's menu items that depend on the connection; the main window fills the pointers in.
struct OnlineMenus {
  QAction* mnuEcuSave = nullptr;
  QAction* mnuEcuVerify = nullptr;
  QAction* mnuFastVerify = nullptr;
  QAction* mnuEcuOpen = nullptr;
  QAction* mnuComsDisconnect = nullptr;
  QAction* mnuComsConnect = nullptr;
  QAction* mnuImport = nullptr;
  QAction* mnuImportDefault = nullptr;
  QAction* mnuLearn = nullptr;
  QAction* mnuInputs = nullptr;
  QAction* mnuFuelMuls = nullptr;
  QAction* mnuLTT = nullptr;
  QAction* mnuVEFuelBaseTable = nullptr;
  QAction* mnuFuelBaseTableVE = nullptr;
  QAction* mnuFirmWare = nullptr;
  QAction* mnuInDiagnostic = nullptr;
};

// One connection-dependent item: its caption and whether it is enabled while connected (it is the opposite
// while not connected).
struct OnlineMenuItem {
  QAction* OnlineMenus::*action;
  const char* caption;
  bool enabledonline;
};
extern const std::array<OnlineMenuItem, 16> onlinemenuitems;

// Enables and disables the sixteen items for the current connection flag, one by one in table order; items the
// main window has not filled in are skipped. Call after every change of state.online.
void setonlinemenus(const OnlineMenus& menus, const ProgramState& state);

}  // namespace ostrel
