#pragma once

#include <array>
#include <cstdint>

#include "link/frames.h"

namespace ostrel {

// One row to write into or read out of the ECU.
struct TransferRecord {
  std::uint8_t op = 0;  // 0 free, 0x80 RAM write, 0x81 image row write, 0x82 image row read
  std::uint8_t page = 0;
  std::uint8_t addresshigh = 0;
  std::uint8_t addresslow = 0;
  std::array<std::uint8_t, 16> data{};
  std::uint8_t count = 0;  // data bytes of a write (16); 7 for reads
  bool status = false;

  bool operator==(const TransferRecord&) const = default;
};

// 2048 transfer records. The link's queue of writes is one: its records in use run from record 0, writers append
// behind the last one (nothing in use is ever overwritten; a full queue refuses) and writes leave from the head,
// one at a time, once the ECU has answered them intact. A whole-image transfer keeps a second one of its own, with
// record r standing for image row r.
class TransferQueue {
 public:
  static constexpr int size = 2048;

  std::array<TransferRecord, size> records{};

  bool headiswrite() const { return iswrite(records[0].op); }
  static bool iswrite(std::uint8_t op) { return op == opramwrite || op == oprowwrite; }

  // First free record at or below limit - 1; -1 when none is free.
  int firstfree(int limit = size) const;
  // Records that can still be appended.
  int room() const;
  // Puts the record at the first free place; its index, or -1 when the queue is full (nothing is overwritten).
  int append(const TransferRecord& record);
  // Frees every record.
  void clear();
  // Takes every image row write out of the queue, keeping the order of the others; returns how many went.
  int removerowwrites();

  // A 0x80 record that writes 16 bytes of ECU RAM.
  static TransferRecord ramwrite(std::uint16_t address, const std::array<std::uint8_t, 16>& data);
  // A 0x81 record that writes image row r (0 to 2047) at ECU 0x8000 + 16 r.
  static TransferRecord rowwrite(int row, const std::array<std::uint8_t, 16>& data);
  // A 0x82 record that reads image row r: page 60 + r div 1024, address r div 16, (r mod 16) * 16.
  static TransferRecord rowread(int row);

  // The highest record holding a write, 0 when there is none: the writes still waiting beyond the head.
  int lastqueuedtransfer() const;
  // Moves every record down by one; the last one becomes free.
  void removequeuehead();
  // Record n as a write frame (op, count + 6, address, data), without check bytes; returns its length.
  int buildqueuewriteframe(int n, TxFrame& frame) const;
  // Record n as a read frame (op, 7, page, address), without check bytes; returns its length. rta is the image
  // address the reply must carry: address high * 256 + address low.
  int buildqueuereadframe(int n, TxFrame& frame, std::int32_t& rta) const;
};

}  // namespace ostrel
