#include "calibration/mapcatalogue.h"

namespace ostrel::mapcatalogue {

const std::array<Definition, count>& definitions() {
  static constexpr std::array<Definition, count> table{{
      {"3D Fuel Calibration", "Base fuel table", "RPM, LOAD", "milliseconds", "0.005", "0"},             // 0
      {"3D Fuel Calibration", "Anti-lag fuel trim", "RPM, LOAD", "milliseconds", "0.08", "-10.24"},      // 1
      {"3D Fuel Calibration", "Anti-lag active fuel cut cycles", "RPM, TPS", "%", "0.39", "0"},          // 2
      {"3D Fuel Calibration", "Auxiliary fuel trim", "RPM, LOAD", "milliseconds", "0.08", "-10.24"},     // 3
      {"3D Fuel Calibration", "VE", "RPM, LOAD", "%", "1", "0"},                                         // 4
      {"3D Fuel Calibration", "Launch fuel cut cycles", "RPM, TPS", "%", "0.39", "0"},                   // 5
      {"3D Fuel Calibration", "Flat-shift fuel cut cycles", "RPM, TPS", "%", "0.39", "0"},               // 6
      {"3D Fuel Calibration", "Anti-lag inactive fuel cut cycles", "RPM, TPS", "%", "0.39", "0"},        // 7
      {"3D Ignition Calibration", "Base timing table", "RPM, LOAD", "degrees btdc", "0.5", "0"},         // 8
      {"3D Ignition Calibration", "Anti-lag ignition trim", "RPM, TPS", "degrees", "0.5", "-64"},        // 9
      {"3D Ignition Calibration", "Anti-lag ignition cut cycles", "RPM, TPS", "%", "0.39", "0"},         // 10
      {"3D Ignition Calibration", "Auxiliary ignition trim", "RPM, LOAD", "degrees", "0.5", "-64"},      // 11
      {"3D Ignition Calibration", "Backup table", "RPM, LOAD", "degrees", "0.5", "0"},                   // 12
      {"3D Ignition Calibration", "Launch ignition cut cycles", "RPM, TPS", "%", "0.39", "0"},           // 13
      {"3D Ignition Calibration", "Flat-shift ignition cut cycles", "RPM, TPS", "%", "0.39", "0"},       // 14
      {"3D Ignition Calibration", "***IC", "RPM, LOAD", "degrees", "1", "0"},                            // 15
      {"3D Engine Calibration", "TPS:MAP weight", "RPM, TPS", "%", "0.39", "0"},                         // 16
      {"3D Engine Calibration", "Intake VCT target", "RPM, LOAD", "degrees", "0.5", "-64"},              // 17
      {"3D Engine Calibration", "Exhaust VCT target", "RPM, LOAD", "degrees", "0.5", "-64"},             // 18
      {"3D Engine Calibration", "AFR/LAMBDA target", "RPM, LOAD", "AFR/LAMBDA units", "0.01", "0"},      // 19
      {"3D Engine Calibration", "Programmed MAP", "RPM, TPS", "kPa", "0.4", "0"},                        // 20
      {"3D Engine Calibration", "AUX AFR/LAMBDA target", "RPM, LOAD", "AFR/LAMBDA units", "0.01", "0"},  // 21
      {"3D Engine Calibration", "***EB", "RPM, LOAD", "unknown", "1", "0"},                              // 22
      {"3D Engine Calibration", "***EC", "RPM, LOAD", "unknown", "1", "0"},                              // 23
      {"2D Fuel Trims", "Coolant temp fuel trim", "CTS", "%", "0.5", "0"},                               // 24
      {"2D Fuel Trims", "Air temp fuel trim", "ATS", "%", "0.2", "-25.6"},                               // 25
      {"2D Fuel Trims", "Throttle pump enrichment", "RPM", "%", "0.5", "0"},                             // 26
      {"2D Fuel Trims", "Tip in enrichment", "RPM", "%", "0.5", "0"},                                    // 27
      {"2D Fuel Trims", "ISC position trim", "ISC", "%", "0.1", "-12.8"},                                // 28
      {"2D Fuel Trims", "Knocking enrichment", "Knock retard", "%", "0.1", "0"},                         // 29
      {"2D Fuel Trims", "AC enrichment set", "RPM", "%", "0.1", "0"},                                    // 30
      {"2D Fuel Trims", "AC enrichment decay", "Cycles/Time@2000rpm", "% remains", "0.39", "0"},         // 31
      {"2D Ignition Trims", "Coolant temp ignition trim", "CTS", "degrees", "0.5", "-64"},               // 32
      {"2D Ignition Trims", "Air temp ignition trim", "ATS", "degrees", "0.5", "-64"},                   // 33
      {"2D Ignition Trims", "Ignition upper limit", "RPM", "degrees", "0.5", "-64"},                     // 34
      {"2D Ignition Trims", "Ignition lower limit", "RPM", "degrees", "0.5", "-64"},                     // 35
      {"2D Ignition Trims", "AC on ignition trim set", "RPM", "degrees", "0.5", "-64"},                  // 36
      {"2D Ignition Trims", "STT ignition trim", "STT", "degrees", "0.5", "-64"},                        // 37
      {"2D Ignition Trims", "***ITC", "", "unknown", "1", "-128"},                                       // 38
      {"2D Ignition Trims", "***ITD", "", "unknown", "1", "-128"},                                       // 39
      {"2D Engine Calibration", "Injector response", "BATT", "milliseconds", "0.005", "0"},              // 40
      {"2D Engine Calibration", "Injector phasing", "RPM", "degrees bbdc", "1", "0"},                    // 41
      {"2D Engine Calibration", "Knock threshold", "RPM", "volts", "0.019", "0"},                        // 42
      {"2D Engine Calibration", "Fuel cut lower limit", "CTS", "rpm", "8", "0"},                         // 43
      {"2D Engine Calibration", "Dwell", "BATT", "milliseconds", "0.04", "0"},                           // 44
      {"2D Engine Calibration", "Dwell trim", "RPM", "milliseconds", "0.04", "-5.12"},                   // 45
      {"2D Engine Calibration", "Rapid setup trim", "MAP", "%", "1", "-128"},                            // 46
      {"2D Engine Calibration", "Throttle derivative trim", "dT/dt", "%", "0.2", "-25.6"},               // 47
      {"2D Boost Control", "Boost target", "RPM", "MAP units", "0.3", "0"},                              // 48
      {"2D Boost Control", "Boost trim", "CTS", "MAP units", "0.3", "-38.4"},                            // 49
      {"2D Boost Control", "Boost trim", "ATS", "MAP units", "0.3", "-38.4"},                            // 50
      {"2D Boost Control", "Boost trim", "TPS", "MAP units", "0.3", "-38.4"},                            // 51
      {"2D Boost Control", "Boost upper learn limit", "RPM", "%", "0.39", "0"},                          // 52
      {"2D Boost Control", "Maximum boost", "RPM", "MAP units", "0.3", "0"},                             // 53
      {"2D Boost Control", "***BB", "", "unknown", "0.1", "-12.8"},                                      // 54
      {"2D Boost Control", "***BC", "", "unknown", "0.1", "-12.8"},                                      // 55
      {"2D Idle Speed Control", "Idle speed target", "CTS", "rpm", "8", "0"},                            // 56
      {"2D Idle Speed Control", "Upper learn limit", "CTS", "%", "0.39", "0"},                           // 57
      {"2D Idle Speed Control", "Lower learn limit", "CTS", "%", "0.39", "0"},                           // 58
      {"2D Idle Speed Control", "AC on upper learn limit", "CTS", "%", "0.39", "0"},                     // 59
      {"2D Idle Speed Control", "AC on lower learn limit", "CTS", "%", "0.39", "0"},                     // 60
      {"2D Idle Speed Control", "ISC ignition trim", "ISC error", "degrees", "0.5", "-64"},              // 61
      {"2D Idle Speed Control", "AC on trim", "CTS", "rpm", "8", "0"},                                   // 62
      {"2D Idle Speed Control", "PS LOAD Lower learn limit", "CTS", "%", "0.39", "0"},                   // 63
      {"2D Starting", "Post start enrichment", "CTS", "%", "0.5", "0"},                                  // 64
      {"2D Starting", "Cranking enrichment", "CTS", "%", "0.5", "0"},                                    // 65
      {"2D Starting", "Post start enrichment decay", "Cycles/Time@2000rpm", "% remains", "0.39", "0"},   // 66
      {"2D Starting", "Cranking enrichment decay", "Cycles/Time@2000rpm", "% remains", "0.39", "0"},     // 67
      {"2D Starting", "Start primer", "CTS", "milliseconds", "0.08", "0"},                               // 68
      {"2D Starting", "***SA", "", "milliseconds", "1", "0"},                                            // 69
      {"2D Starting", "***SB", "", "milliseconds", "1", "0"},                                            // 70
      {"2D Starting", "***SC", "", "milliseconds", "1", "0"},                                            // 71
      {"2D Closed Loop", "Closed loop upper tps limit", "RPM", "%", "0.39", "0"},                        // 72
      {"2D Closed Loop", "Closed loop lower tps limit", "RPM", "%", "0.39", "0"},                        // 73
      {"2D Closed Loop", "Narrow closed loop P gain", "TPS", "%", "0.39", "0"},                          // 74
      {"2D Closed Loop", "Narrow closed loop I gain", "TPS", "%", "0.39", "0"},                          // 75
      {"2D Closed Loop", "Wide closed loop P gain", "TPS", "%", "0.39", "0"},                            // 76
      {"2D Closed Loop", "Wide closed loop I gain", "TPS", "%", "0.39", "0"},                            // 77
      {"2D Closed Loop", "Start delay", "CTS", "Cycles / (0 - 2min @ 2000 rpm)", "8", "0"},              // 78
      {"2D Closed Loop", "***CLA", "", "unknown", "1", "0"},                                             // 79
      {"2D Gear", "VSS/RPM ratio target", "Gear", "ratio", "1", "0"},                                    // 80
      {"2D Gear", "Ignition trim", "Gear", "degrees", "0.5", "-64"},                                     // 81
      {"2D Gear", "Fuel trim", "Gear", "%", "0.1", "-12.8"},                                             // 82
      {"2D Gear", "Fuel trim lower load limit", "RPM", "mmHg", "3", "0"},                                // 83
      {"2D Gear", "Traction max delta VSS", "Gear", "VSS units", "1", "0"},                              // 84
      {"2D Gear", "Traction ignition cut cycles", "Gear", "%", "0.4", "0"},                              // 85
      {"2D Gear", "Traction fuel cut cycles", "Gear", "%", "0.4", "0"},                                  // 86
      {"2D Gear", "Boost trim", "Gear", "MAP units", "0.3", "-38.4"},                                    // 87
      {"2D PWM", "PWM MAP 1 duty", "Selectable", "%", "0.39", "0"},                                      // 88
      {"2D PWM", "PWM MAP 2 duty", "Selectable", "%", "0.39", "0"},                                      // 89
      {"2D PWM", "PWM MAP 3 duty", "Selectable", "%", "0.39", "0"},                                      // 90
      {"2D PWM", "PWM MAP 4 duty", "Selectable", "%", "0.39", "0"},                                      // 91
      {"2D PWM", "PWM MAP 5 duty", "Selectable", "%", "0.39", "0"},                                      // 92
      {"2D PWM", "PWM MAP 6 duty", "Selectable", "%", "0.39", "0"},                                      // 93
      {"2D PWM", "PWM MAP 7 duty", "Selectable", "%", "0.39", "0"},                                      // 94
      {"2D PWM", "PWM MAP 8 duty", "Selectable", "%", "0.39", "0"},                                      // 95
      {"2D Expansion", "***EXA", "", "%", "0.39", "0"},                                                  // 96
      {"2D Expansion", "***EXB", "", "%", "0.39", "0"},                                                  // 97
      {"2D Expansion", "***EXC", "", "%", "0.39", "0"},                                                  // 98
      {"2D Expansion", "***EXD", "", "%", "0.39", "0"},                                                  // 99
      {"2D Expansion", "***EXE", "", "%", "0.39", "0"},                                                  // 100
      {"2D Expansion", "***EXF", "", "%", "0.39", "0"},                                                  // 101
      {"2D Expansion", "***EXG", "", "%", "0.39", "0"},                                                  // 102
      {"2D Expansion", "***EXH", "", "%", "0.39", "0"},                                                  // 103
      {"Comments", "Cmnts", nullptr, "%", "0.39", "0"},                                                  // 104
      {"Passwords", "Psswds", nullptr, "%", "0.39", "0"},                                                // 105
      {"3D PWM 9", "PWM MAP 9", "X = Selectable,Y = Selectable", "%", "0.39", "0"},                      // 106
      {"3D PWM 10", "PWM MAP 10", "X = Selectable,Y = Selectable", "%", "0.39", "0"},                    // 107
      {"3D PWM 11", "PWM MAP 11", "X = Selectable,Y = Selectable", "%", "0.39", "0"},                    // 108
      {"3D PWM 12", "PWM MAP 12", "X = Selectable,Y = Selectable", "%", "0.39", "0"},                    // 109
      {"Settings 1", "Settings group 1", nullptr, "%", "0.39", "0"},                                     // 110
      {"Settings 2", "Settings group 2", nullptr, "%", "0.39", "0"},                                     // 111
      {"Settings 3", "Settings group 3", "", "%", "0.39", "0"},                                          // 112
      {"Settings 4", "Settings group 4", "", "%", "0.39", "0"},                                          // 113
      {"Settings 5", "Settings group 5", "", "%", "0.39", "0"},                                          // 114
      {"Settings 6", "Settings group 6", "", "%", "0.39", "0"},                                          // 115
  }};
  return table;
}

QString definitionstring(int map) {
  if (!valid(map)) return {};
  const Definition& d = definitions()[map];
  QString text = QString::fromLatin1(d.group) + QLatin1Char(':') + QString::fromLatin1(d.name);
  if (d.axes) text += QStringLiteral(" [") + QString::fromLatin1(d.axes) + QLatin1Char(']');
  text += QLatin1Char(';') + QString::fromLatin1(d.units) + QLatin1Char('_') + QString::fromLatin1(d.multiplier) +
          QLatin1Char('|') + QString::fromLatin1(d.offset);
  return text;
}

const std::array<Group, 25>& groups() {
  static constexpr std::array<Group, 25> table{{
      {0, "3D Fuel Calibration"},
      {8, "3D Ignition Calibration"},
      {16, "3D Engine Calibration"},
      {24, "2D Fuel Trims"},
      {32, "2D Ignition Trims"},
      {40, "2D Engine Calibration"},
      {48, "2D Boost Control"},
      {56, "2D Idle Speed Control"},
      {64, "2D Starting"},
      {72, "2D Closed Loop"},
      {80, "2D Gear"},
      {88, "2D PWM"},
      {96, "2D Expansion"},
      {104, "Comments"},
      {105, "Passwords"},
      {106, "3D PWM 9"},
      {107, "3D PWM 10"},
      {108, "3D PWM 11"},
      {109, "3D PWM 12"},
      {110, "Settings 1"},
      {111, "Settings 2"},
      {112, "Settings 3"},
      {113, "Settings 4"},
      {114, "Settings 5"},
      {115, "Settings 6"},
  }};
  return table;
}

float graphscale(int map) {
  if (map == 0) return 0.3f;
  if (map == 8) return 14.0f;
  if (map == 12) return 28.0f;
  if ((map >= 1 && map <= 23) || (map >= 106 && map <= 109)) return 8.0f;
  return 20.0f;
}

int editstep(int map) {
  static constexpr std::array<int, 16> fuelandignition{10, 5, 5, 5, 2, 5, 5, 2, 4, 4, 4, 4, 4, 4, 4, 4};
  if (map >= 0 && map < 16) return fuelandignition[map];
  return 5;
}

bool throttleaxisset(int map) {
  static constexpr std::array<int, 8> throttle{2, 5, 6, 10, 13, 14, 16, 20};
  for (int m : throttle)
    if (m == map) return true;
  return false;
}

const char* const nolabels16 = " ;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***";
const char* const nolabels32 =
    " ;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;***;"
    "***;***;***;***;***";

namespace {

constexpr const char* rpmx =
    "RX1;RX2;RX3;RX4;RX5;RX6;RX7;RX8;RX9;RX10;RX11;RX12;RX13;RX14;RX15;RX16;RX17;RX18;RX19;RX20;RX21;RX22;RX23;"
    "RX24;RX25;RX26;RX27;RX28;RX29;RX30;RX31;RX32;***";
constexpr const char* loady =
    "RY1;RY2;RY3;RY4;RY5;RY6;RY7;RY8;RY9;RY10;RY11;RY12;RY13;RY14;RY15;RY16;RY17;RY18;RY19;RY20;RY21;RY22;RY23;"
    "RY24;RY25;RY26;RY27;RY28;RY29;RY30;RY31;RY32;***";
constexpr const char* throttley =
    "0%;3%;6%;10%;13%;16%;19%;23%;26%;29%;32%;35%;39%;42%;45%;48%;52%;55%;58%;61%;64%;68%;71%;74%;77%;80%;84%;87%;"
    "90%;93%;97%;100%;***";

struct XLabelRow {
  std::initializer_list<int> maps;
  LabelPair labels;
};

constexpr LabelPair temperature{
    "-20 C;-10 C;0 C;10 C;20 C;30 C;40 C;50 C;60 C;70 C;80 C;90 C;100 C;110 C;120 C;130 C;***",
    "-4 F;14 F;32 F;50 F;68 F;86 F;104 F;122 F;140 F;158 F;176 F;194 F;212 F;230 F;248 F;266 F;***"};
constexpr const char* rpm16 =
    "0 RPM;850 RPM;1700 RPM;2550 RPM;3400 RPM;4250 RPM;5100 RPM;5950 RPM;6800 RPM;7650 RPM;8500 RPM;9350 RPM;"
    "10200 RPM;11050 RPM;11900 RPM;12750 RPM;***";
constexpr const char* percent16 = "0 %;7 %;13 %;20 %;27 %;33 %;40 %;47 %;53 %;60 %;67 %;73 %;80 %;87 %;93 %;100 %;***";
constexpr const char* degrees16 =
    "0 DEG;1 DEG;2 DEG;3 DEG;4 DEG;5 DEG;6 DEG;7 DEG;8 DEG;9 DEG;10 DEG;11 DEG;12 DEG;13 DEG;14 DEG;15 DEG;***";
constexpr const char* decayshort =
    "0s@2krpm;0.1s@2krpm;0.3s@2krpm;0.4s@2krpm;0.5s@2krpm;0.7s@2krpm;0.8s@2krpm;0.9s@2krpm;1.1s@2krpm;1.2s@2krpm;"
    "1.3s@2krpm;1.5s@2krpm;1.6s@2krpm;1.7s@2krpm;1.8s@2krpm;2s@2krpm;***";
constexpr const char* stt16 =
    "-12.6 %;-10.8 %;-9.0 %;-7.2 %;-5.4 %;-3.6 %;-1.8 %;0 %;1.8 %;3.6 %;5.4 %;7.2 %;9.0 %;10.8 %;12.6 %;14.4 %;***";
constexpr const char* volts16 =
    "10 V;10.3 V;10.7 V;11 V;11.3 V;11.7 V;12 V;12.3 V;12.7 V;13 V;13.3 V;13.7 V;14 V;14.3 V;14.7 V;15 V;***";
constexpr LabelPair manifold{
    "0 kPa;10 kPa;20 kPa;30 kPa;40 kPa;50 kPa;60 kPa;70 kPa;80 kPa;90 kPa;100 kPa;210 kPa;314 kPa;424 kPa;535 kPa;"
    "638 kPa;***",
    "760 mmHg;684 mmHg;608 mmHg;532 mmHg;456 mmHg;380 mmHg;304 mmHg;228 mmHg;152 mmHg;76 mmHg;0 mmHg;16 psi;31 psi;"
    "47 psi;63 psi;78 psi;***"};
constexpr const char* signedpercent16 =
    "-70 %;-60 %;-50 %;-40 %;-30 %;-20 %;-10 %;0 %;10 %;20 %;30 %;40 %;50 %;60 %;70 %;80 %;***";
constexpr const char* decaylong =
    "0s@2krpm;8s@2krpm;16s@2krpm;24s@2krpm;32s@2krpm;40s@2krpm;48s@2krpm;54s@2krpm;64s@2krpm;72s@2krpm;80s@2krpm;"
    "88s@2krpm;92s@2krpm;100s@2krpm;108s@2krpm;116s@2krpm;***";
constexpr const char* gearratio = "1st;2nd;3rd;4th;5th;6th; ; ;***;***;***;***;***;***;***;***;***";
constexpr const char* gears = "1st;2nd;3rd;4th;5th;6th;***;***;***;***;***;***;***;***;***;***;***";

// X labels of the 2-D maps by axis.
const XLabelRow xlabelrows[] = {
    {{24, 25, 32, 33, 43, 49, 50, 56, 57, 58, 59, 60, 62, 63, 64, 65, 68, 78}, temperature},
    {{26, 27, 30, 34, 35, 41, 42, 45, 48, 52, 53, 72, 73, 83}, {rpm16, rpm16}},
    {{28, 51, 74, 75, 76, 77}, {percent16, percent16}},
    {{29}, {degrees16, degrees16}},
    {{31, 36, 67}, {decayshort, decayshort}},
    {{37}, {stt16, stt16}},
    {{40, 44}, {volts16, volts16}},
    {{46}, manifold},
    {{47, 61}, {signedpercent16, signedpercent16}},
    {{66}, {decaylong, decaylong}},
    {{80}, {gearratio, gearratio}},
    {{81, 82, 84, 85, 86, 87}, {gears, gears}},
};

}  // namespace

LabelPair initialxlabels(int map) {
  if (map >= 0 && map <= 23) return {rpmx, rpmx};
  for (const XLabelRow& row : xlabelrows)
    for (int m : row.maps)
      if (m == map) return row.labels;
  return {nolabels16, nolabels16};
}

LabelPair initialylabels(int map) {
  if (map >= 0 && map <= 23) {
    // The creation labels follow the axis captions, so maps 7 and 9 (captioned TPS) get the throttle labels.
    const char* y = QLatin1String(definitions()[map].axes) == QLatin1String("RPM, TPS") ? throttley : loady;
    return {y, y};
  }
  return {nolabels16, nolabels16};
}

LabelPair fixedvariablelabels16(int variable) {
  static constexpr LabelPair fixed[] = {
      {"-20 C;-3 C;14 C;31 C;48 C;66 C;83 C;100 C;117 C;134 C;151 C;168 C;185 C;202 C;220 C;236 C;***",
       "-4 F;27 F;57 F;88 F;118 F;151 F;181 F;212 F;243 F;273 F;304 F;334 F;365 F;396 F;428 F;457 F;***"},
      {"0.00 L;0.09 L;0.17 L;0.26 L;0.34 L;0.43 L;0.51 L;0.60 L;0.68 L;0.77 L;0.86 L;0.94 L;1.06 L;1.23 L;1.39 L;"
       "1.55 L;***",
       "0.00 AFR;0.09 AFR;0.17 AFR;0.26 AFR;0.34 AFR;0.43 AFR;0.51 AFR;0.60 AFR;0.68 AFR;0.77 AFR;0.86 AFR;0.94 AFR;"
       "1.06 AFR;1.23 AFR;1.39 AFR;1.55 AFR;***"},
      {rpm16, rpm16},
  };
  if (variable >= 0 && variable < 3) return fixed[variable];
  return {nullptr, nullptr};
}

}  // namespace ostrel::mapcatalogue
