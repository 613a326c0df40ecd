// The calibration file operations of class maps; the format itself is in calfile.cpp.

#include "calibration/calfile.h"
#include "calibration/maps.h"

namespace ostrel {

bool maps::savefile(const QString& path) {
  return writecalfile(path, getimage());
}

bool maps::openfile(const QString& path, bool current, bool lfonly) {
  // The whole file is read and checked before a single cell changes, so a bad file leaves the calibration as it was.
  const auto image = readcalfile(path, current ? CalFormat::Current : CalFormat::Beta, lfonly, prompts_);
  if (!image) return false;
  setimage(*image);
  recalc();
  return true;
}

}  // namespace ostrel
