#include "editors/frmtpscalibrate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editors/frmsettings.h"
#include "editors/throttlecalibration.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

frmTPSCalibrate::frmTPSCalibrate(frmSettings& editor) : QDialog(&editor), editor_(editor) {
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

void frmTPSCalibrate::settext(int cell, const QString& text) {
  if (QLineEdit* box = editor_.textofcell(cell)) box->setText(text);
}

void frmTPSCalibrate::Command1_Click() {
  if (QLineEdit* box = editor_.textofcell(throttlecells::zerotps))
    box->setText(zerotpstext(editor_.livetps(), box->text()));
  editor_.Command_Click(throttlecells::zerotps);
}

void frmTPSCalibrate::Command2_Click() {
  settext(throttlecells::zeropps, zeroppstext(editor_.livepps()));
  editor_.Command_Click(throttlecells::zeropps);
}

void frmTPSCalibrate::Command3_Click() {
  settext(throttlecells::fulltps, fulltpstext(editor_.livetps()));
  editor_.Command_Click(throttlecells::fulltps);
}

}  // namespace ostrel
