#include "calibration/translate.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace ostrel {
namespace {

// A translations file: two leading bytes that are skipped, then the lines, each ended by CR LF.
QByteArray file(const QByteArray& lines) {
  return QByteArray("\xFF\xFE") + lines;
}

TEST(Translate, EntriesAndLookupRules) {
  const Translations t = Translations::fromfilebytes(
      file(">\"File\"\r\n=\"Datei\"\r\n"
           ">\"Exit\"\r\n=\"Beenden\"\r\n=\"Schliessen\"\r\n"  // two translations: the first counts
           ">\"EXIT\"\r\n=\"Ende\"\r\n"                        // same key in other case: the first stays
           ">\"Empty\"\r\n=\"\"\r\n"                           // empty translation
           ">\"Orphan\"\r\n"                                   // key without translation
           "\r\n"                                              // blank line
           "# comment\r\n"                                     // ignored
           ">\"Line\nfeed\"\r\n=\"lone LF kept\"\r\n"          // a lone LF is part of the line
           ">\"Last\"\r\n=\"not examined\""));                 // no closing CR LF: last line not examined
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"File", "Datei"},
      {"FILE", "Datei"},
      {"file", "Datei"},
      {"Exit", "Beenden"},
      {"exit", "Beenden"},
      {"Empty", "Empty"},
      {"Orphan", "Orphan"},
      {"Line\nfeed", "lone LF kept"},
      {"Last", "Last"},
      {"Unknown", "Unknown"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t.translate(QString::fromLatin1(c.text)), QString::fromLatin1(c.expected)) << c.text;
  }
}

TEST(Translate, ShortAndMalformedInputNeverFails) {
  for (const QByteArray& bytes : {QByteArray(), QByteArray("x"), QByteArray("\xFF\xFE"), file("=\"x\"\r\n"),
                                  file(">\r\n=\"x\"\r\n"), file(">\"\r\n=\r\n"), file("\r\n\r\n\r\n")}) {
    const Translations t = Translations::fromfilebytes(bytes);
    EXPECT_EQ(t.size(), 0) << bytes.toStdString();
    EXPECT_EQ(t.translate(QStringLiteral("File")), QStringLiteral("File"));
  }
  // A ">" line too short for quotes keeps the key that came before.
  const Translations kept = Translations::fromfilebytes(file(">\"Open\"\r\n>\r\n=\"Oeffnen\"\r\n"));
  EXPECT_EQ(kept.translate(QStringLiteral("Open")), QStringLiteral("Oeffnen"));
  // Without quotes the slice simply loses the first two and the last character.
  const Translations bare = Translations::fromfilebytes(file(">xSavey\r\n=xSicherny\r\n"));
  EXPECT_EQ(bare.translate(QStringLiteral("Save")), QStringLiteral("Sichern"));
}

TEST(Translate, LargeFilesKeepEveryRule) {
  // Many entries, a long source text followed by many translation lines, and long keys repeated in other case:
  // the shapes a reader that is not linear in the file's size chokes on.
  const QByteArray longtext(300'000, 'k');
  QByteArray lines = ">\"" + longtext + "\"\r\n";
  for (int n = 0; n < 40'000; ++n) lines += "=\"long " + QByteArray::number(n) + "\"\r\n";
  for (int n = 0; n < 40'000; ++n) {
    lines += ">\"Caption " + QByteArray::number(n) + "\"\r\n=\"Beschriftung " + QByteArray::number(n) + "\"\r\n";
    lines += ">\"CAPTION " + QByteArray::number(n) + "\"\r\n=\"second\"\r\n";  // the first stays
  }
  for (int n = 0; n < 20; ++n) lines += ">\"" + longtext.toUpper() + "\"\r\n=\"later\"\r\n";
  const Translations t = Translations::fromfilebytes(file(lines));
  EXPECT_EQ(t.size(), 40'001);
  EXPECT_EQ(t.translate(QString::fromLatin1(longtext)), QStringLiteral("long 0"));
  EXPECT_EQ(t.translate(QStringLiteral("caption 0")), QStringLiteral("Beschriftung 0"));
  EXPECT_EQ(t.translate(QStringLiteral("Caption 39999")), QStringLiteral("Beschriftung 39999"));
  EXPECT_EQ(t.translate(QStringLiteral("Caption 40000")), QStringLiteral("Caption 40000"));
}

TEST(Translate, EightBitAndUtf8Files) {
  const Translations cp1252 = Translations::fromfilebytes(file(">\"Open\"\r\n=\"\xD6\x66\x66nen \x80\"\r\n"));
  EXPECT_EQ(cp1252.translate(QStringLiteral("Open")), QString::fromUtf8("Öffnen €"));
  const Translations utf8 = Translations::fromfilebytes(file(">\"Open\"\r\n=\"\xC3\x96\x66\x66nen\"\r\n"));
  EXPECT_EQ(utf8.translate(QStringLiteral("Open")), QString::fromUtf8("Öffnen"));
}

TEST(Translate, FromFileAndMissingFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("translations.txt"));
  EXPECT_EQ(Translations::fromfile(path).size(), 0);
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(file(">\"Map\"\r\n=\"Kennfeld\"\r\n"));
  out.close();
  EXPECT_EQ(Translations::fromfile(path).translate(QStringLiteral("MAP")), QStringLiteral("Kennfeld"));
}

TEST(Translate, ProgramWideHelperReturnsTextsWithoutAFile) {
  // The shipped install folder has no translations file.
  loadtranslations();
  EXPECT_EQ(translate(QStringLiteral("&Open from file")), QStringLiteral("&Open from file"));
  EXPECT_EQ(translate(QString()), QString());
}

}  // namespace
}  // namespace ostrel
