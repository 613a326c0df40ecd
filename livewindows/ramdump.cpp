#include "livewindows/ramdump.h"

#include <QDir>
#include <QFileInfo>

#include "platform/filesave.h"
#include "platform/installfolder.h"

namespace ostrel {

namespace {

constexpr char hexdigits[] = "0123456789ABCDEF";

void puthex(QByteArray& out, std::uint32_t value, int digits) {
  for (int i = digits - 1; i >= 0; --i) out.append(hexdigits[(value >> (4 * i)) & 0xF]);
}

}  // namespace

RequestTable ramdumpaddresstable(int page) {
  return requesttableof([page](int j) { return ramdumpbase + 16 * page + j; });
}

QString ramdumpheading(int column) {
  if (column == 0) return QStringLiteral("address");
  return QStringLiteral("d &H") + QLatin1Char(hexdigits[(column - 1) & 0xF]);
}

QString ramdumpaddresstext(int page) {
  QByteArray text;
  puthex(text, static_cast<std::uint32_t>(ramdumpbase + 16 * page), 4);
  return QString::fromLatin1(text);
}

QString ramdumpcelltext(std::uint8_t byte) {
  QByteArray text("&H");
  puthex(text, byte, 2);
  return QString::fromLatin1(text);
}

bool RamDumpSweep::take(const RxFrame& rxframe, RamImage& image) {
  std::copy_n(rxframe.begin(), 16, image.begin() + 16 * page_);
  const bool last = page_ >= ramdumppages - 1;
  page_ = last ? 0 : page_ + 1;
  return last;
}

QByteArray ramdumpfile(const RamImage& image) {
  QByteArray out;
  out.reserve(ramdumppages * ramdumplinelength);
  for (int page = 0; page < ramdumppages; ++page) {
    out.append("S123");
    puthex(out, static_cast<std::uint32_t>(ramdumpbase + 16 * page), 4);
    for (int j = 0; j < 16; ++j) puthex(out, image[static_cast<std::size_t>(16 * page + j)], 2);
    out.append("FF\r\n");  // the check field is not computed: always "FF"
  }
  return out;
}

QString ramdumpfilename(const QDateTime& now) {
  return now.toString(QStringLiteral("yyyy_MM_dd__HH_mm_ss")) + QStringLiteral(".txt");
}

RamDumpSave saveramdump(const RamImage& image, const QDateTime& now) {
  RamDumpSave result;
  const QString folder = installpath(ramdumpfolder);
  result.path = QDir(folder).filePath(ramdumpfilename(now));
  if (!QDir().mkpath(folder)) {
    result.error = QStringLiteral("the folder could not be made");
    return result;
  }
  result.error = savefile(result.path, ramdumpfile(image));
  return result;
}

QString ramdumpsavedmessage(const QString& folder) {
  return QStringLiteral("The ram image has been exported to the '") + QDir::toNativeSeparators(folder) +
         QStringLiteral("' folder with the current time and date included in the name");
}

}  // namespace ostrel
