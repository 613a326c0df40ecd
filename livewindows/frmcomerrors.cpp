#include "livewindows/frmcomerrors.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/translate.h"
#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

frmComErrors::frmComErrors(ProgramState& state, EcuLink& link, ComStatsMemory& memory, QWidget* parent)
    : QDialog(parent), state_(state), link_(link), stats_(memory) {
  setObjectName(QStringLiteral("frmComErrors"));
  setWindowTitle(translate(QStringLiteral("Com stats")));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* menubar = new QMenuBar(this);
  mnuComsStats = menubar->addMenu(translate(QStringLiteral("&Com stats")));
  mnuComsStats->setObjectName(QStringLiteral("mnuComsStats"));
  mnuResetStats = mnuComsStats->addAction(QStringLiteral("&Reset stats"));
  mnuResetStats->setObjectName(QStringLiteral("mnuResetStats"));
  mnuExit = mnuComsStats->addAction(translate(QStringLiteral("E&xit")));
  mnuExit->setObjectName(QStringLiteral("mnuExit"));

  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setReadOnly(true);
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The link keeps at most this many lines; the box never holds more.
  Text1->setMaximumBlockCount(EcuLink::errlogmaxlines + 1);

  static constexpr std::array<const char*, 9> captions = {
      "", "Frequency:", "Yield:", "", "", "ECU firmware:", "", "", "Advanced:"};
  for (int i = 1; i <= 8; ++i) {
    Label[i] = new QLabel(QString::fromLatin1(captions[i]), this);
    Label[i]->setObjectName(QStringLiteral("Label%1").arg(i));
  }

  Command1 = new QPushButton(QStringLiteral("&Clear"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setAutoDefault(false);
  Command2 = new QPushButton(translate(QStringLiteral("E&xit")), this);
  Command2->setObjectName(QStringLiteral("Command2"));
  Command2->setAutoDefault(false);

  auto* values = new QGridLayout;
  values->addWidget(Label[1], 0, 0);
  values->addWidget(Label[3], 0, 1);
  values->addWidget(Label[2], 1, 0);
  values->addWidget(Label[4], 1, 1);
  values->addWidget(Label[5], 2, 0);
  values->addWidget(Label[6], 2, 1);
  values->addWidget(Label[8], 3, 0);
  values->addWidget(Label[7], 3, 1);
  values->setColumnStretch(1, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1);
  buttons->addWidget(Command2);

  auto* bottom = new QHBoxLayout;
  bottom->addLayout(values, 1);
  bottom->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menubar);
  layout->addWidget(Text1, 1);
  layout->addLayout(bottom);
  resize(600, 380);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, &frmComErrors::Timer1_Timer);
  connect(Command1, &QPushButton::clicked, this, &frmComErrors::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &QDialog::close);
  connect(mnuResetStats, &QAction::triggered, this, &frmComErrors::mnuResetStats_Click);
  connect(mnuExit, &QAction::triggered, this, &QDialog::close);

  showlog();
  Timer1->start();
}

ComStatsMemory& frmComErrors::memory() {
  static ComStatsMemory kept;
  return kept;
}

void frmComErrors::showlog() {
  const QString log = link_.errlogtext();
  if (log == shownlog_) return;
  shownlog_ = log;
  // Lines end in CR LF in the log; the box takes line feeds and shows no empty line after the newest.
  QString lines = log;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (lines.endsWith(QLatin1Char('\n'))) lines.chop(1);
  Text1->setPlainText(lines);
  Text1->moveCursor(QTextCursor::End);
  Text1->ensureCursorVisible();
}

void frmComErrors::Timer1_Timer() {
  // The log is compared whole: the link keeps only its newest lines, so its length alone may stay the same while
  // the lines change.
  showlog();
  const ComStatsTexts texts =
      stats_.tick(link_.framessent(), link_.errorcount(), link_.live().fwversion, state_.preferences);
  Label[3]->setText(texts.frequency);
  if (texts.yield) Label[4]->setText(*texts.yield);
  Label[6]->setText(texts.firmware);
  Label[7]->setText(texts.autosync);
}

void frmComErrors::Command1_Click() {
  link_.clearerrlog();
}

void frmComErrors::mnuResetStats_Click() {
  link_.resetstats();
}

}  // namespace ostrel
