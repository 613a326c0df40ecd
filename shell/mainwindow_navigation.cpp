// The main window's navigation (tree, Map Group and Map menus), the editors it opens, the window layouts, the
// views' menu items and the help windows.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "editors/frmcomments.h"
#include "editors/frmimport.h"
#include "editors/frmpasswords.h"
#include "editors/frmsettings.h"
#include "editors/passwordfragments.h"
#include "link/eculink.h"
#include "logger/ui/frmprogress.h"
#include "mapviews/frmmap.h"
#include "mapviews/mapgrid.h"
#include "mapviews/pendingwrite.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/windowlauncher.h"
#include "shell/frmnavigate.h"
#include "shell/gaugewindow.h"
#include "shell/helpwindows.h"
#include "shell/layouts.h"
#include "shell/mainwindow.h"
#include "shell/splash.h"
#include "shell/statuswindow.h"

namespace ostrel {

namespace {

constexpr int commentskind = 2;
constexpr int passwordskind = 3;
constexpr int settingskind = 4;

QMdiSubWindow* frameof(QWidget* child) {
  return qobject_cast<QMdiSubWindow*>(child->parentWidget());
}

// The settings editor while it exists: a window of its own, not a child of the area. It asks for its layout while it
// loads, before it is shown.
QWidget* opensettingseditor() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("frmSettings")) return w;
  return nullptr;
}

}  // namespace

// --- Navigation ----------------------------------------------------------------------------------------------------

void VelkorV5::buildnavtree(bool filltree, bool fillmenus) {
  if (filltree) frmNavigate->filltree(maptree(context_.mainmaps, context_.state.guards, QString()));
  if (fillmenus) {
    mapmenus_.fillgroups(groupmenuitems(context_.mainmaps));
    buildmapmenu();
  }
}

void VelkorV5::buildnavtree() {
  buildnavtree(true, false);
}

void VelkorV5::buildmapmenu() {
  const int curmap = context_.state.curmap;
  mapmenus_.fillmaps(mapmenuitems(context_.mainmaps, context_.state.guards, curmap), mapmenuenabled(context_.mainmaps, curmap));
}

void VelkorV5::showeditor(int kind) {
  switch (kind) {
    case commentskind: frmComments::showmodal(editorcontext_, this); break;
    case passwordskind: frmPasswords::showmodal(editorcontext_, this); break;
    case settingskind: frmSettings::showmodal(editorcontext_, this); break;
    default: break;
  }
}

void VelkorV5::mnuMapGroupSub_Click(int index) {
  navigation_.choosegroup(mapmenus_.groupmap(index));
}

void VelkorV5::mnuMapSub_Click(int index) {
  navigation_.choosemapitem(index);
}

void VelkorV5::loadpasswordfragments(bool reset) {
  ostrel::loadpasswordfragments(context_.mainmaps, context_.state, reset);
}

// --- The editors' and the progress jobs' calls ----------------------------------------------------------------------

int VelkorV5::versionminor() const {
  return ostrel::versionminor;
}

int VelkorV5::revision() const {
  return ostrel::revision;
}

void VelkorV5::runprogressjob(int job) {
  frmProgress::showjob(context_.state, context_.progressjobs, static_cast<std::uint8_t>(job), this);
}

void VelkorV5::mnuImport_Click() {
  // A donor's maps would go straight into the ECU's rows: only offline.
  if (context_.state.online) return;
  frmImport::showmodal(editorcontext_, this);
}

// --- Layouts ---------------------------------------------------------------------------------------------------------

void VelkorV5::arrangewindows(int layout) {
  SubWindowLayout display(frameof(frmDisplay)), graph(frameof(frmMap)), grid(frameof(frmMapGrid)),
      status(frameof(frmStatusWindow)), navigate(frameof(frmNavigate));
  QWidget* editor = layout == layout::settings ? opensettingseditor() : nullptr;
  DialogLayout settings(editor, mdi_->viewport());
  LayoutWindows windows{display, graph, grid, status, navigate, *frmNavigate, editor ? &settings : nullptr};
  const QRect outer = frameGeometry();
  arrangelayout(layout, pixelstotwips(outer.width()), pixelstotwips(outer.height()),
                context_.state.preferences.statusmessages, windows);
  // Every layout ends with the keys on the map grid.
  mdi_->setActiveSubWindow(frameof(frmMapGrid));
  frmMapGrid->MapGrid()->setFocus(Qt::OtherFocusReason);
}

void VelkorV5::mnuViewArrange_Click() {
  arrangewindows(context_.state.preferences.defaultview);
}

void VelkorV5::mnuArrangeA_Click() {
  arrangewindows(layout::viewa);
}

void VelkorV5::mnuArrangeB_Click() {
  arrangewindows(layout::viewb);
}

void VelkorV5::mnuArrangeC_Click() {
  arrangewindows(layout::viewc);
}

// --- Edit and viewing tools --------------------------------------------------------------------------------------------

void VelkorV5::mnuSelectAll_Click() {
  keys_.selection().selectall();
}

void VelkorV5::mnuClearVisit_Click() {
  context_.mainmaps.clearvisit();
  openmapview();
}

void VelkorV5::mnuClearEdit_Click() {
  context_.mainmaps.clearchange();
  openmapview();
}

void VelkorV5::mnuClearAFR_Click() {
  context_.mainmaps.clearAFRerror();
  openmapview();
}

void VelkorV5::mnuClearKnock_Click() {
  context_.mainmaps.clearmapknock();
  openmapview();
}

// --- Help ----------------------------------------------------------------------------------------------------------------

void VelkorV5::mnuHelpThisMap_Click() {
  const HelpMessage help = splithelptext(context_.mainmaps.getmaphelpstring(context_.state.curmap));
  context_.prompts.message(help.message, Prompts::Icon::Information, Prompts::Buttons::Ok, help.title);
}

void VelkorV5::mnuTuneMap_Click() {
  const HelpMessage help = splithelptext(context_.mainmaps.getmaptunestring(context_.state.curmap));
  context_.prompts.message(help.message, Prompts::Icon::Information, Prompts::Buttons::Ok, help.title);
}

void VelkorV5::mnuHotKeys_Click() {
  frmHotkeys window(this);
  // The map view keeps showing the current state under the window.
  refreshactiveview();
  launcher().showmodal(window);
}

void VelkorV5::mnuPictureHelp_Click() {
  frmHelp window(context_.state, this);
  launcher().showmodal(window);
}

}  // namespace ostrel
