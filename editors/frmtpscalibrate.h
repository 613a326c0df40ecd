#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace ostrel {

class frmSettings;
struct EditorContext;

// Calibrates the throttle and pedal sensors from the program's live readings: each button puts a reading into the
// text box of one setting of map 110 and applies it as that setting's "Enter" would. Without a reading that arrived
// within the last second, in this opening of the settings editor, a button stores nothing and says so in the status
// line.
class frmTPSCalibrate : public QDialog {
  Q_OBJECT

 public:
  frmTPSCalibrate(frmSettings& editor, EditorContext& context);

  QLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;  // zero TPS
  QPushButton* Command2 = nullptr;  // zero PPS
  QLabel* Label2 = nullptr;
  QPushButton* Command3 = nullptr;  // wide open TPS

  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 private:
  void calibrate(int cell);

  frmSettings& editor_;
  EditorContext& context_;
};

}  // namespace ostrel
