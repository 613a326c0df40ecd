#include "link/imagetransfer.h"

#include <algorithm>

#include "link/eculink.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {
constexpr int statusrows = 200;    // a processing line every 200 rows
constexpr int progressrows = 20;   // a transfer line every 20 rows
constexpr int closeafterstep = 5;  // the dialog stays at least this many ticks

QString percentline(const char* head, int percent, const char* tail = " % complete") {
  return QLatin1String(head) + QString::number(percent) + QLatin1String(tail);
}
}  // namespace

ImageTransfer::ImageTransfer(ProgramState& state, maps& mainmaps, Prompts& prompts, EcuLink& link)
    : state_(state), mainmaps_(mainmaps), prompts_(prompts), link_(link) {
  link_.settransfer(this);
}

ImageTransfer::~ImageTransfer() {
  link_.settransfer(nullptr);
}

void ImageTransfer::preparebuffer() {
  for (int r = 0; r < rowcount; ++r) {
    if (r % statusrows == 0) link_.host().statusmessage(percentline("Preparing buffer: ", (r / statusrows) * 10), true);
    for (int j = 0; j < 16; ++j) {
      // The ECU keeps its own last row (0xFFF0 to 0xFFFF); it is always sent as zeros.
      const std::uint8_t b = r == rowcount - 1 ? 0 : mainmaps_.getmapbufferbyte(r, j);
      tximage[imageindex(r, j)] = b;
    }
  }
}

void ImageTransfer::resettransfer() {
  transferline = -2;
  active_ = true;
  transferfailed = true;
  rta = -1;
  phase_ = Phase::running;
}

void ImageTransfer::queuefullwrite() {
  resettransfer();
  rows.clear();
  transfertotal = rowcount;
  for (int r = 0; r < rowcount; ++r) {
    std::array<std::uint8_t, 16> data{};
    if (r != rowcount - 1)
      for (int j = 0; j < 16; ++j) data[j] = tximage[imageindex(r, j)];
    rows.records[r] = TransferQueue::rowwrite(r, data);
  }
  rowsqueued_ = true;
  transferline = 0;
}

void ImageTransfer::queuefullread() {
  rows.clear();
  rximage.fill(0);
  transfertotal = rowcount;
  for (int r = 0; r < rowcount; ++r) rows.records[r] = TransferQueue::rowread(r);
  rowsqueued_ = true;
  transferline = 0;
  rta = -1;
}

// --- The link's side -----------------------------------------------------------------------------------------------

void ImageTransfer::transferstep(EcuLink& link) {
  if (!active_ || transferline < 0) return;
  // The row asked for last is done: on to the next.
  if (!transferfailed && transferline < transfertotal) {
    rows.records[transferline].op = 0;
    ++transferline;
  }
  if (transferline >= transfertotal) return;
  TxFrame frame{};
  int length = 0;
  if (state_.transfermode == 0) {
    length = rows.buildqueuewriteframe(transferline, frame);
    rta = imageaddress(transferline);
    rowssent_ = true;
  } else {
    length = rows.buildqueuereadframe(transferline, frame, rta);
  }
  link.sendrequest(frame, length);
  // Until its intact reply is in, this row is the one to send again.
  transferfailed = true;
  progressline(transferline);
}

void ImageTransfer::progressline(int row) {
  if (row % progressrows != 0) return;
  link_.host().statusmessage(percentline("Transferring data: ", std::min(100, row / progressrows)), true);
}

void ImageTransfer::transferreply(EcuLink& link) {
  if (!active_ || transferline < 0 || transferline >= transfertotal) return;
  // The reply answers a request that went out before this transfer asked for its row (one of a transfer that
  // ended meanwhile): it is no answer for the row, which goes again.
  if (rta != imageaddress(transferline)) return;
  if (state_.transfermode == 0) {
    transferfailed = false;
    if (transferline == transfertotal - 1) finishwrite();
    return;
  }
  const RxFrame& reply = link.rxframe();
  const int received = reply[16] * 256 + reply[17];
  if (received != rta) {
    transferfailed = true;
    link.logerror(QStringLiteral("Bad RTA = coms.RTA, RTA = ") + QString::number(received, 16).toUpper() +
                  QStringLiteral(", coms.RTA = ") + QString::number(rta));
    link.counterror();
    return;
  }
  for (int j = 0; j < 16; ++j) rximage[imageindex(transferline, j)] = reply[j];
  transferfailed = false;
  if (transferline == transfertotal - 1) finishread();
}

void ImageTransfer::transferlinkerror() {
  if (active_) transferfailed = true;
}

void ImageTransfer::finishwrite() {
  active_ = false;
  rows.clear();
  transferline = transfertotal;
  phase_ = Phase::finished;
  link_.host().statusmessage(QStringLiteral("Transferring data complete"), true);
}

void ImageTransfer::finishread() {
  active_ = false;
  rows.clear();
  transferline = transfertotal;
  phase_ = Phase::completing;
  if (state_.transfermode == 1) {
    // Row writes still waiting carry rows of the calibration that the image read now replaces: sent afterwards
    // they would make the ECU differ from what the PC shows.
    const int dropped = link_.removerowwrites();
    if (dropped > 0)
      link_.host().statusmessage(
          QStringLiteral("%1 row writes waiting for the ECU were dropped: the file was read from the ECU").arg(dropped),
          false);
  }
  // The comparison may ask questions: never inside the reply path.
  link_.defer([this] { complete(); });
}

