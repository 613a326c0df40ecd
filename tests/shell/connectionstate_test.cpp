#include "shell/connectionstate.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <memory>

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

TEST(ConnectionState, OnlineMenusFollowTheConnection) {
  std::vector<std::unique_ptr<QAction>> actions;
  OnlineMenus menus;
  for (const OnlineMenuItem& item : onlinemenuitems) {
    actions.push_back(std::make_unique<QAction>(QString::fromLatin1(item.caption)));
    menus.*item.action = actions.back().get();
  }
  const auto enabled = [&] {
    QStringList on;
    for (const auto& a : actions)
      if (a->isEnabled()) on << a->text();
    return on;
  };
  const QStringList connected = {"Sa&ve to ECU",
                                 "&Complete Verify from ECU",
                                 "&Fast verify from ECU",
                                 "O&pen from ECU",
                                 "&Disconnect",
                                 "Lea&rn data",
                                 "&Inputs",
                                 "&Fuel multipliers",
                                 "&LTT table",
                                 "&Firmware version",
                                 "&Input diagnostic"};
  const QStringList offline = {"&Connect", "&Import map fragment", "Import &default injector reponse map",
                               "&VE to Fuel Base Table", "&Fuel Base Table to VE"};
  ProgramState state;
  state.online = true;
  setonlinemenus(menus, state);
  EXPECT_EQ(enabled(), connected);
  state.online = false;
  setonlinemenus(menus, state);
  EXPECT_EQ(enabled(), offline);

  // Items not filled in are skipped.
  OnlineMenus partial;
  partial.mnuComsConnect = actions[5].get();
  state.online = true;
  setonlinemenus(partial, state);
  EXPECT_FALSE(actions[5]->isEnabled());
  EXPECT_TRUE(actions[6]->isEnabled());
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
