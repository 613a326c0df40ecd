#include "mapviews/keyhandler.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <array>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/settings.h"
#include "link/eculink.h"
#include "mapviews/cellentry.h"
#include "mapviews/keycodes.h"
#include "mapviews/pendingwrite.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

constexpr int threedkind = 0;
constexpr int twodkind = 1;

constexpr int f2 = vk::f1 + 1;
constexpr int f3 = vk::f1 + 2;
constexpr int f4 = vk::f1 + 3;
constexpr int f5 = vk::f1 + 4;
constexpr int f6 = vk::f1 + 5;
constexpr int f7 = vk::f1 + 6;
constexpr int f8 = vk::f1 + 7;
constexpr int f9 = vk::f1 + 8;

// The keyboard tools: key, tool mode, and whether the cell entry dialog (else the interpolate and copy tool) runs it.
struct ToolKey {
  int keycode;
  std::uint8_t toolmode;
  bool entry;
};
constexpr std::array<ToolKey, 11> toolkeys{{{'E', 0, true},
                                            {'M', 1, true},
                                            {'V', 2, true},
                                            {'A', 5, true},
                                            {'S', 6, true},
                                            {'X', 3, false},
                                            {'Y', 4, false},
                                            {'U', 7, false},
                                            {'D', 8, false},
                                            {'F', 9, false},
                                            {'B', 10, false}}};

const ToolKey* toolkey(int keycode) {
  const auto* it =
      std::find_if(toolkeys.begin(), toolkeys.end(), [&](const ToolKey& t) { return t.keycode == keycode; });
  return it == toolkeys.end() ? nullptr : it;
}

// The maps the function keys jump to: base fuel, base timing, VE, knock threshold, boost target.
struct JumpKey {
  int keycode;
  std::uint8_t map;
};
constexpr std::array<JumpKey, 5> jumpkeys{{{f3, 0}, {f4, 8}, {f5, 4}, {f6, 42}, {f7, 48}}};

bool isarrow(int keycode) {
  return keycode >= vk::left && keycode <= vk::down;
}
bool stepsup(int keycode) {
  return keycode == vk::pageup || keycode == vk::plus;
}

// One step of the cursor along an axis with `count` positions: up stops at the last one (and puts a cursor beyond
// it there), down stops at 0.
std::uint8_t stepped(std::uint8_t position, int delta, int count) {
  const int last = std::max(count - 1, 0);
  if (delta > 0) return static_cast<std::uint8_t>(position < last ? position + 1 : last);
  return static_cast<std::uint8_t>(position > 0 ? position - 1 : position);
}

}  // namespace

const QString KeyHandler::massedittext =
    QStringLiteral("It is not possible to mass edit this map because portions are password protected");
const QString KeyHandler::trackmodetext =
    QStringLiteral("It is not possible to navigate using the arrow keys because the software is in track mode. ") +
    QStringLiteral("\r\n") + QStringLiteral("Toggle to hold mode [F1] if you wish to navigate using the arrow keys");
const QString KeyHandler::maximisetext = QStringLiteral(
    "Maximise grid is not available when the map grid is not in focus. Press 't' to toggle the focus to the map grid");
const QString KeyHandler::fileerrortext = QStringLiteral("A file error occurred");

void cyclewindowstate(QWidget* window) {
  if (!window) return;
  if (window->isMaximized() || window->isMinimized())
    window->showNormal();
  else
    window->showMaximized();
}

KeyHandler::KeyHandler(ProgramState& state, maps& mainmaps, settings& mainsettings, const EcuLink& link,
                       MapViews& views, Prompts& prompts, QObject* parent)
    : QObject(parent),
      state_(state),
      mainmaps_(mainmaps),
      mainsettings_(mainsettings),
      link_(link),
      views_(views),
      prompts_(prompts),
      selection_(state, mainmaps, views, prompts) {}

KeyHandler::~KeyHandler() {
  if (installed_) views_.setkeyhandler(nullptr);
}

void KeyHandler::install() {
  views_.setkeyhandler(this);
  installed_ = true;
}

void KeyHandler::keydown(const QKeyEvent& event, MapView view, bool loadup) {
  mapkeydown(virtualkeycode(event), shiftmask(event.modifiers()), view, loadup);
}

void KeyHandler::forwardkeys(QWidget* window) {
  if (window) window->installEventFilter(this);
}

bool KeyHandler::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    keydown(*static_cast<QKeyEvent*>(event), MapView::graph, true);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

int KeyHandler::mapkeydown(int keycode, int shift, MapView view, bool loadup) {
  state_.curincrement = static_cast<std::int16_t>(mainmaps_.getintinc(state_.curmap, shift));
  const int kind = mainmaps_.getcontextandtype(state_.curmap);

  if (shift == vk::ctrl) {
    if (mapprotected(state_, state_.curmap)) {
      information(massedittext);
      host().setfocus(view);
      return kind;
    }
    // The box grows the way the view shows the second index.
    if (kind == threedkind && loadup && (keycode == vk::up || keycode == vk::down))
      keycode = keycode == vk::up ? vk::down : vk::up;
    if (isarrow(keycode)) selection_.navigategrid(keycode, false, true, true);
    return kind;  // Ctrl keeps the focus where it is
  }

  const Key key{keycode, shift, loadup, kind};
  if (state_.trimbox.active)
    boxkey(key);
  else if (shift == 0 || shift == vk::shift)
    cursorkey(key);
  host().setfocus(view);
  return kind;
}

