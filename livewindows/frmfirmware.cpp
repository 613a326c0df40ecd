#include "livewindows/frmfirmware.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace ostrel {

frmFirmware::frmFirmware(ProgramState& state, EcuLink& link, FirmwareMemory& memory, QWidget* parent)
    : LiveWindow(state, link, selectorvalue, 200, 0, {}, parent), signature_(live(), memory) {
  setObjectName(QStringLiteral("frmFirmware"));
  setWindowTitle(QStringLiteral("Firmware signature"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, FirmwareSignature::progressmax);
  ProgressBar1->setTextVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1, 1);
  layout->addWidget(ProgressBar1);
  resize(400, 120);

  startlive();
  signature_.load();
  showstate();
}

FirmwareMemory& frmFirmware::memory() {
  static FirmwareMemory kept;
  return kept;
}

void frmFirmware::showstate() {
  Label1->setText(signature_.label());
  ProgressBar1->setValue(signature_.progress());
}

void frmFirmware::reportdata(const RxFrame& rxframe) {
  signature_.reportdata(rxframe);
  showstate();
}

void frmFirmware::timertick() {
  if (signature_.timertick()) close();
}

void frmFirmware::done(int result) {
  if (!signature_.requestclose()) return;
  LiveWindow::done(result);
}

}  // namespace ostrel
