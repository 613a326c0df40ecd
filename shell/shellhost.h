#pragma once

#include <QString>

namespace ostrel {

// What the shell's headless logic (the three timers, the file commands, the preferences and colours editors, the
// navigation) asks of the main window and the windows it owns. The main window implements it; tests pass a fake.
// Every call has a do-nothing default. Calls into lower layers (the link, the transfer, the setting tables) are
// made directly.
class ShellHost {
 public:
  virtual ~ShellHost() = default;

  // --- Views -----------------------------------------------------------------------------------------------------
  // The live panel (redraw true: in full).
  virtual void drawpanel(bool /*redraw*/) {}
  // The graph of the current map (redraw true: the 3-D graph in full); the 3-D projection rerun.
  virtual void drawmap(bool /*redraw*/) {}
  virtual void drawmap3d() {}
  // Every view shows the current map afresh; a pending edit of another map is handed over first.
  virtual void openmapview() {}
  // The focus back to the active view, an active selection box dropped.
  virtual void refreshactiveview() {}
  virtual void setmaincaption(const QString& /*caption*/) {}

  // --- Navigation ---------------------------------------------------------------------------------------------------
  // The Map menu's eight items labelled afresh from the current map.
  virtual void buildmapmenu() {}
  // The editor of the current map by its kind (2 comments, 3 passwords, 4 settings), modal; returns once it has
  // closed.
  virtual void showeditor(int /*kind*/) {}

  // --- After a calibration was opened ------------------------------------------------------------------------------
  // The navigation tree and the Map Group menu are rebuilt; the password fragments reloaded from the passwords map.
  virtual void buildnavtree(bool /*filltree*/, bool /*fillmenus*/) {}
  virtual void loadpasswordfragments(bool /*reset*/) {}
  // Before a calibration is replaced: an edit still counting down goes to the link with the calibration it was
  // made on.
  virtual void flushpending() {}

  // --- Main window ------------------------------------------------------------------------------------------------
  // The communications timer's period in milliseconds.
  virtual void setcommsinterval(int /*ms*/) {}
  // Writes the current map into the ECU (map synchronisation): the progress window's job 3, which state.progressjob
  // names.
  virtual void runmapsync() {}
  // Exit's countdown has run out: the main window unloads.
  virtual void unloadmainwindow() {}
};

}  // namespace ostrel
