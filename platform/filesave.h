#pragma once

#include <QByteArray>
#include <QString>

namespace ostrel {

// Writes head over the start of the file at path and keeps whatever a longer file holds after it, atomically: a
// failed write leaves the old file as it was. Returns the system's reason on failure, an empty text on success.
QString savefilehead(const QString& path, const QByteArray& head);

}  // namespace ostrel
