#include "livewindows/vctexport.h"

#include <QDir>

#include "platform/desktopopener.h"
#include "platform/installfolder.h"
#include "platform/workbook.h"

namespace ostrel {

QString vctworkbookname(const QDateTime& now) {
  return QStringLiteral("vct_") + now.toString(QStringLiteral("yyyy_MM_dd__HH_mm_ss")) + QStringLiteral(".xlsx");
}

VctExportResult exportvct(const std::vector<VctBuffer::Sample>& samples, const QDateTime& now) {
  VctExportResult result;
  const QString folder = installpath(vctexportfolder);
  result.path = QDir(folder).filePath(vctworkbookname(now));
  if (!QDir().mkpath(folder)) {
    result.error = QStringLiteral("the folder could not be made");
    return result;
  }
  result.error = writeworkbook(result.path, vctexportrows(samples));
  if (result.error.isEmpty()) result.opened = desktopopener().openfile(result.path);
  return result;
}

QString vctexportstatus(const VctExportResult& result) {
  const QString path = QDir::toNativeSeparators(result.path);
  if (!result.error.isEmpty()) return QStringLiteral("The VCT buffer could not be exported to ") + path +
                                      QStringLiteral(": ") + result.error;
  if (!result.opened)
    return QStringLiteral("The VCT buffer was exported to ") + path +
           QStringLiteral(", but no spreadsheet program could be started for it");
  return QStringLiteral("The VCT buffer was exported to ") + path;
}

}  // namespace ostrel
