#include "mapviews/frminterpcopy.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "calibration/maps.h"
#include "link/eculink.h"
#include "mapviews/mapviews.h"
#include "mapviews/selection.h"
#include "mapviews/viewhelpers.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/ui/picturesurface.h"

namespace ostrel {

namespace {

constexpr int threedkind = 0;
constexpr int tablekind = 1;
constexpr int timerinterval = 100;  // ms, both timers when the window opens

bool interpcopymode(int mode) {
  return mode == toolmodes::interpx || mode == toolmodes::interpy ||
         (mode >= toolmodes::copyfirstcol && mode <= toolmodes::copylastrow);
}

}  // namespace

frmInterpcopy::frmInterpcopy(const TuningContext& context, QWidget* parent)
    : QDialog(parent), context_(context), tool_(context.state, context.mainmaps) {
  setObjectName(QStringLiteral("frmInterpcopy"));
  setWindowTitle(QStringLiteral("Interpolate"));

  picGraph = new PictureSurface(this);
  picGraph->setObjectName(QStringLiteral("picGraph"));
  picGraph->setFixedSize(pictureside, pictureside);
  picGraph->setbackcolor(context_.state.colors.bgcolor);

  targetAFR = new QLabel(this);
  targetAFR->setObjectName(QStringLiteral("targetAFR"));
  feedAFR = new QLabel(this);
  feedAFR->setObjectName(QStringLiteral("feedAFR"));
  Command1 = new QPushButton(QStringLiteral("&Ok"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command2 = new QPushButton(QStringLiteral("&Cancel"), this);
  Command2->setObjectName(QStringLiteral("Command2"));

  auto* labels = new QVBoxLayout;
  labels->addWidget(targetAFR);
  labels->addWidget(feedAFR);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(labels, 1);
  bottom->addWidget(Command1);
  bottom->addWidget(Command2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picGraph);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  TimerAutoTune = new QTimer(this);
  TimerAutoTune->setObjectName(QStringLiteral("TimerAutoTune"));
  TimerLearn = new QTimer(this);
  TimerLearn->setObjectName(QStringLiteral("TimerLearn"));
  for (QTimer* timer : {TimerAutoTune, TimerLearn}) {
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(timerinterval);
  }
  connect(TimerAutoTune, &QTimer::timeout, this, &frmInterpcopy::autotunetick);
  connect(TimerLearn, &QTimer::timeout, this, &frmInterpcopy::learntick);
  connect(Command1, &QPushButton::clicked, this, &frmInterpcopy::ok);
  connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

frmInterpcopy::~frmInterpcopy() {
  // However the window went, the auto-tune does not stay running behind it.
  if (mode_ == toolmodes::autotune && context_.state.toolmode == toolmodes::autotune) context_.state.toolmode = 0;
}

bool frmInterpcopy::load() {
  ProgramState& state = context_.state;
  const maps& model = context_.mainmaps;
  mode_ = state.toolmode;
  const int map = state.curmap;

  if (mode_ == toolmodes::learn || mode_ == toolmodes::autotune) {
    tool_.startlearn(tuninglive(state, context_.link));
    // Auto-tune ends only by keeping what it learned.
    if (mode_ == toolmodes::autotune) Command2->setEnabled(false);
  } else {
    box_ = cellbox(state.trimbox, model, map);
    if (!fillinterpcopy(mode_, model, map, box_, tool_.work())) {
      context_.prompts.message(nointerpolationtext, Prompts::Icon::Information);
      context_.views.refreshactiveview();
      return false;
    }
  }
  setWindowTitle(interpcopytitle(mode_));
  if (isVisible()) drawpreview();  // otherwise once the picture has its size
  TimerAutoTune->start();
  TimerLearn->start();
  return true;
}

void frmInterpcopy::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  drawpreview();
}

void frmInterpcopy::learntick() {
  if (tool_.learntick(tuninglive(context_.state, context_.link))) drawpreview();
}

void frmInterpcopy::autotunetick() {
  const AutoTuneShow show = tool_.autotunetick(tuninglive(context_.state, context_.link), TimerAutoTune->interval());
  targetAFR->setText(show.targettext);
  feedAFR->setText(show.feedtext);
  if (show.redraw) drawpreview();
  TimerAutoTune->setInterval(show.interval);
}

void frmInterpcopy::drawpreview() {
  const ProgramState& state = context_.state;
  const maps& model = context_.mainmaps;
  const double width = picGraph->widthtwips(), height = picGraph->heighttwips();
  switch (model.getcontextandtype(state.curmap)) {
    case threedkind: {
      // Projected for this picture, so the whole surface lies on it whatever size the graph window has.
      const ShownArea area = shownarea(model, state.guards, state.curmap);
      ProjectionInputs in;
      in.width = width;
      in.height = height;
      in.rows = area.across;
      in.cols = area.down;
      in.angles = context_.views.host().graphangles();
      const WireGraphInputs wire = wiregraphinputs(model, state, context_.link.live(), &tool_.work());
      wire_.plan(scene_, wire, projector_.projection(in), width, height, true);
      break;
    }
    case tablekind: {
      TableGraphInputs table = tablegraphinputs(model, state, context_.link.live(), &tool_.work());
      table.livesample = 0;  // the live trail belongs to the graph window
      plantablegraph(scene_, table, trail_, width, height);
      break;
    }
    default:
      return;
  }
  paintscene(*picGraph, scene_);
}

void frmInterpcopy::apply() {
  if (applied_) return;
  applied_ = true;
  ProgramState& state = context_.state;
  if (mode_ == toolmodes::learn) {
    tool_.finishlearn();
    Selection(state, context_.mainmaps, context_.views, context_.prompts).navigategrid(0, true, true, true);
  } else if (mode_ == toolmodes::autotune) {
    tool_.finishautotune();
  } else if (interpcopymode(mode_)) {
    storeinterpcopy(state, context_.mainmaps, box_, tool_.work());
  } else {
    return;
  }
  context_.views.host().drawmap(true);
}

void frmInterpcopy::ok() {
  apply();
  done(QDialog::Accepted);
}

void frmInterpcopy::done(int result) {
  TimerAutoTune->stop();
  TimerLearn->stop();
  if (mode_ == toolmodes::autotune) {
    // The close box and Escape keep what auto-tune has learned, as Ok does.
    apply();
    result = QDialog::Accepted;
  }
  QDialog::done(result);
}

}  // namespace ostrel
