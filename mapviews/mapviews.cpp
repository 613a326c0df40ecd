#include "mapviews/mapviews.h"

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "link/eculink.h"
#include "mapviews/gridscroll.h"
#include "mapviews/keyhandler.h"
#include "mapviews/selection.h"
#include "mapviews/viewhelpers.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {
constexpr int keyt = 84;
}

MapViews::MapViews(ProgramState& state, maps& mainmaps, const EcuLink& link, Prompts& prompts, QObject* parent)
    : QObject(parent), state_(state), mainmaps_(mainmaps), link_(link), prompts_(prompts), grid_(gridsize, gridsize) {
  fill_ = GridFill::of(mainmaps_, state_);
  // The cells are read from the calibration model whenever the view paints them, through the last fill's
  // snapshot of the map's scale and the preferences.
  grid_.settextsource([this](int row, int col) { return gridcelltext(mainmaps_, fill_, row, col); });
}

void MapViews::setgridcaption(const QString& caption) {
  if (caption == gridcaption_) return;
  gridcaption_ = caption;
  emit gridcaptionchanged(caption);
}

void MapViews::filldatagrid(bool full) {
  fill_ = GridFill::of(mainmaps_, state_);
  if (!full) {
    if (!fill_.showscells()) return;
    for (const auto& [i, j] : {std::pair<int, int>{link_.live().liverow, link_.live().livecol},
                               std::pair<int, int>{state_.cursorrow, state_.cursorcol}}) {
      const GridPos pos = gridposof(fill_, i, j);
      grid_.textschanged(pos.row, pos.col);
    }
    return;
  }

  grid_.beginbatch();
  for (int k = 0; k < gridsize; ++k) {
    grid_.setcelltext(-1, k, QString());
    grid_.setcelltext(k, -1, QString());
  }
  // The labels as a tuner may see them: none that a guarded spread or axis variable decides.
  const QStringList across =
      axislabels(shownscalestringX(mainmaps_, state_.guards, fill_.map, fill_.metric), fill_.cols);
  for (int c = 0; c < across.size() && c < gridsize; ++c) grid_.setcelltext(-1, c, across[c]);
  const QStringList down = axislabels(shownscalestringY(mainmaps_, state_.guards, fill_.map, fill_.metric), fill_.rows);
  for (int r = 0; r < down.size() && r < gridsize; ++r) grid_.setcelltext(gridrowoflabel(fill_, r), -1, down[r]);
  grid_.textschanged();
  grid_.endbatch();
}

void MapViews::updategridhighlights(bool full) {
  highlighter_.update(full, mainmaps_, state_, link_.live().liverow, link_.live().livecol, grid_);
}

void MapViews::scrollgridtocell(bool reset) {
  if (!scrolling_) return;
  ostrel::scrollgridtocell(reset, state_, mainmaps_.getcontextandtype(state_.curmap), link_.live().liverow,
                           link_.live().livecol, *scrolling_);
}

bool MapViews::clearselection() {
  if (state_.online && state_.pendingcommand != 0) return false;
  state_.trimbox.active = false;
  updategridhighlights(true);
  host_->drawmap(true);
  return true;
}

void MapViews::refreshactiveview() {
  mapkeydown(0, 0, state_.graphview ? MapView::graph : MapView::grid, false);
}

void MapViews::openmapview() {
  const int map = state_.curmap;
  const int lastrow = std::max(0, mainmaps_.getmaprows(map) - 1);
  const int lastcol = std::max(0, mainmaps_.getmapcols(map) - 1);
  if (state_.cursorrow > lastrow) state_.cursorrow = static_cast<std::uint8_t>(lastrow);
  if (state_.cursorcol > lastcol) state_.cursorcol = static_cast<std::uint8_t>(lastcol);
  // A box carried over from another map, by whatever path the map changed, stays inside this one.
  if (state_.trimbox.active) limitselection(state_, mainmaps_);

  filldatagrid(true);

  if (state_.trimbox.active || clearselection()) {
    updategridhighlights(true);
    scrollgridtocell(true);
    host_->drawmap(true);
  } else {
    prompts_.message(QStringLiteral("A mass edit problem occurred. You should re-upload"), Prompts::Icon::Critical);
  }

  const MapDisplay d = mapdisplay(mainmaps_, state_.guards, map, state_.preferences.fueltype);
  host_->setmaincaption(d.group + QStringLiteral(": ") + d.name + QStringLiteral("  (") + state_.filename +
                        QLatin1Char(')'));
  setgridcaption(QStringLiteral("Map data, units = ") + d.units);
  host_->statusmessage(d.name + QStringLiteral(" selected "), true);

  if (mapguarded(state_.guards, map)) {
    prompts_.message(QStringLiteral("Portions of this map are password protected and will not be shown"),
                     Prompts::Icon::Information);
    refreshactiveview();
  }

  state_.syncerrticks = 0;
  host_->cleartabletrail();
}

void MapViews::mapkeydown(int keycode, int shift, MapView view, bool loadup) {
  if (keys_) keys_->mapkeydown(keycode, shift, view, loadup);
}

void MapViews::gridkeydown(int keycode, int shift, bool keyfromgrid) {
  // T alone on the grid hands the focus to the graph: that is how T toggles between the two.
  const MapView view = keyfromgrid && keycode == keyt && shift == 0 ? MapView::graph : MapView::grid;
  mapkeydown(keycode, shift, view, state_.preferences.gridloadup);
}

void MapViews::gridfocused() {
  host_->statusmessage(QStringLiteral("Grid focus, arrows are grid oriented"), false);
  state_.graphview = false;
  if (mainmaps_.getcontextandtype(state_.curmap) == 0) host_->drawmapgraph(true, false);
}

}  // namespace ostrel
