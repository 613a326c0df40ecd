#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "calibration/mapcheck.h"
#include "calibration/maps.h"
#include "calibration/settingrecords.h"
#include "calibration/settings.h"
#include "common/testsupport.h"
#include "platform/installfolder.h"
#include "platform/prompts.h"

using namespace ostrel;

// srec_cat, which reads S-records on its own terms, must find in the shipped template exactly the image the model
// reads from it: the line layout, addresses and digit order are then right whatever our own code believes.
TEST(ShippedCalibration, SrecCatReadsTheTemplateAsTheModelDoes) {
  const QString sreccat = QStandardPaths::findExecutable(QStringLiteral("srec_cat"));
  if (sreccat.isEmpty()) GTEST_SKIP() << "srec_cat (package srecord) is not installed";
  QTemporaryDir dir;
  const QString template26 = test::sourcepath(QStringLiteral("data/template.s26"));
  const QString out = dir.filePath(QStringLiteral("template.bin"));
  QProcess p;
  p.start(sreccat, {template26, QStringLiteral("-ignore-checksums"), QStringLiteral("-offset"),
                    QStringLiteral("-0x8000"), QStringLiteral("-o"), out, QStringLiteral("-binary")});
  ASSERT_TRUE(p.waitForFinished(30000));
  ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  QFile bin(out);
  ASSERT_TRUE(bin.open(QIODevice::ReadOnly));
  const QByteArray bytes = bin.readAll();
  ASSERT_EQ(bytes.size(), imagesize);

  RecordingPrompts prompts;
  maps model(prompts);
  ASSERT_TRUE(model.openfile(template26, false, false));
  const CalibrationImage image = model.getimage();
  EXPECT_TRUE(std::equal(image.begin(), image.end(), reinterpret_cast<const std::uint8_t*>(bytes.constData())));
}

TEST(ShippedCalibration, LastSavedAndTemplateHoldTheSameCalibration) {
  RecordingPrompts prompts;
  maps current(prompts), beta(prompts);
  ASSERT_TRUE(current.openfile(test::sourcepath(QStringLiteral("data/lastsaved.s26")), true, false));
  ASSERT_TRUE(beta.openfile(test::sourcepath(QStringLiteral("data/template.s26")), false, false));
  EXPECT_EQ(current.getimage(), beta.getimage());
}

// A fresh install folder is seeded with the shipped calibration, and it is one an engine could start on.
TEST(ShippedCalibration, AFirstStartOpensASoundCalibration) {
  test::TempInstallFolder folder;
  RecordingPrompts prompts;
  maps model(prompts);
  ASSERT_TRUE(model.openfile(installpath(QStringLiteral("lastsaved.s26")), true, false));
  EXPECT_TRUE(prompts.messages().empty());

  EXPECT_EQ(model.getdata(110, 13, 3), 4);    // cylinders
  EXPECT_EQ(model.getdata(110, 9, 14), 88);   // injector flow 440 cc/min
  EXPECT_EQ(model.getdata(110, 10, 7), 167);  // cylinder capacity 501 cc
  EXPECT_EQ(model.getlastshowrow(0), 32);
  EXPECT_EQ(model.getlastshowcol(0), 32);
  EXPECT_TRUE(model.getscalestringX(0, true).startsWith(QStringLiteral("0 rpm;250 rpm;500 rpm;")));
  EXPECT_TRUE(model.getscalestringX(0, true).contains(QStringLiteral(";7750 rpm;")));

  for (int r = 0; r < 32; ++r) {
    for (int c = 1; c < 32; ++c) {
      // More load, more fuel; more load, less advance.
      EXPECT_GE(model.getdata(0, r, c), model.getdata(0, r, c - 1)) << r << "," << c;
      EXPECT_LE(model.getdata(8, r, c), model.getdata(8, r, c - 1)) << r << "," << c;
    }
  }
  for (int c = 0; c < 32; ++c) {
    // Advance never falls as rpm rises; fuel at 5000 rpm is well above fuel at idle speed.
    for (int r = 1; r < 32; ++r) EXPECT_GE(model.getdata(8, r, c), model.getdata(8, r - 1, c)) << r << "," << c;
    EXPECT_GT(model.getdata(0, 20, c) + 1, model.getdata(0, 3, c)) << c;
  }
  EXPECT_NEAR(model.getdata(0, 22, 31) * 0.005, 10.0, 1.5);  // full load, ms
  EXPECT_NEAR(model.getdata(0, 3, 13) * 0.005, 1.6, 0.5);    // idle, ms
  for (int r = 0; r < 32; ++r)
    for (int c = 0; c < 32; ++c) {
      EXPECT_GE(model.getdata(8, r, c), 16);  // base timing 8 to 44 degrees
      EXPECT_LE(model.getdata(8, r, c), 88);
      EXPECT_GE(model.getdata(19, r, c), 85);  // lambda target 0.85 to 1
      EXPECT_LE(model.getdata(19, r, c), 100);
      EXPECT_EQ(model.getdata(1, r, c), 128);  // trims neutral
      EXPECT_EQ(model.getdata(11, r, c), 128);
    }

  QString comment;
  for (int k = 0; k < 128; ++k) comment += QChar(model.getdata(104, k / 16, k % 16));
  EXPECT_TRUE(comment.startsWith(QStringLiteral("2.64d8: ")));
  EXPECT_TRUE(comment.contains(QStringLiteral("4 cylinder")));

  // No password fragment reads on: the check bytes never agree with the seed 0.
  for (int row = 0; row < 8; ++row) {
    int s1 = 0, total = 0;
    for (int k = 0; k < 8; ++k) s1 = (s1 + model.getdata(105, row, k)) % 256;
    for (int k = 0; k < 15; ++k) total = (total + model.getdata(105, row, k)) % 256;
    EXPECT_TRUE(model.getdata(105, row, 8) != s1 || model.getdata(105, row, 15) != total) << row;
  }
}

