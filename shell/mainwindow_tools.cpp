// The main window's side of the tools: the data logger and its progress jobs, the tuning tools, the injector
// presets, the cam timing window and the trigger test; their menu items and the calls they make upward.
#include "link/eculink.h"
#include "livewindows/frmanalyse.h"
#include "livewindows/frmvct.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "logger/ui/frmdefault.h"
#include "logger/ui/frmlog.h"
#include "logger/ui/frmprogress.h"
#include "logger/ui/loggercontext.h"
#include "mapviews/pendingwrite.h"
#include "platform/programstate.h"
#include "shell/mainwindow.h"

namespace ostrel {

// --- Menu items --------------------------------------------------------------------------------------------------

void VelkorV5::mnuLogData_Click() {
  LoggerContext logger{context_.state, context_.prompts,  context_.mainmaps,    context_.mainsettings,
                       context_.link,  context_.logstore, context_.progressjobs};
  frmLog::showmodal(logger, this);
}

void VelkorV5::mnuLearn_Click() {
  tuning_.learndata();
}

void VelkorV5::mnuImportDefault_Click() {
  frmDefault::showmodal(context_.state, context_.progressjobs, this);
}

void VelkorV5::mnuAnalyseMap_Click() {
  tuning_.checkmaps();
}

void VelkorV5::mnuRamDump_Click() {
  // The trigger test draws the copy the data logger's RAM dump made.
  frmAnalyse::showmodal(context_.state, this);
}

void VelkorV5::mnuVEFuelBaseTable_Click() {
  tuning_.convertfuelbase(0);
}

void VelkorV5::mnuFuelBaseTableVE_Click() {
  tuning_.convertfuelbase(1);
}

// --- Calls from below --------------------------------------------------------------------------------------------

void VelkorV5::addlogsample(const RxFrame& rxframe) {
  ostrel::addlogsample(context_.state, context_.logstore, rxframe);
}

void VelkorV5::showinterpcopy() {
  tuning_.showinterpcopy();
}

void VelkorV5::showvct() {
  frmVCT::showmodal(context_.state, context_.link, this);
}

void VelkorV5::queuemaprows(int firstrow, int lastrow, int firstcol, int lastcol) {
  // As an edit would: the commands timer hands the rectangle to the link when its countdown runs out.
  markdirtycells(context_.state, firstrow, lastrow, firstcol, lastcol);
}

void VelkorV5::runmapsync() {
  runprogressjob(static_cast<int>(ProgressJob::mapsync));
}

}  // namespace ostrel
