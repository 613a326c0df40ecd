#include "gauge/gaugestate.h"

#include <gtest/gtest.h>

using namespace nox;

namespace {

std::array<QString, 10> labelsof(std::initializer_list<const char*> texts) {
  std::array<QString, 10> out;
  std::size_t i = 0;
  for (const char* t : texts) out[i++] = QString::fromLatin1(t);
  return out;
}

}  // namespace

TEST(GaugeState, CreationDefaults) {
  const GaugeState s;
  EXPECT_EQ(s.backColor, 0x403010u);
  EXPECT_EQ(s.faceColor, 0xF0F010u);
  EXPECT_EQ(s.needleColor, 0x00FFFFu);
  EXPECT_EQ(s.needleCenterColor, 0x000000u);
  EXPECT_EQ(s.lowZoneColor, 0xC0F000u);
  EXPECT_EQ(s.midZoneColor, 0x01F080u);
  EXPECT_EQ(s.highZoneColor, 0x01F0F0u);
  EXPECT_EQ(s.zoneLowStart, 30);
  EXPECT_EQ(s.zoneMidStart, 50);
  EXPECT_EQ(s.zoneHighStart, 70);
  EXPECT_EQ(s.intergraduations, 1);
  EXPECT_EQ(s.setpoint, 70);
  EXPECT_EQ(s.labels, labelsof({"0", "20", "40", "60", "80", "100", "X", "X", "X", "X"}));
  EXPECT_EQ(s.labelCount, 6);
  EXPECT_EQ(s.title, "AFR");
  EXPECT_EQ(s.arcStart, 0.0f);
  EXPECT_EQ(s.arcEnd, 0.0f);
}

TEST(ScaleStrings, ParsesLabelsAndTitle) {
  struct Case {
    const char* text;
    std::array<QString, 10> labels;
    int count;
    const char* title;
  };
  const Case cases[] = {
      {"10,12,14,16,18,20,X,X,X,X,AFR", labelsof({"10", "12", "14", "16", "18", "20", "X", "X", "X", "X"}), 6, "AFR"},
      {"0,10,20,30,40,50,60,70,80,X,RPM", labelsof({"0", "10", "20", "30", "40", "50", "60", "70", "80", "X"}), 9,
       "RPM"},
      // An X inside the used range counts as a label position.
      {"0,X,40,X,X,X,X,X,X,X,T", labelsof({"0", "X", "40", "X", "X", "X", "X", "X", "X", "X"}), 3, "T"},
      // Only a capital X is a placeholder.
      {"0,1,2,3,4,5,6,7,8,x,KNOCK", labelsof({"0", "1", "2", "3", "4", "5", "6", "7", "8", "x"}), 10, "KNOCK"},
      // The title is the rest, commas and all; it may be empty.
      {"1,2,X,X,X,X,X,X,X,X,A,B,C", labelsof({"1", "2", "X", "X", "X", "X", "X", "X", "X", "X"}), 2, "A,B,C"},
      {"1,2,3,4,5,6,7,8,9,10,", labelsof({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}), 10, ""},
      // One label: parsed as given (the drawing copes with it).
      {"5,X,X,X,X,X,X,X,X,X,ONE", labelsof({"5", "X", "X", "X", "X", "X", "X", "X", "X", "X"}), 1, "ONE"},
  };
  for (const Case& c : cases) {
    GaugeState s;
    s.setNoxGaugeStrings(QString::fromLatin1(c.text));
    EXPECT_EQ(s.labels, c.labels) << c.text;
    EXPECT_EQ(s.labelCount, c.count) << c.text;
    EXPECT_EQ(s.title, QString::fromLatin1(c.title)) << c.text;
  }
}

TEST(ScaleStrings, TenPlaceholdersKeepThePreviousCount) {
  GaugeState s;
  s.setNoxGaugeStrings(QStringLiteral("0,10,20,30,40,50,60,70,80,X,RPM"));
  ASSERT_EQ(s.labelCount, 9);
  s.setNoxGaugeStrings(QStringLiteral("X,X,X,X,X,X,X,X,X,X,NONE"));
  EXPECT_EQ(s.labelCount, 9);
  EXPECT_EQ(s.labels[0], "X");
  EXPECT_EQ(s.title, "NONE");
}

