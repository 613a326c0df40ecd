#include "calibration/calfile.h"

#include "calibration/bytetables.h"
#include "platform/filesave.h"
#include "platform/prompts.h"
#include "platform/readfile.h"

namespace ostrel {

namespace {

constexpr int bytesperline = 32;
constexpr int dataoffset = 8;    // "S123" and the four address digits come first
constexpr int map0bytes = 2048;  // map 0: 1024 cells of two bytes, high byte first
constexpr int map0limit = 8000;
constexpr char digitshift = 0x31;  // "0" + 0x31 = "a", "A" + 0x31 = "r"

constexpr char hexdigits[] = "0123456789ABCDEF";

// Value of one data digit in the format, or -1 when the character is not one of its digits.
int datadigit(char c, CalFormat format) {
  if (format == CalFormat::Current) {
    if (c >= 'a' && c <= 'j') return c - 'a';
    if (c >= 'r' && c <= 'w') return c - 'r' + 10;
    return -1;
  }
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;  // lower case is not a beta digit
  return -1;
}

char writtendigit(int value, CalFormat format) {
  const char c = hexdigits[value & 0x0F];
  return format == CalFormat::Current ? static_cast<char>(c + digitshift) : c;
}

void showfailure(Prompts& prompts, const QString& text) {
  prompts.message(text, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
}

}  // namespace

QByteArray encodecalfile(const CalibrationImage& image, CalFormat format) {
  QByteArray text(calfilesize, '\0');
  char* out = text.data();
  for (int k = 0; k < calfilelines; ++k) {
    char* line = out + k * calfilelinelength;
    const int address = 0x8000 + bytesperline * k;
    line[0] = 'S';
    line[1] = '1';
    line[2] = '2';
    line[3] = '3';
    for (int d = 0; d < 4; ++d) line[4 + d] = hexdigits[(address >> (12 - 4 * d)) & 0x0F];
    for (int n = 0; n < bytesperline; ++n) {
      const std::uint8_t b = image[static_cast<std::size_t>(bytesperline * k + n)];
      const std::uint8_t e = format == CalFormat::Current ? encodefilebyte(b) : b;
      line[dataoffset + 2 * n] = writtendigit(e >> 4, format);
      line[dataoffset + 2 * n + 1] = writtendigit(e, format);
    }
    line[72] = 'F';
    line[73] = 'F';
    line[74] = '\r';
    line[75] = '\n';
  }
  return text;
}

std::optional<CalibrationImage> decodecalfile(const QByteArray& text, CalFormat format, bool lfonly) {
  const qsizetype linelength = lfonly ? calfilelinelength - 1 : calfilelinelength;
  CalibrationImage image{};
  for (int k = 0; k < calfilelines; ++k) {
    for (int n = 0; n < bytesperline; ++n) {
      const qsizetype at = linelength * k + dataoffset + 2 * n;
      // A file that ends early has no digit here, which is refused like a bad one.
      if (at + 1 >= text.size()) return std::nullopt;
      const int high = datadigit(text[at], format);
      const int low = datadigit(text[at + 1], format);
      if (high < 0 || low < 0) return std::nullopt;
      const auto b = static_cast<std::uint8_t>(16 * high + low);
      image[static_cast<std::size_t>(bytesperline * k + n)] = format == CalFormat::Current ? decodefilebyte(b) : b;
    }
  }
  for (std::size_t o = 0; o < map0bytes; o += 2) {
    if (256 * image[o] + image[o + 1] > map0limit) {
      image[o] = map0limit / 256;
      image[o + 1] = map0limit % 256;
    }
  }
  return image;
}

std::optional<CalibrationImage> readcalfile(const QString& path, CalFormat format, bool lfonly, Prompts& prompts) {
  // Nothing past the line layout is ever read.
  const FileRead file = readfilehead(path, qint64{lfonly ? calfilelinelength - 1 : calfilelinelength} * calfilelines);
  // Only an existing regular file counts as a file; a folder, a pipe or a device is refused unread.
  if (file.status == FileRead::Status::Missing || file.status == FileRead::Status::NotRegular) {
    showfailure(prompts, QStringLiteral("A file system error occurred"));
    return std::nullopt;
  }
  if (!file.ok()) {
    showfailure(prompts, QStringLiteral("A file opening error occurred"));
    return std::nullopt;
  }
  auto image = decodecalfile(file.bytes, format, lfonly);
  if (!image) {
    showfailure(prompts, format == CalFormat::Current ? QStringLiteral("The file is not a valid 2.64+ file")
                                                      : QStringLiteral("The file is not a valid beta file"));
    showfailure(prompts, QStringLiteral("A file opening error occurred"));
  }
  return image;
}

bool writecalfile(const QString& path, const CalibrationImage& image) {
  return savefile(path, encodecalfile(image, CalFormat::Current)).isEmpty();
}

}  // namespace ostrel
