#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTableView>

#include "common/testrig.h"
#include "exportfixture.h"
#include "livewindows/frmramdump.h"
#include "livewindows/ramdump.h"
#include "livewindows/ramdumpmodel.h"
#include "platform/installfolder.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {
namespace {

RxFrame pageframe(int page) {
  RxFrame frame{};
  for (int j = 0; j < 16; ++j) frame[static_cast<std::size_t>(j)] = static_cast<std::uint8_t>(page * 16 + j);
  return frame;
}

// --- Page tables and texts -------------------------------------------------------------------------------------------

TEST(RamDump, EachPageAsksForItsSixteenAddressesInOrder) {
  struct Case {
    int page;
    std::uint8_t high;
    std::uint8_t low0;  // low byte of the page's byte 0
  };
  for (const Case& c : {Case{0, 0x40, 0x00}, Case{1, 0x40, 0x10}, Case{0x2DB, 0x6D, 0xB0}, Case{767, 0x6F, 0xF0}}) {
    const RequestTable table = ramdumpaddresstable(c.page);
    for (int j = 0; j < 16; ++j) {
      const auto& list = table[static_cast<std::size_t>(j / 8)];
      EXPECT_EQ(list[static_cast<std::size_t>(j % 8) * 2], c.high) << c.page << " " << j;
      EXPECT_EQ(list[static_cast<std::size_t>(j % 8) * 2 + 1], c.low0 + j) << c.page << " " << j;
    }
  }
}

TEST(RamDump, GridTexts) {
  EXPECT_EQ(ramdumpheading(0), QStringLiteral("address"));
  EXPECT_EQ(ramdumpheading(1), QStringLiteral("d &H0"));
  EXPECT_EQ(ramdumpheading(11), QStringLiteral("d &HA"));
  EXPECT_EQ(ramdumpheading(16), QStringLiteral("d &HF"));
  EXPECT_EQ(ramdumpaddresstext(0), QStringLiteral("4000"));
  EXPECT_EQ(ramdumpaddresstext(10), QStringLiteral("40A0"));
  EXPECT_EQ(ramdumpaddresstext(767), QStringLiteral("6FF0"));
  const std::pair<std::uint8_t, const char*> cells[] = {{0x00, "&H00"}, {0x05, "&H05"}, {0x0F, "&H0F"},
                                                        {0x10, "&H10"}, {0xAB, "&HAB"}, {0xFF, "&HFF"}};
  for (const auto& [byte, text] : cells) EXPECT_EQ(ramdumpcelltext(byte), QString::fromLatin1(text));
}

TEST(RamDump, TheSweepStoresEachPageAndSaysOncePerPassThatTheCopyIsFull) {
  RamImage image{};
  RamDumpSweep sweep;
  int full = 0;
  for (int reply = 0; reply < 2 * ramdumppages + 5; ++reply) {
    const int page = sweep.page();
    if (sweep.take(pageframe(reply), image)) {
      ++full;
      EXPECT_EQ(page, 767);
      EXPECT_EQ(sweep.page(), 0);
    }
  }
  EXPECT_EQ(full, 2);
  EXPECT_EQ(sweep.page(), 5);
  // Pages 0 to 4 hold the third pass, the rest the second.
  EXPECT_EQ(image[16 * 4], static_cast<std::uint8_t>((2 * 768 + 4) * 16));
  EXPECT_EQ(image[16 * 5 + 3], static_cast<std::uint8_t>((768 + 5) * 16 + 3));
  EXPECT_EQ(sweep.table(), ramdumpaddresstable(5));
}

// --- The file ---------------------------------------------------------------------------------------------------

TEST(RamDumpFile, SevenHundredSixtyEightLinesOfFortyFourBytes) {
  RamImage image{};
  image[0] = 0x05;
  image[1] = 0xAB;
  image[15] = 0x7E;
  image[16 * 767 + 15] = 0xFF;
  const QByteArray file = ramdumpfile(image);
  ASSERT_EQ(file.size(), 33792);
  const struct {
    int line;
    const char* text;
  } lines[] = {
      {0, "S123400005AB000000000000000000000000007EFF\r\n"},
      {1, "S123401000000000000000000000000000000000FF\r\n"},
      {767, "S1236FF0000000000000000000000000000000FFFF\r\n"},
  };
  for (const auto& l : lines) EXPECT_EQ(file.mid(l.line * 44, 44), QByteArray(l.text)) << l.line;
  for (int line = 0; line < 768; ++line) {
    ASSERT_TRUE(file.mid(line * 44, 4) == "S123") << line;
    ASSERT_TRUE(file.mid(line * 44 + 40, 4) == "FF\r\n") << line;
  }
}

TEST(RamDumpFile, NameIsTheDateAndTimeFileSafe) {
  EXPECT_EQ(ramdumpfilename(QDateTime(QDate(2024, 12, 31), QTime(23, 5, 9))), QStringLiteral("2024_12_31__23_05_09.txt"));
}

TEST(RamDumpFile, SavingMakesTheMissingFolderAndWritesTheImage) {
  TempInstallFolder folder;
  ASSERT_FALSE(QDir(folder.file(QStringLiteral("ramdump"))).exists());
  RamImage image{};
  for (std::size_t n = 0; n < image.size(); ++n) image[n] = static_cast<std::uint8_t>(n * 13);
  const RamDumpSave saved = saveramdump(image, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
  ASSERT_TRUE(saved.error.isEmpty()) << saved.error.toStdString();
  EXPECT_EQ(saved.path, folder.file(QStringLiteral("ramdump/2024_01_02__03_04_05.txt")));
  QFile file(saved.path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), ramdumpfile(image));
}

TEST(RamDumpFile, AFolderThatCannotBeMadeIsReported) {
  TempInstallFolder folder;
  QFile blocker(folder.file(QStringLiteral("ramdump")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const RamDumpSave saved = saveramdump(RamImage{}, QDateTime::currentDateTime());
  EXPECT_FALSE(saved.error.isEmpty());
}

TEST(RamDumpFile, SavedMessageNamesTheRealFolder) {
  EXPECT_EQ(ramdumpsavedmessage(QStringLiteral("/home/t/.local/share/ostrel/ramdump")),
            QStringLiteral("The ram image has been exported to the '/home/t/.local/share/ostrel/ramdump' folder "
                           "with the current time and date included in the name"));
}

// --- The grid --------------------------------------------------------------------------------------------------------

TEST(RamDumpGrid, AddressesAlwaysAndBytesOnceTheirPageHasArrived) {
  RamImage image{};
  image[16 * 2 + 3] = 0x05;
  RamDumpModel model(image);
  EXPECT_EQ(model.rowCount(), 768);
  EXPECT_EQ(model.columnCount(), 17);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("address"));
  EXPECT_EQ(model.headerData(16, Qt::Horizontal).toString(), QStringLiteral("d &HF"));
  EXPECT_EQ(model.data(model.index(767, 0)).toString(), QStringLiteral("6FF0"));
  EXPECT_FALSE(model.data(model.index(2, 4)).isValid());
  int changed = 0;
  QObject::connect(&model, &QAbstractItemModel::dataChanged, [&](const QModelIndex& a, const QModelIndex& b) {
    EXPECT_EQ(a.row(), 2);
    EXPECT_EQ(b.row(), 2);
    ++changed;
  });
  model.pagearrived(2);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(model.data(model.index(2, 4)).toString(), QStringLiteral("&H05"));
  EXPECT_EQ(model.data(model.index(2, 1)).toString(), QStringLiteral("&H00"));
}

// --- The window ------------------------------------------------------------------------------------------------------

class RamDumpWindowTest : public ::testing::Test {
 protected:
  RamDumpWindowTest() {
    prompts.link = &rig.link;
    rig.link.sethost(&host);
    rig.state.livemode = 1;  // opened from the data logger
  }
  ~RamDumpWindowTest() override { rig.link.sethost(nullptr); }

  std::vector<QString> messages() const {
    std::vector<QString> texts;
    for (const auto& m : prompts.shown) texts.push_back(m.text);
    return texts;
  }

  Rig rig;
  TickPrompts prompts;
  StatusHost host;
};

TEST_F(RamDumpWindowTest, OpeningTakesSelectorSixteenAndAsksForPageZero) {
  frmRAMDUMP window(rig.state, rig.link, prompts);
  EXPECT_EQ(rig.state.livemode, 16);
  EXPECT_EQ(rig.link.requesttable(LiveTable::ramdump), ramdumpaddresstable(0));
  EXPECT_FALSE(window.mnuExport->isEnabled());
  EXPECT_EQ(window.ramgrid->model()->rowCount(), 768);
  EXPECT_EQ(window.ramgrid->columnWidth(0), 67);  // 1000 twips
  EXPECT_EQ(window.ramgrid->columnWidth(1), 53);  // 800 twips
  EXPECT_EQ(window.ramgrid->rowHeight(0), 17);  // 255 twips
  EXPECT_EQ(window.ramgrid->rowHeight(767), 17);
}

TEST_F(RamDumpWindowTest, TheFullBufferMessageOpensOncePerPassAfterTheTick) {
  frmRAMDUMP window(rig.state, rig.link, prompts);
  for (int page = 0; page < 767; ++page) window.griddata(pageframe(page));
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(window.ProgressBar1->value(), 767);
  EXPECT_EQ(rig.link.requesttable(LiveTable::ramdump), ramdumpaddresstable(767));

  // The last page arrives through a real tick: the message waits until the tick has ended.
  rig.connect();
  rig.tick(30);
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, QStringLiteral("The buffer is full, you can now export the RAM image"));
  EXPECT_EQ(prompts.shown[0].icon, Prompts::Icon::Information);
  EXPECT_FALSE(prompts.shown[0].intick);
  EXPECT_TRUE(window.mnuExport->isEnabled());
  EXPECT_GT(window.sweep().page(), 0);
  EXPECT_LT(window.sweep().page(), 10) << "the dump goes on from page 0";

  // Another whole pass, another message.
  while (window.sweep().page() != 0) window.griddata(pageframe(0));
  EXPECT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(window.ProgressBar1->value(), 0);
}

TEST_F(RamDumpWindowTest, ExitHandsTheSelectorToTheLoggerAndTheWindowFollowsOnItsFifthTick) {
  frmRAMDUMP window(rig.state, rig.link, prompts);
  window.show();
  window.mnuExit->trigger();
  EXPECT_EQ(rig.state.livemode, 1);
  for (int tick = 1; tick <= 4; ++tick) window.Timer1_Timer();
  EXPECT_TRUE(window.isVisible());
  window.Timer1_Timer();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(rig.state.livemode, 1);

  frmRAMDUMP again(rig.state, rig.link, prompts);
  again.show();
  again.close();  // the close box
  EXPECT_EQ(rig.state.livemode, 1);
}

TEST_F(RamDumpWindowTest, ExportBeforeAFullPassWritesTheCopyAsItStands) {
  rig.state.ramimage.fill(0x11);  // from an earlier dump
  frmRAMDUMP window(rig.state, rig.link, prompts);
  window.griddata(pageframe(0x20));
  window.mnuExport_Click();
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, ramdumpsavedmessage(installpath(QStringLiteral("ramdump"))));
  const QStringList files = QDir(installpath(QStringLiteral("ramdump"))).entryList(QDir::Files);
  ASSERT_EQ(files.size(), 1);
  QFile file(installpath(QStringLiteral("ramdump/") + files[0]));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes.size(), 33792);
  EXPECT_EQ(bytes.left(44), QByteArray("S1234000000102030405060708090A0B0C0D0E0FFF\r\n"));
  EXPECT_EQ(bytes.mid(44, 44), QByteArray("S123401011111111111111111111111111111111FF\r\n"));
}

