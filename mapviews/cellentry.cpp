#include "mapviews/cellentry.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "mapviews/keycodes.h"
#include "mapviews/mapviews.h"
#include "mapviews/pendingwrite.h"
#include "mapviews/viewhelpers.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/prompts.h"

namespace ostrel {

namespace {

// Key codes of the dialog; its buttons arrive as 48 + index, so "." is 58 and "Enter" 59.
constexpr int keybackspace = 8;
constexpr int keyenter = 13;
constexpr int keyescape = 27;
constexpr int keydelete = 46;
constexpr int keyzero = 48;
constexpr int keynine = 57;
constexpr int buttonpoint = 58;
constexpr int buttonenter = 59;
constexpr int keypadminus = 109;
constexpr int keypoint = 190;
constexpr int keyminus = 189;

struct ModeTitle {
  int mode;
  const char* title;
};
constexpr ModeTitle modetitles[] = {{0, "Direct numerical entry"},
                                    {1, "Multiply by factor"},
                                    {2, "Divide by factor"},
                                    {5, "Add constant value"},
                                    {6, "Subtract constant value"}};

bool entrymode(int mode) {
  for (const ModeTitle& t : modetitles)
    if (t.mode == mode) return true;
  return false;
}

}  // namespace

CellEntry::CellEntry(ProgramState& state, maps& model, MapViews& views, Prompts& prompts)
    : state_(state), model_(model), views_(views), prompts_(prompts) {}

QString CellEntry::title(int toolmode) {
  for (const ModeTitle& t : modetitles)
    if (t.mode == toolmode) return QString::fromLatin1(t.title);
  return {};
}

CellEntry::Outcome CellEntry::enterupdate(int keycode) {
  switch (keycode) {
    case keyenter:
    case buttonenter:
      setentry(typed_);
      return typed_.isEmpty() ? Outcome::none : Outcome::close;
    case keyescape:
      return Outcome::close;
    case keybackspace:
      typed_.chop(1);
      return Outcome::typed;
    case keydelete:
      typed_.clear();
      return Outcome::typed;
    case buttonpoint:
    case keypoint:
      typed_ += QLatin1Char('.');
      return Outcome::typed;
    case keyminus:
    case keypadminus:
      typed_ += QLatin1Char('-');
      return Outcome::typed;
    default:
      if (keycode >= keyzero && keycode <= keynine) {
        typed_ += QChar(keycode);
        return Outcome::typed;
      }
      return Outcome::none;
  }
}

bool CellEntry::fail(EditRefusal refusal) {
  prompts_.message(refusaltext(refusal), Prompts::Icon::Information);
  typed_.clear();
  return false;
}

bool CellEntry::setentry(const QString& text) {
  const std::optional<double> parsed = parsenumber(text);
  const float v = parsed ? static_cast<float>(*parsed) : 0.0f;
  if (!parsed || !std::isfinite(v)) return fail(EditRefusal::notanumber);

  const int map = state_.curmap, mode = state_.toolmode;
  const MapDisplay scale = mapdisplay(model_, state_.guards, map, state_.preferences.fueltype);
  if (state_.trimbox.active) {
    EditRefusal refusal = EditRefusal::none;
    if (mode == 0) {
      const EditValue raw = directraw(v, scale.gain, scale.offset);
      refusal = raw.refusal != EditRefusal::none ? raw.refusal
                                                 : editselection(state_, model_, 0, static_cast<int>(raw.value), 0.0f);
    } else {
      refusal = editselection(state_, model_, mode, 0, v);
    }
    if (refusal != EditRefusal::none) return fail(refusal);
  } else if (entrymode(mode)) {
    const int row = state_.cursorrow, col = state_.cursorcol;
    const EditValue edit = mode == 0 ? directraw(v, scale.gain, scale.offset)
                                     : tooledit(mode, model_.getdata(map, row, col), v, scale.gain, scale.offset);
    if (edit.refusal != EditRefusal::none) return fail(edit.refusal);
    if (!setcell(model_, state_.guards, map, row, col, edit.value, true)) return fail(EditRefusal::protectedmap);
    if (state_.online) markdirtycells(state_, row, row, col, col);
    state_.syncerrticks = 0;
  }

  views_.filldatagrid(true);
  views_.updategridhighlights(false);
  views_.host().drawmap(true);
  return true;
}

frmEntry::frmEntry(CellEntry& entry, int toolmode, QWidget* parent) : QDialog(parent), entry_(entry) {
  setObjectName(QStringLiteral("frmEntry"));
  const QString modetitle = CellEntry::title(toolmode);
  setWindowTitle(modetitle.isEmpty() ? QStringLiteral("Direct entry") : modetitle);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  Label1[0] = new QLabel(CellEntry::hint, this);
  Label1[0]->setWordWrap(true);
  Label1[1] = new QLabel(this);
  Label1[1]->setFrameShape(QFrame::Panel);
  Label1[1]->setFrameShadow(QFrame::Sunken);
  Label1[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label1[1]->setMinimumHeight(32);
  QFont big = Label1[1]->font();
  big.setPointSize(big.pointSize() + 6);
  big.setBold(true);
  Label1[1]->setFont(big);
  layout->addWidget(Label1[0]);
  layout->addWidget(Label1[1]);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(4);
  for (int i = 0; i < static_cast<int>(Command1.size()); ++i) {
    const QString caption = i < 10 ? QString::number(i) : i == 10 ? QStringLiteral(".") : QStringLiteral("Enter");
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QStringLiteral("Command1_%1").arg(i));
    // Enter is the dialog's own key; no button may take it as the default button would.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setMinimumWidth(i < 11 ? 34 : 64);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, i] { enterupdate(keyzero + i); });
    Command1[i] = button;
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
}

void frmEntry::enterupdate(int keycode) {
  const CellEntry::Outcome outcome = entry_.enterupdate(keycode);
  Label1[1]->setText(entry_.typed());
  if (outcome == CellEntry::Outcome::typed) Command1[11]->setFocus();
  if (outcome == CellEntry::Outcome::close) done(keycode == keyescape ? QDialog::Rejected : QDialog::Accepted);
}

void frmEntry::keyPressEvent(QKeyEvent* event) {
  enterupdate(virtualkeycode(*event));
  event->accept();
}

bool frmEntry::eventFilter(QObject* watched, QEvent* event) {
  // Keys pressed on a button belong to the dialog, as they would with the form previewing its keys.
  if (event->type() == QEvent::KeyPress) {
    enterupdate(virtualkeycode(*static_cast<QKeyEvent*>(event)));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace ostrel
