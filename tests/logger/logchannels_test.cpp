// The channel set-up: variable lists, trace colours, scaling, the duration line and the live request table.
#include "logger/logchannels.h"

#include <gtest/gtest.h>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

TEST(LogVariables, ParsesTheFirstHalfOfTheSettingsList) {
  settings tables;
  const LogVariables v = logvariables(tables);
  ASSERT_EQ(v.count, 128);
  EXPECT_EQ(v.items[0], "coolant temp (C)");
  EXPECT_EQ(v.names[0], "coolant temp");
  EXPECT_EQ(v.units[0], "(C)");
  EXPECT_EQ(v.names[2], "engine speed");
  EXPECT_EQ(v.units[2], "(rpm)");
  EXPECT_EQ(v.items[39], "gear");  // no units
  EXPECT_EQ(v.names[39], "gear");
  EXPECT_EQ(v.units[39], "( )");
  EXPECT_EQ(v.names[127], "variable 127");
}

TEST(LogVariables, ShortOrOddListsEndEarly) {
  const struct {
    const char* list;
    int count;
    const char* lastname;
    const char* lastunits;
  } cases[] = {
      {"4;a (x) >:b >:c <:d <:***", 2, "b", "( )"},
      {"6;only one (u) >", 0, "", ""},  // no closing ":": the item is not complete
      {"6;(u) >:x >:***", 2, "x", "( )"},
      {"no count", 0, "", ""},
  };
  for (const auto& c : cases) {
    const LogVariables v = parselogvariables(QString::fromLatin1(c.list));
    EXPECT_EQ(v.count, c.count) << c.list;
    if (c.count > 0) {
      EXPECT_EQ(v.names[static_cast<std::size_t>(c.count - 1)], c.lastname) << c.list;
      EXPECT_EQ(v.units[static_cast<std::size_t>(c.count - 1)], c.lastunits) << c.list;
    }
  }
  EXPECT_EQ(parselogvariables(QStringLiteral("6;(u) >:x >:***")).units[0], "(u)");
}

