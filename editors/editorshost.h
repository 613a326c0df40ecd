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
};

}  // namespace ostrel
