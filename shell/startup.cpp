#include "shell/startup.h"

#include <QTimer>

#include "calibration/settings.h"
#include "calibration/startuptables.h"
#include "link/eculink.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "shell/colors.h"
#include "logger/logprofile.h"
#include "shell/mainwindow.h"
#include "shell/preferences.h"
#include "shell/splash.h"

namespace ostrel {

StartProcedure::StartProcedure(ShellContext& context, QObject* parent) : QObject(parent), context_(context) {}

frmSplash* StartProcedure::splash() const {
  return splash_.data();
}

StartProcedure::~StartProcedure() {
  if (splash_) delete splash_.data();
}

void StartProcedure::begin() {
  ProgramState& state = context_.state;

  splash_ = new frmSplash;
  connect(splash_, &frmSplash::ticked, this, &StartProcedure::splashticked);
  splash_->show();
  // A message box below (a damaged start-up file) runs its own event loop; the splash must not count ticks, nor
  // bring up the main window, before the tables are filled. Its wait starts when they are.
  splash_->Timer1->stop();

  state.guards.clear();
  loadpreferences(state.preferences, context_.prompts);
  context_.mainsettings.setsettingsmetric(state.preferences.metricunits);
  // A missing or short default profile leaves the shipped one in force.
  if (!loadlogprofile(installpath(defaultlogprofilename), state)) {
    const auto& shipped = defaultlogprofile();
    applylogprofile(QByteArray(reinterpret_cast<const char*>(shipped.data()), logprofilesize), state);
  }
  context_.link.initpollplans();
  inithelptexts();
  context_.link.resettransferqueue();
  initvariables(state);
  loadcolors(state.colors, context_.prompts);
  splash_->Timer1->start();
}

void StartProcedure::splashticked(int count) {
  if (count < splashticks || mainwindow_) return;
  showmainwindow();
}

void StartProcedure::showmainwindow() {
  // The splash is gone before the main window is created. It is deleted later: this runs inside its own tick.
  if (splash_) {
    splash_->Timer1->stop();
    splash_->close();
    splash_->deleteLater();
    splash_ = nullptr;
  }
  mainwindow_ = std::make_unique<VelkorV5>(context_);
  mainwindow_->load();
  emit mainwindowshown(mainwindow_.get());
}

}  // namespace ostrel
