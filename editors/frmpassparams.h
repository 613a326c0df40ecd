#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

#include "calibration/maptree.h"
#include "editors/editorcontext.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace ostrel {

// "Password parameters": what one password fragment protects. A double click on the map tree chooses a map or a
// group (a settings map counts as a group); the two "Enter" buttons store the first and the last protected row.
// Every change is written at once (queued for the ECU while connected); the check bytes stay, so the fragment reads
// OFF until it is turned on again.
class frmPassParams : public QDialog {
  Q_OBJECT

 public:
  frmPassParams(EditorContext& context, int fragment, QWidget* parent = nullptr);

  QTreeWidget* NavView = nullptr;
  QComboBox* Combo1 = nullptr;      // first protected row
  QComboBox* Combo2 = nullptr;      // last protected row
  QPushButton* Command1 = nullptr;  // "&Ok"
  QPushButton* Command2 = nullptr;  // "Enter" of the first row
  QPushButton* Command3 = nullptr;  // "Enter" of the last row
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;  // the group
  QLabel* Label6 = nullptr;  // the map

  int fragment() const { return fragment_; }

  void setparams() {}
  // Selects the items of the stored rows in both boxes; a row past a box's items leaves that box as it is.
  void setcombos(int first, int last);
  // Both boxes offer the rows of the map, then select the fragment's stored rows.
  void setcombolists(int map);

  // A double click on the tree: the entry that is selected.
  void NavView_DblClick();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 private:
  void buildcontrols();
  void filltree();
  void fillboxes(int count);
  void storerow(bool last, int item);

  EditorContext& context_;
  int fragment_;
  std::vector<MapTreeNode> nodes_;  // the tree's entries; each item holds its node's index
};

}  // namespace ostrel
