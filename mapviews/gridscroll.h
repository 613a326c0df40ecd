#pragma once

namespace ostrel {

class GridScrolling;
struct ProgramState;

// Keeps the interesting cell of the current map in the map grid's scroll window and puts the grid's focus cell on
// it: the moving end of an active selection box, else the live cell (GRID CENTERING: LOAD) or the cursor cell.
// reset scrolls to where a freshly opened map starts: the last rows and columns of a 3-D map drawn bottom-up, the
// first ones otherwise. kind is the current map's kind; liverow and livecol the link's live cell.
void scrollgridtocell(bool reset, const ProgramState& state, int kind, int liverow, int livecol, GridScrolling& grid);

}  // namespace ostrel
