#include "shell/layouts.h"

#include <QMdiSubWindow>
#include <algorithm>

#include "platform/numbers.h"
#include "platform/twips.h"

namespace ostrel {

namespace {

// The settings editor's place (layout 10).
constexpr TwipRect settingsrect{2750, 800, 12400, 8400};

// What the tree keeps free of its window, across and down.
constexpr int treemarginacross = 350;
constexpr int treemargindown = 700;

int whole(double twips) {
  return static_cast<int>(roundhalfeven(twips));
}

// A size never goes below one pixel: a main window too small for the layout still gets every window on screen.
int atleastapixel(int twips) {
  return std::max(twips, twipsperpixel);
}

// Width, height, left and top of a window that is normal; one that stayed minimised keeps its place.
void place(LayoutWindow& window, double width, double height, double left, double top) {
  if (!window.isnormal()) return;
  window.setrect({whole(left), whole(top), atleastapixel(whole(width)), atleastapixel(whole(height))});
}

void placetree(LayoutWindows& w) {
  const TwipRect nav = w.navigate.rect();
  w.tree.settreesize(atleastapixel(nav.width - treemarginacross), atleastapixel(nav.height - treemargindown));
}

void viewa(double W, double H, bool statuson, LayoutWindows& w) {
  place(w.display, 4400, 6900, 0, 0);
  const TwipRect display = w.display.rect();
  place(w.graph, (W - display.width) * 0.6, 6900, display.width, 0);
  place(w.grid, (W - display.width) * 0.38, 6900, (W - display.width) * 0.6 + display.width, 0);
  place(w.navigate, statuson ? (W - 300) * 0.5 : W - 250, H - display.height - 1300, 0, display.height);
  placetree(w);
  if (statuson) place(w.status, (W - 200) * 0.5, H - display.height - 1300, W * 0.5 - 150, display.height);
}

void viewb(double W, double H, bool statuson, LayoutWindows& w) {
  place(w.navigate, (W - 2750) * 0.28, statuson ? (H - 1200) * 0.8 : H - 1200, 0, 0);
  placetree(w);
  const TwipRect nav = w.navigate.rect();
  place(w.graph, (W - 2750) * 0.7, 6900, nav.width, 0);
  const TwipRect graph = w.graph.rect();
  place(w.display, 2750, 6900, graph.width + nav.width, 0);
  const TwipRect display = w.display.rect();
  if (statuson) place(w.status, nav.width, H - nav.height - 1200, 0, nav.height);
  place(w.grid, display.width + graph.width, H - graph.height - 1200, nav.width, graph.height);
}

void viewc(double W, double H, bool statuson, LayoutWindows& w) {
  place(w.navigate, (W - 2800) * 0.28, (H - 1200) * 0.6, 0, 0);
  placetree(w);
  const TwipRect nav = w.navigate.rect();
  place(w.graph, (W - 2800) * 0.7, nav.height, nav.width, 0);
  const TwipRect graph = w.graph.rect();
  place(w.display, 2750, statuson ? 6900 : H - 1200, graph.width + nav.width, 0);
  const TwipRect display = w.display.rect();
  place(w.grid, graph.width + nav.width, (H - 1200) * 0.4, 0, nav.height);
  if (statuson) place(w.status, 2750, H - 1200 - display.height, display.left, display.height);
}

}  // namespace

void arrangelayout(int layout, int mainwidth, int mainheight, bool statuson, LayoutWindows& windows) {
  if (layout == layout::settings) {
    if (windows.settings) windows.settings->setrect(settingsrect);
    return;
  }
  if (layout != layout::viewa && layout != layout::viewb && layout != layout::viewc) return;
  for (LayoutWindow* w : {&windows.display, &windows.graph, &windows.grid, &windows.status, &windows.navigate})
    w->shownormal();
  const double W = mainwidth, H = mainheight;
  switch (layout) {
    case layout::viewa: viewa(W, H, statuson, windows); break;
    case layout::viewb: viewb(W, H, statuson, windows); break;
    default: viewc(W, H, statuson, windows); break;
  }
  if (!statuson) windows.status.showminimised();
}

// --- Real windows ------------------------------------------------------------------------------------------------

namespace {

TwipRect twiprect(const QRect& r) {
  return {pixelstotwips(r.left()), pixelstotwips(r.top()), pixelstotwips(r.width()), pixelstotwips(r.height())};
}

QRect pixelrect(const TwipRect& r) {
  return {twipstopixels(r.left), twipstopixels(r.top), std::max(1, twipstopixels(r.width)),
          std::max(1, twipstopixels(r.height))};
}

}  // namespace

void SubWindowLayout::shownormal() {
  frame_->showNormal();
}

void SubWindowLayout::showminimised() {
  frame_->showMinimized();
}

bool SubWindowLayout::isnormal() const {
  return frame_->isVisible() && !frame_->isMinimized() && !frame_->isMaximized();
}

void SubWindowLayout::setrect(const TwipRect& rect) {
  frame_->setGeometry(pixelrect(rect));
}

TwipRect SubWindowLayout::rect() const {
  return twiprect(frame_->geometry());
}

void DialogLayout::shownormal() {
  window_->showNormal();
}

void DialogLayout::showminimised() {
  window_->showMinimized();
}

bool DialogLayout::isnormal() const {
  return !window_->isMinimized() && !window_->isMaximized();
}

void DialogLayout::setrect(const TwipRect& rect) {
  const QRect r = pixelrect(rect);
  window_->resize(r.size());
  window_->move(area_ ? area_->mapToGlobal(r.topLeft()) : r.topLeft());
}

TwipRect DialogLayout::rect() const {
  QRect r = window_->geometry();
  if (area_) r.moveTopLeft(area_->mapFromGlobal(r.topLeft()));
  return twiprect(r);
}

}  // namespace ostrel
