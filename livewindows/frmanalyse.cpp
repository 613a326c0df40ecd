#include "livewindows/frmanalyse.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "calibration/translate.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

constexpr int windowwidth = 12000, windowheight = 6600;  // twips
constexpr int margin = 120, rowheight = 375, barheight = 255;

}  // namespace

frmAnalyse::frmAnalyse(const ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName(QStringLiteral("frmAnalyse"));
  setWindowTitle(translate(QStringLiteral("Analyse Ram Dump")));

  menubar = new QMenuBar(this);
  mnuAnalyse = menubar->addMenu(QStringLiteral("&Analyse"));
  mnuTrigTest = mnuAnalyse->addAction(QStringLiteral("&Trigger test"));
  mnuExit = mnuAnalyse->addAction(translate(QStringLiteral("E&xit")));
  connect(mnuTrigTest, &QAction::triggered, this, &frmAnalyse::drawtrigger);
  connect(mnuExit, &QAction::triggered, this, &QDialog::accept);

  HScroll2 = new QScrollBar(Qt::Horizontal, this);
  HScroll2->setObjectName(QStringLiteral("HScroll2"));
  HScroll2->setRange(0, TriggerView::maxzoom);
  HScroll2->setPageStep(1);
  Label1 = new QLabel(QStringLiteral("Zoom <less...more>"), this);
  Command1 = new QPushButton(QStringLiteral("invert trigger"), this);
  Command2 = new QPushButton(QStringLiteral("invert sync"), this);
  for (QPushButton* button : {Command1, Command2}) button->setAutoDefault(false);
  PicTriggers = new PictureSurface(this);
  PicTriggers->setObjectName(QStringLiteral("PicTriggers"));
  PicTriggers->setbackcolor(0x000000);
  PicTriggers->fillbox(0, 0, PicTriggers->widthtwips(), PicTriggers->heighttwips(), 0x000000);
  HScroll1 = new QScrollBar(Qt::Horizontal, this);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  HScroll1->setRange(0, TriggerView::maxstart);
  HScroll1->setPageStep(10);

  connect(HScroll1, &QScrollBar::valueChanged, this, &frmAnalyse::drawtrigger);
  connect(HScroll2, &QScrollBar::valueChanged, this, &frmAnalyse::drawtrigger);
  connect(Command1, &QPushButton::clicked, this, &frmAnalyse::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmAnalyse::Command2_Click);

  resize(twipstopixels(windowwidth), twipstopixels(windowheight));
}

frmAnalyse::~frmAnalyse() = default;

void frmAnalyse::showmodal(const ProgramState& state, QWidget* parent) {
  frmAnalyse window(state, parent);
  launcher().showmodal(window);
}

void frmAnalyse::drawtrigger() {
  view_.zoom = HScroll2->value();
  view_.start = HScroll1->value();
  paintplan(*PicTriggers, triggerplan(state_.ramimage, view_, PicTriggers->widthtwips(), PicTriggers->heighttwips()));
}

void frmAnalyse::Command1_Click() {
  view_.inverttrigger = !view_.inverttrigger;
  drawtrigger();
}

void frmAnalyse::Command2_Click() {
  view_.invertsync = !view_.invertsync;
  drawtrigger();
}

void frmAnalyse::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int width = event->size().width();
  const int height = event->size().height();
  const int menu = menubar->sizeHint().height();
  menubar->setGeometry(0, 0, width, menu);
  const int m = twipstopixels(margin);
  const int row = twipstopixels(rowheight);
  const int bar = twipstopixels(barheight);
  const int top = menu + m;
  HScroll2->setGeometry(m, top + (row - bar) / 2, twipstopixels(2400), bar);
  Label1->setGeometry(m + twipstopixels(2520), top, twipstopixels(2000), row);
  Command1->setGeometry(std::max(m, width - m - twipstopixels(3240)), top, twipstopixels(1560), row);
  Command2->setGeometry(std::max(m, width - m - twipstopixels(1560)), top, twipstopixels(1560), row);
  // A window too small for the picture leaves it empty rather than of a negative size.
  const int picturetop = top + row + m;
  const int picturewidth = std::max(0, width - 2 * m);
  const int pictureheight = std::max(0, height - picturetop - 2 * m - bar);
  PicTriggers->setGeometry(m, picturetop, picturewidth, pictureheight);
  HScroll1->setGeometry(m, picturetop + pictureheight + m, picturewidth, bar);
}

}  // namespace ostrel
