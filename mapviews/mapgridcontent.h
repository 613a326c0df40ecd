#pragma once

#include <QString>
#include <QStringList>

namespace ostrel {

class MapGuards;
class maps;
struct ProgramState;

// The map grid is 32 x 32 data cells under a header row and beside a header column.
inline constexpr int gridsize = 32;

// Everything a fill of the map grid takes from the program for one map: its kind and shape, its display scale and
// decimals, the preferences that change what the grid shows, and the protection table it hides cells by.
struct GridFill {
  int map = 0;
  int kind = 4;  // 0 3-D, 1 2-D, 2 comments, 3 passwords, 4 settings
  int rows = 0, cols = 0;
  float gain = 1.0f, offset = 0.0f;
  int decimals = 0;
  bool metric = true;
  bool loadup = false;  // 3-D maps drawn bottom-up
  bool substrings = true;
  bool vesubstringafrerror = false;
  const MapGuards* guards = nullptr;  // the program's protection table, asked whenever a cell is shown; none: all open

  static GridFill of(const maps& model, const ProgramState& state);

  // Kinds 0 and 1 show their cells; the comments, passwords and settings maps show only their labels.
  bool showscells() const { return kind == 0 || kind == 1; }
};

// Where model cell (i, j) lies in the grid. A 3-D map is shown transposed: i across, j down (bottom-up when the
// load direction is up); every other map as stored.
struct GridPos {
  int row = 0, col = 0;
  bool operator==(const GridPos&) const = default;
};
GridPos gridposof(const GridFill& fill, int i, int j);
// The model cell shown at a grid cell; false where the grid shows no cell of the map.
bool modelcellat(const GridFill& fill, int gridrow, int gridcol, int& i, int& j);
// Grid row of row label r (the r-th label of the Y string).
int gridrowoflabel(const GridFill& fill, int r);

// False where a password guards the cell (cellguarded: the row counts on the second index of a 3-D map and the first
// index elsewhere, whatever the load direction).
bool cellshown(const maps& model, const GridFill& fill, int i, int j);
// The unit note behind a value: AFR error on maps 0 and 4 (or the pulse width on map 4, none while a password
// guards anything it is worked out from), knock on map 8. Numbers in cell texts are in the user's regional format.
QString unitnote(const maps& model, const GridFill& fill, int i, int j);
// The text of a shown cell: the display value with the map's decimals and its note, in brackets when changed.
QString mapcelltext(const maps& model, const GridFill& fill, int i, int j);
// What the grid cell shows: the cell's text, or nothing for hidden cells and grid cells outside the map.
QString gridcelltext(const maps& model, const GridFill& fill, int gridrow, int gridcol);

// The first count labels of an axis label string, each ended by ";" (a missing ";" ends the last label).
QStringList axislabels(const QString& scalestring, int count);

}  // namespace ostrel
