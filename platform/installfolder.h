#pragma once

#include <QByteArray>
#include <QString>

namespace ostrel {

// The folder that holds the program's fixed files (calibrations, preferences, colours, profiles, port list).
// It is the user's XDG data folder "ostrel", created on first use and seeded with every shipped default file
// that is missing there; a user's own file is never overwritten.
QString installfolder();

// Path of a fixed file inside the install folder.
QString installpath(const QString& name);

// Whether a calibration may not be saved under this path: the map check's template "template.s26" in the install
// folder is never overwritten, and the bare pattern "*.s26" there is no file.
bool isprotectedsavepath(const QString& path);

// Points the install folder somewhere else (tests); the folder is created and seeded the same way.
void setinstallfolder(const QString& folder);

// Copies every shipped default file that is missing from the folder; returns how many were copied.
int seedinstallfolder(const QString& folder);

// The shipped default of a fixed file, as the first start puts it into the install folder; empty when none ships
// under that name.
QByteArray shippedfile(const QString& name);

}  // namespace ostrel
