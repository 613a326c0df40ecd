#include "livewindows/ltttable.h"

#include "livewindows/livewindowcore.h"
#include "platform/numbers.h"
#include "platform/programstate.h"

namespace ostrel {

LttTable::LttTable(LiveWindowCore& live) : live_(live) {
  cells_.fill(QStringLiteral("0 %"));
}

RequestTable LttTable::addresses(bool secondhalf) {
  const int firstrow = secondhalf ? 4 : 0;
  return requesttableof([firstrow](int k) { return tableaddress + 16 * (firstrow + k / 4) + k % 4; });
}

void LttTable::setinputsarray() {
  live_.state().windowage = 0;
  live_.link().setrequesttable(LiveTable::ltt, addresses(ltthalf_));
}

void LttTable::load() {
  cells_.fill(QStringLiteral("0 %"));
  ltthalf_ = false;
  setinputsarray();
}

void LttTable::timertick() {
  std::int16_t& age = live_.state().windowage;
  if (age < maxage) ++age;
  if (age % switchticks == 0) {
    ltthalf_ = !ltthalf_;
    setinputsarray();
  }
}

bool LttTable::reportdata(const RxFrame& rxframe) {
  if (live_.state().windowage % switchticks != switchticks - 1) return false;
  const int first = ltthalf_ ? 16 : 0;
  for (int k = 0; k < 16; ++k) cells_[static_cast<std::size_t>(first + k)] = trimtext(rxframe[k]);
  return true;
}

QString LttTable::trimtext(std::uint8_t trim) {
  // Trims are whole or half percents: "-2.5 %", "0 %", "63.5 %".
  QString text = formatfixed((trim - 128) * 0.5, 1);
  if (text.endsWith(QStringLiteral(".0"))) text.chop(2);
  return text + QStringLiteral(" %");
}

std::vector<TransferRecord> LttTable::clearrecords() {
  static constexpr std::array<std::uint8_t, 16> pattern = {0x80, 0x80, 0x80, 0x80, 0x55, 0xAA, 0x55, 0xAA,
                                                           0x55, 0xAA, 0x55, 0xAA, 0x00, 0x00, 0x66, 0xBB};
  std::vector<TransferRecord> records;
  for (int r = 0; r < 8; ++r)
    records.push_back(TransferQueue::ramwrite(static_cast<std::uint16_t>(tableaddress + 16 * r), pattern));
  return records;
}

bool LttTable::clear() {
  return live_.link().queueramwrites(clearrecords());
}

}  // namespace ostrel
