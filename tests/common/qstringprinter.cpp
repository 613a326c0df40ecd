#include "common/qstringprinter.h"

#include <cstdio>
#include <ostream>

void PrintTo(const QString& text, std::ostream* os) {
  *os << '"';
  for (const char c : text.toStdString()) {
    switch (c) {
      case '\n': *os << "\\n"; break;
      case '\r': *os << "\\r"; break;
      case '\t': *os << "\\t"; break;
      case '"': *os << "\\\""; break;
      case '\\': *os << "\\\\"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escaped[5];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
          *os << escaped;
        } else {
          *os << c;
        }
    }
  }
  *os << '"';
}
