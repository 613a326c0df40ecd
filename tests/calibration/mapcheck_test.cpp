#include "calibration/mapcheck.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "calibration/maps.h"
#include "platform/prompts.h"

using namespace ostrel;

namespace ostrel {
void PrintTo(const MapCheckFigures& f, std::ostream* os) {
  *os << "{" << f.deviation << ", " << f.loweststep << ", " << f.higheststep << ", " << f.neutralcount << ", "
      << f.lastcellneutral << "}";
}
}  // namespace ostrel

namespace {

using Row = std::array<int, 16>;

struct Models {
  RecordingPrompts prompts;
  maps model{prompts};
  maps templ{prompts};

  void set(int map, const Row& values, const Row& templatevalues) {
    for (int c = 0; c < 16; ++c) {
      model.setdata(map, 0, c, values[static_cast<std::size_t>(c)], false);
      templ.setdata(map, 0, c, templatevalues[static_cast<std::size_t>(c)], false);
    }
  }
};

using F = MapCheckFault;

}  // namespace

TEST(MapCheck, FiguresOfRowZeroAgainstTheTemplate) {
  struct Case {
    const char* what;
    int map;
    Row values, templatevalues;
    MapCheckFigures figures;
  };
  const Case cases[] = {
      {"identical and falling to zero",
       24,
       {80, 70, 60, 50, 40, 30, 20, 12, 6, 2, 0, 0, 0, 0, 0, 0},
       {80, 70, 60, 50, 40, 30, 20, 12, 6, 2, 0, 0, 0, 0, 0, 0},
       {0, -10, 0, 6, true}},
      // The first cell's own step is 0, so a map that only rises keeps a lowest step of 0.
      {"rising, off the template",
       29,
       {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100, 100, 100, 100, 100},
       {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100, 100, 100, 100, 90},
       {10, 0, 10, 1, false}},
      {"first cell above the second",
       26,
       {90, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 25},
       {20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20},
       {75, -70, 5, 0, false}},
      // A map with a display offset is neutral at 128; its zeros are not.
      {"offset map",
       25,
       {0, 0, 128, 128, 128, 130, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128},
       {128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128},
       {258, -2, 128, 13, true}},
  };
  for (const Case& c : cases) {
    Models m;
    m.set(c.map, c.values, c.templatevalues);
    EXPECT_EQ(mapcheckfigures(m.model, m.templ, c.map), c.figures) << c.what;
  }
  Models m;
  EXPECT_EQ(neutralvalue(m.model, 24), 0);
  EXPECT_EQ(neutralvalue(m.model, 25), 128);
  EXPECT_EQ(neutralvalue(m.model, 32), 128);
  EXPECT_EQ(neutralvalue(m.model, 40), 0);
}

// Every limit is broken only beyond it, and the faults come in the order the check reports them.
TEST(MapCheck, LimitsAreExactAndFaultsComeInReportOrder) {
  const CheckLimits limits{100, 20, -30, 2, true};
  struct Case {
    MapCheckFigures figures;
    std::vector<F> faults;
  };
  const Case cases[] = {
      {{100, -30, 20, 2, true}, {}},
      {{100.001, -30, 20, 2, true}, {F::Deviation}},
      {{100, -31, 20, 2, true}, {F::NegativeGradient}},
      {{100, -30, 21, 2, true}, {F::PositiveGradient}},
      {{100, -30, 20, 2, false}, {F::RightCellNotNeutral}},
      {{100, -30, 20, 1, true}, {F::NeutralCount}},
      {{500, -90, 90, 0, false},
       {F::Deviation, F::NegativeGradient, F::PositiveGradient, F::RightCellNotNeutral, F::NeutralCount}},
  };
  for (const Case& c : cases) EXPECT_EQ(mapcheckfaults(c.figures, limits), c.faults) << c.figures.deviation;
  // The default record holds no limit in effect.
  EXPECT_TRUE(mapcheckfaults({4096, -10000, 10000, 0, false}, CheckLimits{}).empty());
}

TEST(MapCheck, ChecksAMapAgainstItsOwnRecord) {
  Models m;
  // Map 30 must fall (rise 0, fall -80) and end at zero.
  m.set(30, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50},
        {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50});
  EXPECT_EQ(checkmap(m.model, m.templ, 30), std::vector<F>{F::RightCellNotNeutral});
  m.set(30, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 0},
        {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 0});
  EXPECT_TRUE(checkmap(m.model, m.templ, 30).empty());
  m.set(30, {50, 60, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 0},
        {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 0});
  EXPECT_EQ(checkmap(m.model, m.templ, 30), std::vector<F>{F::PositiveGradient});
  EXPECT_TRUE(checkmap(m.model, m.templ, 116).empty());
}
