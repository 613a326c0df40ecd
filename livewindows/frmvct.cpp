#include "livewindows/frmvct.h"

#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QProgressBar>
#include <QResizeEvent>
#include <algorithm>

#include "livewindows/vctexport.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/twipgeometry.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

constexpr int windowwidth = 13455, windowheight = 7200;  // twips
constexpr int picturetop = 600;

}  // namespace

frmVCT::frmVCT(ProgramState& state, EcuLink& link, QWidget* parent)
    : LiveWindow(state, link, selector, timerms, closeafter, {}, parent) {
  setObjectName(QStringLiteral("frmVCT"));
  setWindowTitle(QStringLiteral("Variable cam"));

  Combo1 = new QComboBox(this);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  placetwips(Combo1, 120, 120, 2700, 345);
  Label1 = new QLabel(QStringLiteral("Export buffer:"), this);
  placetwips(Label1, 3000, 150, 1300, 285);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);
  placetwips(ProgressBar1, 4320, 150, 3000, 285);
  picVCT = new PictureSurface(this);
  picVCT->setObjectName(QStringLiteral("picVCT"));
  picVCT->setbackcolor(0x000000);
  picVCT->fillbox(0, 0, picVCT->widthtwips(), picVCT->heighttwips(), 0x000000);
  resize(twipstopixels(windowwidth), twipstopixels(windowheight));

  startlive();  // windowticks 0, the selector 15
  setvctarray();
  Combo1->addItems({QStringLiteral("Default variables"), QStringLiteral("Research variables 1"),
                    QStringLiteral("Research variables 2"), QStringLiteral("Research variables 3"),
                    QStringLiteral("Research variables 4")});
  // The user's choice restarts the buffer even when it is the item already shown, and so does a change of the item
  // by the program; a choice of another item brings both, and the second restart finds nothing to undo.
  connect(Combo1, &QComboBox::activated, this, &frmVCT::Combo1_Click);
  connect(Combo1, &QComboBox::currentIndexChanged, this, &frmVCT::Combo1_Click);
  Combo1->setCurrentIndex(0);
  Combo1_Click();
}

frmVCT::~frmVCT() = default;

void frmVCT::showmodal(ProgramState& state, EcuLink& link, QWidget* parent) {
  frmVCT window(state, link, parent);
  launcher().showmodal(window);
}

void frmVCT::setvctarray() {
  link().setrequesttable(LiveTable::vct, vctrequesttable());
}

void frmVCT::Combo1_Click() {
  // Every set asks for the same values today; choosing one starts a fresh buffer.
  buffer_.reset();
  setvctarray();
}

void frmVCT::vcttypedata(const RxFrame& rxframe) {
  paintplan(*picVCT, vctboxesplan(rxframe));
  if (buffer_.take(rxframe)) {
    // The workbook is written and the spreadsheet program started after the tick, never inside the reply path.
    EcuLink& ecu = link();
    ecu.defer([&ecu, samples = buffer_.samples(), now = QDateTime::currentDateTime()] {
      ecu.host().statusmessage(vctexportstatus(exportvct(samples, now)), false);
    });
  }
  ProgressBar1->setValue(buffer_.count() / 10);
}

void frmVCT::drawdata(const RxFrame& rxframe) {
  paintplan(*picVCT, chart_.step(rxframe, picVCT->widthtwips(), picVCT->heighttwips()));
}

void frmVCT::resizeEvent(QResizeEvent* event) {
  LiveWindow::resizeEvent(event);
  const int width = pixelstotwips(event->size().width());
  const int height = pixelstotwips(event->size().height());
  // A window too low for the picture leaves it empty rather than of a negative height.
  placetwips(picVCT, 0, picturetop, width, std::max(0, height - picturetop));
  chart_.restart();
}

}  // namespace ostrel
