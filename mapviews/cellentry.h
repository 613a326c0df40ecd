#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "mapviews/selection.h"

class QLabel;
class QPushButton;

namespace ostrel {

class MapViews;
class Prompts;
class maps;
struct ProgramState;

// The cell entry dialog apart from its window: the text typed so far, what each key does to it, and the entry
// applied by the tool mode (0 set, 1 multiply, 2 divide, 5 add, 6 subtract) in the units shown to the user, to the
// cursor cell or, while the selection box is on, to every selected cell.
class CellEntry {
 public:
  CellEntry(ProgramState& state, maps& model, MapViews& views, Prompts& prompts);

  // What a key asks of the window.
  enum class Outcome { none, typed, close };

  // The window title of a tool mode; empty for a mode that keeps the window's own title.
  static QString title(int toolmode);
  static inline const QString hint =
      QStringLiteral("Use buttons, or direct enter via keyboard, then press ENTER. ESCAPE to abort. ");

  // One key (virtual-key code) or button (48 + button index): Enter applies the text and closes unless it failed,
  // Escape closes, Backspace and Delete edit the text, the digits, "." and "-" are typed.
  Outcome enterupdate(int keycode);
  // Applies the text by the tool mode. A text that is no number, or an entry the map cannot take (see
  // editselection), changes nothing, says why and empties the text; false then.
  bool setentry(const QString& text);

  const QString& typed() const { return typed_; }

 private:
  bool fail(EditRefusal refusal);

  ProgramState& state_;
  maps& model_;
  MapViews& views_;
  Prompts& prompts_;
  QString typed_;
};

// The modal dialog frmEntry: twelve buttons "0" to "9", "." and "Enter", the hint and the text typed so far. Every
// key the dialog or one of its buttons gets goes to CellEntry::enterupdate.
class frmEntry : public QDialog {
  Q_OBJECT

 public:
  frmEntry(CellEntry& entry, int toolmode, QWidget* parent = nullptr);

  std::array<QPushButton*, 12> Command1{};
  std::array<QLabel*, 2> Label1{};

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void enterupdate(int keycode);

  CellEntry& entry_;
};

}  // namespace ostrel
