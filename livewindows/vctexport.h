#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "livewindows/vctdata.h"

namespace ostrel {

// The folder of the install folder that the cam timing workbooks go to.
inline const QString vctexportfolder = QStringLiteral("vct");

// "vct_" and the date and time, file-safe ("vct_2024_05_01__13_45_07.xlsx").
QString vctworkbookname(const QDateTime& now);

struct VctExportResult {
  QString path;   // the workbook written, or the one that could not be written
  QString error;  // why it could not be written; empty when it was
  bool opened = false;  // the spreadsheet program took it
};

// Writes the buffer into a new workbook (the 16 labels, then one row per sample) in the install folder's "vct"
// folder, made when missing, and opens it in the user's spreadsheet program.
VctExportResult exportvct(const std::vector<VctBuffer::Sample>& samples, const QDateTime& now);

// The status line that tells the user where the export went, or why it went nowhere.
QString vctexportstatus(const VctExportResult& result);

}  // namespace ostrel