TEST(LogColours, NextColourSkipsThoseInUse) {
  std::array<std::uint8_t, 16> colours{};
  for (int i = 0; i < 16; ++i) colours[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  const struct {
    int channel;
    std::uint8_t from;
    std::uint8_t expected;
  } cases[] = {
      {15, 15, 16},  // 15 goes to no trace
      {15, 16, 15},  // then to the lowest colour nobody else uses: only 15 is free
      {3, 3, 16},    // every colour above is taken
  };
  for (const auto& c : cases) {
    auto table = colours;
    table[static_cast<std::size_t>(c.channel)] = c.from;
    EXPECT_EQ(nextlogcolour(table, c.channel), c.expected) << c.channel << " from " << int(c.from);
  }
  std::array<std::uint8_t, 16> sparse;
  sparse.fill(16);
  sparse[0] = 0, sparse[1] = 1, sparse[2] = 4;
  EXPECT_EQ(nextlogcolour(sparse, 5), 2);  // 16 -> 0, 0 and 1 taken
  EXPECT_EQ(nextlogcolour(sparse, 0), 2);
  EXPECT_EQ(nextlogcolour(sparse, 1), 2);
  sparse[5] = 3;
  EXPECT_EQ(nextlogcolour(sparse, 5), 5);  // 4 is taken
}

TEST(LogScale, VariablesAndTheAirFuelRatios) {
  settings tables;
  RecordingPrompts modelprompts;
  maps model{modelprompts};
  const struct {
    int variable;
    int fueltype;
    float multiplier;
    float offset;
    int decimals;
  } cases[] = {
      {2, 1, 50.0f, 0.0f, 0},    // engine speed
      {0, 1, 1.0f, -20.0f, 0},   // coolant
      {9, 1, 0.0625f, 0.0f, 1},  // knock retard: 0.625 rounds to a first digit of 1
      {1, 1, 0.147f, 0.0f, 1},   // AFR on petrol: its own 0.01 does not count
      {37, 6, 0.01f, 0.0f, 2},   // lambda
      {40, 1, 0.2f, -25.6f, 1},
  };
  for (const auto& c : cases) {
    const ChannelScale s = channelscale(tables, model, c.variable, true, c.fueltype);
    EXPECT_FLOAT_EQ(s.multiplier, c.multiplier) << c.variable;
    EXPECT_FLOAT_EQ(s.offset, c.offset) << c.variable;
    EXPECT_EQ(s.decimals, c.decimals) << c.variable;
  }
  const ChannelScale afr = channelscale(tables, model, 1, true, 1);
  EXPECT_EQ(logvaluetext(afr.value(100), 2), "14.70");
  const ChannelScale lambda = channelscale(tables, model, 1, true, 6);
  EXPECT_EQ(logvaluetext(lambda.value(87), lambda.decimals), "0.87");
  const ChannelScale trim = channelscale(tables, model, 40, true, 1);
  EXPECT_EQ(logvaluetext(trim.value(0), trim.decimals), "-25.6");
  EXPECT_EQ(logvaluetext(trim.value(128), trim.decimals), "0.0");
}

TEST(LogColumnsTest, ColumnsFollowTheChannelTables) {
  settings tables;
  RecordingPrompts modelprompts;
  maps model{modelprompts};
  ProgramState state;
  state.logvar[0] = 2;
  state.logvar[1] = 1;
  state.logcolour[1] = 7;
  state.preferences.fueltype = 1;
  const LogColumns columns = logcolumns(state, tables, model, logvariables(tables));
  EXPECT_EQ(columns[0].name, "engine speed");
  EXPECT_EQ(columns[0].units, "(rpm)");
  EXPECT_EQ(columns[0].texts[3], "150");
  EXPECT_EQ(columns[1].texts[100], "14.7");
  EXPECT_EQ(columns[1].colourcode, 7);
  EXPECT_EQ(logcolumns(state, tables, model, logvariables(tables), 2)[0].texts[3], "150.00");
}

TEST(LogDuration, MinutesLoggedAndRemaining) {
  const struct {
    std::int32_t position;
    const char* text;
    int bar;
  } cases[] = {
      {0, "0 minutes logged, 60 minutes remaining", 0},
      {798, "0 minutes logged, 60 minutes remaining", 8},
      {799, "1 minutes logged, 59 minutes remaining", 8},
      {47999, "60 minutes logged, 0 minutes remaining", 480},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(logdurationtext(c.position).value_or(QString()), c.text);
    EXPECT_EQ(logfillbar(c.position), c.bar) << c.position;
  }
  EXPECT_FALSE(logdurationtext(-1));
  EXPECT_FALSE(logdurationtext(-50));
}

TEST(LogRequestTableTest, ChannelsTakeTheirVariablesAddresses) {
  settings tables;
  std::array<std::uint8_t, 16> vars{};
  for (int i = 0; i < 16; ++i) vars[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  const LogRequestTable empty = emptyrequesttable();
  for (const auto& list : empty)
    for (std::uint8_t b : list) EXPECT_EQ(b, 0xFF);

  const LogRequestTable logger = logrequesttable(empty, tables, vars, true, 1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(requestaddress(logger, i), tables.getvarsaddress(i, true)) << i;
  EXPECT_EQ(logger[0][0], 0x6A);  // coolant at 0x6AE0: high byte first
  EXPECT_EQ(logger[0][1], 0xE0);
  EXPECT_EQ(logger[1][8], 0x6B);  // channel 12 (cell X at 0x6B4C): list 1, slot 4
  EXPECT_EQ(logger[1][9], 0x4C);

  // While another selector holds the line (the monitor), channels 12 to 15 keep what they hold.
  for (std::uint8_t livemode : {0, 4, 16}) {
    const LogRequestTable other = logrequesttable(empty, tables, vars, true, livemode);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(requestaddress(other, i), tables.getvarsaddress(i, true));
    for (int i = 12; i < 16; ++i) EXPECT_EQ(requestaddress(other, i), 0xFFFF) << int(livemode);
  }
}

TEST(MonitorAddress, HexadecimalUpToFfffElseTheOldAddressStays) {
  const struct {
    const char* text;
    std::optional<std::uint16_t> address;
  } cases[] = {
      {"ffff", 0xFFFF}, {"6DB0", 0x6DB0}, {"6db0", 0x6DB0}, {"0", 0},   {" 12 ", 0x12}, {"0000ffff", 0xFFFF}, {"", {}},
      {"  ", {}},       {"10000", {}},    {"6dbg", {}},     {"-1", {}}, {"&h12", {}},   {"0x12", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(parsemonitoraddress(QString::fromLatin1(c.text)), c.address) << c.text;

  LogRequestTable table = emptyrequesttable();
  for (int i = 0; i < 16; ++i) setrequestaddress(table, i, static_cast<std::uint16_t>(0x6A00 + i));
  const LogRequestTable after =
      monitorrequesttable(table, {QStringLiteral("ffff"), QStringLiteral("6DB0"), QString(), QStringLiteral("zz")});
  EXPECT_EQ(requestaddress(after, 12), 0xFFFF);  // the empty slot
  EXPECT_EQ(after[1][10], 0x6D);
  EXPECT_EQ(after[1][11], 0xB0);
  EXPECT_EQ(requestaddress(after, 14), 0x6A0E);  // kept
  EXPECT_EQ(requestaddress(after, 15), 0x6A0F);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(requestaddress(after, i), 0x6A00 + i);
}

}  // namespace
