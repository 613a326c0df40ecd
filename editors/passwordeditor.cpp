#include "editors/passwordeditor.h"

#include "calibration/maps.h"
#include "editors/editorcontext.h"
#include "calibration/maptree.h"
#include "editors/passwordfragments.h"
#include "link/eculink.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {

std::size_t at(int i) {
  return static_cast<std::size_t>(i);
}

bool validfragment(int fragment) {
  return fragment >= 0 && fragment < fragmentcount;
}

GridCell matchcell(bool match) {
  return match ? GridCell{QStringLiteral("Match"), passwordgrid::matchcolour}
               : GridCell{QStringLiteral("No match"), passwordgrid::nomatchcolour};
}

// The rows of one map that a fragment protects, as the protection table holds them.
struct ProtectedRows {
  int map, first, last;
};

}  // namespace

const QString PasswordEditor::turnontext = QStringLiteral(
    "It is not possible to turn the password fragment on until the entered password matches the set password");
const QString PasswordEditor::turnofftext = QStringLiteral(
    "It is not possible to turn the password fragment off until the entered password matches the set password");
const QString PasswordEditor::noresettext =
    QStringLiteral("There is no need to reset this password fragment, the entered password is correct");
const QString PasswordEditor::resetquestion = QStringLiteral(
    "Resetting this password fragment will cause the applicable map group/settings or maps to be destroyed (and "
    "destroyed in the ECU if connected). Proceed?");
const QString PasswordEditor::alterpasswordtext =
    QStringLiteral("To alter a set password, you need to first enter the existing password");
const QString PasswordEditor::validatedtext = QStringLiteral("The set password is already validated");
const QString PasswordEditor::parameterstext =
    QStringLiteral("The entered password must match the set password before this parameter can be altered");
const QString PasswordEditor::reuploadtext =
    QStringLiteral("The upload security status has changed. You should re-upload from the ECU now");
const std::array<QString, passwordgrid::columns> PasswordEditor::celltexts{
    QStringLiteral("The password fragment is a user defined field that prevents read and write to a user defined "
                   "group of maps or settings (or a single map), and the applicable rows of the map. A LOST PASSWORD "
                   "WILL RENDER THE MAP NON-READABLE! The password can be reset to enable a map write only!"),
    QString(),
    QString(),
    QString(),
    QString(),
    QString(),
    QStringLiteral("A file status match allows the applicable map/s or settings to be viewed. To remedy a non-match, "
                   "enter the correct 'Entered password'"),
    QStringLiteral("An ECU status match allows the applicable map/s or settings to be opened or saved (READ/WRITE) to "
                   "the ECU. To remedy a non-match, enter the correct 'Entered password'"),
    QStringLiteral("An fragment ON status means that the fragment held in the ECU has been set to ON and is active"),
};

PasswordGridRow passwordgridrow(const maps& mainmaps, const ProgramState& state, int fragment) {
  using namespace passwordgrid;
  PasswordGridRow row;
  if (!validfragment(fragment)) return row;
  const int r = fragment + 1;
  const bool even = r % 2 == 0;
  for (int c = 1; c <= 5; ++c) row.cells[at(c)].back = even ? evenrowcolour : plaincolour;
  row.cells[0] = {QStringLiteral("Password: ") + QString::number(r), even ? evenleadcolour : oddleadcolour};

  const bool matched = state.pwmatched[at(fragment)];
  row.cells[1].text = matched ? state.pwset[at(fragment)] : QStringLiteral("********");
  row.cells[2].text = state.pwentered[at(fragment)];
  const FragmentRow bytes = readfragment(mainmaps, fragment);
  const int g = bytes[fragmentbyte::group];
  const int m = bytes[fragmentbyte::map];
  row.cells[3].text = g == allmapsingroup ? QStringLiteral("All") : mapgrouppart(mainmaps.getmapname(g));
  row.cells[4].text = m == allmapsingroup ? QStringLiteral("All") : mapnamepart(mainmaps.getmapname(m));
  row.cells[5].text = QString::number(bytes[fragmentbyte::firstrow] + 1) + QStringLiteral("->") +
                      QString::number(bytes[fragmentbyte::lastrow] + 1);
  row.cells[6] = matchcell(matched);
  const bool on = state.fragmenton[at(fragment)];
  row.cells[8] = on ? GridCell{QStringLiteral("Fragment ON"), matchcolour}
                    : GridCell{QStringLiteral("Fragment OFF"), nomatchcolour};
  row.onenabled = !on;
  row.offenabled = on;
  row.resetenabled = !matched;
  return row;
}

GridCell ecustatuscell(std::optional<std::uint8_t> matchmask, int fragment) {
  if (!matchmask) return {QStringLiteral("Unknown"), passwordgrid::unknowncolour};
  return matchcell((*matchmask >> fragment & 1) != 0);
}

PasswordEditor::PasswordEditor(EditorContext& context)
    : context_(context), masksnapshot_(context.link.live().pwmatchmask) {}

void PasswordEditor::inform(const QString& text) {
  context_.prompts.message(text, Prompts::Icon::Information, Prompts::Buttons::Ok);
}

std::optional<QString> PasswordEditor::askpassword(const QString& prompt, const QString& title) {
  const std::optional<QString> text = context_.prompts.input(prompt, title, QString());
  if (!text || text->isEmpty()) return std::nullopt;
  return padpassword(*text);
}

