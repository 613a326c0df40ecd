#pragma once

#include <optional>
#include <string>

#include "calibration/maps.h"

namespace ostrel::ecusim {

// The image the simulator starts from. With no path: the shipped calibration, the one the program's first start
// puts into its data folder and opens, so that a first connection finds the ECU holding what the program shows.
// With a path: a calibration file as the program saves it, or a raw 32768-byte image (told apart by the size).
// Empty, with the reason in error, when the shipped calibration cannot be read or the file is neither.
std::optional<CalibrationImage> startimage(const std::string& path, std::string& error);

}  // namespace ostrel::ecusim
