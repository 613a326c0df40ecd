#pragma once

#include <QString>
#include <vector>

namespace ostrel {

class MapGuards;
class maps;

// The group and the name (axes included) of a map, from its definition string "group:name;units_multiplier|offset";
// the name may hold a colon of its own ("TPS:MAP weight").
QString mapgrouppart(const QString& definition);
QString mapnamepart(const QString& definition);

// One node of the tree of maps in which a tuner picks a map: nodes 0 and 1 are the roots ("Maps" and
// "Settings/Modules"), then, in map order, a node per group (the groups of maps 0 to 103 under the first root, those
// of maps 104 to 115 under the second) and a leaf per map 0 to 103 under its group. Maps 104 to 115 have no leaf:
// their group node stands for them. Every key and text begins with the caller's prefix.
struct MapTreeNode {
  QString key;
  QString text;     // a reserved map's leaf reads "*************************"
  int parent = -1;  // index of the parent node; -1 for a root
  bool haschildren = false;
  int map = -1;  // the map a leaf names, or the first map of a group node; -1 for a root
};

// The names are those the guards let a tuner see (shownmapname).
std::vector<MapTreeNode> maptree(const maps& model, const MapGuards& guards, const QString& prefix);

}  // namespace ostrel
