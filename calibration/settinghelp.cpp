// The settings editor's help texts, one per cell of settings map 110 that holds a setting.

#include <QStringList>

#include "calibration/startuptables.h"

namespace ostrel {

namespace {

struct HelpText {
  int row, column;
  const char* text;
};

// Single settings of map 110; the families (user logic, PWM axes, spreads, injector trims, outputs) are built below.
constexpr HelpText singlehelp[] = {
    {2, 0,
     "This setting sets the external AFR zero point. The value is typically about 128. Trim this value until the "
     "displayed external AFR is at stoichiometric when the external AFR is known to be at stoichiometric (see the "
     "external AFR source documentation)"},
    {2, 1,
     "This setting sets the external AFR gradient. Trim this value until the displayed external AFR matches the "
     "external AFR source across its range (see the external AFR source documentation)"},
    {2, 12, "This setting sets the anti-lag timeout. Anti-lag is cancelled when it has been active for this time"},
    {2, 13,
     "This setting sets the throttle position below which anti-lag may become active. Set it a little above the "
     "closed throttle TPS reading"},
    {2, 14, "This setting sets the engine speed above which the air conditioner clutch is switched off"},
    {2, 15, "This setting sets the throttle position above which the air conditioner clutch is switched off"},
    {8, 2, "This setting sets the coolant temperature at which the thermofan output switches on"},
    {8, 3,
     "This setting sets the soft rev limit. Above this engine speed the ignition timing is retarded to hold the "
     "engine below the hard rpm limit"},
    {8, 4,
     "This setting sets the dynamic enleanment coefficient. It sets how strongly fuel is removed when the load "
     "falls quickly"},
    {8, 5, "This setting enables/disables closed loop fuel control from the oxygen sensor feedback"},
    {8, 6, "This setting enables/disables the fuel cut on deceleration with a closed throttle"},
    {8, 7,
     "This setting sets the vehicle speed sensor calibration. Trim this value until the displayed vehicle speed "
     "matches the true vehicle speed"},
    {8, 8, "This setting sets the largest ignition retard that knock control may apply"},
    {8, 10,
     "This setting enables/disables the moving launch control. When enabled, launch control can also be engaged "
     "while the vehicle is moving"},
    {8, 11, "This setting sets the manifold pressure rise above which the accelerator pump fuel is added"},
    {8, 12, "This setting sets the idle speed control valve position held while anti-lag is active"},
    {8, 13, "This setting sets the minimum idle speed control valve position while the vehicle is moving"},
    {8, 14, "This setting sets the zero TPS calibration. Set it to the raw TPS reading with the throttle fully closed"},
    {9, 0, "This setting selects the sensor source of the left closed loop module"},
    {9, 1, "This setting selects the sensor source of the right closed loop module"},
    {9, 2,
     "This setting enables/disables the external manifold pressure sensor. When enabled, the load is read from the "
     "external sensor in place of the internal one"},
    {9, 3, "This setting sets the ignition retard applied for each detected knock event"},
    {9, 4,
     "This setting sets the closed pedal calibration. Set it to the raw pedal position reading with the pedal "
     "released"},
    {9, 5,
     "This setting enables/disables the rapid setup trim. When enabled, the trims are learned quickly during the "
     "first setup of the engine"},
    {9, 6,
     "This setting sets the zero point of the integrated UEGO sensor. Trim this value until the displayed AFR is at "
     "stoichiometric when the AFR is known to be at stoichiometric"},
    {9, 7,
     "This setting sets the gradient of the integrated UEGO sensor. Trim this value until the displayed AFR matches "
     "a reference meter across its range"},
    {9, 8,
     "This setting enables/disables the ALPHA-n mixed mode. When enabled, the throttle position is blended with the "
     "manifold pressure to give the load"},
    {9, 9, "This setting sets the largest duty cycle of the idle speed control valve"},
    {9, 10, "This setting sets the 100% TPS calibration. Set it to the raw TPS reading with the throttle fully open"},
    {9, 11, "This setting enables/disables sequential injection. When disabled, the injectors are fired in batches"},
    {9, 12,
     "This setting enables/disables VE mode. When enabled, the fuel is calculated from the VE table in place of the "
     "base fuel table"},
    {9, 13, "This setting sets the boost trim applied while the auxiliary maps are selected"},
    {9, 14,
     "This setting sets the flow of one injector. The ECU uses it with the cylinder capacity to calculate the fuel "
     "in VE mode"},
    {9, 15, "This setting sets the smallest duty cycle of the idle speed control valve"},
    {10, 0,
     "This setting sets the manifold wetting coefficient. It sets how much fuel is held on the manifold walls "
     "during load changes"},
    {10, 1, "This setting selects the type of coolant temperature sensor fitted"},
    {10, 2, "This setting selects the type of air temperature sensor fitted"},
    {10, 3,
     "This setting sets the dynamic enrichment coefficient. It sets how strongly fuel is added when the load rises "
     "quickly"},
    {10, 4,
     "This setting enables/disables multiple injections during cranking. When enabled, the cranking fuel is "
     "delivered in several pulses"},
    {10, 5, "This setting sets how long the engine keeps running after the ignition is switched off (turbo timer)"},
    {10, 6, "This setting enables/disables the long term trim (LTT) learning of the closed loop fuel control"},
    {10, 7, "This setting sets the capacity of one cylinder. The ECU uses it with the injector flow in VE mode"},
    {10, 8, "This setting sets how long the fuel pump runs to prime the fuel system when the ignition is switched on"},
    {10, 9, "This setting sets the engine speed below which the boost control is not active"},
    {10, 10, "This setting sets the proportional term of the input follower control"},
    {10, 11, "This setting sets the integral term of the input follower control"},
    {10, 12,
     "This setting enables/disables waste spark. When enabled, each coil fires on both the compression and the "
     "exhaust stroke"},
    {10, 13, "This setting enables/disables the pullup resistor of the trigger input"},
    {10, 14, "This setting enables/disables the pullup resistor of the sync input"},
    {10, 15, "This setting sets the delay before the air conditioner clutch is switched on again after a cut"},
    {11, 8, "This setting sets the hard rpm limit. Above this engine speed the fuel and spark are cut"},
    {11, 9, "This setting sets the derivative term of the boost control"},
    {11, 10, "This setting sets the manifold vacuum above which the idle speed control is not active"},
    {11, 12,
     "This setting sets which bank each cylinder belongs to, so that each closed loop module trims its own "
     "cylinders"},
    {11, 13,
     "This setting sets how many knock events in a row count as excessive knock. Excessive knock switches to the "
     "backup spark map"},
    {11, 14, "This setting sets the knock sensor level above which a knock event counts as excessive knock"},
    {11, 15, "This setting enables/disables the switch to the backup spark map when the mixture is too lean"},
    {12, 0, "This setting sets the ratio of the staged injectors to the main injectors"},
    {12, 1,
     "This setting sets the largest duty cycle of the main injectors. Above it the staged injectors deliver the "
     "remaining fuel"},
    {12, 2,
     "This setting sets the percentage fuel cut (e.g. anti-lag, flat-shift) recovery time. This is the time taken "
     "for the fuel cut percentage to fall from 100% to 0% after the fuel cut cycles are cancelled"},
    {12, 3, "This setting sets the number of steps of a stepper idle speed control valve"},
    {12, 4,
     "This setting sets the throttle position above which fuel is cut while cranking (to clear a flooded engine)"},
    {12, 5,
     "This setting enables/disables direct fire. When enabled, each cylinder has its own coil driven in sequence"},
    {12, 6, "This setting sets the proportional term of the idle speed control"},
    {12, 7, "This setting sets the integral term of the idle speed control"},
    {12, 8, "This setting sets the derivative term of the idle speed control"},
    {12, 9,
     "This setting sets the extra idle speed control valve opening added when the air conditioner is switched on"},
    {12, 11, "This setting sets the throttle movement above which the accelerator pump fuel is added"},
    {12, 12, "This setting sets the shortest injector pulse that the ECU delivers"},
    {12, 14, "This setting sets the proportional term of the boost control"},
    {12, 15, "This setting sets the integral term of the boost control"},
    {13, 0, "This setting sets the active trigger and sync edge"},
    {13, 1, "This setting selects the type of trigger wheel and pattern fitted to the engine"},
    {13, 2, "This setting selects the type of sync signal fitted to the engine"},
    {13, 3, "This setting sets the number of cylinders of the engine"},
    {13, 4, "This setting sets the sequencer, the firing order of the cylinders relative to the sync signal"},
    {13, 5,
     "This setting sets the timing reference angle. Trim this value until the timing measured with a timing light "
     "matches the displayed advance"},
    {13, 6, "This setting sets the offset of the inlet cam position relative to the crank"},
    {13, 7, "This setting sets the offset of the exhaust cam position relative to the crank"},
    {13, 8, "This setting sets the proportional term of the inlet cam control"},
    {13, 9, "This setting sets the integral term of the inlet cam control"},
    {13, 11,
     "This setting sets the cam control mode options. This is an advanced feature, please read the additional help "
     "documentation in the help menu"},
    {13, 12, "This setting sets the proportional term of the exhaust cam control"},
    {13, 13, "This setting sets the integral term of the exhaust cam control"},
    {13, 15,
     "This setting enables/disables the cam position multiplexer. When enabled, two cam signals share one input"},
};

QString& entry(std::array<QString, settinghelpcount>& help, int row, int column) {
  return help[static_cast<std::size_t>(row * 16 + column)];
}

std::array<QString, settinghelpcount> buildhelp() {
  std::array<QString, settinghelpcount> help;
  help.fill(QStringLiteral("No help available"));

  for (int c = 0; c < 8; ++c) {
    entry(help, 0, c) =
        QStringLiteral(
            "This setting selects the ECU variable that is tested in the virtual switch 'User %1', and the "
            "polarity of the switch")
            .arg(c + 1);
    entry(help, 1, c) = QStringLiteral("This setting sets the switch point of the virtual switch 'User %1'").arg(c + 1);
  }
  for (int c = 8; c < 16; ++c) {
    const int user = 9 + (c - 8) / 2;
    const QString which = (c % 2 == 0) ? QStringLiteral("first") : QStringLiteral("second");
    entry(help, 0, c) = QStringLiteral(
                            "This setting selects the %1 ECU variable that is tested in the virtual switch "
                            "'User %2', and the polarity of the switch")
                            .arg(which)
                            .arg(user);
    entry(help, 1, c) =
        QStringLiteral("This setting sets the %1 switch point of the virtual switch 'User %2'").arg(which).arg(user);
  }
  for (int c = 0; c < 16; ++c) {
    entry(help, 3, c) = c < 12 ? QStringLiteral("This setting selects the x-axis variable for PWM MAP %1").arg(c + 1)
                               : QStringLiteral("This setting selects the y-axis variable for PWM MAP %1").arg(c - 3);
  }
  for (int point = 1; point <= 31; ++point) {
    const int row = point <= 16 ? 0 : 1;
    const int column = (point - 1) % 16;
    entry(help, 4 + row, column) = QStringLiteral(
                                       "This setting sets the load spread for load point %1. Set this value to 255 to "
                                       "make this load spread the last visible load spread")
                                       .arg(point);
    entry(help, 6 + row, column) = QStringLiteral(
                                       "This setting sets the rpm spread for rpm point %1. Set this value to 255 to "
                                       "make this rpm spread the last visible rpm spread")
                                       .arg(point);
  }
  for (int sensor = 1; sensor <= 2; ++sensor) {
    entry(help, 8, sensor - 1) =
        QStringLiteral(
            "This setting enabled/disables the knock sensor %1 input amplifier. When enabled, the amplifier "
            "doubles the knock sensor %1 input signal")
            .arg(sensor);
  }
  for (int c = 0; c < 8; ++c) {
    entry(help, 11, c) = QStringLiteral(
                             "This setting sets the injector %1 individual trim. The individual trim only operates in "
                             "sequential mode")
                             .arg(c + 1);
  }
  const QString pwmfrequency = QStringLiteral(
      "This setting sets the PWM frequency. Only set the PWM frequency to 30 Hz for a boost control valve");
  entry(help, 12, 10) = pwmfrequency;
  entry(help, 12, 13) = pwmfrequency;
  for (int c = 6; c < 14; ++c) {
    entry(help, 14, c) = QStringLiteral("This setting sets the function of the INJ%1 output").arg(c - 5);
  }
  for (int pwm = 1; pwm <= 16; ++pwm) {
    const int cell = 14 * 16 + 14 + (pwm - 1);  // row 14 columns 14 and 15, then row 15
    help[static_cast<std::size_t>(cell)] =
        QStringLiteral("This setting sets the function of the PWM%1 output").arg(pwm);
  }
  for (const HelpText& single : singlehelp) entry(help, single.row, single.column) = QString::fromLatin1(single.text);
  return help;
}

}  // namespace

const std::array<QString, settinghelpcount>& settinghelp() {
  static const std::array<QString, settinghelpcount> built = buildhelp();
  return built;
}

QString settinghelptext(int index) {
  if (index < 0 || index >= settinghelpcount) return QStringLiteral("No help available");
  return settinghelp()[static_cast<std::size_t>(index)];
}

void inithelptexts() {
  settinghelp();
}

}  // namespace ostrel
