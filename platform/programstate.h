#pragma once

#include <array>
#include <cstdint>
#include <QString>

namespace ostrel {

// The pending-write rectangle: lowest and highest edited row and column; empty is (31, 0, 31, 0).
struct PendingWrite {
  std::uint8_t lowrow = 31, highrow = 0, lowcol = 31, highcol = 0;
  bool empty() const { return lowrow > highrow || lowcol > highcol; }
  void reset() { *this = PendingWrite{}; }
};

// The user's preferences (kept in "preferences26.dat").
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
};

// Program-wide state: one instance, owned by app/ and handed by reference to what needs it; a test builds
// its own. Member names are the names the rest of the program uses for them.
struct ProgramState {
  std::uint8_t curmap = 0;
  bool online = false;
  bool exiting = false;
  std::uint8_t livemode = 0;
  std::uint8_t toolmode = 0;
  std::uint8_t transfermode = 0;  // 0 write the image into the ECU, 1 read it, 2 verify
  bool imageread = false;
  QString filename;

  PendingWrite pendingwrite;
  std::uint8_t pendingcommand = 0;

  std::uint8_t cursorrow = 0, cursorcol = 0;

  std::uint8_t noreplyticks = 0;
  std::uint16_t syncerrticks = 0;

  std::int32_t logindex = -50;
  std::uint8_t progressjob = 0;

  // Map protection table: first and last protected row and protecting fragment per map; -1 = unprotected.
  std::array<std::int16_t, 116> protfirstrow{}, protlastrow{}, protfragment{};
  void clearprotection() {
    protfirstrow.fill(-1);
    protlastrow.fill(-1);
    protfragment.fill(-1);
  }

  Preferences preferences;

  ProgramState() { clearprotection(); }
};

}  // namespace ostrel
