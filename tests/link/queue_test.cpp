// Edited rows on their way to the ECU: the records queued for a rectangle of cells, the block table ahead of each
// batch, a full queue, and writes queued while a whole-image transfer holds the link.
#include <algorithm>

#include "calibration/bytetables.h"
#include "common/linkhelpers.h"
#include "link/imagetransfer.h"
#include "linkfixture.h"

namespace ostrel::test {
namespace {

struct DebugHost : RecordingHost {
  std::vector<QString> debuglines;
  void debugmessage(const QString& text) override { debuglines.push_back(text); }
};

class Queue : public SimLink {
 protected:
  Queue() {
    link.sethost(&debughost);
    // Every image byte different, so a record's data tells which row it came from.
    CalibrationImage image{};
    for (int i = 0; i < imagesize; ++i) image[i] = static_cast<std::uint8_t>((i * 7 + i / 16) % 251);
    model.setimage(image);
  }
  std::vector<TransferRecord> waiting() const {
    std::vector<TransferRecord> out;
    for (const TransferRecord& r : link.transferqueue().records)
      if (r.op != 0) out.push_back(r);
    return out;
  }
  DebugHost debughost;
};

struct RectCase {
  const char* what;
  std::uint8_t map, lowrow, highrow, lowcol, highcol;
  std::vector<int> rows;  // image rows written, in order
};

TEST_F(Queue, ARectangleQueuesTheBlockTableThenEachDistinctRowOnce) {
  const RectCase cases[] = {
      {"one cell of a 3-D map", 8, 5, 5, 7, 7, {586}},
      {"two cells of one image row", 8, 5, 5, 7, 8, {586}},
      {"a map row across two image rows", 8, 5, 5, 15, 16, {586, 587}},
      {"16-bit cells: eight to an image row", 0, 3, 3, 0, 15, {12, 13}},
      {"rows past a 2-D map's one row are not its cells", 24, 0, 31, 2, 5, {1600}},
      {"a settings map whole", 110, 0, 15, 0, 15, {}},
      {"the reset rectangle", 8, 31, 0, 31, 0, {}},
  };
  for (const RectCase& c : cases) {
    SCOPED_TRACE(c.what);
    LinkProbe::queue(link).clear();
    std::vector<int> rows = c.rows;
    if (c.map == 110)
      for (int r = 0; r < 16; ++r) rows.push_back(model.getbufferrow(110, r, 0));
    const int queued = link.queuemapwrite(c.map, c.lowrow, c.highrow, c.lowcol, c.highcol);
    const std::vector<TransferRecord> w = waiting();
    ASSERT_EQ(queued, static_cast<int>(w.size()));
    if (rows.empty()) {
      EXPECT_TRUE(w.empty());
      continue;
    }
    ASSERT_EQ(w.size(), 8 + rows.size());
    for (int k = 0; k < 8; ++k) {
      EXPECT_EQ(w[k].op, 0x80);
      EXPECT_EQ(w[k].addresshigh * 256 + w[k].addresslow, 0x5680 + 16 * k);
      EXPECT_EQ(w[k].count, 16);
      EXPECT_EQ(w[k].data, blocktable()[k]);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const TransferRecord& r = w[8 + i];
      EXPECT_EQ(r.op, 0x81);
      EXPECT_EQ(r.addresshigh * 256 + r.addresslow, 0x8000 + 16 * rows[i]);
      EXPECT_EQ(r.count, 16);
      EXPECT_TRUE(r.status);
      for (int j = 0; j < 16; ++j) EXPECT_EQ(r.data[j], model.getmapbufferbyte(rows[i], j));
    }
    EXPECT_EQ(link.transferqueue().lastqueuedtransfer(), static_cast<int>(w.size()) - 1);
  }
}

TEST_F(Queue, TheQueueIsListedAsDebugLines) {
  link.queuemapwrite(8, 5, 5, 7, 7);
  ASSERT_EQ(debughost.debuglines.size(), 9u);
  EXPECT_EQ(debughost.debuglines[0], QStringLiteral("0, 80, 10, 56, 80"));
  EXPECT_EQ(debughost.debuglines[7], QStringLiteral("7, 80, 10, 56, F0"));
  EXPECT_EQ(debughost.debuglines[8], QStringLiteral("8, 81, 10, A4, A0"));  // row 586 at 0xA4A0
}

TEST_F(Queue, AFullQueueRefusesTheWholeBatchAndSaysSo) {
  std::array<std::uint8_t, 16> data{};
  while (link.transferqueue().room() > 9) LinkProbe::queue(link).append(TransferQueue::ramwrite(0x5000, data));
  const auto before = link.transferqueue().records;
  EXPECT_EQ(link.queuemapwrite(8, 5, 5, 7, 8), 9) << "nine records still fit";
  EXPECT_EQ(link.transferqueue().room(), 0);
  LinkProbe::queue(link).removequeuehead();
  EXPECT_EQ(link.queuemapwrite(8, 6, 6, 0, 0), 0);
  EXPECT_EQ(link.transferqueue().room(), 1) << "no part of a batch is queued";
  ASSERT_FALSE(debughost.statuslines.empty());
  EXPECT_EQ(debughost.statuslines.back(),
            QStringLiteral("The transfer queue is full: 1 rows of map 8 were not queued for the ECU"));
  EXPECT_TRUE(std::equal(before.begin() + 1, before.end() - 9, link.transferqueue().records.begin()))
      << "nothing queued is overwritten";
}

TEST_F(Queue, TheWaitingCountAndTheHead) {
  EXPECT_EQ(link.transferqueue().lastqueuedtransfer(), 0);
  LinkProbe::queue(link).append(TransferQueue::ramwrite(0x5680, {}));
  EXPECT_EQ(link.transferqueue().lastqueuedtransfer(), 0) << "one waiting write counts as none beyond the head";
  LinkProbe::queue(link).removequeuehead();
  EXPECT_FALSE(link.transferqueue().headiswrite());
  EXPECT_EQ(link.transferqueue().room(), TransferQueue::size);
}

TEST_F(Queue, TakingOutTheRowWritesKeepsTheOtherWritesInOrder) {
  LinkProbe::queue(link).append(TransferQueue::ramwrite(0x6000, {}));
  link.queuemapwrite(8, 5, 5, 7, 16);  // block table and two rows
  LinkProbe::queue(link).append(TransferQueue::ramwrite(0x6010, {}));
  EXPECT_EQ(LinkProbe::queue(link).removerowwrites(), 2);
  const std::vector<TransferRecord> w = waiting();
  ASSERT_EQ(w.size(), 10u);
  EXPECT_EQ(w.front().addresshigh * 256 + w.front().addresslow, 0x6000);
  EXPECT_EQ(w[1].addresshigh * 256 + w[1].addresslow, 0x5680);
  EXPECT_EQ(w.back().addresshigh * 256 + w.back().addresslow, 0x6010);
  EXPECT_EQ(link.transferqueue().firstfree(), 10) << "the waiting writes still run from record 0";
}

TEST(TransferRecords, ReadAndWriteRecordsOfAnImageRow) {
  TransferQueue q;
  q.records[0] = TransferQueue::rowread(1500);
  EXPECT_EQ(q.records[0].page, 61);
  EXPECT_EQ(q.records[0].addresshigh, 0x5D);
  EXPECT_EQ(q.records[0].addresslow, 0xC0);
  TxFrame frame{};
  std::int32_t rta = 0;
  ASSERT_EQ(q.buildqueuereadframe(0, frame, rta), 7);
  EXPECT_EQ(rta, 0x5DC0);
  EXPECT_EQ((std::vector<int>{frame[0], frame[1], frame[2], frame[3], frame[4]}),
            (std::vector<int>{0x82, 7, 61, 0x5D, 0xC0}));
  q.records[1] = TransferQueue::rowwrite(2047, {});
  ASSERT_EQ(q.buildqueuewriteframe(1, frame), 22);
  EXPECT_EQ(frame[2] * 256 + frame[3], 0xFFF0);
}

// A whole-image write holds the link; a write queued meanwhile waits for its end and leaves its rows alone.
TEST_F(Queue, AWriteQueuedDuringATransferIsSentAfterIt) {
  ImageTransfer transfer{state, model, prompts, link};
  connectandsettle();
  state.transfermode = 0;
  transfer.preparebuffer();
  transfer.windowopened();
  for (int t = 0; t < 3; ++t) {
    transfer.windowtick();
    step(33);
  }
  ASSERT_TRUE(transfer.transferactive());
  while (transfer.transferline < 1000) step();
  const auto rows = transfer.rows.records;

  model.setdata(8, 5, 7, model.getdata(8, 5, 7) + 3, true);
  ASSERT_EQ(link.queuemapwrite(8, 5, 5, 7, 7), 9);
  EXPECT_TRUE(std::equal(rows.begin() + 1000, rows.end(), transfer.rows.records.begin() + 1000))
      << "the transfer's rows are untouched";
  port.written.clear();
  for (int t = 0; t < 100 && transfer.busy(); ++t) {
    transfer.windowtick();
    step(33);
  }
  ASSERT_FALSE(transfer.busy());
  step(20);

  // The rest of the transfer's rows, then the block table and the edited row. Live polls write elsewhere.
  std::vector<int> writes;  // image row of a row write, ECU RAM address of a block-table write
  for (const auto& f : port.written) {
    if (f[0] == 0x81) writes.push_back((f[2] * 256 + f[3] - 0x8000) / 16);
    if (f[0] == 0x80 && f[2] == 0x56) writes.push_back(f[2] * 256 + f[3]);
  }
  ASSERT_GT(writes.size(), 9u);
  const std::vector<int> rest(writes.begin(), writes.end() - 9), tail(writes.end() - 9, writes.end());
  EXPECT_LE(rest.front(), 1001);
  EXPECT_EQ(rest.back(), 2047);
  EXPECT_TRUE(std::is_sorted(rest.begin(), rest.end()));
  EXPECT_EQ(tail, (std::vector<int>{0x5680, 0x5690, 0x56A0, 0x56B0, 0x56C0, 0x56D0, 0x56E0, 0x56F0, 586}));

  // The ECU holds the edited calibration; its last row went as zeros, whatever the model holds there.
  const CalibrationImage pc = model.getimage();
  EXPECT_TRUE(std::equal(pc.begin(), pc.end() - 16, sim.image().begin()));
  EXPECT_NE(pc[imagesize - 1], 0);
  EXPECT_TRUE(std::all_of(sim.image().end() - 16, sim.image().end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_FALSE(link.transferqueue().headiswrite());
}

}  // namespace
}  // namespace ostrel::test
