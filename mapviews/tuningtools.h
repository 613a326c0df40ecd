#pragma once

#include "mapviews/graphprojection.h"

class QWidget;

namespace ostrel {

class EcuLink;
class MapViews;
class Prompts;
class maps;
struct ProgramState;

// What the tuning tools ask of the program around them: the graph window and the main window's opening of a map.
// The shell implements it and hands it over with the tools' context.
class TuningHost {
 public:
  // The graph window shows the current map with its own values (redraw true: in full).
  virtual void drawmap(bool redraw) = 0;
  // Every view shows the current map afresh; the main window hands a pending edit of the previous map over first.
  virtual void openmapview() = 0;
  // The graph window's viewing angles, so that a tool's preview looks the way the graph does.
  virtual GraphAngles graphangles() const = 0;

 protected:
  ~TuningHost() = default;
};

// Everything the tuning tools work on; all of it must outlive the tools.
struct TuningContext {
  ProgramState& state;
  maps& mainmaps;
  maps& templatemaps;  // the map check's template
  const EcuLink& link;
  MapViews& views;
  Prompts& prompts;
  TuningHost& host;
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
