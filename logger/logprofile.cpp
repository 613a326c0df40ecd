#include "logger/logprofile.h"

#include <QFileInfo>

#include "platform/filesave.h"
#include "platform/installfolder.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/readfile.h"

namespace ostrel {

namespace {

const QString profilefilter = QStringLiteral("lgp files (*.lgp)");

void fileerror(Prompts& prompts) {
  prompts.message(fileerrormessage, Prompts::Icon::Exclamation);
}

}  // namespace

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
    if (colour < logcolourlimit) state.logcolour[static_cast<std::size_t>(i)] = colour;
  }
  for (int i = 0; i < 16; ++i) {
    const auto variable = static_cast<std::uint8_t>(bytes[i + 16]);
    if (variable < logvarlimit) state.logvar[static_cast<std::size_t>(i)] = variable;
  }
}

bool loadlogprofile(const QString& path, ProgramState& state) {
  const FileRead file = readfilehead(path, logprofilesize);
  if (!file.ok() || file.bytes.size() < logprofilesize) return false;
  applylogprofile(file.bytes, state);
  return true;
}

QByteArray logprofilebytes(const ProgramState& state) {
  QByteArray bytes(logprofilesize, '\0');
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t colour = state.logcolour[static_cast<std::size_t>(i)];
    const std::uint8_t variable = state.logvar[static_cast<std::size_t>(i)];
    bytes[i] = static_cast<char>(colour < logcolourlimit ? colour : 0);
    bytes[i + 16] = static_cast<char>(variable < logvarlimit ? variable : 0);
  }
  return bytes;
}

QString savelogprofile(const QString& path, const ProgramState& state) {
  return savefile(path, logprofilebytes(state));
}

QString withdefaultextension(const QString& path, const QString& extension) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1Char('.') + extension;
}

bool loadprofilecommand(Prompts& prompts, ProgramState& state) {
  const QString path = prompts.openfilename(QStringLiteral("Load profile"), profilefilter, installfolder());
  if (path.isEmpty()) return false;
  if (!loadlogprofile(path, state)) {
    fileerror(prompts);
    return false;
  }
  return true;
}

bool saveprofilecommand(Prompts& prompts, const ProgramState& state) {
  const QString path = withdefaultextension(
      prompts.savefilename(QStringLiteral("Save profile"), profilefilter, installfolder()), QStringLiteral("lgp"));
  if (path.isEmpty()) return false;
  if (!savelogprofile(path, state).isEmpty()) {
    fileerror(prompts);
    return false;
  }
  return true;
}

bool savedefaultprofilecommand(Prompts& prompts, const ProgramState& state) {
  if (!savelogprofile(installpath(defaultlogprofilename), state).isEmpty()) {
    fileerror(prompts);
    return false;
  }
  return true;
}

}  // namespace ostrel
