#pragma once

#include <QDialog>

#include "editors/fragmentimport.h"

class QAction;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace ostrel {

struct EditorContext;

// "Import file fragments": copies chosen maps from a donor calibration (a version 2.1, 2.5 or 2.6 file) into the
// open calibration. The tuner opens a donor, picks maps in the tree (double click) or all at once, and imports; the
// window closes after an import, after "E&xit" and after a donor that could not be opened. The work is done by
// FragmentImport; this window turns clicks into its calls.
class frmImport : public QDialog {
  Q_OBJECT

 public:
  explicit frmImport(EditorContext& context, QWidget* parent = nullptr);

  // Opens the window modally and returns once it has closed; nothing opens while the ECU is connected.
  static void showmodal(EditorContext& context, QWidget* parent);

  QMenuBar* menubar = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuOpenVA = nullptr;
  QAction* mnuOpenVB = nullptr;
  QAction* mnuOpenVC = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuImport = nullptr;
  QAction* mnuImportSelected = nullptr;
  QTreeWidget* NavView = nullptr;
  QPlainTextEdit* TextDonors = nullptr;
  QPushButton* Command1 = nullptr;  // "Select All"
  QPushButton* Command2 = nullptr;  // "Select none"
  QPushButton* Command3 = nullptr;  // "Expand all"
  QPushButton* Command4 = nullptr;  // "Contract all"
  QPushButton* Command5 = nullptr;  // "Import list"

  FragmentImport& importer() { return importer_; }
  // The tree item of node n of the importer's tree.
  QTreeWidgetItem* node(int n) const;

  void importdonorlist();
  // Enables the import and the buttons, once a donor has been read.
  void importproceed();

  void opendonor(DonorVersion version);
  void NavView_DblClick(QTreeWidgetItem* item);
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void importlist();
  void mnuExit_Click();

 private:
  void filltree();

  EditorContext& context_;
  FragmentImport importer_;
  std::vector<QTreeWidgetItem*> items_;
};

}  // namespace ostrel
