// The rows of whole-image transfers over the in-process simulator: progress, repeats after damaged replies, rows
// answered for the wrong address, verify questions, and what waits in the write queue meanwhile.
#include <algorithm>
#include <functional>

#include "common/linkhelpers.h"
#include "link/imagetransfer.h"
#include "linkfixture.h"

namespace ostrel::test {
namespace {

using ecusim::Fault;

class Rows : public SimLink {
 protected:
  Rows() {
    for (int i = 0; i < imagesize; ++i) image[i] = static_cast<std::uint8_t>((i * 13 + i / 16) % 253);
    std::fill(image.end() - 16, image.end(), 0);  // row 2047 as a write leaves it in the ECU
    // As a calibration holds it: base fuel cells (16-bit, the first 2048 bytes) stop at 8000.
    maps scratch{prompts};
    scratch.setimage(image);
    image = scratch.getimage();
  }

  // Dialog ticks, each followed by a second of link ticks, until the dialog closes.
  ImageTransfer::WindowState runtransfer(std::uint8_t mode, const std::function<void()>& eachtick = {}) {
    state.transfermode = mode;
    if (mode == 0) transfer.preparebuffer();
    transfer.windowopened();
    for (int t = 0; t < 300; ++t) {
      const auto w = transfer.windowtick();
      if (w.close) {
        transfer.windowclosed();
        return w;
      }
      for (int i = 0; i < 33; ++i) {
        if (eachtick) eachtick();
        step();
      }
    }
    ADD_FAILURE() << "the dialog never closed";
    return {};
  }

  std::vector<QString> lines(const QString& head) const {
    std::vector<QString> out;
    for (const QString& l : host.statuslines)
      if (l.startsWith(head)) out.push_back(l);
    return out;
  }
  std::vector<int> rowframes(std::uint8_t op) const {
    std::vector<int> rows;
    for (const auto& f : port.written) {
      if (f[0] == 0x81 && op == 0x81) rows.push_back((f[2] * 256 + f[3] - 0x8000) / 16);
      if (f[0] == 0x82 && op == 0x82) rows.push_back(f[3] * 16 + f[4] / 16);
    }
    return rows;
  }

  ImageTransfer transfer{state, model, prompts, link};
  CalibrationImage image{};
};

TEST_F(Rows, AWriteShowsItsProgressEveryTwentyRows) {
  model.setimage(image);
  connectandsettle();
  runtransfer(0);
  std::vector<QString> expected;
  for (int r = 0; r < 2048; r += 20)
    expected.push_back(QStringLiteral("Transferring data: %1 % complete").arg(std::min(100, r / 20)));
  EXPECT_EQ(lines(QStringLiteral("Transferring data: ")), expected);  // ... 98, 99 at row 1980, 100 from row 2000
  std::vector<QString> preparing;
  for (int p = 0; p <= 100; p += 10) preparing.push_back(QStringLiteral("Preparing buffer: %1 % complete").arg(p));
  EXPECT_EQ(lines(QStringLiteral("Preparing buffer: ")), preparing);
  EXPECT_EQ(lines(QStringLiteral("Transferring data complete")).size(), 1u);
  EXPECT_EQ(sim.image(), image);
}

TEST_F(Rows, AWriteSendsARowAgainUntilItsReplyIsIntactAndEndsOnlyWhenAllAre) {
  model.setimage(image);
  connectandsettle();
  bool damaged = false, lost = false;
  long lastrowsends = -1;  // sends of row 2047 when the write ended
  runtransfer(0, [&] {
    // Between ticks the row just sent is transferline; the simulator has answered it already, so a fault injected
    // now hits the next row: the reply to row 500 comes back damaged, the one to row 2047 not at all.
    if (!damaged && transfer.transferline == 499) {
      damaged = true;
      sim.injectfault(Fault::corruptbyte);
    }
    if (!lost && transfer.transferline == 2046) {
      lost = true;
      sim.injectfault(Fault::noreply);
    }
    if (lost && lastrowsends < 0 && !transfer.transferactive()) {
      const std::vector<int> rows = rowframes(0x81);
      lastrowsends = std::count(rows.begin(), rows.end(), 2047);
    }
  });
  ASSERT_TRUE(damaged && lost);
  EXPECT_EQ(lastrowsends, 2) << "the write ends only once the ECU has answered its last row";
  const std::vector<int> rows = rowframes(0x81);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), 500), 2);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), 2047), 2);
  EXPECT_EQ(rows.size(), 2050u);
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
  EXPECT_EQ(sim.image(), image);
  EXPECT_EQ(lines(QStringLiteral("Transferring data complete")).size(), 1u);
}

