#include "shell/navigation.h"

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "shell/shellhost.h"

namespace ostrel {

namespace {

constexpr int tablekinds = 1;  // kinds 0 (3-D table) and 1 (2-D table) open in the views

bool reserved(const QString& name) {
  return name.contains(QStringLiteral("***"));
}

}  // namespace

std::vector<GroupMenuItem> groupmenuitems(const maps& mainmaps) {
  std::vector<GroupMenuItem> items;
  bool modules = false;
  // The group names are fixed: no guard changes them.
  for (const MapTreeNode& node : maptree(mainmaps, MapGuards{}, QString())) {
    const bool group = node.parent == 0 || node.parent == 1;
    if (!group) continue;
    if (node.parent == 1 && !modules) {
      modules = true;
      items.push_back({QStringLiteral("-"), -1});
    }
    items.push_back({node.text, node.map});
  }
  return items;
}

MapMenu mapmenuitems(const maps& mainmaps, const MapGuards& guards, int firstmap) {
  MapMenu items;
  int shown = 0;  // length of the last name shown
  for (int k = 0; k < mapmenusize; ++k) {
    const int map = firstmap + k;
    const QString name = mapnamepart(shownmapname(mainmaps, guards, map));
    MapMenuItem& item = items[static_cast<std::size_t>(k)];
    item.map = map;
    if (reserved(name)) {
      item.caption = QString(static_cast<int>(roundhalfeven(shown * 0.8)), QLatin1Char('*'));
      item.enabled = false;
    } else {
      item.caption = name;
      item.enabled = map >= 0 && map < mapcount;
      shown = static_cast<int>(name.size());
    }
  }
  return items;
}

bool mapmenuenabled(const maps& mainmaps, int curmap) {
  return mainmaps.mapisgroup(curmap);
}

HelpMessage splithelptext(const QString& text) {
  if (text.isEmpty()) return {QString(), QStringLiteral("No help text available.")};
  const int semi = text.indexOf(QLatin1Char(';'));
  if (semi < 0) return {QString(), text};
  return {text.left(semi), text.mid(semi + 1)};
}

Navigation::Navigation(ProgramState& state, const maps& mainmaps, ShellHost& host)
    : state_(state), mainmaps_(mainmaps), host_(host) {}

bool Navigation::openable(int map) const {
  return map >= 0 && map < mapcount && !reserved(mapnamepart(mainmaps_.getmapname(map)));
}

void Navigation::opennode(int map, bool groupnode) {
  if (map < 0 || map >= mapcount) return;  // a root
  if (groupnode) {
    opengroup(map);
    return;
  }
  if (!openable(map)) return;
  // A leaf: its map, and the one the views come back to; the Map menu stays as it is.
  state_.curmap = static_cast<std::uint8_t>(map);
  state_.lastviewmap = state_.curmap;
  host_.openmapview();
}

void Navigation::choosegroup(int map) {
  if (map < 0 || map >= mapcount) return;
  opengroup(map);
}

void Navigation::choosemapitem(int index) {
  if (index < 0 || index >= mapmenusize) return;
  const int map = state_.groupfirstmap + index;
  if (!openable(map)) return;
  state_.curmap = static_cast<std::uint8_t>(map);
  host_.openmapview();
}

void Navigation::opengroup(int map) {
  state_.curmap = static_cast<std::uint8_t>(map);
  state_.groupfirstmap = static_cast<std::uint8_t>(mainmaps_.getgroupbyselected(map));
  host_.buildmapmenu();
  const int kind = mainmaps_.getcontextandtype(map);
  if (kind <= tablekinds) {
    state_.lastviewmap = state_.curmap;
    host_.openmapview();
    return;
  }
  host_.showeditor(kind);
  // Back on the last table shown; the Map menu shows that map and the seven after it, and its items open those.
  state_.curmap = state_.lastviewmap;
  state_.groupfirstmap = state_.lastviewmap;
  host_.buildmapmenu();
  host_.openmapview();
}

}  // namespace ostrel
