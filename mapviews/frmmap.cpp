#include "mapviews/frmmap.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>

#include "calibration/maps.h"
#include "calibration/translate.h"
#include "link/eculink.h"
#include "mapviews/keycodes.h"
#include "mapviews/viewhelpers.h"
#include "platform/colors.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"

namespace ostrel {

namespace {

constexpr int keyt = 84;
constexpr int threedkind = 0;
constexpr int tablekind = 1;

int px(double twips) {
  return twipstopixels(twips);
}

}  // namespace

frmMap::frmMap(ProgramState& state, const maps& mainmaps, const EcuLink& link, MapViews& views, QWidget* parent)
    : QWidget(parent),
      state_(state),
      mainmaps_(mainmaps),
      link_(link),
      views_(views),
      picture_(new PictureSurface(this)),
      hscroll_(new QScrollBar(Qt::Horizontal, this)),
      vscroll_(new QScrollBar(Qt::Vertical, this)) {
  picture_->setObjectName(QStringLiteral("picGraph"));
  hscroll_->setObjectName(QStringLiteral("HScroll1"));
  vscroll_->setObjectName(QStringLiteral("VScroll1"));
  hscroll_->setRange(0, 360);
  vscroll_->setRange(0, 10);
  hscroll_->setValue(static_cast<int>(roundhalfeven(angles_.h)));
  vscroll_->setValue(static_cast<int>(roundhalfeven(angles_.v)));
  // The keys stay with the picture: a click on a scroll bar turns the graph and leaves the arrows to the graph.
  hscroll_->setFocusPolicy(Qt::NoFocus);
  vscroll_->setFocusPolicy(Qt::NoFocus);
  setFocusProxy(picture_);
  setAutoFillBackground(true);
  setbackground();

  picture_->installEventFilter(this);
  connect(picture_, &PictureSurface::focusreceived, this, [this] { graphfocused(); });
  connect(hscroll_, &QScrollBar::valueChanged, this, [this](int value) {
    angles_.h = static_cast<float>(value);
    anglechanged();
  });
  connect(vscroll_, &QScrollBar::valueChanged, this, [this](int value) {
    angles_.v = static_cast<float>(value);
    anglechanged();
  });
}

frmMap::~frmMap() = default;

const GraphProjection& frmMap::currentprojection() {
  const ShownArea area = shownarea(mainmaps_, state_.guards, state_.curmap);
  ProjectionInputs in;
  in.width = picture_->widthtwips();
  in.height = picture_->heighttwips();
  in.rows = area.across;  // rpm points, along the first index
  in.cols = area.down;    // load points, along the second
  in.angles = angles_;
  return projector_.projection(in);
}

void frmMap::drawmap3d() {
  if (mainmaps_.getcontextandtype(state_.curmap) != threedkind) return;
  currentprojection();
}

void frmMap::setgraphangles(const GraphAngles& angles) {
  angles_ = angles;
  const QSignalBlocker hblock(hscroll_), vblock(vscroll_);
  hscroll_->setValue(static_cast<int>(roundhalfeven(angles_.h)));
  vscroll_->setValue(static_cast<int>(roundhalfeven(angles_.v)));
}

void frmMap::setbackground() {
  QPalette p = palette();
  p.setColor(QPalette::Window, bgrtocolor(state_.colors.bgcolor));
  setPalette(p);
}

void frmMap::drawmap(bool redraw) {
  switch (mainmaps_.getcontextandtype(state_.curmap)) {
    case threedkind:
      drawmapgraph(*picture_, redraw, nullptr);
      break;
    case tablekind:
      drawtablegraph(*picture_, nullptr);
      break;
    default:
      break;  // the picture keeps what it shows
  }
}

void frmMap::drawmapgraph(bool fullredraw) {
  drawmapgraph(*picture_, fullredraw, nullptr);
}

void frmMap::drawmapgraph(PictureSurface& picture, bool fullredraw, const WorkCopy* work) {
  if (mainmaps_.getcontextandtype(state_.curmap) != threedkind) return;
  const GraphProjection& projection = currentprojection();
  const WireGraphInputs in = wiregraphinputs(mainmaps_, state_, link_.live(), work);
  WireGraph& graph = &picture == picture_ ? wire_ : otherwire_;
  graph.plan(scene_, in, projection, picture.widthtwips(), picture.heighttwips(), fullredraw);
  setbackground();
  paintscene(picture, scene_);
}

void frmMap::drawtablegraph(PictureSurface& picture, const WorkCopy* work) {
  if (mainmaps_.getcontextandtype(state_.curmap) != tablekind) return;
  const TableGraphInputs in = tablegraphinputs(mainmaps_, state_, link_.live(), work);
  plantablegraph(scene_, in, trail_, picture.widthtwips(), picture.heighttwips());
  setbackground();
  paintscene(picture, scene_);
}

void frmMap::layoutwindow() {
  const int outerwidth = pixelstotwips(width()) + frameacross;
  const int outerheight = pixelstotwips(height()) + framedown;
  const GraphLayout l = graphlayout(outerwidth, outerheight);
  picture_->setGeometry(px(l.pictureleft), px(l.picturetop), px(l.pictureside), px(l.pictureside));
  // The layout counts in the window's outer size and places the controls in its client area.
  vscroll_->setGeometry(px(l.vscrollleft), 0, px(scrollthickness),
                        l.vscrollheight ? px(*l.vscrollheight) : vscroll_->height());
  hscroll_->setGeometry(0, px(l.hscrolltop), l.hscrollwidth ? px(*l.hscrollwidth) : hscroll_->width(),
                        px(scrollthickness));
  const QSignalBlocker hblock(hscroll_), vblock(vscroll_);
  hscroll_->setValue(static_cast<int>(roundhalfeven(angles_.h)));
  vscroll_->setValue(static_cast<int>(roundhalfeven(angles_.v)));
}

void frmMap::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!resized_) {
    resized_ = true;
    setWindowTitle(translate(QStringLiteral("Map")));
  }
  layoutwindow();
  drawmap3d();
  setbackground();
  drawmap(true);
}

void frmMap::anglechanged() {
  drawmap3d();
  drawmap(true);
  // The arrows go back to the graph.
  picture_->setFocus(Qt::OtherFocusReason);
}

void frmMap::graphfocused() {
  views_.host().statusmessage(QStringLiteral("Map focus, arrows are map oriented"), false);
  state_.graphview = true;
  if (mainmaps_.getcontextandtype(state_.curmap) == threedkind) drawmapgraph(*picture_, true, nullptr);
}

void frmMap::keyPressEvent(QKeyEvent* event) {
  views_.mapkeydown(virtualkeycode(*event), shiftmask(event->modifiers()), MapView::graph, true);
  event->accept();
}

bool frmMap::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture_ && event->type() == QEvent::KeyPress) {
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const int keycode = virtualkeycode(key);
    const int shift = shiftmask(key.modifiers());
    // T alone on the picture hands the focus to the grid: that is how T toggles between the two.
    views_.mapkeydown(keycode, shift, keycode == keyt && shift == 0 ? MapView::grid : MapView::graph, true);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void frmMap::closeEvent(QCloseEvent* event) {
  if (state_.exiting) {
    event->accept();
    return;
  }
  event->ignore();
  views_.host().minimizeonclose(this);
}

}  // namespace ostrel
