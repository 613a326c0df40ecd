#include "link/ui/frmtransfer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/translate.h"
#include "platform/prompts.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

frmTransfer::frmTransfer(ImageTransfer& transfer, QWidget* parent) : QDialog(parent), transfer_(transfer) {
  setObjectName(QStringLiteral("frmTransfer"));
  setWindowTitle(translate(QStringLiteral("File transfer")));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignCenter);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  cmdCancel = new QPushButton(translate(QStringLiteral("Cancel")), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ProgressBar1);
  layout->addLayout(buttons);
  setFixedSize(380, 140);

  Timer1 = new QTimer(this);
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &frmTransfer::Timer1_Timer);
  connect(cmdCancel, &QPushButton::clicked, this, &frmTransfer::cmdCancel_Click);

  showstate(transfer_.windowopened());
  Timer1->start();
}

frmTransfer::~frmTransfer() {
  if (!closed_) transfer_.windowclosed();
}

void frmTransfer::showmodal(ImageTransfer& transfer, QWidget* parent) {
  frmTransfer dialog(transfer, parent);
  launcher().showmodal(dialog);
}

void frmTransfer::showEvent(QShowEvent* event) {
  // Centred across the screen, its top at a third of the height left free.
  if (const QScreen* s = screen()) {
    const QRect g = s->geometry();
    move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 3);
  }
  QDialog::showEvent(event);
}

void frmTransfer::showstate(const ImageTransfer::WindowState& w) {
  Label1->setText(w.label);
  ProgressBar1->setValue(w.progress);
}

void frmTransfer::Timer1_Timer() {
  if (closed_) return;
  const ImageTransfer::WindowState w = transfer_.windowtick();
  showstate(w);
  if (w.close) finish(w.message);
}

void frmTransfer::cmdCancel_Click() {
  if (closed_) return;
  if (transfer_.cancel()) finish({});
}

void frmTransfer::reject() {
  cmdCancel_Click();
}

void frmTransfer::finish(const QString& message) {
  closed_ = true;
  Timer1->stop();
  transfer_.windowclosed();
  done(QDialog::Accepted);
  if (!message.isEmpty()) transfer_.prompts().message(message, Prompts::Icon::Exclamation);
}

}  // namespace ostrel
