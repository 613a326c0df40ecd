#include "calibration/bytetables.h"

#include <cstring>

namespace ostrel {

namespace {

// The block table: byte i (0 to 127) is (0x5A + 7 * i) mod 256, sixteen bytes a row.
constexpr HexTableText blockhex = {"5A61686F767D848B9299A0A7AEB5BCC3",
                                   "CAD1D8DFE6EDF4FB020910171E252C33",
                                   "3A41484F565D646B727980878E959CA3",
                                   "AAB1B8BFC6CDD4DBE2E9F0F7FE050C13",
                                   "1A21282F363D444B525960676E757C83",
                                   "8A91989FA6ADB4BBC2C9D0D7DEE5ECF3",
                                   "FA01080F161D242B323940474E555C63",
                                   "6A71787F868D949BA2A9B0B7BEC5CCD3",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "",
                                   "",
                                   ""};

// The byte substitution of calibration files: a fixed shuffle of the 256 byte values. Files written under one
// table read back only under the same table, so these digits never change.
constexpr HexTableText substitutionhex = {
    "8070EC42071C72ACA6EAC615B093547C", "5F795D1E288364D64C2FA9760A829096", "F8D2A2B6FF3C86FC2CD09A634DC88822",
    "F548C9ABDC1B33AE029F0DCCE94A914F", "D5C10134B708FD2D6CF9443DE35565D7", "A5B929B51894BE77BA8123119ED1DEE1",
    "EFE6F3DB6004E0A3491F5189627D3637", "F7252B142767C0FA8F6124698B38D32E", "E785DF95AACFBF32436A59B2A420B11D",
    "A76D129D47AD588439E43F3A0B5C8D0E", "D95B4E30CEDDED2A8E06EEC45E3E56E2", "71E8450046267EB4A0F48CF6E516680C",
    "19CAF16FB3BD10666B97C23B7F7AD499", "6EAF4103531AD8B8BBA1789CFBC3CDF0", "9257091321055A503587C78A404B31CB",
    "0F75EB73C55298F2DAFE7B7417BCA89B"};

int hexdigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Byte at column j of a text line: digits 2j and 2j + 1; a missing or bad digit makes the byte 0.
std::uint8_t linebyte(const char* line, int column) {
  if (line == nullptr) return 0;
  const std::size_t at = 2 * static_cast<std::size_t>(column);
  if (std::strlen(line) < at + 2) return 0;
  const int high = hexdigit(line[at]);
  const int low = hexdigit(line[at + 1]);
  if (high < 0 || low < 0) return 0;
  return static_cast<std::uint8_t>(16 * high + low);
}

}  // namespace

ByteTables parsehextables(const HexTableText& blocktext, const HexTableText& substitutiontext) {
  ByteTables t;
  for (int i = 0; i < 128; ++i) t.blocktable[i / 16][i % 16] = linebyte(blocktext[i / 16], i % 16);
  for (int i = 0; i < 256; ++i) t.substitution[i / 16][i % 16] = linebyte(substitutiontext[i / 16], i % 16);
  // Searching the table for each image byte, a later entry wins and a byte found nowhere encodes as 0.
  for (int i = 0; i < 256; ++i) t.encode[t.substitution[i / 16][i % 16]] = static_cast<std::uint8_t>(i);
  return t;
}

const HexTableText& storedblocktext() {
  return blockhex;
}
const HexTableText& storedsubstitutiontext() {
  return substitutionhex;
}

const ByteTables& bytetables() {
  static const ByteTables tables = parsehextables(blockhex, substitutionhex);
  return tables;
}

}  // namespace ostrel
