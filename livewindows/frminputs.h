#pragma once

#include "livewindows/inputstable.h"
#include "livewindows/livewindow.h"

class QTableView;

namespace ostrel {

class LiveGridModel;
class settings;

// The inputs window: holds the selector at 14 and shows, in one grid, the levels of the sixteen auxiliary inputs
// and the use and state of the 32 input functions. It closes itself on the fifth tick of its timer on which
// another window holds the selector.
class frmInputs : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selectorvalue = 14;
  static constexpr int closeafter = 5;
  // The grid keeps this far from the window's outer right and bottom edges (twips), and the frame that the window
  // system adds around the client area.
  static constexpr int gridmarginwidth = 375;
  static constexpr int gridmarginheight = 750;
  static constexpr int framewidth = 120;
  static constexpr int frameheight = 465;
  static constexpr int gridleft = 120;
  static constexpr int gridtop = 120;
  static constexpr double gridunit = 1.3;  // pixels per unit of the grid's column widths

  frmInputs(ProgramState& state, EcuLink& link, const settings& mainsettings, QWidget* parent = nullptr);

  QTableView* inputGrid = nullptr;
  const InputsTable& table() const { return table_; }

 protected:
  void reportdata(const RxFrame& rxframe) override;
  void timertick() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  InputsTable table_;
  LiveGridModel* model_ = nullptr;
};

}  // namespace ostrel
