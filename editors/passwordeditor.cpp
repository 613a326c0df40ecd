#include "editors/passwordeditor.h"

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "editors/editorcontext.h"
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

// The rows the protection table guards, map by map.
using GuardedRows = std::array<MapGuards::Rows, mapcount>;

GuardedRows guardedrows(const ProgramState& state) {
  GuardedRows rows{};
  for (int map = 0; map < mapcount; ++map) rows[at(map)] = state.guards.rows(map);
  return rows;
}

// Destroys the rows in `destroy` and every row of `before` that the fragments no longer guard, in the PC and, while
// connected, in the ECU.
void destroyunguarded(EditorContext& context, const GuardedRows& before, GuardedRows destroy) {
  // A row loses its guard only through its password or by being destroyed. Destroying records in the passwords map
  // turns their fragments OFF, which lifts their guards in turn, so this repeats until no further row is lifted; it
  // ends, since every round destroys rows of `before` that no earlier round did.
  ProgramState& state = context.state;
  maps& m = context.mainmaps;
  GuardedRows destroyed{};
  for (;;) {
    validatefragments(m, state);
    applymapprotection(m, state);
    const GuardedRows after = guardedrows(state);
    bool any = false;
    for (int map = 0; map < mapcount; ++map) {
      MapGuards::Rows& rows = destroy[at(map)];
      rows = (rows | (before[at(map)] & ~after[at(map)])) & ~destroyed[at(map)];
      destroyed[at(map)] |= rows;
      // A run of neighbouring rows at a time, queued as one batch.
      MapGuards::forruns(rows, [&](int first, int last) {
        const maps::CellRange cells = m.destroyrows(map, first, last);
        // The question promises the rows go in the ECU too: each map's own cells, by its own number.
        if (state.online && !cells.empty())
          context.link.queuemapwrite(static_cast<std::uint8_t>(map), static_cast<std::uint8_t>(cells.firstrow),
                                     static_cast<std::uint8_t>(cells.lastrow),
                                     static_cast<std::uint8_t>(cells.firstcol),
                                     static_cast<std::uint8_t>(cells.lastcol));
        any = true;
      });
      rows = 0;
    }
    if (!any) return;
  }
}

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
  // A guarded record shows none of its bytes: neither its set password nor what it protects.
  const bool guarded = recordguarded(state.guards, fragment);
  row.cells[1].text = matched && !guarded ? state.pwset[at(fragment)] : QStringLiteral("********");
  // A match by the reset value copied the record's own password into the entered one: not typed, so not shown.
  const bool resetmatch = matched && state.pwset[at(fragment)] == resetpassword;
  row.cells[2].text = guarded && resetmatch ? QStringLiteral("********") : state.pwentered[at(fragment)];
  if (!guarded) {
    const FragmentRow bytes = readfragment(mainmaps, fragment);
    const int g = bytes[fragmentbyte::group];
    const int m = bytes[fragmentbyte::map];
    const MapGuards& guards = state.guards;
    row.cells[3].text = g == allmapsingroup ? QStringLiteral("All") : mapgrouppart(shownmapname(mainmaps, guards, g));
    row.cells[4].text = m == allmapsingroup ? QStringLiteral("All") : mapnamepart(shownmapname(mainmaps, guards, m));
    row.cells[5].text = QString::number(bytes[fragmentbyte::firstrow] + 1) + QStringLiteral("->") +
                        QString::number(bytes[fragmentbyte::lastrow] + 1);
  }
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
  if (!validfragment(fragment) || refusedguarded(fragment)) return After::nothing;
  const ProgramState& state = context_.state;
  if (state.fragmenton[at(fragment)] && !state.pwmatched[at(fragment)]) {
    inform(turnontext);
    return After::nothing;
  }
  if (!writefragmentchecks(context_, fragment, seedon)) return refuse();
  settle();
  return After::refresh;
}

PasswordEditor::After PasswordEditor::turnoff(int fragment) {
  if (!validfragment(fragment) || refusedguarded(fragment)) return After::nothing;
  if (!context_.state.pwmatched[at(fragment)]) {
    inform(turnofftext);
    return After::nothing;
  }
  if (!writefragmentchecks(context_, fragment, seedoff)) return refuse();
  settle();
  return After::refresh;
}

PasswordEditor::After PasswordEditor::reset(int fragment) {
  // A record that another fragment guards goes only with that fragment's own RESET; one guarded by this fragment
  // alone is what this RESET is for.
  if (!validfragment(fragment) || refusedguarded(fragment)) return After::nothing;
  ProgramState& state = context_.state;
  if (state.pwmatched[at(fragment)]) {
    inform(noresettext);
    return After::nothing;
  }
  if (!state.fragmenton[at(fragment)]) {
    resetfragment(fragment);
    settle();
    return After::refresh;
  }
  if (context_.prompts.message(resetquestion, Prompts::Icon::Exclamation, Prompts::Buttons::OkCancel) !=
      Prompts::Answer::Ok)
    return After::nothing;

  // The guards as they stand, from the fragments as they are now rather than from the last tick of the timer.
  validatefragments(context_.mainmaps, state);
  applymapprotection(context_.mainmaps, state);
  const GuardedRows before = guardedrows(state);
  // Every row the fragment's record covers goes, also where another fragment guards it too.
  GuardedRows own{};
  for (int map = 0; map < mapcount; ++map) own[at(map)] = state.guards.rowsof(map, fragment);
  resetfragment(fragment);
  destroyunguarded(context_, before, own);
  settle();
  return After::refresh;
}

void PasswordEditor::resetfragment(int fragment) {
  ProgramState& state = context_.state;
  state.pwset[at(fragment)] = resetpassword;
  state.pwentered[at(fragment)] = resetpassword;
  writeresetrecord(context_, fragment);  // queues the whole row, password and all
}

bool PasswordEditor::refusedguarded(int fragment) {
  // The guards as the fragments make them now: one turned on a moment ago guards before the timer's next tick.
  ProgramState& state = context_.state;
  validatefragments(context_.mainmaps, state);
  applymapprotection(context_.mainmaps, state);
  if (!recordguardedbyother(state.guards, fragment)) return false;
  refuse();
  return true;
}

PasswordEditor::After PasswordEditor::refuse() {
  refuseguarded(context_.prompts);
  return After::nothing;
}

void PasswordEditor::settle() {
  refresh();
  // A fragment just turned on guards from now on, for the grid too.
  applymapprotection(context_.mainmaps, context_.state);
}

PasswordEditor::After PasswordEditor::cellclicked(int row, int column) {
  if (row < 1 || row > fragmentcount || column < 0 || column >= passwordgrid::columns) return After::nothing;
  const int fragment = row - 1;
  ProgramState& state = context_.state;
  const bool matched = state.pwmatched[at(fragment)];
  switch (column) {
    case 1: {
      if (refusedguarded(fragment)) return After::nothing;
      if (!matched) {
        inform(alterpasswordtext);
        return After::nothing;
      }
      const std::optional<QString> password =
          askpassword(QStringLiteral("Enter new password:"), QStringLiteral("Enter new password"));
      if (!password) return After::nothing;
      if (!writesetpassword(context_, fragment, *password)) return refuse();
      state.pwset[at(fragment)] = *password;
      settle();
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
      if (refusedguarded(fragment)) return After::nothing;
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
