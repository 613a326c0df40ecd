#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "link/eculink.h"

namespace ostrel {

class LiveWindowCore;

// The long-term trim table of the ECU (RAM 0x6000 to 0x607F: 8 rpm bands of 800 rpm by 4 load bands, bytes 0 to
// 3 of each 16-byte row), shown in percent. A request table holds only 16 addresses, so the window asks for rows
// 0 to 3 and 4 to 7 in turn, switching every ten ticks of its timer, and takes a half's replies only on the tenth
// tick, when its table has surely reached the ECU.
class LttTable {
 public:
  static constexpr int cells = 32;  // cell 4r + c: rpm band r, load band c
  static constexpr int switchticks = 10;
  static constexpr std::int16_t maxage = 30000;
  static constexpr std::uint16_t tableaddress = 0x6000;

  explicit LttTable(LiveWindowCore& live);

  // The request table of one half: address k is row 4h + k div 4, column k mod 4.
  static RequestTable addresses(bool secondhalf);
  // The window age starts again and the table of the current half goes to the link.
  void setinputsarray();

  // The window has loaded: the first half first, all cells "0 %".
  void load();
  // One tick of the window's timer: counts the age and switches halves every ten ticks.
  void timertick();
  // Takes the reply into the cells of the current half on the tenth tick only; true when it did.
  bool reportdata(const RxFrame& rxframe);

  // The eight writes of "Clear LTT": every trim back to 0 % and the fixed pattern in bytes 4 to 15 of each row.
  static std::vector<TransferRecord> clearrecords();
  // Appends them to the link's write queue; false (nothing queued) when they do not all fit.
  bool clear();

  // A trim byte as the cells show it: (t - 128) x 0.5 in its shortest decimal form and " %".
  static QString trimtext(std::uint8_t trim);

  bool ltthalf() const { return ltthalf_; }
  const QString& cell(int index) const { return cells_[static_cast<std::size_t>(index)]; }

 private:
  LiveWindowCore& live_;
  bool ltthalf_ = false;
  std::array<QString, cells> cells_;
};

}  // namespace ostrel
