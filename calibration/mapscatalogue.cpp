#include <array>

#include "calibration/mapcatalogue.h"
#include "calibration/maps.h"
#include "calibration/settings.h"
#include "calibration/translate.h"
#include "platform/numbers.h"

namespace ostrel {

namespace mc = mapcatalogue;

namespace {

constexpr int settingsmap = 110;
constexpr int namedvariables = 83;  // live variables 0-82 carry a scale; 83-127 are unnamed

const char* const novariablelabels16 = "***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***";

// Units a live variable's labels carry: the text in the brackets of its name ("tps (%)" -> "%"); counts ("n") and
// switches ("0/1") carry none. The AFR variable is labelled in lambda or AFR, as its fixed 16-point labels are.
QString labelunits(int variable, bool metric) {
  if (variable == 1) return metric ? QStringLiteral("L") : QStringLiteral("AFR");
  const QString name = livevariablename(variable, metric);
  const int open = name.lastIndexOf(QLatin1Char('('));
  const int close = name.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close <= open) return {};
  const QString units = name.mid(open + 1, close - open - 1);
  return units == QLatin1String("n") || units == QLatin1String("0/1") ? QString() : units;
}

// Labels of an axis of the given number of points driven by a live variable, from the variable's scale: the raw
// points are spread evenly over 0-255 (steps of 17 for 16 points and 8.2 for 32), with as many decimals as the
// step between labels needs.
QString derivedlabels(const settings& table, int variable, bool metric, int points) {
  const double rawstep = points == 16 ? 17.0 : 8.2;
  const double mul = table.getvarsmul(variable, metric);
  const double offset = table.getvarsoffset(variable, metric);
  const double step = std::abs(mul * rawstep);
  const int decimals = step >= 2.0 ? 0 : step >= 0.2 ? 1 : 2;
  const QString units = labelunits(variable, metric);
  QString text;
  for (int i = 0; i < points; ++i) {
    text += formatfixed(i * rawstep * mul + offset, decimals);
    if (!units.isEmpty()) text += QLatin1Char(' ') + units;
    text += QLatin1Char(';');
  }
  return text + QStringLiteral("***");
}

// Short name of a combo list item: the text before its "(" less the blank in front of it.
QString shortname(const QString& item) {
  const int open = item.indexOf(QLatin1Char('('));
  if (open < 0) return item;  // an item without units is its own short name
  return item.left(std::max(open - 1, 0));
}

}  // namespace

void maps::fillvariablelabels() {
  const settings table;
  for (int v = 0; v < 128; ++v) {
    if (v >= namedvariables) {
      varlabels16_[v] = {QString::fromLatin1(novariablelabels16), QString::fromLatin1(novariablelabels16)};
      varlabels32_[v] = {QString::fromLatin1(mc::nolabels32), QString::fromLatin1(mc::nolabels32)};
      continue;
    }
    const mc::LabelPair fixed = mc::fixedvariablelabels16(v);
    varlabels16_[v] = fixed.metric ? Labels{QString::fromLatin1(fixed.metric), QString::fromLatin1(fixed.imperial)}
                                   : Labels{derivedlabels(table, v, true, 16), derivedlabels(table, v, false, 16)};
    varlabels32_[v] = {derivedlabels(table, v, true, 32), derivedlabels(table, v, false, 32)};
  }

  // The PWM axis names: the items of combo list 6 (the 128 live variable names) after its count.
  QString list = table.getcombostring(6);
  list = list.mid(list.indexOf(QLatin1Char(';')) + 1);
  const QStringList items = list.split(QLatin1Char(':'));
  for (int v = 0; v < 128; ++v) pwmnames_[v] = v < items.size() ? shortname(items[v]) : QString::number(v);
}

void maps::filllabeltables() {
  for (int map = 0; map < mapcount; ++map) {
    const mc::LabelPair x = mc::initialxlabels(map);
    const mc::LabelPair y = mc::initialylabels(map);
    xlabels_[map] = {QString::fromLatin1(x.metric), QString::fromLatin1(x.imperial)};
    ylabels_[map] = {QString::fromLatin1(y.metric), QString::fromLatin1(y.imperial)};
  }
  // The PWM axes start as variable 0, the variable all-zero settings select.
  for (int map = 88; map <= 95; ++map) xlabels_[map] = varlabels16_[0];
  for (int map = 106; map <= 109; ++map) xlabels_[map] = ylabels_[map] = varlabels32_[0];
}

