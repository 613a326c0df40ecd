#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace ostrel {

// Writes a new spreadsheet workbook (.xlsx) with one worksheet whose rows are the given texts, row 0 in row 1 and
// the first text of a row in column A, every cell a text cell. The file appears only when it is complete. Returns
// the reason on failure, an empty text on success.
QString writeworkbook(const QString& path, const std::vector<QStringList>& rows);

}  // namespace ostrel
