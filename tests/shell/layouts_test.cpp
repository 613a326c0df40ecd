// The window layouts: where VIEW A, B and C put the five permanent windows for a main window's size, with and
// without the status window, what happens to a window that stays minimised or a main window too small, the settings
// editor's layout, and the same arithmetic over real MDI sub-windows.
#include "shell/layouts.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <map>
#include <string>
#include <vector>

#include "platform/twips.h"

using namespace ostrel;

namespace {

// A window that records what the layout does to it. It may refuse to come back from minimised, and may not take a
// size below its minimum, as a real window might.
struct FakeWindow final : LayoutWindow {
  FakeWindow(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
  void shownormal() override {
    log.push_back(name + " normal");
    if (!staysminimised) minimised = false;
  }
  void showminimised() override {
    log.push_back(name + " minimised");
    minimised = true;
  }
  bool isnormal() const override { return !minimised; }
  void setrect(const TwipRect& r) override {
    log.push_back(name + " placed");
    rect_ = {r.left, r.top, std::max(r.width, minwidth), r.height};
  }
  TwipRect rect() const override { return rect_; }

  std::string name;
  std::vector<std::string>& log;
  bool minimised = false;
  bool staysminimised = false;
  int minwidth = 0;
  TwipRect rect_{1, 2, 3, 4};
};

struct FakeTree final : LayoutTree {
  void settreesize(int w, int h) override { size = {w, h}; }
  std::pair<int, int> size{-1, -1};
};

struct Windows {
  std::vector<std::string> log;
  FakeWindow display{"display", log}, graph{"graph", log}, grid{"grid", log}, status{"status", log},
      navigate{"navigate", log}, settings{"settings", log};
  FakeTree tree;
  LayoutWindows all{display, graph, grid, status, navigate, tree, &settings};

  void arrange(int layout, int w, int h, bool statuson) { arrangelayout(layout, w, h, statuson, all); }
};

struct Expected {
  TwipRect display, graph, grid, navigate, status;
  std::pair<int, int> tree;
};

// A main window of 1280 by 960 pixels.
constexpr int W = 19200;
constexpr int H = 14400;

}  // namespace

TEST(Layouts, TheThreeViewsPlaceEveryWindowFromTheMainWindowsSize) {
  struct Case {
    int layout;
    bool statuson;
    Expected expected;
  };
  const TwipRect untouched{1, 2, 3, 4};
  const Case cases[] = {
      {1, true,
       {{0, 0, 4400, 6900}, {4400, 0, 8880, 6900}, {13280, 0, 5624, 6900}, {0, 6900, 9450, 6200},
        {9450, 6900, 9500, 6200}, {9100, 5500}}},
      {1, false,
       {{0, 0, 4400, 6900}, {4400, 0, 8880, 6900}, {13280, 0, 5624, 6900}, {0, 6900, 18950, 6200}, untouched,
        {18600, 5500}}},
      {2, true,
       {{16121, 0, 2750, 6900}, {4606, 0, 11515, 6900}, {4606, 6900, 14265, 6300}, {0, 0, 4606, 10560},
        {0, 10560, 4606, 2640}, {4256, 9860}}},
      {2, false,
       {{16121, 0, 2750, 6900}, {4606, 0, 11515, 6900}, {4606, 6900, 14265, 6300}, {0, 0, 4606, 13200}, untouched,
        {4256, 12500}}},
      {3, true,
       {{16072, 0, 2750, 6900}, {4592, 0, 11480, 7920}, {0, 7920, 16072, 5280}, {0, 0, 4592, 7920},
        {16072, 6900, 2750, 6300}, {4242, 7220}}},
      {3, false,
       {{16072, 0, 2750, 13200}, {4592, 0, 11480, 7920}, {0, 7920, 16072, 5280}, {0, 0, 4592, 7920}, untouched,
        {4242, 7220}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " status " << c.statuson);
    Windows w;
    w.arrange(c.layout, W, H, c.statuson);
    EXPECT_EQ(w.display.rect(), c.expected.display);
    EXPECT_EQ(w.graph.rect(), c.expected.graph);
    EXPECT_EQ(w.grid.rect(), c.expected.grid);
    EXPECT_EQ(w.navigate.rect(), c.expected.navigate);
    EXPECT_EQ(w.status.rect(), c.expected.status);
    EXPECT_EQ(w.tree.size, c.expected.tree);
    // Every window is brought back first, in order; the status window ends minimised when it is off.
    const std::vector<std::string> first(w.log.begin(), w.log.begin() + 5);
    EXPECT_EQ(first, (std::vector<std::string>{"display normal", "graph normal", "grid normal", "status normal",
                                               "navigate normal"}));
    EXPECT_EQ(w.status.minimised, !c.statuson);
    EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "settings placed"), 0);
  }
}

TEST(Layouts, TheWindowsPlacedLaterGoByTheSizeAWindowTook) {
  // The gauge window stays wider than asked: the graph and the grid of VIEW A start where it ends.
  Windows w;
  w.display.minwidth = 5000;
  w.arrange(1, W, H, true);
  EXPECT_EQ(w.graph.rect(), (TwipRect{5000, 0, 8520, 6900}));
  EXPECT_EQ(w.grid.rect(), (TwipRect{13520, 0, 5396, 6900}));
}

