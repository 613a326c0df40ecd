#include "editors/passwordfragments.h"

#include <algorithm>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "editors/editorcontext.h"
#include "editors/latin1text.h"
#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

constexpr int passwordlength = 8;
constexpr int checkedlength = 11;
constexpr int firstgroupless = 104;  // maps from here on are not in groups of eight

bool validfragment(int fragment) {
  return fragment >= 0 && fragment < fragmentcount;
}

std::size_t at(int i) {
  return static_cast<std::size_t>(i);
}

PasswordBytes passwordpart(const FragmentRow& row) {
  PasswordBytes bytes{};
  std::copy_n(row.begin(), passwordlength, bytes.begin());
  return bytes;
}

// Guards rows a to b of the map, both limited to its last row, for the fragment.
void protect(const maps& model, MapGuards& guards, int map, int a, int b, int fragment) {
  const int lastrow = model.getmaprows(map) - 1;
  if (lastrow < 0) return;
  guards.guard(map, fragment, std::min(a, lastrow), std::min(b, lastrow));
}

}  // namespace

PasswordChecks passwordchecks(const PasswordBytes& password, std::uint8_t seed) {
  std::uint8_t s1 = seed, s2 = seed;
  for (int k = 0; k < passwordlength; ++k) {
    const std::uint8_t c = password[at(k)];
    s1 = static_cast<std::uint8_t>(s1 + c);
    s2 = static_cast<std::uint8_t>(s2 + static_cast<std::uint8_t>(c * k));
  }
  return {s1, s2, static_cast<std::uint8_t>(s1 * s2)};
}

std::uint8_t fragmenttotal(const FragmentRow& row, std::uint8_t seed) {
  std::uint8_t t = seed;
  for (int k = 0; k < fragmentbyte::total; ++k) t = static_cast<std::uint8_t>(t + row[at(k)]);
  return t;
}

FragmentRow withchecks(FragmentRow row, std::uint8_t seed) {
  const PasswordChecks checks = passwordchecks(passwordpart(row), seed);
  row[fragmentbyte::s1] = checks.s1;
  row[fragmentbyte::s2] = checks.s2;
  row[fragmentbyte::p] = checks.p;
  row[fragmentbyte::total] = fragmenttotal(row, seed);
  return row;
}

bool fragmentreadson(const FragmentRow& row) {
  // An all-zero row passes the seed-0 checks, yet its password of eight NULs cannot be typed: read ON it would lock
  // row 0 of map 0 for good. A cleared passwords map, or one whose rows a RESET destroyed, protects nothing.
  if (std::all_of(row.begin(), row.end(), [](std::uint8_t b) { return b == 0; })) return false;
  return withchecks(row, seedon) == row;
}

QString padpassword(const QString& input) {
  QString text = tolatin1(input);
  if (text.size() < passwordlength) text += QString(passwordlength, QLatin1Char(' '));
  return text.left(passwordlength);
}

PasswordBytes passwordbytes(const QString& password) {
  const std::vector<std::uint8_t> codes = latin1codes(padpassword(password));
  PasswordBytes bytes{};
  std::copy_n(codes.begin(), passwordlength, bytes.begin());
  return bytes;
}

bool passwordmatches(const QString& set, const QString& entered) {
  return set == resetpassword || entered == set;
}

FragmentRow readfragment(const maps& mainmaps, int fragment) {
  FragmentRow row{};
  for (int k = 0; k < 16; ++k) row[at(k)] = static_cast<std::uint8_t>(mainmaps.getdata(passwordsmap, fragment, k));
  return row;
}

QString setpasswordof(const FragmentRow& row) {
  return fromlatin1({row.begin(), row.begin() + passwordlength});
}

void loadpasswordfragments(const maps& mainmaps, ProgramState& state, bool reset) {
  for (int i = 0; i < fragmentcount; ++i) {
    if (reset) {
      state.pwentered[at(i)] = placeholderpassword;
      state.pwmatched[at(i)] = false;
    }
    state.pwset[at(i)] = setpasswordof(readfragment(mainmaps, i));
  }
  // An entered password survives an image read, but a match stands only against the set password now in the image:
  // one made against another record (a reset one, say) would otherwise open rows whose password was never entered.
  if (reset)
    validatefragments(mainmaps, state);
  else
    refreshmatches(mainmaps, state);
  applymapprotection(mainmaps, state);
}

void validatefragments(const maps& mainmaps, ProgramState& state) {
  for (int i = 0; i < fragmentcount; ++i) state.fragmenton[at(i)] = fragmentreadson(readfragment(mainmaps, i));
}

MapGuards fragmentguards(const maps& model, const std::array<bool, fragmentcount>& active) {
  MapGuards guards;
  for (int i = 0; i < fragmentcount; ++i) {
    if (!active[at(i)]) continue;
    const FragmentRow row = readfragment(model, i);
    const int g = row[fragmentbyte::group];
    const int m = row[fragmentbyte::map];
    const int a = row[fragmentbyte::firstrow];
    const int b = row[fragmentbyte::lastrow];
    if (m != allmapsingroup) {
      // A map byte past the last map names nothing to protect.
      if (m < mapcount) protect(model, guards, m, a, b, i);
    } else if (g < firstgroupless) {
      const int first = g & ~7;
      for (int k = first; k <= first + 7; ++k) protect(model, guards, k, a, b, i);
    } else if (g < mapcount) {
      protect(model, guards, g, a, b, i);
    }
  }
  return guards;
}

