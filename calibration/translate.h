#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace ostrel {

// Returns the translation of a caption or message from "translations.txt" in the install folder, or the text
// itself when there is none (or it is empty). The file is read once, on the first call, and kept for the run;
// a missing or damaged file simply means no translations.
QString translate(const QString& text);

// Reads the translations file if that has not happened yet; later calls do nothing.
void loadtranslations();

// The parsed contents of a translations file. Entries are two lines, '>"source"' then '="translation"', each
// ended by CR LF; the first two bytes of the file are skipped. Keys compare without regard to letter case and
// the first translation stored under a key stays.
class Translations {
 public:
  Translations() = default;

  // Parses the whole file contents (including the two leading bytes that are skipped).
  static Translations fromfilebytes(const QByteArray& bytes);

  // Reads and parses a file; a file that cannot be read, is not a regular file or is larger than 128 MiB gives
  // no translations.
  static Translations fromfile(const QString& path);

  // The translation of the text, or the text itself when there is none or it is empty.
  QString translate(const QString& text) const;

  int size() const { return static_cast<int>(items_.size()); }

 private:
  QHash<QString, QString> items_;  // key: case-folded source text
};

}  // namespace ostrel
