#include "editors/frmspreadtool.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "editors/editorcontext.h"
#include "editors/frmsettings.h"
#include "platform/programstate.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

namespace {

constexpr int spreadmap = 110;

// Three columns of 31 rows: caption, box, point label (twips).
constexpr int margin = 120;
constexpr int rowpitch = 300;
constexpr int captionleft = margin, captionwidth = 1380;
constexpr int boxleft = 1560, boxwidth = 600, boxheight = 285;
constexpr int pointleft = 2280, pointwidth = 1320;
constexpr int labelheight = 255;
constexpr int windowwidth = pointleft + pointwidth + margin;
constexpr int windowheight = 2 * margin + spreadpoints * rowpitch;

}  // namespace

frmSpreadTool::frmSpreadTool(frmSettings& editor, EditorContext& context)
    : QDialog(&editor),
      editor_(editor),
      context_(context),
      axis_(context.state.spreadrpm ? SpreadAxis::rpm : SpreadAxis::load) {
  setObjectName(QStringLiteral("frmSpreadTool"));
  setFont(editor.font());
  const QString name = axis_ == SpreadAxis::rpm ? QStringLiteral("Rpm spread") : QStringLiteral("Load spread");
  for (int i = 0; i < spreadpoints; ++i) {
    const int top = margin + i * rowpitch;
    auto* caption = new QLabel(name + QLatin1Char(' ') + QString::number(i + 1), this);
    placetwips(caption, captionleft, top + 15, captionwidth, labelheight);
    // A guarded spread shows nothing and takes no typing; its box is never filled, so nothing is stored for it.
    const bool guarded = spreadguarded(context_.mainmaps, context_.state.guards, axis_, i + 1);
    auto* box = new QLineEdit(guarded ? QString() : QStringLiteral("100"), this);
    box->setEnabled(!guarded);
    box->setAlignment(Qt::AlignRight);
    placetwips(box, boxleft, top, boxwidth, boxheight);
    auto* point = new QLabel(this);
    placetwips(point, pointleft, top + 15, pointwidth, labelheight);
    Label.push_back(caption);
    Text.push_back(box);
    LabelSpread.push_back(point);
    connect(box, &QLineEdit::textChanged, this, [this, i] { Text_Change(i); });
  }
  setWindowTitle(name + QStringLiteral(" tool"));
  setFixedSize(twipstopixels(windowwidth), twipstopixels(windowheight));

  // Filling a box runs its change handling, which stores the same value again.
  const Spreads spreads = readspreads(context_.mainmaps, axis_);
  for (int i = 0; i < spreadpoints; ++i)
    if (Text[static_cast<std::size_t>(i)]->isEnabled())
      Text[static_cast<std::size_t>(i)]->setText(QString::number(spreads[static_cast<std::size_t>(i)]));
  refreshspreadlabels();
}

void frmSpreadTool::Text_Change(int index) {
  QLineEdit* box = Text[static_cast<std::size_t>(index)];
  const int point = index + 1;
  // A guarded spread keeps its byte; its box is emptied again.
  const auto refuse = [&] {
    refuseguarded(context_.prompts);
    const QSignalBlocker quiet(box);
    box->clear();
  };
  if (spreadguarded(context_.mainmaps, context_.state.guards, axis_, point)) {
    refuse();
    return;
  }
  const std::optional<std::uint8_t> value = spreadvalue(box->text());
  if (!value) {
    box->setText(QStringLiteral("0"));  // which runs this again and stores 0
    return;
  }
  // The box keeps the text as typed; the calibration and the editor get the limited value.
  const SpreadCell cell = spreadcell(axis_, point);
  if (!setcell(context_.mainmaps, context_.state.guards, spreadmap, cell.row, cell.column, *value, false)) {
    refuse();
    return;
  }
  if (QLineEdit* setting = editor_.textofcell(spreadcellnumber(axis_, point)))
    setting->setText(QString::number(*value));
  context_.mainmaps.recalc();
  refreshspreadlabels();
}

void frmSpreadTool::refreshspreadlabels() {
  const QStringList labels =
      spreadlabels(context_.mainmaps, context_.state.guards, axis_, context_.state.preferences.metricunits);
  for (int i = 0; i < spreadpoints; ++i) LabelSpread[static_cast<std::size_t>(i)]->setText(labels[i]);
}

}  // namespace ostrel
