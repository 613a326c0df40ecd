#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace ostrel {

class MapGuards;
class maps;
class settings;

inline constexpr int firstsettingsmap = 110;
inline constexpr int lastsettingsmap = 115;
inline constexpr std::uint8_t nosetting = 255;  // group and type of a cell that holds no setting

inline bool issettingsmap(int map) {
  return map >= firstsettingsmap && map <= lastsettingsmap;
}

// The value control of a display type: each kind has its own array of controls in the editor.
enum class ControlKind : std::uint8_t {
  none,  // display type 3 and anything unknown: a caption only
  check,
  text,
  combo,  // the record's own list
  bits,   // eight frames, each with a set and a clear option
  combouser,
  combovariable,
  combovehicle,
  combotriggeredge,
  combotrigger,
  combosync,
  combooutput,
  comborequesttype,
};
inline constexpr int controlkindcount = 13;

ControlKind controlkind(std::uint8_t type);
inline bool iscombo(ControlKind kind) {
  return kind == ControlKind::combo || kind >= ControlKind::combouser;
}

// One cell of the settings map in the editor: its group (the position in the group selector), display type, the
// index of its value control within that control's array (a bit field's first of eight) and its display scale.
struct SettingCell {
  std::uint8_t group = 0;
  std::uint8_t type = 0;
  std::uint8_t index = 0;
  float mul = 0.0f;
  float offset = 0.0f;
};

// The settings editor's cell table, [row][column]; cell number n is 16 row + column.
using SettingCells = std::array<std::array<SettingCell, 16>, 16>;
inline const SettingCell& cellof(const SettingCells& cells, int n) {
  return cells[static_cast<std::size_t>(n / 16)][static_cast<std::size_t>(n % 16)];
}

struct CellTable {
  SettingCells cells{};
  // Controls in use of each kind (by ControlKind); a bit field counts its eight frames.
  std::array<int, controlkindcount> controls{};
  int count(ControlKind kind) const { return controls[static_cast<std::size_t>(kind)]; }
};

// The cell table of a settings map from its display records. A cell without a setting gets group and type 255.
// In build order (rows, then columns) every cell takes the next free control of its kind, a bit field the next
// eight. The scales are the records' own; refreshvariablescales puts right those that follow a live variable.
CellTable buildcelltable(const settings& mainsettings, int map);

// The items of a combo list string, "4;EGO Left:EGO Right:UEGO AFR:UEGO AFR TARGET:***": the first item whatever
// the count says, then at most count - 1 more; the "***" behind the last counted item is not an item. The empty
// list "0:***" (no ";") has no items, and the items stop where the text has no further ":".
QStringList parselist(const QString& list);
// The names of a group list string: exactly as many as its count says, fewer when the text runs out.
QStringList parsegroups(const QString& list);

// What a check box shows for a raw byte: 0 unticked, 255 ticked, anything else ticked and flagged as an error.
struct CheckInit {
  bool checked = false;
  bool error = false;
};
CheckInit checkinit(std::uint8_t raw);

// The item a combo of display type 2 or 5 to 12 shows for a raw byte (-1: none). A byte past the end of the list,
// an empty list included, shows no item, so that it is kept until the tuner picks one; type 2 also reports a load
// error, the others say nothing.
struct ComboInit {
  int item = -1;
  bool loaderror = false;
};
ComboInit comboinit(std::uint8_t type, std::uint8_t raw, int itemcount);

// Option pair k (0 to 7) of a bit field stands for bit 7 - k of the raw byte.
inline bool bitinit(std::uint8_t raw, int k) {
  return ((raw >> (7 - k)) & 1) != 0;
}

// Settings whose value follows a live variable named in the cell above it: the selector cell in row r, the value
// cell in row r + 1, every column.
struct VariableScaledRows {
  int map;
  int selectorrow;
};
inline constexpr std::array<VariableScaledRows, 3> variablescaledrows{{{110, 0}, {111, 0}, {111, 4}}};

struct Scale {
  float mul = 0.0f;
  float offset = 0.0f;
};
// The scale of a value whose selector byte names a live variable (its top bit is not part of the number); the two
// air-fuel ratios (1 and 37) take the fuel type's stoichiometric factor / 100.
Scale variablescale(const maps& mainmaps, const settings& mainsettings, std::uint8_t selector, bool metric,
                    int fueltype);
// Sets the scale of every variable-scaled value cell of the map from its selector's stored byte; other maps are
// left alone. Returns true when the map has such cells.
bool refreshvariablescales(SettingCells& cells, const maps& mainmaps, const settings& mainsettings, int map,
                           bool metric, int fueltype);

// Whether the setting of cell n (16 row + column) of a settings map is guarded, so that the editor shows nothing of
// it and refuses to store it. Its row may be guarded; a value that follows a live variable and the selector naming
// that variable make one setting over two rows (the value's meaning is the selector's), guarded whole when either
// row is.
bool settingguarded(const MapGuards& guards, int map, int n);

}  // namespace ostrel
