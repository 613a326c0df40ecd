#pragma once

class QWidget;

namespace ostrel {

class EcuLink;
class MapViews;
class Prompts;
class maps;
struct ProgramState;

// Everything the tuning tools work on; all of it must outlive the tools. Their calls upward (the graph window's
// redraw and angles, the main window's opening of a map) go through the map views' host.
struct TuningContext {
  ProgramState& state;
  maps& mainmaps;
  maps& templatemaps;  // the map check's template
  const EcuLink& link;
  MapViews& views;
  Prompts& prompts;
};

// The tuning tools as the keyboard handler and the menus open them. Each call runs its tool to the end: the tool
// windows are modal and open through the window launcher.
class TuningTools {
 public:
  explicit TuningTools(const TuningContext& context) : context_(context) {}

  // Parent of the tool windows.
  void setdialogparent(QWidget* parent) { parent_ = parent; }

  // The keys X, Y, U, D, F, B with a selection box: the interpolate and copy tool frmInterpcopy for the tool mode the
  // keyboard handler has set (3, 4, 7 to 10). A box the tool cannot work on gets a message and changes nothing.
  void showinterpcopy();
  // Tools -> Tuning tools -> "Lea&rn data": learn on map 20 (tool mode 11), auto-tune on map 4 (tool mode 12),
  // a message on any other map. Afterwards the grid and the graph show the map in full.
  void learndata();
  // File tools -> "&Analyse map": the 2-D tables 24 to 95 against the template "template.s26", one message per
  // faulty map or one that none is.
  void checkmaps();
  // Migration tools -> "&VE to Fuel Base Table" (direction 0) and "&Fuel Base Table to VE" (1): rebuilds map 0 from
  // map 4 or map 4 from map 0 and opens the rebuilt map.
  void convertfuelbase(int direction);

  static inline const char* const nolearningtext = "There is no learning function for this map or setting group";

 private:
  TuningContext context_;
  QWidget* parent_ = nullptr;
};

}  // namespace ostrel
