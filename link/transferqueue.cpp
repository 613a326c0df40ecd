#include "link/transferqueue.h"

#include <algorithm>

namespace ostrel {

int TransferQueue::firstfree(int limit) const {
  limit = std::min(limit, size);
  for (int i = 0; i < limit; ++i)
    if (records[i].op == 0) return i;
  return -1;
}

int TransferQueue::room() const {
  int free = 0;
  for (const TransferRecord& r : records)
    if (r.op == 0) ++free;
  return free;
}

int TransferQueue::append(const TransferRecord& record) {
  const int n = firstfree();
  if (n >= 0) records[n] = record;
  return n;
}

void TransferQueue::clear() {
  records.fill(TransferRecord{});
}

int TransferQueue::removerowwrites() {
  int kept = 0, removed = 0;
  for (const TransferRecord& r : records) {
    if (r.op == oprowwrite)
      ++removed;
    else if (r.op != 0)
      records[kept++] = r;
  }
  std::fill(records.begin() + kept, records.end(), TransferRecord{});
  return removed;
}

TransferRecord TransferQueue::ramwrite(std::uint16_t address, const std::array<std::uint8_t, 16>& data) {
  TransferRecord r;
  r.op = opramwrite;
  r.addresshigh = static_cast<std::uint8_t>(address >> 8);
  r.addresslow = static_cast<std::uint8_t>(address & 0xFF);
  r.data = data;
  r.count = 16;
  return r;
}

TransferRecord TransferQueue::rowwrite(int row, const std::array<std::uint8_t, 16>& data) {
  TransferRecord r;
  r.op = oprowwrite;
  r.addresshigh = static_cast<std::uint8_t>(row / 16 + 0x80);
  r.addresslow = static_cast<std::uint8_t>((row % 16) * 16);
  r.data = data;
  r.count = 16;
  r.status = true;
  return r;
}

TransferRecord TransferQueue::rowread(int row) {
  TransferRecord r;
  r.op = oprowread;
  r.page = static_cast<std::uint8_t>(60 + row / 1024);
  r.addresshigh = static_cast<std::uint8_t>(row / 16);
  r.addresslow = static_cast<std::uint8_t>((row % 16) * 16);
  r.count = readframelength;
  return r;
}

int TransferQueue::lastqueuedtransfer() const {
  for (int i = size - 1; i > 0; --i)
    if (iswrite(records[i].op)) return i;
  return 0;
}

void TransferQueue::removequeuehead() {
  std::move(records.begin() + 1, records.end(), records.begin());
  TransferRecord& last = records[size - 1];
  last.op = last.page = last.addresshigh = last.addresslow = last.count = 0;
  last.status = false;
}

int TransferQueue::buildqueuewriteframe(int n, TxFrame& frame) const {
  const TransferRecord& r = records[n];
  const int count = std::min<int>(r.count, 16);
  frame[0] = r.op;
  frame[1] = static_cast<std::uint8_t>(count + 6);
  frame[2] = r.addresshigh;
  frame[3] = r.addresslow;
  std::copy_n(r.data.begin(), count, frame.begin() + 4);
  return count + 6;
}

int TransferQueue::buildqueuereadframe(int n, TxFrame& frame, std::int32_t& rta) const {
  const TransferRecord& r = records[n];
  rta = r.addresshigh * 256 + r.addresslow;
  frame[0] = r.op;
  frame[1] = readframelength;
  frame[2] = r.page;
  frame[3] = r.addresshigh;
  frame[4] = r.addresslow;
  return readframelength;
}

}  // namespace ostrel
