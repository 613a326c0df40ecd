#include "livewindows/livewindow.h"

#include <QTimer>

namespace ostrel {

LiveWindow::LiveWindow(ProgramState& state, EcuLink& link, std::uint8_t selector, int intervalms, int closeafter,
                       std::initializer_list<std::uint8_t> alsoown, QWidget* parent)
    : QDialog(parent), core_(state, link, selector, closeafter, alsoown) {
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer1->setInterval(intervalms);
  connect(Timer1, &QTimer::timeout, this, &LiveWindow::Timer1_Timer);
}

LiveWindow::~LiveWindow() {
  core_.close(backto());
}

void LiveWindow::startlive() {
  core_.open([this](const RxFrame& rxframe) { reportdata(rxframe); });
  Timer1->start();
}

void LiveWindow::Timer1_Timer() {
  if (!core_.isopen()) return;
  if (core_.countforeigntick()) {
    close();
    return;
  }
  timertick();
}

void LiveWindow::done(int result) {
  Timer1->stop();
  core_.close(backto());
  QDialog::done(result);
}

}  // namespace ostrel
