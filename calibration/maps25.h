#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace ostrel {

// Reader of the calibration files of versions 2.1 to 2.5 (*.s20), for importing map fragments: it hands out the
// old file's values cell by cell in the numbering, layout and scaling of the current maps. It keeps the last file
// that was read whole until another one is.
class Maps25 {
 public:
  static constexpr int filelines = 402;
  static constexpr int linelength = 76;
  static constexpr int filesize = filelines * linelength;  // 30552; anything beyond is not read

  // Reads and converts the file. False when it cannot be read, is shorter than 30552 bytes or holds a group of
  // data digits that is not hexadecimal; the reader then keeps the tables of the previous file.
  bool openfile(const QString& path);

  // Why the last openfile failed, in the reader's own words; empty when the file could not be opened or read at
  // all, or after a success.
  QString failuretext() const { return failuretext_; }

  // The old file's value of a cell of a current map, converted to current units: 0-65535 for map 0, a byte for the
  // others. Empty for a map the old file does not hold, and for a cell outside its table. A conversion that limits
  // the old value first also leaves the limited value in the table, as the old importer did.
  std::optional<int> getdata(int map, int row, int col);

  // The old 24 x 24 table resampled onto 32 x 32 cells (row and col 0-31), scaled around 128 by an old setting.
  // The map argument is not used.
  std::uint8_t getdata24to32(int map, int row, int col) const;

  static inline const QString corruptedmessage =
      QStringLiteral("A version 2.1 - 2.5 file read error occured. The file has been corrupted.");
  static inline const QString corruptedcaption = QStringLiteral("System error");

  // A = 48 x 16: old settings rows and 2-D tables; B = 72 x 24: three 24 x 24 tables; C = 51 x 32; D = 32 x 32
  // words: the old fuel base table; E = 192 x 32: six 32 x 32 tables.
  struct Tables {
    std::array<std::array<std::int16_t, 16>, 48> a{};
    std::array<std::array<std::int16_t, 24>, 72> b{};
    std::array<std::array<std::int16_t, 32>, 51> c{};
    std::array<std::array<std::int32_t, 32>, 32> d{};
    std::array<std::array<std::int16_t, 32>, 192> e{};
  };
  const Tables& tables() const { return tables_; }

 private:
  // Fills the tables from the raw file; empty when a group of digits is not hexadecimal.
  static std::optional<Tables> convert(const QByteArray& raw);

  Tables tables_;
  QString failuretext_;
};

}  // namespace ostrel
