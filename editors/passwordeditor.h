#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ostrel {

class maps;
struct EditorContext;
struct ProgramState;

namespace passwordgrid {
inline constexpr int columns = 9;
inline constexpr int rows = 9;  // row 0 the header, row r fragment r - 1
inline constexpr int rowheight = 25;
inline constexpr std::array<int, columns> widths{70, 75, 95, 120, 160, 40, 60, 65, 85};
inline const std::array<QString, columns> headers{
    QString(),
    QStringLiteral("Set password"),
    QStringLiteral("Entered password"),
    QStringLiteral("Group/s"),
    QStringLiteral("Map/s"),
    QStringLiteral("Rows"),
    QStringLiteral("File status"),
    QStringLiteral("ECU status"),
    QStringLiteral("Fragment status"),
};
inline constexpr int ecustatuscolumn = 7;

// Colours, 0x00BBGGRR.
inline constexpr std::uint32_t background = 0x505050;
inline constexpr std::uint32_t headercolour = 0xB0B0B0;
inline constexpr std::uint32_t matchcolour = 0x80FF80;
inline constexpr std::uint32_t nomatchcolour = 0x8080FF;
inline constexpr std::uint32_t unknowncolour = 0xFFC0C0;
inline constexpr std::uint32_t plaincolour = 0xFFFFFF;
inline constexpr std::uint32_t evenrowcolour = 0xF0F0F0;
inline constexpr std::uint32_t oddleadcolour = 0x10F0F0;
inline constexpr std::uint32_t evenleadcolour = 0x10D0D0;
}  // namespace passwordgrid

struct GridCell {
  QString text;
  std::uint32_t back = passwordgrid::plaincolour;
  bool operator==(const GridCell&) const = default;
};

// One fragment's row of the password grid, as a refresh shows it (the ECU status column aside), and which of its
// buttons may be pressed.
struct PasswordGridRow {
  std::array<GridCell, passwordgrid::columns> cells;
  bool onenabled = false, offenabled = false, resetenabled = false;
};
PasswordGridRow passwordgridrow(const maps& mainmaps, const ProgramState& state, int fragment);
// The ECU status of a fragment: "Unknown" until the ECU's match mask has arrived.
GridCell ecustatuscell(std::optional<std::uint8_t> matchmask, int fragment);

// The passwords window without its widgets: the guarded commands on one fragment, what a click on a grid cell
// does, the timer's work and the exit warning. Every refusal is an information message and changes nothing.
class PasswordEditor {
 public:
  explicit PasswordEditor(EditorContext& context);

  // What the window does after a command or a click on a cell.
  enum class After { nothing, refresh, editparameters };

  // The buttons of a fragment.
  After turnon(int fragment);
  After turnoff(int fragment);
  After reset(int fragment);
  // A click on cell (row, column) of the grid; row 0 is the header.
  After cellclicked(int row, int column);

  // The file status matches from the fragments, as every refresh of the grid takes them.
  void refresh();
  PasswordGridRow gridrow(int fragment) const;

  // One tick of the window's timer: entered checks, protection table, the ECU's mask before the first entry, the
  // send table to the link.
  void timertick();
  // The window's Exit: gives the selector back and warns when the ECU's security status changed meanwhile.
  void exit(bool holdsselector);

  bool entrymade() const { return entrymade_; }
  std::uint8_t masksnapshot() const { return masksnapshot_; }

  // Texts shown as written.
  static const QString turnontext;
  static const QString turnofftext;
  static const QString noresettext;
  static const QString resetquestion;
  static const QString alterpasswordtext;
  static const QString validatedtext;
  static const QString parameterstext;
  static const QString reuploadtext;
  static const std::array<QString, passwordgrid::columns> celltexts;  // the explanations of columns 0, 6, 7, 8

 private:
  void resetfragment(int fragment);
  // Refuses, with the one protected message, a command on a record that another fragment guards.
  bool refusedguarded(int fragment);
  After refuse();
  // After a command has written: the matches taken afresh and the protection table rebuilt.
  void settle();
  void inform(const QString& text);
  std::optional<QString> askpassword(const QString& prompt, const QString& title);

  EditorContext& context_;
  bool entrymade_ = false;
  std::uint8_t masksnapshot_ = 0;
};

}  // namespace ostrel
