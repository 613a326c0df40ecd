#include "logger/ui/frmprogress.h"

#include <QEvent>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "logger/progressjobs.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

frmProgress::frmProgress(ProgressJobs& jobs, QWidget* parent) : QDialog(parent), jobs_(jobs) {
  setObjectName(QStringLiteral("frmProgress"));
  setWindowTitle(QStringLiteral("Progress"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setModal(true);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(twipstopixels(240), twipstopixels(240), twipstopixels(240), twipstopixels(240));
  layout->addWidget(ProgressBar1);
  setFixedSize(twipstopixels(4800), twipstopixels(1200));

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer1->setInterval(timerms);
  connect(Timer1, &QTimer::timeout, this, &frmProgress::Timer1_Timer);

  started_ = jobs_.show();
  showbar();
  if (running()) Timer1->start();
}

frmProgress::~frmProgress() {
  if (running()) jobs_.abandon();
}

bool frmProgress::running() const {
  return started_ && jobs_.isopen();
}

void frmProgress::showmodal(ProgressJobs& jobs, QWidget* parent) {
  frmProgress window(jobs, parent);
  // Nothing to run: the job ended as it began, or another job's window is up and this one never opens.
  if (!window.running()) return;
  launcher().showmodal(window);
}

void frmProgress::showjob(ProgramState& state, ProgressJobs& jobs, std::uint8_t job, QWidget* parent) {
  state.progressjob = job;
  showmodal(jobs, parent);
}

void frmProgress::showbar() {
  ProgressBar1->setValue(static_cast<int>(roundclamp(jobs_.bar(), 0, 100)));
}

void frmProgress::Timer1_Timer() {
  if (!running()) return;
  jobs_.tick();
  showbar();
  if (!jobs_.isopen()) accept();
}

void frmProgress::ProgressBar1_MouseDown() {
  jobs_.pressbar();
  showbar();
}

bool frmProgress::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ProgressBar1 && event->type() == QEvent::MouseButtonPress) ProgressBar1_MouseDown();
  return QDialog::eventFilter(watched, event);
}

void frmProgress::done(int result) {
  Timer1->stop();
  if (running()) jobs_.abandon();
  QDialog::done(result);
}

}  // namespace ostrel
