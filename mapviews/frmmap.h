#pragma once

#include <QWidget>

#include "mapviews/graphdraw.h"
#include "mapviews/graphprojection.h"
#include "mapviews/mapviews.h"
#include "mapviews/tablegraph.h"
#include "mapviews/wiregraph.h"

class QScrollBar;

namespace ostrel {

class EcuLink;
class PictureSurface;
class maps;
struct ProgramState;

// The graph window, one of the permanent child windows: the current map as a 3-D wire graph (3-D tables) or a
// curve (2-D tables) on its picture, with scroll bars for the two viewing angles. Its drawing calls also draw on
// another picture (the tools' own), with the work copy in place of the map's values. Its keys go to the keyboard
// handler through the map views, its status line and closing up through their host. The model, the link and the
// views must outlive the window.
class frmMap : public QWidget {
  Q_OBJECT

 public:
  frmMap(ProgramState& state, const maps& mainmaps, const EcuLink& link, MapViews& views, QWidget* parent = nullptr);
  ~frmMap() override;

  PictureSurface* picGraph() const { return picture_; }
  QScrollBar* HScroll1() const { return hscroll_; }
  QScrollBar* VScroll1() const { return vscroll_; }

  // The graph of the current map on the window's picture: the 3-D graph (in full when redraw, else the quick
  // update of a live refresh), the table graph (always in full), nothing for the other kinds of map.
  void drawmap(bool redraw);
  // The 3-D graph of the current map on the window's picture, with the map's own values.
  void drawmapgraph(bool fullredraw);
  // The 3-D graph on any picture, from the window's projection; work: the tool's work copy, null for the map.
  void drawmapgraph(PictureSurface& picture, bool fullredraw, const WorkCopy* work);
  // The table graph of the current map on any picture, scaled to that picture; work as above.
  void drawtablegraph(PictureSurface& picture, const WorkCopy* work);
  // Projects the base grid again for the current 3-D map, the picture's size and the angles; a drawing does this
  // itself whenever one of them has changed since.
  void drawmap3d();
  // Forgets the table graph's live trail (a map was opened).
  void cleartabletrail() { trail_.clear(); }

  const GraphAngles& graphangles() const { return angles_; }
  // The viewing angles as the main window's load sets them; the scroll bars follow, and the next drawing projects
  // the grid anew.
  void setgraphangles(const GraphAngles& angles);
  const GraphProjection& projection() const { return projector_.last(); }
  const TableTrail& tabletrail() const { return trail_; }
  const WireGraph& wiregraph() const { return wire_; }

  // The window's frame across and down, in twips, which its layout counts in its outer size.
  static constexpr int frameacross = 135;
  static constexpr int framedown = 525;
  static constexpr int scrollthickness = 225;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void layoutwindow();
  void anglechanged();
  void graphfocused();
  void setbackground();
  const GraphProjection& currentprojection();

  ProgramState& state_;
  const maps& mainmaps_;
  const EcuLink& link_;
  MapViews& views_;
  PictureSurface* picture_;
  QScrollBar* hscroll_;
  QScrollBar* vscroll_;
  GraphAngles angles_;
  GraphProjector projector_;
  WireGraph wire_;       // bands on the window's own picture
  WireGraph otherwire_;  // bands on a tool's picture
  TableTrail trail_;
  GraphScene scene_;
  bool resized_ = false;
};

}  // namespace ostrel
