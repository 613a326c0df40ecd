#pragma once

// The interpolate and copy tools apart from their window: which tool a tool mode names, whether the selection box
// allows it, and the work copy it fills. The window shows the work copy and stores it on Ok.

#include <QString>

#include "mapviews/graphdraw.h"

namespace ostrel {

class maps;
struct ProgramState;
struct TrimBox;

// Tool modes of the tool window (state.toolmode); the keyboard handler sets 3 to 10, the learn menu item 11 and 12.
namespace toolmodes {
inline constexpr int interpx = 3;       // X: along the first index (the rpm points of a 3-D map)
inline constexpr int interpy = 4;       // Y: along the second index (the load points)
inline constexpr int copyfirstcol = 7;  // U: the first selected column onto the others
inline constexpr int copylastcol = 8;   // D: the last selected column
inline constexpr int copyfirstrow = 9;  // F: the first selected row onto the others
inline constexpr int copylastrow = 10;  // B: the last selected row
inline constexpr int learn = 11;
inline constexpr int autotune = 12;
}  // namespace toolmodes

// The selected cells of a map: rows over the first index, columns over the second, ordered and inside the map.
struct CellBox {
  int rowmin = 0, rowmax = 0, colmin = 0, colmax = 0;
  bool operator==(const CellBox&) const = default;
};
CellBox cellbox(const TrimBox& box, const maps& model, int map);

// The message of a tool that the selection does not allow (one row for an X tool, one column for a Y tool).
inline const QString nointerpolationtext = QStringLiteral("There is no interpolation function for this direction");

// The tool window's title in a tool mode; empty for a mode the window does not know.
QString interpcopytitle(int toolmode);

// The whole map (every row and column it has) into the work copy, the rest 0.
void loadworkcopy(const maps& model, int map, WorkCopy& work);

// The four fills; each first loads the whole map, so that cells outside the box keep their values, and reads the
// ends it works from in the map, never in the work copy. Interpolation is a straight line in single precision
// between the box's end cells, rounded half to even.
void interpx(const maps& model, int map, const CellBox& box, WorkCopy& work);
void interpy(const maps& model, int map, const CellBox& box, WorkCopy& work);
// Mode 9 copies the first selected row, mode 10 the last, onto every selected row.
void copyX(const maps& model, int map, const CellBox& box, int toolmode, WorkCopy& work);
// Mode 7 copies the first selected column, mode 8 the last, onto every selected column.
void copyY(const maps& model, int map, const CellBox& box, int toolmode, WorkCopy& work);

// Fills the work copy by the tool mode (3, 4, 7 to 10) over the box; false, leaving the work copy as it was, when
// the box spans a single row for an X tool or a single column for a Y tool, or the mode is no such tool.
bool fillinterpcopy(int toolmode, const maps& model, int map, const CellBox& box, WorkCopy& work);

// Ok of the interpolate and copy tools: stores the box's cells of the work copy into the map, marking changed only
// those whose value differs, and widens the pending-write rectangle over the whole box. Cells outside the box are
// not the tool's work and stay as the map holds them.
void storeinterpcopy(ProgramState& state, maps& model, const CellBox& box, const WorkCopy& work);

}  // namespace ostrel
