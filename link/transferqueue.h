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
};

// The 2048 transfer records. Outside a whole-image transfer the records in use run from record 0 and writes leave
// from the head, one at a time, once the ECU has answered them intact.
class TransferQueue {
 public:
  static constexpr int size = 2048;

  std::array<TransferRecord, size> records{};

  bool headiswrite() const { return iswrite(records[0].op); }
  static bool iswrite(std::uint8_t op) { return op == opramwrite || op == oprowwrite; }

  // First free record at or below limit - 1; -1 when none is free.
  int firstfree(int limit = size) const;
  // Puts the record at the first free place; its index, or -1 when the queue is full (nothing is overwritten).
  int append(const TransferRecord& record);
  // A 0x80 record that writes 16 bytes of ECU RAM.
  static TransferRecord ramwrite(std::uint16_t address, const std::array<std::uint8_t, 16>& data);

  // The highest record holding a write, 0 when there is none: the writes still waiting beyond the head.
  int lastqueuedtransfer() const;
  // Moves every record down by one; the last one becomes free.
  void removequeuehead();
  // Record n as a write frame (op, count + 6, address, data), without check bytes; returns its length.
  int buildqueuewriteframe(int n, TxFrame& frame) const;
};

}  // namespace ostrel
