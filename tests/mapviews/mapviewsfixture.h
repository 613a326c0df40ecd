#pragma once

#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QString>
#include <vector>

#include "calibration/maps.h"
#include "common/testsupport.h"
#include "link/eculink.h"
#include "mapviews/mapviews.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel::test {

// A port that is never opened: the views only read the link's live cell.
class IdlePort final : public CommPort {
 public:
  bool open(const QString&, QString& reason) override {
    reason = QStringLiteral("no line in this test");
    return false;
  }
  void close() override {}
  bool isopen() const override { return false; }
  QString device() const override { return {}; }
  int inbuffercount() override { return 0; }
  int read(std::uint8_t*, int) override { return 0; }
  bool write(const std::uint8_t*, int) override { return false; }
  void discardinput() override {}
  bool failed(QString* = nullptr) const override { return false; }
};

// The link's upward calls, forwarded to the map views as the shell does, and recorded.
struct ForwardingHost : LinkHost {
  explicit ForwardingHost(MapViews& views) : views(views) {}
  void scrollgridtocell(bool flag) override { views.scrollgridtocell(flag); }
  void updategridhighlights(bool full) override { views.updategridhighlights(full); }
  void filldatagrid(bool full) override { views.filldatagrid(full); }
  MapViews& views;
};

// The map views' upward calls, recorded as text; the opening of a map goes on to the views, as the shell's does,
// and a closed view is minimised.
struct RecordingViewsHost : MapViewsHost {
  RecordingViewsHost(MapViews& views, const ProgramState& state, std::vector<QString>& calls)
      : views(views), state(state), calls(calls) {}

  void setfocus(MapView view) override {
    calls.push_back(view == MapView::grid ? QStringLiteral("focus grid") : QStringLiteral("focus graph"));
  }
  void openmapview() override {
    calls.push_back(QStringLiteral("openmapview %1").arg(state.curmap));
    views.openmapview();
  }
  void drawpanel(bool redraw) override { calls.push_back(QStringLiteral("drawpanel %1").arg(redraw)); }
  void statusmessage(const QString& text, bool clear) override {
    calls.push_back(QStringLiteral("status %1 %2").arg(text).arg(clear));
  }
  void setmaincaption(const QString& caption) override { maincaption = caption; }
  void maximisegrid() override { calls.push_back(QStringLiteral("maximisegrid")); }
  void drawmap(bool redraw) override { calls.push_back(QStringLiteral("drawmap %1").arg(redraw)); }
  void drawmapgraph(bool full, bool workcopy) override {
    calls.push_back(QStringLiteral("drawmapgraph %1 %2").arg(full).arg(workcopy));
  }
  void cleartabletrail() override { calls.push_back(QStringLiteral("cleartabletrail")); }
  void showinterpcopy() override { calls.push_back(QStringLiteral("interpcopy %1").arg(state.toolmode)); }
  void showvct() override { calls.push_back(QStringLiteral("vct")); }
  void minimizeonclose(QWidget* window) override {
    calls.push_back(QStringLiteral("minimizeonclose"));
    QWidget* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    (frame ? frame : window)->showMinimized();
  }

  MapViews& views;
  const ProgramState& state;
  std::vector<QString>& calls;
  QString maincaption;
};

// The map views over a calibration model, a link without a line and recording prompts; the host records calls.
class MapViewsTest : public ::testing::Test {
 protected:
  MapViewsTest() { views.sethost(&viewshost); }
  ~MapViewsTest() override { views.sethost(nullptr); }

  // The shipped calibration, as the program opens at start-up.
  void openshipped() { ASSERT_TRUE(model.openfile(sourcepath(QStringLiteral("data/lastsaved.s26")), true, false)); }

  // The calls recorded whose text starts with the prefix.
  std::vector<QString> callsof(const QString& prefix) const {
    std::vector<QString> out;
    for (const QString& c : calls)
      if (c.startsWith(prefix)) out.push_back(c);
    return out;
  }

  QString text(int gridrow, int gridcol) { return views.mapgrid().celltext(gridrow, gridcol); }
  std::uint32_t back(int gridrow, int gridcol) { return views.mapgrid().cellbackcolor(gridrow, gridcol); }

  TempInstallFolder folder;
  ProgramState state;
  RecordingPrompts prompts;
  maps model{prompts};
  IdlePort port;
  EcuLink link{state, model, prompts, port};
  MapViews views{state, model, link, prompts};
  std::vector<QString> calls;
  RecordingViewsHost viewshost{views, state, calls};
  const QString& maincaption = viewshost.maincaption;
};

}  // namespace ostrel::test
