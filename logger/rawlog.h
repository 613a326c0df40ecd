#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace ostrel {

class logsamples;
struct ProgramState;

// The raw log file ("*.rdl") keeps a whole log losslessly: 24,000 lines of 78 bytes shaped like S1 records, in
// ASCII with CR LF. Line 0 is "S1230CL:US", the 32 profile bytes (16 colour codes, 16 variable numbers) and "FF";
// data line k (file line k + 1) is "S1230", five upper-case hexadecimal digits of 32 k, the 16 channel bytes of
// samples 2k and 2k + 1, and "FF". So samples 0 to 47,997 are kept; the last two and the time stamps are not.
// The "FF" is no checksum and the length and address fields follow no S-record rule: the reader takes only the
// hexadecimal pairs at their fixed offsets, in either case.
inline constexpr int rawloglinelength = 78;
inline constexpr int rawlogdatalines = 23999;
inline constexpr int rawloglines = rawlogdatalines + 1;
inline constexpr int rawlogsize = rawloglines * rawloglinelength;  // 1,872,000
inline constexpr int rawlogsamples = 2 * rawlogdatalines;          // 47,998

// The header line from the channel tables, as they stand.
QByteArray rawlogheader(const std::array<std::uint8_t, 16>& logcolour, const std::array<std::uint8_t, 16>& logvar);
// Appends data lines first to last - 1 (0 to 23,998).
void appendrawloglines(QByteArray& out, const logsamples& store, int first, int last);
// The whole file.
QByteArray rawlogbytes(const ProgramState& state, const logsamples& store);

// A raw log file, checked whole: every pair the import takes is hexadecimal.
struct RawLog {
  QByteArray profile;                 // 32 bytes
  std::vector<std::uint8_t> samples;  // samples 0 to 47,997, 16 bytes each
};
// Empty when the file is too short to hold every pair (a line-feed-only file is) or a pair is not hexadecimal.
std::optional<RawLog> parserawlog(const QByteArray& file);
// Takes a checked file into the tables (a colour code of 17 or more or a variable number of 128 or more keeps that
// channel's entry) and samples 0 to 47,997 of the store; the time stamps, the last two samples and the sample
// counter stay.
void applyrawlog(const RawLog& log, ProgramState& state, logsamples& store);

}  // namespace ostrel
