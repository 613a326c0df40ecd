// The map check as the Analyse map item runs it: the template from the install folder, one message per faulty map
// with its broken limits in order, one message when none is faulty, and a stop when the template cannot be read.
#include "mapviews/checkmaps.h"

#include <gtest/gtest.h>

#include <QFile>
#include <array>
#include <vector>

#include "calibration/mapcheck.h"
#include "platform/installfolder.h"
#include "tuningfixture.h"

using namespace ostrel;

namespace {

const QString lfcr = QStringLiteral("\n\r");

class CheckMapsTest : public test::TuningTest {
 protected:
  void setrow(maps& model, int map, const std::vector<int>& values) {
    for (std::size_t c = 0; c < values.size(); ++c) model.setdata(map, 0, static_cast<int>(c), values[c], false);
  }
  // The map's definition up to its units: the first line of its message.
  QString heading(int map) const {
    const QString d = rig.mainmaps.getmapname(map);
    return d.left(d.indexOf(QLatin1Char(';')));
  }
};

TEST_F(CheckMapsTest, TheShippedCalibrationAgainstTheShippedTemplateHasNoError) {
  // The rig's main model holds the shipped "lastsaved.s26"; the install folder is seeded with "template.s26".
  const CalibrationImage before = rig.mainmaps.getimage();
  tools.checkmaps();
  ASSERT_EQ(rig.prompts.records.size(), 1u);
  EXPECT_EQ(rig.prompts.records[0].text, QStringLiteral("No map errors were detected  "));
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
  EXPECT_EQ(rig.mainmaps.getimage(), before) << "the check changes no map";
}

TEST_F(CheckMapsTest, AMapIdenticalToTheTemplateGivesNoMessageOfItsOwn) {
  ASSERT_TRUE(rig.mainmaps.openfile(installpath(templatefilename), false, false));
  tools.checkmaps();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{nomaperrorstext});
}

TEST_F(CheckMapsTest, SeveralBrokenLimitsOfOneMapAreLinesOfOneMessageInOrder) {
  // Map 32: deviation up to 300, steps 10 and -10, at least four neutral cells (128: it has a display offset).
  ASSERT_EQ(neutralvalue(rig.mainmaps, 32), 128);
  setrow(rig.mainmaps, 32, {128, 128, 128, 200, 150, 128, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100});
  tools.checkmaps();
  const MapCheckFigures f = mapcheckfigures(rig.mainmaps, rig.templatemaps, 32);
  ASSERT_EQ(f.loweststep, -50);
  ASSERT_EQ(f.higheststep, 72);
  ASSERT_EQ(f.neutralcount, 4);  // cells 0, 1, 2 and 5: enough
  const QString want =
      heading(32) + lfcr + QStringLiteral("Standard deviation error [") + QString::number(f.deviation) +
      QStringLiteral("]: the map is too different to the template map    ") + lfcr +
      QStringLiteral("Negative gradient error [-50]: the map includes an excessive negative gradient    ") + lfcr +
      QStringLiteral("Positive gradient error [72]: the map includes an excessive positive gradient    ") + lfcr;
  ASSERT_GT(f.deviation, 300);
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{want});
  EXPECT_EQ(rig.prompts.records[0].icon, Prompts::Icon::Information);
}

TEST_F(CheckMapsTest, RightCellAndZeroCountLinesAndEveryFaultyMapInTurn) {
  // Map 30 must end neutral (0: no offset); map 33 needs four cells at 128, which its zeros are not.
  ASSERT_EQ(neutralvalue(rig.mainmaps, 30), 0);
  rig.mainmaps.setdata(30, 0, 15, 1, false);
  ASSERT_EQ(neutralvalue(rig.mainmaps, 33), 128);
  std::vector<int> zeros(16, 0);
  setrow(rig.mainmaps, 33, zeros);
  setrow(rig.templatemaps, 33, zeros);
  tools.checkmaps();
  const std::vector<QString> messages = rig.prompts.messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(messages[0].startsWith(heading(30) + lfcr));
  EXPECT_TRUE(messages[0].endsWith(
      QStringLiteral("Map right cell zero error [False]: the map right cell is not zero    ") + lfcr));
  EXPECT_TRUE(messages[1].startsWith(heading(33) + lfcr));
  EXPECT_TRUE(messages[1].contains(
      QStringLiteral("Map zero count error [0]: the map does not contain the necessary zero points    ") + lfcr));
}

TEST_F(CheckMapsTest, OnlyMaps24To95AreChecked) {
  // Records that every map breaks: at least one neutral cell, a last neutral cell, no step at all.
  std::array<CheckLimits, 116> strict;
  strict.fill(CheckLimits{0, 0, 0, 17, true});
  for (int map = 0; map < 116; ++map) setrow(rig.mainmaps, map, std::vector<int>(16, 7));
  const std::vector<QString> reports = mapcheckreports(rig.mainmaps, rig.templatemaps, rig.state.guards, strict);
  ASSERT_EQ(reports.size(), 72u);
  EXPECT_TRUE(reports.front().startsWith(heading(24) + lfcr));
  EXPECT_TRUE(reports.back().startsWith(heading(95) + lfcr));
  EXPECT_TRUE(reports[8].startsWith(heading(32) + lfcr));
}

TEST_F(CheckMapsTest, AnUnreadableTemplateStopsTheCheckWithTheReadersMessage) {
  // A check that ran once leaves the template model filled; a second run must not compare against it.
  tools.checkmaps();
  rig.prompts.clear();
  setrow(rig.mainmaps, 32, std::vector<int>(16, 255));
  ASSERT_TRUE(QFile::remove(installpath(templatefilename)));
  tools.checkmaps();
  EXPECT_EQ(rig.prompts.messages(), std::vector<QString>{QStringLiteral("A file system error occurred")});
  // A file that is no calibration is no template either.
  rig.prompts.clear();
  QFile bad(installpath(templatefilename));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a calibration\r\n");
  bad.close();
  tools.checkmaps();
  EXPECT_EQ(rig.prompts.messages(), (std::vector<QString>{QStringLiteral("The file is not a valid beta file"),
                                                          QStringLiteral("A file opening error occurred")}));
}

}  // namespace
