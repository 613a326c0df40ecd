#pragma once

#include "mapviews/frmmap.h"
#include "mapviews/wiregraph.h"

namespace ostrel::test {

// A point of the graph window's picture, in twips.
struct Mid {
  double x, y;
};

// The middle of the surface segment from (i1, j1) to (i2, j2) as the graph window's picture shows it at its last
// drawing.
inline Mid middle(const frmMap& window, int i1, int j1, int i2, int j2) {
  const GraphProjection& p = window.projection();
  const GraphPoints& y = window.wiregraph().surfacey();
  return {(p.pointx[i1][j1] + p.pointx[i2][j2]) / 2.0 + wireoffsetx, (y[i1][j1] + y[i2][j2]) / 2.0};
}

}  // namespace ostrel::test
