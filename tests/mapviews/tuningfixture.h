#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "common/linkhelpers.h"
#include "common/testrig.h"
#include "mapviews/mapviews.h"
#include "mapviews/tuningtools.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {

// The tuning tools' calls upward through the views' host, recorded.
struct RecordingTuningHost final : MapViewsHost {
  void drawmap(bool redraw) override { calls.push_back(QStringLiteral("drawmap %1").arg(redraw)); }
  void openmapview() override { calls.push_back(QStringLiteral("openmapview")); }
  GraphAngles graphangles() const override { return angles; }
  GraphAngles angles;
  std::vector<QString> calls;
};

// The tuning tools over the shipped calibration, the simulator behind an in-process port, the map views and a
// scripted launcher, so that no tool window blocks.
class TuningTest : public ::testing::Test {
 protected:
  TuningTest() {
    rig.state.preferences.trackmode = false;
    views.sethost(&host);
  }
  ~TuningTest() override { views.sethost(nullptr); }

  // Every cell of a map set to the value, without changed marks.
  void fill(int map, int value) {
    for (int r = 0; r < rig.mainmaps.getmaprows(map); ++r)
      for (int c = 0; c < rig.mainmaps.getmapcols(map); ++c) rig.mainmaps.setdata(map, r, c, value, false);
  }
  // A selection box over rows r0..r1 and columns c0..c1 of the current map (map terms).
  void select(int r0, int r1, int c0, int c1) {
    TrimBox& box = rig.state.trimbox;
    box.active = true;
    box.rowmin = static_cast<std::uint8_t>(r0), box.rowmax = static_cast<std::uint8_t>(r1);
    box.colmin = static_cast<std::uint8_t>(c0), box.colmax = static_cast<std::uint8_t>(c1);
  }
  void live(int row, int col) {
    changelive(rig.link, [&](LiveData& l) {
      l.liverow = static_cast<std::uint8_t>(row);
      l.livecol = static_cast<std::uint8_t>(col);
    });
  }
  // As a live-values reply with this target and feedback would leave the live values.
  void mixture(int target, int feedback) {
    changelive(rig.link, [&](LiveData& l) {
      l.afrtarget = static_cast<std::uint8_t>(target);
      l.livevars[6] = static_cast<std::int16_t>(feedback);
      ++l.livevaluesreplies;
    });
  }

  Rig rig;
  MapViews views{rig.state, rig.mainmaps, rig.link, rig.prompts};
  RecordingTuningHost host;
  TuningContext context{rig.state, rig.mainmaps, rig.templatemaps, rig.link, views, rig.prompts};
  TuningTools tools{context};
  ScriptedLauncher launcher;
  ScopedLauncher scoped{launcher};
};

}  // namespace ostrel::test
