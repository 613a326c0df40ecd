#pragma once

#include <QString>

#include "link/frames.h"

namespace ostrel {

class EcuLink;

// Everything the link calls upward: the shell's panel and graph, the map grid, the status window, the log sample
// store, the connection menus, and what follows a whole-image read. The shell implements it and hands it to the
// link at start-up; every call has a do-nothing default, so a test overrides only what it watches. Only the link
// calls it; the transfer steps reach it through EcuLink::host().
class LinkHost {
 public:
  virtual ~LinkHost() = default;

  // The connection flag has just changed, whoever changed it (connect, disconnect, or the link itself after the
  // line failed). Called from inside the reply path too: no modal boxes here.
  virtual void onlinechanged(bool /*online*/) {}

  // Live panel and gauges (redraw True repaints the whole panel).
  virtual void drawpanel(bool /*redraw*/) {}
  // Graph of the current map.
  virtual void drawmap(bool /*redraw*/) {}
  // Map grid: keep the live cell in view, repaint highlights (marks the live cell visited), refresh values.
  virtual void scrollgridtocell(bool /*flag*/) {}
  virtual void updategridhighlights(bool /*full*/) {}
  virtual void filldatagrid(bool /*full*/) {}
  // A line in the status window's console; clear first when clear is true.
  virtual void statusmessage(const QString& /*text*/, bool /*clear*/) {}
  virtual void debugmessage(const QString& /*text*/) {}
  // True while the fast verify window holds the link or the auto-tune tool runs: no redraws, no AFR marks.
  virtual bool checkcommsstate() { return false; }
  // The communications timer's period in milliseconds (20 under the fastest preference).
  virtual void setcommsinterval(int /*ms*/) {}
  // Window data while no live window, the data logger or the address monitor has the selector: one log sample.
  virtual void addlogsample(const RxFrame& /*rxframe*/) {}

  // After an image has been read from the ECU and stored (or compared): the navigation tree and map menus are
  // rebuilt as after opening a file, the password fragments reloaded (reset false keeps the entered passwords)
  // and the map views show the current map afresh. Runs once the link's tick has ended.
  virtual void buildnavtree(bool /*filltree*/, bool /*fillmenus*/) {}
  virtual void loadpasswordfragments(bool /*reset*/) {}
  virtual void openmapview() {}
};

// The whole-image transfer (write, read, verify) takes the link over through these while it runs. The link asks
// transferactive() when it chooses a plan, calls transferstep() for each request of type 42 while the link is
// free, transferreply() for each intact reply to one, and transferlinkerror() for every link error while active.
class TransferSteps {
 public:
  virtual ~TransferSteps() = default;
  virtual bool transferactive() const = 0;
  // Builds the next row request and sends it with EcuLink::sendrequest, or sends nothing.
  virtual void transferstep(EcuLink& link) = 0;
  virtual void transferreply(EcuLink& link) = 0;
  virtual void transferlinkerror() = 0;
  // The highest of the transfer's own records that still holds a write, 0 when none does: a whole-image write
  // counts among the writes waiting for the ECU.
  virtual int lastqueuedwrite() const { return 0; }
};

}  // namespace ostrel
