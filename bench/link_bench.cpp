// CPU time of one step of the ECU link: a live poll, a queued write, a live poll answered by the simulator, and a
// step of a whole-image transfer (a row write, a row read answered by the simulator, storing a read image).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <deque>

#include "calibration/maps.h"
#include "common/linkhelpers.h"
#include "ecusim/ecusimulator.h"
#include "ecusim/simport.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace {

using namespace ostrel;

// Answers every request at once with the same intact reply, so that only the link's own work is measured.
class CannedPort final : public CommPort {
 public:
  CannedPort() {
    std::array<std::uint8_t, 18> data{};
    for (int k = 0; k < 18; ++k) data[k] = static_cast<std::uint8_t>(7 * k + 3);
    reply_ = encodereply(data);
  }
  bool open(const QString&, QString&) override { return open_ = true; }
  void close() override { open_ = false; }
  bool isopen() const override { return open_; }
  QString device() const override { return QStringLiteral("canned"); }
  int inbuffercount() override { return static_cast<int>(inbox_.size()); }
  int read(std::uint8_t* buffer, int max) override {
    int n = 0;
    for (; n < max && !inbox_.empty(); ++n) {
      buffer[n] = inbox_.front();
      inbox_.pop_front();
    }
    return n;
  }
  bool write(const std::uint8_t*, int) override {
    inbox_.insert(inbox_.end(), reply_.begin(), reply_.end());
    return true;
  }
  void discardinput() override { inbox_.clear(); }
  bool failed(QString*) const override { return false; }

 private:
  bool open_ = false;
  std::array<std::uint8_t, 19> reply_{};
  std::deque<std::uint8_t> inbox_;
};

// A link with its install folder, model and state, connected through the given port.
struct Bench {
  explicit Bench(CommPort& port) : link(state, model, prompts, port) {
    setinstallfolder(folder.path());
    QFile file(folder.path() + QStringLiteral("/comports.txt"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write("/dev/null\n");
    file.close();
    link.openport();
    for (int i = 0; i < 10; ++i) link.tick();  // past the start-up wait
  }
  QTemporaryDir folder;
  ProgramState state;
  RecordingPrompts prompts;
  maps model{prompts};
  EcuLink link;
};

void BM_TickLivePoll(benchmark::State& s) {
  CannedPort port;
  Bench b(port);
  for (auto _ : s) b.link.tick();
  s.counters["errors"] = b.link.errorcount();
}
BENCHMARK(BM_TickLivePoll);

void BM_TickQueuedWrite(benchmark::State& s) {
  CannedPort port;
  Bench b(port);
  std::array<std::uint8_t, 16> data{};
  for (auto _ : s) {
    // Keep two writes waiting, so that every plan chosen is the queued-write plan.
    while (!TransferQueue::iswrite(b.link.transferqueue().records[1].op))
      ostrel::test::LinkProbe::queue(b.link).append(TransferQueue::ramwrite(0x5680, data));
    b.link.tick();
  }
}
BENCHMARK(BM_TickQueuedWrite);

void BM_TickLivePollWithSimulator(benchmark::State& s) {
  ecusim::EcuSimulator sim;
  ecusim::SimPort port(sim);
  Bench b(port);
  for (auto _ : s) {
    b.link.tick();
    port.step();
  }
}
BENCHMARK(BM_TickLivePollWithSimulator);

// A whole-image write running for good: every tick sends one row (the canned reply acknowledges it).
void BM_TickTransferWrite(benchmark::State& s) {
  CannedPort port;
  Bench b(port);
  ImageTransfer transfer(b.state, b.model, b.prompts, b.link);
  b.state.transfermode = 0;
  transfer.preparebuffer();
  for (auto _ : s) {
    if (!transfer.transferactive()) transfer.queuefullwrite();
    b.link.tick();
  }
}
BENCHMARK(BM_TickTransferWrite);

// A whole-image read answered by the simulator; once in 2049 ticks the image is stored into the model.
void BM_TickTransferReadWithSimulator(benchmark::State& s) {
  ecusim::EcuSimulator sim;
  ecusim::SimPort port(sim);
  Bench b(port);
  ImageTransfer transfer(b.state, b.model, b.prompts, b.link);
  b.state.transfermode = 1;
  std::int64_t reads = 0;
  for (auto _ : s) {
    if (!transfer.transferactive()) {
      transfer.resettransfer();
      transfer.queuefullread();
      ++reads;
    }
    b.link.tick();
    port.step();
  }
  s.counters["errors"] = b.link.errorcount();
  s.counters["reads"] = static_cast<double>(reads);
}
BENCHMARK(BM_TickTransferReadWithSimulator);

// The end of a read: the received image into the model, then the recalculation.
void BM_StoreReadImage(benchmark::State& s) {
  CannedPort port;
  Bench b(port);
  ImageTransfer transfer(b.state, b.model, b.prompts, b.link);
  b.state.transfermode = 1;
  for (int i = 0; i < imagesize; ++i) transfer.rximage[i] = static_cast<std::uint8_t>(i * 7);
  for (auto _ : s) {
    transfer.processtransfer(transfer.rximage);
    b.model.recalc();
  }
}
BENCHMARK(BM_StoreReadImage);

}  // namespace

BENCHMARK_MAIN();
