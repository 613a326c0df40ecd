#pragma once

#include <QString>
#include <array>
#include <bitset>
#include <cstdint>

namespace ostrel {

class Prompts;
struct ProgramState;

// The calibration image the ECU keeps at 0x8000 to 0xFFFF: byte a of the array is ECU address 0x8000 + a.
inline constexpr int imagesize = 32768;
inline constexpr int imagerows = 2048;  // buffer rows of 16 bytes
inline constexpr int mapcount = 116;
using CalibrationImage = std::array<std::uint8_t, imagesize>;

// One whole calibration seen as 116 maps: what each map is (catalogue), its cell values, the per-cell marks, the
// axis breakpoints derived from settings map 110, and the 16-byte rows by which the image travels to the ECU.
// There are two instances side by side (the open calibration and a second one for templates, donors and scratch
// copies); nothing here refers to the other instance or to program-wide state.
//
// Map, row and column arguments are plain ints so that any out-of-range value (negative, 32 and up, 116 and up)
// reaches the class intact and is answered without touching a table. On 3-D maps the row is the rpm point.
class maps {
 public:
  // Failures of openfile are reported through prompts; the object keeps the reference for its whole life.
  explicit maps(Prompts& prompts);

  maps(const maps&) = delete;
  maps& operator=(const maps&) = delete;

  // Cells as a rectangle of (row, column) indices; empty when it holds none.
  struct CellRange {
    int firstrow = 0, lastrow = -1, firstcol = 0, lastcol = -1;
    bool empty() const { return lastrow < firstrow || lastcol < firstcol; }
  };
  // Sets the cells of protected rows first to last of the map to 0, marked changed, and returns them (limited to the
  // map). On a 3-D table a protected row is a load row (the second index) at every rpm point, as the map views count
  // it; elsewhere it is a row of the map.
  CellRange destroyrows(int map, int first, int last);
  // Clears the protected rows of every map that the given password fragment protects (table taken from state).
  void destroymapdata(int fragment, const ProgramState& state);
  // Group number of a map: (map \ 8) * 8 below 104, the map itself otherwise.
  int getgroupbyselected(int map) const;
  // Pulse width in ms that the VE cell (i, j) of map 4 asks for; 0 when a divisor is 0.
  float getVEPW(int i, int j) const;
  // VE in percent that the base fuel cell (i, j) of map 0 corresponds to; 0 when a divisor is 0.
  float getPWVE(int i, int j) const;
  // Smooths the AFR error of cell (row, col) towards the error of this measurement.
  void setafrerror(std::uint8_t measured, int row, int col);
  // AFR error of the cell in whole percent (halves to even).
  int getafrerror(int row, int col) const;
  // Marks cell (row, col) knocked when the knock level exceeds map 42's threshold at this rpm.
  void setmapknocked(int rpm, std::uint8_t knock, int row, int col);
  bool getmapknocked(int row, int col) const;
  // Display multiplier of air-fuel-ratio values for the fuel type (1 to 6) on maps 19, 21 and 110; 1 elsewhere.
  float getspecialmul(int map, int fueltype) const;
  // Step of the +/- keys: 1 with shift equal to 1, else by map.
  int getintinc(int map, int shift) const;
  // Maps 0-23: the number of load points shown (at least 2); other maps: their last row index (0 from 116 up).
  int getlastshowrow(int map) const;
  // Image byte at offset 16 row + byte; 0 outside the image.
  std::uint8_t getmapbufferbyte(int row, int byte) const;
  // Buffer row (0 to 2047) that holds the cell; 0 for a map above 115 or a cell outside its map.
  int getbufferrow(int map, int row, int col) const;
  // Writes the image byte at offset 16 row + byte into the cells, without changed marks.
  void setmapbufferbyte(int row, int byte, std::uint8_t value);
  // Maps 0-23: the number of rpm points shown (at least 2); other maps: their last column index.
  int getlastshowcol(int map) const;
  // Map kind: 0 3-D, 1 2-D, 2 comments, 3 passwords, 4 settings (and every index from 116 up).
  int getcontextandtype(int map) const;
  bool mapisgroup(int map) const;
  void setmetric(bool metric);
  void clearvisit();
  void clearchange();
  void clearAFRerror();
  void clearcellAFRerror(int row, int col);
  void clearmapknock();
  bool getvisit(int map, int row, int col) const;
  bool getchange(int map, int row, int col) const;
  // Marks the cell visited; on 3-D maps in every map that shares its axes.
  void setvisit(int map, int row, int col);
  // Writes the whole image to a calibration file; false when the file could not be written.
  bool savefile(const QString& path);
  // Reads a calibration file into this instance and recalculates; false (after a message) when it failed, and then
  // the instance keeps what it held. current: 2.64+ format, else the plain beta format; lfonly: 75-byte lines.
  bool openfile(const QString& path, bool current, bool lfonly);
  // Cell value: 16-bit signed on maps 0-7, a byte elsewhere; 0 for a cell outside the map.
  std::int16_t getdata(int map, int row, int col) const;
  // Steps the cell by step, marking it changed.
  void incdecdata(int map, int row, int col, int step);
  // Limits the value to the map's range (0-8000 on map 0, 0-255 elsewhere), rounds halves to even and stores it;
  // cells outside the map and NaN store nothing.
  void setdata(int map, int row, int col, double value, bool markchanged);
  int getmaprows(int map) const;
  // True when the text occurs in some map's definition string after its first ":".
  bool getmapischild(const QString& text) const;
  int getmapcols(int map) const;
  // Byte sum modulo 256 of one row's image bytes; 0 for a map above 115 or a row outside it.
  int getrowcheck(int map, int row) const;
  // The map definition string "group:name [axes];units_multiplier|offset"; empty from 116 up.
  QString getmapname(int map) const;
  // First map whose definition string contains the text; -1 when none.
  int getmapindex(const QString& text) const;
  // Group number whose translated group name equals the text; -1 when none.
  int getmapgroupindex(const QString& name) const;
  float getmapscale(int map) const;
  QString getscalestringX(int map, bool metric) const;
  QString getscalestringY(int map, bool metric) const;
  // Rebuilds the 3-D and PWM axis breakpoints and labels from settings map 110.
  void recalc();
  // Checksum of one map as the ECU computes it: byte sum * 256 + sum of byte products, each modulo 256.
  int getchecksum(int map) const;
  QString getmaphelpstring(int map) const;
  QString getmaptunestring(int map) const;
  // Bilinear reading of a 32 x 32 map at a fractional (row, col) position.
  float interpdatabyte(int map, float x, float y) const;

