#include "calibration/cellguards.h"

#include <QStringList>
#include <algorithm>

#include "calibration/mapcatalogue.h"
#include "calibration/maps.h"
#include "calibration/maptree.h"

namespace ostrel {

namespace {

// Settings map 110's variable numbers that put a 3-D axis's own points on a PWM axis.
constexpr int loadpointsvariable = 29;
constexpr int rpmpointsvariable = 30;

bool selectorsguarded(const MapGuards& guards) {
  return guards.guarded(axissettingsmap, pwmselectorrow);
}

// The label string with every label from index `first` on blank; the closing item ("***" or a blank) stays.
QString blanklabels(const QString& labels, int first) {
  QStringList items = labels.split(QLatin1Char(';'));
  for (int k = std::max(first, 0); k + 1 < items.size(); ++k) items[k].clear();
  return items.join(QLatin1Char(';'));
}

// The labels of a PWM axis whose variable is in column `column` of the selector row. Only a 3-D PWM axis takes the
// spreads' own points for variables 29 and 30; a 2-D one keeps the variable's fixed labels.
QString pwmlabels(const maps& model, const MapGuards& guards, const QString& labels, int column, bool threed) {
  if (selectorsguarded(guards)) return blanklabels(labels, 0);
  if (!threed) return labels;
  const int variable = model.getdata(axissettingsmap, pwmselectorrow, column);
  if (variable == loadpointsvariable) return blanklabels(labels, firstguardedpoint(guards, SpreadAxis::load));
  if (variable == rpmpointsvariable) return blanklabels(labels, firstguardedpoint(guards, SpreadAxis::rpm));
  return labels;
}

}  // namespace

bool cellguarded(const maps& model, const MapGuards& guards, int map, int i, int j) {
  return guards.guarded(map, guardrowof(model.getcontextandtype(map), i, j));
}

bool setcell(maps& model, const MapGuards& guards, int map, int i, int j, double value, bool markchanged) {
  if (cellguarded(model, guards, map, i, j)) return false;
  model.setdata(map, i, j, value, markchanged);
  return true;
}

bool stepcell(maps& model, const MapGuards& guards, int map, int i, int j, int step) {
  if (cellguarded(model, guards, map, i, j)) return false;
  model.incdecdata(map, i, j, step);
  return true;
}

int firstguardedpoint(const MapGuards& guards, SpreadAxis axis) {
  for (int point = 1; point <= spreadpoints; ++point)
    if (guards.guarded(axissettingsmap, spreadcell(axis, point).row)) return point;
  return spreadpoints + 1;
}

QString shownmapname(const maps& model, const MapGuards& guards, int map) {
  const QString name = model.getmapname(map);
  const bool pwm = (map >= 88 && map <= 95) || (map >= 106 && map <= 109);
  if (!pwm || !selectorsguarded(guards)) return name;
  const qsizetype open = name.indexOf(QLatin1Char('['));
  const qsizetype close = name.lastIndexOf(QStringLiteral("];"));
  if (open < 0 || close < open) return name;
  return name.left(open + 1) + name.mid(close);
}

QString shownmapnames(const maps& model, const MapGuards& guards, const std::vector<int>& maplist) {
  QStringList names;
  for (const int map : maplist) names << mapnamepart(shownmapname(model, guards, map));
  return names.join(QStringLiteral(", "));
}

QString shownscalestringX(const maps& model, const MapGuards& guards, int map, bool metric) {
  const QString labels = model.getscalestringX(map, metric);
  if (map >= 0 && map <= 23) return blanklabels(labels, firstguardedpoint(guards, SpreadAxis::rpm));
  if (map >= 88 && map <= 95) return pwmlabels(model, guards, labels, map - 88, false);
  if (map >= 106 && map <= 109) return pwmlabels(model, guards, labels, 8 + (map - 106), true);
  return labels;
}

QString shownscalestringY(const maps& model, const MapGuards& guards, int map, bool metric) {
  const QString labels = model.getscalestringY(map, metric);
  if (map >= 0 && map <= 23 && mapcatalogue::loadlabelled(map))
    return blanklabels(labels, firstguardedpoint(guards, SpreadAxis::load));
  if (map >= 106 && map <= 109) return pwmlabels(model, guards, labels, 12 + (map - 106), true);
  return labels;
}

}  // namespace ostrel
