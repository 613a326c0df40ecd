#include "calibration/settingrecords.h"

#include <QStringList>
#include <array>

#include "calibration/settings.h"

namespace ostrel {

namespace {

// A run of like cells in one row. Labels are either items separated by "|" (one per column, each followed by
// suffix) or a pattern whose "%1" counts up from first.
struct RecordRun {
  int row, colfrom, colto;
  std::uint8_t group, type;
  float multiplier, offset;
  const char* labels;
  int first;
  const char* suffix;
};

constexpr const char* userlogic1 =
    "User 1|User 2|User 3|User 4|User 5|User 6|User 7|User 8|User 9A (AND)|User 9B (AND)|User 10A (AND)|"
    "User 10B (AND)|User 11A (AND)|User 11B (AND)|User 12A (AND)|User 12B (AND)";
constexpr const char* userlogic2 =
    "User 13A (OR)|User 13B (OR)|User 14A (OR)|User 14B (OR)|User 15A (OR)|User 15B (OR)|User 16A (OR)|"
    "User 16B (OR)|User 17A (AND)|User 17B (AND)|User 17C (AND)|User 17D (AND)|User 18A (AND)|User 18B (AND)|"
    "User 18C (AND)|User 18D (AND)";
constexpr const char* userlogic3 =
    "User 19A (AND)|User 19B (AND)|User 19C (AND)|User 19D (OR)|User 20A (AND)|User 20B (AND)|User 20C (AND)|"
    "User 20D (OR)|User 21A (AND)|User 21B (AND)|User 21C (OR)|User 21D (OR)|User 22A (AND)|User 22B (AND)|"
    "User 22C (OR)|User 22D (OR)";

// Settings map 110.
constexpr RecordRun set0runs[] = {
    {0, 0, 15, 14, displayconditions, 0, 0, userlogic1, 0, " type"},
    {1, 0, 15, 14, displaytextbox, 1, 0, userlogic1, 0, " variable"},
    {2, 0, 1, 1, displaytextbox, 1, 0, "Ext. AFR zero calibration|Ext. AFR gradient calibration", 0, ""},
    {2, 12, 12, 6, displaytextbox, 0.4f, 0, "Anti-lag timeout (s)", 0, ""},
    {2, 13, 13, 6, displaytextbox, 1, 0, "Anti-lag zero TPS calibration", 0, ""},
    {2, 14, 14, 16, displaytextbox, 50, 0, "AC rpm limit", 0, ""},
    {2, 15, 15, 16, displaytextbox, 0.39f, 0, "AC tps limit", 0, ""},
    {3, 0, 11, 15, displaylivevariables, 0, 0, "PWM MAP %1 X-axis variable", 1, ""},
    {3, 12, 15, 15, displaylivevariables, 0, 0, "PWM MAP %1 Y-axis variable", 9, ""},
    {4, 0, 15, 11, displaytextbox, 1, 0, "Load spread %1", 1, ""},
    {5, 0, 14, 11, displaytextbox, 1, 0, "Load spread %1", 17, ""},
    {6, 0, 15, 10, displaytextbox, 1, 0, "Rpm spread %1", 1, ""},
    {7, 0, 14, 10, displaytextbox, 1, 0, "Rpm spread %1", 17, ""},
    {8, 0, 1, 3, displaycheckbox, 1, 0, "Knock %1 amplifier enable", 1, ""},
    {8, 2, 2, 16, displaytextbox, 1, -20, "Thermofan on temp", 0, ""},
    {8, 3, 3, 3, displaytextbox, 64, 0, "Soft rev limit", 0, ""},
    {8, 4, 4, 7, displaytextbox, 1, 0, "Dynamic enleanment coefficient", 0, ""},
    {8, 5, 5, 4, displaycheckbox, 1, 0, "Closed loop enable", 0, ""},
    {8, 6, 6, 7, displaycheckbox, 1, 0, "Decel cut enable", 0, ""},
    {8, 7, 7, 9, displaytextbox, 1, 0, "VSS input cal", 0, ""},
    {8, 8, 8, 3, displaytextbox, 0.0625f, 0, "Maximum knock retard", 0, ""},
    {8, 9, 9, 6, displaycheckbox, 1, 0, "TPS switch enable", 0, ""},
    {8, 10, 10, 3, displaycheckbox, 1, 0, "Moving launch enable", 0, ""},
    {8, 11, 11, 7, displaytextbox, 1, 0, "Map pump threshold", 0, ""},
    {8, 12, 13, 2, displaytextbox, 0.39f, 0, "Anti-lag ISC position|Moving vehicle ISC min (%)", 0, ""},
    {8, 14, 14, 6, displaytextbox, 1, 0, "Zero TPS calibration", 0, ""},
    {8, 15, 15, 4, displaytextbox, 1, -20, "Closed loop start temp. (C)", 0, ""},
    {9, 0, 1, 4, displayowncombo, 0, 0, "Left module sensor source|Right module sensor source", 0, ""},
    {9, 2, 2, 1, displaycheckbox, 0, 0, "External map sensor enable", 0, ""},
    {9, 3, 3, 3, displaytextbox, 0.0625f, 0, "Knock retard degrees per knock", 0, ""},
    {9, 4, 4, 6, displaytextbox, 1, 0, "Closed pedal calibration", 0, ""},
    {9, 5, 5, 8, displaycheckbox, 0, 0, "Rapid setup trim enable", 0, ""},
    {9, 6, 7, 1, displaytextbox, 1, 0, "UEGO zero calibration|UEGO gradient calibration", 0, ""},
    {9, 8, 8, 8, displaycheckbox, 0, 0, "ALPHA-n mixed mode enable", 0, ""},
    {9, 9, 9, 2, displaytextbox, 0.39f, 0, "ISC max duty", 0, ""},
    {9, 10, 10, 6, displaytextbox, 1, 0, "100% TPS calibration", 0, ""},
    {9, 11, 12, 8, displaycheckbox, 1, 0, "Sequential injection enable|VE mode enable", 0, ""},
    {9, 13, 13, 5, displaytextbox, 0.3f, -38.3f, "Aux map boost trim (psi)", 0, ""},
    {9, 14, 14, 8, displaytextbox, 5, 0, "Injector flow (cc/min)", 0, ""},
    {9, 15, 15, 2, displaytextbox, 0.39f, 0, "ISC min duty", 0, ""},
    {10, 0, 0, 7, displaytextbox, 1, 0, "Manifold wetting coefficient", 0, ""},
    {10, 1, 2, 1, displayowncombo, 0, 0, "CTS type|ATS type", 0, ""},
    {10, 3, 3, 7, displaytextbox, 1, 0, "Dynamic enrichment coefficient", 0, ""},
    {10, 4, 4, 8, displaycheckbox, 0, 0, "Crank multi-inject enable", 0, ""},
    {10, 5, 5, 8, displaytextbox, 0.4f, 0, "Turbo timer period (s)", 0, ""},
    {10, 6, 6, 4, displaycheckbox, 0, 0, "LTT enable", 0, ""},
    {10, 7, 7, 8, displaytextbox, 3, 0, "Cylinder capacity (cc)", 0, ""},
    {10, 8, 8, 8, displaytextbox, 0.03f, 0, "Pump primer time (s)", 0, ""},
    {10, 9, 9, 8, displaytextbox, 50, 0, "Boost control threshold rpm", 0, ""},
    {10, 10, 11, 5, displaytextbox, 1, 0, "Input follower P-term|Input follower I-term", 0, ""},
    {10, 12, 12, 3, displaycheckbox, 0, 0, "Waste spark enable", 0, ""},
    {10, 13, 14, 1, displaycheckbox, 0, 0, "Trigger pullup enable|Sync pullup enable", 0, ""},
    {10, 15, 15, 16, displaytextbox, 0.1f, 0, "AC return delay", 0, ""},
    {11, 0, 7, 7, displaytextbox, 0.5f, -64, "Injector %1 trim (%)", 1, ""},
    {11, 8, 8, 3, displaytextbox, 64, 0, "Hard rpm limit", 0, ""},
    {11, 9, 9, 5, displaytextbox, 1, 0, "Boost control D-term", 0, ""},
    {11, 10, 10, 2, displaytextbox, 3, 0, "ISC max vacuum (mmHg)", 0, ""},
    {11, 11, 11, 8, displaycheckbox, 0, 0, "Stepper ISC valve enable", 0, ""},
    {11, 12, 12, 4, displaybits, 1, 0, "Cyl bank", 0, ""},
    {11, 13, 13, 3, displaytextbox, 1, 0, "Excessive knock events", 0, ""},
    {11, 14, 14, 3, displaytextbox, 0.02f, 0, "Excessive knock threshold (V)", 0, ""},
    {11, 15, 15, 3, displaycheckbox, 0, 0, "Backup spark lean error enable", 0, ""},
    {12, 0, 1, 7, displaytextbox, 0.39f, 0, "Staged ratio|Max main duty (%)", 0, ""},
    {12, 2, 2, 8, displaytextbox, 0.01f, 0, "Cycle cut recovery time (s)", 0, ""},
    {12, 3, 3, 2, displaytextbox, 1, 0, "ISC stepper steps", 0, ""},
    {12, 4, 4, 7, displaytextbox, 0.39f, 0, "Crank cut fuel tps limit", 0, ""},
    {12, 5, 5, 3, displaycheckbox, 0, 0, "Direct fire enable", 0, ""},
    {12, 6, 8, 2, displaytextbox, 1, 0, "ISC P-term|ISC I-term|ISC D-term", 0, ""},
    {12, 9, 9, 2, displaytextbox, 0.38f, 0, "ISC AC anticipate (%)", 0, ""},
    {12, 10, 10, 12, displaybits, 1, 0, "PWM frequency", 0, ""},
    {12, 11, 11, 6, displaytextbox, 1, 0, "TPS pump threshold", 0, ""},
    {12, 12, 12, 7, displaytextbox, 0.005f, 0, "Min pulse (ms)", 0, ""},
    {12, 13, 13, 12, displaybits, 1, 0, "PWM frequency", 0, ""},
    {12, 14, 15, 5, displaytextbox, 1, 0, "Boost control P-term|Boost control I-term", 0, ""},
    {13, 0, 0, 0, displayedges, 0, 0, "Trigger active edge", 0, ""},
    {13, 1, 1, 0, displaytriggers, 0, 0, "Trigger type", 0, ""},
    {13, 2, 2, 0, displaysyncs, 0, 0, "Sync type", 0, ""},
    {13, 3, 9, 0, displaytextbox, 1, 0,
     "Cylinders|Sequencer|Timing reference angle|VCTi offset|VCTe offset|VCTi P-term|VCTi I-term", 0, ""},
    {13, 10, 10, 0, displaytextbox, 0.5f, -64, "VCTi2 phase trim", 0, ""},
    {13, 11, 11, 3, displaybits, 1, 0, "VCT setup", 0, ""},
    {13, 12, 13, 0, displaytextbox, 1, 0, "VCTe P-term|VCTe I-term", 0, ""},
    {13, 14, 14, 0, displaytextbox, 0.5f, -64, "VCTe2 phase trim", 0, ""},
    {13, 15, 15, 3, displaycheckbox, 0, 0, "VCT multiplexer enable", 0, ""},
    {14, 6, 13, 13, displayoutputs, 0, 0, "Output INJ%1 function", 1, ""},
    {14, 14, 15, 13, displayoutputs, 0, 0, "Output PWM%1 function", 1, ""},
    {15, 0, 13, 13, displayoutputs, 0, 0, "Output PWM%1 function", 3, ""},
};

// Settings map 111.
constexpr RecordRun set1runs[] = {
    {0, 0, 15, 0, displayconditions, 0, 0, userlogic2, 0, " type"},
    {1, 0, 15, 0, displaytextbox, 1, 0, userlogic2, 0, " variable"},
    {2, 0, 2, 3, displayinputs, 0, 0, "AUX%1 configuration", 1, ""},
    {2, 3, 15, 3, displayinputs, 1, 0,
     "AUX4|AUX5|AUX6|AUX7 (ISCA)|AUX8 (ISCB)|AUX9 (ISCC)|AUX10 (ISCD)|AUX11|AUX12|AUX13|AUX14|AUX15|AUX16", 0,
     " configuration"},
    {3, 0, 7, 4, displaytextbox, 0.022f, -5.61f, "Ign fire %1 trim (deg.)", 1, ""},
    {4, 0, 15, 1, displayconditions, 0, 0, userlogic3, 0, " type"},
    {5, 0, 15, 1, displaytextbox, 1, 0, userlogic3, 0, " variable"},
};

constexpr const char* sensorsources = "4;EGO Left:EGO Right:UEGO AFR:UEGO AFR TARGET:***";
constexpr const char* ctstypes =
    "9;CTS DELCO:CTS FORD:CTS 350Z TAP:CTS MINI TAP:CTS LOTUS TAP:CTS DC5 TAP:CTS MIATA:CTS STI'08 TAP:"
    "CTS EVO10 TAP:***";
constexpr const char* atstypes = "4;ATS DELCO:ATS FORD:ATS MIATA:ATS DC5 TAP:***";

constexpr std::array<const char*, 8> vctclear{"VCTi1 disabled", "VCTi2 disabled", "VCTe1 disabled", "VCTe2 disabled",
                                              "VCTi1 linear",   "VCTi2 linear",   "VCTe1 linear",   "VCTe2 linear"};
constexpr std::array<const char*, 8> vctset{"VCTi1 enabled",  "VCTi2 enabled",   "VCTe1 enabled",   "VCTe2 enabled",
                                            "VCTi1 GS PWM 9", "VCTi2 GS PWM 10", "VCTe1 GS PWM 11", "VCTe2 GS PWM 12"};

template <std::size_t N>
void fillruns(DisplayRecordSet& set, const RecordRun (&runs)[N]) {
  for (const RecordRun& run : runs) {
    const QString labels = QString::fromLatin1(run.labels);
    const bool counted = labels.contains(QStringLiteral("%1"));
    const QStringList items = labels.split(QLatin1Char('|'));
    for (int col = run.colfrom; col <= run.colto; ++col) {
      const int index = col - run.colfrom;
      DisplayRecord& record = set[static_cast<std::size_t>(run.row)][static_cast<std::size_t>(col)];
      record.group = run.group;
      record.type = run.type;
      record.multiplier = run.multiplier;
      record.offset = run.offset;
      record.label = counted ? labels.arg(run.first + index) : items.value(index) + QString::fromLatin1(run.suffix);
    }
  }
}

DisplayRecord& cell(DisplayRecordSet& set, int row, int col) {
  return set[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

// The four bit settings: element k names bit 7 - k.
void fillbitlabels(DisplayRecordSet& set) {
  for (std::size_t k = 0; k < 8; ++k) {
    const int n = static_cast<int>(k) + 1;
    cell(set, 11, 12).clearlabels[k] = QStringLiteral("Cyl %1 right").arg(n);
    cell(set, 11, 12).setlabels[k] = QStringLiteral("Cyl %1 left").arg(n);
    cell(set, 12, 10).clearlabels[k] = QStringLiteral("PWM %1 800 Hz").arg(17 - n);
    cell(set, 12, 10).setlabels[k] = QStringLiteral("PWM %1 30 Hz").arg(17 - n);
    cell(set, 12, 13).clearlabels[k] = QStringLiteral("PWM %1 800 Hz").arg(9 - n);
    cell(set, 12, 13).setlabels[k] = QStringLiteral("PWM %1 30 Hz").arg(9 - n);
    cell(set, 13, 11).clearlabels[k] = QString::fromLatin1(vctclear[k]);
    cell(set, 13, 11).setlabels[k] = QString::fromLatin1(vctset[k]);
  }
}

struct RecordTables {
  std::array<DisplayRecordSet, settingssetcount> sets{};
  std::array<QString, settingssetcount> grouplists;

  RecordTables() {
    initsettings1(sets[0]);
    initsettings2(sets[1]);
    grouplists[0] = QStringLiteral(
        "17;ignition triggers:sensor type and calibration:idle speed control:ignition and rpm limits:closed loop "
        "control:PID controls:throttle setup:injection:setup options:vss & gear ratios:grid rpm spread:grid load "
        "spread:I/O options:output configuration:user logic (single, AND):pwm axes:air conditioner and fans:***");
    grouplists[1] = QStringLiteral(
                        "16;user logic (2xOR, 4xAND):user logic (4xANDOR):user logic (4xOR, 4xORNOT, 4xANDNNOT):aux "
                        "input configuration:ignition cyl trims") +
                    QStringLiteral(":***").repeated(12);
    for (std::size_t set = 2; set < grouplists.size(); ++set) {
      grouplists[set] = QStringLiteral("16;***") + QStringLiteral(":***").repeated(16);
    }
  }
};

const RecordTables& recordtables() {
  static const RecordTables built;
  return built;
}

}  // namespace

void initsettings1(DisplayRecordSet& set) {
  fillruns(set, set0runs);
  cell(set, 9, 0).truetext = QString::fromLatin1(sensorsources);
  cell(set, 9, 1).truetext = QString::fromLatin1(sensorsources);
  cell(set, 10, 1).truetext = QString::fromLatin1(ctstypes);
  cell(set, 10, 2).truetext = QString::fromLatin1(atstypes);
  fillbitlabels(set);
}

void initsettings2(DisplayRecordSet& set) {
  fillruns(set, set1runs);
}

const DisplayRecord& displayrecord(int set, int row, int column) {
  static const DisplayRecord empty;
  if (set < 0 || set >= settingssetcount || row < 0 || row >= settingsrecordsize || column < 0 ||
      column >= settingsrecordsize) {
    return empty;
  }
  return recordtables()
      .sets[static_cast<std::size_t>(set)][static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QString settingsgrouplist(int set) {
  if (set < 0 || set >= settingssetcount) return QStringLiteral("0:***");
  return recordtables().grouplists[static_cast<std::size_t>(set)];
}

}  // namespace ostrel
