#include "shell/maintimers.h"

#include <algorithm>

#include "calibration/maps.h"
#include "calibration/translate.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "logger/progressjobs.h"
#include "mapviews/interpcopy.h"
#include "platform/prompts.h"
#include "shell/shellhost.h"

namespace ostrel {

namespace {

constexpr std::uint16_t syncerrcap = 100;
constexpr std::uint8_t tickcap = 100;

// Sets a flag for the lifetime of a handler, so a tick arriving while its message box is up returns at once.
class Busy {
 public:
  explicit Busy(bool& flag) : flag_(flag) { flag_ = true; }
  ~Busy() { flag_ = false; }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  bool& flag_;
};

}  // namespace

MainTimers::MainTimers(ProgramState& state, maps& mainmaps, EcuLink& link, const ImageTransfer& transfer,
                       const ProgressJobs& jobs, Prompts& prompts, ShellHost& host)
    : state_(state),
      mainmaps_(mainmaps),
      link_(link),
      transfer_(transfer),
      jobs_(jobs),
      prompts_(prompts),
      host_(host) {}

void MainTimers::queuepending() {
  const auto map = static_cast<std::uint8_t>(state_.pendingmap >= 0 ? state_.pendingmap : state_.curmap);
  const PendingWrite& r = state_.pendingwrite;
  link_.queuemapwrite(map, r.lowrow, r.highrow, r.lowcol, r.highcol);
}

QString MainTimers::mismatchwarning() {
  const QString lfcr = QStringLiteral("\n\r");
  return translate(QStringLiteral("This map or settings group does not match the map or settings group stored in the "
                                  "ECU. You should:     ")) +
         lfcr + QStringLiteral("                    1. Open the file from the ECU OR") + lfcr +
         QStringLiteral("                    2. Save this file to the ECU before continuing.");
}

void MainTimers::commstick() {
  // The link's deferred questions run at the end of its tick; no further tick starts while one is up.
  if (!state_.online || state_.exiting || incomms_) return;
  Busy busy(incomms_);
  link_.tick();
}

void MainTimers::handoverpending(bool always) {
  const bool othermap = state_.pendingmap >= 0 && state_.pendingmap != state_.curmap;
  if (!othermap && !(always && state_.pendingcommand > 0)) return;
  // A countdown of 1 has been queued already on the tick that brought it there.
  if (state_.online && state_.pendingcommand > 1 && !state_.pendingwrite.empty()) queuepending();
  state_.pendingcommand = 0;
  state_.pendingwrite.reset();
  state_.pendingmap = -1;
}

void MainTimers::commandstick() {
  if (state_.exiting || incommands_) return;
  Busy busy(incommands_);
  handoverpending();

  // Edits made while offline are never written to the ECU.
  if (!state_.online) {
    state_.pendingcommand = 0;
  } else if (state_.pendingcommand > 0) {
    --state_.pendingcommand;
    if (state_.pendingcommand == 1) queuepending();
  }
  if (state_.pendingcommand == 0) {
    state_.pendingwrite.reset();
    state_.pendingmap = -1;
  }

  // The full 3-D redraw 0.8 s after the last single-cell step.
  if (state_.redrawticks < 10) {
    const int kind = mainmaps_.getcontextandtype(state_.curmap);
    ++state_.redrawticks;
    if (state_.redrawticks == 8 && kind == 0) host_.drawmap(true);
  }
}

void MainTimers::startexit() {
  state_.exiting = true;
  state_.exitticks = 1;
}

void MainTimers::checkstick() {
  if (inchecks_) return;
  Busy busy(inchecks_);

  if (state_.exiting) {
    if (state_.exitticks < 255) ++state_.exitticks;
    if (state_.exitticks == unloadticks) host_.unloadmainwindow();
    return;
  }
  if (!state_.online) {
    lastsendcount = state_.sendcount;
    return;
  }
  comparechecksums();
  // The mismatch warning may have been answered by a disconnect elsewhere.
  if (!state_.online) {
    lastsendcount = state_.sendcount;
    return;
  }
  watchlink();
}

void MainTimers::comparechecksums() {
  state_.syncerrticks = std::min(state_.syncerrticks, syncerrcap);
  // A checksum that answers another map (the current map has just changed) says nothing about this one.
  if (!link_.ecuchecksumcurrent()) return;
  const int pc = mainmaps_.getchecksum(state_.curmap);
  if (link_.live().ecuchecksum == pc) {
    state_.syncerrticks = 0;
    return;
  }
  // Storing or comparing what was read still counts as a transfer.
  if (link_.transferqueue().headiswrite() || transfer_.busy()) return;
  if (state_.sendcount != lastsendcount && state_.syncerrticks < syncerrcap) ++state_.syncerrticks;

  if (state_.noreplyticks == 0 && state_.syncerrticks == mismatchticks && !state_.transferwindowopen &&
      state_.toolmode != toolmodes::autotune)
    actonmismatch();
}

void MainTimers::actonmismatch() {
  bool synchronise = false;
  if (state_.imageread && state_.preferences.autosync && !state_.preferences.autosyncupload) {
    // Writing into the ECU unasked only for a map that fragments guard and every one of them is switched off.
    const MapGuards::Fragments by = state_.guards.guardsof(state_.curmap);
    synchronise = by != 0;
    for (int i = 0; i < MapGuards::fragmentcount; ++i)
      if ((by >> i & 1U) != 0 && state_.fragmenton[static_cast<std::size_t>(i)]) synchronise = false;
  }
  if (!synchronise) {
    // Also where synchronisation may not act, the tuner is told rather than left with a silent mismatch.
    prompts_.message(mismatchwarning());
    host_.refreshactiveview();
    return;
  }
  if (jobs_.isopen()) {
    // The progress window runs another job, which the synchronisation would wipe: the next tick with traffic
    // that still finds the mismatch asks again.
    state_.syncerrticks = mismatchticks - 1;
    return;
  }
  prompts_.message(QStringLiteral("Please wait while a map syncronisation occurs"));
  host_.refreshactiveview();
  state_.progressjob = static_cast<std::uint8_t>(ProgressJob::mapsync);
  host_.runmapsync();
}

void MainTimers::watchlink() {
  if (state_.sendcount != lastsendcount) {
    if (state_.noreplyticks < tickcap) ++state_.noreplyticks;
    if (link_.live().fwversion != expectedfirmware)
      fwticks = static_cast<std::uint8_t>(std::min<int>(fwticks + 1, tickcap));
    else
      fwticks = 0;

    if (state_.noreplyticks == warningticks) {
      const auto answer = prompts_.message(QStringLiteral("The ECU is not responding, disconnect now?"),
                                           Prompts::Icon::None, Prompts::Buttons::YesNo);
      host_.refreshactiveview();
      if (answer == Prompts::Answer::Yes) link_.closeport();
    }
    if (fwticks == warningticks && state_.online) {
      prompts_.message(QStringLiteral("The ECU firmware version is not correct for this PC software version (V2.64)"),
                       Prompts::Icon::Critical);
      host_.refreshactiveview();
    }
  }
  lastsendcount = state_.sendcount;
}

}  // namespace ostrel
