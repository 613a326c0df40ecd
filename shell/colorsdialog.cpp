#include "shell/colorsdialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/colors.h"

namespace ostrel {

frmColors::frmColors(ColorsEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("frmColors"));
  setWindowTitle(QStringLiteral("Color selection"));
  setModal(true);

  List1 = new QListWidget(this);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setIconSize(QSize(28, 14));
  List1->setSpacing(2);
  for (int k = 0; k < static_cast<int>(colorslots.size()); ++k) {
    List1->addItem(QString::fromLatin1(colorslots[k].listtext));
    showswatch(k);
  }
  List1->setMinimumWidth(260);
  // Tall enough for all six entries without a scroll bar.
  const int spacing = List1->spacing();
  List1->setFixedHeight((List1->sizeHintForRow(0) + 2 * spacing) * List1->count() +
                        2 * (List1->frameWidth() + spacing));
  connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int entry = List1->row(item);
    if (editor_.pick(entry)) showswatch(entry);
  });

  cmdSave = new QPushButton(QStringLiteral("&Save"), this);
  cmdSave->setObjectName(QStringLiteral("cmdSave"));
  Command1 = new QPushButton(QStringLiteral("&Ok"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);
  connect(cmdSave, &QPushButton::clicked, this, [this] {
    if (editor_.save()) accept();
  });
  connect(Command1, &QPushButton::clicked, this, [this] {
    editor_.ok();
    accept();
  });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdSave);
  buttons->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(List1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmColors::showswatch(int entry) {
  QPixmap swatch(List1->iconSize());
  swatch.fill(bgrtocolor(editor_.color(entry)));
  QPainter p(&swatch);
  p.setPen(palette().color(QPalette::Text));
  p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  p.end();
  List1->item(entry)->setIcon(QIcon(swatch));
}

void frmColors::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen, not on the main window.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - frameGeometry().width()) / 2,
         area.y() + (area.height() - frameGeometry().height()) / 2);
  }
}

}  // namespace ostrel
