#include "editors/settingcells.h"

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/settings.h"
#include "platform/numbers.h"

namespace ostrel {

namespace {

// The control kind of display types 0 to 12 (3 has no control).
constexpr std::array<ControlKind, 13> kindoftype{
    ControlKind::check,       ControlKind::text,          ControlKind::combo,
    ControlKind::none,        ControlKind::bits,          ControlKind::combouser,
    ControlKind::combovariable, ControlKind::combovehicle, ControlKind::combotriggeredge,
    ControlKind::combotrigger, ControlKind::combosync,     ControlKind::combooutput,
    ControlKind::comborequesttype,
};

// Live variables that are air-fuel ratios, scaled by the fuel type instead of the variable table.
constexpr int afrvariable = 1;
constexpr int extafrvariable = 37;

// Takes the items of a list's text behind its ";" while there is a ":" behind the next one, at most `most`.
QStringList takeitems(const QString& list, int most) {
  QStringList items;
  const qsizetype semicolon = list.indexOf(QLatin1Char(';'));
  if (semicolon < 0) return items;
  qsizetype from = semicolon + 1;
  while (static_cast<int>(items.size()) < most) {
    const qsizetype colon = list.indexOf(QLatin1Char(':'), from);
    if (colon < 0) break;
    items.append(list.mid(from, colon - from));
    from = colon + 1;
  }
  return items;
}

int listcount(const QString& list) {
  const qsizetype semicolon = list.indexOf(QLatin1Char(';'));
  if (semicolon < 0) return 0;
  return list.left(semicolon).trimmed().toInt();
}

}  // namespace

ControlKind controlkind(std::uint8_t type) {
  return type < kindoftype.size() ? kindoftype[type] : ControlKind::none;
}

CellTable buildcelltable(const settings& mainsettings, int map) {
  CellTable table;
  const int set = map - firstsettingsmap;
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      SettingCell& cell = table.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      const std::uint8_t group = mainsettings.getdisplaygroup(set, row, column);
      if (group == nosetting) {
        cell = {nosetting, nosetting, 0, 0.0f, 0.0f};
        continue;
      }
      const std::uint8_t type = mainsettings.getdisplaytype(set, row, column);
      const ControlKind kind = controlkind(type);
      cell.group = group;
      cell.type = type;
      cell.mul = mainsettings.getdisplaymul(set, row, column);
      cell.offset = static_cast<float>(parsenumber(mainsettings.getdisplayoffset(set, row, column)).value_or(0.0));
      if (kind == ControlKind::none) continue;  // a caption only; no control taken
      int& used = table.controls[static_cast<std::size_t>(kind)];
      // An index is one byte: a map holds at most 256 controls of one kind (32 bit fields).
      const int width = kind == ControlKind::bits ? 8 : 1;
      if (used + width > 256) {
        cell.type = 3;
        continue;
      }
      cell.index = static_cast<std::uint8_t>(used);
      used += width;
    }
  }
  return table;
}

QStringList parselist(const QString& list) {
  return takeitems(list, std::max(1, listcount(list)));
}

QStringList parsegroups(const QString& list) {
  return takeitems(list, listcount(list));
}

CheckInit checkinit(std::uint8_t raw) {
  if (raw == 0) return {false, false};
  return {true, raw != 255};
}

ComboInit comboinit(std::uint8_t type, std::uint8_t raw, int itemcount) {
  if (raw < itemcount) return {raw, false};
  // Showing another item would have an untouched "Enter" store that item over the byte.
  return {-1, type == 2};
}

Scale variablescale(const maps& mainmaps, const settings& mainsettings, std::uint8_t selector, bool metric,
                    int fueltype) {
  const int variable = selector & 0x7F;
  Scale scale;
  scale.mul = mainsettings.getvarsmul(variable, metric);
  if (variable == afrvariable || variable == extafrvariable)
    scale.mul = mainmaps.getspecialmul(firstsettingsmap, fueltype) / 100.0f;
  scale.offset = mainsettings.getvarsoffset(variable, metric);
  return scale;
}

bool refreshvariablescales(SettingCells& cells, const maps& mainmaps, const settings& mainsettings, int map,
                           bool metric, int fueltype) {
  bool any = false;
  for (const VariableScaledRows& rows : variablescaledrows) {
    if (rows.map != map) continue;
    any = true;
    for (int column = 0; column < 16; ++column) {
      const auto selector = static_cast<std::uint8_t>(mainmaps.getdata(map, rows.selectorrow, column));
      const Scale scale = variablescale(mainmaps, mainsettings, selector, metric, fueltype);
      SettingCell& value = cells[static_cast<std::size_t>(rows.selectorrow + 1)][static_cast<std::size_t>(column)];
      value.mul = scale.mul;
      value.offset = scale.offset;
    }
  }
  return any;
}

bool settingguarded(const MapGuards& guards, int map, int n) {
  const int row = n / 16;
  for (const VariableScaledRows& rows : variablescaledrows)
    if (rows.map == map && (row == rows.selectorrow || row == rows.selectorrow + 1))
      return cellsguarded(guards, map, 16 * rows.selectorrow, 16 * rows.selectorrow + 31);
  return guards.guarded(map, row);
}

}  // namespace ostrel
