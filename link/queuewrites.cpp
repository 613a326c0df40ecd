// Edited rows on their way to the ECU: the writes of the rows of an edited rectangle, each batch behind the block
// table.
#include <bitset>
#include <vector>

#include "calibration/bytetables.h"
#include "calibration/maps.h"
#include "link/eculink.h"

namespace ostrel {

namespace {
constexpr std::uint16_t blocktableaddress = 0x5680;
constexpr int blockrecords = 8;
constexpr int dumplimit = 101;

QString hex(std::uint8_t value) {
  return QString::number(value, 16).toUpper();
}
}  // namespace

int EcuLink::queuemapwrite(std::uint8_t map, std::uint8_t lowrow, std::uint8_t highrow, std::uint8_t lowcol,
                           std::uint8_t highcol) {
  // The distinct image rows, in the order their first cell is met.
  std::bitset<imagerows> flagged;
  std::vector<int> rows;
  const int maprows = mainmaps_.getmaprows(map);
  const int mapcols = mainmaps_.getmapcols(map);
  for (int row = lowrow; row <= highrow && row < maprows; ++row) {
    for (int col = lowcol; col <= highcol && col < mapcols; ++col) {
      const int r = mainmaps_.getbufferrow(map, row, col);
      if (r < 0 || r >= imagerows || flagged.test(r)) continue;
      flagged.set(r);
      rows.push_back(r);
    }
  }
  if (rows.empty()) return 0;

  // Half a batch would leave the ECU with some of the edit; the checks timer then shows the mismatch.
  const int needed = blockrecords + static_cast<int>(rows.size());
  if (transferqueue_.room() < needed) {
    host_->statusmessage(QStringLiteral("The transfer queue is full: %1 rows of map %2 were not queued for the ECU")
                             .arg(rows.size())
                             .arg(map),
                         false);
    return 0;
  }
  for (std::size_t i = 0; i < rows.size(); ++i) queuewriteblock(rows[i], i == 0);
  dumpqueue();
  return needed;
}

bool EcuLink::queuewriteblock(int row, bool first) {
  if (row < 0 || row >= imagerows) return false;
  if (transferqueue_.room() < (first ? blockrecords + 1 : 1)) return false;
  if (first) queueramblockwrite();
  std::array<std::uint8_t, 16> data{};
  for (int j = 0; j < 16; ++j) data[j] = mainmaps_.getmapbufferbyte(row, j);
  transferqueue_.append(TransferQueue::rowwrite(row, data));
  return true;
}

bool EcuLink::queueramblockwrite() {
  if (transferqueue_.room() < blockrecords) {
    host_->statusmessage(QStringLiteral("The transfer queue is full: the block table was not queued for the ECU"),
                         false);
    return false;
  }
  for (int k = 0; k < blockrecords; ++k)
    transferqueue_.append(
        TransferQueue::ramwrite(static_cast<std::uint16_t>(blocktableaddress + 16 * k), blocktable()[k]));
  return true;
}

bool EcuLink::queueramwrites(const std::vector<TransferRecord>& writes) {
  if (transferqueue_.room() < static_cast<int>(writes.size())) return false;
  for (const TransferRecord& write : writes) transferqueue_.append(write);
  return true;
}

void EcuLink::dumpqueue() {
  int n = transferqueue_.firstfree(dumplimit);
  if (n < 0) n = 0;
  for (int i = 0; i < n; ++i) {
    const TransferRecord& r = transferqueue_.records[i];
    host_->debugmessage(QStringLiteral("%1, %2, %3, %4, %5")
                            .arg(i)
                            .arg(hex(r.op), hex(r.count), hex(r.addresshigh), hex(r.addresslow)));
  }
}

}  // namespace ostrel
