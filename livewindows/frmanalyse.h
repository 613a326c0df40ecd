#pragma once

#include <QDialog>

#include "livewindows/triggertrace.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollBar;

namespace ostrel {

class PictureSurface;
struct ProgramState;

// The trigger test window: draws the engine's trigger and sync signals as two square waves from the edge stamps in
// the RAM copy that the RAM dump took (all zero before the first dump). It talks to no ECU and leaves the live
// window selector alone. Loading draws nothing; the Trigger test menu item, either scroll bar and the invert
// buttons draw from scratch. The geometry lives in triggertrace.
class frmAnalyse : public QDialog {
  Q_OBJECT

 public:
  explicit frmAnalyse(const ProgramState& state, QWidget* parent = nullptr);
  ~frmAnalyse() override;

  // Opens the window modally over the parent and returns once it has closed (Tools -> Analysis tools -> Ram dump).
  static void showmodal(const ProgramState& state, QWidget* parent);

  QMenuBar* menubar = nullptr;
  QMenu* mnuAnalyse = nullptr;
  QAction* mnuTrigTest = nullptr;
  QAction* mnuExit = nullptr;
  QScrollBar* HScroll2 = nullptr;  // zoom, 0 to 10
  QLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;  // invert trigger
  QPushButton* Command2 = nullptr;  // invert sync
  PictureSurface* PicTriggers = nullptr;
  QScrollBar* HScroll1 = nullptr;  // start position, 0 to 100

  // Reads the stamps from the RAM copy and draws both waves.
  void drawtrigger();
  void Command1_Click();
  void Command2_Click();
  const TriggerView& view() const { return view_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const ProgramState& state_;
  TriggerView view_;
};

}  // namespace ostrel
