#include "shell/splash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "platform/numbers.h"
#include "platform/twips.h"

namespace ostrel {

namespace {
constexpr int widthtwips = 6750;
constexpr int heighttwips = 3600;
}  // namespace

QString versiontext() {
  return QStringLiteral("VELKOR OSTREL V%1.%2 revision %3").arg(versionmajor).arg(versionminor).arg(revision);
}

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::Dialog) {
  setObjectName(QStringLiteral("frmSplash"));
  setFixedSize(twipstopixels(widthtwips), twipstopixels(heighttwips));
  setWindowTitle(versiontext() + QStringLiteral(" ONLINE PROGRAMMER LOADING.."));
  place();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer1->setInterval(tickinterval);
  connect(Timer1, &QTimer::timeout, this, &frmSplash::tick);
  Timer1->start();
}

void frmSplash::place() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  const int screenw = pixelstotwips(area.width());
  const int screenh = pixelstotwips(area.height());
  lefttwips_ = static_cast<int>(roundhalfeven((screenw - widthtwips) / 2.0));
  toptwips_ = static_cast<int>(roundhalfeven((screenh - heighttwips) / 3.0));
  move(area.left() + twipstopixels(lefttwips_), area.top() + twipstopixels(toptwips_));
}

void frmSplash::tick() {
  ++ticks_;
  setWindowTitle(windowTitle() + QLatin1Char('.'));
  toptwips_ += creeptwips;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
  move(origin.x() + twipstopixels(lefttwips_), origin.y() + twipstopixels(toptwips_));
  update();
  emit ticked(ticks_);
}

void frmSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0.0, QColor(12, 18, 40));
  sky.setColorAt(1.0, QColor(40, 10, 10));
  p.fillRect(rect(), sky);

  // A tachometer arc with its needle near the red line.
  const QRectF dial(width() * 0.62, height() * 0.18, height() * 0.62, height() * 0.62);
  p.setPen(QPen(QColor(90, 110, 150), 6));
  p.drawArc(dial, -30 * 16, 240 * 16);
  p.setPen(QPen(QColor(220, 40, 30), 6));
  p.drawArc(dial, -30 * 16, 50 * 16);
  p.setPen(QPen(QColor(255, 200, 60), 3));
  const QPointF centre = dial.center();
  p.drawLine(centre, centre + QPointF(dial.width() * 0.42, dial.height() * 0.12));

  QFont title = font();
  title.setPointSize(26);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(235, 235, 240));
  p.drawText(QRectF(20, height() * 0.18, width() * 0.6, height() * 0.3), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("VELKOR"));
  QFont sub = font();
  sub.setPointSize(16);
  sub.setBold(true);
  p.setFont(sub);
  p.setPen(QColor(255, 200, 60));
  p.drawText(QRectF(22, height() * 0.44, width() * 0.6, height() * 0.12), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("OSTREL"));
  QFont line = font();
  line.setPointSize(10);
  line.setBold(true);
  p.setFont(line);
  p.drawText(QRectF(22, height() * 0.55, width() * 0.6, height() * 0.08), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("ONLINE PROGRAMMER"));
  QFont small = font();
  small.setPointSize(9);
  p.setFont(small);
  p.setPen(QColor(180, 185, 200));
  p.drawText(QRectF(22, height() * 0.65, width() * 0.6, height() * 0.1), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Version %1.%2 revision %3").arg(versionmajor).arg(versionminor).arg(revision));
  p.drawText(QRectF(22, height() * 0.80, width() - 44, height() * 0.12), Qt::AlignLeft | Qt::AlignVCenter,
             windowTitle().section(QStringLiteral("PROGRAMMER "), 1));
}

}  // namespace ostrel
