#pragma once

namespace ostrel {

class EcuLink;
class ImageTransfer;
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
  maps& templatemaps;  // the second calibration model: the map check's template
  logsamples& logstore;
  ProgressJobs& progressjobs;
};

}  // namespace ostrel