void PasswordEditor::refresh() {
  refreshmatches(context_.mainmaps, context_.state);
}

PasswordGridRow PasswordEditor::gridrow(int fragment) const {
  return passwordgridrow(context_.mainmaps, context_.state, fragment);
}

PasswordEditor::After PasswordEditor::turnon(int fragment) {
  if (!validfragment(fragment)) return After::nothing;
  const ProgramState& state = context_.state;
  if (state.fragmenton[at(fragment)] && !state.pwmatched[at(fragment)]) {
    inform(turnontext);
    return After::nothing;
  }
  writefragmentchecks(context_, fragment, seedon);
  refresh();
  return After::refresh;
}

PasswordEditor::After PasswordEditor::turnoff(int fragment) {
  if (!validfragment(fragment)) return After::nothing;
  if (!context_.state.pwmatched[at(fragment)]) {
    inform(turnofftext);
    return After::nothing;
  }
  writefragmentchecks(context_, fragment, seedoff);
  refresh();
  return After::refresh;
}

PasswordEditor::After PasswordEditor::reset(int fragment) {
  if (!validfragment(fragment)) return After::nothing;
  ProgramState& state = context_.state;
  if (state.pwmatched[at(fragment)]) {
    inform(noresettext);
    return After::nothing;
  }
  if (!state.fragmenton[at(fragment)]) {
    resetfragment(fragment);
    refresh();
    return After::refresh;
  }
  if (context_.prompts.message(resetquestion, Prompts::Icon::Exclamation, Prompts::Buttons::OkCancel) !=
      Prompts::Answer::Ok)
    return After::nothing;

  // What the fragment protects, taken before the reset: the table still names it until the timer rebuilds it.
  std::vector<ProtectedRows> destroyed;
  for (int map = 0; map < mapcount; ++map)
    if (state.protfragment[at(map)] == fragment)
      destroyed.push_back({map, state.protfirstrow[at(map)], state.protlastrow[at(map)]});
  resetfragment(fragment);
  context_.mainmaps.destroymapdata(fragment, state);
  // The message promises the rows go in the ECU too: each map's own rows, by its own number.
  if (state.online) {
    const maps& m = context_.mainmaps;
    for (const ProtectedRows& p : destroyed) {
      if (p.first < 0 || p.last < p.first) continue;
      const auto map = static_cast<std::uint8_t>(p.map);
      const auto first = static_cast<std::uint8_t>(p.first);
      const auto last = static_cast<std::uint8_t>(p.last);
      // On a 3-D table the protected rows run across the second index.
      if (m.getcontextandtype(p.map) == 0)
        context_.link.queuemapwrite(map, 0, static_cast<std::uint8_t>(m.getmaprows(p.map) - 1), first, last);
      else
        context_.link.queuemapwrite(map, first, last, 0, static_cast<std::uint8_t>(m.getmapcols(p.map) - 1));
    }
  }
  refresh();
  return After::refresh;
}

void PasswordEditor::resetfragment(int fragment) {
  ProgramState& state = context_.state;
  state.pwset[at(fragment)] = resetpassword;
  state.pwentered[at(fragment)] = resetpassword;
  const PasswordBytes bytes = passwordbytes(resetpassword);
  for (int k = 0; k < 8; ++k) context_.mainmaps.setdata(passwordsmap, fragment, k, bytes[at(k)], true);
  writefragmentchecks(context_, fragment, seedoff);  // queues the whole row, password and all
}

PasswordEditor::After PasswordEditor::cellclicked(int row, int column) {
  if (row < 1 || row > fragmentcount || column < 0 || column >= passwordgrid::columns) return After::nothing;
  const int fragment = row - 1;
  ProgramState& state = context_.state;
  const bool matched = state.pwmatched[at(fragment)];
  switch (column) {
    case 1: {
      if (!matched) {
        inform(alterpasswordtext);
        return After::nothing;
      }
      const std::optional<QString> password =
          askpassword(QStringLiteral("Enter new password:"), QStringLiteral("Enter new password"));
      if (!password) return After::nothing;
      state.pwset[at(fragment)] = *password;
      writesetpassword(context_, fragment, *password);
      refresh();
      return After::refresh;
    }
    case 2: {
      if (matched) {
        inform(validatedtext);
        return After::nothing;
      }
      entrymade_ = true;
      const std::optional<QString> password =
          askpassword(QStringLiteral("Enter set password:"), QStringLiteral("Enter set password"));
      if (!password) return After::nothing;
      state.pwentered[at(fragment)] = *password;
      refresh();
      return After::refresh;
    }
    case 3:
    case 4:
    case 5:
      if (matched) return After::editparameters;
      inform(parameterstext);
      return After::nothing;
    default:
      inform(celltexts[at(column)]);
      return After::nothing;
  }
}

void PasswordEditor::timertick() {
  ProgramState& state = context_.state;
  computeenteredchecks(state);
  applymapprotection(context_.mainmaps, state);
  if (!entrymade_) masksnapshot_ = context_.link.live().pwmatchmask;
  const PasswordSendTable table = buildsendtable(state);
  for (int r = 0; r < 8; ++r) context_.link.setpwsendrow(r, table[at(r)]);
}

void PasswordEditor::exit(bool holdsselector) {
  ProgramState& state = context_.state;
  if (holdsselector) state.livemode = 0;
  if (state.online && entrymade_ && context_.link.live().pwmatchmask != masksnapshot_) inform(reuploadtext);
}

}  // namespace ostrel
