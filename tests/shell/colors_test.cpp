#include "platform/colors.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "common/testsupport.h"
#include "platform/prompts.h"
#include "recordingshellhost.h"
#include "shell/colors.h"
#include "shellfixture.h"

using namespace ostrel;

namespace {

QByteArray record(int b0, int b1, int b2, int b3) {
  QByteArray r(4, '\0');
  r[0] = static_cast<char>(b0);
  r[1] = static_cast<char>(b1);
  r[2] = static_cast<char>(b2);
  r[3] = static_cast<char>(b3);
  return r;
}

Colors sample() {
  Colors c;
  c.bgcolor = 0x00FFFFFF;
  c.wirecolor = 0x00123456;
  c.rpmbandcolor = 0x00000001;
  c.mapbandcolor = 0x00FF0000;
  c.trimbandcolor = 0x0000FF00;
  c.highlightcolor = 0x00808080;
  return c;
}

}  // namespace

TEST(ColorsFile, ShippedFileIsTheDefaults) {
  const QByteArray shipped = test::readfile(test::sourcepath("data/colors.dat"));
  ASSERT_EQ(shipped.size(), 24);
  Colors c;
  c.bgcolor = c.wirecolor = c.shadecolor = 0x00777777;
  ASSERT_TRUE(colorsfrombytes(shipped, c));
  EXPECT_EQ(c, Colors{});
  EXPECT_EQ(colorbytes(Colors{}), shipped);
}

TEST(ColorsFile, RecordsAreMostSignificantByteFirst) {
  struct Case {
    QByteArray bytes;
    std::uint32_t want;
  };
  for (const Case& c :
       {Case{record(0, 255, 0, 0), 0x00FF0000},                                           // pure blue
        Case{record(0, 0, 0, 255), 0x000000FF},                                           // pure red
        Case{record(0, 0, 255, 0), 0x0000FF00}, Case{record(0x7F, 1, 2, 3), 0x00010203},  // the first byte is ignored
        Case{record(0xFF, 0x80, 0x40, 0x20), 0x00804020}}) {
    Colors colors;
    for (int k = 0; k < 6; ++k) {
      QByteArray bytes = colorbytes(Colors{});
      bytes.replace(4 * k, 4, c.bytes);
      ASSERT_TRUE(colorsfrombytes(bytes, colors));
      EXPECT_EQ(colors.*colorslots[k].color, c.want) << k << " " << c.bytes.toHex().constData();
    }
  }
  EXPECT_EQ(colorbytes(sample()).mid(4, 4), record(0, 0x12, 0x34, 0x56));
}

TEST(ColorsFile, ShadeMixesBackgroundAndWireRoundingHalvesToEven) {
  struct Case {
    std::uint32_t bg, wire, want;
  };
  for (const Case c : {Case{0x00FFFFFF, 0x00000000, 0x004C4C4C},     // 0.3 x 255 = 76.5 -> 76
                       Case{0x00000000, 0x00FFFFFF, 0x00ADADAD},     // 0.68 x 255 = 173.4
                       Case{0x00FFFFFF, 0x00FFFFFF, 0x00FAFAFA},     // weights sum to 0.98: 249.9
                       Case{0x0000000F, 0x00000000, 0x00000004},     // 4.5 -> 4
                       Case{0x00000005, 0x00000019, 0x00000012},     // 1.5 + 17 = 18.5 -> 18
                       Case{0x00050000, 0x00000000, 0x00020000}}) {  // 1.5 -> 2, in the blue byte
    EXPECT_EQ(shadecolorof(c.bg, c.wire), c.want) << std::hex << c.bg << " " << c.wire;
  }
  Colors colors;
  QByteArray bytes = record(0, 255, 255, 255) + record(0, 0, 0, 0) + QByteArray(16, '\0');
  ASSERT_TRUE(colorsfrombytes(bytes, colors));
  EXPECT_EQ(colors.shadecolor, 0x004C4C4Cu);
}

