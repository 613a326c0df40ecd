#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "calibration/maps.h"
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
