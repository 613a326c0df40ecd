#include "mapviews/mapgrid.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "mapviews/gridlayer.h"
#include "mapviews/keycodes.h"
#include "mapviews/mapgridcontent.h"
#include "mapviews/mapviews.h"
#include "platform/programstate.h"

namespace ostrel {

frmMapGrid::frmMapGrid(MapViews& views, const ProgramState& state, QWidget* parent)
    : QWidget(parent), views_(views), state_(state), grid_(new GridView(&views.mapgrid(), this)) {
  grid_->setObjectName(QStringLiteral("MapGrid"));
  // The grid fills the window's client area.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);

  for (int k = 0; k < gridsize; ++k) {
    grid_->setrowheight(k, rowheight);
    grid_->setcolwidth(k, colwidth);
  }
  grid_->setrowheight(-1, rowheight + 3);
  grid_->setcolwidth(-1, labelwidth);
  // Unit notes make texts longer than the standard width; the columns widen to show them whole.
  grid_->setcolumnfit(colwidth);
  setFocusProxy(grid_);

  connect(grid_, &GridView::keydown, this,
          [this](int keycode, int shift) { views_.gridkeydown(keycode, shift, true); });
  connect(grid_, &GridView::focusreceived, this, [this] { views_.gridfocused(); });
  connect(&views_, &MapViews::gridcaptionchanged, this, &QWidget::setWindowTitle);
  if (!views_.gridcaption().isEmpty()) setWindowTitle(views_.gridcaption());
  views_.attachscrolling(grid_);
}

frmMapGrid::~frmMapGrid() {
  views_.attachscrolling(nullptr);
}

void frmMapGrid::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The first caption, unless a map has already been opened into the grid.
  if (!resized_) {
    resized_ = true;
    if (views_.gridcaption().isEmpty()) views_.setgridcaption(QStringLiteral("Map data"));
  }
}

void frmMapGrid::keyPressEvent(QKeyEvent* event) {
  views_.gridkeydown(virtualkeycode(*event), shiftmask(event->modifiers()), false);
  event->accept();
}

void frmMapGrid::closeEvent(QCloseEvent* event) {
  if (state_.exiting) {
    event->accept();
    return;
  }
  event->ignore();
  views_.host().minimizeonclose(this);
}

}  // namespace ostrel
