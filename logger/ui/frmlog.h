#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "livewindows/livewindow.h"
#include "logger/logchannels.h"
#include "logger/logdisplay.h"
#include "logger/loggridmodel.h"
#include "logger/logreplay.h"
#include "logger/ui/loggercontext.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QScrollBar;

namespace ostrel {

class LogGridView;
class PictureSurface;

// "Log data": the 16-channel data logger. The tuner picks a live variable and a trace colour for each channel,
// watches the newest values and their traces, records into the sample store while connected and replays the
// recording while not; from here the log grid, the profiles, the CSV and raw log files and the address monitor are
// reached. The window is the live window of selector 1 (and counts 4 and 16, its monitor and the RAM dump, as its
// own); each data reply draws the value boxes and one trace step before the shell stores it as a sample. The
// logic is the logger core's; this window turns events into its calls and its plans into pixels.
class frmLog : public LiveWindow, public LogDisplay {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selector = 1;
  static constexpr int timerms = 250;
  static constexpr int closeafter = 5;  // foreign timer ticks

  explicit frmLog(LoggerContext& context, QWidget* parent = nullptr);
  ~frmLog() override;

  // Opens the logger modally; returns once it has closed.
  static void showmodal(LoggerContext& context, QWidget* parent);

  // Menus.
  QMenuBar* menubar = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuProfile = nullptr;      // "&Load profile"
  QAction* mnuSaveProfile = nullptr;  // "&Save profile"
  QAction* mnuSaveDefault = nullptr;  // "Save profile as &default"
  QAction* mnuExportCSV = nullptr;
  QAction* mnuExportRaw = nullptr;
  QAction* mnuImportRawLog = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuView = nullptr;
  QAction* mnuShowHide = nullptr;  // "&Show/hide setup"
  QAction* mnuMonitor = nullptr;   // "&Monitor data"
  QAction* mnuRamDump = nullptr;   // "&Ram dump"

  // The set-up panel, by channel.
  std::array<QLabel*, 16> Label1{};        // "Log variable n"
  std::array<QComboBox*, 16> Combo1{};     // the live variables; the selected index is the variable number
  std::array<QLabel*, 16> Label2{};        // the colour swatch
  std::array<QPushButton*, 16> Command1{};  // ">": next colour
  std::array<QPushButton*, 16> Command4{};  // "none": no trace

  PictureSurface* PicLog = nullptr;
  LogGridView* logGrid = nullptr;
  QPushButton* Command2 = nullptr;           // "Populate grid"
  QPushButton* Command3 = nullptr;           // "Reset log buffer"
  QPushButton* Command6 = nullptr;           // "<< Log"
  QPushButton* CommandLogBack = nullptr;     // "< Log"
  QPushButton* CommandLogForward = nullptr;  // "Log >"
  QPushButton* Command5 = nullptr;           // "Log >>"
  QScrollBar* HScroll1 = nullptr;            // replay pages 0 to 479
  QProgressBar* ProgressBar1 = nullptr;      // log fill, 0 to 480
  QLabel* logDuration = nullptr;

  // Empties the log and the grid; recording starts again after the warm-up.
  void restartlog();
  // Fills the 16 variable lists and shows the channels' variables.
  void loadvarcombos();
  // Shows logvar in the lists; the timer takes a difference from here on as a change of channel.
  void logcomboset();
  // Paints the 16 swatches from logcolour.
  void logcolorlabels();
  // The trace palette is constant data (logpalette); kept as the step of opening that it was.
  void loadlogcolors() {}
  // The value boxes of the newest sample (the cursor's while replaying).
  void logtypedata() override;
  // The newest trace segment of every traced channel and the cursor mark; a new page at page column 0.
  void drawdata() override;
  // Makes the grid row of the cursor current.
  void syncloggrid() override;

  bool setupshown() const { return setupshown_; }
  LogGridModel& gridmodel() { return gridmodel_; }
  // What the last logtypedata showed.
  const std::vector<ValueBox>& valueboxes() const { return valueboxes_; }

  // Events.
  void Command1_Click(int channel);
  void Command4_Click(int channel);
  void Command2_Click();
  void Command3_Click();
  void Command6_Click();
  void CommandLogBack_Click();
  void CommandLogForward_Click();
  void Command5_Click();
  void HScroll1_Change(int value);
  void mnuProfile_Click();
  void mnuSaveProfile_Click();
  void mnuSaveDefault_Click();
  void mnuExportCSV_Click();
  void mnuExportRaw_Click();
  void mnuImportRawLog_Click();
  void mnuExit_Click();
  void mnuShowHide_Click();
  void mnuMonitor_Click();
  void mnuRamDump_Click();

  void done(int result) override;

 protected:
  void reportdata(const RxFrame& rxframe) override;
  // Takes the lists' variables, writes the request table, shows the log's fill and restarts the log after a change
  // of channel.
  void timertick() override;
  // The content area was resized: the picture, the grid and the bottom row follow its height.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildmenus();
  void buildsetup();
  void buildbottom();
  void layoutcontrols();
  void placesetup();
  void writerequesttable();
  void runjob(std::uint8_t job);
  const LogColumns& columns();

  LoggerContext& context_;
  LogGridModel gridmodel_;
  LogReplay replay_;
  LogVariables variables_;
  std::array<std::uint8_t, 16> prevvar_{};
  bool setupshown_ = true;
  bool unloaded_ = false;
  QWidget* page_ = nullptr;
  std::vector<ValueBox> valueboxes_;
  // The channels as the value boxes show them, made again when a variable or a colour changes.
  std::unique_ptr<LogColumns> columns_;
  std::array<std::uint8_t, 16> columnsvar_{}, columnscolour_{};
};

}  // namespace ostrel
