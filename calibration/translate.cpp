#include "calibration/translate.h"

#include <QStringDecoder>
#include <array>

#include "platform/installfolder.h"
#include "platform/readfile.h"

namespace ostrel {

namespace {

// Windows-1252 in 0x80..0x9F, where it differs from Latin-1 (0 = undefined there, kept as the Latin-1 control).
constexpr std::array<char16_t, 32> cp1252high{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                              0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Translation files were written with an 8-bit Windows code page; one saved as UTF-8 on this system reads as such.
QString decode(QByteArrayView bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  text.resize(bytes.size());
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const char16_t high = byte >= 0x80 && byte <= 0x9F ? cp1252high[byte - 0x80] : 0;
    out[i] = QChar(high != 0 ? high : static_cast<char16_t>(byte));
  }
  return text;
}

// The text between the quotes: the line without its first two characters and its last one.
QString quoted(QStringView line) {
  return line.size() >= 3 ? line.sliced(2, line.size() - 3).toString() : QString();
}

QString keyof(QStringView text) {
  return text.toString().toCaseFolded();
}

// A translations file is far smaller than this; a larger one is not read at all rather than held in memory.
constexpr qint64 translationslimit = qint64{128} << 20;

}  // namespace

Translations Translations::fromfilebytes(const QByteArray& bytes) {
  Translations result;
  if (bytes.size() < 2) return result;
  const QString text = decode(QByteArrayView(bytes).sliced(2));
  const QStringView all(text);
  // The current key, case-folded once, and whether it already has its translation: every line is looked at once,
  // so reading stays linear in the file's size however long a key is or however many lines follow it.
  QString key;
  bool keydone = true;
  qsizetype from = 0;
  // Only lines ended by CR LF are entries: the text after the last one is not examined.
  for (qsizetype end = all.indexOf(u"\r\n", from); end >= 0; from = end + 2, end = all.indexOf(u"\r\n", from)) {
    const QStringView line = all.sliced(from, end - from);
    if (line.isEmpty()) continue;
    if (line.front() == QLatin1Char('>')) {
      // A line too short to hold quotes leaves the current key as it was.
      if (line.size() < 3) continue;
      key = keyof(line.sliced(2, line.size() - 3));
      // Nothing is stored under an empty key, so an untranslated empty text stays empty; the first translation
      // stored under a key stays.
      keydone = key.isEmpty() || result.items_.contains(key);
    } else if (line.front() == QLatin1Char('=')) {
      if (line.size() < 3 || keydone) continue;
      result.items_.insert(key, quoted(line));
      keydone = true;
    }
  }
  return result;
}

Translations Translations::fromfile(const QString& path) {
  // A missing, unreadable or oversized file, a folder, a pipe or a device: no translations.
  const FileRead file = readwholefile(path, translationslimit);
  if (!file.ok()) return {};
  return fromfilebytes(file.bytes);
}

QString Translations::translate(const QString& text) const {
  const QString item = items_.value(keyof(text));
  return item.isEmpty() ? text : item;
}

namespace {

// Read on first use and kept for the whole run; a file changed meanwhile counts at the next start.
const Translations& programtranslations() {
  static const Translations loaded = Translations::fromfile(installpath(QStringLiteral("translations.txt")));
  return loaded;
}

}  // namespace

void loadtranslations() {
  programtranslations();
}

QString translate(const QString& text) {
  return programtranslations().translate(text);
}

}  // namespace ostrel
