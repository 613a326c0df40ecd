#include "editors/maptree.h"

#include "calibration/maps.h"

namespace ostrel {

QString definitiongroup(const maps& mainmaps, int map) {
  const QString s = mainmaps.getmapname(map);
  const int colon = s.indexOf(QLatin1Char(':'));
  return colon < 0 ? QString() : s.left(colon);
}

QString definitionname(const maps& mainmaps, int map) {
  const QString s = mainmaps.getmapname(map);
  const int colon = s.indexOf(QLatin1Char(':'));
  if (colon < 0) return {};
  const int semicolon = s.indexOf(QLatin1Char(';'));
  return semicolon < colon ? s.mid(colon + 1) : s.mid(colon + 1, semicolon - colon - 1);
}

std::vector<MapTreeNode> buildmaptree(const maps& mainmaps, const QString& prefix) {
  std::vector<MapTreeNode> nodes;
  nodes.push_back({-1, prefix + QStringLiteral("Maps"), prefix + QStringLiteral("Maps")});
  nodes.push_back({-1, prefix + QStringLiteral("Settings"), prefix + QStringLiteral("Settings/Modules")});
  QString previous;
  int groupnode = -1;
  for (int m = 0; m < mapcount; ++m) {
    const bool isgroup = mainmaps.mapisgroup(m);
    const QString group = definitiongroup(mainmaps, m);
    if (group != previous || groupnode < 0) {
      nodes.push_back({isgroup ? 0 : 1, prefix + group, prefix + group});
      groupnode = static_cast<int>(nodes.size()) - 1;
      previous = group;
    }
    if (!isgroup) continue;
    const QString name = definitionname(mainmaps, m);
    const QString text = name.contains(QStringLiteral("***")) ? QString(25, QLatin1Char('*')) : prefix + name;
    nodes.push_back({groupnode, prefix + name, text});
  }
  return nodes;
}

}  // namespace ostrel
