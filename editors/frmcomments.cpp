#include "editors/frmcomments.h"

#include <QAction>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "calibration/translate.h"
#include "editors/comments.h"
#include "editors/pagefont.h"
#include "platform/programstate.h"
#include "platform/twips.h"
#include "platform/ui/menupage.h"
#include "platform/ui/twipgeometry.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

frmComments::frmComments(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context) {
  setObjectName(QStringLiteral("frmComments"));
  setWindowTitle(translate(QStringLiteral("Comments")));
  setFont(pagefont());

  const MenuPage parts = addmenupage(this);
  menubar = parts.menubar;
  QWidget* page = parts.page;

  mnuComments = menubar->addMenu(translate(QStringLiteral("&Comments")));
  mnuCommentsSave = mnuComments->addAction(QStringLiteral("&Save and exit"));
  mnuCommentsExit = mnuComments->addAction(QStringLiteral("E&xit without saving"));
  connect(mnuCommentsSave, &QAction::triggered, this, &frmComments::mnuCommentsSave_Click);
  connect(mnuCommentsExit, &QAction::triggered, this, &frmComments::mnuCommentsExit_Click);

  hardComments = new QLabel(page);
  hardComments->setObjectName(QStringLiteral("hardComments"));
  hardComments->setTextFormat(Qt::PlainText);
  placetwips(hardComments, 120, 120, 6360, 285);
  softComments = new QPlainTextEdit(page);
  softComments->setObjectName(QStringLiteral("softComments"));
  softComments->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  softComments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  placetwips(softComments, 120, 480, 6360, 2640);
  page->setFixedSize(twipstopixels(6600), twipstopixels(3240));
  parts.layout->setSizeConstraint(QLayout::SetFixedSize);

  // Rows a password guards show blanks; a soft comment guarded whole cannot be typed into.
  const MapGuards& guards = context_.state.guards;
  hardComments->setText(showncomment(context_.mainmaps, guards, 0, hardcommentlength));
  softComments->setPlainText(
      softcommentforbox(showncomment(context_.mainmaps, guards, softcommentfirstrow, softcommentlength)));
  softComments->setReadOnly(softcommentguarded(guards));
}

void frmComments::showmodal(EditorContext& context, QWidget* parent) {
  frmComments window(context, parent);
  launcher().showmodal(window);
}

void frmComments::mnuCommentsSave_Click() {
  // A refused save keeps the window and its text, so nothing typed is lost.
  if (savecomments(context_, softComments->toPlainText(), QDateTime::currentDateTime())) accept();
}

void frmComments::mnuCommentsExit_Click() {
  reject();
}

}  // namespace ostrel
