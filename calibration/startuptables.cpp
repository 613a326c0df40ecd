#include "calibration/startuptables.h"

#include "calibration/bytetables.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

// One live panel variable as data; a null imperial text means the metric one serves both columns.
struct PanelRow {
  const char* name[2];
  const char* scaletext[2];
  float barscale[2];
  float baroffset;
  float valuemul[2];
  float valueoffset[2];
  const char* units[2];
  std::int16_t decimals[2];
  std::int16_t barlimit;
};

constexpr PanelRow panelrows[panelvariablecount] = {
    {{"ADV"}, {"-40  -20   0   20   40"}, {7, 7}, -36, {0.5f, 0.5f}, {-128, -128}, {"degrees"}, {1, 1}, 300},
    {{"FUEL"}, {"0    4   8   12  16  20"}, {0.31f, 0.31f}, 0, {0.005f, 0.005f}, {0, 0}, {"ms"}, {2, 2}, 200},
    {{"DUTY"}, {"0   20  40  60  80 100"}, {4.8f, 4.8f}, 0, {0.39f, 0.39f}, {0, 0}, {"%"}, {1, 1}, 300},
    {{"VSS"},
     {"0   50 100 150 200 250", "0   25  50  75 100 125"},
     {5, 10},
     0,
     {1, 1},
     {0, 0},
     {"kph", "mph"},
     {0, 0},
     200},
    {{"02LEFT"},
     {" 1                         0"},
     {-10, -10},
     -255,
     {0.0039f, 0.0039f},
     {0, 0},
     {"volts"},
     {1, 1},
     300},
    {{"02RIGHT"},
     {" 1                         0"},
     {-10, -10},
     -255,
     {0.0039f, 0.0039f},
     {0, 0},
     {"volts"},
     {1, 1},
     300},
    {{"AFR / L", "AFR"},
     {"0.6  0.8  1.0  1.2  1.4", "0.6S      1.0S     1.4S"},
     {15, 15},
     -56,
     {0.01f, 0.01f},
     {0, 0},
     {"AFR / L", "AFR"},
     {2, 2},
     300},
    {{"BOOST"},
     {"0   50   100  150  200", "0   10   20  30  40  50"},
     {13, 8},
     0,
     {2.12f, 0.307f},
     {0, 0},
     {"kPa", "psi"},
     {0, 1},
     200},
    {{"BATT"}, {"10  11  12  13  14  15"}, {5, 5}, 0, {0.0195f, 0.0195f}, {512, 512}, {"volts"}, {1, 1}, 200},
    {{"AIR"},
     {"0   20  40  60  80 100", "30 70 110 150 190 220"},
     {12.5f, 12.5f},
     -20,
     {1, 1.8f},
     {-20, -2.2f},
     {"C", "F"},
     {0, 0},
     100},
    {{"COOL"},
     {"0   20  40  60  80 100", "30 70 110 150 190 220"},
     {12.5f, 12.5f},
     -20,
     {1, 1.8f},
     {-20, -2.2f},
     {"C", "F"},
     {0, 0},
     200},
    {{"STTLEFT"}, {" -            0             +"}, {23, 23}, -100, {0.5f, 0.5f}, {-128, -128}, {"%"}, {1, 1}, 200},
    {{"STTRIGHT"}, {" -            0             +"}, {23, 23}, -100, {0.5f, 0.5f}, {-128, -128}, {"%"}, {1, 1}, 200},
    {{"TPS"}, {"0   20  40  60  80 100"}, {4.8f, 4.8f}, 0, {0.39f, 0.39f}, {0, 0}, {"%"}, {1, 1}, 200},
    {{"ISC"}, {"0   20  40  60  80 100"}, {4.8f, 4.8f}, 0, {0.39f, 0.39f}, {0, 0}, {"%"}, {1, 1}, 200},
    {{"KNOCK"}, {"0    1    2    3   4   5"}, {5, 5}, 0, {0.019f, 0.019f}, {0, 0}, {"volts"}, {1, 1}, 200},
    {{"RPM"}, {"0   2k  4k  6k  8k"}, {0.12f, 0.12f}, 0, {1, 1}, {0, 0}, {"rpm"}, {0, 0}, 200},
    {{"VACUUM"},
     {"0   25   50   75  100", "0  200  400  600  800"},
     {4.8f, 4.4f},
     0,
     {0.392f, 2.98f},
     {0, 0},
     {"kPa", "mmHg"},
     {0, 0},
     300},
};

