#include "calibration/settings.h"

#include <QStringList>
#include <algorithm>
#include <array>

#include "calibration/settingrecords.h"

namespace ostrel {

namespace {

// One row of the live variable table; a null imperial name means the metric one serves both columns.
struct LiveVariable {
  const char* name;
  const char* imperialname;
  std::array<float, 2> multiplier;
  std::array<float, 2> offset;
  std::int32_t address;
};

constexpr std::array<LiveVariable, 83> livevariables{{
    {"coolant temp (C)", "coolant temp (F)", {1.0f, 1.8f}, {-20.0f, -4.0f}, 0x6AE0},
    {"AFR/LMBD (ratio)", nullptr, {0.01f, 0.01f}, {0, 0}, 0x6BE1},
    {"engine speed (rpm)", nullptr, {50, 50}, {0, 0}, 0x6C58},
    {"tps (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6A88},
    {"boost (kPa)", "boost (psi)", {2.12f, 0.307f}, {0, 0}, 0x6BC5},
    {"vehicle speed (kph)", "vehicle speed (mph)", {1, 1}, {0, 0}, 0x6C03},
    {"knock ramp (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6C53},
    {"air temp (C)", "air temp (F)", {1.0f, 1.8f}, {-20.0f, -4.0f}, 0x6AE2},
    {"duty cycle (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B1D},
    {"knock ret. (deg.)", nullptr, {0.0625f, 0.0625f}, {0, 0}, 0x6B08},
    {"wastegate PID (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6AEA},
    {"cell Y (n)", nullptr, {1, 1}, {0, 0}, 0x6B4A},
    {"cell X (n)", nullptr, {1, 1}, {0, 0}, 0x6B4C},
    {"fuel pulse (ms)", nullptr, {0.32f, 0.32f}, {0, 0}, 0x6A60},
    {"vacuum (kPa)", "vacuum (mmHg)", {0.392f, 2.98f}, {0, 0}, 0x6BC6},
    {"advance (deg.)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6AD7},
    {"O2 left (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6A5E},
    {"O2 right (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6AEB},
    {"baro (kPa)", "baro (mBar)", {0.79f, 7.91f}, {0, 0}, 0x6CA2},
    {"aux 1 (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6D90},
    {"aux 2 (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6D91},
    {"aux 3 (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6D92},
    {"aux 4 (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6D93},
    {"aux 5 (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6D94},
    {"aux 6 (V)", nullptr, {0.02f, 0.02f}, {0, 0}, 0x6D95},
    {"post start (%)", nullptr, {0.5f, 0.5f}, {0, 0}, 0x6AC2},
    {"input follow (V)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6C51},
    {"batt volts (V)", nullptr, {0.02f, 0.02f}, {10, 10}, 0x6A9C},
    {"load (%)", nullptr, {0.57f, 0.57f}, {0, 0}, 0x6AA2},
    {"load spread (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6C98},
    {"rpm spread (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6C99},
    {"stt left (%)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6B13},
    {"vcti1 PID (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B78},
    {"vcti2 PID (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B82},
    {"vcte1 PID (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B8C},
    {"vcte2 PID (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B96},
    {"tpsraw (%)", nullptr, {1, 1}, {0, 0}, 0x0092},
    {"ext AFR/LMBD (ratio)", nullptr, {0.01f, 0.01f}, {0, 0}, 0x6B64},
    {"stt right (%)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6BE0},
    {"gear (gear)", nullptr, {1, 1}, {1, 1}, 0x5070},
    {"ats fuel trim (%)", nullptr, {0.2f, 0.2f}, {-25.6f, -25.6f}, 0x6BC7},
    {"dtps fuel trim (%)", nullptr, {0.2f, 0.2f}, {-25.6f, -25.6f}, 0x6A33},
    {"gear fuel trim (%)", nullptr, {0.1f, 0.1f}, {-12.8f, -12.8f}, 0x6A27},
    {"isc fuel trim (%)", nullptr, {0.1f, 0.1f}, {-12.8f, -12.8f}, 0x6DE3},
    {"cts fuel trim (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6A6F},
    {"baro fuel trim (%)", nullptr, {0.8f, 0.8f}, {-102.4f, -102.4f}, 0x6CA2},
    {"crank fuel trim (%)", nullptr, {1, 1}, {0, 0}, 0x6A1D},
    {"ltt fuel trim (%)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6BEA},
    {"pump fuel trim (%)", nullptr, {1, 1}, {0, 0}, 0x6ACA},
    {"ac fuel trim (%)", nullptr, {0.1f, 0.1f}, {0, 0}, 0x6CAE},
    {"knock fuel trim (%)", nullptr, {0.1f, 0.1f}, {0, 0}, 0x6BCE},
    {"post fuel trim (%)", nullptr, {0.5f, 0.5f}, {0, 0}, 0x6AC2},
    {"als spark trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6C64},
    {"aux spark trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6C6C},
    {"gear spark trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6A56},
    {"cts fuel trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6A57},
    {"ats spark trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6A58},
    {"ac spark trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6A59},
    {"stt spark trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6A5A},
    {"ISC ignition trim (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6C65},
    {"knock spark trim (deg)", nullptr, {-0.0625f, -0.0625f}, {0, 0}, 0x6B08},
    {"vcti target (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6B76},
    {"vcte target (deg)", nullptr, {0.5f, 0.5f}, {-64, -64}, 0x6B8A},
    {"isc target (rpm)", nullptr, {8, 8}, {0, 0}, 0x6C5D},
    {"isc position (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6A92},
    {"pwm1 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B30},
    {"pwm2 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B31},
    {"pwm3 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B32},
    {"pwm4 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B33},
    {"pwm5 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B34},
    {"pwm6 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B35},
    {"pwm7 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B36},
    {"pwm8 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B37},
    {"pwm9 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B38},
    {"pwm10 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B39},
    {"pwm11 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B3A},
    {"pwm12 duty (%)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6B3B},
    {"als timer (s)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6BE6},
    {"turbo timer (s)", nullptr, {0.4f, 0.4f}, {0, 0}, 0x6ADC},
    {"target afr (ratio)", nullptr, {0.01f, 0.01f}, {0, 0}, 0x6CD4},
    {"fuel cut cycles (%)", nullptr, {20, 20}, {0, 0}, 0x6B27},
    {"spark cut cycles (%)", nullptr, {20, 20}, {0, 0}, 0x6C7E},
    {"backup spark (0/1)", nullptr, {1, 1}, {0, 0}, 0x6A5B},
}};

// One settings-form variable; a null imperial units text means the metric one serves both columns.
struct FormVariable {
  std::uint8_t livevariable;
  const char* name;
  const char* units;
  const char* imperialunits;
  std::array<float, 2> multiplier;
  std::array<float, 2> offset;
  std::array<std::uint8_t, 2> decimals;
};

constexpr std::array<FormVariable, settingsformvarcount> formvariables{{
    {19, "PPSM", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {36, "TPSM", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {1, "AFR / L", "(ratio)", nullptr, {0.01f, 0.01f}, {0, 0}, {2, 1}},
    {0, "CTS", "(C)", "(F)", {1.0f, 1.8f}, {-20.0f, -4.0f}, {0, 0}},
    {7, "ATS", "(C)", "(F)", {1.0f, 1.8f}, {-20.0f, -4.0f}, {0, 0}},
    {19, "AUX1", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {20, "AUX2", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {21, "AUX3", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {22, "AUX4", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {23, "AUX5", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {24, "AUX6", "(n)", nullptr, {1, 1}, {0, 0}, {0, 0}},
    {5, "VSS", "(kph)", "(mph)", {1, 1}, {0, 0}, {0, 0}},
    {19, "***", "(n)", nullptr, {0, 0}, {0, 0}, {0, 0}},
    {19, "***", "(n)", nullptr, {0, 0}, {0, 0}, {0, 0}},
    {19, "***", "(n)", nullptr, {0, 0}, {0, 0}, {0, 0}},
    {19, "***", "(n)", nullptr, {0, 0}, {0, 0}, {0, 0}},
}};

// Stoichiometric ratio / 100 of fuel codes 1..6 (GAS, ETH, MTH, E10, E85, LAMBDA).
constexpr std::array<float, 6> specialmultipliers{0.147f, 0.09f, 0.064f, 0.141f, 0.098f, 0.01f};

constexpr std::array<const char*, 51> outputfunctions{
    "INJECTION", "ON",           "TURBOTIMER", "THERMOFAN",  "LINEAR VCT", "ANTI-LAG VALVE", "STAGED INJECTION",
    "AC CLUTCH", "USER 1",       "USER 2",     "USER 3",     "USER 4",     "USER 5",         "USER 6",
    "USER 7",    "USER 8",       "USER 9",     "USER 10",    "USER 11",    "USER 12",        "PWM MAP 1",
    "PWM MAP 2", "PWM MAP 3",    "PWM MAP 4",  "PWM MAP 5",  "PWM MAP 6",  "PWM MAP 7",      "PWM MAP 8",
    "PWM MAP 9", "PWM MAP 10",   "PWM MAP 11", "PWM MAP 12", "OFF",        "ISCO",           "ISCC",
    "FUEL PUMP", "CHECK ENGINE", "USER 13",    "USER 14",    "USER 15",    "USER 16",        "USER 17",
    "USER 18",   "USER 19",      "USER 20",    "USER 21",    "USER 22",    "USER 23",        "USER 24",
    "USER 25",   "USER 26"};

constexpr std::array<const char*, 32> inputfunctions{"AC HIGH",
                                                     "AC LOW",
                                                     "LAUNCH HIGH",
                                                     "LAUNCH LOW",
                                                     "ANTI-LAG HIGH",
                                                     "ANTI-LAG LOW",
                                                     "AUXILIARY MAPS HIGH",
                                                     "AUXILIARY MAPS LOW",
                                                     "INPUT FOLLOWER",
                                                     "INPUT FOLLOWER FEEDBACK",
                                                     "BARO GM 1 BAR",
                                                     "BARO HONDA",
                                                     "MAP GM 2 BAR",
                                                     "MAP 5 BAR",
                                                     "VALET HIGH",
                                                     "VALET LOW",
                                                     "BACKUP IGNITION HIGH",
                                                     "LINEAR AFR",
                                                     "STEER LOAD HIGH",
                                                     "STEER LOAD LOW",
                                                     "FLAT SHIFT HIGH",
                                                     "FLAT SHIFT LOW",
                                                     "TRACTION HIGH",
                                                     "TRACTION LOW",
                                                     "FH",
                                                     "FL",
                                                     "FH",
                                                     "FL",
                                                     "FH",
                                                     "FL",
                                                     "FH",
                                                     "OFF"};

constexpr const char* emptylist = "0:***";

bool validvariable(int v) {
  return v >= 0 && v < livevariablecount;
}

const LiveVariable* livevariable(int v) {
  return (v >= 0 && v < static_cast<int>(livevariables.size())) ? &livevariables[static_cast<std::size_t>(v)] : nullptr;
}

// Past 15 reads as the last unused row ("***").
const FormVariable& formvariable(int i) {
  return formvariables[static_cast<std::size_t>(i >= 0 && i < settingsformvarcount ? i : settingsformvarcount - 1)];
}

int column(bool metric) {
  return metric ? 0 : 1;
}

// A list string: the item count, ";", the items joined by ":", and the uncounted closing "***".
QString liststring(const QStringList& items) {
  return QString::number(items.size()) + QLatin1Char(';') + items.join(QLatin1Char(':')) + QStringLiteral(":***");
}

template <std::size_t N>
QString liststring(const std::array<const char*, N>& items) {
  QStringList list;
  for (const char* item : items) list << QString::fromLatin1(item);
  return liststring(list);
}

// The name of a live variable as combo list 5 (user-logic conditions) writes it.
QString conditionname(int v, bool metric) {
  switch (v) {
    case 36:
      return QStringLiteral("raw tps (n)");
    case 39:
      return QStringLiteral("gear");
    case 55:
      return QStringLiteral("cool spark trim (deg)");
    default:
      return livevariablename(v, metric);
  }
}

QString conditionlist(bool metric) {
  QStringList items;
  for (int half = 0; half < 2; ++half) {
    for (int v = 0; v < livevariablecount; ++v) {
      const int item = half * livevariablecount + v;
      const QString name = livevariable(v) ? conditionname(v, metric) : QStringLiteral("variable %1").arg(item);
      items << name + (half == 0 ? QStringLiteral(" >") : QStringLiteral(" <"));
    }
  }
  return liststring(items);
}

QString variablelist(bool metric) {
  QStringList items;
  for (int v = 0; v < livevariablecount; ++v) items << livevariablename(v, metric);
  return liststring(items);
}

// The combo lists of both units columns, built once.
struct ComboLists {
  std::array<std::array<QString, 2>, combolistcount> lists;
  ComboLists() {
    for (int list = 0; list <= 4; ++list)
      lists[static_cast<std::size_t>(list)] = {QStringLiteral("***"), QStringLiteral("***")};
    lists[5] = {conditionlist(true), conditionlist(false)};
    lists[6] = {variablelist(true), variablelist(false)};
    const auto both = [](const QString& text) { return std::array<QString, 2>{text, text}; };
    lists[7] = both(QStringLiteral("1;Vehicle 1:***"));
    lists[8] =
        both(QStringLiteral("16;OFF,OFF:RISE,OFF:FALL,OFF:ANY,OFF:OFF,RISE:RISE,RISE:FALL,RISE:ANY,RISE:"
                            "OFF,FALL:RISE,FALL:FALL,FALL:ANY,FALL:OFF,ANY:RISE,ANY:FALL,ANY:ANY,ANY:***"));
    // Lists 9 and 10 (trigger and sync types) stay empty: nothing reads the trigger list file.
    lists[11] = both(liststring(outputfunctions));
    lists[12] = both(liststring(inputfunctions));
  }
};

const ComboLists& combolists() {
  static const ComboLists built;
  return built;
}

// Offset text: up to seven significant digits, no trailing zeros, C locale ("-64", "-38.3", "-5.61").
QString offsettext(float offset) {
  return QString::number(static_cast<double>(offset), 'g', 7);
}

QString orstars(const QString& text) {
  return text.isEmpty() ? QStringLiteral("***") : text;
}

bool validbit(int k) {
  return k >= 0 && k < 8;
}

}  // namespace

QString livevariablename(int v, bool metric) {
  if (!validvariable(v)) return {};
  const LiveVariable* row = livevariable(v);
  if (!row) return QStringLiteral("%1 ()").arg(v);
  return QString::fromLatin1(!metric && row->imperialname ? row->imperialname : row->name);
}

std::uint8_t settings::getsettingsformvarindex(int i, bool) const {
  return formvariable(i).livevariable;
}

QString settings::getsettingsformvarstring(int i, bool) const {
  return QString::fromLatin1(formvariable(i).name);
}

QString settings::getsettingsformvarunits(int i, bool metric) const {
  const FormVariable& row = formvariable(i);
  return QString::fromLatin1(!metric && row.imperialunits ? row.imperialunits : row.units);
}

float settings::getsettingsformvarmul(int i, bool metric) const {
  return formvariable(i).multiplier[column(metric)];
}

float settings::getsettingsformvaroffset(int i, bool metric) const {
  return formvariable(i).offset[column(metric)];
}

std::uint8_t settings::getsettingsformvardps(int i, bool metric) const {
  return formvariable(i).decimals[column(metric)];
}

float settings::getsettingsformspecialvarmul(int fuelcode) {
  return fuelcode >= 1 && fuelcode <= 6 ? specialmultipliers[static_cast<std::size_t>(fuelcode - 1)] : 0.0f;
}

QString settings::getvarsstring() const {
  return combolists().lists[5][unitscolumn_];
}

float settings::getvarsmul(int v, bool metric) const {
  const LiveVariable* row = livevariable(v);
  return row ? row->multiplier[column(metric)] : 0.0f;
}

float settings::getvarsoffset(int v, bool metric) const {
  const LiveVariable* row = livevariable(v);
  return row ? row->offset[column(metric)] : 0.0f;
}

std::int32_t settings::getvarsaddress(int v, bool) const {
  const LiveVariable* row = livevariable(v);
  return row ? row->address : 0;
}

std::uint8_t settings::getdisplaygroup(int set, int row, int column) const {
  const DisplayRecord& record = displayrecord(set, row, column);
  return record.label.isEmpty() ? 255 : record.group;
}

std::uint8_t settings::getdisplaytype(int set, int row, int column) const {
  return displayrecord(set, row, column).type;
}

float settings::getdisplaymul(int set, int row, int column) const {
  return displayrecord(set, row, column).multiplier;
}

QString settings::getdisplayoffset(int set, int row, int column) const {
  return offsettext(displayrecord(set, row, column).offset);
}

QString settings::getdisplaystring(int set, int row, int column) const {
  return orstars(displayrecord(set, row, column).label);
}

QString settings::getdisplaystringtrue(int set, int row, int column) const {
  return orstars(displayrecord(set, row, column).truetext);
}

QString settings::getdisplaystringfalse(int set, int row, int column) const {
  return orstars(displayrecord(set, row, column).falsetext);
}

QString settings::getdisplayarraystringtrue(int set, int row, int column, int k) const {
  if (!validbit(k)) return QStringLiteral("***");
  return orstars(displayrecord(set, row, column).setlabels[static_cast<std::size_t>(k)]);
}

QString settings::getdisplayarraystringfalse(int set, int row, int column, int k) const {
  if (!validbit(k)) return QStringLiteral("***");
  return orstars(displayrecord(set, row, column).clearlabels[static_cast<std::size_t>(k)]);
}

QString settings::getcombostring(int list) const {
  if (list < 0 || list >= combolistcount) return QString::fromLatin1(emptylist);
  const QString& text = combolists().lists[static_cast<std::size_t>(list)][unitscolumn_];
  return text.isEmpty() ? QString::fromLatin1(emptylist) : text;
}

QString settings::getsettingsgroupmembers(int set) const {
  return settingsgrouplist(set);
}

bool parsetriggerlists(const QByteArray& filebytes, QString& triggerlist, QString& synclist) {
  triggerlist.clear();
  synclist.clear();
  // The line ends with CR LF, which is dropped.
  const QString text = QString::fromLatin1(filebytes.left(std::max<qsizetype>(0, filebytes.size() - 2)));
  const qsizetype bar = text.indexOf(QLatin1Char('|'));
  if (bar < 0) return false;
  // The count is the number of colons (at most 100), so the closing "***" item is left out.
  const auto counted = [](const QString& half) {
    return QString::number(std::min<qsizetype>(half.count(QLatin1Char(':')), 100)) + QLatin1Char(';') + half;
  };
  triggerlist = counted(text.left(bar));
  synclist = counted(text.mid(bar + 1));
  return true;
}

}  // namespace ostrel
