#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "common/testrig.h"
#include "logger/logprofile.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "logger/ui/frmlog.h"
#include "logger/ui/frmprogress.h"
#include "logger/ui/loggercontext.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel::test {

// Window data reaches the sample store as the shell routes it: through the link's host.
struct LogLinkHost final : LinkHost {
  ProgramState& state;
  logsamples& store;
  LogLinkHost(ProgramState& s, logsamples& l) : state(s), store(l) {}
  void addlogsample(const RxFrame& rxframe) override { ostrel::addlogsample(state, store, rxframe); }
};

// The progress jobs' calls upward, straight into the link: the map synchronisation queues the current map's rows at
// once (the shell's commands timer would after its countdown).
struct LinkProgressHost final : ProgressHost {
  ProgramState& state;
  EcuLink& link;
  int views = 0;
  LinkProgressHost(ProgramState& s, EcuLink& l) : state(s), link(l) {}
  void queuemaprows(int firstrow, int lastrow, int firstcol, int lastcol) override {
    link.queuemapwrite(state.curmap, static_cast<std::uint8_t>(firstrow), static_cast<std::uint8_t>(lastrow),
                       static_cast<std::uint8_t>(firstcol), static_cast<std::uint8_t>(lastcol));
  }
  void openmapview() override { ++views; }
};

inline QByteArray shippedprofile() {
  const auto& p = defaultlogprofile();
  return QByteArray(reinterpret_cast<const char*>(p.data()), static_cast<int>(p.size()));
}

// The logger's windows over the test rig: the shipped log profile as start-up loads it, the sample store fed by the
// link, the progress jobs, and a scripted launcher so that no modal window blocks.
struct LoggerRig : Rig {
  logsamples store;
  LogLinkHost linkhost{state, store};
  LinkProgressHost progresshost{state, link};
  ProgressJobs jobs{state, mainmaps, mainsettings, store, link, prompts};
  LoggerContext context{state, prompts, mainmaps, mainsettings, link, store, jobs};
  ScriptedLauncher launcher;
  ScopedLauncher scoped{launcher};

  LoggerRig() {
    store.resetlogsamples();  // as the main window's load does, the counter staying at -50
    applylogprofile(shippedprofile(), state);
    link.sethost(&linkhost);
    jobs.sethost(&progresshost);
  }
  ~LoggerRig() { link.sethost(nullptr); }

  std::unique_ptr<frmLog> open() {
    auto window = std::make_unique<frmLog>(context);
    window->show();
    return window;
  }
  // Communications timer ticks (30 ms) with the logger's timer (250 ms) once in eight of them.
  void run(frmLog& window, int ticks) {
    for (int i = 0; i < ticks; ++i) {
      tick();
      if (i % 8 == 7) window.Timer1_Timer();
    }
  }
  // The next progress window runs its job to the end, tick after tick, without waiting for its timer.
  void tickprogress(int limit = 1000) {
    launcher.scripts.push_back([limit](QDialog& dialog) {
      auto& progress = static_cast<frmProgress&>(dialog);
      for (int i = 0; i < limit && progress.isVisible(); ++i) progress.Timer1_Timer();
    });
  }
  int address(int variable) const { return mainsettings.getvarsaddress(variable, state.preferences.metricunits); }
};

// The sample store fed by the link through the real serial port to the simulator on a pseudo-terminal.
struct PtyLogRig : PtyRig {
  logsamples store;
  LogLinkHost linkhost{state, store};

  PtyLogRig() {
    store.resetlogsamples();
    link.sethost(&linkhost);
  }
  ~PtyLogRig() { link.sethost(nullptr); }
};

// The number in a value box's text "name value (units)".
inline double shownvalue(const QString& text) {
  const QString head = text.left(text.lastIndexOf(QLatin1Char('('))).trimmed();
  return head.mid(head.lastIndexOf(QLatin1Char(' ')) + 1).toDouble();
}

}  // namespace ostrel::test
