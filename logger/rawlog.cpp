#include "logger/rawlog.h"

#include "logger/logprofile.h"
#include "logger/logsamples.h"
#include "platform/programstate.h"

namespace ostrel {

namespace {

constexpr int fieldoffset = 10;  // the 32 hexadecimal pairs of a line start here
constexpr int linebytes = 32;
const char upperhex[] = "0123456789ABCDEF";

void appendhex(QByteArray& out, std::uint8_t byte) {
  out += upperhex[byte >> 4];
  out += upperhex[byte & 0x0F];
}

int hexdigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The 32 bytes of file line n; false when a pair is not hexadecimal.
bool readline(const QByteArray& file, int n, std::uint8_t* bytes) {
  const char* field = file.constData() + static_cast<std::ptrdiff_t>(n) * rawloglinelength + fieldoffset;
  for (int j = 0; j < linebytes; ++j) {
    const int high = hexdigit(field[2 * j]), low = hexdigit(field[2 * j + 1]);
    if (high < 0 || low < 0) return false;
    bytes[j] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return true;
}

}  // namespace

QByteArray rawlogheader(const std::array<std::uint8_t, 16>& logcolour, const std::array<std::uint8_t, 16>& logvar) {
  QByteArray line = QByteArrayLiteral("S1230CL:US");
  for (std::uint8_t b : logcolour) appendhex(line, b);
  for (std::uint8_t b : logvar) appendhex(line, b);
  line += QByteArrayLiteral("FF\r\n");
  return line;
}

void appendrawloglines(QByteArray& out, const logsamples& store, int first, int last) {
  for (int k = first; k < last && k < rawlogdatalines; ++k) {
    out += QByteArrayLiteral("S1230");
    const int address = 32 * k;
    for (int shift = 16; shift >= 0; shift -= 4) out += upperhex[(address >> shift) & 0x0F];
    const std::uint8_t* bytes = store.sampledata(2 * k);  // samples 2k and 2k + 1 lie next to each other
    for (int j = 0; j < linebytes; ++j) appendhex(out, bytes[j]);
    out += QByteArrayLiteral("FF\r\n");
  }
}

QByteArray rawlogbytes(const ProgramState& state, const logsamples& store) {
  QByteArray out;
  out.reserve(rawlogsize);
  out += rawlogheader(state.logcolour, state.logvar);
  appendrawloglines(out, store, 0, rawlogdatalines);
  return out;
}

std::optional<RawLog> parserawlog(const QByteArray& file) {
  // The last pair read ends 76 bytes into the last line; its "FF" and line end are not needed.
  constexpr int needed = (rawloglines - 1) * rawloglinelength + fieldoffset + 2 * linebytes;
  if (file.size() < needed) return std::nullopt;
  RawLog log;
  log.profile = QByteArray(logprofilesize, '\0');
  if (!readline(file, 0, reinterpret_cast<std::uint8_t*>(log.profile.data()))) return std::nullopt;
  log.samples.resize(static_cast<std::size_t>(rawlogsamples) * 16);
  for (int k = 0; k < rawlogdatalines; ++k)
    if (!readline(file, k + 1, log.samples.data() + static_cast<std::size_t>(k) * linebytes)) return std::nullopt;
  return log;
}

void applyrawlog(const RawLog& log, ProgramState& state, logsamples& store) {
  applylogprofile(log.profile, state);
  for (int s = 0; s < rawlogsamples; ++s)
    for (int c = 0; c < 16; ++c)
      store.setlogdata(s, c, log.samples[static_cast<std::size_t>(s) * 16 + static_cast<std::size_t>(c)]);
}

}  // namespace ostrel
