#pragma once

namespace ostrel {

class EcuLink;
class ProgressJobs;
class Prompts;
class logsamples;
class maps;
class settings;
struct ProgramState;

// What the logger's windows work on: the program-wide state and the one instance of each part they use. The
// program owns all of them (the progress jobs too: their timed display counts on from one showing to the next), a
// test its own set.
struct LoggerContext {
  ProgramState& state;
  Prompts& prompts;
  maps& mainmaps;
  const settings& mainsettings;
  EcuLink& link;
  logsamples& logstore;
  ProgressJobs& jobs;
};

}  // namespace ostrel
