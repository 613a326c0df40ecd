#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <QString>

#include "platform/mapguards.h"

namespace ostrel {

// The pending-write rectangle: lowest and highest edited row and column; empty is (31, 0, 31, 0).
struct PendingWrite {
  std::uint8_t lowrow = 31, highrow = 0, lowcol = 31, highcol = 0;
  bool empty() const { return lowrow > highrow || lowcol > highcol; }
  void reset() { *this = PendingWrite{}; }
};

// The user's preferences (kept in "preferences26.dat"; shell/preferences.h reads and writes the file).
struct Preferences {
  bool metricunits = true;
  bool trackmode = true;
  std::uint8_t comport = 1;      // 1 to 6
  bool comfastest = false;
  bool rapidlogging = false;
  std::uint8_t fueltype = 1;     // 1 GAS, 2 ETH, 3 MTH, 4 E10, 5 E85, 6 LAMBDA
  bool vesubstringafrerror = false;
  bool autosync = false;
  bool autosyncupload = false;
  bool gridcenterload = true;
  bool panelanalog = true;
  bool autoconnect = false;
  bool hidenoncritical = false;
  std::uint8_t defaultview = 1;  // 1 to 3: view A, B, C
  bool gridloadup = true;
  bool substrings = true;
  bool statusmessages = true;

  bool operator==(const Preferences&) const = default;
};

// Colours of the map views, 0x00BBGGRR (kept in "colors.dat"; shell/colors.h reads and writes the file). The
// defaults are those of the shipped file, so a damaged file at start-up still leaves readable graphs.
struct Colors {
  std::uint32_t bgcolor = 0x00000000;
  std::uint32_t wirecolor = 0x0000FF00;
  std::uint32_t rpmbandcolor = 0x0080FFFF;
  std::uint32_t mapbandcolor = 0x00FFC080;
  std::uint32_t trimbandcolor = 0x0080C0FF;
  std::uint32_t highlightcolor = 0x000000FF;
  std::uint32_t shadecolor = 0x0000AD00;  // derived from bgcolor and wirecolor when the file is read; not stored

  bool operator==(const Colors&) const = default;
};

// The selection box of the map views. The anchor and the moving end are grid positions: h across the grid, v down
// it before the load-direction reversal (on 3-D maps h is the first index, v the second; elsewhere the other way
// round). The bounds are in map terms, rows over the first index, and hold once the box has been ordered.
struct TrimBox {
  bool active = false;
  std::uint8_t anchorh = 0, anchorv = 0, endh = 0, endv = 0;
  std::uint8_t colmin = 0, colmax = 0, rowmin = 0, rowmax = 0;
};

// Program-wide state: one instance, owned by app/ and handed by reference to what needs it; a test builds
// its own. Member names are the names the rest of the program uses for them.
struct ProgramState {
  std::uint8_t curmap = 0;
  // The last 3-D or 2-D table chosen through the navigation tree or the Map Group menu, which the views return to
  // when the comments, passwords or a settings editor closes; the first map of the Map menu's items.
  std::uint8_t lastviewmap = 0;
  std::uint8_t groupfirstmap = 0;
  bool online = false;
  bool exiting = false;
  std::uint8_t livemode = 0;
  std::uint8_t toolmode = 0;
  std::uint8_t transfermode = 0;  // 0 write the image into the ECU, 1 read it, 2 verify
  bool imageread = false;
  QString filename;

  PendingWrite pendingwrite;
  std::uint8_t pendingcommand = 0;
  // The map the pending-write rectangle was edited on, so that a change of map hands it over for that map and
  // never writes it into another map's rows; -1 when the editor did not say (the rectangle is then the current map's).
  std::int16_t pendingmap = -1;
  std::uint8_t redrawticks = 50;  // ticks since the last single-step key; the deferred 3-D redraw comes at 8
  std::uint8_t exitticks = 0;     // exit countdown of the checks timer; Exit sets it to 1
  bool transferwindowopen = false;

  std::uint8_t cursorrow = 0, cursorcol = 0;
  std::int16_t curincrement = 1;  // step of the edit keys, recomputed for every key
  std::array<std::uint16_t, 5> keycounts{};  // press counters of the map views' hidden key sequence

  std::uint8_t noreplyticks = 0;
  std::int16_t sendcount = 0;  // requests sent, 0 to 1000 then back to 0; the checks timer compares copies
  std::uint16_t syncerrticks = 0;

  // The live windows' shared counters: ticks since the open live window was set up (to 1000), and its timer ticks
  // under another window's selector (or its closing ticks).
  std::int16_t windowage = 0;
  std::uint8_t windowticks = 0;

  // The copy of ECU RAM 0x4000 to 0x6FFF that the RAM dump fills page by page (16 bytes a page) and the trigger
  // test draws from; zero until the first dump, kept for the whole run.
  static constexpr int ramimagesize = 0x3000;
  std::array<std::uint8_t, ramimagesize> ramimage{};

  std::int32_t logindex = -50;
  // The data logger's channels: trace colour code (0 to 15, 16 no trace) and live variable (0 to 127).
  std::array<std::uint8_t, 16> logcolour{}, logvar{};
  std::uint8_t progressjob = 0;
  std::int16_t progresstotal = 0;  // the span of the progress window's timed display (job 0)

  // Map protection table: the rows each password fragment guards, map by map.
  MapGuards guards;
  std::array<bool, 8> fragmenton{};  // the ON flag of each password fragment
  // The rest of the password fragments' run-time state: the feature is present (never cleared), each fragment's
  // set and entered password (8 Latin-1 characters), whether the entered one matches the set one, and the entered
  // one followed by its three check bytes as it goes to the ECU.
  bool pwincluded = true;
  std::array<QString, 8> pwset, pwentered;
  std::array<bool, 8> pwmatched{};
  std::array<std::array<std::uint8_t, 11>, 8> pwentrychecked{};

  Preferences preferences;
  Colors colors;
  bool graphview = false;  // set by the views as they take the focus; the keyboard handler reads it
  TrimBox trimbox;

  // The spreads of settings map 110 as the settings editor found them when it opened and when it closed, element k
  // the spread of point k + 1 (load, then rpm); closing with a difference asks to re-grid the 3-D maps.
  std::array<std::uint8_t, 31> entryloadspread{}, entryrpmspread{}, exitloadspread{}, exitrpmspread{};
  bool spreadrpm = false;  // the spread tool edits the rpm axis (else the load axis)
  // The last raw throttle and pedal readings of the settings editor's live data and the ticks of the editor's timer
  // since they arrived. They are emptied when the link closes, when the editor opens and once they are more than a
  // second old, so the throttle calibration never stores a reading that was never taken or one the ECU no longer
  // holds (editors/throttlecalibration.h keeps and ages them).
  std::optional<std::uint8_t> livetps, livepps;
  std::uint8_t livereadingticks = 0;
  void clearlivereadings() {
    livetps.reset();
    livepps.reset();
    livereadingticks = 0;
  }

  // The map fragment import's donor, kept for the run: its kind (0 none yet, 21 a version 2.1 to 2.5 file held by
  // the old-file reader, 26 a version 2.6 file held by the second calibration model), its path, and which maps it
  // can give.
  std::uint8_t donortype = 0;
  QString donorfile;
  std::array<bool, 116> importmask{};


  ProgramState() {
    pwentered.fill(QStringLiteral("KeyInPwd"));  // until the user enters one
  }
};

}  // namespace ostrel