void applymapprotection(const maps& mainmaps, ProgramState& state) {
  std::array<bool, fragmentcount> active{};
  for (int i = 0; i < fragmentcount; ++i)
    active[at(i)] = state.pwincluded && state.fragmenton[at(i)] && !state.pwmatched[at(i)];
  state.guards = fragmentguards(mainmaps, active);
}

void refreshmatches(const maps& mainmaps, ProgramState& state) {
  validatefragments(mainmaps, state);
  for (int i = 0; i < fragmentcount; ++i) {
    const bool matched = passwordmatches(state.pwset[at(i)], state.pwentered[at(i)]);
    state.pwmatched[at(i)] = matched;
    if (matched) state.pwentered[at(i)] = state.pwset[at(i)];
  }
}

void computeenteredchecks(ProgramState& state) {
  for (int i = 0; i < fragmentcount; ++i) {
    const PasswordBytes entered = passwordbytes(state.pwentered[at(i)]);
    const PasswordChecks checks = passwordchecks(entered, seedon);
    auto& checked = state.pwentrychecked[at(i)];
    std::copy(entered.begin(), entered.end(), checked.begin());
    checked[8] = checks.s1;
    checked[9] = checks.s2;
    checked[10] = checks.p;
  }
}

PasswordSendTable buildsendtable(const ProgramState& state) {
  std::array<std::uint8_t, 128> stream{};
  for (int i = 0; i < fragmentcount; ++i)
    std::copy_n(state.pwentrychecked[at(i)].begin(), checkedlength, stream.begin() + checkedlength * i);
  PasswordSendTable table{};
  for (int r = 0; r < 8; ++r) std::copy_n(stream.begin() + 16 * r, 16, table[at(r)].begin());
  return table;
}

bool recordguardedbyother(const MapGuards& guards, int fragment) {
  if (!validfragment(fragment)) return false;
  for (int i = 0; i < fragmentcount; ++i)
    if (i != fragment && (guards.rowsof(passwordsmap, i) & MapGuards::span(fragment, fragment)) != 0) return true;
  return false;
}

namespace {

// Bytes of a record through the one guarded store; the caller has made sure the record is open.
void storebytes(EditorContext& context, int fragment, int firstbyte, const std::vector<std::uint8_t>& values) {
  for (std::size_t k = 0; k < values.size(); ++k)
    setcell(context.mainmaps, context.state.guards, passwordsmap, fragment, firstbyte + static_cast<int>(k), values[k],
            true);
}

void queuerecord(EditorContext& context, int fragment, int firstbyte, int lastbyte) {
  if (!context.state.online) return;
  const auto r = static_cast<std::uint8_t>(fragment);
  context.link.queuemapwrite(passwordsmap, r, r, static_cast<std::uint8_t>(firstbyte),
                             static_cast<std::uint8_t>(lastbyte));
}

}  // namespace

bool writefragmentchecks(EditorContext& context, int fragment, std::uint8_t seed) {
  if (!validfragment(fragment) || recordguarded(context.state.guards, fragment)) return false;
  const FragmentRow row = withchecks(readfragment(context.mainmaps, fragment), seed);
  for (const int k : {fragmentbyte::s1, fragmentbyte::s2, fragmentbyte::p, fragmentbyte::total})
    setcell(context.mainmaps, context.state.guards, passwordsmap, fragment, k, row[at(k)], true);
  queuerecord(context, fragment, 0, 15);
  context.state.fragmenton[at(fragment)] = true;
  return true;
}

bool writefragmentbytes(EditorContext& context, int fragment, int firstbyte, const std::vector<std::uint8_t>& values) {
  if (!validfragment(fragment) || values.empty() || firstbyte < 0 || firstbyte + static_cast<int>(values.size()) > 16)
    return false;
  if (recordguarded(context.state.guards, fragment)) return false;
  storebytes(context, fragment, firstbyte, values);
  queuerecord(context, fragment, firstbyte, firstbyte + static_cast<int>(values.size()) - 1);
  return true;
}

bool writesetpassword(EditorContext& context, int fragment, const QString& password) {
  const PasswordBytes bytes = passwordbytes(password);
  return writefragmentbytes(context, fragment, 0, {bytes.begin(), bytes.end()});
}

void writeresetrecord(EditorContext& context, int fragment) {
  if (!validfragment(fragment)) return;
  FragmentRow row = readfragment(context.mainmaps, fragment);
  const PasswordBytes password = passwordbytes(resetpassword);
  std::copy(password.begin(), password.end(), row.begin());
  row = withchecks(row, seedoff);
  for (int k = 0; k < 16; ++k)
    if (k < fragmentbyte::group || k == fragmentbyte::total)
      context.mainmaps.setdata(passwordsmap, fragment, k, row[at(k)], true);
  queuerecord(context, fragment, 0, 15);
}

}  // namespace ostrel
