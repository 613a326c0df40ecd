#include "livewindows/frmfastverify.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/translate.h"
#include "platform/prompts.h"

namespace ostrel {

frmFastVerify::frmFastVerify(ProgramState& state, EcuLink& link, const maps& mainmaps, Prompts& prompts,
                             QWidget* parent)
    : LiveWindow(state, link, selectorvalue, 20, 0, {}, parent), prompts_(prompts), verify_(state, link, mainmaps) {
  setObjectName(QStringLiteral("frmFastVerify"));
  setWindowTitle(QStringLiteral("Quick verify"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  const auto textbox = [this](const char* name) {
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
  };
  Text1 = textbox("Text1");
  Text2 = textbox("Text2");
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, FastVerify::lastmap);
  ProgressBar1->setTextVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text1, 3);
  layout->addWidget(Text2, 2);
  layout->addWidget(ProgressBar1);
  resize(520, 360);

  verify_.start();
  showstate();
  startlive();
}

namespace {
// The report's lines end in CR LF; the text boxes take plain line feeds.
QString boxtext(const QString& text) {
  QString lines = text;
  return lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
}  // namespace

void frmFastVerify::showstate() {
  if (shownreport_ != verify_.report()) {
    shownreport_ = verify_.report();
    Text1->setPlainText(boxtext(shownreport_));
  }
  if (shownfailures_ != verify_.failures()) {
    shownfailures_ = verify_.failures();
    Text2->setPlainText(boxtext(shownfailures_));
    Text2->moveCursor(QTextCursor::End);
  }
  ProgressBar1->setValue(verify_.progress());
}

void frmFastVerify::timertick() {
  if (ended_) return;
  const FastVerify::End end = verify_.step();
  showstate();
  if (end != FastVerify::End::none) finish(end);
}

void frmFastVerify::finish(FastVerify::End end) {
  ended_ = true;
  Timer1->stop();
  // Never a modal box inside a tick of the link: the message waits until the tick has ended.
  QPointer<frmFastVerify> self(this);
  link().defer([self, end] {
    if (!self) return;
    const QString message = FastVerify::endmessage(end);
    if (!message.isEmpty()) self->prompts_.message(translate(message), Prompts::Icon::Information);
    if (self) self->close();
  });
}

}  // namespace ostrel
