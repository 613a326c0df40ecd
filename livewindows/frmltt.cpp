#include "livewindows/frmltt.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "calibration/translate.h"
#include "platform/colors.h"
#include "platform/twips.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

namespace {

// Layout in twips.
constexpr int cellleft = 1440;
constexpr int cellstep = 1080;  // across the rpm bands
constexpr int celltop = 720;
constexpr int rowstep = 360;  // down the load bands
constexpr int rpmtop = 240;
constexpr int labelwidth = 1000;
constexpr int labelheight = 285;
constexpr std::array<std::uint32_t, 4> loadbandbgr = {0xC0C0FF, 0xC0E0FF, 0xC0FFFF, 0xC0FFC0};
constexpr std::array<const char*, 12> bandcaptions = {"High load", "Mid load",  "Mid load",  "Light load",
                                                      "0 rpm ",    "800 rpm ",  "1600 rpm ", "2400 rpm ",
                                                      "3200 rpm ", "4000 rpm ", "4800 rpm ", "5600 rpm "};

}  // namespace

frmLtt::frmLtt(ProgramState& state, EcuLink& link, QWidget* parent)
    : LiveWindow(state, link, selectorvalue, 200, 0, {}, parent), table_(live()) {
  setObjectName(QStringLiteral("frmLtt"));
  setWindowTitle(QStringLiteral("Long term trim"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* menubar = new QMenuBar(this);
  mnuLTT = menubar->addMenu(QStringLiteral("&LTT"));
  mnuLTT->setObjectName(QStringLiteral("mnuLTT"));
  mnuClearLtt = mnuLTT->addAction(QStringLiteral("&Clear LTT"));
  mnuClearLtt->setObjectName(QStringLiteral("mnuClearLtt"));
  mnuExitLTT = mnuLTT->addAction(translate(QStringLiteral("E&xit")));
  mnuExitLTT->setObjectName(QStringLiteral("mnuExitLTT"));
  connect(mnuClearLtt, &QAction::triggered, this, &frmLtt::mnuClearLtt_Click);
  connect(mnuExitLTT, &QAction::triggered, this, &QDialog::close);

  // The labels stand at fixed places on a surface under the menu bar.
  auto* surface = new QWidget(this);
  surface->setObjectName(QStringLiteral("surface"));
  for (int i = 0; i < 12; ++i) {
    Label2[i] = new QLabel(QString::fromLatin1(bandcaptions[i]), surface);
    Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    if (i < 4)
      placetwips(Label2[i], 0, celltop + rowstep * i, labelwidth, labelheight);
    else
      placetwips(Label2[i], cellleft + cellstep * (i - 4), rpmtop, labelwidth, labelheight);
  }
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 4; ++c) {
      QLabel* label = new QLabel(table_.cell(4 * r + c), surface);
      label->setObjectName(QStringLiteral("Label1_%1").arg(4 * r + c));
      placetwips(label, cellleft + cellstep * r, celltop + rowstep * c, labelwidth, labelheight);
      label->setAlignment(Qt::AlignCenter);
      label->setAutoFillBackground(true);
      QPalette palette = label->palette();
      palette.setColor(QPalette::Window, bgrtocolor(loadbandbgr[c]));
      palette.setColor(QPalette::WindowText, Qt::black);
      label->setPalette(palette);
      Label1[4 * r + c] = label;
    }
  }
  surface->setFixedSize(twipstopixels(cellleft + cellstep * 8), twipstopixels(celltop + rowstep * 4 + 120));

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menubar);
  layout->addWidget(surface);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  startlive();
  table_.load();
}

void frmLtt::reportdata(const RxFrame& rxframe) {
  if (!table_.reportdata(rxframe)) return;
  const int first = table_.ltthalf() ? 16 : 0;
  for (int k = first; k < first + 16; ++k) Label1[k]->setText(table_.cell(k));
}

void frmLtt::timertick() {
  table_.timertick();
}

void frmLtt::mnuClearLtt_Click() {
  table_.clear();
}

}  // namespace ostrel
