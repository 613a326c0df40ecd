#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "mapviews/gridhighlights.h"
#include "mapviews/gridlayer.h"
#include "mapviews/mapgridcontent.h"

class QWidget;

namespace ostrel {

class EcuLink;
class Prompts;
class maps;
struct ProgramState;

// The two views a key can hand the focus to: the map grid and the graph window's surface.
enum class MapView { grid, graph };

// Calls the map views make into windows that live elsewhere (the main window, the graph window, the status
// window) or come later (the keyboard handler). The main window fills them in; every one may stay empty.
struct MapViewHooks {
  // The common keyboard handler of all map views: key code, modifier mask, the view that gets the focus afterwards
  // and that view's load direction.
  std::function<void(int keycode, int shift, MapView view, bool loadup)> mapkeydown;
  // The graph window shows the current map (redraw true: in full).
  std::function<void(bool redraw)> drawmap;
  // The 3-D graph of the current map on the graph window's surface.
  std::function<void(bool fullredraw, bool workcopy)> drawmapgraph;
  std::function<void(const QString& text, bool clear)> statusmessage;
  std::function<void(const QString& caption)> setmaincaption;
  // Forget the table graph's live trail.
  std::function<void()> cleartabletrail;
  // A permanent window asked to close while the program runs; empty: it is minimised (or its MDI frame).
  std::function<void(QWidget* window)> minimizeonclose;
};

// The map views' shared part: the map grid's model and what fills, colours and scrolls it, and the opening of a map
// in every view. Everything here works without a window; the grid window (frmMapGrid) attaches its view for the
// scrolling and shows the model. The shell forwards the link's filldatagrid, updategridhighlights and
// scrollgridtocell here.
class MapViews : public QObject {
  Q_OBJECT

 public:
  MapViews(ProgramState& state, maps& mainmaps, const EcuLink& link, Prompts& prompts, QObject* parent = nullptr);

  MapViewHooks hooks;

  GridModel& mapgrid() { return grid_; }
  const GridFill& fill() const { return fill_; }
  // The window's scroll window; null while no grid window is shown.
  void attachscrolling(GridScrolling* scrolling) { scrolling_ = scrolling; }

  // Refill the grid: full rewrites every text and label, otherwise only the live and cursor cells.
  void filldatagrid(bool full);
  // Recolour the grid: full repaints all cells, otherwise only the old and new cursor and live cells.
  void updategridhighlights(bool full);
  // Bring the followed cell into view; reset scrolls to where a freshly opened map starts.
  void scrollgridtocell(bool reset);
  // Bring every view in line with curmap and the open calibration.
  void openmapview();
  // Give the focus back to the view that had it and drop an active selection box.
  void refreshactiveview();
  // Switch the selection box off and repaint; false (nothing done) while a write is counting down online.
  bool clearselection();

  // What the grid window's events mean. keyfromgrid: the key came from the grid control, not the window.
  void gridkeydown(int keycode, int shift, bool keyfromgrid);
  void gridfocused();

  const QString& gridcaption() const { return gridcaption_; }
  void setgridcaption(const QString& caption);

  GridHighlighter& highlighter() { return highlighter_; }

 signals:
  void gridcaptionchanged(const QString& caption);

 private:
  void statusmessage(const QString& text, bool clear);

  ProgramState& state_;
  maps& mainmaps_;
  const EcuLink& link_;
  Prompts& prompts_;
  GridModel grid_;
  GridFill fill_;
  GridHighlighter highlighter_;
  GridScrolling* scrolling_ = nullptr;
  QString gridcaption_;
};

}  // namespace ostrel
