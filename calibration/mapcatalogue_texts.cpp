#include "calibration/mapcatalogue.h"

// Help and tuning texts of the calibration maps 0-95. Each text is shown after its map's heading; reserved maps
// have no text of their own and carry their definition string instead.

namespace ostrel::mapcatalogue {

namespace {

struct MapTexts {
  const char* help;  // what the map is for; null for a reserved map
  const char* tune;  // how to tune it
};

constexpr std::array<MapTexts, 96> texts{{
    // 0-7: 3D Fuel Calibration
    {"This map contains the base fuel amount (in milliseconds) to be delivered when VE mode is not selected",
     "To tune this map, alter the milliseconds until the measured AFR (from the integrated NTK LXHX sensing system, "
     "or external meter) reaches a desired value. It is preferable to have the desired AFR values entered into the "
     "AFR target map. This will allow auto-tuning and wide band closed loop (when activated)"},
    {"This map contains the fuel (in milliseconds) added to or removed from the base fuel while anti-lag is active",
     "To tune this map, activate anti-lag and alter the milliseconds until the measured AFR stays rich enough to "
     "protect the turbine and exhaust valves. Cells that anti-lag never reaches can be left at zero trim"},
    {"This map contains the percentage of fuel injection cycles cut while anti-lag is active",
     "To tune this map, raise the cut percentage until the turbo holds the wanted spool on a closed throttle, then "
     "reduce it where the engine stumbles or the exhaust temperature climbs too high"},
    {"This map contains the fuel (in milliseconds) added to or removed from the base fuel while the auxiliary maps "
     "input is active",
     "To tune this map, activate the auxiliary maps input and alter the milliseconds until the measured AFR reaches "
     "the value wanted for the auxiliary fuel or boost setting"},
    {"This map contains the volumetric efficiency (in %) of the engine, from which the fuel amount is calculated "
     "when VE mode is selected",
     "To tune this map, alter the VE until the measured AFR reaches the value in the AFR target map. With the AFR "
     "target map filled in, the auto-tune tool can do this for you while the engine runs"},
    {"This map contains the percentage of fuel injection cycles cut while launch control is active",
     "To tune this map, raise the cut percentage until the launch rpm holds steady with the wanted boost, and lower "
     "it where the engine misfires heavily or the rpm falls away"},
    {"This map contains the percentage of fuel injection cycles cut during a flat-shift",
     "To tune this map, raise the cut percentage until the engine holds its rpm through a flat-shift without "
     "climbing, and lower it where the shift feels harsh or the boost drops"},
    {"This map contains the percentage of fuel injection cycles cut while anti-lag is armed but not active",
     "To tune this map, leave it at zero unless the engine needs a light cut to keep the turbo spooled between "
     "anti-lag events"},
    // 8-15: 3D Ignition Calibration
    {"This map contains the base ignition advance (in degrees before top dead centre)",
     "To tune this map, advance the timing at each cell until the torque stops rising or knock appears, then take "
     "back a safe margin. Watch the knock traces on this map while tuning"},
    {"This map contains the ignition trim (in degrees) applied while anti-lag is active",
     "To tune this map, retard the timing until the turbo spools as wanted on a closed throttle. More retard gives "
     "more heat in the exhaust, so keep the exhaust temperature in view"},
    {"This map contains the percentage of ignition events cut while anti-lag is active",
     "To tune this map, raise the cut percentage until anti-lag builds the wanted boost, and lower it where the "
     "engine runs too rough"},
    {"This map contains the ignition trim (in degrees) applied while the auxiliary maps input is active",
     "To tune this map, activate the auxiliary maps input and alter the trim for the fuel or boost setting that the "
     "auxiliary maps serve, checking for knock as with the base timing table"},
    {"This map contains the ignition advance (in degrees) used when backup ignition is selected",
     "To tune this map, enter a safe timing that runs the engine on its own, with a generous margin from knock. It is "
     "used only when the backup ignition input asks for it"},
    {"This map contains the percentage of ignition events cut while launch control is active",
     "To tune this map, raise the cut percentage until the launch rpm holds with the wanted boost, and lower it "
     "where the engine misfires too heavily"},
    {"This map contains the percentage of ignition events cut during a flat-shift",
     "To tune this map, raise the cut percentage until the rpm holds through the shift, and lower it where the "
     "shift becomes harsh"},
    {nullptr, nullptr},
    // 16-23: 3D Engine Calibration
    {"This map contains the weighting (in %) between throttle position and manifold pressure in the load "
     "calculation: 0 % uses manifold pressure only, 100 % throttle position only",
     "To tune this map, use manifold pressure where it is steady and throttle position where the manifold pressure "
     "is unsteady, such as with individual throttle bodies at low rpm"},
    {"This map contains the target intake cam timing (in degrees)",
     "To tune this map, alter the target at each cell for the best torque, checking the measured cam position "
     "follows the target in the variable cam timing window"},
    {"This map contains the target exhaust cam timing (in degrees)",
     "To tune this map, alter the target at each cell for the best torque and spool, checking the measured cam "
     "position follows the target in the variable cam timing window"},
    {"This map contains the target AFR (or lambda) for each cell, used by auto-tuning, wide band closed loop and the "
     "AFR traces",
     "To tune this map, enter the AFR wanted at each cell: richer under boost and high load, leaner at cruise. The "
     "values are shown in the units of the selected fuel type"},
    {"This map contains the manifold pressure (in kPa) expected at each throttle position and rpm",
     "To tune this map, use the learn tool to copy the measured manifold pressure into the map while the engine runs "
     "through the throttle and rpm range"},
    {"This map contains the target AFR (or lambda) used while the auxiliary maps input is active",
     "To tune this map, enter the AFR wanted for the auxiliary fuel or boost setting, as for the AFR target map"},
    {nullptr, nullptr},
    {nullptr, nullptr},
    // 24-31: 2D Fuel Trims
    {"This map contains the fuel trim (in %) by coolant temperature",
     "To tune this map, add fuel at low coolant temperatures until the cold engine runs smoothly at the wanted AFR, "
     "bringing the trim back to 0 % at full operating temperature"},
    {"This map contains the fuel trim (in %) by air temperature",
     "To tune this map, alter the trim until the AFR stays the same as the intake air warms up and cools down"},
    {"This map contains the extra fuel (in %) given on a throttle movement, by rpm",
     "To tune this map, raise the enrichment where the engine goes lean or hesitates on a quick throttle opening, "
     "and lower it where it goes rich"},
    {"This map contains the extra fuel (in %) given when the throttle starts to open, by rpm",
     "To tune this map, raise the enrichment where the AFR goes lean at tip in, lower it where it goes rich"},
    {"This map contains the fuel trim (in %) by idle speed control valve position",
     "To tune this map, alter the trim until the idle AFR stays steady as the idle valve opens and closes"},
    {"This map contains the extra fuel (in %) given by the amount of knock retard",
     "To tune this map, add fuel at the higher retard values to help cool the combustion while knock is present"},
    {"This map contains the extra fuel (in %) given when the air conditioning switches on, by rpm",
     "To tune this map, raise the enrichment until the engine takes the compressor load without going lean"},
    {"This map contains how much of the air conditioning enrichment remains (in %) after it was set",
     "To tune this map, set how quickly the enrichment fades: higher values keep it for longer"},
    // 32-39: 2D Ignition Trims
    {"This map contains the ignition trim (in degrees) by coolant temperature",
     "To tune this map, advance a cold engine for better running and retard a hot engine to keep it clear of knock"},
    {"This map contains the ignition trim (in degrees) by air temperature",
     "To tune this map, retard the timing at high air temperatures where knock appears"},
    {"This map contains the highest ignition advance (in degrees) allowed after all trims, by rpm",
     "To tune this map, enter the most advance the engine should ever run at each rpm"},
    {"This map contains the lowest ignition advance (in degrees) allowed after all trims, by rpm",
     "To tune this map, enter the least advance the engine should ever run at each rpm"},
    {"This map contains the ignition trim (in degrees) applied when the air conditioning switches on, by rpm",
     "To tune this map, advance the timing until the engine takes the compressor load without dipping at idle"},
    {"This map contains the ignition trim (in degrees) by short term fuel trim",
     "To tune this map, alter the trim to steady the idle as the closed loop fuel correction moves"},
    {nullptr, nullptr},
    {nullptr, nullptr},
    // 40-47: 2D Engine Calibration
    {"This map contains the injector response time (in milliseconds) added to every pulse, by battery voltage",
     "To tune this map, enter the dead time of the injectors from their data sheet, or use one of the default "
     "injector response presets"},
    {"This map contains the injection timing (in degrees before bottom dead centre), by rpm",
     "To tune this map, alter the phasing for the best idle quality and response, checking the AFR stays steady"},
    {"This map contains the knock sensor voltage above which knock is reported, by rpm",
     "To tune this map, set the threshold just above the background noise of the knock sensor at each rpm"},
    {"This map contains the rpm below which the overrun fuel cut is not used, by coolant temperature",
     "To tune this map, raise the limit where the engine stalls or dips when the fuel comes back on after a cut"},
    {"This map contains the ignition coil charge time (in milliseconds), by battery voltage",
     "To tune this map, enter the dwell the coils need; too little causes misfires, too much overheats the coils"},
    {"This map contains the dwell trim (in milliseconds), by rpm",
     "To tune this map, add dwell at the rpm where the spark weakens, or remove it where the coils run hot"},
    {"This map contains the fuel trim (in %) by manifold pressure, for a quick first setup of the fuel maps",
     "To tune this map, alter the trim at each pressure until the AFR is close to its target across the load range, "
     "then fine tune the fuel maps themselves"},
    {"This map contains the fuel trim (in %) by the rate of throttle movement",
     "To tune this map, add fuel on fast throttle openings and remove it on fast closings until the AFR stays steady"},
    // 48-55: 2D Boost Control
    {"This map contains the target boost (in MAP units), by rpm",
     "To tune this map, enter the boost wanted at each rpm, staying within what the turbo and engine can safely make"},
    {"This map contains the boost trim (in MAP units) by coolant temperature",
     "To tune this map, reduce the boost while the engine is still cold"},
    {"This map contains the boost trim (in MAP units) by air temperature",
     "To tune this map, reduce the boost at high air temperatures where knock appears"},
    {"This map contains the boost trim (in MAP units) by throttle position",
     "To tune this map, reduce the boost at part throttle for better driveability"},
    {"This map contains the highest duty (in %) the boost control may learn, by rpm",
     "To tune this map, set the limit just above the duty needed to reach the target boost"},
    {"This map contains the highest boost (in MAP units) allowed before the engine is cut, by rpm",
     "To tune this map, enter a safe limit above the target boost so that a fault in the boost control cannot harm "
     "the engine"},
    {nullptr, nullptr},
    {nullptr, nullptr},
    // 56-63: 2D Idle Speed Control
    {"This map contains the target idle speed (in rpm), by coolant temperature",
     "To tune this map, enter a higher idle for the cold engine, falling to the normal idle at operating temperature"},
    {"This map contains the highest idle valve position (in %) the idle control may learn, by coolant temperature",
     "To tune this map, set the limit just above the position the idle valve needs at each temperature"},
    {"This map contains the lowest idle valve position (in %) the idle control may learn, by coolant temperature",
     "To tune this map, set the limit just below the position the idle valve needs at each temperature"},
    {"This map contains the highest idle valve position (in %) learned while the air conditioning is on",
     "To tune this map, set the limit just above the position the idle valve needs with the compressor running"},
    {"This map contains the lowest idle valve position (in %) learned while the air conditioning is on",
     "To tune this map, set the limit just below the position the idle valve needs with the compressor running"},
    {"This map contains the ignition trim (in degrees) by idle speed error",
     "To tune this map, advance the timing when the idle falls below target and retard it when it rises above, for "
     "a quick and steady idle"},
    {"This map contains the rise in idle speed (in rpm) while the air conditioning is on, by coolant temperature",
     "To tune this map, raise the idle until the engine takes the compressor load smoothly"},
    {"This map contains the lowest idle valve position (in %) learned while the power steering load input is on",
     "To tune this map, set the limit just below the position the idle valve needs with the steering loaded"},
    // 64-71: 2D Starting
    {"This map contains the extra fuel (in %) given just after the engine starts, by coolant temperature",
     "To tune this map, raise the enrichment until the engine keeps running smoothly after a start"},
    {"This map contains the extra fuel (in %) given while the engine cranks, by coolant temperature",
     "To tune this map, raise the enrichment until the engine starts quickly at each temperature without flooding"},
    {"This map contains how much of the post start enrichment remains (in %) as the engine runs on",
     "To tune this map, set how quickly the enrichment fades: higher values keep it for longer"},
    {"This map contains how much of the cranking enrichment remains (in %) as the engine cranks on",
     "To tune this map, set how quickly the enrichment fades: higher values keep it for longer"},
    {"This map contains the fuel (in milliseconds) injected once when the ignition is switched on, by coolant "
     "temperature",
     "To tune this map, raise the primer where the cold engine needs many turns to start, lower it where it floods"},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {nullptr, nullptr},
    // 72-79: 2D Closed Loop
    {"This map contains the throttle position (in %) above which closed loop is not used, by rpm",
     "To tune this map, set the limit above the throttle used for cruising, so that closed loop stays off under "
     "acceleration"},
    {"This map contains the throttle position (in %) below which closed loop is not used, by rpm",
     "To tune this map, set the limit above the overrun throttle position, so that closed loop stays off on overrun"},
    {"This map contains the proportional gain (in %) of the narrow band closed loop, by throttle position",
     "To tune this map, raise the gain until the AFR follows its target quickly, lower it where the AFR swings"},
    {"This map contains the integral gain (in %) of the narrow band closed loop, by throttle position",
     "To tune this map, raise the gain until any lasting AFR error is removed, lower it where the AFR swings slowly"},
    {"This map contains the proportional gain (in %) of the wide band closed loop, by throttle position",
     "To tune this map, raise the gain until the AFR follows its target quickly, lower it where the AFR swings"},
    {"This map contains the integral gain (in %) of the wide band closed loop, by throttle position",
     "To tune this map, raise the gain until any lasting AFR error is removed, lower it where the AFR swings slowly"},
    {"This map contains the delay after starting before closed loop is used, by coolant temperature",
     "To tune this map, give the oxygen sensor time to warm up before closed loop starts"},
    {nullptr, nullptr},
    // 80-87: 2D Gear
    {"This map contains the ratio of vehicle speed to rpm for each gear, from which the gear is found",
     "To tune this map, drive in each gear and enter the ratio shown, so that the gear is recognised"},
    {"This map contains the ignition trim (in degrees) for each gear",
     "To tune this map, retard the timing in the gears where the engine knocks or the wheels spin"},
    {"This map contains the fuel trim (in %) for each gear",
     "To tune this map, alter the trim in the gears where the AFR differs from its target"},
    {"This map contains the load (in mmHg) below which the gear fuel trim is not used, by rpm",
     "To tune this map, set the limit so that the gear fuel trim works only under load"},
    {"This map contains the largest difference in vehicle speed allowed before traction control acts, for each gear",
     "To tune this map, lower the limit until wheel spin is caught, raise it where traction control acts too soon"},
    {"This map contains the percentage of ignition events cut by traction control, for each gear",
     "To tune this map, raise the cut until wheel spin is stopped, lower it where the car loses too much drive"},
    {"This map contains the percentage of fuel injection cycles cut by traction control, for each gear",
     "To tune this map, raise the cut until wheel spin is stopped, lower it where the car loses too much drive"},
    {"This map contains the boost trim (in MAP units) for each gear",
     "To tune this map, reduce the boost in the low gears where the wheels spin"},
    // 88-95: 2D PWM
    {"This map contains the duty (in %) of PWM output 1 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 2 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 3 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 4 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 5 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 6 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 7 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
    {"This map contains the duty (in %) of PWM output 8 along its selected variable",
     "To tune this map, choose the variable of its axis in the settings, then enter the duty wanted at each point"},
}};

// Heading of a map's texts: "group:name [axes]". Map 2's texts name the anti-lag fuel cut as a whole.
QString heading(int map) {
  const Definition& d = definitions()[map];
  const char* name = map == 2 ? "Anti-lag fuel cut cycles" : d.name;
  QString text = QString::fromLatin1(d.group) + QLatin1Char(':') + QString::fromLatin1(name);
  if (d.axes) text += QStringLiteral(" [") + QString::fromLatin1(d.axes) + QLatin1Char(']');
  return text;
}

QString maptext(int map, bool help) {
  if (map < 0 || map >= static_cast<int>(texts.size())) return {};
  const MapTexts& t = texts[map];
  if (!t.help) return definitionstring(map);
  return heading(map) + QLatin1Char(';') + QString::fromLatin1(help ? t.help : t.tune);
}

}  // namespace

QString helptext(int map) {
  return maptext(map, true);
}
QString tunetext(int map) {
  return maptext(map, false);
}

}  // namespace ostrel::mapcatalogue
