#pragma once

#include <QMainWindow>
#include <memory>

#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "link/linkhost.h"
#include "logger/progressjobs.h"
#include "mapviews/keyhandler.h"
#include "mapviews/mapviews.h"
#include "mapviews/mapviewshost.h"
#include "mapviews/tuningtools.h"
#include "shell/filecommands.h"
#include "shell/maintimers.h"
#include "shell/mapmenus.h"
#include "shell/menus.h"
#include "shell/navigation.h"
#include "shell/shellcontext.h"
#include "shell/shellhost.h"

class QMdiArea;
class QMdiSubWindow;
class QTimer;

namespace ostrel {

class frmDisplay;
class frmMap;
class frmMapGrid;
class frmNavigate;
class frmStatus;
class LivePanel;

// The program's main window: the permanent child windows in a multiple-document area, the menu bar built from the
// menu table, and the three timers of the run loop, whose logic lives in MainTimers. Closing it with its close box
// only minimises it; Exit ends the program after the checks timer's countdown.
//
// It is the host of every layer below it: the link (LinkHost), the map views (MapViewsHost), the editors
// (EditorsHost), the progress window's jobs (ProgressHost) and its own headless logic (ShellHost) call upward into
// it, and each call is implemented once here, whichever interface it comes through. It calls the windows it owns and
// the parts of lower layers directly.
class VelkorV5 : public QMainWindow,
                 public LinkHost,
                 public MapViewsHost,
                 public ShellHost,
                 public EditorsHost,
                 public ProgressHost {
  Q_OBJECT

 public:
  explicit VelkorV5(ShellContext& context, QWidget* parent = nullptr);
  ~VelkorV5() override;

  // The load handler: captions, child windows, the start-up open of the last saved file, caption, program-wide
  // values, layout, the communications timer and the auto-connect.
  void load();

  // --- Menu commands (one handler per row of the menu table) ----------------------------------------------------
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
  void mnuComErrors_Click();
  void mnuFirmWare_Click();
  void mnuInDiagnostic_Click();
  void mnuToolsColors_Click();
  void mnuInputs_Click();
  void mnuFuelMuls_Click();
  void mnuLTT_Click();
  void mnuAbout_Click();
  // Navigation, views, help (mainwindow_navigation.cpp).
  void mnuMapGroupSub_Click(int index);
  void mnuMapSub_Click(int index);
  void mnuSelectAll_Click();
  void mnuClearVisit_Click();
  void mnuClearEdit_Click();
  void mnuClearAFR_Click();
  void mnuClearKnock_Click();
  void mnuImport_Click();
  void mnuViewArrange_Click();
  void mnuArrangeA_Click();
  void mnuArrangeB_Click();
  void mnuArrangeC_Click();
  void mnuHelpThisMap_Click();
  void mnuTuneMap_Click();
  void mnuHotKeys_Click();
  void mnuPictureHelp_Click();

  // Places the child windows in a layout: 1 to 3 the views A to C, 10 an open settings editor; then the keys go to
  // the map grid.
  void arrangewindows(int layout) override;
  // The tools (mainwindow_tools.cpp).
  void mnuLogData_Click();
  void mnuLearn_Click();
  void mnuImportDefault_Click();
  void mnuAnalyseMap_Click();
  void mnuRamDump_Click();
  void mnuVEFuelBaseTable_Click();
  void mnuFuelBaseTableVE_Click();

  // --- Calls from below, one implementation for every interface that carries them -----------------------------
  // The live panel on the gauge window (redraw true: its background, else its values and the gauges' needles).
  void drawpanel(bool redraw) override;
  // The map graph on the graph window, and its 3-D projection.
  void drawmap(bool redraw) override;
  void drawmap3d() override;
  // The map views show the current map afresh; a pending edit of another map is handed over first.
  void openmapview() override;
  void refreshactiveview() override;
  void statusmessage(const QString& text, bool clear) override;
  void debugmessage(const QString& text) override;
  void setmaincaption(const QString& caption) override;
  // The communications timer's period.
  void setcommsinterval(int ms) override;
  // The connection-dependent menu items follow state.online, once for every change of the flag.
  void onlinechanged(bool online) override;
  bool checkcommsstate() override;

  // The map grid's side of the live replies.
  void scrollgridtocell(bool flag) override;
  void updategridhighlights(bool full) override;
  void filldatagrid(bool full) override;

  // The keyboard handler's calls.
  void setfocus(MapView view) override;
  void maximisegrid() override;
  void minimizeonclose(QWidget* window) override;

  // The timers' calls.
  void flushpending() override;
  void runmapsync() override;
  void unloadmainwindow() override;

  // The navigation tree (filltree) and the Map Group menu (fillmenus) afresh from the calibration; the editors'
  // call rebuilds the tree alone. The Map menu labelled from the current map.
  void buildnavtree(bool filltree, bool fillmenus) override;
  void buildnavtree() override;
  void buildmapmenu() override;
  // The comments, passwords or settings editor of the current map, modal.
  void showeditor(int kind) override;
  void loadpasswordfragments(bool reset) override;
  // The graph window's 3-D graph of the current map, and its table graph's trail. The tools draw their work copy on
  // their own picture, so the graph window always shows the map's own values.
  void drawmapgraph(bool fullredraw, bool workcopy) override;
  void cleartabletrail() override;
  GraphAngles graphangles() const override;

  // The editors' calls: the program's version, and the progress window running a job.
  int versionminor() const override;
  int revision() const override;
  void runprogressjob(int job) override;

  // The tools' calls (mainwindow_tools.cpp): window data into the log sample store, the tool windows a key opens,
  // and the map synchronisation's marking of the current map.
  void addlogsample(const RxFrame& rxframe) override;
  void showinterpcopy() override;
  void showvct() override;
  void queuemaprows(int firstrow, int lastrow, int firstcol, int lastcol) override;

  // The text of the About box.
  static QString abouttext();
  // The caption after the load.
  static QString startcaption();

  MainTimers& timers() { return timers_; }
  MapViews& views() { return views_; }
  KeyHandler& keys() { return keys_; }
  LivePanel* livepanel() const { return livepanel_.get(); }
  const MainMenus& menus() const { return menus_; }
  const MapMenus& mapmenus() const { return mapmenus_; }
  QMdiArea* mdiarea() const { return mdi_; }

  QTimer* TimerComms = nullptr;
  QTimer* TimerCommands = nullptr;
  QTimer* timerChecks = nullptr;

  // The permanent child windows.
  ostrel::frmDisplay* frmDisplay = nullptr;
  ostrel::frmMapGrid* frmMapGrid = nullptr;
  frmStatus* frmStatusWindow = nullptr;
  ostrel::frmNavigate* frmNavigate = nullptr;
  ostrel::frmMap* frmMap = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildchildwindows();
  void wirekeys();
  QMdiSubWindow* addchild(QWidget* child);
  void unload();
  void showtransfer();
  // The connection-dependent menu items from state.online.
  void setonlinemenus();

  ShellContext& context_;
  MainTimers timers_;
  FileCommands files_;
  MapViews views_;
  KeyHandler keys_;
  TuningTools tuning_;
  std::unique_ptr<LivePanel> livepanel_;
  MainMenus menus_;
  MapMenus mapmenus_;
  Navigation navigation_;
  EditorContext editorcontext_;
  QMdiArea* mdi_ = nullptr;
  bool unloaded_ = false;
};

}  // namespace ostrel
