// The calibration model's readers refuse a pipe, a device or a folder in a file's place, each with its own failure,
// at once and without changing what they hold.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include "calibration/calfile.h"
#include "calibration/maps.h"
#include "calibration/maps25.h"
#include "calibration/translate.h"
#include "common/testsupport.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

CalibrationImage patternimage() {
  CalibrationImage image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  for (std::size_t o = 0; o < 2048; o += 2) image[o] = 0x10;  // map-0 cells within 0..8000
  return image;
}

void expectcalibrationrefused(const QString& path, bool current, bool lfonly) {
  RecordingPrompts prompts;
  maps model(prompts);
  model.setimage(patternimage());
  EXPECT_FALSE(model.openfile(path, current, lfonly));
  EXPECT_EQ(prompts.messages(), std::vector<QString>{QStringLiteral("A file system error occurred")});
  EXPECT_EQ(model.getimage(), patternimage());
}

}  // namespace

TEST(ReadersRefuseWhatIsNotAFile, CalibrationOldFileAndTranslations) {
  test::BlockGuard guard;
  QTemporaryDir dir;
  Maps25 oldfile;
  QByteArray olds20;
  for (int line = 0; line < Maps25::filelines; ++line) olds20 += "S1230000" + QByteArray(64, '1') + "FF\r\n";
  ASSERT_TRUE(oldfile.openbytes(olds20));

  struct Reader {
    const char* name;
    std::function<void(const QString&)> refuses;
  };
  const Reader readers[] = {
      {"2.64+ calibration", [](const QString& p) { expectcalibrationrefused(p, true, false); }},
      {"LF-only calibration", [](const QString& p) { expectcalibrationrefused(p, true, true); }},
      {"beta calibration", [](const QString& p) { expectcalibrationrefused(p, false, false); }},
      {"version 2.1-2.5 file",
       [&oldfile](const QString& p) {
         EXPECT_FALSE(oldfile.openfile(p));
         EXPECT_TRUE(oldfile.failuretext().isEmpty());  // not the "corrupted" notice: nothing was read
         EXPECT_EQ(oldfile.getdata(1, 0, 0), 0x11);     // the previous file stays
       }},
      {"translations", [](const QString& p) { EXPECT_EQ(Translations::fromfile(p).size(), 0); }},
  };
  for (const test::NotAFileCase& thing : test::notafiles) {
    const QString path = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(test::placenotafile(path, thing.kind)) << thing.name;
    for (const Reader& reader : readers) {
      SCOPED_TRACE(std::string(reader.name) + " from a " + thing.name);
      reader.refuses(path);
    }
  }
  for (const Reader& reader : readers) {
    SCOPED_TRACE(std::string(reader.name) + " from /dev/zero itself");
    reader.refuses(QStringLiteral("/dev/zero"));
  }
}

TEST(WritersNeverReplaceWhatIsNotAFile, Calibration) {
  test::BlockGuard guard;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("chosen.s26"));
  const CalibrationImage image{};
  ASSERT_TRUE(writecalfile(path, image));
  for (const test::NotAFileCase& thing : test::notafiles) {
    SCOPED_TRACE(thing.name);
    ASSERT_TRUE(test::placenotafile(path, thing.kind));
    EXPECT_FALSE(writecalfile(path, image));
    const QFileInfo after(path);
    EXPECT_TRUE(after.isSymLink() || !after.isFile()) << "replaced by a file";
  }
}
