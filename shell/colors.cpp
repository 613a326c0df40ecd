#include "shell/colors.h"

#include <QDir>
#include <QFile>

#include "platform/colors.h"
#include "platform/filesave.h"
#include "platform/installfolder.h"
#include "platform/numbers.h"
#include "platform/prompts.h"
#include "shell/shellhost.h"

namespace ostrel {

const std::array<ColorSlot, 6> colorslots = {{
    {"Background color", &Colors::bgcolor},
    {"Wire graph color", &Colors::wirecolor},
    {"RPM band color", &Colors::rpmbandcolor},
    {"MAP band color", &Colors::mapbandcolor},
    {"Keyboard trim band color", &Colors::trimbandcolor},
    {"Highlight color", &Colors::highlightcolor},
}};

QByteArray colorbytes(const Colors& colors) {
  QByteArray out;
  out.reserve(colorfilesize);
  for (const ColorSlot& slot : colorslots) {
    const std::uint32_t c = colors.*slot.color;
    for (int shift = 24; shift >= 0; shift -= 8) out.append(static_cast<char>((c >> shift) & 0xFF));
  }
  return out;
}

std::uint32_t shadecolorof(std::uint32_t bgcolor, std::uint32_t wirecolor) {
  std::uint32_t shade = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double mixed = 0.3 * ((bgcolor >> shift) & 0xFF) + 0.68 * ((wirecolor >> shift) & 0xFF);
    shade |= static_cast<std::uint32_t>(roundclamp(mixed, 0, 255)) << shift;
  }
  return shade;
}

bool colorsfrombytes(const QByteArray& bytes, Colors& colors) {
  if (bytes.size() < colorfilesize) return false;
  const auto byte = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])); };
  for (int k = 0; k < static_cast<int>(colorslots.size()); ++k) {
    colors.*colorslots[k].color = byte(4 * k + 1) << 16 | byte(4 * k + 2) << 8 | byte(4 * k + 3);
  }
  colors.shadecolor = shadecolorof(colors.bgcolor, colors.wirecolor);
  return true;
}

bool loadcolors(Colors& colors, Prompts& prompts) {
  const QString path = installpath(colorsfilename);
  QFile file(path);
  if (!file.exists()) return false;
  if (!file.open(QIODevice::ReadOnly)) {
    prompts.message(QStringLiteral("The colour file %1 could not be read (%2). The colours stay as they were.")
                        .arg(QDir::toNativeSeparators(path), file.errorString()),
                    Prompts::Icon::Exclamation);
    return false;
  }
  if (colorsfrombytes(file.read(colorfilesize), colors)) return true;
  prompts.message(QStringLiteral("The colour file %1 is damaged. The colours stay as they were.")
                      .arg(QDir::toNativeSeparators(path)),
                  Prompts::Icon::Exclamation);
  return false;
}

bool savecolors(const Colors& colors, Prompts& prompts) {
  const QString path = installpath(colorsfilename);
  // Whatever a longer file holds after the six records is kept.
  const QString failure = savefilehead(path, colorbytes(colors));
  if (failure.isEmpty()) return true;
  prompts.message(
      QStringLiteral("The colours could not be saved in %1 (%2). They stay in force until the program ends.")
          .arg(QDir::toNativeSeparators(path), failure),
      Prompts::Icon::Exclamation);
  return false;
}

ColorsEditor::ColorsEditor(Colors& colors, Prompts& prompts, ShellHost& host)
    : colors_(colors), prompts_(prompts), host_(host) {}

std::uint32_t ColorsEditor::color(int entry) const {
  if (entry < 0 || entry >= static_cast<int>(colorslots.size())) return 0;
  return colors_.*colorslots[entry].color;
}

bool ColorsEditor::pick(int entry) {
  if (entry < 0 || entry >= static_cast<int>(colorslots.size())) return false;
  const std::optional<QColor> chosen = prompts_.colour(bgrtocolor(color(entry)));
  if (!chosen || !chosen->isValid()) return false;
  colors_.*colorslots[entry].color = colortobgr(*chosen);
  return true;
}

bool ColorsEditor::save() {
  if (!savecolors(colors_, prompts_)) return false;
  host_.drawmap(true);
  return true;
}

void ColorsEditor::ok() {
  host_.drawmap(true);
}

}  // namespace ostrel
