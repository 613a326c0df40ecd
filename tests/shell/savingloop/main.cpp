// Saves a calibration, the preferences and the colours over and over, the two versions of each in turn, until it
// is killed:
//   savingloop INSTALLFOLDER
// It writes one byte to its output after every round of saves, so that the test kills it while it saves.

#include <cstdio>
#include <unistd.h>

#include "platform/installfolder.h"
#include "platform/prompts.h"
#include "savecontents.h"
#include "shell/colors.h"
#include "shell/preferences.h"

using namespace ostrel;
using namespace ostrel::test::saving;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: savingloop INSTALLFOLDER\n");
    return 2;
  }
  setinstallfolder(QString::fromLocal8Bit(argv[1]));
  RecordingPrompts prompts;
  maps model(prompts);
  const QString calibration = installpath(calibrationname);
  for (unsigned n = 1;; ++n) {
    const int version = static_cast<int>(n % 2);
    model.setimage(image(version));
    if (!model.savefile(calibration) || !savepreferences(preferences(version), prompts) ||
        !savecolors(colours(version), prompts)) {
      std::fprintf(stderr, "savingloop: a save failed\n");
      return 1;
    }
    [[maybe_unused]] const auto written = ::write(STDOUT_FILENO, "s", 1);
  }
}