  // The whole image at once, as the ECU link and the calibration file move it.
  CalibrationImage getimage() const;
  // Replaces every cell from an image, without changed marks; map 0 cells become min(8000, 256 high + low).
  void setimage(const CalibrationImage& image);

 private:
  // The calibration file code reports its failures through this.
  Prompts& prompts_;

  struct Labels {
    QString metric, imperial;
  };

  void fillvariablelabels();
  void filllabeltables();
  void filltexts();
  QString pwmaxisname(int variable) const;
  float loadfraction(int j) const;

  // Cell values. Maps 1-115 keep one byte per cell at the cell's image offset; map 0 keeps its 16-bit values apart,
  // with the last 16-bit word the image wrote into each cell so that high and low bytes may come in any order.
  CalibrationImage bytes_{};
  std::array<std::int16_t, 1024> map0_{};
  std::array<std::uint16_t, 1024> map0word_{};

  // Visited and changed marks, indexed like the image (map 0 cells at their high byte).
  std::bitset<imagesize> visited_, changed_;

  // AFR error and knock grids of the 3-D cells, and the record that smooths the AFR error.
  std::array<float, 1024> afrerror_{};
  std::bitset<1024> knocked_;
  struct AfrTracking {
    std::uint8_t lastrow = 0, lastcol = 0, prevrow = 0, prevcol = 0;
    int settleweight = 0;
  } afrtracking_;

  bool metric_ = false;
  std::uint8_t lastshowrow_ = 0, lastshowcol_ = 0;
  std::array<float, 33> loadfractions_{};

  std::array<Labels, mapcount> xlabels_, ylabels_;
  std::array<Labels, 128> varlabels16_, varlabels32_;
  std::array<QString, mapcount> helptexts_, tunetexts_;
  std::array<QString, 128> pwmnames_;
};

}  // namespace ostrel
