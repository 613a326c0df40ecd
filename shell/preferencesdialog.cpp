#include "shell/preferencesdialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calibration/translate.h"

namespace ostrel {

namespace {
constexpr int columns = 3;
}

frmPreferences::frmPreferences(PreferencesEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("frmPreferences"));
  setWindowTitle(translate(QStringLiteral("Preferences")));
  setModal(true);
  editor_.open();

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  const int rows = (preferencecount + columns - 1) / columns;
  for (int g = 0; g < preferencecount; ++g) {
    const PreferenceGroup& group = preferencegroups[g];
    auto* frame = new QGroupBox(QString::fromLatin1(group.label), this);
    frame->setObjectName(QStringLiteral("Frame%1").arg(g + 1));
    auto* row = new QHBoxLayout(frame);
    row->setSpacing(12);
    auto* buttons = new QButtonGroup(frame);
    buttons->setObjectName(QStringLiteral("Option%1").arg(g + 1));
    for (int e = 0; e < group.optioncount; ++e) {
      auto* option = new QRadioButton(QString::fromLatin1(group.options[e]), frame);
      buttons->addButton(option, e);
      row->addWidget(option);
    }
    row->addStretch();
    connect(buttons, &QButtonGroup::idClicked, this, [this, g](int e) { editor_.click(g, e); });
    Option_[g] = buttons;
    grid->addWidget(frame, g % rows, g / rows);
  }

  Command1 = new QPushButton(QStringLiteral("&Save and exit"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command3 = new QPushButton(QStringLiteral("&Ok"), this);
  Command3->setObjectName(QStringLiteral("Command3"));
  Command3->setDefault(true);
  connect(Command1, &QPushButton::clicked, this, [this] {
    if (editor_.saveandexit()) accept();
  });
  connect(Command3, &QPushButton::clicked, this, [this] {
    editor_.ok();
    accept();
  });

  auto* buttonrow = new QHBoxLayout;
  buttonrow->addStretch();
  buttonrow->addWidget(Command1);
  buttonrow->addWidget(Command3);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(4);
  layout->addLayout(buttonrow);
  setSizeGripEnabled(false);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  showselection();
}

void frmPreferences::showselection() {
  for (int g = 0; g < preferencecount; ++g) {
    QButtonGroup* buttons = Option_[g];
    const int e = editor_.selected(g);
    if (e >= 0) {
      buttons->button(e)->setChecked(true);
    } else {
      // A number outside its range selects nothing.
      buttons->setExclusive(false);
      for (QAbstractButton* b : buttons->buttons()) b->setChecked(false);
      buttons->setExclusive(true);
    }
  }
}

}  // namespace ostrel
