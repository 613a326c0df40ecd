#include "logger/ui/frmdefault.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "logger/progressjobs.h"
#include "logger/ui/frmprogress.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {
constexpr std::array<const char*, 4> captions = {"16 ohm injector response map", "10 ohm injector response map",
                                                 "2.5 ohm injector response map", "1 ohm injector response map"};
}  // namespace

frmDefault::frmDefault(ProgramState& state, ProgressJobs& jobs, QWidget* parent)
    : QDialog(parent), state_(state), jobs_(jobs) {
  setObjectName(QStringLiteral("frmDefault"));
  setWindowTitle(QStringLiteral("Import default map fragment"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  for (std::size_t i = 0; i < Option1.size(); ++i) {
    Option1[i] = new QRadioButton(QString::fromLatin1(captions[i]), this);
    Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    layout->addWidget(Option1[i]);
  }
  Command1 = new QPushButton(QStringLiteral("&Load"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command2 = new QPushButton(QStringLiteral("&Cancel"), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1);
  buttons->addWidget(Command2);
  layout->addLayout(buttons);
  connect(Command1, &QPushButton::clicked, this, &frmDefault::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmDefault::Command2_Click);
}

void frmDefault::showmodal(ProgramState& state, ProgressJobs& jobs, QWidget* parent) {
  frmDefault window(state, jobs, parent);
  launcher().showmodal(window);
}

void frmDefault::Command1_Click() {
  for (std::size_t i = 0; i < Option1.size(); ++i) {
    if (!Option1[i]->isChecked()) continue;
    frmProgress::showjob(state_, jobs_, static_cast<std::uint8_t>(static_cast<int>(ProgressJob::preset16ohm) + i),
                         this);
  }
  accept();
}

void frmDefault::Command2_Click() {
  reject();
}

}  // namespace ostrel
