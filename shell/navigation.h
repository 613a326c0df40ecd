#pragma once

#include <QString>
#include <array>
#include <vector>

namespace ostrel {

class ShellHost;
class MapGuards;
class maps;
struct ProgramState;

// One item of the Map Group menu: a group's name and its first map, or a separator (map -1) before the first group
// of the maps 104 to 115.
struct GroupMenuItem {
  QString caption;
  int map = -1;
  bool separator() const { return map < 0; }
  bool operator==(const GroupMenuItem&) const = default;
};
std::vector<GroupMenuItem> groupmenuitems(const maps& mainmaps);

// One of the eight items of the Map menu, labelled from a first map: the name of that map and of the seven after
// it. A reserved map's item is disabled and shows 0.8 times as many asterisks as the last name shown before it.
struct MapMenuItem {
  QString caption;
  bool enabled = false;
  int map = -1;
  bool operator==(const MapMenuItem&) const = default;
};
inline constexpr int mapmenusize = 8;
using MapMenu = std::array<MapMenuItem, mapmenusize>;
MapMenu mapmenuitems(const maps& mainmaps, const MapGuards& guards, int firstmap);
// The Map menu is usable only while the current map is one of the group maps 0 to 103.
bool mapmenuenabled(const maps& mainmaps, int curmap);

// The title and the message of a help or tuning text "title;message". A text without ";" is all message, under the
// program's own title (an empty title); an empty text says that there is no help.
struct HelpMessage {
  QString title;
  QString message;
};
HelpMessage splithelptext(const QString& text);

// What the navigation tree and the Map Group and Map menus do when the tuner picks a map: the current map, the map
// the views return to after an editor (lastviewmap) and the first map of the Map menu (groupfirstmap), then the
// views, the Map menu's labels and the editors of the comments, passwords and settings through the host. Every
// choice names its map by number, never by a caption.
class Navigation {
 public:
  Navigation(ProgramState& state, const maps& mainmaps, ShellHost& host);

  // A double-click on a tree node carrying the map (-1 for a root): a leaf opens its map, a group node its first
  // map or its editor; a root or a reserved map does nothing.
  void opennode(int map, bool groupnode);
  // Map Group menu: the group whose first map this is.
  void choosegroup(int map);
  // Map menu item i: map groupfirstmap + i.
  void choosemapitem(int index);

  // A map that may be opened from the tree or a menu: a map of the calibration that is not reserved.
  bool openable(int map) const;

 private:
  // Opens a group's first map: a table in the views, the comments, passwords or settings in their editor, after
  // which the views go back to the last table shown.
  void opengroup(int map);

  ProgramState& state_;
  const maps& mainmaps_;
  ShellHost& host_;
};

}  // namespace ostrel
