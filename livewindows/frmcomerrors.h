#pragma once

#include <QDialog>
#include <array>

#include "livewindows/comstats.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace ostrel {

class EcuLink;
struct ProgramState;

// The communication statistics window ("Com stats"): frame frequency, yield, firmware version, the automatic
// synchronisation mode and the link's error log, refreshed every 500 ms. It takes no part in the poll and leaves
// the live-window selector alone.
class frmComErrors : public QDialog {
  Q_OBJECT

 public:
  frmComErrors(ProgramState& state, EcuLink& link, ComStatsMemory& memory, QWidget* parent = nullptr);

  // What the window keeps from one opening to the next, for the whole run.
  static ComStatsMemory& memory();

  QPlainTextEdit* Text1 = nullptr;
  std::array<QLabel*, 9> Label{};   // Label[1] to Label[8]; Label[0] is unused
  QPushButton* Command1 = nullptr;  // "&Clear"
  QPushButton* Command2 = nullptr;  // "E&xit"
  QMenu* mnuComsStats = nullptr;
  QAction* mnuResetStats = nullptr;
  QAction* mnuExit = nullptr;
  QTimer* Timer1 = nullptr;  // 500 ms

  void Timer1_Timer();
  void Command1_Click();
  void mnuResetStats_Click();

 private:
  // Shows the error log when it changed, the newest lines in view.
  void showlog();

  ProgramState& state_;
  EcuLink& link_;
  ComStats stats_;
  QString shownlog_;
};

}  // namespace ostrel
