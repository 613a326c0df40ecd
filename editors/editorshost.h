#pragma once

class QString;

namespace ostrel {

// What the calibration editors call upward: the shell implements it and hands it down; every call has a do-nothing
// default, so a test overrides only what it watches.
class EditorsHost {
 public:
  virtual ~EditorsHost() = default;

  // Rebuilds the navigation tree (and the per-map name tables) from the calibration model, as after a change of
  // the spreads or a new calibration.
  virtual void buildnavtree() {}
  // Places the windows in a layout of the main window; the settings editor asks for its own (10) while it loads.
  virtual void arrangewindows(int /*layout*/) {}
  // A line in the status window's console; clear first when clear is true.
  virtual void statusmessage(const QString& /*text*/, bool /*clear*/) {}

  // --- Passwords and comments --------------------------------------------------------------------------------------
  // The program's minor version and revision as start-up sets them (64 and 8); the comments editor writes them into
  // the hard comment.
  virtual int versionminor() const { return 0; }
  virtual int revision() const { return 0; }

  // --- Spreads, re-gridding and map fragment import ----------------------------------------------------------------
  // Opens or refreshes the views of the current map.
  virtual void openmapview() {}
  // Shows the progress window modally running the job named (state.progressjob holds it already); returns once the
  // window has closed.
  virtual void runprogressjob(int /*job*/) {}
};

}  // namespace ostrel
