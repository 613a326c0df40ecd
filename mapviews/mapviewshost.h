#pragma once

#include <QString>

#include "mapviews/graphprojection.h"

class QWidget;

namespace ostrel {

// The two views a key can hand the focus to: the map grid and the graph window's surface.
enum class MapView { grid, graph };

// Everything the map views, their keyboard handler and their tools (TuningTools) call upward: the main window, its
// live panel, the status window, the graph window and the windows that a key opens. The shell implements it
// and hands it to MapViews at start-up (MapViews::sethost); the handler and the tools reach it through
// MapViews::host(). Every call has a do-nothing default, so a test overrides only what it watches.
class MapViewsHost {
 public:
  virtual ~MapViewsHost() = default;

  // The view gets the keyboard focus: the grid control, or the graph window's surface.
  virtual void setfocus(MapView /*view*/) {}
  // Every view shows the current map afresh (after a function key, the units key). The shell's hands a pending
  // edit of the previous map over to the link first, then runs MapViews::openmapview.
  virtual void openmapview() {}
  // The live panel (redraw true: in full).
  virtual void drawpanel(bool /*redraw*/) {}
  // A line in the status window's console; clear first when clear is true.
  virtual void statusmessage(const QString& /*text*/, bool /*clear*/) {}
  virtual void setmaincaption(const QString& /*caption*/) {}
  // F9 with the grid focused: the grid window between normal and maximised.
  virtual void maximisegrid() {}

  // --- The graph window ------------------------------------------------------------------------------------------
  // The graph of the current map, by its kind (redraw true: the 3-D graph in full).
  virtual void drawmap(bool /*redraw*/) {}
  // The 3-D graph of the current map on the graph window's surface (workcopy: the tools' work copy).
  virtual void drawmapgraph(bool /*fullredraw*/, bool /*workcopy*/) {}
  // The table graph forgets its live trail.
  virtual void cleartabletrail() {}
  // The graph window's viewing angles, so that a tool's preview looks the way the graph does; the angles the graph
  // window starts with while there is none.
  virtual GraphAngles graphangles() const { return {}; }

  // --- Windows the program around the views owns, modal ----------------------------------------------------------
  // The interpolate and copy tool for state.toolmode (X, Y, U, D, F, B with a selection box): the program's one
  // TuningTools.
  virtual void showinterpcopy() {}
  // The variable cam timing window (the hidden key sequence while connected).
  virtual void showvct() {}

  // A permanent view asked to close while the program runs: it stays, minimised.
  virtual void minimizeonclose(QWidget* /*window*/) {}
};

}  // namespace ostrel
