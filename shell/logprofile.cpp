#include "shell/logprofile.h"

#include "platform/programstate.h"
#include "platform/readfile.h"

namespace ostrel {

const std::array<std::uint8_t, logprofilesize>& defaultlogprofile() {
  static constexpr std::array<std::uint8_t, logprofilesize> profile = {
      0, 1,  2, 3, 4, 5,  6,  7, 8, 9, 10, 11, 12, 13, 14, 15,  // trace colours
      2, 28, 3, 4, 1, 13, 15, 9, 0, 7, 8,  27, 14, 16, 31, 5,   // live variables
  };
  return profile;
}

void applylogprofile(const QByteArray& bytes, ProgramState& state) {
  if (bytes.size() < logprofilesize) return;
  for (int i = 0; i < 16; ++i) {
    const auto colour = static_cast<std::uint8_t>(bytes[i]);
    if (colour < logcolourlimit) state.logcolour[i] = colour;
  }
  for (int i = 0; i < 16; ++i) {
    const auto variable = static_cast<std::uint8_t>(bytes[i + 16]);
    if (variable < logvarlimit) state.logvar[i] = variable;
  }
}

bool loadlogprofile(const QString& path, ProgramState& state) {
  const FileRead file = readfilehead(path, logprofilesize);
  if (!file.ok() || file.bytes.size() < logprofilesize) return false;
  applylogprofile(file.bytes, state);
  return true;
}

}  // namespace ostrel
