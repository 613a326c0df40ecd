#pragma once

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <memory>

#include "common/testrig.h"
#include "link/linkhost.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"
#include "shell/statuslog.h"

namespace ostrel::test {

// The link's panel redraws go to the live panel, counted.
struct PanelHost : LinkHost {
  LivePanel* panel = nullptr;
  int valuepasses = 0;
  void drawpanel(bool redraw) override {
    if (!redraw) ++valuepasses;
    if (panel) panel->drawpanel(redraw);
  }
};

// The gauge window in an MDI area with its live panel, and a link over the ECU simulator that redraws the panel.
class DisplayFixture : public ::testing::Test, protected Rig {
 protected:
  DisplayFixture() : Rig(1, StartImage::blank) {
    display = new frmDisplay(state, link, &log);
    frame = area.addSubWindow(display);
    panel = std::make_unique<LivePanel>(state, model, link, *display);
    display->setpanel(panel.get());
    host.panel = panel.get();
    link.sethost(&host);
    area.resize(1500, 1000);
    area.show();
    frame->show();
  }
  ~DisplayFixture() override { link.sethost(nullptr); }

  maps& model = mainmaps;
  StatusLog log;
  PanelHost host;
  QMdiArea area;
  frmDisplay* display = nullptr;  // owned by the area
  QMdiSubWindow* frame = nullptr;
  std::unique_ptr<LivePanel> panel;
};

}  // namespace ostrel::test
