#pragma once

#include <QString>
#include <algorithm>
#include <vector>

#include "shell/shellhost.h"

namespace ostrel::test {

// Records every call the shell's logic makes into the main window, as text ("drawmap 1", "openmapview", ...).
struct RecordingShellHost : ShellHost {
  std::vector<QString> calls;
  std::vector<int> intervals;
  QString caption;

  int count(const QString& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

  void drawpanel(bool redraw) override { calls.push_back(QStringLiteral("drawpanel %1").arg(redraw)); }
  void drawmap(bool redraw) override { calls.push_back(QStringLiteral("drawmap %1").arg(redraw)); }
  void drawmap3d() override { calls.push_back(QStringLiteral("drawmap3d")); }
  void openmapview() override { calls.push_back(QStringLiteral("openmapview")); }
  void refreshactiveview() override { calls.push_back(QStringLiteral("refreshactiveview")); }
  void setmaincaption(const QString& text) override {
    caption = text;
    calls.push_back(QStringLiteral("setmaincaption"));
  }
  void buildnavtree(bool filltree, bool fillmenus) override {
    calls.push_back(QStringLiteral("buildnavtree %1 %2").arg(filltree).arg(fillmenus));
  }
  void loadpasswordfragments(bool reset) override {
    calls.push_back(QStringLiteral("loadpasswordfragments %1").arg(reset));
  }
  void buildmapmenu() override { calls.push_back(QStringLiteral("buildmapmenu")); }
  void showeditor(int kind) override { calls.push_back(QStringLiteral("showeditor %1").arg(kind)); }
  void flushpending() override { calls.push_back(QStringLiteral("flushpending")); }
  void setcommsinterval(int ms) override { intervals.push_back(ms); }
  void runmapsync() override { calls.push_back(QStringLiteral("runmapsync")); }
  void unloadmainwindow() override { calls.push_back(QStringLiteral("unloadmainwindow")); }
};

}  // namespace ostrel::test
