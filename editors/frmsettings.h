#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "editors/editorcontext.h"
#include "editors/settingcells.h"
#include "livewindows/livewindow.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace ostrel {

class PictureSurface;
struct PlacedCell;

// The settings editor: edits the settings map that curmap names (110 to 115) one setting group at a time. Every
// cell gets a caption, an "Enter" button and, when it holds a setting, a value control of its display type; a
// value reaches the calibration (and the ECU while connected) only when its "Enter" is pressed. The window is the
// live window of selector 3 and shows 16 live values at its foot. The arithmetic (cell table, layout, apply, panel
// texts) lives in plain functions; this class turns it into widgets.
class frmSettings : public LiveWindow {
  Q_OBJECT

  // The combo arrays by kind; first, so that the named arrays below can refer to them.
  std::array<std::vector<QComboBox*>, controlkindcount> combos_;

 public:
  static constexpr std::uint8_t selector = 3;
  static constexpr int timerms = 250;
  static constexpr int closeafter = 5;  // foreign timer ticks

  explicit frmSettings(EditorContext& context, QWidget* parent = nullptr);
  ~frmSettings() override;

  // Opens the editor modally on the settings map that curmap names and returns once it has closed; nothing opens
  // for a map that is not a settings map.
  static void showmodal(EditorContext& context, QWidget* parent);

  // Fixed controls.
  QMenuBar* menubar = nullptr;
  QMenu* mnuSettings = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuTools = nullptr;
  QAction* mnuTPSCalibrate = nullptr;
  QAction* mnuViewLoadSpreads = nullptr;
  QAction* mnuViewRpmSpreads = nullptr;
  QComboBox* Combogroups = nullptr;
  QPushButton* Command1 = nullptr;  // previous group
  QPushButton* Command2 = nullptr;  // next group
  QPushButton* Command3 = nullptr;  // help mode
  PictureSurface* PicSetting = nullptr;

  // The controls of the cells: caption and "Enter" of cell n at n; value controls at the index of the cell table.
  std::vector<QLabel*> NameCaption;
  std::vector<QPushButton*> Command;
  std::vector<QCheckBox*> Check;
  std::vector<QLineEdit*> Text;
  std::vector<QGroupBox*> FrameTrueFalse;
  std::vector<QRadioButton*> OptionTrue;
  std::vector<QRadioButton*> OptionFalse;
  // The combo arrays, one per combo kind (a kind that is no combo has an empty one).
  std::vector<QComboBox*>& combos(ControlKind kind) { return combos_[static_cast<std::size_t>(kind)]; }
  std::vector<QComboBox*>& Combo = combos(ControlKind::combo);
  std::vector<QComboBox*>& ComboUser = combos(ControlKind::combouser);
  std::vector<QComboBox*>& ComboVariable = combos(ControlKind::combovariable);
  std::vector<QComboBox*>& ComboVehicle = combos(ControlKind::combovehicle);
  std::vector<QComboBox*>& ComboTriggerEdge = combos(ControlKind::combotriggeredge);
  std::vector<QComboBox*>& ComboTrigger = combos(ControlKind::combotrigger);
  std::vector<QComboBox*>& ComboSync = combos(ControlKind::combosync);
  std::vector<QComboBox*>& ComboOutput = combos(ControlKind::combooutput);
  std::vector<QComboBox*>& ComboRequestType = combos(ControlKind::comborequesttype);

  const SettingCells& settingcells() const { return settingcells_; }
  const SettingCell& cell(int n) const { return cellof(settingcells_, n); }
  // The text box of a text setting's cell; null for any other cell.
  QLineEdit* textofcell(int n) const;
  bool helpmode() const { return helpmode_; }
  // Whether a password guards the setting of cell n: its control is then disabled and shows no value, and its
  // "Enter" refuses to store it.
  bool guarded(int n) const;
  // The cells of the group on show, where they were placed.
  const std::vector<PlacedCell>& placed() const { return placed_; }

  // The "Enter" of cell n: stores the value control's state as the cell's raw byte and, while connected, queues
  // its row for the ECU; in help mode shows the cell's help instead. A combo that shows no item (its stored byte has
  // none) keeps the byte and says so.
  void Command_Click(int index);
  void settingshelp(int index);
  // Puts the scales of the cells that follow a live variable in step with their selectors; refreshtext rewrites
  // their text boxes.
  void databaserefresh(bool refreshtext);
  // The window data of the live panel (each reply while the window holds the selector); also keeps its throttle
  // and pedal bytes as the program's live readings.
  void settingstypedata(const RxFrame& rxframe);

  void Combogroups_Click();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void mnuExit_Click();
  void mnuTPSCalibrate_Click();
  void mnuViewLoadSpreads_Click();
  void mnuViewRpmSpreads_Click();

  // Every way of closing ends here; the first time also runs the unload steps.
  void done(int result) override;

 protected:
  void reportdata(const RxFrame& rxframe) override { settingstypedata(rxframe); }
  // Ages the throttle and pedal readings.
  void timertick() override;

 private:
  void buildfixedcontrols();
  void settingscomboload();
  void settingscontrolload();
  void buildcell(int n);
  void showvalue(int n);
  void showguarded(int n);
  void hidecontrols();
  void placecell(const PlacedCell& p);
  void fillrequesttable();
  void sethelpcaptions();
  void openspreadtool(bool rpm);
  // The spreads found on opening; closing with changed spreads asks whether to re-grid the 3-D maps.
  void loadentryspreads();
  void checkexitspreads();

  EditorContext& context_;
  SettingCells settingcells_{};
  std::vector<PlacedCell> placed_;
  bool helpmode_ = false;
  bool unloaded_ = false;
  QWidget* page_ = nullptr;
};

}  // namespace ostrel
