#include "livewindows/frminputdiagnostic.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/startuptables.h"

namespace ostrel {

frmInputDiagnostic::frmInputDiagnostic(ProgramState& state, EcuLink& link, QWidget* parent)
    : LiveWindow(state, link, selectorvalue, 200, 0, {}, parent),
      diagnostic_(startuptables().diagthreshold, startuptables().diagexpected) {
  setObjectName(QStringLiteral("frmInputDiagnostic"));
  setWindowTitle(QStringLiteral("Input diagnostic"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(2);
  const std::array<std::pair<Labels*, const char*>, 7> columns = {{{&sensor, "sensor"},
                                                                   {&feedback, "feedback"},
                                                                   {&feedback1, "feedback1"},
                                                                   {&feedback2, "feedback2"},
                                                                   {&lowtime, "lowtime"},
                                                                   {&hightime, "hightime"},
                                                                   {&status, "status"}}};
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    for (int i = 0; i < InputDiagnostic::rows; ++i) {
      auto* label = new QLabel(this);
      label->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(columns[c].second)).arg(i));
      if (i == 0) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
      }
      if (c > 0) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      (*columns[c].first)[i] = label;
      grid->addWidget(label, i, c);
    }
  }
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, InputDiagnostic::runlength);
  ProgressBar1->setValue(0);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ProgressBar1);

  showrows();
  link.setrequesttable(LiveTable::diag, InputDiagnostic::addresses());
  startlive();
  Timer1->stop();  // the window counts replies, not time
}

void frmInputDiagnostic::showrows() {
  for (int i = 0; i < InputDiagnostic::rows; ++i) {
    const InputDiagnostic::Row& row = diagnostic_.row(i);
    sensor[i]->setText(row.sensor);
    feedback[i]->setText(row.feedback);
    feedback1[i]->setText(row.feedback1);
    feedback2[i]->setText(row.feedback2);
    lowtime[i]->setText(row.lowtime);
    hightime[i]->setText(row.hightime);
    status[i]->setText(row.status);
  }
  ProgressBar1->setValue(diagnostic_.progress());
}

void frmInputDiagnostic::reportdata(const RxFrame& rxframe) {
  diagnostic_.reportdata(rxframe, link().live().livevars);
  showrows();
}

}  // namespace ostrel
