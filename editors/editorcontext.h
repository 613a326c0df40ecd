#pragma once

namespace ostrel {

class EcuLink;
class EditorsHost;
class Maps25;
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
  // The second calibration model (a 2.6 donor during an import, the scratch copy of a re-grid) and the reader of
  // version 2.1 to 2.5 files.
  maps& templatemaps;
  Maps25& oldmaps;
};

}  // namespace ostrel
