#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "link/commport.h"
#include "link/frames.h"
#include "link/linkhost.h"
#include "link/requesttable.h"
#include "link/transferqueue.h"

namespace ostrel {

class maps;
class Prompts;
struct ProgramState;
namespace test {
struct LinkProbe;
}

// The live windows' request tables, one per window that writes one.
enum class LiveTable : std::uint8_t { log, ltt, inputs, vct, ramdump, fuelmuls, firmware, diag };

// What the live site and live values replies last said.
struct LiveData {
  std::array<std::int16_t, 18> livevars{};
  std::int32_t liverpm = 0;
  std::uint8_t liverow = 0, livecol = 0;  // the live cell: on 3-D maps the rpm point and the load point
  std::uint8_t livesample = 0;
  std::uint8_t afrtarget = 0;
  std::uint8_t pwprotected = 0;  // password fragments the ECU protects, one bit each
  std::uint8_t pwmatchmask = 0;  // fragments whose entered password matches
  std::uint8_t afrerrorhold = 0;
  std::uint8_t fwversion = 0;
  std::int32_t ecuchecksum = 0;
  int ecuchecksummap = -1;  // the map whose live-values request ecuchecksum answers; -1 before the first
  // Live-values replies taken in so far (wrapping): a tool that must not act twice on the same values waits for
  // this to change.
  std::uint32_t livevaluesreplies = 0;
};

// Request types of the poll plans (4 to 39 write request tables and password rows into ECU RAM).
namespace requesttype {
inline constexpr std::uint8_t livesite = 1;
inline constexpr std::uint8_t livevalues = 2;
inline constexpr std::uint8_t windowdata = 3;
inline constexpr std::uint8_t queuedwrite = 40;
inline constexpr std::uint8_t transferstep = 42;
}  // namespace requesttype

// The ECU link: the serial line, one request per tick chosen by poll plans, reply checking with retries and an
// error log, and the dispatch of every intact reply (live site and live values into the live variables and the
// model's marks, window data to the receiver of the live window that holds the selector, acknowledged writes).
// Window data goes on only when it answers the request table of the selector it is handed to: the link keeps what
// the ECU holds in its two request lists, and the request must have gone out under that same selector.
// Everything runs on the window thread; tick() is the communications timer's step.
class EcuLink {
 public:
  EcuLink(ProgramState& state, maps& mainmaps, Prompts& prompts, CommPort& port);
  EcuLink(const EcuLink&) = delete;
  EcuLink& operator=(const EcuLink&) = delete;

  // Calls upward; null means nobody listens. Both must outlive the link or be reset to null first.
  void sethost(LinkHost* host) { host_ = host ? host : &nullhost_; }
  void settransfer(TransferSteps* transfer) { transfer_ = transfer; }
  // The calls upward, for the parts of the link that live outside this class (the transfer steps).
  LinkHost& host() { return *host_; }

  // --- Port and frames -------------------------------------------------------------------------------------------
  // Opens the port of the default-port preference and resets the link; on failure shows "An error occurred opening
  // the com port" and a status line with the device and the system's reason, and stays offline. The host hears of
  // every change of the connection flag, here, in closeport and when the line fails during a tick.
  bool openport();
  void closeport();

  // --- Scheduler ---------------------------------------------------------------------------------------------------
  void initpollplans();
  // One step of the link: the wait countdown, the reply to the previous request, the plan, the next request. Runs
  // only while online and not exiting; a call from inside a tick returns at once.
  void tick();
  // The 0x80 frame of request types 4 to 39 (request tables, password rows); false for a type without one.
  bool buildrequestframe(std::uint8_t type);
  // The poll plan that a live-window selector value stands for (values without a plan count as 0).
  static std::uint8_t effectiveselector(std::uint8_t livemode);

  // --- Replies -----------------------------------------------------------------------------------------------------
  // Smooths window data bytes 0 to 15 into smoothvalues by smoothweight percent (reset: take the bytes as they are).
  void smoothlivevalues(const RxFrame& frame, bool reset);
  // True when ecuchecksum answers a request for the current map, so it may be compared with the model's.
  bool ecuchecksumcurrent() const;

  // Live windows register for their selector value and unregister when they close; window data under that
  // selector goes to every receiver registered for it, in order, when its request went out under the same selector
  // while the ECU held the selector's request table (a selector whose plan writes no table takes any). Returns an
  // id for unregisterreceiver.
  using Receiver = std::function<void(const RxFrame&)>;
  int registerreceiver(std::uint8_t selector, Receiver receiver);
  void unregisterreceiver(int id);

