#pragma once

#include <QString>

namespace ostrel {

class MapViews;
class Prompts;
class maps;
struct ProgramState;
struct TrimBox;

// How far the selection box may reach on a map, in grid positions: across the grid (the first index of a 3-D map,
// the second index elsewhere) and down it.
struct SelectionLimits {
  int across = 0;
  int down = 0;
};
SelectionLimits selectionlimits(const maps& model, int map);

// Orders the anchor and the moving end into the box's bounds over the first and second index of the map.
void selectionbounds(TrimBox& box, int kind);
// Starts the box on the cursor cell when it is off, then moves its end by the arrow key (37 to 40) or, with
// selectall, spans the whole current map; the end stops at the map's edges and the bounds are ordered.
void moveselection(ProgramState& state, const maps& model, int keycode, bool selectall);
// Keeps a box carried over a change of map inside the current map.
void limitselection(ProgramState& state, const maps& model);
// True when the map protection table names protected rows of the map.
bool mapprotected(const ProgramState& state, int map);

// Why an edit of the map views changed nothing.
enum class EditRefusal { none, protectedmap, notanumber, dividebyzero, nogain, outofrange };
// The message shown for a refusal (empty for none).
QString refusaltext(EditRefusal refusal);

// The outcome of one edit of one cell: the raw value to store (still to be limited to the cell's range by the
// model) or why there is none. A raw value must fit a signed 16-bit cell value before it is limited.
struct EditValue {
  EditRefusal refusal = EditRefusal::none;
  double value = 0.0;
};
// The raw value that shows as the entry: (entry - offset) / gain, rounded half to even.
EditValue directraw(float entry, float gain, float offset);
// A tool applied to a raw cell value with a number in display units: 1 multiply and 2 divide the shown value,
// 5 add it and 6 subtract it; rounded half to even. Any other operation leaves the value as it is.
EditValue tooledit(int op, double cell, float factor, float gain, float offset);

// Tool and step codes of editselection: the tool modes 0 (set the raw value), 1, 2, 5, 6 and the step keys
// Page Up and plus (up by curincrement), Page Down and minus (down).
// Applies the operation to every cell of the box on the current map. The whole box is worked out first: on a
// protected map, with a gain of 0, a division by 0 or a result that is no cell value nothing changes and the reason
// is returned. Otherwise the rectangle is marked for writing (connected or not: the commands timer drops it while
// offline), the cells are stored limited to their range and marked changed, and the mismatch counter restarts.
EditRefusal editselection(ProgramState& state, maps& model, int keycode, int value, float factor);

// The selection box of the map views with the refreshes that go with it: navigategrid as the keyboard, the Select
// All menu item and the tools call it, and the selection edits with their refusal messages.
class Selection {
 public:
  Selection(ProgramState& state, maps& model, MapViews& views, Prompts& prompts);

  // Starts, extends or fills the box; refreshgrid scrolls to its end and repaints the highlights, redrawgraph
  // redraws the graph in full.
  void navigategrid(int keycode, bool selectall, bool refreshgrid, bool redrawgraph);
  // The Select All menu item: the whole current map, refused on a protected map. True when the box was set.
  bool selectall();
  // editselection above; a refusal is shown as a message. True when the cells were changed.
  bool editselection(int keycode, int value, float factor);
  // Shows the message of a refusal (nothing for none).
  void refuse(EditRefusal refusal);

 private:
  ProgramState& state_;
  maps& model_;
  MapViews& views_;
  Prompts& prompts_;
};

}  // namespace ostrel