namespace {

// How many items the settings editor puts into a combo box from a list string ("count;item:item:...:***"): the
// first item always, then up to count - 1 more while the list has them. A list without ";" (an empty combo list,
// "0:***") gives none.
int comboitems(const QString& list) {
  const int semi = list.indexOf(QLatin1Char(';'));
  if (semi < 0) return 0;
  const int count = list.left(semi).toInt();
  QStringList items = list.mid(semi + 1).split(QLatin1Char(':'));
  items.removeLast();  // the uncounted "***" behind the last separator
  return std::min(std::max(count, 1), static_cast<int>(items.size()));
}

struct ShippedModels {
  RecordingPrompts prompts;
  maps current{prompts};
  maps templ{prompts};
  ShippedModels() {
    EXPECT_TRUE(current.openfile(test::sourcepath(QStringLiteral("data/lastsaved.s26")), true, false));
    EXPECT_TRUE(templ.openfile(test::sourcepath(QStringLiteral("data/template.s26")), false, false));
  }
};

const char* faultname(MapCheckFault fault) {
  switch (fault) {
    case MapCheckFault::Deviation:
      return "deviation";
    case MapCheckFault::NegativeGradient:
      return "negative gradient";
    case MapCheckFault::PositiveGradient:
      return "positive gradient";
    case MapCheckFault::RightCellNotNeutral:
      return "right cell zero";
    case MapCheckFault::NeutralCount:
      return "zero count";
  }
  return "?";
}

}  // namespace

// The map check run on the program's own calibration against its own template finds nothing: every 2-D map it
// covers keeps to the limits of its check record.
TEST(ShippedCalibration, EveryCheckedMapPassesItsCheckRecord) {
  ShippedModels shipped;
  for (int map = firstcheckedmap; map <= lastcheckedmap; ++map) {
    const MapCheckFigures f = mapcheckfigures(shipped.current, shipped.templ, map);
    std::string faults;
    for (MapCheckFault fault : checkmap(shipped.current, shipped.templ, map))
      faults += std::string(faultname(fault)) + " ";
    EXPECT_TRUE(faults.empty()) << "map " << map << ": " << faults << "(steps " << f.loweststep << " to "
                                << f.higheststep << ", " << f.neutralcount << " zeros, last zero " << f.lastcellneutral
                                << ")";
  }
}

// The settings editor shows every settings cell of the shipped calibration without an error and as what it holds:
// check boxes 0 or 255 (ticked), combo settings within their lists. Text and bit settings show any byte.
TEST(ShippedCalibration, EverySettingShowsWithoutAnError) {
  ShippedModels shipped;
  const settings tables;
  int checked = 0;
  for (int set = 0; set < settingssetcount; ++set) {
    for (int row = 0; row < 16; ++row) {
      for (int col = 0; col < 16; ++col) {
        if (tables.getdisplaygroup(set, row, col) == 255) continue;
        const int raw = shipped.current.getdata(110 + set, row, col);
        const int type = tables.getdisplaytype(set, row, col);
        const QString label = tables.getdisplaystring(set, row, col);
        SCOPED_TRACE(QStringLiteral("map %1 row %2 column %3 \"%4\" holds %5")
                         .arg(110 + set)
                         .arg(row)
                         .arg(col)
                         .arg(label)
                         .arg(raw)
                         .toStdString());
        ++checked;
        if (type == displaycheckbox) {
          EXPECT_TRUE(raw == 0 || raw == 255);
        } else if (type == displayowncombo) {
          EXPECT_LT(raw, comboitems(tables.getdisplaystringtrue(set, row, col)));
        } else if (type >= displayconditions && type <= displayinputs) {
          const int items = comboitems(tables.getcombostring(type));
          // An empty list shows nothing whatever the cell holds; 0 is its only sensible value.
          EXPECT_LT(raw, std::max(items, 1));
        } else {
          EXPECT_TRUE(type == displaytextbox || type == displaybits) << type;
        }
      }
    }
  }
  EXPECT_GT(checked, 300);
}
