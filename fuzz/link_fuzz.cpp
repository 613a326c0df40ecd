// The link against a line whose answers the fuzzer chooses: right replies, a changed byte, short replies, extra
// bytes, garbage, nothing, late replies, intact replies to another request and bytes nobody asked for; between
// ticks it moves the live-window selector and the current map, queues writes, unplugs, closes and reopens the port,
// and runs whole-image writes, reads and verifies through the transfer dialog's steps.
//
// After every tick it referees what the link did:
// - it reads a reply only on the first tick after its own request, and only bytes that came after that request;
// - one request per tick at most, none while the reply to the last one is missing, each the request of its slot;
// - without a reply taken (19 bytes with a right check byte) nothing derived from replies changes: live values,
//   poll index, window data and log samples, the write queue, the received image, the calibration, the transfer;
// - a taken reply changes only what its own request asked for, and a read row lands only at the row asked for,
//   when the reply carries that row's address;
// - window data reaches a window or the log only when it was asked for under the selector it is handed to, while
//   the link knew the ECU to hold that selector's request table, and the ECU then did hold it;
// - a transfer asks for row 0 first and for each row until its reply is in (a read: for the right row), and ends
//   with what it promised: a write leaves the ECU holding the image, a read of intact answers stores the ECU's.
//
// Input: a stream of commands. A byte below 0x80 is a run of ticks, (byte >> 3) + 1 of them, each answered as
// byte & 7 says (see Answer); bytes above are actions (see Harness::action). Parameters follow their command.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "calibration/maps.h"
#include "fakeline.h"
#include "fuzzsupport.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"

using namespace ostrel;
using namespace ostrel::fuzz;

namespace {

// Ticks an input may ask for in all: enough for a few whole-image transfers, short enough for a long campaign.
constexpr int maxticks = 12000;
constexpr int dialogticks = 33;  // link ticks per tick of the transfer dialog: a second of the 30 ms timer
// The calibration and the whole write queue are compared this often and at the end, and the calibration whenever
// a read ends: a full comparison on every tick would cost more than the tick.
constexpr int fullcheckticks = 64;

enum class Answer : std::uint8_t { right, changed, shortreply, extra, garbage, nothing, late, another };

// The command stream; zeros past its end.
class Script {
 public:
  Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// Parameters of the background faults: a small generator seeded from the input.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : x_(seed | 1) {}
  std::uint8_t next() {
    x_ ^= x_ << 13;
    x_ ^= x_ >> 17;
    x_ ^= x_ << 5;
    return static_cast<std::uint8_t>(x_ >> 8);
  }

