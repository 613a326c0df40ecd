#pragma once

#include <array>

#include "livewindows/livewindow.h"
#include "livewindows/ltttable.h"

class QAction;
class QLabel;
class QMenu;

namespace ostrel {

// The long-term trim window ("Long term trim"): holds the selector at 2 and shows the ECU's trim table, 8 rpm bands
// by 4 load bands in percent, asking for its two halves in turn; "Clear LTT" queues the writes that clear it. It
// never closes itself.
class frmLtt : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selectorvalue = 2;

  frmLtt(ProgramState& state, EcuLink& link, QWidget* parent = nullptr);

  std::array<QLabel*, LttTable::cells> Label1{};  // cell 4r + c: rpm band r, load band c
  std::array<QLabel*, 12> Label2{};               // 0 to 3 the load bands, 4 to 11 the rpm bands
  QMenu* mnuLTT = nullptr;
  QAction* mnuClearLtt = nullptr;
  QAction* mnuExitLTT = nullptr;

  const LttTable& table() const { return table_; }
  void mnuClearLtt_Click();

 protected:
  void reportdata(const RxFrame& rxframe) override;
  void timertick() override;

 private:
  LttTable table_;
};

}  // namespace ostrel
