#pragma once

#include <QDialog>

#include "mapviews/autotune.h"
#include "mapviews/graphdraw.h"
#include "mapviews/graphprojection.h"
#include "mapviews/interpcopy.h"
#include "mapviews/tablegraph.h"
#include "mapviews/tuningtools.h"
#include "mapviews/wiregraph.h"

class QLabel;
class QPushButton;
class QTimer;

namespace ostrel {

class PictureSurface;

// The tool window of the interpolate and copy tools (tool modes 3, 4, 7 to 10) and of learn (11) and auto-tune
// (12): a preview of the work copy on its own picture, the target and measured air-fuel ratios, Ok and Cancel.
// Its two timers run learn and auto-tune while it is open. Auto-tune has no Cancel: every way of closing it keeps
// what it has learned, as Ok does, and leaves tool mode 12.
class frmInterpcopy : public QDialog {
  Q_OBJECT

 public:
  explicit frmInterpcopy(const TuningContext& context, QWidget* parent = nullptr);
  ~frmInterpcopy() override;

  // Prepares the tool of state.toolmode: fills the work copy, sets the title and shows the preview. False when the
  // selection box does not allow the tool: the message has been shown, the map is unchanged and the window is not
  // to be shown.
  bool load();

  // The two timers' ticks.
  void learntick();
  void autotunetick();

  const LearnAutoTune& tool() const { return tool_; }
  LearnAutoTune& tool() { return tool_; }
  int toolmode() const { return mode_; }
  // The last preview drawn, in the picture's twips.
  const GraphScene& scene() const { return scene_; }

  QPushButton* Command1 = nullptr;  // "&Ok"
  QPushButton* Command2 = nullptr;  // "&Cancel"
  PictureSurface* picGraph = nullptr;
  QLabel* targetAFR = nullptr;
  QLabel* feedAFR = nullptr;
  QTimer* TimerAutoTune = nullptr;
  QTimer* TimerLearn = nullptr;

  // The preview picture's side in pixels: square, as the graph window's picture is, which the projection of the
  // 3-D graph is made for.
  static constexpr int pictureside = 540;

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ok();
  // Ok's work without closing: what the tool computed goes into the map.
  void apply();
  void drawpreview();

  TuningContext context_;
  LearnAutoTune tool_;
  int mode_ = 0;
  CellBox box_;
  bool applied_ = false;

  GraphProjector projector_;
  WireGraph wire_;
  TableTrail trail_;  // the preview's own, so the graph window's trail is left alone
  GraphScene scene_;
};

}  // namespace ostrel
