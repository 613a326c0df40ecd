#pragma once

#include "gauge/gaugestate.h"
#include "gauge/gaugesurface.h"

namespace nox {

// Draws the gauge described by state onto surface. A full repaint draws everything; a partial one only
// the inner dial (zones, face, title, hub, needle), relying on the surface to keep the rest. Writes only
// state.arcStart and state.arcEnd.
void drawgauge(GaugeSurface& surface, GaugeState& state, bool repaint);

}  // namespace nox
