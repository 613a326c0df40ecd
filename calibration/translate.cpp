#include "calibration/translate.h"

#include <QFile>
#include <QStringDecoder>
#include <array>

#include "platform/installfolder.h"

namespace ostrel {

namespace {

// Windows-1252 in 0x80..0x9F, where it differs from Latin-1 (0 = undefined there, kept as the Latin-1 control).
constexpr std::array<char16_t, 32> cp1252high{0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                              0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Translation files were written with an 8-bit Windows code page; one saved as UTF-8 on this system reads as such.
QString decode(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  text.resize(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    const char16_t high = byte >= 0x80 && byte <= 0x9F ? cp1252high[byte - 0x80] : 0;
    text[i] = QChar(high != 0 ? high : static_cast<char16_t>(byte));
  }
  return text;
}

// The text between the quotes: the line without its first two characters and its last one.
QString quoted(const QString& line) {
  return line.size() >= 3 ? line.mid(2, line.size() - 3) : QString();
}

QString keyof(const QString& text) {
  return text.toCaseFolded();
}

}  // namespace

Translations Translations::fromfilebytes(const QByteArray& bytes) {
  Translations result;
  if (bytes.size() < 2) return result;
  const QStringList lines = decode(bytes.mid(2)).split(QStringLiteral("\r\n"));
  QString key;
  // The text after the last CR LF is not an entry line.
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
    const QString& line = lines[i];
    if (line.isEmpty()) continue;
    if (line.front() == QLatin1Char('>')) {
      // A line too short to hold quotes leaves the current key as it was.
      if (line.size() >= 3) key = quoted(line);
    } else if (line.front() == QLatin1Char('=')) {
      // Nothing is stored under an empty key, so an untranslated empty text stays empty.
      if (line.size() < 3 || key.isEmpty()) continue;
      const QString folded = keyof(key);
      if (!result.items_.contains(folded)) result.items_.insert(folded, quoted(line));
    }
  }
  return result;
}

Translations Translations::fromfile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return fromfilebytes(file.readAll());
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
