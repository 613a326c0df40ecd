#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "calibration/maptree.h"
#include "editors/passwordfragments.h"
#include "platform/mapguards.h"

namespace ostrel {

struct EditorContext;
struct ProgramState;

inline const QString donorerrormessage = QStringLiteral("A donor file error occurred");
inline const QString notindonormessage =
    QStringLiteral("The donor file is an older version and does not contain this fragment");
inline const QString notallindonormessage =
    QStringLiteral("The donor file is an older version and does not contain all selected fragments");
// %1: the password fragments left unchanged, numbered 1 to 8 as the passwords window numbers them.
inline const QString keptpasswordsmessage =
    QStringLiteral("Password fragments that are ON and whose passwords have not been entered were left unchanged: %1");
// %1: the maps of which a guard, the open calibration's or the donor's, kept cells out of the import.
inline const QString guardedrowsmessage = QStringLiteral("Password protected rows of these maps were not imported: %1");
inline const QString nofragmentstext = QStringLiteral("No fragments selected");
inline const QString fragmentsheader = QStringLiteral("Selected map fragments:");

// The kinds of donor kept in state.donortype.
namespace donortypes {
inline constexpr std::uint8_t none = 0;
inline constexpr std::uint8_t old = 21;      // a version 2.1 to 2.5 file, in the old-file reader
inline constexpr std::uint8_t current = 26;  // a version 2.6 file, in the second calibration model
}  // namespace donortypes

// The three menu items that open a donor; 2.1 and 2.5 files are read alike.
enum class DonorVersion { v21, v25, v26 };

inline constexpr int importprogresstotal = 2000;  // the span of the progress window's timed display

// The maps a donor of a version 2.1 to 2.5 file can give.
inline constexpr std::array<int, 32> olddonormaps{0,  1,  3,  8,  9,  11, 12, 17, 19, 24, 25, 26, 29, 32, 33, 40,
                                                  41, 42, 43, 44, 45, 48, 56, 88, 89, 90, 91, 92, 93, 94, 95, 110};

// Writes state.importmask from state.donortype: every map for a 2.6 donor, the maps above for an older one; any
// other type leaves the mask as it is.
void setimportmask(ProgramState& state);

// What an import leaves where it is. Worked out before anything is copied, since an imported passwords map sets the
// entered passwords back afterwards.
struct ImportGuards {
  MapGuards open;   // rows of the open calibration a password guards: never written
  MapGuards donor;  // rows the donor's own fragments guard and no password entered in this run opens: never copied
  std::array<bool, fragmentcount> kept{};  // fragments of the open calibration ON and not matched: their records stay

  // True when a guard, on either side, keeps cells of the map out of the import.
  bool leavesout(int map) const { return open.anyguarded(map) || donor.anyguarded(map); }
};

// The guards of an import from the donor the state names. The donor's fragments guard as the open calibration's do:
// a record that reads ON guards its rows unless the password entered in this run for its slot matches its set
// password, as the passwords grid decides a match. An older donor carries no passwords and guards nothing.
ImportGuards importguards(const maps& mainmaps, const maps& templatemaps, const ProgramState& state);

// Which cells of a map may be imported, [row][column] as the calibration model indexes them: none in a row that a
// guard of either side covers, and none of a kept fragment's record.
using ImportCellMask = std::array<std::array<bool, 32>, 32>;
ImportCellMask importcellmask(const maps& mainmaps, const ImportGuards& guards, int map);

// The map fragment import beneath its window, for one opening of the window: the donor tree, the chosen maps, the
// donor files read through the staged readers (a file that cannot be read changes nothing) and the copy into the
// open calibration. Only a donor read during this opening is ever copied from.
class FragmentImport {
 public:
  static inline const QString prefix = QStringLiteral("(Donor) ");

  explicit FragmentImport(EditorContext& context);

  // The selection tree, built from the open calibration's map names.
  const std::vector<MapTreeNode>& tree() const { return tree_; }

  // Asks for a donor file of the version and reads it. True once it has been read: the donor type, path and mask
  // are the new donor's and maps it does not hold have left the selection. False, after "A donor file error
  // occurred", when no file was chosen or it could not be read; then nothing has changed.
  bool opendonor(DonorVersion version);
  // True once a donor has been read during this opening: the import may run.
  bool donorready() const { return donorready_; }

  // A double click on tree node `node`: a map leaf (or a group node that stands for one map) is chosen or no longer
  // chosen; a map the donor does not hold is refused with a message. True when the choice changed.
  bool choose(int node);
  // Chooses every map the donor holds, with one message when it lacks some.
  void selectall();
  void selectnone();
  const std::array<bool, 116>& selected() const { return selected_; }
  // The chosen maps as the window lists them: a header line, then each map's name, as the guards let it be shown, in
  // map order.
  QString donorlist() const;

  // Copies every chosen map the donor holds into the open calibration, each cell marked changed (map 17 of an older
  // donor resampled from its 24-point axes); then the axis scales follow an imported map 110 and the password
  // fragments an imported map 105, the progress window runs its timed display and the map views are refreshed.
  // Guarded data stays where it is (importcellmask): no guarded row of the open calibration is written, no row the
  // donor guards is copied, and the record of a password fragment that reads ON and is not matched is not copied
  // over, so that its maps stay guarded. One message names such fragments, another the maps a guard left cells of.
  // Returns the maps imported, in order; nothing happens without a donor read in this opening.
  std::vector<int> import();

 private:
  int donorvalue(int map, int row, int col) const;

  EditorContext& context_;
  std::vector<MapTreeNode> tree_;
  std::array<bool, 116> selected_{};
  bool donorready_ = false;
};

}  // namespace ostrel
