#include "mapviews/selection.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "mapviews/keycodes.h"
#include "mapviews/mapviews.h"
#include "mapviews/pendingwrite.h"
#include "mapviews/viewhelpers.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {

constexpr int threedkind = 0;

std::uint8_t position(int value, int count) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, std::max(count - 1, 0)));
}

bool fitscell(double value) {
  return std::isfinite(value) && value >= -32768.0 && value <= 32767.0;
}

EditValue checked(double value) {
  const double r = roundhalfeven(value);
  if (!fitscell(r)) return {EditRefusal::outofrange, 0.0};
  return {EditRefusal::none, r};
}

}  // namespace

SelectionLimits selectionlimits(const maps& model, int map) {
  const int rows = model.getmaprows(map), cols = model.getmapcols(map);
  if (model.getcontextandtype(map) == threedkind) return {rows, cols};
  return {cols, rows};
}

void selectionbounds(TrimBox& box, int kind) {
  const auto [hmin, hmax] = std::minmax(box.anchorh, box.endh);
  const auto [vmin, vmax] = std::minmax(box.anchorv, box.endv);
  if (kind == threedkind) {
    box.rowmin = hmin, box.rowmax = hmax, box.colmin = vmin, box.colmax = vmax;
  } else {
    box.colmin = hmin, box.colmax = hmax, box.rowmin = vmin, box.rowmax = vmax;
  }
}

void moveselection(ProgramState& state, const maps& model, int keycode, bool selectall) {
  TrimBox& box = state.trimbox;
  const int kind = model.getcontextandtype(state.curmap);
  const SelectionLimits limits = selectionlimits(model, state.curmap);
  if (box.active) {
    limitselection(state, model);  // a box carried over from another map
  } else {
    box.active = true;
    const bool threed = kind == threedkind;
    box.anchorh = box.endh = position(threed ? state.cursorrow : state.cursorcol, limits.across);
    box.anchorv = box.endv = position(threed ? state.cursorcol : state.cursorrow, limits.down);
  }
  if (selectall) {
    box.anchorh = 0, box.anchorv = 0;
    box.endh = position(limits.across - 1, limits.across);
    box.endv = position(limits.down - 1, limits.down);
  } else if (keycode == vk::left) {
    if (box.endh > 0) --box.endh;
  } else if (keycode == vk::right) {
    if (box.endh < limits.across - 1) ++box.endh;
  } else if (keycode == vk::up) {
    if (box.endv > 0) --box.endv;
  } else if (keycode == vk::down) {
    if (box.endv < limits.down - 1) ++box.endv;
  }
  selectionbounds(box, kind);
}

void limitselection(ProgramState& state, const maps& model) {
  TrimBox& box = state.trimbox;
  const SelectionLimits limits = selectionlimits(model, state.curmap);
  box.anchorh = position(box.anchorh, limits.across);
  box.endh = position(box.endh, limits.across);
  box.anchorv = position(box.anchorv, limits.down);
  box.endv = position(box.endv, limits.down);
  selectionbounds(box, model.getcontextandtype(state.curmap));
}

bool mapprotected(const ProgramState& state, int map) {
  return mapguarded(state.guards, map);
}

QString refusaltext(EditRefusal refusal) {
  switch (refusal) {
    case EditRefusal::none:
      return {};
    case EditRefusal::protectedmap:
      return protectedmaptext;
    case EditRefusal::notanumber:
      return QStringLiteral("The entry is not a number");
    case EditRefusal::dividebyzero:
      return QStringLiteral("It is not possible to divide by zero");
    case EditRefusal::nogain:
      return QStringLiteral("This map has no display scale, so the entry cannot be converted");
    case EditRefusal::outofrange:
      return QStringLiteral("The result is out of range for this map");
  }
  return {};
}

EditValue directraw(float entry, float gain, float offset) {
  if (gain == 0.0f) return {EditRefusal::nogain, 0.0};
  return checked((static_cast<double>(entry) - offset) / gain);
}

