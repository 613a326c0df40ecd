#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <random>

#include "calibration/bytetables.h"
#include "calibration/calfile.h"
#include "calibration/maps.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

// A random image whose map-0 cells stay within 0..8000, as the cell store keeps them.
CalibrationImage randomimage(std::mt19937& rng) {
  CalibrationImage image{};
  std::uniform_int_distribution<int> byte(0, 255), word(0, 8000);
  for (auto& b : image) b = static_cast<std::uint8_t>(byte(rng));
  for (int cell = 0; cell < 1024; ++cell) {
    const int v = cell % 97 == 0 ? 8000 : word(rng);
    image[2 * cell] = static_cast<std::uint8_t>(v / 256);
    image[2 * cell + 1] = static_cast<std::uint8_t>(v % 256);
  }
  return image;
}

QByteArray readall(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeall(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray withoutcr(QByteArray text) {
  return text.replace("\r\n", "\n");
}

class CalibrationFile : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

  QTemporaryDir dir;
  RecordingPrompts prompts;
  std::mt19937 rng{20240611};
};

}  // namespace

TEST_F(CalibrationFile, RandomImagesSurviveSaveAndOpen) {
  maps source(prompts), target(prompts);
  for (int round = 0; round < 12; ++round) {
    const CalibrationImage image = randomimage(rng);
    source.setimage(image);
    ASSERT_TRUE(source.savefile(path("round.s26")));
    EXPECT_EQ(QFile(path("round.s26")).size(), 77824);
    ASSERT_TRUE(target.openfile(path("round.s26"), true, false));
    EXPECT_EQ(target.getimage(), image) << "round " << round;
    // The same lines without CR, read as an emailed file.
    writeall(path("unix.s26"), withoutcr(readall(path("round.s26"))));
    ASSERT_TRUE(target.openfile(path("unix.s26"), true, true));
    EXPECT_EQ(target.getimage(), image) << "round " << round;
  }
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(CalibrationFile, LinesCarryAddressSubstitutedShiftedDigitsAndFixedFields) {
  CalibrationImage image{};
  image[0] = 0x1F;  // map 0 cell (0, 0) = 8000, high byte first
  image[1] = 0x40;
  image[0x800] = 0xA7;  // map 1 cell (0, 0), the first byte of line 64
  const QByteArray text = encodecalfile(image);
  ASSERT_EQ(text.size(), 77824);
  auto shifted = [](std::uint8_t b) {
    const char* hex = "0123456789ABCDEF";
    return QByteArray{1, static_cast<char>(hex[b >> 4] + 0x31)} + QByteArray{1, static_cast<char>(hex[b & 15] + 0x31)};
  };
  const QByteArray line0 = text.mid(0, 76);
  EXPECT_EQ(line0.left(8), "S1238000");
  EXPECT_EQ(line0.mid(8, 4), shifted(encodefilebyte(0x1F)) + shifted(encodefilebyte(0x40)));
  EXPECT_EQ(line0.right(4), "FF\r\n");
  const QByteArray line64 = text.mid(76 * 64, 76);
  EXPECT_EQ(line64.left(8), "S1238800");
  EXPECT_EQ(line64.mid(8, 2), shifted(encodefilebyte(0xA7)));
  EXPECT_EQ(text.mid(76 * 1023, 8), "S123FFE0");
  for (int k = 0; k < 1024; ++k) {
    for (int n = 8; n < 72; ++n) {
      const char c = text[76 * k + n];
      ASSERT_TRUE((c >= 'a' && c <= 'j') || (c >= 'r' && c <= 'w')) << "line " << k << " offset " << n;
    }
  }
  // The beta form: plain digits of the bytes themselves.
  const QByteArray beta = encodecalfile(image, CalFormat::Beta);
  EXPECT_EQ(beta.mid(8, 4), "1F40");
  EXPECT_EQ(beta.mid(76 * 64 + 8, 2), "A7");
  EXPECT_EQ(decodecalfile(beta, CalFormat::Beta, false), image);
}

TEST_F(CalibrationFile, BaseFuelCellsAbove8000ReadAs8000InBothFormats) {
  CalibrationImage image{};
  auto put = [&image](int cell, int value) {
    image[2 * cell] = static_cast<std::uint8_t>(value / 256);
    image[2 * cell + 1] = static_cast<std::uint8_t>(value % 256);
  };
  put(0, 0xFFFF);
  put(5, 8001);
  put(6, 8000);
  put(1023, 0x2000);
  image[2048] = 0xFF;  // map 1 is bytes: never limited
  for (const CalFormat format : {CalFormat::Current, CalFormat::Beta}) {
    writeall(path("big.s26"), encodecalfile(image, format));
    maps model(prompts);
    ASSERT_TRUE(model.openfile(path("big.s26"), format == CalFormat::Current, false));
    EXPECT_EQ(model.getdata(0, 0, 0), 8000);
    EXPECT_EQ(model.getdata(0, 0, 5), 8000);
    EXPECT_EQ(model.getdata(0, 0, 6), 8000);
    EXPECT_EQ(model.getdata(0, 31, 31), 8000);
    EXPECT_EQ(model.getdata(0, 0, 1), 0);
    EXPECT_EQ(model.getdata(1, 0, 0), 255);
  }
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(CalibrationFile, DamagedFilesAreRefusedWithTheirMessagesAndChangeNothing) {
  CalibrationImage good = randomimage(rng);
  writeall(path("good.s26"), encodecalfile(good));
  good[0x800] = 0xAB;  // gives the beta file a cell with letter digits
  QByteArray lowercase = encodecalfile(good, CalFormat::Beta);
  lowercase.replace(76 * 64 + 8, 2, "ab");
  QByteArray onebad = encodecalfile(good);
  onebad[76 * 1023 + 71] = 'x';  // the very last data digit
  writeall(path("beta.s26"), encodecalfile(good, CalFormat::Beta));
  writeall(path("lowercase.s26"), lowercase);
  writeall(path("unix.s26"), withoutcr(encodecalfile(good)));
  writeall(path("truncated.s26"), encodecalfile(good).left(77824 - 6));
  writeall(path("empty.s26"), QByteArray());
  writeall(path("lastdigit.s26"), onebad);
  QDir(dir.path()).mkdir(QStringLiteral("folder.s26"));

  const QString nocurrent = QStringLiteral("The file is not a valid 2.64+ file");
  const QString nobeta = QStringLiteral("The file is not a valid beta file");
  const QString opening = QStringLiteral("A file opening error occurred");
  const QString system = QStringLiteral("A file system error occurred");
  struct Case {
    const char* what;
    QString file;
    bool current, lfonly;
    std::vector<QString> messages;
  };
  const Case cases[] = {
      {"2.64+ file read as beta", QStringLiteral("good.s26"), false, false, {nobeta, opening}},
      {"beta file read as 2.64+", QStringLiteral("beta.s26"), true, false, {nocurrent, opening}},
      {"lower-case beta digits", QStringLiteral("lowercase.s26"), false, false, {nobeta, opening}},
      {"CR LF file read as LF-only", QStringLiteral("good.s26"), true, true, {nocurrent, opening}},
      {"LF-only file read as CR LF", QStringLiteral("unix.s26"), true, false, {nocurrent, opening}},
      {"truncated file", QStringLiteral("truncated.s26"), true, false, {nocurrent, opening}},
      {"empty file", QStringLiteral("empty.s26"), true, false, {nocurrent, opening}},
      {"bad last digit", QStringLiteral("lastdigit.s26"), true, false, {nocurrent, opening}},
      {"missing path", QStringLiteral("nosuchfile.s26"), true, false, {system}},
      {"a folder", QStringLiteral("folder.s26"), true, false, {system}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A loaded calibration, not yet recalculated (so the last shown row is still 2), with a changed mark.
    maps model(prompts);
    const CalibrationImage before = randomimage(rng);
    model.setimage(before);
    model.setdata(8, 3, 4, 77, true);
    const CalibrationImage loaded = model.getimage();
    prompts.clear();
    EXPECT_FALSE(model.openfile(path(c.file), c.current, c.lfonly));
    EXPECT_EQ(prompts.messages(), c.messages);
    for (const auto& r : prompts.records) EXPECT_EQ(r.icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(model.getimage(), loaded);
    EXPECT_TRUE(model.getchange(8, 3, 4));
    EXPECT_EQ(model.getlastshowrow(0), 2) << "recalculated after a failed read";
  }
}

TEST_F(CalibrationFile, OnlyTheDataDigitsAreExamined) {
  const CalibrationImage image = randomimage(rng);
  QByteArray text = encodecalfile(image);
  for (int k = 0; k < 1024; k += 3) {
    text.replace(76 * k, 8, "S9xx????");     // record type and address
    text.replace(76 * k + 72, 4, "..\n\r");  // check field and line end
  }
  writeall(path("odd.s26"), text);
  maps model(prompts);
  ASSERT_TRUE(model.openfile(path("odd.s26"), true, false));
  EXPECT_EQ(model.getimage(), image);
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(CalibrationFile, OpeningRecalculatesAndKeepsTheMarks) {
  CalibrationImage image{};
  // Settings map 110 at 0xFA00: load increment 20 of row 4 is the end marker, so 21 load points are shown.
  image[0x7A00 + 16 * 4 + 15] = 20;
  image[0x7A00 + 16 * 5 + 4] = 255;
  writeall(path("spread.s26"), encodecalfile(image));
  maps model(prompts);
  model.setdata(19, 2, 2, 5, true);
  ASSERT_TRUE(model.openfile(path("spread.s26"), true, false));
  EXPECT_EQ(model.getlastshowrow(0), 21);
  EXPECT_TRUE(model.getchange(19, 2, 2));
  EXPECT_EQ(model.getdata(19, 2, 2), 0);
}

TEST_F(CalibrationFile, SaveReplacesTheWholeFileAtomically) {
  maps model(prompts);
  model.setimage(randomimage(rng));
  const QByteArray expected = encodecalfile(model.getimage());

  // Over a longer file: the result is exactly the new file.
  writeall(path("long.s26"), QByteArray(100000, 'z'));
  ASSERT_TRUE(model.savefile(path("long.s26")));
  EXPECT_EQ(readall(path("long.s26")), expected);

  // A save that cannot complete reports it and leaves the earlier file as it was. The name is as long as a file
  // name may be, so there is no room beside it for the temporary file a safe save writes first.
  const QString longname = path(QString(250, QLatin1Char('n')) + QStringLiteral(".s26"));
  writeall(longname, QByteArray("earlier"));
  EXPECT_FALSE(model.savefile(longname));
  EXPECT_EQ(readall(longname), "earlier");

  EXPECT_FALSE(model.savefile(path("nosuchfolder/x.s26")));
  EXPECT_FALSE(model.savefile(dir.path()));
  EXPECT_FALSE(model.savefile(QString()));
  EXPECT_TRUE(prompts.messages().empty());  // the caller reports failed saves
}
