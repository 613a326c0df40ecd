#pragma once

namespace ostrel {

class EcuLink;
class ImageTransfer;
class Maps25;
class logsamples;
class maps;
class ProgressJobs;
class Prompts;
class settings;
class StatusLog;
struct ProgramState;

// What the shell works on: the program-wide state and the one instance of each lower-layer part it drives. The
// program owns all of them (app/), a test its own set; they outlive the main window.
struct ShellContext {
  ProgramState& state;
  Prompts& prompts;
  maps& mainmaps;
  settings& mainsettings;
  StatusLog& log;
  EcuLink& link;
  ImageTransfer& transfer;
  // The second calibration model (template, donor, scratch copy, the map check's template) and the reader of
  // version 2.1 to 2.5 files, which the editors work on; the log sample store and the progress window's jobs, which
  // the main window hosts.
  maps& templatemaps;
  Maps25& oldmaps;
  logsamples& logstore;
  ProgressJobs& progressjobs;
};

}  // namespace ostrel