  // Runs the action once the running tick has ended (at once outside a tick): modal questions never open inside
  // the reply path.
  void defer(std::function<void()> action);
  bool inticks() const { return inticks_; }

  // The error log: its lines, newest last, and the whole text with every line ended by CR LF.
  static constexpr int errlogmaxlines = 2000;
  const std::deque<QString>& errlog() const { return errlog_; }
  QString errlogtext() const;
  // Appends one line: the time of day, ", [TRYCOMM], " and the text. counterror() adds one to errorcount (to 100000).
  void logerror(const QString& text);
  void counterror();

  // --- Link state, read-only outside the link ----------------------------------------------------------------------
  bool linkready() const { return linkready_; }
  std::int16_t linkretry() const { return linkretry_; }  // wait countdown after a short reply
  // The last reply taken in (data bytes after the byte reversal, check byte last).
  const RxFrame& rxframe() const { return rxframe_; }
  std::int32_t framessent() const { return framessent_; }  // both stop at 100000
  std::int32_t errorcount() const { return errorcount_; }
  // The communication statistics' reset: both counters back to 0.
  void resetstats();
  void clearerrlog() { errlog_.clear(); }

  const std::array<std::uint8_t, 5>& pollschedule() const { return pollschedule_; }
  std::uint8_t pollindex() const { return pollindex_; }
  std::uint8_t curplan() const { return curplan_; }
  std::uint8_t pwsendcounter() const { return pwsendcounter_; }

  // A live window's request table, by window; the link writes it into ECU RAM with its poll plan.
  const RequestTable& requesttable(LiveTable table) const { return tables_[static_cast<std::size_t>(table)]; }
  void setrequesttable(LiveTable table, const RequestTable& addresses) {
    tables_[static_cast<std::size_t>(table)] = addresses;
  }
  // Entered passwords, one 16-byte row per fragment, sent to ECU RAM 0x6800 + 16 row by request types 18 and 19.
  const std::array<std::array<std::uint8_t, 16>, 8>& pwsendtable() const { return pwsendtable_; }
  void setpwsendrow(int fragment, const std::array<std::uint8_t, 16>& row);
  // Where the next password row goes out (the counter wraps from 255 to 0; the row is counter mod 8).
  void setpwsendcounter(std::uint8_t counter) { pwsendcounter_ = counter; }

  // Writes waiting for the ECU, oldest at record 0; changed only through the queue methods below.
  const TransferQueue& transferqueue() const { return transferqueue_; }
  // The position of the last write still waiting, in the queue or in a running whole-image write (2047 right after
  // the image's rows are queued); 0 when none, or only the head, waits.
  int lastqueuedtransfer() const;
  // Every record free and marked done, as at start-up.
  void resettransferqueue();

  // --- Edited rows to the ECU ------------------------------------------------------------------------------------
  // Queues one row write for each distinct image row that the cells lowrow..highrow, lowcol..highcol of the map
  // touch (cells outside the map are skipped), the first preceded by the eight block-table writes, and lists the
  // queue through debugmessage. A batch that does not fit into the queue is refused whole, with a status line.
  // Returns the number of records queued.
  int queuemapwrite(std::uint8_t map, std::uint8_t lowrow, std::uint8_t highrow, std::uint8_t lowcol,
                    std::uint8_t highcol);
  // Queues the write of image row (0 to 2047) with the model's bytes, after the block table when first is true;
  // false when the queue had no room (nothing is then queued).
  bool queuewriteblock(int row, bool first);
  // Queues the eight writes of the block table to ECU RAM 0x5680 to 0x56FF; false when they do not all fit.
  bool queueramblockwrite();
  // Appends writes of 16 bytes of ECU RAM each, behind whatever waits; all or nothing (false when they do not fit).
  bool queueramwrites(const std::vector<TransferRecord>& writes);
  // Takes every image row write out of the queue (RAM writes stay); returns how many went.
  int removerowwrites() { return transferqueue_.removerowwrites(); }
  // One debug line per waiting record among the first 101: "index, op, count, address high, address low" in hex.
  void dumpqueue();

  // --- Requests of a whole-image transfer ----------------------------------------------------------------------
  // Adds the check bytes to the first length - 2 bytes of the frame and sends it (nothing while offline).
  void sendrequest(const TxFrame& frame, int length);

