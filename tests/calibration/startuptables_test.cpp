#include "calibration/startuptables.h"

#include <gtest/gtest.h>

#include "calibration/settings.h"
#include "platform/programstate.h"

namespace ostrel {
namespace {

const QString nohelp = QStringLiteral("No help available");

TEST(StartupTables, HelpTextsCoverTheSettingsOfMap110) {
  inithelptexts();
  const auto& help = settinghelp();
  const settings s;
  const int missing[][2] = {{8, 9}, {8, 15}, {11, 11}, {13, 10}, {13, 14}};
  int own = 0;
  for (int cell = 0; cell < 256; ++cell) {
    const int row = cell / 16, col = cell % 16;
    SCOPED_TRACE(QStringLiteral("%1,%2").arg(row).arg(col).toStdString());
    bool expected = s.getdisplaygroup(0, row, col) != 255;
    for (const auto& m : missing) expected = expected && !(m[0] == row && m[1] == col);
    const QString& text = help[static_cast<std::size_t>(cell)];
    EXPECT_EQ(text != nohelp, expected);
    if (text != nohelp) {
      ++own;
      EXPECT_TRUE(text.startsWith(QStringLiteral("This setting "))) << text.toStdString();
    }
  }
  EXPECT_EQ(own, 231);
  for (int cell = 256; cell < 512; ++cell) EXPECT_EQ(help[static_cast<std::size_t>(cell)], nohelp);
}

TEST(StartupTables, HelpTextFamilies) {
  struct Case {
    int row, col;
    const char* text;
  };
  const Case cases[] = {
      {0, 7,
       "This setting selects the ECU variable that is tested in the virtual switch 'User 8', and the polarity "
       "of the switch"},
      {0, 13,
       "This setting selects the second ECU variable that is tested in the virtual switch 'User 11', and the "
       "polarity of the switch"},
      {1, 8, "This setting sets the first switch point of the virtual switch 'User 9'"},
      {1, 15, "This setting sets the second switch point of the virtual switch 'User 12'"},
      {3, 12, "This setting selects the y-axis variable for PWM MAP 9"},
      {5, 14,
       "This setting sets the load spread for load point 31. Set this value to 255 to make this load spread "
       "the last visible load spread"},
      {6, 0,
       "This setting sets the rpm spread for rpm point 1. Set this value to 255 to make this rpm spread the "
       "last visible rpm spread"},
      {8, 1,
       "This setting enabled/disables the knock sensor 2 input amplifier. When enabled, the amplifier doubles "
       "the knock sensor 2 input signal"},
      {11, 7, "This setting sets the injector 8 individual trim. The individual trim only operates in sequential mode"},
      {12, 13, "This setting sets the PWM frequency. Only set the PWM frequency to 30 Hz for a boost control valve"},
      {14, 13, "This setting sets the function of the INJ8 output"},
      {14, 14, "This setting sets the function of the PWM1 output"},
      {15, 13, "This setting sets the function of the PWM16 output"},
      {13, 0, "This setting sets the active trigger and sync edge"},
  };
  for (const Case& c : cases) EXPECT_EQ(settinghelptext(c.row * 16 + c.col), QString::fromLatin1(c.text));
  EXPECT_EQ(settinghelptext(256), nohelp);
  EXPECT_EQ(settinghelptext(8 * 16 + 9), nohelp);
  EXPECT_EQ(settinghelptext(512), nohelp);
  EXPECT_EQ(settinghelptext(-1), nohelp);
}

TEST(StartupTables, InitVariablesResetsMapAndConnection) {
  ProgramState state;
  state.curmap = 57;
  state.online = true;
  initvariables(state);
  EXPECT_EQ(state.curmap, 0);
  EXPECT_FALSE(state.online);
}

TEST(StartupTables, CheckLimits) {
  const auto& limits = startuptables().checklimits;
  for (int map : {0, 23, 38, 39, 48, 115}) {
    SCOPED_TRACE(map);
    const CheckLimits& l = limits[static_cast<std::size_t>(map)];
    EXPECT_EQ(l.maxdeviation, 4096.0f);
    EXPECT_EQ(l.maxrise, 10000);
    EXPECT_EQ(l.maxfall, -10000);
    EXPECT_EQ(l.minzerocount, 0);
    EXPECT_FALSE(l.rightcellzero);
  }
  const CheckLimits& m24 = limits[24];
  EXPECT_EQ(m24.maxdeviation, 600.0f);
  EXPECT_EQ(m24.maxrise, 15);
  EXPECT_EQ(m24.maxfall, -80);
  EXPECT_EQ(m24.minzerocount, 2);
  EXPECT_TRUE(limits[30].rightcellzero);
  EXPECT_EQ(limits[33].minzerocount, 4);
  EXPECT_EQ(limits[46].maxrise, 150);
  EXPECT_EQ(limits[47].maxdeviation, 1100.0f);
  int withrightzero = 0;
  for (const CheckLimits& l : limits) withrightzero += l.rightcellzero ? 1 : 0;
  EXPECT_EQ(withrightzero, 1);
}

TEST(StartupTables, PanelTables) {
  const auto& panel = startuptables().paneltables;
  EXPECT_EQ(panel[6].name[0], QStringLiteral("AFR / L"));
  EXPECT_EQ(panel[6].name[1], QStringLiteral("AFR"));
  EXPECT_EQ(panel[6].scaletext[1], QStringLiteral("0.6S      1.0S     1.4S"));
  EXPECT_EQ(panel[4].scaletext[0], QStringLiteral(" 1                         0"));
  EXPECT_EQ(panel[4].barscale[1], -10.0f);
  EXPECT_EQ(panel[4].baroffset[1], -255.0f);
  EXPECT_EQ(panel[7].valuemul[1], 0.307f);
  EXPECT_EQ(panel[7].decimals[0], 0);
  EXPECT_EQ(panel[7].decimals[1], 1);
  EXPECT_EQ(panel[9].valueoffset[1], -2.2f);
  EXPECT_EQ(panel[9].units[1], QStringLiteral("F"));
  EXPECT_EQ(panel[9].barlimit, 100);
  EXPECT_EQ(panel[17].units[1], QStringLiteral("mmHg"));
  EXPECT_EQ(panel[17].barscale[1], 4.4f);
  EXPECT_EQ(panel[16].name[1], QStringLiteral("RPM"));
  EXPECT_EQ(panel[8].valueoffset[0], 512.0f);
  for (const PanelVariable& v : panel) {
    EXPECT_FALSE(v.name[0].isEmpty());
    EXPECT_FALSE(v.units[1].isEmpty());
    EXPECT_TRUE(v.barlimit == 100 || v.barlimit == 200 || v.barlimit == 300);
  }
}

TEST(StartupTables, DiagnosticTablesAndRegridFlags) {
  const StartupTables& t = startuptables();
  const float threshold[] = {128, 44,  44,  128, 128, 15,  128, 128, 128, 128,
                             128, 128, 128, 128, 128, 128, 20,  5,   128, 128};
  const float expected[] = {64, 36, 36, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 60, 60, 77, 77};
  for (int i = 0; i < diaginputcount; ++i) {
    EXPECT_EQ(t.diagthreshold[static_cast<std::size_t>(i)], threshold[i]) << i;
    EXPECT_EQ(t.diagexpected[static_cast<std::size_t>(i)], expected[i]) << i;
  }
  const std::array<int, 14> both{0, 1, 3, 4, 8, 11, 12, 15, 17, 18, 19, 21, 22, 23};
  for (int map = 0; map < 24; ++map) {
    const bool listed = std::find(both.begin(), both.end(), map) != both.end();
    EXPECT_EQ(t.regridboth[static_cast<std::size_t>(map)], listed) << map;
  }
}

}  // namespace
}  // namespace ostrel
