#include "ecusim/startimage.h"

#include <QString>
#include <algorithm>

#include "calibration/calfile.h"
#include "platform/installfolder.h"
#include "platform/readfile.h"

namespace ostrel::ecusim {

std::optional<CalibrationImage> startimage(const std::string& path, std::string& error) {
  if (path.empty()) {
    auto image = decodecalfile(shippedfile(QStringLiteral("lastsaved.s26")), CalFormat::Current, false);
    if (!image) error = "the shipped calibration lastsaved.s26 cannot be read";
    return image;
  }
  // Read as the program reads a calibration file: what follows the data lines is never looked at. A raw image is
  // the file of exactly its size.
  const FileRead file = readfilehead(QString::fromStdString(path), calfilesize);
  if (!file.ok()) {
    error = path + ": " + file.reason.toStdString();
    return std::nullopt;
  }
  if (file.bytes.size() == imagesize) {
    CalibrationImage image{};
    std::copy(file.bytes.begin(), file.bytes.end(), image.begin());
    return image;
  }
  auto image = decodecalfile(file.bytes, CalFormat::Current, false);
  if (!image) error = path + " is neither a calibration file as the program saves it nor a 32768-byte image";
  return image;
}

}  // namespace ostrel::ecusim