 private:
  std::uint32_t x_;
};

struct Host final : LinkHost {
  int redraws = 0;  // what only replies cause: panel, graph, grid
  int samples = 0;
  RxFrame lastsample{};
  int completions = 0;
  void drawpanel(bool) override { ++redraws; }
  void drawmap(bool) override { ++redraws; }
  void scrollgridtocell(bool) override { ++redraws; }
  void updategridhighlights(bool) override { ++redraws; }
  void filldatagrid(bool) override { ++redraws; }
  void addlogsample(const RxFrame& frame) override {
    ++samples;
    lastsample = frame;
  }
  void buildnavtree(bool, bool) override { ++completions; }
  void loadpasswordfragments(bool) override { ++completions; }
  void openmapview() override { ++completions; }
};

// The live variables each reply sets.
constexpr std::array<int, 11> sitevars = {0, 1, 2, 4, 5, 11, 12, 14, 15, 16, 17};
constexpr std::array<int, 7> valuevars = {3, 6, 7, 8, 9, 10, 13};

template <std::size_t N>
bool varssame(const LiveData& a, const LiveData& b, const std::array<int, N>& vars) {
  return std::all_of(vars.begin(), vars.end(), [&](int v) { return a.livevars[v] == b.livevars[v]; });
}
bool sitesame(const LiveData& a, const LiveData& b) {
  return a.liverpm == b.liverpm && a.liverow == b.liverow && a.livecol == b.livecol && varssame(a, b, sitevars);
}
bool valuessame(const LiveData& a, const LiveData& b) {
  return varssame(a, b, valuevars) && a.livevaluesreplies == b.livevaluesreplies && a.livesample == b.livesample &&
         a.afrtarget == b.afrtarget &&
         a.pwprotected == b.pwprotected && a.pwmatchmask == b.pwmatchmask && a.afrerrorhold == b.afrerrorhold &&
         a.fwversion == b.fwversion && a.ecuchecksum == b.ecuchecksum && a.ecuchecksummap == b.ecuchecksummap;
}

// The records in use of a queue, in order: the run from record 0 (Harness::checkqueue holds the queue to it).
std::vector<TransferRecord> inuse(const TransferQueue& queue) {
  std::vector<TransferRecord> out;
  for (const TransferRecord& r : queue.records) {
    if (r.op == 0) break;
    out.push_back(r);
  }
  return out;
}

// An image kept as the transfer keeps it (byte j of row r at j x 2048 + r) in the calibration's own order.
CalibrationImage rowmajor(const CalibrationImage& split) {
  CalibrationImage image{};
  for (int r = 0; r < imagerows; ++r)
    for (int j = 0; j < 16; ++j) image[16 * r + j] = split[ImageTransfer::imageindex(r, j)];
  return image;
}

bool recordsent(const TransferRecord& r, const std::vector<std::uint8_t>& f) {
  return f.size() == 22 && r.op == f[0] && r.addresshigh == f[2] && r.addresslow == f[3] &&
         std::equal(r.data.begin(), r.data.end(), f.begin() + 4);
}

// Calibration models, built once: building their tables costs far more than a short input's ticks. Nothing the
// link does depends on what an earlier input left in a model's marks, and every input starts from its own image.
maps& scratchmodel(int n) {
  static FuzzPrompts prompts;
  static maps models[2] = {maps{prompts}, maps{prompts}};
  return models[n];
}

// Selectors a window can hold, and a few that no window holds.
constexpr std::array<std::uint8_t, 17> selectors = {0, 1, 2, 3, 4, 14, 15, 16, 17, 18, 19, 20, 21, 22, 7, 13, 200};

// The request table whose addresses a selector's window data answers; none where the plan writes none (passwords,
// the enlarged gauge window, the fast verify).
std::optional<LiveTable> tableofselector(std::uint8_t selector) {
  static constexpr std::array<std::pair<std::uint8_t, LiveTable>, 11> tables = {{{0, LiveTable::log},
                                                                                 {1, LiveTable::log},
                                                                                 {3, LiveTable::log},
                                                                                 {4, LiveTable::log},
                                                                                 {2, LiveTable::ltt},
                                                                                 {14, LiveTable::inputs},
                                                                                 {15, LiveTable::vct},
                                                                                 {16, LiveTable::ramdump},
                                                                                 {20, LiveTable::fuelmuls},
                                                                                 {21, LiveTable::firmware},
                                                                                 {22, LiveTable::diag}}};
  const std::uint8_t effective = EcuLink::effectiveselector(selector);
  for (const auto& [value, table] : tables)
    if (value == effective) return table;
  return std::nullopt;
}

class Harness {
 public:
  Harness(const std::uint8_t* data, std::size_t size) : script_(data, size), rng_(seedof(data, size)) {
    link.sethost(&host);
    // Every byte of the PC's calibration differs from the ECU's, base fuel cells stay within their range.
    CalibrationImage pc{}, ecuimage{};
    for (int i = 0; i < imagesize; ++i) {
      pc[i] = static_cast<std::uint8_t>((i * 7 + i / 16) % 31);
      ecuimage[i] = static_cast<std::uint8_t>((i * 13 + i / 16 + 5) % 29);
    }
    model.setimage(pc);
    ecu.image = ecuimage;
    ecu.values[15] = 64;
    for (int s : {1, 2, 3, 4, 14, 15, 16, 17, 18, 19, 20, 21, 22})
      link.registerreceiver(static_cast<std::uint8_t>(s), [this](const RxFrame& frame) {
        ++windowcalls_;
        lastwindow_ = frame;
      });
    shadowmodel_ = model.getimage();
    shadowrx_ = transfer.rximage;
  }

  void run() {
    while (!script_.done() && ticks_ < maxticks) {
      const std::uint8_t c = script_.next();
      if (c < 0x80) {
        const int n = (c >> 3) + 1;
        for (int i = 0; i < n && ticks_ < maxticks; ++i) exchange(static_cast<Answer>(c & 7), false);
      } else {
        action(c & 0x7F);
      }
    }
    if (dialogopen_) transfer.windowclosed();
    link.closeport();
    fullcheck();
  }

