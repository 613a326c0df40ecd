#pragma once

#include <QDialog>

#include "editors/editorcontext.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace ostrel {

// "Comments": the comments map (104). The hard comment (version, time and date of the last save of the comments)
// is shown as stored; the soft comment is the tuner's to edit. "Save and exit" rewrites both and, while connected,
// queues them for the ECU; the calibration file gets them only when it is saved.
class frmComments : public QDialog {
  Q_OBJECT

 public:
  explicit frmComments(EditorContext& context, QWidget* parent = nullptr);

  // Opens the window modally and returns once it has closed.
  static void showmodal(EditorContext& context, QWidget* parent);

  QMenuBar* menubar = nullptr;
  QMenu* mnuComments = nullptr;
  QAction* mnuCommentsSave = nullptr;
  QAction* mnuCommentsExit = nullptr;
  QLabel* hardComments = nullptr;
  QPlainTextEdit* softComments = nullptr;

  void mnuCommentsSave_Click();
  void mnuCommentsExit_Click();

 private:
  EditorContext& context_;
};

}  // namespace ostrel