TEST(Layouts, AWindowThatStaysMinimisedKeepsItsPlaceAndTheOthersUseItsSize) {
  Windows w;
  w.navigate.minimised = true;
  w.navigate.staysminimised = true;
  w.navigate.rect_ = {0, 12000, 2400, 400};
  w.arrange(2, W, H, true);
  EXPECT_EQ(w.navigate.rect(), (TwipRect{0, 12000, 2400, 400}));
  EXPECT_EQ(std::count(w.log.begin(), w.log.end(), "navigate placed"), 0);
  // The graph starts where the minimised navigation window ends, the status window sits under it.
  EXPECT_EQ(w.graph.rect(), (TwipRect{2400, 0, 11515, 6900}));
  EXPECT_EQ(w.status.rect(), (TwipRect{0, 400, 2400, 12800}));
  EXPECT_EQ(w.grid.rect().left, 2400);
  EXPECT_EQ(w.tree.size, (std::pair<int, int>{2050, 15})) << "the tree never goes below a pixel";
}

TEST(Layouts, AMainWindowTooSmallLeavesEveryWindowAPixel) {
  for (int layout : {1, 2, 3}) {
    for (bool statuson : {true, false}) {
      SCOPED_TRACE(testing::Message() << "layout " << layout << " status " << statuson);
      Windows w;
      w.arrange(layout, 600, 450, statuson);
      for (const FakeWindow* f : {&w.display, &w.graph, &w.grid, &w.navigate, &w.status}) {
        if (f == &w.status && !statuson) continue;
        EXPECT_GE(f->rect().width, twipsperpixel) << f->name;
        EXPECT_GE(f->rect().height, twipsperpixel) << f->name;
      }
      EXPECT_GE(w.tree.size.first, twipsperpixel);
      EXPECT_GE(w.tree.size.second, twipsperpixel);
    }
  }
}

TEST(Layouts, TheSettingsLayoutTouchesNothingElseAndOtherValuesNothingAtAll) {
  Windows w;
  w.status.minimised = true;
  w.arrange(10, W, H, false);
  EXPECT_EQ(w.log, std::vector<std::string>{"settings placed"});
  EXPECT_EQ(w.settings.rect(), (TwipRect{2750, 800, 12400, 8400}));
  EXPECT_TRUE(w.status.minimised);

  // Without an open settings editor layout 10 does nothing.
  Windows none;
  none.all.settings = nullptr;
  none.arrange(10, W, H, true);
  EXPECT_TRUE(none.log.empty());

  for (int layout : {0, 4, 9, 11, 255}) {
    Windows other;
    other.arrange(layout, W, H, true);
    EXPECT_TRUE(other.log.empty()) << layout;
  }
}

TEST(Layouts, RealSubWindowsTakeThePlacesInPixels) {
  QMdiArea area;
  area.resize(1280, 960);
  area.show();
  std::map<std::string, QMdiSubWindow*> frames;
  for (const char* name : {"display", "graph", "grid", "status", "navigate"}) {
    auto* label = new QLabel(QString::fromLatin1(name));
    QMdiSubWindow* frame = area.addSubWindow(label);
    frame->setMinimumSize(1, 1);
    frame->showMinimized();
    frames[name] = frame;
  }
  SubWindowLayout display(frames["display"]), graph(frames["graph"]), grid(frames["grid"]), status(frames["status"]),
      navigate(frames["navigate"]);
  FakeTree tree;
  LayoutWindows windows{display, graph, grid, status, navigate, tree};

  arrangelayout(1, W, H, true, windows);
  EXPECT_EQ(frames["display"]->geometry(), QRect(0, 0, 293, 460));
  EXPECT_EQ(frames["graph"]->geometry(), QRect(293, 0, 592, 460));  // (19200 - 4395) x 0.6 = 8883 twips
  EXPECT_EQ(frames["navigate"]->geometry(), QRect(0, 460, 630, 413));
  for (const auto& [name, frame] : frames) EXPECT_FALSE(frame->isMinimized()) << name;

  arrangelayout(3, W, H, false, windows);
  EXPECT_TRUE(frames["status"]->isMinimized());
  EXPECT_EQ(frames["navigate"]->geometry(), QRect(0, 0, 306, 528));
  EXPECT_EQ(frames["grid"]->geometry(), QRect(0, 528, 1071, 352));
  EXPECT_EQ(frames["display"]->geometry().height(), 880);

  // The settings layout leaves the sub-windows where they are.
  std::map<std::string, QRect> before;
  for (const auto& [name, frame] : frames) before[name] = frame->geometry();
  arrangelayout(10, W, H, true, windows);
  for (const auto& [name, frame] : frames) EXPECT_EQ(frame->geometry(), before[name]) << name;
  EXPECT_TRUE(frames["status"]->isMinimized());
}