EditValue tooledit(int op, double cell, float factor, float gain, float offset) {
  if (op != 1 && op != 2 && op != 5 && op != 6) return {EditRefusal::none, cell};
  if (gain == 0.0f) return {EditRefusal::nogain, 0.0};
  // The offset in raw units, and the entry in raw units, are single-precision quotients as the map's scale is.
  const double t = offset / gain;
  switch (op) {
    case 1:
      return checked((cell + t) * factor - t);
    case 2:
      if (factor == 0.0f) return {EditRefusal::dividebyzero, 0.0};
      return checked((cell + t) / factor - t);
    case 5:
      return checked(cell + static_cast<double>(factor / gain));
    default:
      return checked(cell - static_cast<double>(factor / gain));
  }
}

EditRefusal editselection(ProgramState& state, maps& model, int keycode, int value, float factor) {
  const int map = state.curmap;
  limitselection(state, model);
  const TrimBox& box = state.trimbox;
  if (mapprotected(state, map)) return EditRefusal::protectedmap;

  const bool up = keycode == vk::pageup || keycode == vk::plus;
  const bool down = keycode == vk::pagedown || keycode == vk::minus;
  const bool tool = keycode == 0 || keycode == 1 || keycode == 2 || keycode == 5 || keycode == 6;
  if (!up && !down && !tool) return EditRefusal::none;

  // Every new value is worked out before the first cell changes, so a refusal leaves the map as it was.
  const MapDisplay scale = mapdisplay(model, state.guards, map, state.preferences.fueltype);
  std::vector<double> results;
  results.reserve(static_cast<std::size_t>((box.rowmax - box.rowmin + 1) * (box.colmax - box.colmin + 1)));
  for (int r = box.rowmin; r <= box.rowmax; ++r) {
    for (int c = box.colmin; c <= box.colmax; ++c) {
      const double cell = model.getdata(map, r, c);
      EditValue edit;
      if (up) {
        edit = checked(cell + state.curincrement);
      } else if (down) {
        edit = checked(cell - state.curincrement);
      } else if (keycode == 0) {
        edit = checked(value);
      } else {
        edit = tooledit(keycode, cell, factor, scale.gain, scale.offset);
      }
      if (edit.refusal != EditRefusal::none) return edit.refusal;
      results.push_back(edit.value);
    }
  }

  markdirtycells(state, box.rowmin, box.rowmax, box.colmin, box.colmax);
  auto next = results.cbegin();
  for (int r = box.rowmin; r <= box.rowmax; ++r)
    for (int c = box.colmin; c <= box.colmax; ++c) setcell(model, state.guards, map, r, c, *next++, true);
  state.syncerrticks = 0;
  return EditRefusal::none;
}

Selection::Selection(ProgramState& state, maps& model, MapViews& views, Prompts& prompts)
    : state_(state), model_(model), views_(views), prompts_(prompts) {}

void Selection::navigategrid(int keycode, bool selectall, bool refreshgrid, bool redrawgraph) {
  moveselection(state_, model_, keycode, selectall);
  if (refreshgrid) {
    views_.scrollgridtocell(false);
    views_.updategridhighlights(true);
  }
  if (redrawgraph) views_.host().drawmap(true);
}

bool Selection::selectall() {
  if (mapprotected(state_, state_.curmap)) {
    refuse(EditRefusal::protectedmap);
    return false;
  }
  navigategrid(0, true, true, true);
  return true;
}

bool Selection::editselection(int keycode, int value, float factor) {
  const EditRefusal refusal = ostrel::editselection(state_, model_, keycode, value, factor);
  refuse(refusal);
  return refusal == EditRefusal::none;
}

void Selection::refuse(EditRefusal refusal) {
  if (refusal != EditRefusal::none) prompts_.message(refusaltext(refusal), Prompts::Icon::Information);
}

}  // namespace ostrel
