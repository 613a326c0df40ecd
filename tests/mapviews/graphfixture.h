#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "common/linkhelpers.h"
#include "common/pictures.h"
#include "common/testrig.h"
#include "mapviews/frmmap.h"
#include "mapviews/keyhandler.h"
#include "mapviews/mapviews.h"
#include "platform/colors.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"

namespace ostrel::test {

// What the graph window hands on, recorded: its calls up through the views' host, and the keys it gives the
// keyboard handler (which does nothing with them here).
struct RecordingGraphHost final : MapViewsHost {
  void statusmessage(const QString& text, bool clear) override {
    calls.push_back(QStringLiteral("status %1|%2").arg(text).arg(clear));
  }
  void minimizeonclose(QWidget*) override { calls.push_back(QStringLiteral("minimizeonclose")); }
  std::vector<QString> calls;
};

struct RecordingKeys final : KeyHandler {
  RecordingKeys(Rig& rig, MapViews& views, std::vector<QString>& calls)
      : KeyHandler(rig.state, rig.mainmaps, rig.mainsettings, rig.link, views, rig.prompts), calls(calls) {
    install();
  }
  int mapkeydown(int keycode, int shift, MapView view, bool loadup) override {
    calls.push_back(QStringLiteral("mapkeydown %1 %2 %3 %4")
                        .arg(keycode)
                        .arg(shift)
                        .arg(view == MapView::grid ? QStringLiteral("grid") : QStringLiteral("graph"))
                        .arg(loadup));
    return 0;
  }
  std::vector<QString>& calls;
};

// The graph window over the shipped calibration and a link without a line, shown offscreen.
class GraphWindowTest : public ::testing::Test {
 protected:
  explicit GraphWindowTest(int widthpx = 640, int heightpx = 560) {
    views.sethost(&host);
    window.resize(widthpx, heightpx);
    window.show();
  }

  void open(int map) {
    rig.state.curmap = static_cast<std::uint8_t>(map);
    window.cleartabletrail();
    window.drawmap(true);
  }
  void live(int row, int col) {
    changelive(rig.link, [&](LiveData& l) {
      l.liverow = static_cast<std::uint8_t>(row);
      l.livecol = static_cast<std::uint8_t>(col);
    });
  }
  const QImage& picture() const { return window.picGraph()->image(); }

  Rig rig;
  RecordingGraphHost host;
  MapViews views{rig.state, rig.mainmaps, rig.link, rig.prompts};
  RecordingKeys keys{rig, views, host.calls};
  frmMap window{rig.state, rig.mainmaps, rig.link, views};
};

}  // namespace ostrel::test
