#include "editors/frmpasswords.h"

#include <QAction>
#include <QBrush>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "calibration/translate.h"
#include "editors/editorshost.h"
#include "editors/frmpassparams.h"
#include "editors/pagefont.h"
#include "editors/passwordfragments.h"
#include "link/eculink.h"
#include "platform/colors.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/menupage.h"
#include "platform/ui/twipgeometry.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

// Places in twips. The grid's first fragment row lies level with the first row of buttons.
constexpr int gridleft = 120;
constexpr int gridtop = 90;
constexpr int buttontop = 480;
constexpr int buttonpitch = 375;
constexpr int buttonheight = 345;
constexpr int buttonwidth = 1035;
constexpr int buttongap = 45;
constexpr int margin = 120;

const QString crlf = QStringLiteral("\r\n");

}  // namespace

const QString frmPasswords::overviewtext =
    QStringLiteral(
        "There are eight user selectable password fragments. Each fragment can be associated with a map "
        "group or a single map. The purpose of a password fragment, when turned on is:") +
    crlf + crlf +
    QStringLiteral(
        "      1. To prevent a protected map/map group from being uploaded from the ECU, then viewed with "
        "the PC software") +
    crlf + QStringLiteral("      2. To prevent a protected map/map group from being viewed after a PC file is opened") +
    crlf + QStringLiteral("      3. To prevent a protected map/map group from being overwritten") + crlf + crlf +
    QStringLiteral("Note: These functions are inseperable");

const QString frmPasswords::usingtext =
    QStringLiteral("To override functions 1, 2 and 3 (see overview), you must:") + crlf + crlf +
    QStringLiteral(
        "      1. Upload from the ECU then enter the correct password/s (at the 'entered password' field), "
        "then re-upload") +
    crlf + QStringLiteral("      2. Open a file then enter the correct password/s (at the 'entered password' field)") +
    crlf +
    QStringLiteral("      3. Before downloading, enter the correct password/s (at the 'entered password' field)");

const QString frmPasswords::managingtext =
    QStringLiteral(
        "The password fragments may be used for different functions in different files. It is necessary "
        "to upload from the ECU first to") +
    QStringLiteral(
        " ensure that the password fragment functionality is as expected before starting a programming "
        "session. To change the functionality of the password fragments (for example") +
    QStringLiteral(
        " if changing the application of an ECU, it is wise to first switch off all the fragments, set "
        "them to the new desired functions, then download this new") +
    QStringLiteral(" functionality to the ECU.");

frmPasswords::frmPasswords(EditorContext& context, QWidget* parent)
    : LiveWindow(context.state, context.link, selector, timerms, closeafter, {}, parent),
      context_(context),
      editor_(context) {
  setObjectName(QStringLiteral("frmPasswords"));
  buildcontrols();
  startlive();  // the selector 17: the link polls with the password rows and the window data comes here
  for (int r = 1; r <= 8; ++r) setcell(r, passwordgrid::ecustatuscolumn, ecustatuscell(std::nullopt, r - 1));
  refreshpasswordgrid();
}

frmPasswords::~frmPasswords() = default;

void frmPasswords::showmodal(EditorContext& context, QWidget* parent) {
  if (!context.state.pwincluded) {
    context.prompts.message(QStringLiteral("This software version does not include password protection"),
                            Prompts::Icon::Information, Prompts::Buttons::Ok);
    return;
  }
  frmPasswords window(context, parent);
  launcher().showmodal(window);
  // The guards follow the fragments as the window leaves them, also a password entered just before it closed; the
  // tree then names the maps as they may now be shown.
  applymapprotection(context.mainmaps, context.state);
  context.host.buildnavtree();
}

