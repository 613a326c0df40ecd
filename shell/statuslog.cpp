#include "shell/statuslog.h"

namespace ostrel {

void StatusLog::statusmessage(const QString& text, bool clear) {
  if (clear) {
    lines_ = {text, QString(), QString(), QString()};
  } else {
    lines_ = {lines_[1], lines_[2], lines_[3], text};
  }
  console_ = QStringLiteral("> ") + lines_[0] + crlf + QStringLiteral("> ") + lines_[1] + crlf + QStringLiteral("> ") +
             lines_[2] + crlf + QStringLiteral(">> ") + lines_[3];
  emit consolechanged(console_);
}

void StatusLog::debugmessage(const QString& text) {
  debug_ += crlf + text;
  emit debugappended(text);
}

void StatusLog::cleardebug() {
  debug_.clear();
  emit debugcleared();
}

}  // namespace ostrel
