#include <gtest/gtest.h>

#include <QScrollBar>

#include "graphfixture.h"

using namespace ostrel;
using test::GraphWindowTest;

TEST_F(GraphWindowTest, ScreenshotsOfTheTimingMapAtTwoAngles) {
  rig.state.cursorrow = 6;
  rig.state.cursorcol = 20;
  live(14, 9);
  open(8);
  test::savescreenshot(&window, QStringLiteral("graph_map8_angle62"));
  window.HScroll1()->setValue(200);
  window.VScroll1()->setValue(3);
  test::savescreenshot(&window, QStringLiteral("graph_map8_angle200"));
}