  ProgramState state;
  FuzzPrompts prompts;
  maps& model = scratchmodel(0);
  FakeLine line;
  FakeEcu ecu;
  Host host;
  EcuLink link{state, model, prompts, line};
  ImageTransfer transfer{state, model, prompts, link};

 private:
  static std::uint32_t seedof(const std::uint8_t* data, std::size_t size) {
    std::uint32_t h = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    return h;
  }

  // A parameter: from the script for its own commands, from the generator for background faults.
  std::uint8_t param(bool background) { return background ? rng_.next() : script_.next(); }

  // --- Actions between ticks ---------------------------------------------------------------------------------
  void action(int a) {
    switch (a % 20) {
      case 0:
        state.livemode = selectors[script_.next() % selectors.size()];
        break;
      case 1:
        state.preferences.rapidlogging = !state.preferences.rapidlogging;
        break;
      case 2:
        state.curmap = static_cast<std::uint8_t>(script_.next() % mapcount);
        break;
      case 3: {
        const auto map = static_cast<std::uint8_t>(script_.next() % mapcount);
        const std::uint8_t r1 = script_.next() % 32, r2 = script_.next() % 32;
        const std::uint8_t c1 = script_.next() % 32, c2 = script_.next() % 32;
        link.queuemapwrite(map, r1, r2, c1, c2);
        break;
      }
      case 4: {
        std::vector<TransferRecord> writes;
        const std::uint8_t c = script_.next();
        const int n = 1 + c % 3;
        // Now and then over the request lists: whole lists, or across their edges.
        static constexpr std::array<int, 4> bases = {0x5000, 0x5000, 0x6DA0, 0x6D98};
        for (int k = 0; k < n; ++k) {
          std::array<std::uint8_t, 16> bytes{};
          for (auto& b : bytes) b = script_.next();
          writes.push_back(TransferQueue::ramwrite(static_cast<std::uint16_t>(bases[c >> 6] + 16 * k), bytes));
        }
        link.queueramwrites(writes);
        break;
      }
      case 5:
        line.unplug();
        breakchain();
        break;
      case 6:
        link.closeport();
        breakchain();
        break;
      case 7: {
        line.refuse = script_.next() % 8 == 0;
        const bool wasopen = line.isopen();
        link.openport();
        if (!wasopen) breakchain();  // opening an open port changes nothing
        if (!wasopen && line.isopen()) {
          knownlists_ = {};  // the link has written nothing into this ECU yet
          listwrite_.reset();
        }
        break;
      }
      case 8: {
        const std::uint8_t mode = script_.next() % 3;
        if (state.online && !dialogopen_ && !transfer.busy()) {
          dialog([&] {
            state.transfermode = mode;
            if (mode == 0) transfer.preparebuffer();
            transfer.windowopened();
            dialogopen_ = true;
          });
        }
        break;
      }
      case 9:
        dialogtick();
        break;
      case 10:
        dialog([&] {
          if (dialogopen_ && transfer.cancel()) {
            transfer.windowclosed();
            dialogopen_ = false;
          }
        });
        break;
      case 11: {  // an intact reply nobody asked for
        Data d{};
        for (auto& b : d) b = script_.next();
        const Wire w = wireof(d);
        line.deliver(w);
        break;
      }
      case 12: {  // garbage nobody asked for
        std::vector<std::uint8_t> bytes(script_.next() % 40);
        for (auto& b : bytes) b = script_.next();
        line.deliver(bytes);
        break;
      }
      case 13: {
        const int at = (script_.next() * 256 + script_.next()) % imagesize;
        ecu.image[at] ^= static_cast<std::uint8_t>(script_.next() | 1);
        ++ecu.changes;
        break;
      }
      case 14:
        ecu.image = model.getimage();
        ++ecu.changes;
        break;
      case 15:  // a second of the transfer dialog: its tick, then the link's
        dialogtick();
        for (int i = 0; i < dialogticks && ticks_ < maxticks; ++i) exchange(backgroundanswer(), true);
        break;
      case 16:
        faultrate_ = script_.next();
        break;
      case 17: {
        const auto table = static_cast<LiveTable>(script_.next() % 8);
        RequestTable addresses;
        for (auto& list : addresses)
          for (auto& b : list) b = script_.next();
        link.setrequesttable(table, addresses);
        break;
      }
      case 18:
        for (auto& b : ecu.site) b = script_.next();
        break;
      case 19: {
        const int n = 1 + script_.next();
        for (int i = 0; i < n && ticks_ < maxticks; ++i) exchange(backgroundanswer(), true);
        break;
      }
    }
    // No action changes the received image but the dialog's, which queues a read's rows.
    FUZZ_CHECK(transfer.rximage == shadowrx_);
  }

