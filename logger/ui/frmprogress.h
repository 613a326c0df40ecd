#pragma once

#include <QDialog>
#include <cstdint>

class QProgressBar;
class QTimer;

namespace ostrel {

class ProgressJobs;
struct ProgramState;

// The progress window: runs the job that progressjob names one step on each tick of its 100 ms timer and shows its
// bar; it closes itself when the job is done, and a job that ends at once (an unknown code) never shows it. The
// work is ProgressJobs'; this window only shows it. However it closes, an unfinished job is abandoned (no half
// written file stays) and the map views' selection box is cleared. While another job runs the window does not
// open and leaves that job alone.
class frmProgress : public QDialog {
  Q_OBJECT

 public:
  static constexpr int timerms = 100;

  // Begins the job that progressjob names.
  explicit frmProgress(ProgressJobs& jobs, QWidget* parent = nullptr);
  ~frmProgress() override;

  // Runs the job that progressjob names in the window, modally; returns once the window has closed.
  static void showmodal(ProgressJobs& jobs, QWidget* parent);
  // Sets progressjob and runs that job.
  static void showjob(ProgramState& state, ProgressJobs& jobs, std::uint8_t job, QWidget* parent);

  QProgressBar* ProgressBar1 = nullptr;
  QTimer* Timer1 = nullptr;

  // One tick of the window's timer, as the timer runs it (tests call it directly).
  void Timer1_Timer();
  // A press on the bar: it goes back to 0, so the map synchronisation or a preset starts its first step again.
  void ProgressBar1_MouseDown();
  // Every way of closing ends here.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showbar();
  // This window began the job that runs.
  bool running() const;

  ProgressJobs& jobs_;
  bool started_ = false;
};

}  // namespace ostrel
