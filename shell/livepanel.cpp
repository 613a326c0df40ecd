#include "shell/livepanel.h"

#include <algorithm>

#include "calibration/maps.h"
#include "calibration/startuptables.h"
#include "link/eculink.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/ui/picturesurface.h"
#include "shell/gaugewindow.h"

namespace ostrel {

namespace {

// Twips offsets within a row, from the row's origin y0 + 280 i.
constexpr int labeltop = 750;
constexpr int texttop = 700;  // scale text and value
constexpr int bartop = 860;
constexpr int barbottom = 910;
constexpr int barleft = 1050;  // from x0
constexpr int barbackright = 2500;
constexpr int unitsoffset = 600;  // units right of the value
// The value and units column, cleared before every value pass so that no number prints over an older one.
constexpr int valuecolumnwidth = 1500;

}  // namespace

PanelGeometry panelgeometry(int displayheight, bool analog) {
  PanelGeometry g;
  g.y0 = displayheight > 6700 ? static_cast<int>(roundhalfeven((displayheight - 6700) * 0.5 - 200)) : -200;
  g.x0 = analog ? 0 : -4000;
  g.w = analog ? 2800 : 1150;
  return g;
}

int panelbarlength(std::int16_t value, const PanelVariable& row, int units) {
  const float length = (static_cast<float>(value) + row.baroffset[units]) * row.barscale[units];
  return static_cast<int>(roundclamp(length, 0, panel::barmax));
}

int panelbarzones(int length, int zonewidth, std::array<BarZone, 5>& zones) {
  int count = 0;
  for (int k = 0; k < 5; ++k) {
    const int from = k * zonewidth;
    if (k > 0 && length <= from) break;
    const int to = k == 4 ? length : std::min(length, (k + 1) * zonewidth);
    zones[static_cast<std::size_t>(k)] = {from, to, panel::zonecolors[static_cast<std::size_t>(k)]};
    ++count;
  }
  return count;
}

float panelvalue(std::int16_t value, const PanelVariable& row, int units, float factor) {
  return (static_cast<float>(value) + row.valueoffset[units]) * row.valuemul[units] * factor;
}

QString panelvaluetext(std::int16_t value, const PanelVariable& row, int units, float factor) {
  return formatfixed(panelvalue(value, row, units, factor), row.decimals[units]);
}

int panelqueuefill(int lastqueued) {
  return std::clamp(lastqueued, 0, panel::queuefillmax);
}

LivePanel::LivePanel(ProgramState& state, const maps& mainmaps, const EcuLink& link, frmDisplay& display)
    : state_(state), mainmaps_(mainmaps), link_(link), display_(display) {}

void LivePanel::drawpanel(bool redraw) {
  if (!display_.picGraph) return;
  const Preferences& prefs = state_.preferences;
  const PanelGeometry g = panelgeometry(display_.outerheight(), prefs.panelanalog);
  const int units = panelunitscolumn(prefs.metricunits);
  if (redraw) {
    backgroundpass(g, units);
    return;
  }
  valuepass(g, units);
  // The needles follow the panel while the gauges are in view; a gauge window too narrow to show them has no use
  // for its own poll plan.
  if (display_.outerwidth() > panel::gaugewidthmin)
    display_.drawNoxgauges(false);
  else if (state_.livemode == panel::gaugeselector)
    state_.livemode = 0;
}

void LivePanel::backgroundpass(const PanelGeometry& g, int units) {
  PictureSurface& pic = *display_.picGraph;
  const auto& table = startuptables().paneltables;
  PictureSurface::Batch batch(pic);
  pic.fillbox(0, 0, pic.widthtwips(), pic.heighttwips(), panel::backgroundcolor);

  pic.setfont(QStringLiteral("HandelGothic BT"), 10, true, true);
  pic.forecolor = panel::labelcolor;
  pic.drawwidth = 1;
  for (int i = 0; i < panel::rows; ++i) {
    pic.currentx = 50;
    pic.currenty = g.y0 + labeltop + panel::rowpitch * i;
    pic.print(table[static_cast<std::size_t>(i)].name[static_cast<std::size_t>(units)]);
  }

  pic.setfont(QStringLiteral("Arial"), 7, false, false);
  pic.forecolor = panel::scalecolor;
  for (int i = 0; i < panel::rows; ++i) {
    pic.currentx = g.x0 + barleft;
    pic.currenty = g.y0 + texttop + panel::rowpitch * i;
    pic.print(table[static_cast<std::size_t>(i)].scaletext[static_cast<std::size_t>(units)]);
  }
}

void LivePanel::valuepass(const PanelGeometry& g, int units) {
  PictureSurface& pic = *display_.picGraph;
  const auto& table = startuptables().paneltables;
  const auto& livevars = link_.live().livevars;
  const auto u = static_cast<std::size_t>(units);
  PictureSurface::Batch batch(pic);

  // The value column and the separator left of it.
  const int separator = g.w - 120;
  pic.fillbox(separator, g.y0 + 700, g.w + valuecolumnwidth, g.y0 + 5750, panel::backgroundcolor);
  pic.line(separator, g.y0 + 680, separator, g.y0 + 5730, panel::labelcolor);

  // Queue strip: one tick per waiting write beyond the head, plus one.
  const int ticks = panelqueueticks(panelqueuefill(link_.lastqueuedtransfer()));
  pic.fillbox(300, g.y0 + 560, 3300, g.y0 + 610, panel::backgroundcolor);
  for (int j = 0; j < ticks; ++j) {
    const int x = 300 + panel::tickspacing * j;
    pic.line(x, g.y0 + 560, x, g.y0 + 610, panel::tickcolor);
  }

  pic.setfont(QStringLiteral("Arial"), 10, false, false);
  pic.forecolor = panel::labelcolor;
  const float stoich = mainmaps_.getspecialmul(panel::stoichmap, state_.preferences.fueltype);
  std::array<BarZone, 5> zones;
  for (int i = 0; i < panel::rows; ++i) {
    const PanelVariable& row = table[static_cast<std::size_t>(i)];
    const std::int16_t value = livevars[static_cast<std::size_t>(i)];
    const int top = g.y0 + panel::rowpitch * i;
    const int left = g.x0 + barleft;

    pic.fillbox(left, top + bartop, g.x0 + barbackright, top + barbottom, panel::barbackcolor);
    const int count = panelbarzones(panelbarlength(value, row, units), row.barlimit, zones);
    for (int k = 0; k < count; ++k)
      pic.fillbox(left + zones[static_cast<std::size_t>(k)].from, top + bartop,
                  left + zones[static_cast<std::size_t>(k)].to, top + barbottom,
                  zones[static_cast<std::size_t>(k)].color);

    pic.currentx = g.w;
    pic.currenty = top + texttop;
    pic.print(panelvaluetext(value, row, units, i == panel::afrrow ? stoich : 1.0f));
    pic.currentx = g.w + unitsoffset;
    pic.currenty = top + texttop;
    pic.print(row.units[u]);
  }

  // Engine speed in large type.
  pic.fillbox(0, g.y0 + 5800, 2800, g.y0 + 6400, panel::backgroundcolor);
  pic.currentx = 100;
  pic.currenty = g.y0 + 5850;
  pic.setfont(QStringLiteral("Arial"), 22, false, true);
  pic.forecolor = panel::enginespeedcolor;
  pic.print(QString::number(livevars[panel::enginespeedrow]));
  pic.currentx = 1300;
  pic.currenty = g.y0 + 5850;
  pic.print(QStringLiteral("RPM"));
}

}  // namespace ostrel