  Answer backgroundanswer() {
    if (faultrate_ == 0 || rng_.next() >= faultrate_) return Answer::right;
    return static_cast<Answer>(1 + rng_.next() % 7);
  }

  void dialogtick() {
    dialog([&] {
      if (!dialogopen_) return;
      const ImageTransfer::WindowState w = transfer.windowtick();
      if (w.close) {
        transfer.windowclosed();
        dialogopen_ = false;
      }
    });
  }

  // What the transfer dialog does: it may start a transfer, queue its rows or end it. Once the rows are queued
  // afresh, row 0 is the next one asked for.
  template <class Step>
  void dialog(Step step) {
    const bool wasactive = transfer.transferactive();
    const std::int16_t line0 = transfer.transferline;
    step();
    // The dialog never changes the calibration; queueing a read's rows clears the received image.
    fullcheck();
    shadowrx_ = transfer.rximage;
    if (!transfer.transferactive() || !wasactive || transfer.transferline != line0) {
      lastrow_ = -1;
      rowanswered_ = -1;
      cleanrun_ = true;
      changesatstart_ = ecu.changes;
    }
  }

  // What the previous tick sent no longer waits for an answer that counts.
  void breakchain() { prevwrote_ = false; }

  // The calibration changed only with the end of a read; the queue's records in use run from record 0.
  void fullcheck() {
    FUZZ_CHECK(model.getimage() == shadowmodel_);
    FUZZ_CHECK(link.transferqueue().room() == TransferQueue::size - static_cast<int>(inuse(link.transferqueue()).size()));
  }

  // --- One tick ----------------------------------------------------------------------------------------------
  struct Before {
    LiveData live;
    std::uint8_t pollindex;
    int redraws, samples, windowcalls, completions;
    std::vector<TransferRecord> queue;
    bool busy, active;
    std::int16_t transferline;
    std::int32_t rta;
    std::uint8_t mode;
  };

  Before snapshot() const {
    return {link.live(),
            link.pollindex(),
            host.redraws,
            host.samples,
            windowcalls_,
            host.completions,
            inuse(link.transferqueue()),
            transfer.busy(),
            transfer.transferactive(),
            transfer.transferline,
            transfer.rta,
            state.transfermode};
  }

  void exchange(Answer how, bool background) {
    const Before b = snapshot();
    const bool wasonline = state.online;
    line.frames.clear();
    line.reads.clear();
    state.noreplyticks = 7;
    link.tick();
    ++ticks_;

    FUZZ_CHECK(line.frames.size() <= 1);
    if (!wasonline) FUZZ_CHECK(line.frames.empty() && line.reads.empty());
    // Replies are read whole, 19 bytes, and only on the first tick after their own request, and only bytes that
    // came after it.
    FUZZ_CHECK(line.reads.empty() || line.reads.size() == 19);
    const bool read = line.reads.size() == 19;
    if (read) {
      FUZZ_CHECK(prevwrote_);
      for (const Arrived& a : line.reads) FUZZ_CHECK(a.after >= prevwrites_);
    }
    // One request at a time: none while the last one's reply is missing.
    if (prevwrote_ && !read) FUZZ_CHECK(line.frames.empty());

    Wire wire{};
    for (int i = 0; i < 19 && read; ++i) wire[i] = line.reads[i].byte;
    const bool taken = read && checkbyteright(wire);
    const Data reply = dataof(wire);
    FUZZ_CHECK(state.noreplyticks == (taken ? 0 : 7));

    if (taken)
      checktaken(b, reply);
    else
      checkuntaken(b);

    const bool wrote = !line.frames.empty();
    if (wrote) {
      checksent(line.frames.front());
      notesent(line.frames.front());
    }
    answer(how, background);
    prevwrote_ = wrote && state.online;
    if (wrote) {
      prevframe_ = line.frames.front();
      prevtype_ = link.pollschedule()[link.pollindex()];
      prevwrites_ = line.written;
    }
    if (ticks_ % fullcheckticks == 0) fullcheck();
  }