TEST(ScaleStrings, FewerThanTenCommasFallBackToTheDefaultScale) {
  for (const char* text : {"", "AFR", "10,12,AFR", "1,2,3,4,5,6,7,8,9", "1,2,3,4,5,6,7,8,9,10"}) {
    GaugeState s;
    s.setNoxGaugeStrings(QStringLiteral("a,b,c,d,e,f,g,h,i,j,OLD"));
    s.setNoxGaugeStrings(QString::fromLatin1(text));
    // Labels 0 to 5 are the defaults; 6 to 9 keep what they held before the call, whatever the text had.
    EXPECT_EQ(s.labels, labelsof({"0", "20", "40", "60", "80", "100", "g", "h", "i", "j"})) << text;
    EXPECT_EQ(s.labelCount, 6) << text;
    EXPECT_EQ(s.title, "Brackwen") << text;
  }
}

TEST(Zones, StoresStartsLimitedToTheBand) {
  struct Case {
    float low, mid, high, inter;
    int slow, smid, shigh, sinter;
  };
  const Case cases[] = {
      {0, 95, 50.5f, 3, 1, 80, 50, 3},          // 0 becomes 1, above 80 becomes 80, 50.5 rounds to even
      {1, 80, 81, 0, 1, 80, 80, 0},             // thresholds exactly
      {0.5f, 79.5f, 255, 255, 1, 80, 80, 255},  // 0.5 rounds to 0, then 1; 79.5 to 80
      {70, 50, 30, 1, 70, 50, 30, 1},           // not ordered against each other
      {-0.5f, 1.5f, 2.5f, 2.5f, 1, 2, 2, 2},
  };
  for (const Case& c : cases) {
    GaugeState s;
    ASSERT_TRUE(s.setNoxGaugeSetZones(c.low, c.mid, c.high, c.inter)) << c.low << " " << c.mid << " " << c.high;
    EXPECT_EQ(s.zoneLowStart, c.slow) << c.low;
    EXPECT_EQ(s.zoneMidStart, c.smid) << c.mid;
    EXPECT_EQ(s.zoneHighStart, c.shigh) << c.high;
    EXPECT_EQ(s.intergraduations, c.sinter) << c.inter;
  }
}

TEST(Zones, AnyValueOutOfRangeChangesNothing) {
  struct Case {
    float low, mid, high, inter;
  };
  // The bad value in each position in turn, with good values before and after it.
  const Case cases[] = {{256, 10, 20, 2}, {10, -1, 20, 2}, {10, 20, 255.5f, 2}, {10, 20, 30, 300}, {10, 20, 30, NAN}};
  for (const Case& c : cases) {
    GaugeState s;
    s.setNoxGaugeSetZones(40, 60, 80, 4);
    EXPECT_FALSE(s.setNoxGaugeSetZones(c.low, c.mid, c.high, c.inter));
    EXPECT_EQ(s.zoneLowStart, 40);
    EXPECT_EQ(s.zoneMidStart, 60);
    EXPECT_EQ(s.zoneHighStart, 80);
    EXPECT_EQ(s.intergraduations, 4);
  }
}

TEST(SetPoint, RoundsHalvesToEvenAndRefusesOutOfRange) {
  struct Case {
    float in;
    int stored;  // -1: refused, previous value kept
  };
  const Case cases[] = {{70.5f, 70},  {71.5f, 72}, {0, 0},      {100, 100}, {255, 255},
                        {255.5f, -1}, {-0.5f, 0},  {-0.6f, -1}, {1e9f, -1}, {NAN, -1}};
  for (const Case& c : cases) {
    GaugeState s;
    s.setPointValue(33);
    EXPECT_EQ(s.setPointValue(c.in), c.stored >= 0) << c.in;
    EXPECT_EQ(s.setpoint, c.stored >= 0 ? c.stored : 33) << c.in;
  }
}
