#pragma once

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "link/eculink.h"
#include "link/linkhost.h"
#include "platform/desktopopener.h"
#include "platform/prompts.h"

namespace ostrel::test {

// Keeps the status lines the windows write through the link's host.
struct StatusHost : LinkHost {
  std::vector<QString> lines;
  void statusmessage(const QString& text, bool) override { lines.push_back(text); }
};

// Stands in for the desktop: records what it was asked to open, and whether that happened inside a link tick.
struct RecordingOpener : DesktopOpener {
  explicit RecordingOpener(const EcuLink* link = nullptr) : link(link) { setdesktopopener(this); }
  ~RecordingOpener() override { setdesktopopener(nullptr); }
  RecordingOpener(const RecordingOpener&) = delete;
  RecordingOpener& operator=(const RecordingOpener&) = delete;

  bool openfile(const QString& path) override {
    opened.push_back(path);
    if (link && link->inticks()) openedintick = true;
    return answer;
  }
  const EcuLink* link;
  std::vector<QString> opened;
  bool openedintick = false;
  bool answer = true;  // false: no spreadsheet program
};

// Message boxes, recorded with whether they opened inside a link tick (where none may open).
class TickPrompts final : public Prompts {
 public:
  const EcuLink* link = nullptr;
  struct Shown {
    QString text;
    Icon icon;
    bool intick;
  };
  std::vector<Shown> shown;

  std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
  QString openfilename(const QString&, const QString&, const QString&) override { return {}; }
  QString savefilename(const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QColor> colour(const QColor&) override { return std::nullopt; }

 protected:
  Answer showmessage(const QString& text, Icon icon, Buttons, const QString&) override {
    shown.push_back({text, icon, link && link->inticks()});
    return Answer::Ok;
  }
};

// Reads a workbook with Python's openpyxl, which knows nothing of our writer: the first worksheet's rows, every
// cell as text (an empty optional when python3 or openpyxl is missing). types collects the Python type names seen.
struct WorkbookRows {
  std::vector<QStringList> rows;
  QStringList types;
  int sheets = 0;
};
inline std::optional<WorkbookRows> readworkbook(const QString& path, QString* why) {
  static const char* script = R"(
import json, sys
try:
    import openpyxl
except ImportError:
    sys.exit(3)
book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = [[cell for cell in row] for row in sheet.iter_rows(values_only=True)]
types = sorted({type(cell).__name__ for row in rows for cell in row})
print(json.dumps({"sheets": len(book.worksheets), "rows": rows, "types": types}))
)";
  // The first python3 on the path may be a private one without the system's packages.
  QStringList pythons;
  for (const QString& candidate : {QStandardPaths::findExecutable(QStringLiteral("python3")),
                                   QStringLiteral("/usr/bin/python3")})
    if (!candidate.isEmpty() && QFileInfo(candidate).isExecutable() && !pythons.contains(candidate)) pythons << candidate;
  *why = QStringLiteral("python3 is not installed");
  QProcess p;
  for (const QString& python : pythons) {
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!p.waitForFinished(60000)) {
      *why = QStringLiteral("python3 did not finish");
      return std::nullopt;
    }
    if (p.exitCode() != 3) break;
    *why = QStringLiteral("openpyxl (package python3-openpyxl) is not installed");
  }
  if (pythons.isEmpty() || p.exitCode() == 3) return std::nullopt;
  const QByteArray out = p.readAllStandardOutput();
  const QJsonDocument doc = QJsonDocument::fromJson(out);
  if (p.exitCode() != 0 || !doc.isObject()) {
    *why = QString::fromUtf8(p.readAllStandardError());
    return WorkbookRows{};  // a workbook openpyxl cannot read: no rows
  }
  WorkbookRows result;
  result.sheets = doc.object().value(QStringLiteral("sheets")).toInt();
  for (const QJsonValue& type : doc.object().value(QStringLiteral("types")).toArray()) result.types << type.toString();
  for (const QJsonValue& row : doc.object().value(QStringLiteral("rows")).toArray()) {
    QStringList cells;
    for (const QJsonValue& cell : row.toArray()) cells << cell.toString();
    result.rows.push_back(cells);
  }
  return result;
}

}  // namespace ostrel::test
