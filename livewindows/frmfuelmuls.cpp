#include "livewindows/frmfuelmuls.h"

#include <QLabel>
#include <QLocale>

#include "platform/colors.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

namespace {

// Layout in twips: row i at top 120 + 360 i (the headings at 0), captions at left 120, values at 3120.
constexpr int rowtop = 120;
constexpr int rowstep = 360;
constexpr int captionleft = 120;
constexpr int captionwidth = 2880;
constexpr int valueleft = 3120;
constexpr int valuewidth = 1215;
constexpr int labelheight = 285;
constexpr std::uint32_t valuebgr = 0xC0FFFF;

}  // namespace

frmFuelMuls::frmFuelMuls(ProgramState& state, EcuLink& link, QWidget* parent)
    : LiveWindow(state, link, selectorvalue, 200, 0, {}, parent) {
  setObjectName(QStringLiteral("frmFuelMuls"));
  setWindowTitle(QStringLiteral("Fuel multipliers"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  for (int i = 0; i < FuelMultipliers::rows; ++i) {
    const int top = i == 0 ? 0 : rowtop + rowstep * i;
    Label1[i] = new QLabel(FuelMultipliers::captions()[i], this);
    Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    placetwips(Label1[i], captionleft, top, captionwidth, labelheight);
    Label2[i] = new QLabel(FuelMultipliers::designtexts()[i], this);
    Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    placetwips(Label2[i], valueleft, top, valuewidth, labelheight);
    Label2[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (i > 0) {
      Label2[i]->setAutoFillBackground(true);
      QPalette palette = Label2[i]->palette();
      palette.setColor(QPalette::Window, bgrtocolor(valuebgr));
      palette.setColor(QPalette::WindowText, Qt::black);
      Label2[i]->setPalette(palette);
    }
  }
  setFixedSize(twipstopixels(valueleft + valuewidth + 240),
               twipstopixels(rowtop + rowstep * FuelMultipliers::rows + 120));

  link.setrequesttable(LiveTable::fuelmuls, FuelMultipliers::addresses());
  startlive();
}

void frmFuelMuls::reportdata(const RxFrame& rxframe) {
  // The decimal separator is the system's.
  if (!values_.reportdata(rxframe, state().windowage, QLocale())) return;
  for (int i = 1; i < FuelMultipliers::rows; ++i) Label2[i]->setText(values_.texts()[i]);
}

void frmFuelMuls::timertick() {
  live().countage();
}

}  // namespace ostrel
