#include <gtest/gtest.h>

#include <set>

#include "calibration/bytetables.h"

using namespace ostrel;

TEST(ByteTables, SubstitutionIsAPermutationThatIsNeitherIdentityNorItsOwnInverse) {
  std::set<int> seen;
  bool identity = true, selfinverse = true;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<std::uint8_t>(b);
    seen.insert(decodefilebyte(byte));
    EXPECT_EQ(decodefilebyte(encodefilebyte(byte)), b);
    EXPECT_EQ(encodefilebyte(decodefilebyte(byte)), b);
    identity = identity && decodefilebyte(byte) == b;
    selfinverse = selfinverse && decodefilebyte(decodefilebyte(byte)) == b;
  }
  EXPECT_EQ(seen.size(), 256u);
  EXPECT_FALSE(identity);
  EXPECT_FALSE(selfinverse);
}

TEST(ByteTables, TablesHoldTheBytesTheirTextSpells) {
  const ByteTables& t = bytetables();
  auto digits = [](const char* line, int j) { return std::stoi(std::string(line + 2 * j, 2), nullptr, 16); };
  for (int k = 0; k < 16; ++k) {
    for (int j = 0; j < 16; ++j) {
      EXPECT_EQ(t.blocktable[k][j], k < 8 ? digits(storedblocktext()[k], j) : 0) << k << "," << j;
      EXPECT_EQ(t.substitution[k][j], digits(storedsubstitutiontext()[k], j)) << k << "," << j;
    }
  }
  // File byte b reads as entry (high nibble, low nibble).
  EXPECT_EQ(decodefilebyte(0x00), t.substitution[0][0]);
  EXPECT_EQ(decodefilebyte(0x3C), t.substitution[3][12]);
  EXPECT_EQ(decodefilebyte(0xFF), t.substitution[15][15]);
}

TEST(ByteTables, EncodingOfAnImperfectTableTakesTheLastMatchAndZeroForNone) {
  // Every entry 0x11 except two 0x22s: 0x22 encodes as the later position, and a byte found nowhere as 0.
  HexTableText lines;
  static const std::string plain(32, '1');
  lines.fill(plain.c_str());
  static const std::string second(31, '1');  // the last byte lacks a digit
  lines[1] = "22111111111111111111111111111122";
  lines[2] = second.c_str();
  const ByteTables t = parsehextables(lines, lines);
  EXPECT_EQ(t.encode[0x22], 0x1F);
  EXPECT_EQ(t.encode[0x11], 0xFF);
  EXPECT_EQ(t.encode[0x33], 0x00);
  EXPECT_EQ(t.substitution[2][15], 0x00);  // a byte with a missing digit reads as 0
  EXPECT_EQ(t.encode[0x00], 0x2F);
  EXPECT_EQ(t.blocktable[8][0], 0);  // block text lines 8 to 15 are never read
}
