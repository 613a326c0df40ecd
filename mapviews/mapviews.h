#pragma once

#include <QObject>
#include <QString>

#include "mapviews/gridhighlights.h"
#include "mapviews/gridlayer.h"
#include "mapviews/mapgridcontent.h"
#include "mapviews/mapviewshost.h"

class QWidget;

namespace ostrel {

class EcuLink;
class KeyHandler;
class Prompts;
class maps;
struct ProgramState;

// The map views' shared part: the map grid's model and what fills, colours and scrolls it, and the opening of a map
// in every view. Everything here works without a window; the grid window (frmMapGrid) attaches its view for the
// scrolling and shows the model. The shell forwards the link's filldatagrid, updategridhighlights and
// scrollgridtocell here. Calls upward go to the host; keys go to the keyboard handler that installed itself.
class MapViews : public QObject {
  Q_OBJECT

 public:
  MapViews(ProgramState& state, maps& mainmaps, const EcuLink& link, Prompts& prompts, QObject* parent = nullptr);

  // Calls upward; null means nobody listens. The host must outlive the views or be reset to null first.
  void sethost(MapViewsHost* host) { host_ = host ? host : &nullhost_; }
  MapViewsHost& host() { return *host_; }
  // The one keyboard handler of the map views (KeyHandler::install); null: keys go nowhere.
  void setkeyhandler(KeyHandler* keys) { keys_ = keys; }

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

  // A key for the keyboard handler (the graph window's keys); view gets the focus afterwards, loadup is its load
  // direction. Nothing while no handler is installed.
  void mapkeydown(int keycode, int shift, MapView view, bool loadup);
  // What the grid window's events mean. keyfromgrid: the key came from the grid control, not the window.
  void gridkeydown(int keycode, int shift, bool keyfromgrid);
  void gridfocused();

  const QString& gridcaption() const { return gridcaption_; }
  void setgridcaption(const QString& caption);

  GridHighlighter& highlighter() { return highlighter_; }

 signals:
  void gridcaptionchanged(const QString& caption);

 private:
  ProgramState& state_;
  maps& mainmaps_;
  const EcuLink& link_;
  Prompts& prompts_;
  GridModel grid_;
  GridFill fill_;
  GridHighlighter highlighter_;
  GridScrolling* scrolling_ = nullptr;
  QString gridcaption_;
  MapViewsHost nullhost_;
  MapViewsHost* host_ = &nullhost_;
  KeyHandler* keys_ = nullptr;
};

}  // namespace ostrel