  // Without a taken reply, nothing that replies feed moves.
  void checkuntaken(const Before& b) {
    const LiveData& live = link.live();
    FUZZ_CHECK(sitesame(live, b.live));
    FUZZ_CHECK(valuessame(live, b.live));
    FUZZ_CHECK(link.pollindex() == b.pollindex);
    FUZZ_CHECK(host.redraws == b.redraws && host.samples == b.samples && windowcalls_ == b.windowcalls);
    FUZZ_CHECK(host.completions == b.completions);
    FUZZ_CHECK(inuse(link.transferqueue()) == b.queue);
    FUZZ_CHECK(transfer.busy() == b.busy);
    FUZZ_CHECK(transfer.rximage == shadowrx_);
  }

  // A taken reply changes what its own request asked for, and nothing else.
  void checktaken(const Before& b, const Data& d) {
    const std::uint8_t type = prevtype_;
    const std::vector<std::uint8_t>& f = prevframe_;
    const bool genuine = wireof(d) == prevgenuine_;
    const LiveData& live = link.live();
    RxFrame rx{};
    std::copy(d.begin(), d.end(), rx.begin());

    if (type == requesttype::livesite)
      FUZZ_CHECK(live.liverpm == std::min(30000, d[0] * 256 + d[1]) && live.livevars[17] == d[3]);
    else
      FUZZ_CHECK(sitesame(live, b.live));
    if (type == requesttype::livevalues) {
      FUZZ_CHECK(live.livevaluesreplies == b.live.livevaluesreplies + 1);
      FUZZ_CHECK(live.fwversion == d[15] && live.ecuchecksum == d[3] * 256 + d[7]);
      FUZZ_CHECK(live.ecuchecksummap == f[2]);  // the checksum answers the map the request named
    } else {
      FUZZ_CHECK(valuessame(live, b.live));
    }

    // Window data: handed on only when it was asked for under this selector while the ECU held its table.
    if (listwrite_) knownlists_[listwrite_->first] = listwrite_->second;
    listwrite_.reset();
    const std::uint8_t selector = EcuLink::effectiveselector(state.livemode);
    const std::optional<LiveTable> table = tableofselector(selector);
    const RequestTable* addresses = table ? &link.requesttable(*table) : nullptr;
    const bool window = type == requesttype::windowdata && selector == windowselector_ &&
                        (!addresses || (windowknown_[0] == (*addresses)[0] && windowknown_[1] == (*addresses)[1]));
    if (window && addresses) FUZZ_CHECK(windowheld_ == *addresses);  // and the ECU did answer those addresses
    FUZZ_CHECK(windowcalls_ == b.windowcalls + (window && selector != 0 ? 1 : 0));
    if (window && selector != 0) FUZZ_CHECK(std::equal(d.begin(), d.end(), lastwindow_.begin()));
    const bool sample = window && (selector == 0 || selector == 1 || selector == 4);
    FUZZ_CHECK(host.samples == b.samples + (sample ? 1 : 0));
    if (sample) FUZZ_CHECK(std::equal(d.begin(), d.end(), host.lastsample.begin()));

    // The transfer: a row is stored only when the reply answers the row this transfer asked for last, with that
    // row's address; the transfer ends only with the reply to its last row.
    const int row = rowofframe(f);
    const bool transferreply = type == requesttype::transferstep && b.active && row >= 0 && row == b.transferline &&
                               b.rta == ImageTransfer::imageaddress(row);
    const bool readrow = transferreply && b.mode != 0 && f[0] == 0x82 && d[16] * 256 + d[17] == 16 * row;
    if (readrow)
      for (int j = 0; j < 16; ++j) shadowrx_[ImageTransfer::imageindex(row, j)] = d[j];
    FUZZ_CHECK(transfer.rximage == shadowrx_);
    if (type == requesttype::transferstep && b.active && !genuine) cleanrun_ = false;

    const bool lastrow = row == imagerows - 1;
    const bool writeends = transferreply && b.mode == 0 && f[0] == 0x81 && lastrow;
    const bool readends = readrow && lastrow;
    FUZZ_CHECK(transfer.busy() == (b.busy && !writeends && !readends));
    FUZZ_CHECK(host.completions == b.completions + (readends ? 3 : 0));
    if (readrow) rowanswered_ = row;
    if (transferreply && b.mode == 0 && f[0] == 0x81) rowanswered_ = row;

    // The calibration changes only when a read has all its rows, and then holds what was read.
    if (readends && b.mode == 1) {
      shadowmodel_ = model.getimage();
      FUZZ_CHECK(shadowmodel_ == clamped(rowmajor(transfer.rximage)));
      if (cleanrun_ && ecu.changes == changesatstart_) FUZZ_CHECK(shadowmodel_ == clamped(ecu.image));
    }
    if (readends && b.mode == 2) {
      fullcheck();
      FUZZ_CHECK((transfer.verifyerrors == 0) == (shadowmodel_ == rowmajor(transfer.rximage)));
    }
    // A write ends once every row went: the ECU holds the image it was sent.
    if (writeends && ecu.changes == changesatstart_) FUZZ_CHECK(ecu.image == rowmajor(transfer.tximage));

    // The queue: the head leaves when the reply to its own write is in; a read that ends drops the row writes.
    std::vector<TransferRecord> expected = b.queue;
    if (type == requesttype::queuedwrite && !expected.empty() && recordsent(expected.front(), f))
      expected.erase(expected.begin());
    if (readends && b.mode == 1)
      std::erase_if(expected, [](const TransferRecord& r) { return r.op == oprowwrite; });
    FUZZ_CHECK(inuse(link.transferqueue()) == expected);
  }

