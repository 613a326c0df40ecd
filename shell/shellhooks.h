#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "platform/programstate.h"

class QWidget;

namespace ostrel {

class EcuLink;
class maps;
class Prompts;
class settings;
class StatusLog;

// Calls from the main window into windows and jobs that other parts of the program provide (the whole-image
// transfer dialog, the map views, the navigation tree, the password fragments, the data logger). Each may be left
// empty: the main window then does the least that keeps it working (see each entry).
struct ShellHooks {
  // --- Whole-image transfers -------------------------------------------------------------------------------------
  // Copies the calibration into the send image before a write to the ECU. Empty: nothing.
  std::function<void()> preparebuffer{};
  // Shows the transfer dialog modally; it runs the transfer that state.transfermode names. Empty: a status line
  // says that transfers are not available.
  std::function<void(QWidget* parent)> showtransfer{};
  // True while a whole-image transfer runs. Empty: never.
  std::function<bool()> transferactive{};
  // Shows the fast verify window modally. Empty: a status line.
  std::function<void(QWidget* parent)> showfastverify{};

  // --- Edited rows to the ECU --------------------------------------------------------------------------------------
  // Queues one write for each image row of the map that the rectangle touches, the first preceded by the block
  // table. Empty: the link's queuemapwrite.
  std::function<void(std::uint8_t map, const PendingWrite& rect)> queuemapwrite{};
  // Writes the current map into the ECU (the progress window's map synchronisation job). Empty: every row of the
  // current map is queued.
  std::function<void()> runmapsync{};

  // --- Views -------------------------------------------------------------------------------------------------------
  std::function<void()> drawmap3d{};  // the 3-D projection is rerun
  std::function<void(bool filltree, bool fillmenus)> buildnavtree{};
  std::function<void(int layout)> arrangewindows{};  // Empty: the child windows are tiled.

  // --- Calibration editors and data logger -------------------------------------------------------------------------
  std::function<void(bool reset)> loadpasswordfragments{};
  std::function<void()> resetlogsamples{};
};

// What the shell works on: the program-wide state and the one instance of each part it drives. The program owns
// all of them (app/), a test its own set.
struct ShellContext {
  ProgramState& state;
  Prompts& prompts;
  maps& mainmaps;
  settings& mainsettings;
  StatusLog& log;
  EcuLink& link;
  ShellHooks hooks;
};

}  // namespace ostrel