TEST_F(Rows, TheImagesRowsCountAsWaitingWritesUntilTheLastIsSent) {
  model.setimage(image);
  connectandsettle();
  // From the dialog tick that queues the rows to the end of the write, the live panel and the tools see the last
  // of the 2048 row writes waiting; the block table before it counts as the link's own queue.
  std::vector<int> seen;
  runtransfer(0, [&] {
    if (transfer.transferline == -2 || transfer.transferline >= 2047) return;
    if (seen.empty() || seen.back() != link.lastqueuedtransfer()) seen.push_back(link.lastqueuedtransfer());
  });
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 2047);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 2047), 1) << "it stays at 2047 while the rows go";
  EXPECT_EQ(link.lastqueuedtransfer(), 0);

  // Right after the rows are queued, whatever the link's own queue holds; a read's rows are no writes.
  state.transfermode = 0;
  transfer.queuefullwrite();
  EXPECT_EQ(link.transferqueue().lastqueuedtransfer(), 0);
  EXPECT_EQ(link.lastqueuedtransfer(), 2047);
  transfer.cancel();
  state.transfermode = 1;
  transfer.resettransfer();
  transfer.queuefullread();
  EXPECT_EQ(link.lastqueuedtransfer(), 0);
}

TEST_F(Rows, AReplyForAnotherRowIsLoggedAndTheRowAskedAgain) {
  state.transfermode = 1;
  transfer.resettransfer();
  transfer.queuefullread();
  RxFrame& rx = LinkProbe::rxframe(link);
  // Row 16 (address 256) asked, row 1 (address 16) answered.
  transfer.transferline = 16;
  transfer.rta = 256;
  rx.fill(0x33);
  rx[16] = 0x00;
  rx[17] = 0x10;
  transfer.transferfailed = true;
  transfer.transferreply(link);
  ASSERT_EQ(link.errlog().size(), 1u);
  EXPECT_TRUE(
      link.errlog().back().endsWith(QStringLiteral(", [TRYCOMM], Bad RTA = coms.RTA, RTA = 10, coms.RTA = 256")))
      << link.errlog().back().toStdString();
  EXPECT_EQ(link.errorcount(), 1);
  EXPECT_TRUE(transfer.transferfailed);
  EXPECT_EQ(transfer.rximage[ImageTransfer::imageindex(16, 0)], 0);

  // The last row answered for the wrong address completes nothing; the right one does.
  transfer.transferline = 2047;
  transfer.rta = 16 * 2047;
  rx[16] = 0x7F;
  rx[17] = 0xE0;  // row 2046
  transfer.transferreply(link);
  EXPECT_TRUE(transfer.transferactive());
  EXPECT_TRUE(host.completion.empty());
  rx[17] = 0xF0;
  transfer.transferreply(link);
  EXPECT_FALSE(transfer.transferactive());
  EXPECT_EQ(host.completion,
            (std::vector<QString>{QStringLiteral("loadpasswordfragments 0"), QStringLiteral("buildnavtree 1 0"),
                                  QStringLiteral("openmapview")}));
  EXPECT_EQ(model.getmapbufferbyte(2047, 0), 0x33);
  EXPECT_TRUE(state.imageread);
}