void maps::filltexts() {
  for (int map = 0; map < mapcount; ++map) {
    const QString help = mc::helptext(map);
    const QString tune = mc::tunetext(map);
    helptexts_[map] = help.isEmpty() ? help : translate(help);
    tunetexts_[map] = tune.isEmpty() ? tune : translate(tune);
  }
}

QString maps::pwmaxisname(int variable) const {
  // A calibration may carry a variable number of 128 or more: the number itself names it.
  if (variable >= 0 && variable < 128) return pwmnames_[variable];
  return QString::number(variable);
}

int maps::getcontextandtype(int map) const {
  return mc::kind(map);
}
int maps::getmaprows(int map) const {
  return mc::rows(map);
}
int maps::getmapcols(int map) const {
  return mc::cols(map);
}
bool maps::mapisgroup(int map) const {
  return map >= 0 && map < 104;
}

int maps::getgroupbyselected(int map) const {
  return map >= 0 && map < 104 ? map / 8 * 8 : map;
}

int maps::getmapgroupindex(const QString& name) const {
  int found = -1;
  for (const mc::Group& group : mc::groups())
    if (translate(QString::fromLatin1(group.name)) == name) found = group.number;
  return found;
}

QString maps::getmapname(int map) const {
  if (map >= 88 && map <= 95) {
    const int k = map - 88;
    return translate(QStringLiteral("2D PWM:PWM MAP %1 duty [").arg(k + 1)) + pwmaxisname(getdata(settingsmap, 3, k)) +
           QStringLiteral("];%_0.39|0");
  }
  if (map >= 106 && map <= 109) {
    const int j = map - 106;
    return translate(QStringLiteral("3D PWM %1:PWM MAP %1 [X = ").arg(j + 9)) +
           pwmaxisname(getdata(settingsmap, 3, 8 + j)) + QStringLiteral(",Y = ") +
           pwmaxisname(getdata(settingsmap, 3, 12 + j)) + QStringLiteral("];%_0.39|0");
  }
  if (!mc::valid(map)) return {};
  return translate(mc::definitionstring(map));
}

int maps::getmapindex(const QString& text) const {
  for (int map = 0; map <= 500; ++map) {
    const QString name = getmapname(map);
    if (name.isEmpty()) break;
    if (name.contains(text)) return map;
  }
  return -1;
}

bool maps::getmapischild(const QString& text) const {
  for (int map = 0; map <= 500; ++map) {
    const QString name = getmapname(map);
    const QString child = name.mid(name.indexOf(QLatin1Char(':')) + 1);
    if (name.isEmpty() || child.isEmpty()) break;
    if (child.contains(text)) return true;
  }
  return false;
}

float maps::getmapscale(int map) const {
  return mc::graphscale(map);
}

QString maps::getscalestringX(int map, bool metric) const {
  if (!mc::valid(map)) return {};
  return metric ? xlabels_[map].metric : xlabels_[map].imperial;
}

QString maps::getscalestringY(int map, bool metric) const {
  if (!mc::valid(map)) return {};
  return metric ? ylabels_[map].metric : ylabels_[map].imperial;
}

QString maps::getmaphelpstring(int map) const {
  return mc::valid(map) ? helptexts_[map] : QString();
}
QString maps::getmaptunestring(int map) const {
  return mc::valid(map) ? tunetexts_[map] : QString();
}

int maps::getlastshowrow(int map) const {
  if (map >= 0 && map <= 23) return lastshowrow_ > 1 ? lastshowrow_ : 2;
  return std::max(getmaprows(map) - 1, 0);  // a map above 115 has no rows: 0
}

int maps::getlastshowcol(int map) const {
  if (map >= 0 && map <= 23) return lastshowcol_ > 1 ? lastshowcol_ : 2;
  return std::max(getmapcols(map) - 1, 0);
}

int maps::getrowcheck(int map, int row) const {
  int sum = 0;
  for (int col = 0; col < getmapcols(map); ++col) {
    const int v = getdata(map, row, col);
    sum = (sum + (map == 0 ? v / 256 + v : v)) % 256;
  }
  return sum;
}

}  // namespace ostrel
