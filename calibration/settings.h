#pragma once

#include <QString>
#include <cstdint>

namespace ostrel {

inline constexpr int livevariablecount = 128;    // live variable index 0..127
inline constexpr int settingsformvarcount = 16;  // settings-form variable 0..15
inline constexpr int combolistcount = 13;        // combo list 0..12
inline constexpr int settingssetcount = 6;       // settings maps 110..115 as set 0..5
inline constexpr int settingsrecordsize = 17;    // records are indexed row and column 0..16 (16 never filled)

// The fixed vocabulary of live variables, settings-form variables, combo lists and setting display records.
// The tables themselves are constant data shared by every instance and built once; an instance only carries the
// units column (0 metric, 1 imperial) that getvarsstring and getcombostring use, so copies are cheap.
//
// Out-of-range indices never throw and never read outside a table; each getter documents its neutral result.
class settings {
 public:
  settings() = default;

  // Units column := 0 when metric, else 1.
  void setsettingsmetric(bool metric) { unitscolumn_ = metric ? 0 : 1; }
  std::uint8_t unitscolumn() const { return unitscolumn_; }

  // Settings-form variables (the 16 live values of the settings editor); metric picks the column.
  // An index past 15 reads like the unused rows 12..15: variable 19, "***", "(n)", 0, 0, 0 decimals.
  std::uint8_t getsettingsformvarindex(int i, bool metric) const;
  QString getsettingsformvarstring(int i, bool metric) const;
  QString getsettingsformvarunits(int i, bool metric) const;
  float getsettingsformvarmul(int i, bool metric) const;
  float getsettingsformvaroffset(int i, bool metric) const;
  std::uint8_t getsettingsformvardps(int i, bool metric) const;

  // Stoichiometric ratio / 100 by fuel code 1..6; any other code gives 0.
  static float getsettingsformspecialvarmul(int fuelcode);

  // Combo list 5 (the 256 user-logic conditions) of the current units column.
  QString getvarsstring() const;

  // Live variable table; metric picks the column. A variable of 128 or more reads like the unnamed
  // variables 83..127: multiplier 0, offset 0, address 0.
  float getvarsmul(int v, bool metric) const;
  float getvarsoffset(int v, bool metric) const;
  std::int32_t getvarsaddress(int v, bool metric) const;

  // Setting display records of set 0..5 (map 110 + set), row and column 0..16, bit element k 0..7.
  // Out of range reads as an empty cell: group 255, type 0, multiplier 0, offset "0", texts "***".
  std::uint8_t getdisplaygroup(int set, int row, int column) const;
  std::uint8_t getdisplaytype(int set, int row, int column) const;
  float getdisplaymul(int set, int row, int column) const;
  QString getdisplayoffset(int set, int row, int column) const;
  QString getdisplaystring(int set, int row, int column) const;
  QString getdisplaystringtrue(int set, int row, int column) const;
  QString getdisplaystringfalse(int set, int row, int column) const;
  QString getdisplayarraystringtrue(int set, int row, int column, int k) const;
  QString getdisplayarraystringfalse(int set, int row, int column, int k) const;

  // Combo list 0..12 of the current units column; "0:***" when the list is empty or past 12.
  QString getcombostring(int list) const;

  // Group list of settings set 0..5; past 5 gives the empty list "0:***".
  QString getsettingsgroupmembers(int set) const;

 private:
  std::uint8_t unitscolumn_ = 0;
};

// Name of live variable v as it appears in combo list 6 ("coolant temp (C)", "83 ()"); "" past 127.
QString livevariablename(int v, bool metric);

// Splits the trigger list file ("V2.6_triggers.txt": trigger items ":" ... "|" sync items ":" ... CR LF) into the
// two list strings of combo lists 9 and 10. Nothing reads that file at present, so both lists stay empty;
// returns false (and leaves both empty) when the text has no "|".
bool parsetriggerlists(const QByteArray& filebytes, QString& triggerlist, QString& synclist);

}  // namespace ostrel
