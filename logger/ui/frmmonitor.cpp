#include "logger/ui/frmmonitor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "link/eculink.h"
#include "logger/logchannels.h"
#include "logger/logprofile.h"
#include "logger/logreplay.h"
#include "platform/installfolder.h"
#include "platform/twips.h"

namespace ostrel {

frmMonitor::frmMonitor(LoggerContext& context, LogDisplay& display, QWidget* parent)
    : LiveWindow(context.state, context.link, selector, timerms, 0, {}, parent), context_(context), display_(display) {
  setObjectName(QStringLiteral("frmMonitor"));
  setWindowTitle(QStringLiteral("Monitor data"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* layout = new QGridLayout(this);
  for (int k = 0; k < 4; ++k) {
    const auto i = static_cast<std::size_t>(k);
    Label1[i] = new QLabel(QStringLiteral("Variable %1 address").arg(13 + k), this);
    Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(k));
    Text1[i] = new QLineEdit(QStringLiteral("ffff"), this);
    Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(k));
    Text1[i]->setMaxLength(8);
    Text1[i]->setFixedWidth(twipstopixels(900));
    layout->addWidget(Label1[i], k, 0);
    layout->addWidget(Text1[i], k, 1);
  }
  startlive();
}

frmMonitor::~frmMonitor() {
  // Destroyed without closing: the selector still goes back to the logger.
  live().close(backto());
}

void frmMonitor::reportdata(const RxFrame&) {
  display_.logtypedata();
  display_.drawdata();
}

void frmMonitor::timertick() {
  std::array<QString, 4> texts;
  for (std::size_t k = 0; k < texts.size(); ++k) texts[k] = Text1[k]->text();
  EcuLink& ecu = context_.link;
  ecu.setrequesttable(LiveTable::log, monitorrequesttable(ecu.requesttable(LiveTable::log), texts));
}

void frmMonitor::done(int result) {
  LiveWindow::done(result);  // the selector back to the logger
  if (unloaded_) return;
  unloaded_ = true;
  // The default profile undoes the "no trace" that opening the monitor set; a profile that cannot be read leaves
  // the channels as they are.
  loadlogprofile(installpath(defaultlogprofilename), context_.state);
}

}  // namespace ostrel
