#pragma once

// The map check's report: what it says of a map that breaks limits of its check record. The arithmetic is the
// calibration model's (calibration/mapcheck.h); running the check with its messages is TuningTools::checkmaps.

#include <QString>
#include <array>
#include <vector>

#include "calibration/mapcheck.h"
#include "calibration/startuptables.h"

namespace ostrel {

class MapGuards;
class maps;

inline const QString nomaperrorstext = QStringLiteral("No map errors were detected  ");
// Where the check finds its template, in the install folder.
inline const QString templatefilename = QStringLiteral("template.s26");

// The message of one map: the map's definition as a tuner may see it (shownmapname) up to its first ";", then one
// line per broken limit in report order, every line ended by LF CR. Empty when the map breaks none.
QString mapcheckreport(const maps& model, const MapGuards& guards, int map, const MapCheckFigures& figures,
                       const std::vector<MapCheckFault>& faults);

// The messages of every faulty map from 24 to 95 of model against templ, in map order, by the maps' check records.
// A map whose checked row a password guards is left out: its figures would tell of the hidden cells.
std::vector<QString> mapcheckreports(const maps& model, const maps& templ, const MapGuards& guards,
                                     const std::array<CheckLimits, 116>& limits = startuptables().checklimits);

}  // namespace ostrel