TEST_F(Rows, VerifyAsksPerDifferingByteAndNoStopsTheComparison) {
  model.setimage(image);
  CalibrationImage ecu = image;
  ecu[16 * 100 + 2] ^= 1;
  ecu[16 * 100 + 9] ^= 1;
  ecu[16 * 300] ^= 1;
  ecu[16 * 400 + 1] ^= 1;
  sim.setimage(ecu);
  prompts.answers = {Prompts::Answer::Yes, Prompts::Answer::Yes, Prompts::Answer::No};
  connectandsettle();
  runtransfer(2);
  EXPECT_EQ(prompts.messages(), (std::vector<QString>{QStringLiteral("Verify error at line: 100 continue verify?"),
                                                      QStringLiteral("Verify error at line: 100 continue verify?"),
                                                      QStringLiteral("Verify error at line: 300 continue verify?")}));
  EXPECT_EQ(transfer.verifyerrors, 3);
  EXPECT_EQ(lines(QStringLiteral("Verify error at line: ")).size(), 3u);
  // The comparison stopped at row 300: the last verifying line is the one of row 200.
  EXPECT_EQ(lines(QStringLiteral("Transferring data complete, verifying data, ")).back(),
            QStringLiteral("Transferring data complete, verifying data, 10 % complete with 2 errors"));
  EXPECT_EQ(host.completion.size(), 3u) << "the completion steps still run";
  EXPECT_EQ(model.getimage(), image);
  EXPECT_FALSE(state.imageread);
}

TEST_F(Rows, AReadAsksNothingBeforeItsRowsAreQueuedAndThenStartsAtRowZero) {
  sim.setimage(image);
  connectandsettle();
  state.transfermode = 1;
  transfer.windowopened();
  transfer.windowtick();  // step 1: the transfer owns the link, with no rows yet
  step(60);
  EXPECT_TRUE(rowframes(0x82).empty());
  EXPECT_EQ(link.curplan(), 7);
  transfer.windowtick();
  step(33);
  EXPECT_TRUE(rowframes(0x82).empty());
  transfer.windowtick();  // step 3: the rows
  step(10);
  const std::vector<int> rows = rowframes(0x82);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.front(), 0);
}

// The first tick after connecting finds no reply and asks for live site data; its reply then waits unread through
// the wait. The read takes the link meanwhile and its step at the end of the wait sends nothing (no rows queued
// yet), so nothing flushes the input. That reply answers no request of the read: row 0 is the ECU's row 0.
TEST_F(Rows, AReplyLeftFromBeforeTheWaitIsNeverTakenForARow) {
  sim.setimage(image);
  ASSERT_TRUE(link.openport());
  step();  // short (nothing yet), and the live site request goes out
  ASSERT_EQ(labels(), QStringList{QStringLiteral("site")});
  step(3);  // idle; the ECU's answer waits
  ASSERT_EQ(port.inbuffercount(), 19);
  state.transfermode = 1;
  transfer.resettransfer();  // the dialog's first tick
  step();                    // the end of the wait; the read owns the link and has no row to ask
  ASSERT_EQ(port.written.size(), 1u);
  transfer.queuefullread();  // the dialog's third tick
  const std::size_t lines = link.errlog().size();
  step();
  std::vector<std::uint8_t> row0;
  for (int j = 0; j < 16; ++j) row0.push_back(transfer.rximage[ImageTransfer::imageindex(0, j)]);
  EXPECT_EQ(row0, std::vector<std::uint8_t>(16, 0)) << "the live site reply was stored as row 0";
  EXPECT_EQ(transfer.transferline, 0);
  EXPECT_TRUE(transfer.transferfailed);
  EXPECT_EQ(link.errlog().size(), lines + 1) << "bytes that answer nothing are a link error";
  EXPECT_TRUE(link.errlog().back().contains(QStringLiteral("Bad IBC")));
  EXPECT_EQ(rowframes(0x82), std::vector<int>{0});

  for (int i = 0; i < 2200 && transfer.busy(); ++i) step();
  EXPECT_FALSE(transfer.busy());
  EXPECT_EQ(model.getimage(), image);
  const std::vector<int> rows = rowframes(0x82);
  EXPECT_EQ(std::count(rows.begin(), rows.end(), 0), 2) << "row 0 asked again after the wait, then every row once";
  EXPECT_EQ(rows.size(), 2049u);
}