TEST_F(RamDumpWindowTest, AFailedExportIsReported) {
  QFile blocker(installpath(QStringLiteral("ramdump")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  frmRAMDUMP window(rig.state, rig.link, prompts);
  window.mnuExport_Click();
  EXPECT_EQ(messages(), std::vector<QString>{QStringLiteral("A file error occurred")});
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_TRUE(host.lines[0].startsWith(QStringLiteral("The ram image could not be written to ")));
}

// The window copies the simulator's RAM page by page, and the exported file holds the same bytes.
TEST_F(RamDumpWindowTest, EndToEndTheCopyAndTheFileMatchTheSimulatorsRam) {
  rig.sim.enginerunning = false;  // RAM stands still while it is copied
  for (int address = 0x4800; address < 0x7000; ++address)
    if (address < 0x6B00 || address >= 0x6C00) rig.sim.setram(address, static_cast<std::uint8_t>(address * 7 + 3));
  frmRAMDUMP window(rig.state, rig.link, prompts);
  rig.connect();
  int ticks = 0;
  while (prompts.shown.empty() && ticks < 6000) {
    rig.tick();
    ++ticks;
  }
  ASSERT_EQ(messages(), std::vector<QString>{ramdumpfullmessage});
  EXPECT_GE(ticks, 768 * 5);

  // The ECU's own request table is the one exception: while page p is read, 0x6DB0 to 0x6DCF hold p's addresses.
  RamImage expected{};
  for (int n = 0; n < ProgramState::ramimagesize; ++n) expected[static_cast<std::size_t>(n)] = rig.sim.ram(0x4000 + n);
  const RequestTable own0 = ramdumpaddresstable(0x2DB), own1 = ramdumpaddresstable(0x2DC);
  std::copy(own0[0].begin(), own0[0].end(), expected.begin() + 0x2DB0);
  std::copy(own1[1].begin(), own1[1].end(), expected.begin() + 0x2DC0);
  for (int n = 0; n < ProgramState::ramimagesize; ++n)
    ASSERT_EQ(rig.state.ramimage[static_cast<std::size_t>(n)], expected[static_cast<std::size_t>(n)])
        << "ECU RAM " << std::hex << 0x4000 + n;
  EXPECT_EQ(rig.state.ramimage[0], rig.sim.ram(0x4000)) << "the trigger stamps came along";
  EXPECT_NE(rig.sim.ram(0x4000) + rig.sim.ram(0x4001) + rig.sim.ram(0x4002), 0);

  window.mnuExport_Click();
  const QStringList files = QDir(installpath(QStringLiteral("ramdump"))).entryList(QDir::Files);
  ASSERT_EQ(files.size(), 1);
  QFile file(installpath(QStringLiteral("ramdump/") + files[0]));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_EQ(bytes.size(), 33792);
  // Read back on its own terms: the address field, then sixteen hexadecimal pairs.
  for (int line = 0; line < 768; ++line) {
    const QByteArray text = bytes.mid(line * 44, 44);
    ASSERT_EQ(text.mid(4, 4).toInt(nullptr, 16), 0x4000 + 16 * line);
    for (int j = 0; j < 16; ++j)
      ASSERT_EQ(text.mid(8 + 2 * j, 2).toInt(nullptr, 16), expected[static_cast<std::size_t>(16 * line + j)])
          << line << " " << j;
  }
  EXPECT_EQ(window.model().data(window.model().index(0, 1)).toString(), ramdumpcelltext(rig.sim.ram(0x4000)));

  window.ramgrid->scrollTo(window.model().index(0x2D0, 0), QAbstractItemView::PositionAtTop);
  window.resize(1200, 560);
  window.show();
  savescreenshot(&window, QStringLiteral("ramdump_window"));
}

TEST_F(RamDumpWindowTest, OpensThroughTheLauncherAndGoesBackToTheLogger) {
  ScriptedLauncher scripted;
  ScopedLauncher scope(scripted);
  scripted.scripts.push_back([&](QDialog&) { EXPECT_EQ(rig.state.livemode, 16); });
  frmRAMDUMP::showmodal(rig.state, rig.link, prompts, nullptr);
  EXPECT_EQ(scripted.opened, std::vector<QString>{QStringLiteral("frmRAMDUMP")});
  EXPECT_EQ(rig.state.livemode, 1);
}

}  // namespace
}  // namespace ostrel::test
