#include "editors/passwordparams.h"

#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "editors/passwordfragments.h"

namespace ostrel {

std::optional<ParamsChoice> paramschoice(const MapTreeNode& node) {
  if (node.parent < 0 || node.map < 0 || node.map >= mapcount || node.text.contains(QStringLiteral("***")))
    return std::nullopt;
  // Leaves hang under a group node, never under a root.
  const bool leaf = node.parent >= 2;
  return ParamsChoice{leaf, node.map, node.text.mid(appliesprefix.size())};
}

bool storeparamschoice(EditorContext& context, int fragment, const ParamsChoice& choice) {
  if (choice.map < 0 || choice.map >= mapcount) return false;
  const auto k = static_cast<std::uint8_t>(choice.map);
  if (choice.singlemap) return writefragmentbytes(context, fragment, fragmentbyte::map, {k});
  return writefragmentbytes(context, fragment, fragmentbyte::group, {k, allmapsingroup});
}

bool storeprotectedrow(EditorContext& context, int fragment, bool last, int item) {
  if (item < 0 || item > 255) return false;
  return writefragmentbytes(context, fragment, last ? fragmentbyte::lastrow : fragmentbyte::firstrow,
                            {static_cast<std::uint8_t>(item)});
}

QStringList rowitems(int count) {
  QStringList items;
  for (int k = 1; k <= count; ++k) items << QStringLiteral("row ") + QString::number(k);
  return items;
}

}  // namespace ostrel
