#pragma once

#include <QByteArray>
#include <QString>

namespace ostrel {

// What reading one of the program's files gave. Only regular files are read: a named pipe would block the window
// thread forever and a device such as /dev/zero never ends, so both are refused before a byte is read.
struct FileRead {
  enum class Status {
    Ok,
    Missing,     // no such file
    NotRegular,  // a folder, a named pipe, a device, a socket
    Unreadable,  // the system refused to open or read it
    TooLarge,    // longer than the whole-file limit
  };
  Status status = Status::Missing;
  QByteArray bytes;  // what was read; empty unless the status is Ok
  QString reason;    // why not, in words for a message ("not a regular file", the system's own text)

  bool ok() const { return status == Status::Ok; }
};

// The first limit bytes of a regular file (all of a shorter one); a longer file is fine.
FileRead readfilehead(const QString& path, qint64 limit);

// A whole regular file of at most limit bytes; a longer one is TooLarge and gives no bytes.
FileRead readwholefile(const QString& path, qint64 limit);

}  // namespace ostrel
