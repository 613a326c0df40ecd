#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

#include "calibration/maps.h"
#include "link/linkhost.h"
#include "link/transferqueue.h"

namespace ostrel {

class EcuLink;
class Prompts;
struct ProgramState;

// The whole-image transfers, named by state.transfermode: 0 writes the calibration into the ECU (download), 1 reads
// the ECU's image into it (upload), 2 reads the ECU's image and compares it with the calibration (verify). The
// transfer dialog drives the preparation by its one-second ticks and shows the progress; while a transfer runs the
// link hands it every tick of the communications timer for one row request, and every reply to one.
//
// Every row, written or read, goes again until its reply has come back intact (a read: for the row asked). A
// transfer ends with its last row, by cancel, or when the port closes; a read that did not get every row stores
// nothing into the calibration. Once an image has been stored or compared, the link's host rebuilds what shows it.
class ImageTransfer final : public TransferSteps {
 public:
  static constexpr int rowcount = imagerows;
  // The dialog's tick counter stops here; the steps of the first ticks never come again.
  static constexpr int maxdialogsteps = 1000;

  // Registers with the link as its transfer; the link must outlive this.
  ImageTransfer(ProgramState& state, maps& mainmaps, Prompts& prompts, EcuLink& link);
  ~ImageTransfer() override;
  ImageTransfer(const ImageTransfer&) = delete;
  ImageTransfer& operator=(const ImageTransfer&) = delete;

  Prompts& prompts() { return prompts_; }

  // --- Steps of a transfer ---------------------------------------------------------------------------------------
  // Copies the calibration into the send image (row 2047 as zeros), with progress lines.
  void preparebuffer();
  // No rows yet (transferline -2), running, and the row asked for not arrived.
  void resettransfer();
  // The 2048 row writes of the send image; the write starts with row 0.
  void queuefullwrite();
  // The 2048 row reads, with the receive image cleared; the read starts with row 0.
  void queuefullread();
  // Stores the received image into the calibration (read) or compares the two row by row (verify).
  void processtransfer(const CalibrationImage& image);

  // --- The transfer dialog ---------------------------------------------------------------------------------------
  struct WindowState {
    QString label;
    int progress = 0;  // percent, 0 to 99
    bool close = false;
    QString message;  // shown once the dialog has closed, when not empty
  };
  // The dialog has opened: the counter starts and the first label for the mode.
  WindowState windowopened();
  // One tick of the dialog's timer.
  WindowState windowtick();
  // The Cancel button: ends what runs (a comparison already under way goes on); true when the dialog may close.
  bool cancel();
  void windowclosed();
  // Ends a running transfer at once because the port was closed; the text to show.
  QString abortforclosedport();

  // --- The link's side -------------------------------------------------------------------------------------------
  bool transferactive() const override { return active_; }
  // Running or storing/comparing what was read.
  bool busy() const { return active_ || phase_ == Phase::completing; }
  void transferstep(EcuLink& link) override;
  void transferreply(EcuLink& link) override;
  void transferlinkerror() override;
  // The image's row writes still waiting (2047 from the moment they are queued until the last one is sent).
  int lastqueuedwrite() const override { return rows.lastqueuedtransfer(); }

  // --- State -----------------------------------------------------------------------------------------------------
  // Image row of the transfer: -2 before the rows are queued, 0 to 2047 while they go, 2048 after the last one.
  std::int16_t transferline = 0;
  std::int16_t transfertotal = 0;
  // True while the row asked for last has not come back intact.
  bool transferfailed = false;
  std::int16_t dialogstep = 0;  // the dialog's tick counter
  // Image address of the row asked for last, read or written (16 x row); -1 until this transfer has asked for
  // one. The reply to a read must carry it.
  std::int32_t rta = -1;
  // Send and receive images: byte j of image row r at j * 2048 + r.
  CalibrationImage tximage{}, rximage{};
  static std::size_t imageindex(int row, int byte) { return static_cast<std::size_t>(byte) * rowcount + row; }
  static std::int32_t imageaddress(int row) { return 16 * row; }
  // The transfer's own records, record r for image row r; freed as the rows are done.
  TransferQueue rows;
  // Verify mismatches found by the last comparison.
  int verifyerrors = 0;

 private:
  enum class Phase { idle, preparing, running, completing, finished, ended };

  void progressline(int row);
  void finishwrite();
  void finishread();
  void complete();
  QString endtext() const;
  void endrun();

  ProgramState& state_;
  maps& mainmaps_;
  Prompts& prompts_;
  EcuLink& link_;

  Phase phase_ = Phase::idle;
  bool active_ = false;
  bool rowsqueued_ = false;
  bool blockqueued_ = false;
  bool rowssent_ = false;  // a row write went out in this transfer
  QString label_;
  int progress_ = 0;
};

}  // namespace ostrel
