#include "calibration/maptree.h"

#include "calibration/cellguards.h"
#include "calibration/maps.h"

namespace ostrel {

namespace {

constexpr int firstmodulemap = 104;  // the comments map; from here on every map is its own group
const QString reservedtext = QString(25, QLatin1Char('*'));

}  // namespace

QString mapgrouppart(const QString& definition) {
  const int colon = definition.indexOf(QLatin1Char(':'));
  return colon < 0 ? QString() : definition.left(colon);
}

QString mapnamepart(const QString& definition) {
  const int colon = definition.indexOf(QLatin1Char(':'));
  if (colon < 0) return {};
  const int semi = definition.indexOf(QLatin1Char(';'), colon + 1);
  return semi < 0 ? definition.mid(colon + 1) : definition.mid(colon + 1, semi - colon - 1);
}

std::vector<MapTreeNode> maptree(const maps& model, const MapGuards& guards, const QString& prefix) {
  std::vector<MapTreeNode> nodes;
  nodes.push_back({prefix + QStringLiteral("Maps"), prefix + QStringLiteral("Maps")});
  nodes.push_back({prefix + QStringLiteral("Settings"), prefix + QStringLiteral("Settings/Modules")});
  const auto add = [&nodes](MapTreeNode node) {
    nodes[static_cast<std::size_t>(node.parent)].haschildren = true;
    nodes.push_back(std::move(node));
    return static_cast<int>(nodes.size()) - 1;
  };
  QString previous;
  int groupnode = -1;
  for (int map = 0; map < mapcount; ++map) {
    const QString definition = shownmapname(model, guards, map);
    const QString group = mapgrouppart(definition);
    const bool ismap = map < firstmodulemap;
    if (groupnode < 0 || group != previous) {
      groupnode = add({prefix + group, prefix + group, ismap ? 0 : 1, false, map});
      previous = group;
    }
    if (!ismap) continue;
    const QString name = mapnamepart(definition);
    add({prefix + name, name.contains(QStringLiteral("***")) ? reservedtext : prefix + name, groupnode, false, map});
  }
  return nodes;
}

}  // namespace ostrel
