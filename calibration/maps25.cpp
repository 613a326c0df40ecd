#include "calibration/maps25.h"

#include <QFile>
#include <algorithm>

#include "platform/numbers.h"

namespace ostrel {

namespace {

constexpr int dataoffset = 8;  // record head before the 64 data digits of a line

// How an old value becomes a current one.
enum class Conversion {
  None,
  Double,        // whole degrees to half degrees: at most 127, then x 2
  DoubleOffset,  // degrees around 128: 65..191, then (v - 128) x 2 + 128
  Times068,
  HalfOffset,  // (v - 128) x 0.5 + 128
  Times08,
  Half,
};

enum class Table { A, C, D, E };

struct Source {
  int map;
  Table table;
  int row;  // first row of the map in its table; for the 2-D maps the one row that holds them
  Conversion conversion;
};

// Where each current map lies in the old file. 3-D maps take (row + first row, col); 2-D maps (row, col) of A.
constexpr Source sources[] = {
    {0, Table::D, 0, Conversion::None},           {1, Table::E, 0, Conversion::None},
    {3, Table::E, 32, Conversion::None},          {8, Table::E, 64, Conversion::Double},
    {9, Table::E, 96, Conversion::DoubleOffset},  {11, Table::E, 128, Conversion::DoubleOffset},
    {12, Table::E, 160, Conversion::Double},      {19, Table::C, 0, Conversion::Times068},
    {24, Table::A, 16, Conversion::None},         {25, Table::A, 18, Conversion::HalfOffset},
    {26, Table::A, 21, Conversion::Times08},      {29, Table::A, 35, Conversion::None},
    {32, Table::A, 26, Conversion::DoubleOffset}, {33, Table::A, 25, Conversion::DoubleOffset},
    {40, Table::A, 17, Conversion::None},         {41, Table::A, 20, Conversion::None},
    {42, Table::A, 23, Conversion::None},         {43, Table::A, 32, Conversion::None},
    {44, Table::A, 28, Conversion::None},         {45, Table::A, 34, Conversion::None},
    {48, Table::A, 24, Conversion::Half},         {56, Table::A, 27, Conversion::None},
    {88, Table::A, 40, Conversion::None},         {89, Table::A, 41, Conversion::None},
    {90, Table::A, 42, Conversion::None},         {91, Table::A, 43, Conversion::None},
    {92, Table::A, 44, Conversion::None},         {93, Table::A, 45, Conversion::None},
    {94, Table::A, 46, Conversion::None},         {95, Table::A, 47, Conversion::None},
};

constexpr int settingsmap = 110;  // the old settings: table A rows 0 to 47, as they are

int hexvalue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The value of count digits at offset at of the raw file; -1 when one is not hexadecimal.
std::int32_t hexgroup(const QByteArray& raw, qsizetype at, int count) {
  std::int32_t value = 0;
  for (int k = 0; k < count; ++k) {
    const int d = hexvalue(raw[at + k]);
    if (d < 0) return -1;
    value = value * 16 + d;
  }
  return value;
}

// The old value as the conversion limits it before scaling.
int limitvalue(int v, Conversion conversion) {
  switch (conversion) {
    case Conversion::Double:
      return std::min(v, 127);
    case Conversion::DoubleOffset:
      return std::clamp(v, 65, 191);
    default:
      return v;
  }
}

// A limited old value in current units.
int convertvalue(int v, Conversion conversion) {
  switch (conversion) {
    case Conversion::None:
      return v;
    case Conversion::Double:
      return v * 2;
    case Conversion::DoubleOffset:
      return (v - 128) * 2 + 128;
    case Conversion::Times068:
      return static_cast<int>(roundhalfeven(v * 0.68));
    case Conversion::HalfOffset:
      return static_cast<int>(roundhalfeven((v - 128) * 0.5 + 128));
    case Conversion::Times08:
      return static_cast<int>(roundhalfeven(v * 0.8));
    case Conversion::Half:
      return static_cast<int>(roundhalfeven(v * 0.5));
  }
  return v;
}

}  // namespace

bool Maps25::openfile(const QString& path) {
  failuretext_.clear();
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
  const QByteArray raw = file.read(filesize);
  if (file.error() != QFileDevice::NoError) return false;
  // A short file lacks digits, which is the same damage as digits that are not hexadecimal.
  auto tables = raw.size() == filesize ? convert(raw) : std::nullopt;
  if (!tables) {
    failuretext_ = corruptedmessage;
    return false;
  }
  tables_ = *tables;
  return true;
}

std::optional<Maps25::Tables> Maps25::convert(const QByteArray& raw) {
  if (raw.size() < filesize) return std::nullopt;
  Tables t;
  auto byteat = [&raw](int line, int k) { return hexgroup(raw, qsizetype{linelength} * line + dataoffset + 2 * k, 2); };
  for (int line = 0; line <= 23; ++line) {
    for (int k = 0; k < 32; ++k) {
      const auto v = byteat(line, k);
      if (v < 0) return std::nullopt;
      t.a[static_cast<std::size_t>(2 * line + k / 16)][static_cast<std::size_t>(k % 16)] = static_cast<std::int16_t>(v);
    }
  }
  for (int line = 24; line <= 95; ++line) {
    for (int k = 0; k < 24; ++k) {
      const auto v = byteat(line, k);
      if (v < 0) return std::nullopt;
      t.b[static_cast<std::size_t>(line - 24)][static_cast<std::size_t>(k)] = static_cast<std::int16_t>(v);
    }
  }
  for (int line = 96; line <= 145; ++line) {
    for (int k = 0; k < 32; ++k) {
      const auto v = byteat(line, k);
      if (v < 0) return std::nullopt;
      t.c[static_cast<std::size_t>(line - 96)][static_cast<std::size_t>(k)] = static_cast<std::int16_t>(v);
    }
  }
  // The old fuel base table: sixteen 4-digit words a line, two lines to a row.
  for (int line = 146; line <= 209; ++line) {
    for (int k = 0; k < 16; ++k) {
      const auto v = hexgroup(raw, qsizetype{linelength} * line + dataoffset + 4 * k, 4);
      if (v < 0) return std::nullopt;
      t.d[static_cast<std::size_t>(line / 2 - 73)][static_cast<std::size_t>(16 * (line % 2) + k)] = v;
    }
  }
  for (int line = 210; line <= 401; ++line) {
    for (int k = 0; k < 32; ++k) {
      const auto v = byteat(line, k);
      if (v < 0) return std::nullopt;
      t.e[static_cast<std::size_t>(line - 210)][static_cast<std::size_t>(k)] = static_cast<std::int16_t>(v);
    }
  }
  return t;
}

std::optional<int> Maps25::getdata(int map, int row, int col) {
  if (map == settingsmap) {
    if (row < 0 || row >= 48 || col < 0 || col >= 16) return std::nullopt;
    return tables_.a[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  }
  const auto* source =
      std::find_if(std::begin(sources), std::end(sources), [map](const Source& s) { return s.map == map; });
  if (source == std::end(sources)) return std::nullopt;
  const auto c = static_cast<std::size_t>(col);
  if (source->table == Table::D) {
    if (row < 0 || row >= 32 || col < 0 || col >= 32) return std::nullopt;
    return tables_.d[static_cast<std::size_t>(row)][c];
  }
  std::int16_t* cell = nullptr;
  if (source->table == Table::A) {
    if (col < 0 || col >= 16) return std::nullopt;
    cell = &tables_.a[static_cast<std::size_t>(source->row)][c];
  } else {
    if (row < 0 || row >= 32 || col < 0 || col >= 32) return std::nullopt;
    const auto r = static_cast<std::size_t>(source->row + row);
    cell = source->table == Table::C ? &tables_.c[r][c] : &tables_.e[r][c];
  }
  // The limited value stays in the table.
  *cell = static_cast<std::int16_t>(limitvalue(*cell, source->conversion));
  return convertvalue(*cell, source->conversion);
}

std::uint8_t Maps25::getdata24to32(int /*map*/, int row, int col) const {
  const auto at = [this](int i, int j) {
    return static_cast<float>(tables_.b[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
  };
  const float x = static_cast<float>(std::clamp(row, 0, 31) * 0.74);
  const float y = static_cast<float>(std::clamp(col, 0, 31) * 0.74);
  const int i = static_cast<int>(x);
  const int j = static_cast<int>(y);
  const float fi = static_cast<float>(i), fj = static_cast<float>(j);
  const float r1 = (fi + 1 - x) * at(i, j) + (x - fi) * at(i + 1, j);
  const float r2 = (fi + 1 - x) * at(i, j + 1) + (x - fi) * at(i + 1, j + 1);
  const float v = (fj + 1 - y) * r1 + (y - fj) * r2;
  const float w = tables_.a[13][10];
  const float scaled = (v - 128) * w / 128 + 128;
  return static_cast<std::uint8_t>(roundclamp(scaled, 0, 255));
}

}  // namespace ostrel