// A transfer ends (cancelled) while the reply to its row 300 is on the line, and the next one starts before the
// link's next tick. That reply answers a row of the old transfer, not row 0 of the new one.
TEST_F(Rows, AReplyToARowOfAnEndedTransferIsNoAnswerForTheNext) {
  for (const std::uint8_t mode : {std::uint8_t{1}, std::uint8_t{0}}) {
    SCOPED_TRACE(mode == 1 ? "read" : "write");
    CalibrationImage old{};
    old.fill(0x5A);
    model.setimage(mode == 1 ? old : image);
    sim.setimage(mode == 1 ? image : old);
    const auto start = [&] {
      state.transfermode = mode;
      if (mode == 1) {
        transfer.resettransfer();
        transfer.queuefullread();
      } else {
        transfer.preparebuffer();
        transfer.queuefullwrite();
      }
    };
    connectandsettle();
    start();
    for (int i = 0; i < 400 && !(transfer.transferline == 300 && transfer.transferfailed); ++i) step();
    ASSERT_EQ(transfer.transferline, 300);
    ASSERT_EQ(port.inbuffercount(), 19) << "row 300's reply waits";
    transfer.cancel();
    start();
    port.written.clear();
    step();
    EXPECT_EQ(transfer.transferline, 0);
    ASSERT_EQ(port.written.size(), 1u);
    EXPECT_EQ(rowframes(mode == 1 ? 0x82 : 0x81), std::vector<int>{0}) << "row 0 is asked for, not taken as done";
    if (mode == 1) {
      std::vector<std::uint8_t> row0;
      for (int j = 0; j < 16; ++j) row0.push_back(transfer.rximage[ImageTransfer::imageindex(0, j)]);
      EXPECT_EQ(row0, std::vector<std::uint8_t>(16, 0)) << "row 300 stored as row 0";
    }
    for (int i = 0; i < 2200 && transfer.busy(); ++i) step();
    EXPECT_FALSE(transfer.busy());
    EXPECT_EQ(model.getimage(), image);
    EXPECT_EQ(sim.image(), image);
    link.closeport();
  }
}

TEST_F(Rows, RowWritesWaitingWhenAReadEndsAreDropped) {
  sim.setimage(image);
  connectandsettle();
  state.transfermode = 1;
  transfer.windowopened();
  transfer.windowtick();
  // An edit whose countdown ran out just after the read began.
  model.setdata(8, 5, 7, 99, true);
  ASSERT_EQ(link.queuemapwrite(8, 5, 5, 7, 7), 9);
  for (int t = 0; t < 100 && !transfer.windowtick().close; ++t) step(33);
  transfer.windowclosed();
  EXPECT_EQ(model.getimage(), image);
  EXPECT_EQ(lines(QStringLiteral("1 row writes waiting for the ECU were dropped")).size(), 1u);
  step(30);
  EXPECT_FALSE(link.transferqueue().headiswrite()) << "the block-table writes went";
  EXPECT_TRUE(rowframes(0x81).empty());
  EXPECT_EQ(sim.image(), image) << "the ECU still holds what the PC now shows";
}

TEST_F(Rows, TheDialogCounterStopsAndAStuckWriteNeverStartsAgain) {
  model.setimage(image);
  connectandsettle();
  sim.setfaultrate(Fault::noreply, 1.0);
  state.transfermode = 0;
  transfer.preparebuffer();
  transfer.windowopened();
  for (int t = 0; t < 1200; ++t) {
    ASSERT_FALSE(transfer.windowtick().close);
    step();
  }
  EXPECT_EQ(transfer.dialogstep, ImageTransfer::maxdialogsteps);
  EXPECT_EQ(link.transferqueue().firstfree(), 8) << "the block table was queued once and is still waiting";
  EXPECT_FALSE(transfer.transferactive()) << "no row goes before the ECU has taken the block table";
  EXPECT_TRUE(transfer.cancel());
  EXPECT_EQ(host.statuslines.back(), QStringLiteral("File transfer cancelled: the ECU was not changed"));
}

}  // namespace
}  // namespace ostrel::test
