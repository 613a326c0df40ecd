#include "mapviews/mapgridcontent.h"

#include <cmath>
#include <cstdlib>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "mapviews/fuelbaseconversion.h"
#include "mapviews/viewhelpers.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

GridFill GridFill::of(const maps& model, const ProgramState& state) {
  GridFill f;
  f.map = state.curmap;
  f.kind = model.getcontextandtype(f.map);
  f.rows = model.getmaprows(f.map);
  f.cols = model.getmapcols(f.map);
  const MapDisplay d = mapdisplay(model, state.guards, f.map, state.preferences.fueltype);
  f.gain = d.gain;
  f.offset = d.offset;
  f.decimals = decimalsforscale(f.gain);
  f.metric = state.preferences.metricunits;
  f.loadup = state.preferences.gridloadup;
  f.substrings = state.preferences.substrings;
  f.vesubstringafrerror = state.preferences.vesubstringafrerror;
  f.guards = &state.guards;
  return f;
}

GridPos gridposof(const GridFill& fill, int i, int j) {
  if (fill.kind == 0) return {fill.loadup ? gridsize - 1 - j : j, i};
  return {i, j};
}

bool modelcellat(const GridFill& fill, int gridrow, int gridcol, int& i, int& j) {
  if (!fill.showscells()) return false;
  if (fill.kind == 0) {
    i = gridcol;
    j = fill.loadup ? gridsize - 1 - gridrow : gridrow;
  } else {
    i = gridrow;
    j = gridcol;
  }
  return i >= 0 && i < fill.rows && j >= 0 && j < fill.cols;
}

int gridrowoflabel(const GridFill& fill, int r) {
  return fill.kind == 0 && fill.loadup ? gridsize - 1 - r : r;
}

bool cellshown(const maps& model, const GridFill& fill, int i, int j) {
  return fill.guards == nullptr || !cellguarded(model, *fill.guards, fill.map, i, j);
}

QString unitnote(const maps& model, const GridFill& fill, int i, int j) {
  if (!fill.substrings) return {};
  switch (fill.map) {
    case 0: {
      // Errors within one percent get no note; the two sides count differently (|e| - 1 up, |e| + 1 down), which
      // tuners read the notes by.
      const int e = model.getafrerror(i, j);
      if (e > 1) return QStringLiteral(" inc") + QString::number(std::abs(e) - 1);
      if (e < -1) return QStringLiteral(" dec") + QString::number(std::abs(e) + 1);
      return {};
    }
    case 4: {
      if (fill.vesubstringafrerror) {
        const int e = model.getafrerror(i, j);
        if (e > 0) return QStringLiteral(", INC") + QString::number(std::abs(e));
        if (e < 0) return QStringLiteral(", DEC") + QString::number(std::abs(e));
        return {};
      }
      // The pulse width is worked out from other maps' cells and settings: none of them may be guarded.
      if (fill.guards && pulsewidthguarded(model, *fill.guards, i, j)) return {};
      return QStringLiteral(", ") + formatregional(model.getVEPW(i, j), 2, Grouping::grouped) + QStringLiteral(" ms");
    }
    case 8:
      return model.getmapknocked(i, j) ? QStringLiteral(", K") : QString();
    default:
      return {};
  }
}

QString mapcelltext(const maps& model, const GridFill& fill, int i, int j) {
  // Raw times gain plus offset in single precision, as the scale is stored; written the way the user's system writes
  // numbers, which only the grid does.
  const float value = static_cast<float>(model.getdata(fill.map, i, j)) * fill.gain + fill.offset;
  const QString text = formatregional(value, fill.decimals, Grouping::grouped) + unitnote(model, fill, i, j);
  if (model.getchange(fill.map, i, j)) return QLatin1Char('[') + text + QLatin1Char(']');
  return text;
}

QString gridcelltext(const maps& model, const GridFill& fill, int gridrow, int gridcol) {
  int i = 0, j = 0;
  if (!modelcellat(fill, gridrow, gridcol, i, j) || !cellshown(model, fill, i, j)) return {};
  return mapcelltext(model, fill, i, j);
}

QStringList axislabels(const QString& scalestring, int count) {
  QStringList labels;
  int start = 0;
  for (int k = 0; k < count; ++k) {
    if (start > scalestring.size()) {
      labels << QString();
      continue;
    }
    const int semi = scalestring.indexOf(QLatin1Char(';'), start);
    labels << (semi < 0 ? scalestring.mid(start) : scalestring.mid(start, semi - start));
    start = semi < 0 ? scalestring.size() + 1 : semi + 1;
  }
  return labels;
}

}  // namespace ostrel
