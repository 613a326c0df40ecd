#pragma once

#include <QLocale>
#include <QString>
#include <memory>
#include <vector>

#include "calibration/maps25.h"
#include "common/testrig.h"
#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "editors/frmsettings.h"

namespace ostrel::test {

// Counts the calls the editors make upward.
struct RecordingEditorsHost final : EditorsHost {
  int navtrees = 0;
  int onlinemenus = 0;
  int mapviews = 0;
  std::vector<int> progressjobs;
  std::vector<bool> passwordloads;  // the reset argument of each reload
  void buildnavtree() override { ++navtrees; }
  void setonlinemenus() override { ++onlinemenus; }
  void openmapview() override { ++mapviews; }
  void runprogressjob(int job) override { progressjobs.push_back(job); }
  void loadpasswordfragments(bool reset) override { passwordloads.push_back(reset); }
};

// A number as the system writes it: the C-locale text with the system's decimal separator.
inline QString regional(QString ctext) {
  return ctext.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// The editor over the test rig's calibration, settings and link (the in-process simulator).
struct EditorRig : Rig {
  RecordingEditorsHost host;
  Maps25 oldmaps;
  EditorContext context{state, prompts, mainmaps, mainsettings, link, host, templatemaps, oldmaps};

  // Opens the settings editor on a settings map, shown but not modal.
  std::unique_ptr<frmSettings> open(int map) {
    state.curmap = static_cast<std::uint8_t>(map);
    auto window = std::make_unique<frmSettings>(context);
    window->show();
    return window;
  }
  std::uint8_t raw(int map, int n) const { return static_cast<std::uint8_t>(mainmaps.getdata(map, n / 16, n % 16)); }
  void setraw(int map, int n, int value) { mainmaps.setdata(map, n / 16, n % 16, value, false); }
};

}  // namespace ostrel::test
