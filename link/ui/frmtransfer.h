#pragma once

#include <QDialog>

#include "link/imagetransfer.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace ostrel {

// The transfer dialog: runs the whole-image transfer that state.transfermode names, shows its state and progress,
// and closes itself once the transfer has ended (or at once when it was cancelled or the port closed, with a
// message). The work is ImageTransfer's; this window only shows it and ticks it once a second.
class frmTransfer : public QDialog {
  Q_OBJECT

 public:
  explicit frmTransfer(ImageTransfer& transfer, QWidget* parent = nullptr);
  ~frmTransfer() override;

  // Shows the dialog modally; returns once it has closed.
  static void showmodal(ImageTransfer& transfer, QWidget* parent);

  QLabel* Label1;
  QProgressBar* ProgressBar1;
  QPushButton* cmdCancel;
  QTimer* Timer1;  // 1000 ms

  void Timer1_Timer();
  void cmdCancel_Click();
  // Escape and the close box act as Cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void showstate(const ImageTransfer::WindowState& w);
  void finish(const QString& message);

  ImageTransfer& transfer_;
  bool closed_ = false;
};

}  // namespace ostrel
