// The main window's side of the calls from below: the link, the map views and the shell's own logic. Each call is
// implemented once, whichever interface it comes through.
#include <QTimer>
#include <QWidget>

#include "link/eculink.h"
#include "mapviews/frmmap.h"
#include "mapviews/gridlayer.h"
#include "mapviews/mapgrid.h"
#include "platform/programstate.h"
#include "platform/ui/picturesurface.h"
#include "shell/connectionstate.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"
#include "shell/mainwindow.h"
#include "shell/statuslog.h"

namespace ostrel {

void VelkorV5::drawpanel(bool redraw) {
  if (livepanel_) livepanel_->drawpanel(redraw);
}

void VelkorV5::drawmap(bool redraw) {
  if (frmMap) frmMap->drawmap(redraw);
}

void VelkorV5::drawmap3d() {
  if (frmMap) frmMap->drawmap3d();
}

void VelkorV5::drawmapgraph(bool fullredraw, bool) {
  if (frmMap) frmMap->drawmapgraph(fullredraw);
}

void VelkorV5::cleartabletrail() {
  if (frmMap) frmMap->cleartabletrail();
}

GraphAngles VelkorV5::graphangles() const {
  return frmMap ? frmMap->graphangles() : GraphAngles{};
}

void VelkorV5::openmapview() {
  timers_.handoverpending();
  views_.openmapview();
}

void VelkorV5::refreshactiveview() {
  views_.refreshactiveview();
}

void VelkorV5::statusmessage(const QString& text, bool clear) {
  context_.log.statusmessage(text, clear);
}

void VelkorV5::debugmessage(const QString& text) {
  context_.log.debugmessage(text);
}

void VelkorV5::setmaincaption(const QString& caption) {
  setWindowTitle(caption);
}

void VelkorV5::setcommsinterval(int ms) {
  TimerComms->setInterval(ms);
}

void VelkorV5::setonlinemenus() {
  menus_.setonlinemenus(context_.state.online);
}

void VelkorV5::onlinechanged(bool) {
  setonlinemenus();
}

bool VelkorV5::checkcommsstate() {
  return ostrel::checkcommsstate(context_.state);
}

void VelkorV5::scrollgridtocell(bool flag) {
  views_.scrollgridtocell(flag);
}

void VelkorV5::updategridhighlights(bool full) {
  views_.updategridhighlights(full);
}

void VelkorV5::filldatagrid(bool full) {
  views_.filldatagrid(full);
}

void VelkorV5::setfocus(MapView view) {
  QWidget* target = view == MapView::grid ? static_cast<QWidget*>(frmMapGrid->MapGrid())
                                          : static_cast<QWidget*>(frmMap->picGraph());
  if (target) target->setFocus(Qt::OtherFocusReason);
}

void VelkorV5::maximisegrid() {
  cyclewindowstate(frmMapGrid->parentWidget());
}

void VelkorV5::minimizeonclose(QWidget* window) {
  ostrel::minimizeonclose(window, context_.state);
}

void VelkorV5::flushpending() {
  timers_.handoverpending(true);
}

void VelkorV5::unloadmainwindow() {
  close();
}

}  // namespace ostrel
