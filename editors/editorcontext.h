#pragma once

namespace ostrel {

class EcuLink;
class EditorsHost;
class maps;
class Prompts;
class settings;
struct ProgramState;

// What the calibration editors work on: the program-wide state and the one instance of each part they use. The
// program owns all of them, a test its own set.
struct EditorContext {
  ProgramState& state;
  Prompts& prompts;
  maps& mainmaps;
  settings& mainsettings;
  EcuLink& link;
  EditorsHost& host;
};

}  // namespace ostrel
