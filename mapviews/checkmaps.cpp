#include "mapviews/checkmaps.h"

#include <charconv>

#include "calibration/cellguards.h"
#include "calibration/maps.h"

namespace ostrel {

namespace {

const QString lfcr = QStringLiteral("\n\r");

// A number in its shortest general form, in the C locale ("37", "-12", "2.5").
QString general(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

QString faultline(MapCheckFault fault, const MapCheckFigures& f) {
  switch (fault) {
    case MapCheckFault::Deviation:
      return QStringLiteral("Standard deviation error [") + general(f.deviation) +
             QStringLiteral("]: the map is too different to the template map    ");
    case MapCheckFault::NegativeGradient:
      return QStringLiteral("Negative gradient error [") + QString::number(f.loweststep) +
             QStringLiteral("]: the map includes an excessive negative gradient    ");
    case MapCheckFault::PositiveGradient:
      return QStringLiteral("Positive gradient error [") + QString::number(f.higheststep) +
             QStringLiteral("]: the map includes an excessive positive gradient    ");
    case MapCheckFault::RightCellNotNeutral:
      return QStringLiteral("Map right cell zero error [") + QStringLiteral("False") +
             QStringLiteral("]: the map right cell is not zero    ");
    case MapCheckFault::NeutralCount:
      return QStringLiteral("Map zero count error [") + QString::number(f.neutralcount) +
             QStringLiteral("]: the map does not contain the necessary zero points    ");
  }
  return {};
}

}  // namespace

QString mapcheckreport(const maps& model, const MapGuards& guards, int map, const MapCheckFigures& figures,
                       const std::vector<MapCheckFault>& faults) {
  if (faults.empty()) return {};
  const QString definition = shownmapname(model, guards, map);
  const int semi = definition.indexOf(QLatin1Char(';'));
  QString text = (semi < 0 ? definition : definition.left(semi)) + lfcr;
  for (const MapCheckFault fault : faults) text += faultline(fault, figures) + lfcr;
  return text;
}

std::vector<QString> mapcheckreports(const maps& model, const maps& templ, const MapGuards& guards,
                                     const std::array<CheckLimits, 116>& limits) {
  std::vector<QString> reports;
  for (int map = firstcheckedmap; map <= lastcheckedmap; ++map) {
    if (cellguarded(model, guards, map, 0, 0)) continue;  // the check reads row 0 alone
    const MapCheckFigures figures = mapcheckfigures(model, templ, map);
    const QString report =
        mapcheckreport(model, guards, map, figures, mapcheckfaults(figures, limits[static_cast<std::size_t>(map)]));
    if (!report.isEmpty()) reports.push_back(report);
  }
  return reports;
}

}  // namespace ostrel