struct CheckLimitRow {
  int map;
  CheckLimits limits;
};

constexpr CheckLimitRow checklimitrows[] = {
    {24, {600, 15, -80, 2, false}}, {25, {600, 0, -15, 0, false}},   {26, {1100, 5, -40, 0, false}},
    {27, {1200, 5, -40, 0, false}}, {28, {1000, 20, 0, 1, false}},   {29, {1000, 40, 0, 1, false}},
    {30, {1800, 0, -80, 0, true}},  {31, {1500, 0, -80, 1, false}},  {32, {300, 10, -10, 4, false}},
    {33, {300, 10, -10, 4, false}}, {34, {4096, 40, -40, 0, false}}, {35, {4096, 40, -40, 0, false}},
    {36, {500, 0, -40, 0, false}},  {37, {500, 0, -5, 1, false}},    {40, {1100, 0, -30, 0, false}},
    {41, {500, 30, -30, 0, false}}, {42, {1300, 80, -20, 0, false}}, {43, {2048, 0, -40, 0, false}},
    {44, {600, 0, -40, 0, false}},  {45, {600, 20, -20, 0, false}},  {46, {2048, 150, 0, 0, false}},
    {47, {1100, 80, 0, 0, false}},
};

// Input diagnostic levels and expected counts; inputs not listed use the first value.
constexpr std::array<float, diaginputcount> diagthresholds{128, 44,  44,  128, 128, 15,  128, 128, 128, 128,
                                                           128, 128, 128, 128, 128, 128, 20,  5,   128, 128};
constexpr std::array<float, diaginputcount> diagexpecteds{64, 36, 36, 64, 64, 64, 64, 64, 64, 64,
                                                          64, 64, 64, 64, 64, 64, 60, 60, 77, 77};

// Maps re-gridded along both axes when the spreads change.
constexpr std::array<bool, 24> regridflags{true,  true,  false, true, true,  false, false, false,
                                           true,  false, false, true, true,  false, false, true,
                                           false, true,  true,  true, false, true,  true,  true};

QString text(const char* metric, const char* imperial, int column) {
  return QString::fromLatin1(column == 1 && imperial ? imperial : metric);
}

PanelVariable panelvariable(const PanelRow& row) {
  PanelVariable v;
  for (int c = 0; c < 2; ++c) {
    const auto i = static_cast<std::size_t>(c);
    v.name[i] = text(row.name[0], row.name[1], c);
    v.scaletext[i] = text(row.scaletext[0], row.scaletext[1], c);
    v.barscale[i] = row.barscale[c];
    v.baroffset[i] = row.baroffset;
    v.valuemul[i] = row.valuemul[c];
    v.valueoffset[i] = row.valueoffset[c];
    v.units[i] = text(row.units[0], row.units[1], c);
    v.decimals[i] = row.decimals[c];
  }
  v.barlimit = row.barlimit;
  return v;
}

StartupTables buildtables() {
  StartupTables t;
  for (std::size_t i = 0; i < t.paneltables.size(); ++i) t.paneltables[i] = panelvariable(panelrows[i]);
  t.regridboth = regridflags;
  t.checklimits.fill(CheckLimits{});
  for (const CheckLimitRow& row : checklimitrows) t.checklimits[static_cast<std::size_t>(row.map)] = row.limits;
  t.diagthreshold = diagthresholds;
  t.diagexpected = diagexpecteds;
  return t;
}

}  // namespace

const StartupTables& startuptables() {
  static const StartupTables built = buildtables();
  return built;
}

void initvariables(ProgramState& state) {
  state.curmap = 0;
  state.online = false;
  startuptables();
  bytetables();
}

}  // namespace ostrel
