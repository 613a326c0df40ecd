#include "shell/connectionstate.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "platform/programstate.h"

using namespace ostrel;

TEST(ConnectionState, CheckCommsStateOnlyForFastVerifyAndAutoTune) {
  struct Case {
    int livemode, toolmode;
    bool want;
  };
  for (const Case c : {Case{19, 0, true},
                       {0, 12, true},
                       {19, 12, true},
                       {18, 11, false},
                       {0, 0, false},
                       {20, 13, false},
                       {15, 3, false}}) {
    ProgramState state;
    state.livemode = static_cast<std::uint8_t>(c.livemode);
    state.toolmode = static_cast<std::uint8_t>(c.toolmode);
    EXPECT_EQ(checkcommsstate(state), c.want) << c.livemode << " " << c.toolmode;
  }
}

namespace {

// A permanent child view the way the main window holds one.
class PermanentView : public QLabel {
 public:
  explicit PermanentView(const ProgramState& state) : QLabel(QStringLiteral("view")), state_(state) {}

 protected:
  void closeEvent(QCloseEvent* event) override { keepopenonclose(this, event, state_); }

 private:
  const ProgramState& state_;
};

}  // namespace

TEST(ConnectionState, ClosedChildWindowIsMinimisedUntilExit) {
  ProgramState state;
  QMdiArea area;
  area.resize(600, 400);
  auto* view = new PermanentView(state);
  QMdiSubWindow* sub = area.addSubWindow(view);
  area.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));

  EXPECT_FALSE(sub->close());
  EXPECT_TRUE(sub->isMinimized());
  EXPECT_EQ(area.subWindowList().size(), 1);

  sub->showNormal();
  minimizeonclose(view, state);
  EXPECT_TRUE(sub->isMinimized());

  state.exiting = true;
  sub->showNormal();
  minimizeonclose(view, state);
  EXPECT_FALSE(sub->isMinimized());
  EXPECT_TRUE(sub->close());
  EXPECT_FALSE(sub->isVisible());
}
