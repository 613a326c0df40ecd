#pragma once

#include <QWidget>
#include <vector>

#include "calibration/maptree.h"
#include "shell/layouts.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace ostrel {

class Navigation;
struct ProgramState;

// The navigation window, one of the permanent child windows: the tree NavView of every map and settings group. A
// double-click opens the node's map through the navigation, which each node names by number (never by its text);
// keys go on to the common keyboard handler (the owner forwards them). Like every permanent window it minimises
// instead of closing while the program runs.
class frmNavigate : public QWidget, public LayoutTree {
  Q_OBJECT

 public:
  // Width and height that the window frame of the layout rules adds to the client area, in twips.
  static constexpr int framewidth = 120;
  static constexpr int frameheight = 465;
  // Item data of a tree node: its map (-1 for a root), and whether it is a group node.
  static constexpr int maprole = Qt::UserRole;
  static constexpr int grouprole = Qt::UserRole + 1;

  frmNavigate(Navigation& navigation, const ProgramState& state, QWidget* parent = nullptr);

  // The tree afresh from its nodes, both roots expanded.
  void filltree(const std::vector<MapTreeNode>& nodes);
  // The tree's width and height in twips (the layouts set them after the window).
  void settreesize(int width, int height) override;

  // A double-click on a node: its map opens (a group's first map or its editor); roots and reserved maps do nothing.
  void NavView_DblClick(QTreeWidgetItem* item);

  QTreeWidget* NavView = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Navigation& navigation_;
  const ProgramState& state_;
};

}  // namespace ostrel