void frmPasswords::buildcontrols() {
  setWindowTitle(translate(QStringLiteral("Passwords")));
  setFont(pagefont());

  const MenuPage parts = addmenupage(this);
  menubar = parts.menubar;
  QWidget* page = parts.page;

  mnuPasswords = menubar->addMenu(translate(QStringLiteral("&Passwords")));
  mnuExit = mnuPasswords->addAction(translate(QStringLiteral("E&xit")));
  mnuHelp = menubar->addMenu(translate(QStringLiteral("&Help")));
  mnuOverview = mnuHelp->addAction(QStringLiteral("&Overview"));
  mnuUsing = mnuHelp->addAction(QStringLiteral("&Using passwords"));
  mnuManaging = mnuHelp->addAction(QStringLiteral("&Managing file changes"));
  connect(mnuExit, &QAction::triggered, this, &frmPasswords::mnuExit_Click);
  connect(mnuOverview, &QAction::triggered, this, &frmPasswords::mnuOverview_Click);
  connect(mnuUsing, &QAction::triggered, this, &frmPasswords::mnuUsing_Click);
  connect(mnuManaging, &QAction::triggered, this, &frmPasswords::mnuManaging_Click);

  PassGrid = new QTableWidget(passwordgrid::rows, passwordgrid::columns, page);
  PassGrid->setObjectName(QStringLiteral("PassGrid"));
  PassGrid->horizontalHeader()->hide();  // row 0 and column 0 are the grid's own header cells
  PassGrid->verticalHeader()->hide();
  PassGrid->verticalHeader()->setMinimumSectionSize(1);
  PassGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  PassGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  PassGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  PassGrid->setSelectionMode(QAbstractItemView::NoSelection);
  PassGrid->setTextElideMode(Qt::ElideNone);  // a text too long for its cell is cut at the cell's edge
  PassGrid->setWordWrap(false);
  PassGrid->setFrameShape(QFrame::Box);
  PassGrid->setLineWidth(1);
  QPalette back = PassGrid->palette();
  back.setColor(QPalette::Base, bgrtocolor(passwordgrid::background));
  PassGrid->setPalette(back);
  int width = 0;
  for (int c = 0; c < passwordgrid::columns; ++c) {
    const int w = passwordgrid::widths[static_cast<std::size_t>(c)];
    PassGrid->setColumnWidth(c, w);
    width += w;
  }
  for (int r = 0; r < passwordgrid::rows; ++r) {
    PassGrid->setRowHeight(r, passwordgrid::rowheight);
    for (int c = 0; c < passwordgrid::columns; ++c) {
      auto* item = new QTableWidgetItem;
      item->setForeground(QBrush(Qt::black));
      PassGrid->setItem(r, c, item);
    }
  }
  const int frame = 2 * PassGrid->frameWidth();
  const int gridheight = passwordgrid::rows * passwordgrid::rowheight + frame;
  PassGrid->setGeometry(twipstopixels(gridleft), twipstopixels(gridtop), width + frame, gridheight);
  for (int c = 0; c < passwordgrid::columns; ++c)
    setcell(0, c, {passwordgrid::headers[static_cast<std::size_t>(c)], passwordgrid::headercolour});
  connect(PassGrid, &QTableWidget::cellClicked, this, &frmPasswords::PassGrid_Click);

  const int buttonleft = pixelstotwips(PassGrid->geometry().right() + 1) + margin;
  const auto button = [&](const QString& caption, int i, int column) {
    auto* b = new QPushButton(caption, page);
    b->setAutoDefault(false);
    placetwips(b, buttonleft + column * (buttonwidth + buttongap), buttontop + buttonpitch * i, buttonwidth,
               buttonheight);
    return b;
  };
  for (int i = 0; i < 8; ++i) {
    const auto at = static_cast<std::size_t>(i);
    CommandON[at] = button(QStringLiteral("TURN ON"), i, 0);
    CommandOFF[at] = button(QStringLiteral("TURN OFF"), i, 1);
    CommandRESET[at] = button(QStringLiteral("RESET"), i, 2);
    connect(CommandON[at], &QPushButton::clicked, this, [this, i] { CommandON_Click(i); });
    connect(CommandOFF[at], &QPushButton::clicked, this, [this, i] { CommandOFF_Click(i); });
    connect(CommandRESET[at], &QPushButton::clicked, this, [this, i] { CommandRESET_Click(i); });
  }

  const int right = buttonleft + 3 * buttonwidth + 2 * buttongap + margin;
  const int bottom = std::max(gridtop + pixelstotwips(gridheight), buttontop + 8 * buttonpitch) + margin;
  page->setFixedSize(twipstopixels(right), twipstopixels(bottom));
  parts.layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmPasswords::setcell(int row, int column, const GridCell& cell) {
  QTableWidgetItem* item = PassGrid->item(row, column);
  if (!item) return;
  item->setText(cell.text);
  item->setBackground(QBrush(bgrtocolor(cell.back)));
}

void frmPasswords::refreshpasswordgrid() {
  editor_.refresh();
  PassGrid->setUpdatesEnabled(false);
  for (int i = 0; i < 8; ++i) {
    const PasswordGridRow row = editor_.gridrow(i);
    for (int c = 0; c < passwordgrid::columns; ++c)
      if (c != passwordgrid::ecustatuscolumn) setcell(i + 1, c, row.cells[static_cast<std::size_t>(c)]);
    const auto at = static_cast<std::size_t>(i);
    CommandON[at]->setEnabled(row.onenabled);
    CommandOFF[at]->setEnabled(row.offenabled);
    CommandRESET[at]->setEnabled(row.resetenabled);
  }
  PassGrid->setUpdatesEnabled(true);
}

void frmPasswords::passdata(const RxFrame&) {
  const std::uint8_t mask = context_.link.live().pwmatchmask;
  for (int r = 1; r <= 8; ++r) setcell(r, passwordgrid::ecustatuscolumn, ecustatuscell(mask, r - 1));
}

void frmPasswords::after(PasswordEditor::After what, int fragment) {
  switch (what) {
    case PasswordEditor::After::nothing:
      break;
    case PasswordEditor::After::refresh:
      refreshpasswordgrid();
      break;
    case PasswordEditor::After::editparameters: {
      pwediting_ = fragment;
      frmPassParams dialog(context_, fragment, this);
      launcher().showmodal(dialog);
      refreshpasswordgrid();
      break;
    }
  }
}

void frmPasswords::PassGrid_Click(int row, int column) {
  after(editor_.cellclicked(row, column), row - 1);
}

void frmPasswords::CommandON_Click(int index) {
  after(editor_.turnon(index), index);
  PassGrid->setFocus();
}

void frmPasswords::CommandOFF_Click(int index) {
  after(editor_.turnoff(index), index);
  PassGrid->setFocus();
}

void frmPasswords::CommandRESET_Click(int index) {
  after(editor_.reset(index), index);
  PassGrid->setFocus();
}

void frmPasswords::mnuExit_Click() {
  // The window closes itself a few ticks after the selector has gone.
  editor_.exit(live().holdsselector());
}

void frmPasswords::help(const QString& text) {
  context_.prompts.message(translate(text), Prompts::Icon::Information, Prompts::Buttons::Ok);
}

void frmPasswords::mnuOverview_Click() {
  help(overviewtext);
}

void frmPasswords::mnuUsing_Click() {
  help(usingtext);
}

void frmPasswords::mnuManaging_Click() {
  help(managingtext);
}

}  // namespace ostrel
