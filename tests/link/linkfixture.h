#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "common/testrig.h"
#include "link/linkhost.h"

namespace ostrel::test {

// Records every call the link makes upward.
struct RecordingHost : LinkHost {
  std::vector<QString> calls;
  std::vector<QString> statuslines;
  std::vector<RxFrame> samples;
  std::vector<QString> completion;  // what follows a whole-image read, in order
  std::vector<bool> onlinechanges;
  bool commsstate = false;
  int interval = 0;

  void drawpanel(bool redraw) override { calls.push_back(QStringLiteral("drawpanel %1").arg(redraw)); }
  void drawmap(bool redraw) override { calls.push_back(QStringLiteral("drawmap %1").arg(redraw)); }
  void scrollgridtocell(bool flag) override { calls.push_back(QStringLiteral("scrollgridtocell %1").arg(flag)); }
  void updategridhighlights(bool full) override {
    calls.push_back(QStringLiteral("updategridhighlights %1").arg(full));
  }
  void filldatagrid(bool full) override { calls.push_back(QStringLiteral("filldatagrid %1").arg(full)); }
  void statusmessage(const QString& text, bool /*clear*/) override { statuslines.push_back(text); }
  bool checkcommsstate() override { return commsstate; }
  void setcommsinterval(int ms) override { interval = ms; }
  void addlogsample(const RxFrame& rxframe) override {
    calls.push_back(QStringLiteral("addlogsample"));
    samples.push_back(rxframe);
  }
  void onlinechanged(bool online) override { onlinechanges.push_back(online); }
  void buildnavtree(bool filltree, bool fillmenus) override {
    completion.push_back(QStringLiteral("buildnavtree %1 %2").arg(filltree).arg(fillmenus));
  }
  void loadpasswordfragments(bool reset) override {
    completion.push_back(QStringLiteral("loadpasswordfragments %1").arg(reset));
  }
  void openmapview() override { completion.push_back(QStringLiteral("openmapview")); }
};

// The link over an in-process simulator. Every request table carries a marker in its first byte (0x10 logaddr,
// 0x20 lttaddr, ... list 1 one higher), so that a frame tells which table it wrote.
class SimLink : public ::testing::Test, protected Rig {
 protected:
  SimLink() : Rig(1, StartImage::blank) {
    link.sethost(&host);
    port.keepwritten = true;
    for (int t = 0; t < 8; ++t) {
      const auto table = static_cast<LiveTable>(t);
      RequestTable marked = link.requesttable(table);
      for (int l = 0; l < 2; ++l) marked[l][0] = static_cast<std::uint8_t>(0x10 * (t + 1) + l);
      link.setrequesttable(table, marked);
    }
  }

  // One tick of the communications timer, and the time it takes.
  void step(int ticks = 1) { tick(ticks); }

  // Opens the port and passes the start-up wait: the first tick finds no reply and sends slot 0, three ticks idle,
  // the fifth sends slot 0 again. Afterwards the written frames are those from that fifth tick on.
  void connectandsettle() {
    ASSERT_TRUE(link.openport());
    step(4);
    port.written.clear();
    step(1);
  }

  // A name for a request frame: site, values, window, the table a 0x80 frame writes (log0, ltt1, ...), pw0..pw7.
  static QString label(const std::vector<std::uint8_t>& f) {
    switch (f[0]) {
      case 0x90:
        return QStringLiteral("site");
      case 0x91:
        return QStringLiteral("values");
      case 0x93:
        return QStringLiteral("window");
      case 0x81:
        return QStringLiteral("row");
      case 0x82:
        return QStringLiteral("read");
      case 0x80: {
        if (f[2] == 0x68) return QStringLiteral("pw%1").arg(f[3] / 16);
        static const char* names[] = {"log", "ltt", "inputs", "vct", "ramdump", "fuelmuls", "firmware", "diag"};
        const int t = f[4] / 16 - 1;
        if ((f[2] == 0x6D) && (f[3] == 0xB0 || f[3] == 0xC0) && t >= 0 && t < 8)
          return QString::fromLatin1(names[t]) + QString::number(f[4] % 16);
        return QStringLiteral("ram%1").arg(f[2] * 256 + f[3], 4, 16, QLatin1Char('0'));
      }
      default:
        return QStringLiteral("?");
    }
  }
  QStringList labels() const {
    QStringList out;
    for (const auto& f : port.written) out << label(f);
    return out;
  }

  maps& model = mainmaps;
  RecordingHost host;
};

}  // namespace ostrel::test
