#pragma once

#include <QString>
#include <cstdint>

#include "mapviews/pendingwrite.h"
#include "platform/programstate.h"

namespace ostrel {

class EcuLink;
class ImageTransfer;
class maps;
class ProgressJobs;
class Prompts;
class ShellHost;

// The run loop of the main window, apart from the window: the tick functions of its three timers. The window's
// QTimers call them; tests call them directly. Each tick function returns at once when it is called again while
// one of its own message boxes or the progress window is up. Edited rows go to the link directly; redraws, the
// menus, the map synchronisation and the unload go to the main window through its ShellHost.
class MainTimers {
 public:
  static constexpr int commsinterval = 30;  // ms; 20 under the fastest communication preference
  static constexpr int fastcommsinterval = 20;
  static constexpr int commandsinterval = 100;
  static constexpr int checksinterval = 500;

  static constexpr std::uint8_t writecountdown = pendingcountdown;  // what an edit sets pendingcommand to
  static constexpr int mismatchticks = 10;                          // checks ticks with traffic before a mismatch acts
  static constexpr int warningticks = 13;                           // no-reply question and firmware warning
  static constexpr int unloadticks = 5;                             // exitticks at which the main window unloads
  static constexpr std::uint8_t expectedfirmware = 64;

  MainTimers(ProgramState& state, maps& mainmaps, EcuLink& link, const ImageTransfer& transfer,
             const ProgressJobs& jobs, Prompts& prompts, ShellHost& host);
  MainTimers(const MainTimers&) = delete;
  MainTimers& operator=(const MainTimers&) = delete;

  // TimerComms: one step of the ECU link while connected and not exiting.
  void commstick();
  // TimerCommands: the pending-write countdown and the deferred 3-D redraw.
  void commandstick();
  // timerChecks: map checksum comparison and synchronisation, no-reply and firmware watch, exit countdown.
  void checkstick();

  // A pending rectangle edited on another map than the current one goes to the link for its own map at once (while
  // connected) and the countdown ends; call whenever the current map changes. The commands tick calls it too.
  // always: hand over any pending rectangle (before the calibration is replaced).
  void handoverpending(bool always = false);

  // Exit: the communications and commands ticks stop working; the checks tick unloads the main window after the
  // countdown.
  void startexit();

  // The mismatch warning as shown.
  static QString mismatchwarning();

  std::uint8_t fwticks = 0;
  std::int16_t lastsendcount = 0;  // the link's send count at the previous checks tick

 private:
  void comparechecksums();
  void actonmismatch();
  void watchlink();
  void queuepending();

  ProgramState& state_;
  maps& mainmaps_;
  EcuLink& link_;
  const ImageTransfer& transfer_;
  const ProgressJobs& jobs_;  // a job it runs is never replaced by the map synchronisation
  Prompts& prompts_;
  ShellHost& host_;
  bool incomms_ = false;
  bool incommands_ = false;
  bool inchecks_ = false;
};

}  // namespace ostrel
