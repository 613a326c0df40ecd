// The geometry of the logger's traces and value boxes.
#include "logger/logdisplay.h"

#include <gtest/gtest.h>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "logger/logsamples.h"
#include "loggerfixture.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace {

constexpr double W = 13500.0, H = 4000.0;  // s = 10 twips a raw unit, raw 0 at y 3800

class Traces : public ::testing::Test {
 protected:
  logsamples store;
  std::array<std::uint8_t, 16> colours{};
  Traces() {
    store.resetlogsamples();
    for (int i = 0; i < 16; ++i) colours[static_cast<std::size_t>(i)] = i < 3 ? static_cast<std::uint8_t>(i) : 16;
    test::record(
        store, 300, [](int s) { return s / 10; }, [](int s, int c) { return (s + c) % 200; });
  }
};

TEST(TraceGeometry, ColumnsAndScale) {
  const struct {
    std::int32_t logindex;
    int column;
    int cursor;
  } cases[] = {{-50, 0, -49}, {-49, 0, -48}, {-1, 0, 0},  {0, 0, 1},
               {1, 1, 2},     {99, 99, 0},   {100, 0, 1}, {47999, 99, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(tracecolumn(c.logindex), c.column) << c.logindex;
    EXPECT_EQ(tracecursorcolumn(c.logindex), c.cursor) << c.logindex;
  }
  EXPECT_EQ(tracex(0), 150.0);
  EXPECT_EQ(tracex(100), 13150.0);
  EXPECT_EQ(tracescale(H), 10.0);
  EXPECT_EQ(tracey(0, H), 3800.0);
  EXPECT_EQ(tracey(256, H), 1240.0);
}

TEST_F(Traces, PageColumn99EndsAtTheRightEdgeAndPointsTheCursorHome) {
  const TraceStep step = drawdatastep(99, 1, colours, store, W, H);
  EXPECT_EQ(step.column, 99);
  EXPECT_FALSE(step.newpage);
  EXPECT_TRUE(step.grid.empty());
  ASSERT_EQ(step.segments.size(), 3u);  // channels 0 to 2 are traced
  const TraceLine& s1 = step.segments[1];
  EXPECT_EQ(s1.from, QPointF(tracex(99), tracey((97 + 1) % 200, H)));
  EXPECT_EQ(s1.to, QPointF(13150.0, tracey((98 + 1) % 200, H)));
  EXPECT_EQ(s1.colour, logpalette[1]);
  EXPECT_EQ(step.cursor[0].to, QPointF(150.0, 1060.0));
  EXPECT_EQ(step.cursor[0].from, QPointF(120.0, 1000.0));
  EXPECT_EQ(step.cursor[1].from, QPointF(180.0, 1000.0));
  EXPECT_EQ(step.cursorstrip, QRectF(QPointF(0, 992), QPointF(W, 1060)));
}

TEST_F(Traces, WarmUpStartsAPageEveryStepWithFlatTracesAtZero) {
  for (std::int32_t logindex : {-49, -10, -1}) {
    const TraceStep step = drawdatastep(logindex, 1, colours, store, W, H);
    EXPECT_TRUE(step.newpage);
    EXPECT_EQ(step.page, QRectF(QPointF(0, 992), QPointF(W, H)));
    ASSERT_EQ(step.grid.size(), 118u);
    EXPECT_EQ(step.grid[0].from, QPointF(150, 3800));
    EXPECT_EQ(step.grid[0].to, QPointF(150, 1240));
    EXPECT_EQ(step.grid[101].from, QPointF(150, 3800));  // first level line
    EXPECT_EQ(step.grid[117].to, QPointF(13170, 1240));  // last level line
    for (const TraceLine& s : step.segments) {
      EXPECT_EQ(s.from, QPointF(150, 3800));
      EXPECT_EQ(s.to, QPointF(280, 3800));
    }
    if (logindex < -1) {
      EXPECT_LT(step.cursor[1].from.x(), 0.0);  // left of the picture
    }
  }
}

TEST_F(Traces, FirstSegmentsAreFlatThenJoinTheLastTwoSamples) {
  for (std::int32_t logindex : {1, 2}) {
    const TraceStep step = drawdatastep(logindex, 1, colours, store, W, H);
    for (const TraceLine& s : step.segments) EXPECT_EQ(s.from.y(), s.to.y()) << logindex;
  }
  const TraceStep third = drawdatastep(3, 1, colours, store, W, H);
  EXPECT_EQ(third.segments[0].from.y(), tracey(1, H));
  EXPECT_EQ(third.segments[0].to.y(), tracey(2, H));
}

TEST_F(Traces, MonitorTracesItsFourChannelsInWhite) {
  const TraceStep logger = drawdatastep(50, 1, colours, store, W, H);
  EXPECT_EQ(logger.segments.size(), 3u);
  const TraceStep monitor = drawdatastep(50, 4, colours, store, W, H);
  ASSERT_EQ(monitor.segments.size(), 7u);
  for (std::size_t k = 3; k < 7; ++k) EXPECT_EQ(monitor.segments[k].colour, tracewhite);
  EXPECT_EQ(monitor.segments[3].to.y(), tracey((49 + 12) % 200, H));
}

TEST(ValueBoxes, NameValueUnitsRightAlignedInTheTraceColour) {
  settings tables;
  RecordingPrompts modelprompts;
  maps model{modelprompts};
  ProgramState state;
  state.logvar[0] = 2;  // engine speed
  state.logvar[9] = 40;
  state.logcolour[0] = 5;
  state.logcolour[9] = 16;
  logsamples store;
  store.resetlogsamples();
  store.setlogdata(9, 0, 60);
  store.setlogdata(9, 9, 3);
  const LogColumns columns = logcolumns(state, tables, model, logvariables(tables));
  RxFrame last = test::reply(100);

  const auto boxes = logtypedatastep(10, 1, columns, store, last);
  ASSERT_EQ(boxes.size(), 16u);
  EXPECT_EQ(boxes[0].text, "engine speed 3000 (rpm)");  // 23 characters
  EXPECT_EQ(boxes[0].textpos, QPointF(1 * 40 + 60, 100));
  EXPECT_EQ(boxes[0].box, QRectF(QPointF(30, 80), QPointF(1650, 330)));
  EXPECT_EQ(boxes[0].colour, logpalette[5]);
  EXPECT_EQ(boxes[9].text, "ats fuel trim -25.0 (%)");
  EXPECT_EQ(boxes[9].colour, tracewhite);  // no trace, but the value shows
  EXPECT_EQ(boxes[9].box, QRectF(QPointF(1680, 580), QPointF(3300, 830)));
  for (const ValueBox& b : boxes)  // 40 twips right for each character short of 24; left of the box when longer
    EXPECT_EQ(b.textpos,
              QPointF((24.0 - b.text.size()) * 40 + 1650 * (b.channel % 8) + 60, 500 * (b.channel / 8) + 100));

  const auto monitor = logtypedatastep(10, 4, columns, store, last);
  ASSERT_EQ(monitor.size(), 16u);
  EXPECT_TRUE(monitor[12].raw);
  EXPECT_EQ(monitor[12].channel, 12);
  EXPECT_EQ(monitor[12].text, "112");
  EXPECT_EQ(monitor[15].text, "115");
  EXPECT_EQ(monitor[15].textpos, QPointF(1650 * 7 + 720, 600));
  EXPECT_EQ(logtypedatastep(10, 0, columns, store, last).size(), 12u);
}

}  // namespace
