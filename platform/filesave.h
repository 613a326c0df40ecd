#pragma once

#include <QByteArray>
#include <QString>

namespace ostrel {

// Empty when a new file may take the place of what is at path (nothing, or a regular file); otherwise the reason: a
// named pipe, a device or a folder there is what the user meant to keep. Looked at, never read.
QString unreplaceable(const QString& path);

// Replaces the file at path with bytes, atomically: a failed write leaves the old file as it was. A named pipe, a
// device or a folder in the file's place is not replaced. Returns the reason on failure, an empty text on success.
QString savefile(const QString& path, const QByteArray& bytes);

// Writes head over the start of the file at path and keeps whatever a longer file holds after it, atomically: a
// failed write leaves the old file as it was. An old file that cannot be read whole, or is not a regular file, is
// not written over. Returns the reason on failure, an empty text on success.
QString savefilehead(const QString& path, const QByteArray& head);

}  // namespace ostrel
