// ostrel: the start procedure and the one instance of everything the program works on.
#include <QApplication>

#include "calibration/maps.h"
#include "calibration/maps25.h"
#include "calibration/settings.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "link/serialcommport.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/ui/qtprompts.h"
#include "shell/shellcontext.h"
#include "shell/startup.h"
#include "shell/statuslog.h"

namespace {

// Everything lives as long as the program; members are destroyed in reverse order, so the windows (inside the start
// procedure) go before the link and the state they use.
struct App {
  ostrel::ProgramState state;
  ostrel::QtPrompts prompts;
  ostrel::maps mainmaps{prompts};
  ostrel::maps templatemaps{prompts};
  ostrel::Maps25 oldmaps;
  ostrel::settings mainsettings;
  ostrel::logsamples logstore;
  ostrel::StatusLog log;
  ostrel::SerialCommPort port;
  ostrel::EcuLink link{state, mainmaps, prompts, port};
  ostrel::ImageTransfer transfer{state, mainmaps, prompts, link};
  ostrel::ProgressJobs progressjobs{state, mainmaps, mainsettings, logstore, link, prompts};
  ostrel::ShellContext context{state,    prompts,      mainmaps, mainsettings, log,         link,
                               transfer, templatemaps, oldmaps,  logstore,     progressjobs};
  ostrel::StartProcedure start{context};
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ostrel"));
  ostrel::installfolder();
  App app;
  app.start.begin();
  return QApplication::exec();
}
