#pragma once

#include <QString>
#include <vector>

namespace ostrel {

class maps;

// One entry of the map tree that the navigation window shows and the selection trees of the editors repeat:
// the roots "Maps" and "Settings/Modules", a node per group in map order (the groups of maps 0 to 103 under the
// first root, the others under the second) and a leaf per map 0 to 103 under its group. Every key and text starts
// with the tree's prefix, except a reserved map's text, which is 25 asterisks.
struct MapTreeNode {
  int parent = -1;  // index of the parent entry; -1 for the two roots
  QString key;
  QString text;
};

// The group and the name in a map's definition string: the text before the first ":", and the text between
// it and the first ";"
// (both empty for a number that names no map).
QString definitiongroup(const maps& mainmaps, int map);
QString definitionname(const maps& mainmaps, int map);

// The entries in the order they are added: the roots first, every parent before its children.
std::vector<MapTreeNode> buildmaptree(const maps& mainmaps, const QString& prefix);

}  // namespace ostrel
