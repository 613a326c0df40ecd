#include "editors/latin1text.h"

#include <QList>

namespace ostrel {

std::vector<std::uint8_t> latin1codes(const QString& text) {
  std::vector<std::uint8_t> codes;
  codes.reserve(static_cast<std::size_t>(text.size()));
  for (const char32_t c : text.toUcs4()) codes.push_back(c <= 0xFF ? static_cast<std::uint8_t>(c) : '?');
  return codes;
}

QString tolatin1(const QString& text) {
  return fromlatin1(latin1codes(text));
}

QString fromlatin1(const std::vector<std::uint8_t>& codes) {
  QString text;
  text.reserve(static_cast<qsizetype>(codes.size()));
  for (const std::uint8_t code : codes) text += QChar(code);
  return text;
}

}  // namespace ostrel
