#include "shell/statuswindow.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>

#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "shell/connectionstate.h"

namespace ostrel {

namespace {

QString displaytext(QString text) {
  return text.replace(StatusLog::crlf, QStringLiteral("\n"));
}

QPlainTextEdit* makebox(QWidget* parent, const QString& name) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::StrongFocus);
  box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  return box;
}

}  // namespace

StatusBoxes statuslayout(int outerwidth, int outerheight, StatusBoxes boxes) {
  if (outerwidth > 350) boxes.width = outerwidth - 350;
  if (outerheight > 2340) {
    boxes.statusheight = static_cast<int>(roundhalfeven((outerheight - 870) * 0.5));
    boxes.debugheight = boxes.statusheight;
    boxes.debugtop = boxes.statustop + 105 + boxes.statusheight;
  } else {
    if (outerheight > 870) {
      boxes.statusheight = outerheight - 870;
      boxes.debugheight = boxes.statusheight;
    }
    boxes.debugtop = outerheight;
  }
  return boxes;
}

frmStatus::frmStatus(StatusLog& log, ProgramState& state, QWidget* parent) : QWidget(parent), log_(log), state_(state) {
  setObjectName(QStringLiteral("frmStatus"));
  setWindowTitle(QStringLiteral("Status"));
  TextStatus = makebox(this, QStringLiteral("TextStatus"));
  TextStatusDebug = makebox(this, QStringLiteral("TextStatusDebug"));
  TextStatus->setPlainText(displaytext(log_.consoletext()));
  TextStatusDebug->setPlainText(displaytext(log_.debugtext()));
  TextStatus->installEventFilter(this);
  TextStatusDebug->installEventFilter(this);

  connect(&log_, &StatusLog::consolechanged, this,
          [this](const QString& text) { TextStatus->setPlainText(displaytext(text)); });
  connect(&log_, &StatusLog::debugappended, this, &frmStatus::showdebugline);
  connect(&log_, &StatusLog::debugcleared, this, [this] { TextStatusDebug->clear(); });
  resize(twipstopixels(5000), twipstopixels(3000));
}

void frmStatus::showdebugline(const QString& line) {
  // An emptied box starts again with the empty first line that the log holds.
  if (TextStatusDebug->document()->isEmpty()) {
    TextStatusDebug->setPlainText(displaytext(log_.debugtext()));
  } else {
    TextStatusDebug->appendPlainText(line);
  }
}

void frmStatus::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  boxes_ = statuslayout(pixelstotwips(width()) + framewidth, pixelstotwips(height()) + frameheight, boxes_);
  TextStatus->setGeometry(twipstopixels(boxes_.left), twipstopixels(boxes_.statustop), twipstopixels(boxes_.width),
                          twipstopixels(boxes_.statusheight));
  TextStatusDebug->setGeometry(twipstopixels(boxes_.left), twipstopixels(boxes_.debugtop), twipstopixels(boxes_.width),
                               twipstopixels(boxes_.debugheight));
}

void frmStatus::closeEvent(QCloseEvent* event) {
  keepopenonclose(this, event, state_);
}

bool frmStatus::eventFilter(QObject* watched, QEvent* event) {
  // Focus coming back from a closed menu is no move of the focus.
  if (watched == TextStatus && event->type() == QEvent::FocusIn &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    log_.statusmessage(QStringLiteral("Status focus, arrows are grid oriented"), false);
    state_.graphview = true;
  }
  if ((watched == TextStatus || watched == TextStatusDebug) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Tab still moves the focus between the boxes.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) return QWidget::eventFilter(watched, event);
    if (watched == TextStatusDebug) log_.cleardebug();
    emit keypressed(key->key(), key->modifiers());
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ostrel
