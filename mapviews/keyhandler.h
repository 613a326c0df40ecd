#pragma once

#include <QObject>
#include <functional>

#include "mapviews/mapviews.h"
#include "mapviews/selection.h"

class QKeyEvent;
class QWidget;

namespace ostrel {

class EcuLink;
class Prompts;
class maps;
class settings;
struct ProgramState;

// What F9 does to the grid window: maximised and minimised become normal, normal becomes maximised.
void cyclewindowstate(QWidget* window);

// The one keyboard handler of the map views. The grid, graph, gauge, status and navigation windows hand it every
// key-down: it steps the cursor cell or the selection box, opens the keyboard tools, moves the cursor and the box,
// switches the current map and some view options, saves the calibration, and gives the focus to the view its
// caller names. Keys are virtual-key codes with the modifier mask 1 Shift, 2 Ctrl, 4 Alt (mapviews/keycodes.h).
// Calls upward go to the map views' host; the cell entry dialog opens through the window launcher.
class KeyHandler : public QObject {
  Q_OBJECT

 public:
  KeyHandler(ProgramState& state, maps& mainmaps, settings& mainsettings, const EcuLink& link, MapViews& views,
             Prompts& prompts, QObject* parent = nullptr);
  ~KeyHandler() override;

  // The key that drives the hidden sequence, and the presses in a row that open the cam timing window.
  static constexpr int hiddenkey = 75;  // K
  static constexpr int hiddenpresses = 8;

  // Makes this the map views' keyboard handler (the grid window and refreshactiveview call it through them) until
  // it is destroyed.
  void install();
  // One key-down. view gets the focus afterwards; loadup: the view shows the second index of a 3-D map
  // increasing upward. Returns the current map's kind. Virtual so that a window's test can see what it hands on.
  virtual int mapkeydown(int keycode, int shift, MapView view, bool loadup);
  // A Qt key event, translated to the code and mask that mapkeydown takes.
  void keydown(const QKeyEvent& event, MapView view, bool loadup);
  // Sends every key pressed on the window (gauge, status, navigation) to the handler, with the graph as the view
  // that gets the focus and the load direction up. The window itself no longer sees those keys.
  void forwardkeys(QWidget* window);

  Selection& selection() { return selection_; }
  // Parent of the dialogs the handler opens itself.
  void setdialogparent(QWidget* parent) { dialogparent_ = parent; }

  // Messages of the handler's refusals, as shown.
  static const QString massedittext;
  static const QString trackmodetext;
  static const QString maximisetext;
  static const QString fileerrortext;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Key {
    int keycode;
    int shift;
    bool loadup;
    int kind;
  };
  using Action = void (KeyHandler::*)(const Key&);
  struct Binding {
    int keycode;
    bool refusedonprotected;
    Action action;
  };
  static const Binding* cursorbinding(int keycode);
  static const Binding* boxbinding(int keycode);

  void cursorkey(const Key& key);
  void boxkey(const Key& key);

  // Table of the cursor cell.
  void step(const Key& key);
  void entrytool(const Key& key);
  void mixture(const Key& key);
  void units(const Key& key);
  void arrow(const Key& key);
  void centre(const Key& key);
  void track(const Key& key);
  void save(const Key& key);
  void jump(const Key& key);
  void livecell(const Key& key);
  void maximise(const Key& key);
  void checkhiddenkey(int keycode);

  // Table of the selection box.
  void boxstep(const Key& key);
  void boxtool(const Key& key);
  void boxenter(const Key& key);

  bool refusedonprotected();
  void showentry();
  void openmapview();
  void drawmap(bool redraw);
  MapViewsHost& host() { return views_.host(); }
  void information(const QString& text);

  ProgramState& state_;
  maps& mainmaps_;
  settings& mainsettings_;
  const EcuLink& link_;
  MapViews& views_;
  Prompts& prompts_;
  Selection selection_;
  QWidget* dialogparent_ = nullptr;
  bool installed_ = false;
};

}  // namespace ostrel
