#include "shell/preferences.h"

#include <QDir>

#include "calibration/settings.h"
#include "platform/filesave.h"
#include "platform/installfolder.h"
#include "platform/prompts.h"
#include "platform/readfile.h"
#include "shell/maintimers.h"
#include "shell/shellhost.h"

namespace ostrel {

namespace {

using P = Preferences;

// The bytes of data/preferences26.dat; a test keeps the two equal.
constexpr char shippedbytes[] = "11110100111010001";
static_assert(sizeof(shippedbytes) - 1 == preferencecount);

constexpr std::array<const char*, 6> twoway(const char* a, const char* b) {
  return {a, b, "", "", "", ""};
}
constexpr auto enabled = twoway("ENABLED", "DISABLED");

QString nativepath(const QString& path) {
  return QDir::toNativeSeparators(path);
}

}  // namespace

const std::array<PreferenceGroup, preferencecount> preferencegroups = {{
    {"MEASUREMENT UNITS:", twoway("METRIC", "IMPERIAL"), 2, &P::metricunits, nullptr},
    {"GRID CENTERING:", twoway("LOAD", "ARROW "), 2, &P::gridcenterload, nullptr},
    {"SELECT CELL MODE:", twoway("TRACK", "HOLD"), 2, &P::trackmode, nullptr},
    {"PANEL MODE:", twoway("ANALOG", "DIGITAL"), 2, &P::panelanalog, nullptr},
    {"AUTO CONNECT ON MAIN WINDOW:", enabled, 2, &P::autoconnect, nullptr},
    {"DEFAULT COM PORT:", {"CP1", "CP2", "CP3", "CP4", "CP5", "CP6"}, 6, nullptr, &P::comport},
    {"HIDE NON-CRITICAL MESSAGES:", enabled, 2, &P::hidenoncritical, nullptr},
    {"RAPID LOGGING:", enabled, 2, &P::rapidlogging, nullptr},
    {"DEFAULT VIEW:", {"VIEW A", "VIEW B", "VIEW C", "", "", ""}, 3, nullptr, &P::defaultview},
    {"FUEL TYPE:", {"GAS", "ETH ", "MTH ", "E10", "E85", "LAMBDA"}, 6, nullptr, &P::fueltype},
    {"GRID LOAD DIRECTION:", twoway("UP", "DOWN "), 2, &P::gridloadup, nullptr},
    {"VE SUBSTRING:", twoway("AFRERROR  ", "MS "), 2, &P::vesubstringafrerror, nullptr},
    {"SUBSTRINGS:", enabled, 2, &P::substrings, nullptr},
    {"COM FREQUENCY:", twoway("FASTEST ", "NORMAL"), 2, &P::comfastest, nullptr},
    {"AUTO SYNC:", enabled, 2, &P::autosync, nullptr},
    {"AUTO SYNC METHOD:", twoway("UPLOAD", "DOWNLOAD"), 2, &P::autosyncupload, nullptr},
    {"STATUS MESSAGES:", enabled, 2, &P::statusmessages, nullptr},
}};

QByteArray preferencebytes(const Preferences& prefs) {
  QByteArray out(preferencecount, '0');
  for (int i = 0; i < preferencecount; ++i) {
    const PreferenceGroup& g = preferencegroups[i];
    if (g.flag) {
      out[i] = (prefs.*g.flag) ? '1' : '0';
    } else {
      const int v = prefs.*g.number;
      out[i] = (v >= 1 && v <= g.optioncount) ? static_cast<char>('0' + v) : '1';
    }
  }
  return out;
}

Preferences preferencesfrombytes(const QByteArray& bytes) {
  // A short file leaves the rest of the buffer at zero bytes: False, and 1 for the numbers.
  QByteArray full = bytes.left(preferencecount);
  full.append(QByteArray(preferencecount - full.size(), '\0'));
  Preferences prefs;
  for (int i = 0; i < preferencecount; ++i) {
    const PreferenceGroup& g = preferencegroups[i];
    const auto b = static_cast<unsigned char>(full[i]);
    if (g.flag) {
      prefs.*g.flag = b > '0';
    } else {
      const bool inrange = b >= '1' && b <= '0' + g.optioncount;
      prefs.*g.number = inrange ? static_cast<std::uint8_t>(b - '0') : 1;
    }
  }
  return prefs;
}

Preferences defaultpreferences() {
  return preferencesfrombytes(QByteArray(shippedbytes));
}

void loadpreferences(Preferences& prefs, Prompts& prompts) {
  const QString path = installpath(preferencesfilename);
  const FileRead file = readfilehead(path, preferencecount);
  if (file.status == FileRead::Status::Missing) {
    // A first start without the file: the defaults hold until the next save creates it.
    prefs = defaultpreferences();
    return;
  }
  if (!file.ok()) {
    prompts.message(QStringLiteral("The preferences file %1 could not be read (%2). The default preferences are used.")
                        .arg(nativepath(path), file.reason),
                    Prompts::Icon::Exclamation);
    prefs = defaultpreferences();
    return;
  }
  // A short or empty file is not an error: what it lacks reads as zero bytes.
  prefs = preferencesfrombytes(file.bytes);
}

bool savepreferences(const Preferences& prefs, Prompts& prompts) {
  const QString path = installpath(preferencesfilename);
  // Whatever a longer file holds after the 17 digits is kept.
  const QString failure = savefilehead(path, preferencebytes(prefs));
  if (failure.isEmpty()) return true;
  prompts.message(QStringLiteral("The preferences could not be saved in %1 (%2). They stay in force until the program "
                                 "ends.")
                      .arg(nativepath(path), failure),
                  Prompts::Icon::Exclamation);
  return false;
}

PreferencesEditor::PreferencesEditor(Preferences& prefs, Prompts& prompts, settings& mainsettings, ShellHost& host)
    : prefs_(prefs), prompts_(prompts), mainsettings_(mainsettings), host_(host) {}

void PreferencesEditor::open() {
  fueltypeatopen_ = prefs_.fueltype;
}

int PreferencesEditor::selected(int group) const {
  if (group < 0 || group >= preferencecount) return -1;
  const PreferenceGroup& g = preferencegroups[group];
  if (g.flag) return (prefs_.*g.flag) ? 0 : 1;
  const int v = prefs_.*g.number;
  return (v >= 1 && v <= g.optioncount) ? v - 1 : -1;
}

void PreferencesEditor::click(int group, int element) {
  if (group < 0 || group >= preferencecount) return;
  const PreferenceGroup& g = preferencegroups[group];
  if (element < 0 || element >= g.optioncount) return;
  if (g.flag) {
    prefs_.*g.flag = element == 0;
  } else {
    prefs_.*g.number = static_cast<std::uint8_t>(element + 1);
  }
  if (g.flag == &P::metricunits) mainsettings_.setsettingsmetric(prefs_.metricunits);
  // The interval follows the choice at once, whether or not the port is open.
  if (g.flag == &P::comfastest)
    host_.setcommsinterval(prefs_.comfastest ? MainTimers::fastcommsinterval : MainTimers::commsinterval);
}

void PreferencesEditor::refreshviews() {
  host_.openmapview();
  host_.drawpanel(true);
}

bool PreferencesEditor::saveandexit() {
  if (prefs_.fueltype != fueltypeatopen_) {
    prompts_.message(
        QStringLiteral(
            "The default fuel type has been altered. Restart the application for this change to take effect"),
        Prompts::Icon::Information);
  }
  if (!savepreferences(prefs_, prompts_)) return false;
  refreshviews();
  return true;
}

void PreferencesEditor::ok() {
  if (prefs_.fueltype != fueltypeatopen_) {
    prompts_.message(QStringLiteral("The default fuel type has been altered, but not saved. Save this preference and "
                                    "restart the application for this change to take effect"),
                     Prompts::Icon::Information);
  }
  refreshviews();
}

}  // namespace ostrel