// --- Bindings ----------------------------------------------------------------------------------------------------

const KeyHandler::Binding* KeyHandler::cursorbinding(int keycode) {
  static const std::array<Binding, 27> table{{
      {vk::pageup, true, &KeyHandler::step},
      {vk::pagedown, true, &KeyHandler::step},
      {vk::plus, true, &KeyHandler::step},
      {vk::minus, true, &KeyHandler::step},
      {vk::enter, true, &KeyHandler::entrytool},
      {'E', true, &KeyHandler::entrytool},
      {'M', true, &KeyHandler::entrytool},
      {'V', true, &KeyHandler::entrytool},
      {'A', true, &KeyHandler::entrytool},
      {'S', true, &KeyHandler::entrytool},
      {'Q', true, &KeyHandler::mixture},
      {'I', false, &KeyHandler::units},
      {vk::left, false, &KeyHandler::arrow},
      {vk::up, false, &KeyHandler::arrow},
      {vk::right, false, &KeyHandler::arrow},
      {vk::down, false, &KeyHandler::arrow},
      {'L', false, &KeyHandler::centre},
      {vk::f1, false, &KeyHandler::track},
      {f2, false, &KeyHandler::save},
      {f3, false, &KeyHandler::jump},
      {f4, false, &KeyHandler::jump},
      {f5, false, &KeyHandler::jump},
      {f6, false, &KeyHandler::jump},
      {f7, false, &KeyHandler::jump},
      {f8, false, &KeyHandler::livecell},
      {vk::space, false, &KeyHandler::livecell},
      {f9, false, &KeyHandler::maximise},
  }};
  for (const Binding& b : table)
    if (b.keycode == keycode) return &b;
  return nullptr;
}

const KeyHandler::Binding* KeyHandler::boxbinding(int keycode) {
  static const std::array<Binding, 17> table{{
      {vk::pageup, false, &KeyHandler::boxstep},
      {vk::plus, false, &KeyHandler::boxstep},
      {vk::pagedown, false, &KeyHandler::boxstep},
      {vk::minus, false, &KeyHandler::boxstep},
      {'E', true, &KeyHandler::boxtool},
      {'M', true, &KeyHandler::boxtool},
      {'V', true, &KeyHandler::boxtool},
      {'A', true, &KeyHandler::boxtool},
      {'S', true, &KeyHandler::boxtool},
      {'X', true, &KeyHandler::boxtool},
      {'Y', true, &KeyHandler::boxtool},
      {'U', true, &KeyHandler::boxtool},
      {'D', true, &KeyHandler::boxtool},
      {'F', true, &KeyHandler::boxtool},
      {'B', true, &KeyHandler::boxtool},
      {vk::enter, true, &KeyHandler::boxenter},
      {'L', false, &KeyHandler::centre},
  }};
  for (const Binding& b : table)
    if (b.keycode == keycode) return &b;
  return nullptr;
}

void KeyHandler::cursorkey(const Key& key) {
  const Binding* binding = cursorbinding(key.keycode);
  if (!binding) {
    checkhiddenkey(key.keycode);
    return;
  }
  if (binding->refusedonprotected && refusedonprotected()) return;
  (this->*binding->action)(key);
}

void KeyHandler::boxkey(const Key& key) {
  const Binding* binding = boxbinding(key.keycode);
  if (!binding) {
    // Any other key drops the box, unless Shift alone is held (or a write is still counting down online).
    if (key.shift != vk::shift) views_.clearselection();
    return;
  }
  // The box steps refuse a protected map inside editselection.
  if (binding->refusedonprotected && refusedonprotected()) return;
  (this->*binding->action)(key);
}

bool KeyHandler::refusedonprotected() {
  if (!mapprotected(state_, state_.curmap)) return false;
  selection_.refuse(EditRefusal::protectedmap);
  return true;
}

// --- The cursor cell ---------------------------------------------------------------------------------------------

void KeyHandler::step(const Key& key) {
  const int row = state_.cursorrow, col = state_.cursorcol;
  const int delta = stepsup(key.keycode) ? state_.curincrement : -state_.curincrement;
  if (!stepcell(mainmaps_, state_.guards, state_.curmap, row, col, delta)) return;
  if (state_.online) markdirtycells(state_, row, row, col, col);
  views_.filldatagrid(false);
  views_.updategridhighlights(false);
  drawmap(false);
  state_.syncerrticks = 0;
  // Page Up and Page Down restart the deferred full redraw of the 3-D graph; plus and minus do not.
  if (key.keycode == vk::pageup || key.keycode == vk::pagedown) state_.redrawticks = 0;
}

