#include "editors/fragmentimport.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

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

FragmentImport::FragmentImport(EditorContext& context) : context_(context), tree_(maptree(context.mainmaps, context.state.guards, prefix)) {}

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
  const int map = context_.mainmaps.getmapindex(n.text.mid(prefix.size()));
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
      text += mapnamepart(context_.mainmaps.getmapname(map)) + QLatin1Char('\n');
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
  // A fragment whose password has not been entered guards its maps until that password is entered or the maps are
  // destroyed: copying over its record would lift the guard and leave the data readable.
  std::vector<int> kept;
  for (int i = 0; i < fragmentcount; ++i)
    if (!state.pwmatched[static_cast<std::size_t>(i)] && fragmentreadson(readfragment(target, i))) kept.push_back(i);
  const auto iskept = [&kept](int row) { return std::find(kept.begin(), kept.end(), row) != kept.end(); };
  for (int map = 0; map < mapcount; ++map) {
    const auto m = static_cast<std::size_t>(map);
    // A map chosen under another donor is copied only when this donor holds it.
    if (!selected_[m] || !state.importmask[m]) continue;
    for (int row = 0; row < target.getmaprows(map); ++row) {
      if (map == passwordsmap && iskept(row)) continue;
      for (int col = 0; col < target.getmapcols(map); ++col) {
        const int value = donorvalue(map, row, col);
        if (value >= 0) target.setdata(map, row, col, value, true);
      }
    }
    copied.push_back(map);
  }
  const auto imported = [&copied](int map) { return std::find(copied.begin(), copied.end(), map) != copied.end(); };
  if (imported(settingsmap)) {
    target.recalc();  // the spreads and the PWM axes came with the settings
    context_.host.buildnavtree();
  }
  if (imported(passwordsmap)) {
    if (!kept.empty()) {
      QStringList numbers;
      for (int i : kept) numbers << QString::number(i + 1);
      context_.prompts.message(keptpasswordsmessage.arg(numbers.join(QStringLiteral(", "))), Prompts::Icon::Information,
                               Prompts::Buttons::Ok);
    }
    loadpasswordfragments(target, state, true);
  }

  state.progresstotal = importprogresstotal;
  state.progressjob = 0;
  context_.host.runprogressjob(0);
  context_.host.openmapview();
  return copied;
}

}  // namespace ostrel
