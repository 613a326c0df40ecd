#pragma once

#include <array>
#include <vector>

#include "shell/navigation.h"

class QAction;
class QMenu;

namespace ostrel {

class VelkorV5;

// The item arrays of the Map Group menu (one item per map group, a separator before the groups of the maps 104 to
// 115) and of the Map menu (eight items). Each item carries its map number as data, and a click runs the main
// window's handler with the item's index.
class MapMenus {
 public:
  // Item 0 of the Map Group menu as a separator and the Map menu's eight items "***", as before the first build. A
  // click on an item runs the window's handler; without a window (tests) nothing is connected.
  void build(QMenu* groupmenu, QMenu* mapmenu, VelkorV5* window);
  // The Map Group menu's items afresh.
  void fillgroups(const std::vector<GroupMenuItem>& items);
  // The Map menu's items, and whether the menu is usable at all.
  void fillmaps(const MapMenu& items, bool enabled);

  // The map a Map Group item carries; -1 for a separator or an index out of range.
  int groupmap(int index) const;

  std::vector<QAction*> mnuMapGroupSub;
  std::array<QAction*, mapmenusize> mnuMapSub{};

 private:
  QAction* addgroupitem(int index, const GroupMenuItem& item);

  QMenu* groupmenu_ = nullptr;
  QMenu* mapmenu_ = nullptr;
  VelkorV5* window_ = nullptr;
};

}  // namespace ostrel
