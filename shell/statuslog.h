#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace ostrel {

// The status console and the debug log, apart from any window: the link, the file commands and the views write
// here whether or not the status window exists; the window shows what this holds and follows its signals.
class StatusLog : public QObject {
  Q_OBJECT

 public:
  static inline const QString crlf = QStringLiteral("\r\n");

  explicit StatusLog(QObject* parent = nullptr) : QObject(parent) {}

  // Routine events: the four-line console. clear puts the text on the first line and empties the other three;
  // otherwise the lines move up and the text becomes the newest line.
  void statusmessage(const QString& text, bool clear = false);
  // Debug lines, appended without limit until the debug box is cleared.
  void debugmessage(const QString& text);
  void cleardebug();

  // The console text: each line behind "> ", the newest behind ">> ", joined by CR LF; "Status:" before the
  // first message.
  const QString& consoletext() const { return console_; }
  const QString& debugtext() const { return debug_; }
  const std::array<QString, 4>& lines() const { return lines_; }

 signals:
  void consolechanged(const QString& text);
  void debugappended(const QString& line);
  void debugcleared();

 private:
  std::array<QString, 4> lines_;  // oldest first
  QString console_ = QStringLiteral("Status:");
  QString debug_ = QStringLiteral("Status:");
};

}  // namespace ostrel
