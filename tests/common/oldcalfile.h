#pragma once

#include <QByteArray>
#include <array>

namespace ostrel::test {

// The contents of a version 2.1 to 2.5 calibration file (*.s20), laid out as the file's tables.
struct OldCalibration {
  std::array<std::array<int, 16>, 48> a{};   // lines 0-23, two rows a line
  std::array<std::array<int, 24>, 72> b{};   // lines 24-95, bytes 0-23 (24-31 unused)
  std::array<std::array<int, 32>, 50> c{};   // lines 96-145
  std::array<std::array<int, 32>, 32> d{};   // lines 146-209: 16-bit words, two lines a row
  std::array<std::array<int, 32>, 192> e{};  // lines 210-401
};

inline QByteArray oldhex(int value, int digits, bool lower) {
  QByteArray s = QByteArray::number(value, 16).rightJustified(digits, '0');
  return lower ? s : s.toUpper();
}

// Writes the file as the old programs did: an 8-character record head, 64 data digits and a 4-character tail.
inline QByteArray olds20(const OldCalibration& cal, bool lower = false) {
  QByteArray file;
  for (int line = 0; line < 402; ++line) {
    QByteArray data;
    if (line < 24) {
      for (int k = 0; k < 32; ++k) data += oldhex(cal.a[2 * line + k / 16][k % 16], 2, lower);
    } else if (line < 96) {
      for (int k = 0; k < 32; ++k) data += oldhex(k < 24 ? cal.b[line - 24][k] : 0xEE, 2, lower);
    } else if (line < 146) {
      for (int k = 0; k < 32; ++k) data += oldhex(cal.c[line - 96][k], 2, lower);
    } else if (line < 210) {
      for (int k = 0; k < 16; ++k) data += oldhex(cal.d[line / 2 - 73][16 * (line % 2) + k], 4, lower);
    } else {
      for (int k = 0; k < 32; ++k) data += oldhex(cal.e[line - 210][k], 2, lower);
    }
    file += "S123" + oldhex(32 * line, 4, false) + data + "FF\r\n";
  }
  return file;
}

}  // namespace ostrel::test
