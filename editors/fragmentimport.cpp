#include "editors/fragmentimport.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/maps25.h"
#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "editors/passwordfragments.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {

constexpr int settingsmap = 110;
constexpr int resampledmap = 17;  // kept on 24-point axes by the older files

struct DonorDialog {
  QString title, filter, pattern;
};

DonorDialog donordialog(DonorVersion version) {
  switch (version) {
    case DonorVersion::v21:
      return {QStringLiteral("Open V2.1 donor file"), QStringLiteral("s20 files (*.s20)"), QStringLiteral("*.s20")};
    case DonorVersion::v25:
      return {QStringLiteral("Open V2.5 donor file"), QStringLiteral("s20 files (*.s20)"), QStringLiteral("*.s20")};
    case DonorVersion::v26:
      break;
  }
  return {QStringLiteral("Open V2.6 donor file"), QStringLiteral("s26 files (*.s26)"), QStringLiteral("*.s26")};
}

}  // namespace

void setimportmask(ProgramState& state) {
  switch (state.donortype) {
    case donortypes::current:
      state.importmask.fill(true);
      break;
    case donortypes::old:
      state.importmask.fill(false);
      for (int map : olddonormaps) state.importmask[static_cast<std::size_t>(map)] = true;
      break;
    default:
      break;
  }
}

ImportGuards importguards(const maps& mainmaps, const maps& templatemaps, const ProgramState& state) {
  ImportGuards guards;
  guards.open = state.guards;
  for (int i = 0; i < fragmentcount; ++i) {
    const auto f = static_cast<std::size_t>(i);
    guards.kept[f] = !state.pwmatched[f] && fragmentreadson(readfragment(mainmaps, i));
  }
  if (state.donortype != donortypes::current) return guards;
  std::array<bool, fragmentcount> active{};
  for (int i = 0; i < fragmentcount; ++i) {
    const auto f = static_cast<std::size_t>(i);
    const FragmentRow record = readfragment(templatemaps, i);
    active[f] =
        state.pwincluded && fragmentreadson(record) && !passwordmatches(setpasswordof(record), state.pwentered[f]);
  }
  guards.donor = fragmentguards(templatemaps, active);
  return guards;
}

ImportCellMask importcellmask(const maps& mainmaps, const ImportGuards& guards, int map) {
  ImportCellMask mask{};
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c)
      mask[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
          !cellguarded(mainmaps, guards.open, map, r, c) && !cellguarded(mainmaps, guards.donor, map, r, c) &&
          !(map == passwordsmap && r < fragmentcount && guards.kept[static_cast<std::size_t>(r)]);
  return mask;
}

FragmentImport::FragmentImport(EditorContext& context)
    : context_(context), tree_(maptree(context.mainmaps, context.state.guards, prefix)) {}