void ImageTransfer::complete() {
  link_.host().statusmessage(QStringLiteral("Transferring data complete, processing data"), true);
  processtransfer(rximage);
  mainmaps_.recalc();
  LinkHost& host = link_.host();
  // The guards come from the image's own password records before the tree or the views show any of it.
  host.loadpasswordfragments(false);  // the passwords entered stay
  host.buildnavtree(true, false);
  host.openmapview();
  phase_ = Phase::finished;
}

void ImageTransfer::processtransfer(const CalibrationImage& image) {
  LinkHost& host = link_.host();
  if (state_.transfermode == 1) {
    for (int r = 0; r < rowcount; ++r) {
      for (int j = 0; j < 16; ++j) mainmaps_.setmapbufferbyte(r, j, image[imageindex(r, j)]);
      if (r % statusrows == 0)
        host.statusmessage(percentline("Transferring data complete, processing data, ", (r / statusrows) * 10), true);
    }
    state_.noreplyticks = 0;
    state_.imageread = true;
    return;
  }

  verifyerrors = 0;
  for (int r = 0; r < rowcount; ++r) {
    for (int j = 0; j < 16; ++j) {
      if (mainmaps_.getmapbufferbyte(r, j) == image[imageindex(r, j)]) continue;
      const QString line = QStringLiteral("Verify error at line: ") + QString::number(r);
      host.statusmessage(line, false);
      const Prompts::Answer answer = prompts_.message(line + QStringLiteral(" continue verify?"),
                                                      Prompts::Icon::Question, Prompts::Buttons::YesNo);
      ++verifyerrors;
      if (answer == Prompts::Answer::No) return;
    }
    if (r % statusrows == 0)
      host.statusmessage(QStringLiteral("Transferring data complete, verifying data, ") +
                             QString::number((r / statusrows) * 10) + QStringLiteral(" % complete with ") +
                             QString::number(verifyerrors) + QStringLiteral(" errors"),
                         true);
  }
  if (verifyerrors == 0)
    prompts_.message(QStringLiteral("The file stored in the ECU is the same as the file opened on your PC"),
                     Prompts::Icon::Information);
}

// --- The transfer dialog -------------------------------------------------------------------------------------------

ImageTransfer::WindowState ImageTransfer::windowopened() {
  dialogstep = 0;
  state_.transferwindowopen = true;
  phase_ = Phase::preparing;
  rowsqueued_ = blockqueued_ = rowssent_ = false;
  progress_ = 0;
  switch (state_.transfermode) {
    case 0:
      label_ = QStringLiteral("Please wait, preparing data");
      break;
    case 1:
      label_ = QStringLiteral("Uploading file from ECU");
      break;
    default:
      label_ = QStringLiteral("Uploading file for verify");
      break;
  }
  return {label_, progress_, false, {}};
}

ImageTransfer::WindowState ImageTransfer::windowtick() {
  if (dialogstep < maxdialogsteps) ++dialogstep;
  WindowState w{label_, progress_, false, {}};
  if (phase_ == Phase::idle || phase_ == Phase::ended) {
    w.close = true;
    return w;
  }
  if ((phase_ == Phase::preparing || phase_ == Phase::running) && !state_.online) {
    w.close = true;
    w.message = abortforclosedport();
    return w;
  }

  const bool write = state_.transfermode == 0;
  if (dialogstep == 1) {
    if (write)
      blockqueued_ = link_.queueramblockwrite();
    else
      resettransfer();
    progress_ = 0;
  }
  if (dialogstep >= 3 && !rowsqueued_ && (phase_ == Phase::preparing || phase_ == Phase::running)) {
    if (!write) {
      queuefullread();
    } else {
      if (!blockqueued_) blockqueued_ = link_.queueramblockwrite();
      // The rows go only once the ECU has taken the block table (and any edit queued before it).
      if (blockqueued_ && !link_.transferqueue().headiswrite()) queuefullwrite();
    }
  }
  if (active_) {
    if (transfertotal > 0 && transferline > 0) progress_ = std::min(99, transferline * 99 / transfertotal);
    if (transferline == transfertotal - 1)
      label_ = QStringLiteral("Please wait, processing data");
    else
      label_ = write ? QStringLiteral("File transferring from PC to ECU")
                     : QStringLiteral("File transferring from ECU to PC");
  }
  w.label = label_;
  w.progress = progress_;
  w.close = phase_ == Phase::finished && dialogstep > closeafterstep;
  return w;
}

QString ImageTransfer::endtext() const {
  switch (state_.transfermode) {
    case 0:
      return rowssent_ ? QStringLiteral("the ECU holds an incomplete file") : QStringLiteral("the ECU was not changed");
    case 1:
      return QStringLiteral("nothing was read from the ECU");
    default:
      return QStringLiteral("the verify was not completed");
  }
}

void ImageTransfer::endrun() {
  active_ = false;
  phase_ = Phase::ended;
  rows.clear();
}

bool ImageTransfer::cancel() {
  if (phase_ == Phase::completing) return false;  // the comparison's own questions can stop it
  if (phase_ == Phase::preparing || phase_ == Phase::running) {
    link_.host().statusmessage(QStringLiteral("File transfer cancelled: ") + endtext(), false);
    endrun();
  }
  return true;
}

QString ImageTransfer::abortforclosedport() {
  if (phase_ != Phase::preparing && phase_ != Phase::running) return {};
  const QString text =
      QStringLiteral("The connection to the ECU was closed, the file transfer has stopped: ") + endtext();
  link_.host().statusmessage(text, false);
  endrun();
  return text;
}

void ImageTransfer::windowclosed() {
  if (phase_ == Phase::preparing || phase_ == Phase::running) cancel();
  state_.transferwindowopen = false;
  if (phase_ != Phase::completing) phase_ = Phase::idle;
}

}  // namespace ostrel
