#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace ostrel {

class maps;
struct MapTreeNode;
struct EditorContext;

// What the password parameters dialog does to one fragment, without its widgets. Every change is written into the
// passwords map at once (queued for the ECU while connected) and leaves the check bytes as they were, so the
// fragment reads OFF until it is turned on again.

// The prefix of every entry of the dialog's tree.
inline const QString appliesprefix = QStringLiteral("(Applies) ");

// A tree entry resolved: a single map (a leaf), or a group or settings map, named by its first map.
struct ParamsChoice {
  bool singlemap = false;
  int map = -1;
  QString name;  // the entry's text without the prefix
};
// A node of the dialog's tree (maptree with appliesprefix) resolved by the map it carries, not by its text, which may
// leave out what a guard hides: nothing for a root or a reserved slot; a leaf names one map, any other node a group
// or a settings map by its first map.
std::optional<ParamsChoice> paramschoice(const MapTreeNode& node);
// A single map changes only the map byte; a group sets the group byte and "All maps within group". False when
// nothing was stored: a record a password guards keeps its bytes.
bool storeparamschoice(EditorContext& context, int fragment, const ParamsChoice& choice);
// Item of a row box into the first (last false) or last protected row; no selection (-1) changes nothing. False
// when nothing was stored.
bool storeprotectedrow(EditorContext& context, int fragment, bool last, int item);

// "row 1" to "row n": item k stands for stored row k.
QStringList rowitems(int count);

}  // namespace ostrel
