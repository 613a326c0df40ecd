#pragma once

#include <cstdint>

#include "livewindows/livewindow.h"
#include "livewindows/vctchart.h"
#include "livewindows/vctdata.h"

class QComboBox;
class QLabel;
class QProgressBar;

namespace ostrel {

class PictureSurface;

// The variable cam timing window: sixteen live values of the cam control in two lines of value boxes, a running
// chart of the eight cam angles, and a buffer of the raw values of 1000 replies that, once full, is exported into a
// new spreadsheet workbook and opened in the user's spreadsheet program. The live window of selector 15; the
// decoding, the chart geometry and the export live in vctdata, vctchart and vctexport.
class frmVCT : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selector = 15;
  static constexpr int timerms = 500;
  static constexpr int closeafter = 5;  // foreign timer ticks

  frmVCT(ProgramState& state, EcuLink& link, QWidget* parent = nullptr);
  ~frmVCT() override;

  // Opens the window modally over the parent and returns once it has closed (the map views' key sequence).
  static void showmodal(ProgramState& state, EcuLink& link, QWidget* parent);

  QComboBox* Combo1 = nullptr;  // variable set
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;  // filling of the export buffer
  PictureSurface* picVCT = nullptr;

  // Hands the window's request table to the link.
  void setvctarray();
  // The value boxes and the export buffer, for each window-data reply; the full buffer's export runs once the
  // link's tick has ended.
  void vcttypedata(const RxFrame& rxframe);
  // The chart, for each window-data reply, right after vcttypedata.
  void drawdata(const RxFrame& rxframe);
  // A variable set was chosen: the buffer starts again from sample 0.
  void Combo1_Click();

  const VctBuffer& buffer() const { return buffer_; }
  const VctChart& chart() const { return chart_; }

 protected:
  void reportdata(const RxFrame& rxframe) override {
    vcttypedata(rxframe);
    drawdata(rxframe);
  }
  void resizeEvent(QResizeEvent* event) override;

 private:
  VctBuffer buffer_;
  VctChart chart_;
};

}  // namespace ostrel
