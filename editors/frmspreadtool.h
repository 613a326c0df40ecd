#pragma once

#include <QDialog>
#include <vector>

#include "editors/spreads.h"

class QLabel;
class QLineEdit;

namespace ostrel {

class frmSettings;
struct EditorContext;

// The spread tool of the settings editor: the 31 spreads of one axis (load, or rpm while state.spreadrpm is set) as
// numbers, each beside the axis point it gives in display units. Every keystroke stores the spread into settings map
// 110 at once (not marked changed, nothing for the ECU) and into the editor's own box for that setting; whether the
// 3-D maps follow is asked when the editor closes.
class frmSpreadTool : public QDialog {
  Q_OBJECT

 public:
  frmSpreadTool(frmSettings& editor, EditorContext& context);

  // Member i stands for point i + 1.
  std::vector<QLabel*> Label;
  std::vector<QLineEdit*> Text;
  std::vector<QLabel*> LabelSpread;

  SpreadAxis axis() const { return axis_; }

  // A change of box i, each keystroke included.
  void Text_Change(int index);

 private:
  void refreshspreadlabels();

  frmSettings& editor_;
  EditorContext& context_;
  SpreadAxis axis_;
};

}  // namespace ostrel
