#pragma once

#include <QWidget>

#include "shell/statuslog.h"

class QPlainTextEdit;

namespace ostrel {

struct ProgramState;

// Places of the two text boxes of the status window, in twips.
struct StatusBoxes {
  int left = 105;
  int statustop = 150;
  int width = 4000;
  int statusheight = 1100;
  int debugtop = 1355;
  int debugheight = 1100;
};

// The boxes for an outer window size in twips: the width follows above 350; above a height of 2340 the two boxes
// share it one above the other, at 2340 or less the console takes it and the debug box moves out of sight below.
StatusBoxes statuslayout(int outerwidth, int outerheight, StatusBoxes boxes);

// The status window: the four-line console over the debug log. Keys pressed in either box go on to the common
// keyboard handler through keypressed; a key in the debug box empties it first.
class frmStatus : public QWidget {
  Q_OBJECT

 public:
  // Width and height that the window frame of the layout rules adds to the client area, in twips.
  static constexpr int framewidth = 120;
  static constexpr int frameheight = 465;

  frmStatus(StatusLog& log, ProgramState& state, QWidget* parent = nullptr);

  QPlainTextEdit* TextStatus = nullptr;
  QPlainTextEdit* TextStatusDebug = nullptr;

 signals:
  void keypressed(int key, Qt::KeyboardModifiers modifiers);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showdebugline(const QString& line);

  StatusLog& log_;
  ProgramState& state_;
  StatusBoxes boxes_;
};

}  // namespace ostrel
