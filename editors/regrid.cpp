#include "editors/regrid.h"

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/startuptables.h"
#include "editors/editorcontext.h"
#include "link/eculink.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

std::array<float, 32> axispoints(const Spreads& spreads) {
  std::array<float, 32> points{};
  for (int n = 1; n < 32; ++n)
    points[static_cast<std::size_t>(n)] =
        points[static_cast<std::size_t>(n - 1)] + spreads[static_cast<std::size_t>(n - 1)];
  return points;
}

std::array<float, 32> regridpositions(const Spreads& oldspreads, const Spreads& newspreads) {
  const std::array<float, 32> o = axispoints(oldspreads);
  const std::array<float, 32> v = axispoints(newspreads);
  std::array<float, 32> positions{};
  for (int n = 1; n < 32; ++n) {
    const float point = v[static_cast<std::size_t>(n)];
    float& position = positions[static_cast<std::size_t>(n)];
    // The old points are in rising order; [first, last] are those that equal the new point.
    const auto first = std::lower_bound(o.begin(), o.end(), point);
    const auto last = std::upper_bound(o.begin(), o.end(), point);
    if (first != last) {
      // Dividing a spread of 0 by itself gives no position; take the old point nearest this point's own number.
      const int a = static_cast<int>(first - o.begin());
      const int b = static_cast<int>(last - o.begin()) - 1;
      position = static_cast<float>(std::clamp(n, a, b));
    } else if (last == o.end()) {
      position = 31.0f;  // beyond the old axis
    } else {
      const int j = static_cast<int>(last - o.begin()) - 1;  // o[j] < point < o[j + 1]
      const float low = o[static_cast<std::size_t>(j)];
      const float high = o[static_cast<std::size_t>(j + 1)];
      position = static_cast<float>(j) + (point - low) / (high - low);
    }
  }
  return positions;
}

float regridread(const maps& model, int map, float x, float y) {
  const float xl = std::clamp(x, 0.0f, 31.0f);
  const float yl = std::clamp(y, 0.0f, 31.0f);
  // The last cell pair is blended at 31.0 with weight 1 on point 31, so the last point reads as itself.
  const int i = std::min(static_cast<int>(xl), 30);
  const int j = std::min(static_cast<int>(yl), 30);
  const double a = model.getdata(map, i, j), b = model.getdata(map, i, j + 1);
  const double c = model.getdata(map, i + 1, j), d = model.getdata(map, i + 1, j + 1);
  const double fx = static_cast<double>(xl) - i, fy = static_cast<double>(yl) - j;
  const float r1 = static_cast<float>((1 - fx) * a + fx * c);
  const float r2 = static_cast<float>((1 - fx) * b + fx * d);
  return static_cast<float>((1 - fy) * r1 + fy * r2);
}

std::vector<int> respreadmaps(maps& model, maps& scratch, const MapGuards& guards, const SpreadChange& change) {
  const std::array<float, 32> rpmat = regridpositions(change.oldrpm, change.newrpm);
  const std::array<float, 32> loadat = regridpositions(change.oldload, change.newload);
  const std::array<bool, 24>& both = startuptables().regridboth;
  std::vector<int> kept;
  for (int map = 0; map < regridmaps; ++map) {
    if (mapguarded(guards, map)) {
      kept.push_back(map);
      continue;
    }
    const bool alongload = both[static_cast<std::size_t>(map)];
    for (int x = 0; x < 32; ++x) {
      for (int y = 0; y < 32; ++y) {
        const float p = alongload ? loadat[static_cast<std::size_t>(y)] : static_cast<float>(y);
        scratch.setdata(map, x, y, regridread(model, map, rpmat[static_cast<std::size_t>(x)], p), false);
      }
    }
    for (int x = 0; x < 32; ++x)
      for (int y = 0; y < 32; ++y) setcell(model, guards, map, x, y, scratch.getdata(map, x, y), true);
  }
  return kept;
}

void loadentryspreads(ProgramState& state, const maps& model) {
  state.entryloadspread = readspreads(model, SpreadAxis::load);
  state.entryrpmspread = readspreads(model, SpreadAxis::rpm);
}

bool checkexitspreads(EditorContext& context) {
  ProgramState& state = context.state;
  state.exitloadspread = readspreads(context.mainmaps, SpreadAxis::load);
  state.exitrpmspread = readspreads(context.mainmaps, SpreadAxis::rpm);
  if (state.exitloadspread == state.entryloadspread && state.exitrpmspread == state.entryrpmspread) return false;

  const bool wasonline = state.online;
  const QString& question = wasonline ? regridquestiononline : regridquestion;
  if (context.prompts.message(question, Prompts::Icon::None, Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
    return false;
  // The port is closed before the first cell changes, so no edit of the old grid reaches the ECU in between.
  if (wasonline || state.online) context.link.closeport();
  const std::vector<int> kept =
      respreadmaps(context.mainmaps, context.templatemaps, state.guards,
                   {state.entryloadspread, state.entryrpmspread, state.exitloadspread, state.exitrpmspread});
  // What stayed behind first, then what to do about the rest; with every map kept the ECU already holds the image.
  if (!kept.empty())
    context.prompts.message(regridguardedmessage.arg(shownmapnames(context.mainmaps, state.guards, kept)),
                            Prompts::Icon::Information, Prompts::Buttons::Ok);
  if (wasonline && static_cast<int>(kept.size()) < regridmaps)
    context.prompts.message(regriddownloadmessage, Prompts::Icon::Information, Prompts::Buttons::Ok);
  return true;
}

}  // namespace ostrel
