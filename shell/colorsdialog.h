#pragma once

#include <QDialog>

#include "shell/colors.h"

class QListWidget;
class QPushButton;

namespace ostrel {

// The modal colour selection dialog: the six colours in a list over a ColorsEditor. Open it with exec().
class frmColors : public QDialog {
  Q_OBJECT

 public:
  frmColors(ColorsEditor& editor, QWidget* parent = nullptr);

  QListWidget* List1 = nullptr;
  QPushButton* cmdSave = nullptr;   // "&Save"
  QPushButton* Command1 = nullptr;  // "&Ok"

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void showswatch(int entry);

  ColorsEditor& editor_;
};

}  // namespace ostrel
