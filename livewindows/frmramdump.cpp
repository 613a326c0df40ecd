#include "livewindows/frmramdump.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QTableView>
#include <algorithm>

#include "calibration/translate.h"
#include "livewindows/ramdumpmodel.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/twipgeometry.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

constexpr int addresswidth = 1000, bytewidth = 800;  // twips
constexpr int margin = 120, barheight = 255;

}  // namespace

frmRAMDUMP::frmRAMDUMP(ProgramState& state, EcuLink& link, Prompts& prompts, QWidget* parent)
    : LiveWindow(state, link, selector, timerms, closeafter, {}, parent), prompts_(prompts) {
  setObjectName(QStringLiteral("frmRAMDUMP"));
  setWindowTitle(translate(QStringLiteral("Ram Dump")));

  menubar = new QMenuBar(this);
  mnuRamDump = menubar->addMenu(translate(QStringLiteral("&Ram dump")));
  mnuExit = mnuRamDump->addAction(translate(QStringLiteral("E&xit")));
  mnuExport = mnuRamDump->addAction(QStringLiteral("&Export"));
  mnuExport->setEnabled(false);
  connect(mnuExit, &QAction::triggered, this, &frmRAMDUMP::mnuExit_Click);
  connect(mnuExport, &QAction::triggered, this, &frmRAMDUMP::mnuExport_Click);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, ramdumppages);
  ProgressBar1->setTextVisible(false);

  model_ = new RamDumpModel(state.ramimage, this);
  ramgrid = new QTableView(this);
  ramgrid->setObjectName(QStringLiteral("ramgrid"));
  ramgrid->setModel(model_);
  ramgrid->verticalHeader()->hide();
  setfixedrowheight(ramgrid->verticalHeader(), twipstopixels(255));
  ramgrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  ramgrid->setColumnWidth(0, twipstopixels(addresswidth));
  for (int c = 1; c <= 16; ++c) ramgrid->setColumnWidth(c, twipstopixels(bytewidth));
  ramgrid->setEditTriggers(QAbstractItemView::NoEditTriggers);

  startlive();  // windowticks 0, the selector 16
  setramdumpaddressarray();

  // The screen's full width and its height less 1000 twips, at its top left corner.
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    setGeometry(area.left(), area.top(), area.width(), std::max(0, area.height() - twipstopixels(1000)));
  }
}

frmRAMDUMP::~frmRAMDUMP() = default;

void frmRAMDUMP::showmodal(ProgramState& state, EcuLink& link, Prompts& prompts, QWidget* parent) {
  frmRAMDUMP window(state, link, prompts, parent);
  launcher().showmodal(window);
}

void frmRAMDUMP::setramdumpaddressarray() {
  link().setrequesttable(LiveTable::ramdump, sweep_.table());
}

void frmRAMDUMP::griddata(const RxFrame& rxframe) {
  const int page = sweep_.page();
  const bool full = sweep_.take(rxframe, state().ramimage);
  model_->pagearrived(page);
  if (full) {
    mnuExport->setEnabled(true);
    // A message box never opens inside the reply path: it waits until the link's tick has ended.
    Prompts& prompts = prompts_;
    link().defer([&prompts] { prompts.message(ramdumpfullmessage, Prompts::Icon::Information); });
  }
  setramdumpaddressarray();
  ProgressBar1->setValue(sweep_.page());
}

void frmRAMDUMP::saveramdump() {
  const RamDumpSave saved = ostrel::saveramdump(state().ramimage, QDateTime::currentDateTime());
  if (!saved.error.isEmpty()) {
    link().host().statusmessage(QStringLiteral("The ram image could not be written to ") +
                                    QDir::toNativeSeparators(saved.path) + QStringLiteral(": ") + saved.error,
                                false);
    prompts_.message(QStringLiteral("A file error occurred"), Prompts::Icon::Exclamation);
    return;
  }
  prompts_.message(ramdumpsavedmessage(QFileInfo(saved.path).absolutePath()), Prompts::Icon::Information);
}

void frmRAMDUMP::mnuExit_Click() {
  // The data logger takes the selector back; the window closes itself on its fifth tick under it.
  state().livemode = loggerselector;
}

void frmRAMDUMP::resizeEvent(QResizeEvent* event) {
  LiveWindow::resizeEvent(event);
  const int width = event->size().width();
  const int height = event->size().height();
  const int menu = menubar->sizeHint().height();
  menubar->setGeometry(0, 0, width, menu);
  const int m = twipstopixels(margin);
  ProgressBar1->setGeometry(m, menu + m, std::max(0, width - 2 * m), twipstopixels(barheight));
  const int top = menu + 2 * m + twipstopixels(barheight);
  ramgrid->setGeometry(m, top, std::max(0, width - 2 * m), std::max(0, height - top - m));
}

}  // namespace ostrel