  // An image as a calibration holds it: base fuel cells limited to their range.
  static CalibrationImage clamped(const CalibrationImage& image) {
    maps& m = scratchmodel(1);
    m.setimage(image);
    return m.getimage();
  }

  // The request that went out is the one of its slot, well formed.
  void checksent(const std::vector<std::uint8_t>& f) {
    FUZZ_CHECK(framewellformed(f));
    const std::uint8_t type = link.pollschedule()[link.pollindex()];
    switch (type) {
      case requesttype::livesite:
      case requesttype::livevalues:
      case requesttype::windowdata: {
        static constexpr std::array<std::uint8_t, 3> ops = {0x90, 0x91, 0x93};
        FUZZ_CHECK(f.size() == 5 && f[0] == ops[type - 1] && f[2] == state.curmap);
        break;
      }
      case requesttype::queuedwrite: {
        const std::vector<TransferRecord> queue = inuse(link.transferqueue());
        FUZZ_CHECK(!queue.empty() && recordsent(queue.front(), f));
        break;
      }
      case requesttype::transferstep: {
        FUZZ_CHECK(transfer.transferactive());
        const int row = rowofframe(f);
        FUZZ_CHECK(row == transfer.transferline);
        if (state.transfermode == 0) {
          FUZZ_CHECK(f[0] == 0x81);
          for (int j = 0; j < 16; ++j) FUZZ_CHECK(f[4 + j] == transfer.tximage[ImageTransfer::imageindex(row, j)]);
        } else {
          FUZZ_CHECK(f[0] == 0x82 && f[2] == 60 + row / 1024);
        }
        // Row 0 first; then the same row until its reply is in, then the next.
        if (lastrow_ < 0)
          FUZZ_CHECK(row == 0);
        else
          FUZZ_CHECK(row == (rowanswered_ == lastrow_ ? lastrow_ + 1 : lastrow_));
        lastrow_ = row;
        rowanswered_ = -1;
        break;
      }
      default:
        FUZZ_CHECK(type >= 4 && type <= 39 && f.size() == 22 && f[0] == 0x80);
        if (type == 18 || type == 19)
          FUZZ_CHECK(f[2] == 0x68 && f[3] % 16 == 0 && f[3] < 0x80);
        else
          FUZZ_CHECK(f[2] == 0x6D && f[3] == (type % 2 == 0 ? 0xB0 : 0xC0));
        break;
    }
  }

  // What a request that goes out now tells of the ECU's request lists: a write over a list leaves it unknown until
  // the reply to a write of the whole list is taken; a window-data request goes out under the selector of now,
  // with what the link knows of the lists and what the ECU holds in them.
  void notesent(const std::vector<std::uint8_t>& f) {
    listwrite_.reset();
    if (f[0] == 0x93) {
      windowselector_ = EcuLink::effectiveselector(state.livemode);
      windowknown_ = knownlists_;
      for (int list = 0; list < 2; ++list)
        std::copy_n(ecu.ram.begin() + (list == 0 ? 0x6DB0 : 0x6DC0), 16, windowheld_[list].begin());
      return;
    }
    if (f[0] != 0x80) return;
    const int address = f[2] * 256 + f[3];
    for (int list = 0; list < 2; ++list) {
      const int at = list == 0 ? 0x6DB0 : 0x6DC0;
      if (address + 16 <= at || address >= at + 16) continue;
      knownlists_[list].reset();
      if (address == at) {
        List written;
        std::copy_n(f.begin() + 4, 16, written.begin());
        listwrite_.emplace(list, written);
      }
    }
  }