void KeyHandler::entrytool(const Key& key) {
  const ToolKey* tool = toolkey(key.keycode);
  state_.toolmode = tool ? tool->toolmode : 0;  // Enter: direct entry
  showentry();
}

void KeyHandler::mixture(const Key&) {
  applyafrcorrection(state_, mainmaps_);
}

void KeyHandler::units(const Key&) {
  // In memory only: the preferences file is written by the preferences dialog alone.
  state_.preferences.metricunits = !state_.preferences.metricunits;
  mainsettings_.setsettingsmetric(state_.preferences.metricunits);
  openmapview();
  host().drawpanel(true);
}

void KeyHandler::arrow(const Key& key) {
  if (state_.preferences.trackmode) {
    information(trackmodetext);
    return;
  }
  const bool across = key.keycode == vk::left || key.keycode == vk::right;
  int delta = key.keycode == vk::right || key.keycode == vk::down ? 1 : -1;
  const int map = state_.curmap;
  if (key.kind == threedkind) {
    // Across is the first index; down the second, which grows upward in a view whose load direction is up.
    if (across) {
      state_.cursorrow = stepped(state_.cursorrow, delta, mainmaps_.getmaprows(map));
    } else {
      if (key.loadup) delta = -delta;
      state_.cursorcol = stepped(state_.cursorcol, delta, mainmaps_.getmapcols(map));
    }
  } else if (key.kind == twodkind && across) {
    state_.cursorcol = stepped(state_.cursorcol, delta, mainmaps_.getmapcols(map));
  }
  drawmap(false);
  views_.updategridhighlights(false);
  views_.scrollgridtocell(false);
}

void KeyHandler::centre(const Key&) {
  state_.preferences.gridcenterload = !state_.preferences.gridcenterload;
}

void KeyHandler::track(const Key&) {
  state_.preferences.trackmode = !state_.preferences.trackmode;
}

void KeyHandler::save(const Key&) {
  const QString& path = state_.filename;
  // As Save to file: the map check's template is never overwritten, and no name or a bare pattern is no file.
  if (path.isEmpty() || isprotectedsavepath(path)) {
    prompts_.message(fileerrortext, Prompts::Icon::Exclamation);
    return;
  }
  if (!mainmaps_.savefile(path) || !mainmaps_.savefile(installpath(QStringLiteral("lastsaved.s26"))))
    prompts_.message(fileerrortext, Prompts::Icon::Exclamation);
}

void KeyHandler::jump(const Key& key) {
  for (const JumpKey& j : jumpkeys)
    if (j.keycode == key.keycode) state_.curmap = j.map;
  openmapview();
}

void KeyHandler::livecell(const Key&) {
  state_.cursorrow = link_.live().liverow;
  state_.cursorcol = link_.live().livecol;
  // While connected the live replies redraw the graph.
  if (!state_.online) drawmap(true);
  views_.updategridhighlights(false);
  views_.scrollgridtocell(false);
}

void KeyHandler::maximise(const Key&) {
  if (state_.graphview) {
    information(maximisetext);
    return;
  }
  host().maximisegrid();
}

void KeyHandler::checkhiddenkey(int keycode) {
  if (keycode != hiddenkey) {
    state_.keycounts.fill(0);
    return;
  }
  if (++state_.keycounts[0] < hiddenpresses) return;
  state_.keycounts[0] = 0;
  if (state_.online) host().showvct();
}

// --- The selection box -------------------------------------------------------------------------------------------

void KeyHandler::boxstep(const Key& key) {
  if (!selection_.editselection(key.keycode, 0, 0.0f)) return;
  views_.filldatagrid(true);
  drawmap(true);
  state_.syncerrticks = 0;
}

void KeyHandler::boxtool(const Key& key) {
  const ToolKey* tool = toolkey(key.keycode);
  if (!tool) return;
  state_.toolmode = tool->toolmode;
  if (tool->entry)
    showentry();
  else
    host().showinterpcopy();
  views_.filldatagrid(true);
  drawmap(true);
}

void KeyHandler::boxenter(const Key&) {
  state_.toolmode = 0;
  showentry();
  drawmap(true);  // the entry dialog has refilled the grid itself
}

// --- Windows -----------------------------------------------------------------------------------------------------

void KeyHandler::showentry() {
  CellEntry entry(state_, mainmaps_, views_, prompts_);
  frmEntry dialog(entry, state_.toolmode, dialogparent_);
  launcher().showmodal(dialog);
}

void KeyHandler::openmapview() {
  // A box carried into another map stays inside it.
  limitselection(state_, mainmaps_);
  host().openmapview();
}

void KeyHandler::drawmap(bool redraw) {
  host().drawmap(redraw);
}

void KeyHandler::information(const QString& text) {
  prompts_.message(text, Prompts::Icon::Information);
}

}  // namespace ostrel
