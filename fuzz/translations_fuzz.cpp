// A translations file, read and compared with a plain line-by-line reading of the same rules: every source text
// the plain reading finds gives the same translation, and there are no others.

#include <QHash>
#include <QStringDecoder>
#include <QStringList>

#include "calibration/translate.h"
#include "fuzzsupport.h"

using namespace ostrel;

namespace {

// The rules at their plainest: split into lines at CR LF, skip the text after the last one, '>' sets the key and
// '=' stores the translation of a key that has none yet; keys compare case-folded.
QHash<QString, QString> plainreading(const QString& text) {
  QHash<QString, QString> items;
  const QStringList lines = text.split(QStringLiteral("\r\n"));
  QString key;
  for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
    const QString& line = lines[i];
    if (line.size() < 3) continue;
    if (line.front() == QLatin1Char('>')) key = line.mid(2, line.size() - 3);
    if (line.front() == QLatin1Char('=') && !key.isEmpty() && !items.contains(key.toCaseFolded()))
      items.insert(key.toCaseFolded(), line.mid(2, line.size() - 3));
  }
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes = fuzz::inputbytes(data, size);
  const Translations read = Translations::fromfilebytes(bytes);
  if (bytes.size() < 2) {
    FUZZ_CHECK(read.size() == 0);
    return 0;
  }
  // Decoded as the reader decodes: UTF-8 when the bytes are UTF-8, else the 8-bit code page, which is Latin-1 but
  // for 0x80-0x9F; files with those bytes are only read, not compared.
  const QByteArrayView body = QByteArrayView(bytes).sliced(2);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(body);
  if (utf8.hasError()) {
    for (char c : body) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80 && byte <= 0x9F) return 0;
    }
    text = QString::fromLatin1(body);
  }
  const QHash<QString, QString> expected = plainreading(text);
  FUZZ_CHECK(read.size() == expected.size());
  for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
    const QString want = it.value().isEmpty() ? it.key() : it.value();
    FUZZ_CHECK(read.translate(it.key()) == want);
  }
  // A text that is no source text comes back as it is.
  const QString other = QStringLiteral("\x01 not a source text \x02");
  if (!expected.contains(other.toCaseFolded())) FUZZ_CHECK(read.translate(other) == other);
  return 0;
}
