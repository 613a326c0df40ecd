#pragma once

namespace ostrel {

// What the calibration editors call upward: the shell implements it and hands it down; every call has a do-nothing
// default, so a test overrides only what it watches.
class EditorsHost {
 public:
  virtual ~EditorsHost() = default;

  // Rebuilds the navigation tree (and the per-map name tables) from the calibration model, as after a change of
  // the spreads or a new calibration.
  virtual void buildnavtree() {}

  // --- Passwords and comments --------------------------------------------------------------------------------------
  // The program's minor version and revision as start-up sets them (64 and 8); the comments editor writes them into
  // the hard comment.
  virtual int versionminor() const { return 0; }
  virtual int revision() const { return 0; }
};

}  // namespace ostrel
