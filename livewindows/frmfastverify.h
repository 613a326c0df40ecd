#pragma once

#include "livewindows/fastverify.h"
#include "livewindows/livewindow.h"

class QPlainTextEdit;
class QProgressBar;

namespace ostrel {

class Prompts;

// The fast verify window ("Quick verify"): holds the selector at 19, whose plan asks only for live values, so each
// reply brings the ECU's checksum of the current map; FastVerify steps the maps on the window's 20 ms timer. The
// run's closing message is shown after the tick, and the window closes behind it.
class frmFastVerify : public LiveWindow {
  Q_OBJECT

 public:
  static constexpr std::uint8_t selectorvalue = 19;

  frmFastVerify(ProgramState& state, EcuLink& link, const maps& mainmaps, Prompts& prompts, QWidget* parent = nullptr);

  QPlainTextEdit* Text1 = nullptr;  // the last seven maps
  QPlainTextEdit* Text2 = nullptr;  // the failed maps
  QProgressBar* ProgressBar1 = nullptr;

  const FastVerify& verify() const { return verify_; }

 protected:
  void reportdata(const RxFrame&) override {}  // the plan has no window data
  void timertick() override;

 private:
  void showstate();
  void finish(FastVerify::End end);

  Prompts& prompts_;
  FastVerify verify_;
  bool ended_ = false;
  QString shownreport_, shownfailures_;
};

}  // namespace ostrel
