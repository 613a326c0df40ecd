#pragma once

#include <QString>
#include <array>
#include <vector>

#include "editors/spreads.h"

namespace ostrel {

class MapGuards;
class maps;
struct EditorContext;
struct ProgramState;

inline const QString regridquestiononline = QStringLiteral(
    "The load or rpm spread has changed, do you wish to go offline and recalculate the affected 3D maps?");
inline const QString regridquestion =
    QStringLiteral("The load or rpm spread has changed, do you wish to recalculate the affected 3D maps?");
inline const QString regriddownloadmessage =
    QStringLiteral("The affected 3D maps have changed. You now need to download to the ECU");
inline const QString regridguardedmessage =
    QStringLiteral("Portions of these maps are password protected, so they were not recalculated: %1");

inline constexpr int regridmaps = 24;  // the fuel, ignition and engine maps 0 to 23

// The 32 points of an axis in raw units, in single precision: point 0 is 0, point n the sum of spreads 1 to n.
std::array<float, 32> axispoints(const Spreads& spreads);

// Where each point of the new axis lies on the old axis, counted in old points (0.0 is old point 0, 31.0 old point
// 31); position 0 is 0, a new point beyond the old axis lies at 31.0. A new point on an old point lies exactly on
// it; where spreads of 0 make several old points one, it takes the one of them nearest its own number, so an
// unchanged axis gives every point its own position.
std::array<float, 32> regridpositions(const Spreads& oldspreads, const Spreads& newspreads);

// Bilinear reading of a 3-D map at positions within 0 to 31 (x the rpm point, y the load or throttle point), each
// step in single precision. A whole position reads its own cell exactly, 31.0 included.
float regridread(const maps& model, int map, float x, float y);

struct SpreadChange {
  Spreads oldload{}, oldrpm{}, newload{}, newrpm{};
};

// Re-samples maps 0 to 23 of the model so that each cell holds the value the map had at the cell's new point:
// along both axes, or only along rpm for the maps over throttle position. Each map is read whole into the scratch
// model before any of its cells is replaced; every replaced cell is marked changed. The scratch model keeps the
// re-sampled maps.
// A map with any row a password guards stays on its old grid, untouched and not even read: a re-sampled cell blends
// its neighbours, so no open cell could be re-gridded without reading guarded ones. Returns those maps.
std::vector<int> respreadmaps(maps& model, maps& scratch, const MapGuards& guards, const SpreadChange& change);

// The spreads of settings map 110 as the settings editor opens (the entry snapshot).
void loadentryspreads(ProgramState& state, const maps& model);

// The settings editor closing: takes the exit snapshot and, when a spread differs from the entry snapshot, asks
// whether to re-grid; on Yes goes offline first when connected, re-grids, names the maps a password kept on their
// old grid, and, when any map changed, tells a tuner who was connected to write the image into the ECU. True when
// the re-grid ran.
bool checkexitspreads(EditorContext& context);

}  // namespace ostrel