TEST(ColorsFile, DamagedFileLeavesTheColoursAsTheyWere) {
  test::TempInstallFolder folder;
  const QString path = folder.file("colors.dat");
  RecordingPrompts prompts;
  Colors colors = sample();
  const Colors before = colors;

  EXPECT_FALSE(colorsfrombytes(colorbytes(Colors{}).left(23), colors));
  EXPECT_EQ(colors, before);

  ASSERT_TRUE(test::writefile(path, colorbytes(Colors{}).left(10)));
  EXPECT_FALSE(loadcolors(colors, prompts));
  EXPECT_EQ(colors, before);
  ASSERT_EQ(prompts.messages().size(), 1u);
  EXPECT_TRUE(prompts.messages()[0].contains("damaged"));

  prompts.clear();
  QFile::remove(path);
  EXPECT_FALSE(loadcolors(colors, prompts));
  EXPECT_EQ(colors, before);
  EXPECT_TRUE(prompts.records.empty());

  ASSERT_TRUE(QDir().mkdir(path));
  EXPECT_FALSE(loadcolors(colors, prompts));
  EXPECT_EQ(colors, before);
  EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST(ColorsFile, SaveAndReadBack) {
  test::TempInstallFolder folder;
  const QString path = folder.file("colors.dat");
  RecordingPrompts prompts;
  QFile::remove(path);
  Colors colors = sample();
  colors.shadecolor = 0x00ABCDEF;  // not stored
  ASSERT_TRUE(savecolors(colors, prompts));
  EXPECT_EQ(test::readfile(path).size(), 24);

  Colors back;
  ASSERT_TRUE(loadcolors(back, prompts));
  for (const ColorSlot& slot : colorslots) EXPECT_EQ(back.*slot.color, colors.*slot.color) << slot.listtext;
  EXPECT_EQ(back.shadecolor, shadecolorof(colors.bgcolor, colors.wirecolor));

  ASSERT_TRUE(test::writefile(path, QByteArray(30, 'x')));
  ASSERT_TRUE(savecolors(colors, prompts));
  EXPECT_EQ(test::readfile(path), colorbytes(colors) + "xxxxxx");
  EXPECT_TRUE(prompts.records.empty());
}

TEST(ColorsFile, SaveFailureIsReportedNotFatal) {
  test::TempInstallFolder folder;
  const QString path = folder.file("colors.dat");
  QFile::remove(path);
  ASSERT_TRUE(QDir().mkdir(path));
  RecordingPrompts prompts;
  EXPECT_FALSE(savecolors(sample(), prompts));
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].icon, Prompts::Icon::Exclamation);
}

TEST(ColorsEditor, PickSaveAndOk) {
  test::TempInstallFolder folder;
  const QString path = folder.file("colors.dat");
  const QByteArray shipped = test::readfile(path);
  RecordingPrompts prompts;
  Colors colors;
  test::RecordingShellHost host;
  ColorsEditor editor(colors, prompts, host);
  const auto redraws = [&] { return host.count("drawmap 1"); };

  prompts.colours.push_back(std::nullopt);  // Cancel
  EXPECT_FALSE(editor.pick(0));
  EXPECT_EQ(colors, Colors{});

  prompts.colours.push_back(QColor(10, 20, 30));
  EXPECT_TRUE(editor.pick(0));
  EXPECT_EQ(colors.bgcolor, 0x001E140Au);
  EXPECT_EQ(colors.shadecolor, Colors{}.shadecolor);  // follows only at the next start

  prompts.colours.push_back(QColor(255, 0, 0));
  EXPECT_TRUE(editor.pick(5));
  EXPECT_EQ(colors.highlightcolor, 0x000000FFu);
  EXPECT_FALSE(editor.pick(6));
  EXPECT_EQ(prompts.records.size(), 3u);

  editor.ok();
  EXPECT_EQ(test::readfile(path), shipped);
  EXPECT_EQ(redraws(), 1);

  EXPECT_TRUE(editor.save());
  EXPECT_EQ(test::readfile(path), colorbytes(colors));
  EXPECT_EQ(redraws(), 2);

  QFile::remove(path);
  ASSERT_TRUE(QDir().mkdir(path));
  EXPECT_FALSE(editor.save());
  EXPECT_EQ(redraws(), 2);
}
