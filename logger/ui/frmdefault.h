#pragma once

#include <QDialog>
#include <array>

class QPushButton;
class QRadioButton;

namespace ostrel {

class ProgressJobs;
struct ProgramState;

// "Import default map fragment": chooses one of the four injector response presets; the progress window then
// writes it into map 40 of the PC's calibration (jobs 6 to 9). Nothing is chosen when the window opens.
class frmDefault : public QDialog {
  Q_OBJECT

 public:
  frmDefault(ProgramState& state, ProgressJobs& jobs, QWidget* parent = nullptr);

  // Shows the window modally; returns once it has closed (after the chosen preset's job has run).
  static void showmodal(ProgramState& state, ProgressJobs& jobs, QWidget* parent);

  std::array<QRadioButton*, 4> Option1{};  // 16, 10, 2.5 and 1 ohm, top to bottom
  QPushButton* Command1 = nullptr;         // "&Load"
  QPushButton* Command2 = nullptr;         // "&Cancel"

  void Command1_Click();
  void Command2_Click();

 private:
  ProgramState& state_;
  ProgressJobs& jobs_;
};

}  // namespace ostrel
