#include "livewindows/frminputs.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QTableView>

#include "calibration/translate.h"
#include "livewindows/livegridmodel.h"
#include "platform/programstate.h"
#include "platform/twips.h"

namespace ostrel {

namespace {

std::vector<Qt::Alignment> columnalignments() {
  std::vector<Qt::Alignment> alignments;
  for (int attribute : InputsTable::columnattributes)
    alignments.push_back(attribute == 2 ? (Qt::AlignLeft | Qt::AlignVCenter) : Qt::Alignment(Qt::AlignCenter));
  return alignments;
}

}  // namespace

frmInputs::frmInputs(ProgramState& state, EcuLink& link, const settings& mainsettings, QWidget* parent)
    : LiveWindow(state, link, selectorvalue, 200, closeafter, {}, parent), table_(mainsettings) {
  setObjectName(QStringLiteral("frmInputs"));
  setWindowTitle(translate(QStringLiteral("Inputs")));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  model_ = new LiveGridModel(
      InputsTable::rows, InputsTable::cols,
      [this](int row, int col) -> const GridCell& { return table_.cell(row, col); }, columnalignments(), this);
  inputGrid = new QTableView(this);
  inputGrid->setObjectName(QStringLiteral("inputGrid"));
  inputGrid->setModel(model_);
  inputGrid->horizontalHeader()->hide();
  inputGrid->verticalHeader()->hide();
  inputGrid->setSelectionMode(QAbstractItemView::NoSelection);
  inputGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  inputGrid->setFocusPolicy(Qt::NoFocus);
  inputGrid->verticalHeader()->setMinimumSectionSize(1);
  // The grid's units of width and height, in pixels: its texts ("Inactive", "Pull-dwn", "AUX 10") fit whole.
  QFont font = inputGrid->font();
  font.setPointSize(8);
  inputGrid->setFont(font);
  int gridwidth = 0;
  for (int c = 0; c < InputsTable::cols; ++c) {
    const int width = static_cast<int>(InputsTable::columnwidths[c] * gridunit);
    inputGrid->setColumnWidth(c, width);
    gridwidth += width;
  }
  for (int r = 0; r < InputsTable::rows; ++r) inputGrid->setRowHeight(r, InputsTable::rowheight);

  // Large enough to show the whole grid.
  const int border = 2 * inputGrid->frameWidth();
  resize(twipstopixels(gridleft) + gridwidth + border + twipstopixels(gridmarginwidth - framewidth - gridleft),
         twipstopixels(gridtop) + InputsTable::rows * InputsTable::rowheight + border +
             twipstopixels(gridmarginheight - frameheight - gridtop));

  link.setrequesttable(LiveTable::inputs, InputsTable::addresses());
  startlive();
}

void frmInputs::reportdata(const RxFrame& rxframe) {
  if (table_.reportdata(rxframe, state().windowage)) model_->refresh();
}

void frmInputs::timertick() {
  live().countage();
}

void frmInputs::resizeEvent(QResizeEvent* event) {
  // The rule is in outer window sizes: the grid follows the window while it is larger than the margins.
  const int outerwidth = pixelstotwips(event->size().width()) + framewidth;
  const int outerheight = pixelstotwips(event->size().height()) + frameheight;
  QRect grid = inputGrid->geometry();
  grid.moveTo(twipstopixels(gridleft), twipstopixels(gridtop));
  if (outerwidth > gridmarginwidth) grid.setWidth(twipstopixels(outerwidth - gridmarginwidth));
  if (outerheight > gridmarginheight) grid.setHeight(twipstopixels(outerheight - gridmarginheight));
  inputGrid->setGeometry(grid);
  LiveWindow::resizeEvent(event);
}

}  // namespace ostrel