  // --- Live values -------------------------------------------------------------------------------------------------
  const LiveData& live() const { return live_; }
  // Replaces the live values as replies would have set them: for the simulator's and the tests' set-up.
  void setlive(const LiveData& live) { live_ = live; }
  // An intact reply of the request type, handled as if it had just arrived for a request about the current map
  // (window data: sent under the current selector while the ECU held its table).
  void takereply(std::uint8_t type, const RxFrame& frame);

  // Smoothed window data (see smoothlivevalues) and the weight of each byte in percent.
  const std::array<float, 16>& smoothvalues() const { return smoothvalues_; }
  void setsmoothweight(int byte, std::uint8_t percent) { smoothweight_[static_cast<std::size_t>(byte)] = percent; }

 private:
  friend struct test::LinkProbe;  // the link's own tests reach its counters and queue

  // Check bytes of txframe(0 .. txlen - 3) into its last two bytes.
  void addframechecks();
  // Sends txframe(0 .. txlen - 1) after dropping all stale input; nothing while offline.
  void sendframe();
  void flushinput();
  // Takes one 19-byte reply into rxframe and sets rxsum (255 with a short reply).
  void receivereply();
  // The live site and live values handlers, run on an intact reply of request type 1 and 2 with it in rxframe.
  void livesitedata();
  void livevaluesdata();
  void commstick();
  // The plan a selector's live polling runs (the data logger's depends on the rapid-logging preference).
  std::uint8_t planofselector(std::uint8_t selector) const;
  void chooseplan();
  // The request table that the plan of the selector writes into the ECU; null when it writes none.
  const RequestTable* selectortable(std::uint8_t selector) const;
  // Notes what a request that has just gone out changes in, or asks of, the ECU's request lists.
  void noterequest();
  // True when the last window-data request went out under the selector while the ECU held its table.
  bool answersselector(std::uint8_t selector) const;
  void sendslot(std::uint8_t type);
  void processreply();
  void dispatch(std::uint8_t type);
  void windowdata();
  // Closes the port after the line failed, with one status line.
  void linelost(const QString& reason);
  // Sets the connection flag and tells the host when it changes.
  void setonline(bool online);
  bool checkline();

  bool linkready_ = false;
  std::int16_t linkretry_ = 0;
  TxFrame txframe_{};
  std::uint8_t txlen_ = 0;
  RxFrame rxframe_{};
  std::int16_t rxsum_ = 0;
  std::int32_t framessent_ = 0;
  std::int32_t errorcount_ = 0;
  std::array<std::array<std::uint8_t, 5>, 32> pollplan_{};
  std::array<std::uint8_t, 5> pollschedule_{};
  std::uint8_t pollindex_ = 0;
  std::uint8_t curplan_ = 0;
  std::uint8_t pwsendcounter_ = 0;
  std::array<RequestTable, 8> tables_;
  std::array<std::array<std::uint8_t, 16>, 8> pwsendtable_{};
  TransferQueue transferqueue_;
  LiveData live_;
  std::array<float, 16> smoothvalues_{};
  std::array<std::uint8_t, 16> smoothweight_{};

  ProgramState& state_;
  maps& mainmaps_;
  Prompts& prompts_;
  CommPort& port_;
  LinkHost nullhost_;
  LinkHost* host_ = &nullhost_;
  TransferSteps* transfer_ = nullptr;

  bool inticks_ = false;
  bool outstanding_ = false;  // a request went out and its reply has not been looked at yet
  std::uint8_t sentmap_ = 0;  // map number of the last live request sent
  TransferRecord sentwrite_;  // the queued write sent last, removed from the head once answered
  // What the ECU holds in its two request lists (0x6DB0, 0x6DC0) as far as the link knows: unknown from the sending
  // of any write over a list until the reply to a write of the whole list has arrived intact, and after connecting.
  using RequestList = RequestTable::value_type;
  std::array<std::optional<RequestList>, 2> eculists_;
  std::optional<std::pair<std::size_t, RequestList>> listwrite_;  // the list write whose reply is awaited
  // The window-data request sent last: the selector it went under and what the ECU held then.
  std::uint8_t windowselector_ = 0;
  std::array<std::optional<RequestList>, 2> windowlists_;
  std::deque<QString> errlog_;
  std::vector<std::function<void()>> deferred_;

  struct Registration {
    int id;
    std::uint8_t selector;
    Receiver receiver;
  };
  std::vector<Registration> receivers_;
  int nextreceiverid_ = 1;
};

}  // namespace ostrel
