#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/mapguards.h"

namespace ostrel {

class maps;
struct EditorContext;
struct ProgramState;

// The eight password fragments of the passwords map: row i of map 105 is fragment i.
//
// | bytes | content                                                                   |
// |-------|---------------------------------------------------------------------------|
// | 0-7   | set password, 8 Latin-1 characters padded with spaces                       |
// | 8-10  | checks s1, s2 and p of the password with the row's seed                     |
// | 11    | group: first map of the protected group, or a map 104 to 115               |
// | 12    | the protected map, or 255 for every map of the group                        |
// | 13-14 | first and last protected row                                                |
// | 15    | total of bytes 0-14 and the seed                                            |
//
// The seed is 0 for a fragment that is ON and 33 for one that is OFF; only a row whose four check bytes agree with
// seed 0 reads ON, so an edited or damaged row reads OFF, and so does a row of zeros, whose password no one can
// type. Sums and products are of bytes, mod 256 at every step.
inline constexpr int passwordsmap = 105;
inline constexpr int fragmentcount = 8;
inline constexpr std::uint8_t seedon = 0;
inline constexpr std::uint8_t seedoff = 33;
inline constexpr std::uint8_t allmapsingroup = 255;

namespace fragmentbyte {
inline constexpr int s1 = 8;
inline constexpr int s2 = 9;
inline constexpr int p = 10;
inline constexpr int group = 11;
inline constexpr int map = 12;
inline constexpr int firstrow = 13;
inline constexpr int lastrow = 14;
inline constexpr int total = 15;
}  // namespace fragmentbyte

// The set password of a fragment after a RESET; a fragment holding it counts as matched.
inline const QString resetpassword = QStringLiteral("qzq     ");
// The entered password until the user enters one.
inline const QString placeholderpassword = QStringLiteral("KeyInPwd");

using FragmentRow = std::array<std::uint8_t, 16>;
using PasswordBytes = std::array<std::uint8_t, 8>;

// --- Arithmetic --------------------------------------------------------------------------------------------------

struct PasswordChecks {
  std::uint8_t s1 = 0, s2 = 0, p = 0;
  bool operator==(const PasswordChecks&) const = default;
};
// s1 = seed + sum of the codes, s2 = seed + sum of k times code k, p = s1 s2.
PasswordChecks passwordchecks(const PasswordBytes& password, std::uint8_t seed);
// seed + the sum of bytes 0 to 14.
std::uint8_t fragmenttotal(const FragmentRow& row, std::uint8_t seed);
// The row with its check bytes written for the seed (8 to 10 first, then the total over them).
FragmentRow withchecks(FragmentRow row, std::uint8_t seed);
bool fragmentreadson(const FragmentRow& row);

// A password as it is kept: Latin-1, padded with spaces to 8 characters and cut to its first 8.
QString padpassword(const QString& input);
PasswordBytes passwordbytes(const QString& password);
// The file status match: the entered password equals the set one character for character, or the set one is the
// reset value.
bool passwordmatches(const QString& set, const QString& entered);

// --- The fragments in the calibration ----------------------------------------------------------------------------

FragmentRow readfragment(const maps& mainmaps, int fragment);
QString setpasswordof(const FragmentRow& row);

// After a calibration has been opened (reset: entered passwords back to the placeholder and no match) or an image
// has been read from the ECU (no reset: an entered password survives, and each match is decided afresh against the
// set password now in the image): the set passwords are read, the fragments validated and the map protection table
// rebuilt.
void loadpasswordfragments(const maps& mainmaps, ProgramState& state, bool reset);
// fragmenton of every fragment from its row.
void validatefragments(const maps& mainmaps, ProgramState& state);
// The protection table that a calibration's fragments make: the rows named by the record of every fragment `active`
// flags (one that reads ON and is not matched); where several cover one map their guards add up. A fragment naming
// no map protects nothing.
MapGuards fragmentguards(const maps& model, const std::array<bool, fragmentcount>& active);
// Rebuilds the map protection table from the fragments that are ON and not matched.
void applymapprotection(const maps& mainmaps, ProgramState& state);
// What a refresh of the password grid decides: the fragments are validated and each file status match taken afresh
// (a matched fragment's entered password becomes its set one).
void refreshmatches(const maps& mainmaps, ProgramState& state);

// pwentrychecked of every fragment: the entered password and its checks with seed 0.
void computeenteredchecks(ProgramState& state);
// The entered passwords as they go to ECU RAM 0x6800: the 11 bytes of fragment i at offset 11 i of a 128-byte
// stream (bytes 88 to 127 zero), row r holding stream bytes 16 r to 16 r + 15.
using PasswordSendTable = std::array<std::array<std::uint8_t, 16>, 8>;
PasswordSendTable buildsendtable(const ProgramState& state);

// --- Guards over the records themselves ---------------------------------------------------------------------------

// A fragment may guard rows of the passwords map, that is other fragments' records (or its own).
// True while a password guards the fragment's record.
inline bool recordguarded(const MapGuards& guards, int fragment) {
  return guards.guarded(passwordsmap, fragment);
}
// True while a fragment other than this one guards its record: only the RESET of a fragment that guards it may then
// change it, by destroying it.
bool recordguardedbyother(const MapGuards& guards, int fragment);

// --- Changes, written at once (and queued for the ECU while connected) -------------------------------------------
// A guarded record is never written by these: they write and queue nothing and return false.

// Writes the fragment's check bytes with the seed. fragmenton is left True: callers validate afterwards.
bool writefragmentchecks(EditorContext& context, int fragment, std::uint8_t seed);
// Writes bytes firstbyte onward of the fragment's row with changed marks and, while connected, queues them (the
// row's one image row). The check bytes stay as they were, so a fragment changed this way reads OFF.
bool writefragmentbytes(EditorContext& context, int fragment, int firstbyte, const std::vector<std::uint8_t>& values);
// A (padded) set password into bytes 0 to 7.
bool writesetpassword(EditorContext& context, int fragment, const QString& password);
// The RESET's record: the reset password with checks for OFF, queued whole while connected. The one writer of a
// record that goes past the guards, since a RESET is the sanctioned way to change a guarded record (it then goes on
// to destroy every row the old record covered).
void writeresetrecord(EditorContext& context, int fragment);

}  // namespace ostrel
