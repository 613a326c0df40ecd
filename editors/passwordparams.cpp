#include "editors/passwordparams.h"

#include "calibration/maps.h"
#include "editors/passwordfragments.h"

namespace ostrel {

std::optional<ParamsChoice> paramschoice(const maps& mainmaps, const QString& entrytext, bool isroot,
                                         bool haschildren) {
  if (isroot || entrytext.contains(QStringLiteral("***"))) return std::nullopt;
  const QString name = entrytext.mid(appliesprefix.size());
  const int k = mainmaps.getmapindex(name);
  if (k < 0) return std::nullopt;
  return ParamsChoice{!haschildren && mainmaps.getmapischild(name), k, name};
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
