#pragma once

#include <QString>

namespace ostrel {

class maps;
class Prompts;
class ShellHost;
class StatusLog;
struct ProgramState;

// The main window's file commands apart from the window: open from file, open a line-feed-only file, the start-up
// open of the last saved file and save to file. A cancelled dialog changes nothing; a file that cannot be read
// leaves the calibration, the file name, the caption and the status line as they were (the calibration model has
// said why); a file that cannot be written says so and leaves the file name as it was. What an opened file sets off
// in the windows (navigation tree, password fragments, graph, views, caption) goes through the ShellHost.
class FileCommands {
 public:
  static inline const QString filter = QStringLiteral("s26 files (*.s26)");
  static inline const QString lastsavedname = QStringLiteral("lastsaved.s26");
  static inline const QString fileerror = QStringLiteral("A file error occurred");

  FileCommands(ProgramState& state, maps& mainmaps, Prompts& prompts, StatusLog& log, ShellHost& host);

  // Start-up: opens "lastsaved.s26" from the install folder and builds the navigation tree and the Map Group menu
  // once, over the file or, when it could not be opened, over what the model holds; the load goes on either way.
  void openlastsaved();
  // "&Open from file"; true when a calibration was opened.
  bool openfromfile();
  // "&Open from unix emailed file": lines ended by a line feed alone; leaves imageread and the caption as they are.
  bool openunix();
  // "&Save to file"; true when the file was written.
  bool savetofile();

  // The caption after a file command: group and name of the current map and the file.
  QString filecaption() const;

 private:
  bool openchosen(bool lfonly);
  void opened(bool fromstartup);
  QString displayname() const;

  ProgramState& state_;
  maps& mainmaps_;
  Prompts& prompts_;
  StatusLog& log_;
  ShellHost& host_;
};

}  // namespace ostrel
