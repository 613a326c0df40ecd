#include "mapviews/tuningtools.h"

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "mapviews/checkmaps.h"
#include "mapviews/frminterpcopy.h"
#include "mapviews/fuelbaseconversion.h"
#include "mapviews/mapviews.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

void TuningTools::showinterpcopy() {
  // The keys refuse a guarded map before they get here; whoever else opens the tools is refused the same way.
  if (mapguarded(context_.state.guards, context_.state.curmap)) {
    refuseguarded(context_.prompts);
    return;
  }
  frmInterpcopy window(context_, parent_);
  if (!window.load()) return;
  launcher().showmodal(window);
}

void TuningTools::learndata() {
  ProgramState& state = context_.state;
  // Both write the map they learn into, as a grid edit would, and the grid refuses edits of a guarded map.
  if ((state.curmap == learnmap || state.curmap == autotunemap) && mapguarded(state.guards, state.curmap)) {
    refuseguarded(context_.prompts);
    return;
  }
  if (state.curmap == learnmap) {
    state.toolmode = toolmodes::learn;
  } else if (state.curmap == autotunemap) {
    state.toolmode = toolmodes::autotune;
  } else {
    context_.prompts.message(QString::fromLatin1(nolearningtext), Prompts::Icon::Information);
    return;
  }
  {
    frmInterpcopy window(context_, parent_);
    if (window.load()) launcher().showmodal(window);
  }
  // While auto-tune ran the live replies left the grid alone; show the map as the tool left it.
  context_.views.filldatagrid(true);
  context_.views.host().drawmap(true);
}

void TuningTools::checkmaps() {
  // A template that cannot be read has been reported by the reader; nothing is compared against what the
  // template model held before.
  if (!context_.templatemaps.openfile(installpath(templatefilename), false, false)) {
    context_.views.refreshactiveview();
    return;
  }
  const std::vector<QString> reports = mapcheckreports(context_.mainmaps, context_.templatemaps, context_.state.guards);
  for (const QString& report : reports) {
    context_.prompts.message(report, Prompts::Icon::Information);
    context_.views.refreshactiveview();
  }
  if (reports.empty()) {
    context_.prompts.message(nomaperrorstext, Prompts::Icon::Information);
    context_.views.refreshactiveview();
  }
}

void TuningTools::convertfuelbase(int direction) {
  if (fuelbaseguarded(context_.mainmaps, context_.state.guards)) {
    refuseguarded(context_.prompts);
    return;
  }
  const int map = ostrel::convertfuelbase(context_.mainmaps, context_.state.guards, direction);
  if (map < 0) return;
  context_.state.curmap = static_cast<std::uint8_t>(map);
  context_.views.host().openmapview();
}

}  // namespace ostrel
