#include "platform/workbook.h"

#include "platform/filesave.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QTemporaryDir>

namespace ostrel {

QString writeworkbook(const QString& path, const std::vector<QStringList>& rows) {
  // The library writes only to a named file of its own; it goes to a scratch folder first, so that a failure
  // halfway never leaves a broken workbook under the real name.
  QTemporaryDir scratch;
  if (!scratch.isValid()) return scratch.errorString();
  const QByteArray scratchfolder = QFile::encodeName(scratch.path());
  const QByteArray scratchbook = QFile::encodeName(scratch.filePath(QStringLiteral("book.xlsx")));

  lxw_workbook_options options{};
  options.tmpdir = const_cast<char*>(scratchfolder.constData());
  lxw_workbook* workbook = workbook_new_opt(scratchbook.constData(), &options);
  if (!workbook) return QStringLiteral("the workbook could not be started");
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
  lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
  for (std::size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
    for (qsizetype c = 0; c < rows[r].size() && error == LXW_NO_ERROR; ++c) {
      const QByteArray text = rows[r][c].toUtf8();
      error = worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), text.constData(),
                                     nullptr);
    }
  }
  // Closing writes the file and frees the workbook, also after an error above.
  const lxw_error closed = workbook_close(workbook);
  if (error == LXW_NO_ERROR) error = closed;
  if (error != LXW_NO_ERROR) return QString::fromUtf8(lxw_strerror(error));

  QFile written(scratch.filePath(QStringLiteral("book.xlsx")));
  if (!written.open(QIODevice::ReadOnly)) return written.errorString();
  const QByteArray bytes = written.readAll();
  return savefile(path, bytes);
}

}  // namespace ostrel
