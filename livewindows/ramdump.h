#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

#include "link/eculink.h"
#include "platform/programstate.h"

namespace ostrel {

// The copy of ECU RAM 0x4000 to 0x6FFF: byte n is the RAM byte at 0x4000 + n, page p its bytes 16p to 16p + 15.
using RamImage = std::array<std::uint8_t, ProgramState::ramimagesize>;

inline constexpr int ramdumppages = ProgramState::ramimagesize / 16;  // 768
inline constexpr int ramdumpbase = 0x4000;

// The request table that asks for page p: list 0 the addresses of its bytes 0 to 7, list 1 those of 8 to 15, so
// that data byte j of a window-data reply is the page's byte j.
RequestTable ramdumpaddresstable(int page);

// Grid texts: the headings ("address", then "d &H0" to "d &HF"), the address of a page without prefix ("4000" to
// "6FF0") and a byte as "&H" and two upper-case hexadecimal digits ("&H05", "&HAB").
QString ramdumpheading(int column);
QString ramdumpaddresstext(int page);
QString ramdumpcelltext(std::uint8_t byte);

// The sweep through the pages: each window-data reply is the page the request table last asked for, and the next
// page is asked for after it; after page 767 the sweep starts again from page 0, overwriting the copy.
class RamDumpSweep {
 public:
  int page() const { return page_; }
  RequestTable table() const { return ramdumpaddresstable(page_); }
  // Stores the reply as the current page of the copy and moves on; true when that page was the last of the pass.
  bool take(const RxFrame& rxframe, RamImage& image);

 private:
  int page_ = 0;
};

// The RAM dump file: 768 lines of 44 bytes, "S123", the address in four hexadecimal digits, the page's 16 bytes
// in two digits each, "FF" and CR LF (33,792 bytes).
inline constexpr int ramdumplinelength = 44;
QByteArray ramdumpfile(const RamImage& image);

// The folder of the install folder that dumps go to, and the file name: the date and time, file-safe
// ("2024_05_01__13_45_07.txt").
inline const QString ramdumpfolder = QStringLiteral("ramdump");
QString ramdumpfilename(const QDateTime& now);

struct RamDumpSave {
  QString path;   // the file written, or the one that could not be written
  QString error;  // why it could not be written; empty when it was
};
// Writes the copy in its current state into the install folder's "ramdump" folder, made when missing.
RamDumpSave saveramdump(const RamImage& image, const QDateTime& now);

// The message after a good export, naming the folder the file went to.
QString ramdumpsavedmessage(const QString& folder);
inline const QString ramdumpfullmessage = QStringLiteral("The buffer is full, you can now export the RAM image");

}  // namespace ostrel
