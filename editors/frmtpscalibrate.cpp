#include "editors/frmtpscalibrate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "editors/frmsettings.h"
#include "editors/throttlecalibration.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

frmTPSCalibrate::frmTPSCalibrate(frmSettings& editor, EditorContext& context)
    : QDialog(&editor), editor_(editor), context_(context) {
  setObjectName(QStringLiteral("frmTPSCalibrate"));
  setWindowTitle(QStringLiteral("Calibrate TPS/PPS"));
  setFont(editor.font());
  Label1 = new QLabel(QStringLiteral("Accelerator pedal at REST"), this);
  Command1 = new QPushButton(QStringLiteral("Calibrate zero TPS"), this);
  Command2 = new QPushButton(QStringLiteral("Calibrate zero PPS"), this);
  Label2 = new QLabel(QStringLiteral("Accelerator pedal FULLY DEPRESSED"), this);
  Command3 = new QPushButton(QStringLiteral("Calibrate wide open TPS"), this);
  for (QPushButton* b : {Command1, Command2, Command3}) b->setAutoDefault(false);
  placetwips(Label1, 240, 180, 4200, 285);
  placetwips(Command1, 240, 540, 2040, 435);
  placetwips(Command2, 2400, 540, 2040, 435);
  placetwips(Label2, 240, 1200, 4200, 285);
  placetwips(Command3, 240, 1560, 4200, 435);
  setFixedSize(twipstopixels(4680), twipstopixels(2280));
  connect(Command1, &QPushButton::clicked, this, &frmTPSCalibrate::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmTPSCalibrate::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &frmTPSCalibrate::Command3_Click);
}

void frmTPSCalibrate::calibrate(int cell) {
  QLineEdit* box = editor_.textofcell(cell);
  const std::optional<QString> text = throttlecalibrationtext(cell, context_.state, box ? box->text() : QString());
  // In help mode the button only shows the cell's help, reading or not.
  if (!text && !editor_.helpmode()) {
    context_.host.statusmessage(nothrottlereading, false);
    return;
  }
  // A guarded setting shows no value, not even the reading; its "Enter" refuses it.
  if (text && box && !editor_.guarded(cell)) box->setText(*text);
  editor_.Command_Click(cell);
}

void frmTPSCalibrate::Command1_Click() {
  calibrate(throttlecells::zerotps);
}

void frmTPSCalibrate::Command2_Click() {
  calibrate(throttlecells::zeropps);
}

void frmTPSCalibrate::Command3_Click() {
  calibrate(throttlecells::fulltps);
}

}  // namespace ostrel
