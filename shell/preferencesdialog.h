#pragma once

#include <QDialog>
#include <array>

#include "shell/preferences.h"

class QButtonGroup;
class QPushButton;

namespace ostrel {

// The modal preferences dialog: seventeen option groups over a PreferencesEditor. Open it with exec().
class frmPreferences : public QDialog {
  Q_OBJECT

 public:
  frmPreferences(PreferencesEditor& editor, QWidget* parent = nullptr);

  QButtonGroup* optiongroup(int group) const { return Option_[group]; }
  QPushButton* Command1 = nullptr;  // "&Save and exit"
  QPushButton* Command3 = nullptr;  // "&Ok"

 private:
  void showselection();

  PreferencesEditor& editor_;
  std::array<QButtonGroup*, preferencecount> Option_{};
};

}  // namespace ostrel
