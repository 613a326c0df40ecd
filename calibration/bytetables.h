#pragma once

#include <array>
#include <cstdint>

namespace ostrel {

// A table of 16 rows by 16 bytes, element [row][column].
using ByteGrid = std::array<std::array<std::uint8_t, 16>, 16>;
// A table as stored: 16 lines of hexadecimal text, two upper-case digits per byte, most significant first.
using HexTableText = std::array<const char*, 16>;

struct ByteTables {
  // Rows 0 to 7 are the 128 bytes written to ECU RAM 0x5680 to 0x56FF ahead of row writes; rows 8 to 15 are 0.
  ByteGrid blocktable{};
  // Every data byte of a calibration file passes through this: file byte b reads as [b / 16][b % 16].
  ByteGrid substitution{};
  // The inverse of substitution, used when writing.
  std::array<std::uint8_t, 256> encode{};
};

// Turns the two texts into tables. Block text lines 0 to 7 give block rows 0 to 7 (lines 8 to 15 are not read);
// substitution text line i gives row i. A byte with a missing or non-hexadecimal digit reads as 0.
ByteTables parsehextables(const HexTableText& blocktext, const HexTableText& substitutiontext);

// The program's own texts of the two tables.
const HexTableText& storedblocktext();
const HexTableText& storedsubstitutiontext();

// The program's tables, parsed from the stored texts on first use and constant afterwards.
const ByteTables& bytetables();
inline const ByteGrid& blocktable() {
  return bytetables().blocktable;
}

// File byte (two data digits, unshifted) to image byte.
inline std::uint8_t decodefilebyte(std::uint8_t b) {
  return bytetables().substitution[b >> 4][b & 0x0F];
}
// Image byte to the file byte that decodes to it.
inline std::uint8_t encodefilebyte(std::uint8_t b) {
  return bytetables().encode[b];
}

}  // namespace ostrel