  // The ECU takes the request and its answer reaches the line as the fuzzer says.
  void answer(Answer how, bool background) {
    for (auto& h : held_) --h.ticks;
    for (auto it = held_.begin(); it != held_.end();) {
      if (it->ticks <= 0) {
        line.deliver(it->bytes);
        it = held_.erase(it);
      } else {
        ++it;
      }
    }
    if (line.frames.empty()) return;
    const Wire g = ecu.answer(line.frames.front());
    prevgenuine_ = g;
    std::vector<std::uint8_t> bytes(g.begin(), g.end());
    switch (how) {
      case Answer::right:
        break;
      case Answer::changed: {
        const std::uint8_t at = param(background) % 19;
        bytes[at] ^= static_cast<std::uint8_t>(param(background) | 1);
        break;
      }
      case Answer::shortreply:
        bytes.resize(1 + param(background) % 18);
        break;
      case Answer::extra: {
        const int n = 1 + param(background) % 8;
        for (int i = 0; i < n; ++i) bytes.push_back(param(background));
        break;
      }
      case Answer::garbage:
        bytes.resize(param(background) % 40);
        for (auto& byte : bytes) byte = param(background);
        break;
      case Answer::nothing:
        bytes.clear();
        break;
      case Answer::late:
        held_.push_back({bytes, 1 + param(background) % 6});
        bytes.clear();
        break;
      case Answer::another: {
        // An intact reply to another request: a neighbouring row, or live data whose address bytes are row 0's.
        Data d = dataof(g);
        const int row = rowofframe(line.frames.front());
        if (row >= 0 && param(background) % 2 == 0) {
          const int other = (row + 1 + param(background) % 3) % imagerows;
          std::copy_n(ecu.image.begin() + 16 * other, 16, d.begin());
          d[16] = static_cast<std::uint8_t>(other / 16);
          d[17] = static_cast<std::uint8_t>((other % 16) * 16);
        } else {
          d = ecu.site;
          d[16] = d[17] = 0;
        }
        const Wire w = wireof(d);
        bytes.assign(w.begin(), w.end());
        break;
      }
    }
    line.deliver(bytes);
  }

  Script script_;
  Rng rng_;
  int ticks_ = 0;
  std::uint8_t faultrate_ = 0;  // background faults: out of 256 ticks
  bool dialogopen_ = false;

  bool prevwrote_ = false;
  std::vector<std::uint8_t> prevframe_;
  std::uint8_t prevtype_ = 0;
  std::uint32_t prevwrites_ = 0;
  Wire prevgenuine_{};
  struct Held {
    std::vector<std::uint8_t> bytes;
    int ticks;
  };
  std::vector<Held> held_;

  int windowcalls_ = 0;
  RxFrame lastwindow_{};
  // What the link can know of the ECU's request lists, the whole-list write waiting for its reply, and for the last
  // window-data request: its selector, what the link knew then and what the ECU held.
  using List = std::array<std::uint8_t, 16>;
  std::array<std::optional<List>, 2> knownlists_;
  std::optional<std::pair<int, List>> listwrite_;
  std::uint8_t windowselector_ = 0;
  std::array<std::optional<List>, 2> windowknown_;
  RequestTable windowheld_{};
  CalibrationImage shadowrx_{}, shadowmodel_{};
  int lastrow_ = -1;       // the row asked for last in this transfer; -1 before its first
  int rowanswered_ = -1;   // the row whose reply came in since it was asked
  bool cleanrun_ = true;   // every reply taken for a row in this transfer was the ECU's own
  int changesatstart_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The link finds its port in the install folder's port list.
  static QTemporaryDir folder;
  setinstallfolder(folder.path());
  QFile list(installpath(QStringLiteral("comports.txt")));
  if (!list.open(QIODevice::WriteOnly | QIODevice::Truncate) || list.write("fuzzline\n") <= 0) std::abort();
  scratchmodel(0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Always the same memory: a fresh block of this size for every input costs more than the input's ticks.
  alignas(Harness) static unsigned char place[sizeof(Harness)];
  Harness* harness = new (place) Harness(data, size);
  harness->run();
  harness->~Harness();
  return 0;
}
