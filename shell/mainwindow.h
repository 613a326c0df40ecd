#pragma once

#include <QMainWindow>
#include <memory>

#include "mapviews/keyhandler.h"
#include "mapviews/mapviews.h"
#include "shell/apphost.h"
#include "shell/connectionstate.h"
#include "shell/filecommands.h"
#include "shell/maintimers.h"
#include "shell/shellhooks.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;

namespace ostrel {

class frmDisplay;
class frmMapGrid;
class frmStatus;
class LivePanel;

// The program's main window: the permanent child windows in a multiple-document area, the File and Comms menus
// (with the Tools and Help items of the file commands, preferences, colours and About), and the three timers of the
// run loop, whose logic lives in MainTimers. Closing it with its close box only minimises it; Exit ends the program
// after the checks timer's countdown.
class VelkorV5 : public QMainWindow {
  Q_OBJECT

 public:
  explicit VelkorV5(ShellContext& context, QWidget* parent = nullptr);
  ~VelkorV5() override;

  // The load handler: captions, child windows, the start-up open of the last saved file, caption, program-wide
  // values, layout, the communications timer and the auto-connect.
  void load();

  // The live panel on the gauge window (redraw true: its background, else its values and the gauges' needles), and
  // the map graph (its window comes with a later part of the program; until then nothing is drawn).
  void drawpanel(bool redraw);
  void drawmap(bool redraw);

  // The map views show the current map afresh; a pending edit of another map is handed over first.
  void openmapview();
  // The communications timer's period.
  void setcommsinterval(int ms);

  // Menu commands.
  void mnuFileOpen_Click();
  void mnuOpenUnix_Click();
  void mnuFileSave_Click();
  void mnuEcuOpen_Click();
  void mnuEcuVerify_Click();
  void mnuEcuSave_Click();
  void mnuFastVerify_Click();
  void mnuExit_Click();
  void mnuComsConnect_Click();
  void mnuComsDisconnect_Click();
  void mnuToolsPreferences_Click();
  void mnuToolsColors_Click();
  void mnuAbout_Click();

  // The text of the About box.
  static QString abouttext();
  // The caption after the load.
  static QString startcaption();

  MainTimers& timers() { return timers_; }
  FileCommands& files() { return files_; }
  MapViews& views() { return views_; }
  KeyHandler& keys() { return keys_; }
  LivePanel* livepanel() const { return livepanel_.get(); }
  const OnlineMenus& onlinemenus() const { return online_; }
  QMdiArea* mdiarea() const { return mdi_; }

  QTimer* TimerComms = nullptr;
  QTimer* TimerCommands = nullptr;
  QTimer* timerChecks = nullptr;

  // Menus and items (named as the program names them).
  QMenu* mnuFile = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuEcuOpen = nullptr;
  QAction* mnuEcuVerify = nullptr;
  QAction* mnuFastVerify = nullptr;
  QAction* mnuFileSave = nullptr;
  QAction* mnuEcuSave = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuComs = nullptr;
  QAction* mnuComsConnect = nullptr;
  QAction* mnuComsDisconnect = nullptr;
  QMenu* mnuTools = nullptr;
  QMenu* mnuSystemTools = nullptr;
  QAction* mnuToolsPreferences = nullptr;
  QMenu* mnuViewTools = nullptr;
  QAction* mnuToolsColors = nullptr;
  QMenu* mnuFileTools = nullptr;
  QAction* mnuOpenUnix = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuAbout = nullptr;

  // The permanent child windows.
  ostrel::frmDisplay* frmDisplay = nullptr;
  ostrel::frmMapGrid* frmMapGrid = nullptr;
  frmStatus* frmStatusWindow = nullptr;
  QWidget* frmNavigate = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildmenus();
  void setmenucaptions();
  void buildchildwindows();
  void wirekeys();
  QMdiSubWindow* addchild(QWidget* child);
  void arrangewindows(int layout);
  void unload();
  void setonlinemenus();
  void queuemapwrite(std::uint8_t map, const PendingWrite& rect);
  void queuewholemap(std::uint8_t map);
  void showtransfer();
  void call(const std::function<void()>& hook) const {
    if (hook) hook();
  }

  ShellContext& context_;
  ShellHooks& hooks_;
  AppHost host_;
  MainTimers timers_;
  FileCommands files_;
  MapViews views_;
  KeyHandler keys_;
  std::unique_ptr<LivePanel> livepanel_;
  OnlineMenus online_;
  QMdiArea* mdi_ = nullptr;
  bool unloaded_ = false;
};

}  // namespace ostrel
