#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace ostrel {

// Display types of a setting record: which control the settings editor uses for the cell.
enum DisplayType : std::uint8_t {
  displaycheckbox = 0,
  displaytextbox = 1,
  displayowncombo = 2,  // the record's own list string in its true text
  displaybits = 4,      // eight bit switches; element k is bit 7 - k
  displayconditions = 5,
  displaylivevariables = 6,
  displayvehicles = 7,
  displayedges = 8,
  displaytriggers = 9,
  displaysyncs = 10,
  displayoutputs = 11,
  displayinputs = 12,
};

// What one cell of a settings map is: its name, its group in the set's group list, its control and its scale.
// An empty label means the cell holds no setting.
struct DisplayRecord {
  std::uint8_t group = 0;
  std::uint8_t type = 0;
  float multiplier = 0.0f;
  float offset = 0.0f;
  QString label;
  QString truetext;                    // type 2: the setting's list string
  QString falsetext;                   // read by no display type
  std::array<QString, 8> clearlabels;  // type 4: label of bit element k when clear
  std::array<QString, 8> setlabels;    // type 4: label of bit element k when set
};

// One settings map's records, rows and columns 0..16 (16 is never filled).
using DisplayRecordSet = std::array<std::array<DisplayRecord, 17>, 17>;

// Fill the records of settings map 110 (set 0) and 111 (set 1).
void initsettings1(DisplayRecordSet& set);
void initsettings2(DisplayRecordSet& set);

// The record of a cell, from tables built once; out of range gives an empty record.
const DisplayRecord& displayrecord(int set, int row, int column);

// Group list (a list string) of settings set 0..5; "0:***" past 5.
QString settingsgrouplist(int set);

}  // namespace ostrel
