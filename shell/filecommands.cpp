#include "shell/filecommands.h"

#include <QDir>
#include <QFileInfo>

#include "calibration/maps.h"
#include "mapviews/viewhelpers.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "shell/shellhost.h"
#include "shell/statuslog.h"

namespace ostrel {

namespace {

bool samefile(const QString& a, const QString& b) {
  return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

FileCommands::FileCommands(ProgramState& state, maps& mainmaps, Prompts& prompts, StatusLog& log, ShellHost& host)
    : state_(state), mainmaps_(mainmaps), prompts_(prompts), log_(log), host_(host) {}

QString FileCommands::displayname() const {
  return QDir::toNativeSeparators(state_.filename);
}

QString FileCommands::filecaption() const {
  const MapDisplay d = mapdisplay(mainmaps_, state_.guards, state_.curmap, state_.preferences.fueltype);
  return d.group + QStringLiteral(": ") + d.name + QStringLiteral("  (") + displayname() + QLatin1Char(')');
}

void FileCommands::opened(bool fromstartup) {
  if (!fromstartup) mainmaps_.recalc();
  // The guards come from the file's own password records before the tree, the captions or the views show any of it.
  host_.loadpasswordfragments(true);
  // The Map Group menu is built once, at start-up.
  host_.buildnavtree(true, fromstartup);
  log_.statusmessage(displayname() + QStringLiteral(" opened successfully"), false);
  host_.drawmap3d();
  host_.openmapview();
}

void FileCommands::openlastsaved() {
  state_.filename = installpath(lastsavedname);
  // A missing or damaged file has been reported by the model, which keeps what it held; the load goes on. Either way
  // the tree and the Map Group menu are built once, from what the model then holds.
  if (mainmaps_.openfile(state_.filename, true, false)) {
    opened(true);
  } else {
    host_.loadpasswordfragments(true);
    host_.buildnavtree(true, true);
  }
}

bool FileCommands::openchosen(bool lfonly) {
  const QString path = prompts_.openfilename(QString(), filter, installfolder());
  if (path.isEmpty()) return false;
  host_.flushpending();
  if (!mainmaps_.openfile(path, true, lfonly)) return false;
  state_.filename = path;
  opened(false);
  return true;
}

bool FileCommands::openfromfile() {
  if (!openchosen(false)) return false;
  state_.imageread = false;  // the calibration no longer comes from the ECU
  host_.setmaincaption(filecaption());
  return true;
}

bool FileCommands::openunix() {
  return openchosen(true);
}

bool FileCommands::savetofile() {
  QString path = prompts_.savefilename(QString(), filter, installfolder());
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".s26");

  // The map check's template is never overwritten, and a bare pattern is no file.
  if (isprotectedsavepath(path)) {
    prompts_.message(fileerror, Prompts::Icon::Exclamation);
    return false;
  }
  if (!mainmaps_.savefile(path)) {
    prompts_.message(fileerror, Prompts::Icon::Exclamation);
    return false;
  }
  state_.filename = path;
  // Every save also refreshes the copy that the next start opens.
  const QString lastsaved = installpath(lastsavedname);
  const bool copied = samefile(path, lastsaved) || mainmaps_.savefile(lastsaved);
  host_.setmaincaption(filecaption());
  if (!copied) prompts_.message(fileerror, Prompts::Icon::Exclamation);
  return true;
}

}  // namespace ostrel
