#include "editors/frmimport.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "calibration/translate.h"
#include "editors/editorcontext.h"
#include "editors/editorshost.h"
#include "platform/programstate.h"
#include "platform/ui/menupage.h"
#include "platform/ui/twipgeometry.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

// Designed sizes and places (twips) below the menu bar.
constexpr int treeleft = 120, treetop = 120, treewidth = 5880, treeheight = 6360;
constexpr int listleft = 6120, listwidth = 4200, listheight = 3840;
constexpr int buttonleft = listleft, buttonwidth = 2040, buttonheight = 375, buttonpitch = 480;
constexpr int windowwidth = listleft + listwidth + 120;
constexpr int windowheight = treetop + treeheight + 120;
constexpr int buttontop = treetop + listheight + 240;

constexpr int noderole = Qt::UserRole;  // the item's node number in the importer's tree

}  // namespace

frmImport::frmImport(EditorContext& context, QWidget* parent) : QDialog(parent), context_(context), importer_(context) {
  setObjectName(QStringLiteral("frmImport"));
  setWindowTitle(QStringLiteral("Import file fragments"));

  const MenuPage parts = addmenupage(this);
  menubar = parts.menubar;
  QWidget* page = parts.page;

  mnuFile = menubar->addMenu(translate(QStringLiteral("&File")));
  mnuOpenVA = mnuFile->addAction(QStringLiteral("Open V2.1 donor file"));
  mnuOpenVB = mnuFile->addAction(QStringLiteral("Open V2.5 donor file"));
  mnuOpenVC = mnuFile->addAction(QStringLiteral("Open V2.6 donor file"));
  mnuExit = mnuFile->addAction(translate(QStringLiteral("E&xit")));
  mnuImport = menubar->addMenu(QStringLiteral("&Import"));
  mnuImportSelected = mnuImport->addAction(QStringLiteral("&Import Selected"));

  NavView = new QTreeWidget(page);
  NavView->setObjectName(QStringLiteral("NavView"));
  NavView->setHeaderHidden(true);
  placetwips(NavView, treeleft, treetop, treewidth, treeheight);
  TextDonors = new QPlainTextEdit(nofragmentstext, page);
  TextDonors->setObjectName(QStringLiteral("TextDonors"));
  TextDonors->setReadOnly(true);
  TextDonors->setLineWrapMode(QPlainTextEdit::NoWrap);
  placetwips(TextDonors, listleft, treetop, listwidth, listheight);

  const auto button = [page](const QString& caption, int left, int row) {
    auto* b = new QPushButton(caption, page);
    b->setAutoDefault(false);
    placetwips(b, left, buttontop + row * buttonpitch, buttonwidth, buttonheight);
    b->setEnabled(false);  // until a donor has been read
    return b;
  };
  const int right = buttonleft + buttonwidth + 120;
  Command1 = button(translate(QStringLiteral("Select All")), buttonleft, 0);
  Command2 = button(QStringLiteral("Select none"), right, 0);
  Command3 = button(QStringLiteral("Expand all"), buttonleft, 1);
  Command4 = button(QStringLiteral("Contract all"), right, 1);
  Command5 = button(QStringLiteral("Import list"), buttonleft, 2);
  mnuImport->setEnabled(false);
  mnuImportSelected->setEnabled(false);

  connect(mnuOpenVA, &QAction::triggered, this, [this] { opendonor(DonorVersion::v21); });
  connect(mnuOpenVB, &QAction::triggered, this, [this] { opendonor(DonorVersion::v25); });
  connect(mnuOpenVC, &QAction::triggered, this, [this] { opendonor(DonorVersion::v26); });
  connect(mnuExit, &QAction::triggered, this, &frmImport::mnuExit_Click);
  connect(mnuImportSelected, &QAction::triggered, this, &frmImport::importlist);
  connect(NavView, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { NavView_DblClick(item); });
  connect(Command1, &QPushButton::clicked, this, &frmImport::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmImport::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &frmImport::Command3_Click);
  connect(Command4, &QPushButton::clicked, this, &frmImport::Command4_Click);
  connect(Command5, &QPushButton::clicked, this, &frmImport::importlist);

  filltree();
  resize(twipstopixels(windowwidth), twipstopixels(windowheight) + menubar->sizeHint().height());
}

void frmImport::showmodal(EditorContext& context, QWidget* parent) {
  if (context.state.online) return;  // an import would leave the ECU on the old maps
  frmImport window(context, parent);
  launcher().showmodal(window);
}

void frmImport::filltree() {
  const std::vector<MapTreeNode>& tree = importer_.tree();
  items_.clear();
  for (std::size_t n = 0; n < tree.size(); ++n) {
    const MapTreeNode& node = tree[n];
    auto* item = node.parent < 0 ? new QTreeWidgetItem(NavView)
                                 : new QTreeWidgetItem(items_[static_cast<std::size_t>(node.parent)]);
    item->setText(0, node.text);
    item->setData(0, noderole, static_cast<int>(n));
    items_.push_back(item);
  }
  items_[0]->setExpanded(true);
  items_[1]->setExpanded(true);
}

QTreeWidgetItem* frmImport::node(int n) const {
  return n >= 0 && n < static_cast<int>(items_.size()) ? items_[static_cast<std::size_t>(n)] : nullptr;
}

void frmImport::importdonorlist() {
  TextDonors->setPlainText(importer_.donorlist());
}

void frmImport::importproceed() {
  for (QPushButton* b : {Command1, Command2, Command3, Command4, Command5}) b->setEnabled(true);
  mnuImport->setEnabled(true);
  mnuImportSelected->setEnabled(true);
}

void frmImport::opendonor(DonorVersion version) {
  const std::array<bool, 116> before = importer_.selected();
  if (!importer_.opendonor(version)) {
    reject();
    return;
  }
  if (importer_.selected() != before) importdonorlist();  // maps the new donor lacks have gone
  importproceed();
}

void frmImport::NavView_DblClick(QTreeWidgetItem* item) {
  if (item && importer_.choose(item->data(0, noderole).toInt())) importdonorlist();
}

void frmImport::Command1_Click() {
  importer_.selectall();
  importdonorlist();
}

void frmImport::Command2_Click() {
  importer_.selectnone();
  importdonorlist();
}

void frmImport::Command3_Click() {
  for (QTreeWidgetItem* item : items_) item->setExpanded(true);
}

void frmImport::Command4_Click() {
  for (std::size_t n = 2; n < items_.size(); ++n) items_[n]->setExpanded(false);
}

void frmImport::importlist() {
  if (!importer_.donorready()) return;
  importer_.import();
  accept();
}

void frmImport::mnuExit_Click() {
  context_.host.openmapview();
  reject();
}

}  // namespace ostrel