bool FragmentImport::opendonor(DonorVersion version) {
  const DonorDialog dialog = donordialog(version);
  const QString path = context_.prompts.openfilename(dialog.title, dialog.filter, installfolder());
  // A dialog may hand back its own pattern instead of a file.
  const bool chosen = !path.isEmpty() &&
                      QFileInfo(path).absoluteFilePath() != QFileInfo(installpath(dialog.pattern)).absoluteFilePath();
  // The readers read and check the whole file before they keep any of it, so a failed read leaves the last donor.
  const bool read = chosen && (version == DonorVersion::v26 ? context_.templatemaps.openfile(path, true, false)
                                                            : context_.oldmaps.openfile(path));
  if (!read) {
    context_.prompts.message(donorerrormessage, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    return false;
  }
  ProgramState& state = context_.state;
  state.donortype = version == DonorVersion::v26 ? donortypes::current : donortypes::old;
  state.donorfile = path;
  setimportmask(state);
  for (int map = 0; map < mapcount; ++map)
    if (!state.importmask[static_cast<std::size_t>(map)]) selected_[static_cast<std::size_t>(map)] = false;
  donorready_ = true;
  return true;
}

bool FragmentImport::choose(int node) {
  // The roots stand for no map.
  if (node < 2 || node >= static_cast<int>(tree_.size())) return false;
  const MapTreeNode& n = tree_[static_cast<std::size_t>(node)];
  if (n.text.contains(QStringLiteral("***")) || n.haschildren) return false;
  // The node knows its map: a name shown without what a guard hides would not be found again by its text.
  const int map = n.map;
  if (map < 0 || map >= mapcount) return false;
  if (!context_.state.importmask[static_cast<std::size_t>(map)]) {
    context_.prompts.message(notindonormessage, Prompts::Icon::Information, Prompts::Buttons::Ok);
    return false;
  }
  selected_[static_cast<std::size_t>(map)] = !selected_[static_cast<std::size_t>(map)];
  return true;
}

void FragmentImport::selectall() {
  const std::array<bool, 116>& mask = context_.state.importmask;
  for (int map = 0; map < mapcount; ++map)
    if (mask[static_cast<std::size_t>(map)]) selected_[static_cast<std::size_t>(map)] = true;
  if (std::find(mask.begin(), mask.end(), false) != mask.end())
    context_.prompts.message(notallindonormessage, Prompts::Icon::Information, Prompts::Buttons::Ok);
}

void FragmentImport::selectnone() {
  selected_.fill(false);
}

QString FragmentImport::donorlist() const {
  QString text = fragmentsheader + QLatin1Char('\n');
  for (int map = 0; map < mapcount; ++map)
    if (selected_[static_cast<std::size_t>(map)])
      text += mapnamepart(shownmapname(context_.mainmaps, context_.state.guards, map)) + QLatin1Char('\n');
  return text;
}

int FragmentImport::donorvalue(int map, int row, int col) const {
  if (context_.state.donortype == donortypes::current) return context_.templatemaps.getdata(map, row, col);
  if (map == resampledmap) return context_.oldmaps.getdata24to32(map, row, col);
  return context_.oldmaps.getdata(map, row, col).value_or(-1);
}

std::vector<int> FragmentImport::import() {
  std::vector<int> copied;
  if (!donorready_) return copied;
  ProgramState& state = context_.state;
  maps& target = context_.mainmaps;
  // Guarded data stays where it is: a guarded row of the open calibration keeps its values, a row the donor guards
  // does not leave it, and a fragment whose password has not been entered keeps its record, so its guard is not
  // lifted and its maps do not become readable.
  const ImportGuards guards = importguards(target, context_.templatemaps, state);
  std::vector<int> leftout;
  for (int map = 0; map < mapcount; ++map) {
    const auto m = static_cast<std::size_t>(map);
    // A map chosen under another donor is copied only when this donor holds it.
    if (!selected_[m] || !state.importmask[m]) continue;
    const ImportCellMask mask = importcellmask(target, guards, map);
    for (int row = 0; row < target.getmaprows(map); ++row)
      for (int col = 0; col < target.getmapcols(map); ++col) {
        if (!mask[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]) continue;
        const int value = donorvalue(map, row, col);
        if (value >= 0) setcell(target, state.guards, map, row, col, value, true);
      }
    copied.push_back(map);
    if (guards.leavesout(map)) leftout.push_back(map);
  }
  const auto imported = [&copied](int map) { return std::find(copied.begin(), copied.end(), map) != copied.end(); };
  if (imported(settingsmap)) target.recalc();  // the spreads and the PWM axes came with the settings
  if (imported(passwordsmap)) {
    QStringList numbers;
    for (int i = 0; i < fragmentcount; ++i)
      if (guards.kept[static_cast<std::size_t>(i)]) numbers << QString::number(i + 1);
    if (!numbers.isEmpty())
      context_.prompts.message(keptpasswordsmessage.arg(numbers.join(QStringLiteral(", "))), Prompts::Icon::Information,
                               Prompts::Buttons::Ok);
    loadpasswordfragments(target, state, true);
  }
  // The tree names the maps as the settings and the guards now in force let them be shown.
  if (imported(settingsmap) || imported(passwordsmap)) context_.host.buildnavtree();
  if (!leftout.empty()) {
    // Named as the guards now in force let them be shown.
    context_.prompts.message(guardedrowsmessage.arg(shownmapnames(target, state.guards, leftout)),
                             Prompts::Icon::Information, Prompts::Buttons::Ok);
  }

  state.progresstotal = importprogresstotal;
  state.progressjob = 0;
  context_.host.runprogressjob(0);
  context_.host.openmapview();
  return copied;
}

}  // namespace ostrel
