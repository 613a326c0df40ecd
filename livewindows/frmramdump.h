#pragma once

#include <cstdint>

#include "livewindows/livewindow.h"
#include "livewindows/ramdump.h"

class QAction;
class QMenu;
class QMenuBar;
class QProgressBar;
class QTableView;

namespace ostrel {

class Prompts;
class RamDumpModel;

// The RAM dump window: copies ECU RAM 0x4000 to 0x6FFF into the program's RAM copy, one 16-byte page per pass of
// its poll plan, shows every byte in a grid and exports the copy as an S-record text file into the install
// folder's "ramdump" folder. The live window of selector 16, opened from the data logger, to whose selector it
// goes back when it closes. The copy stays for the trigger test after the window has closed.
class frmRAMDUMP : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selector = 16;
  static constexpr std::uint8_t loggerselector = 1;
  static constexpr int timerms = 500;
  static constexpr int closeafter = 5;  // foreign timer ticks

  frmRAMDUMP(ProgramState& state, EcuLink& link, Prompts& prompts, QWidget* parent = nullptr);
  ~frmRAMDUMP() override;

  // Opens the window modally over the parent and returns once it has closed (the data logger's View menu).
  static void showmodal(ProgramState& state, EcuLink& link, Prompts& prompts, QWidget* parent);

  QMenuBar* menubar = nullptr;
  QMenu* mnuRamDump = nullptr;
  QAction* mnuExit = nullptr;
  QAction* mnuExport = nullptr;  // enabled once a pass has filled the copy
  QProgressBar* ProgressBar1 = nullptr;  // the page asked for next
  QTableView* ramgrid = nullptr;

  // Hands the request table of the page asked for next to the link.
  void setramdumpaddressarray();
  // Each window-data reply: the page's bytes into the copy and the grid, then the next page.
  void griddata(const RxFrame& rxframe);
  // Writes the copy into a RAM dump file and says where it went.
  void saveramdump();
  void mnuExit_Click();
  void mnuExport_Click() { saveramdump(); }

  const RamDumpSweep& sweep() const { return sweep_; }
  RamDumpModel& model() { return *model_; }

 protected:
  void reportdata(const RxFrame& rxframe) override { griddata(rxframe); }
  std::uint8_t backto() const override { return loggerselector; }
  void resizeEvent(QResizeEvent* event) override;

 private:
  Prompts& prompts_;
  RamDumpSweep sweep_;
  RamDumpModel* model_ = nullptr;
};

}  // namespace ostrel
