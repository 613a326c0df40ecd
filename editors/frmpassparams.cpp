#include "editors/frmpassparams.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <vector>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/maptree.h"
#include "editors/pagefont.h"
#include "editors/passwordfragments.h"
#include "editors/passwordparams.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

namespace {

constexpr int allrows = 32;  // what the boxes offer before a map is chosen
constexpr int nodeindexrole = Qt::UserRole + 1;

}  // namespace

frmPassParams::frmPassParams(EditorContext& context, int fragment, QWidget* parent)
    : QDialog(parent), context_(context), fragment_(fragment) {
  setObjectName(QStringLiteral("frmPassParams"));
  buildcontrols();
  filltree();

  fillboxes(allrows);
  // The passwords window opens no guarded record here; should one be guarded all the same, its bytes stay unshown.
  if (recordguarded(context_.state.guards, fragment_)) return;
  const FragmentRow row = readfragment(context_.mainmaps, fragment_);
  const QString group = mapgrouppart(shownmapname(context_.mainmaps, context_.state.guards, row[fragmentbyte::group]));
  if (!group.isEmpty()) Label5->setText(group);
  const int m = row[fragmentbyte::map];
  Label6->setText(m == allmapsingroup ? QStringLiteral("All maps within group")
                                      : mapnamepart(shownmapname(context_.mainmaps, context_.state.guards, m)));
  setcombos(row[fragmentbyte::firstrow], row[fragmentbyte::lastrow]);
}

void frmPassParams::buildcontrols() {
  setWindowTitle(QStringLiteral("Password parameters"));
  setFont(pagefont());

  NavView = new QTreeWidget(this);
  NavView->setObjectName(QStringLiteral("NavView"));
  NavView->setHeaderHidden(true);
  placetwips(NavView, 120, 120, 4560, 4680);
  connect(NavView, &QTreeWidget::itemDoubleClicked, this, &frmPassParams::NavView_DblClick);

  const auto label = [this](const QString& caption, int top) {
    auto* l = new QLabel(caption, this);
    placetwips(l, 4920, top, 3240, 255);
    return l;
  };
  Label1 = label(QStringLiteral("Selected group:"), 120);
  Label5 = label(QStringLiteral("No change"), 390);
  Label2 = label(QStringLiteral("Selected map:"), 840);
  Label6 = label(QStringLiteral("No change"), 1110);
  Label3 = label(QStringLiteral("First protected row:"), 1560);
  Label4 = label(QStringLiteral("Last protected row:"), 2400);
  for (QLabel* value : {Label5, Label6}) {
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
  }

  Combo1 = new QComboBox(this);
  Combo2 = new QComboBox(this);
  placetwips(Combo1, 4920, 1830, 1800, 315);
  placetwips(Combo2, 4920, 2670, 1800, 315);
  const auto button = [this](const QString& caption, int top, int height) {
    auto* b = new QPushButton(caption, this);
    b->setAutoDefault(false);
    placetwips(b, 6840, top, 900, height);
    return b;
  };
  Command2 = button(QStringLiteral("Enter"), 1830, 315);
  Command3 = button(QStringLiteral("Enter"), 2670, 315);
  Command1 = button(QStringLiteral("&Ok"), 4410, 390);
  connect(Command1, &QPushButton::clicked, this, &frmPassParams::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmPassParams::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &frmPassParams::Command3_Click);

  setFixedSize(twipstopixels(7980), twipstopixels(4920));
}

void frmPassParams::filltree() {
  NavView->clear();
  std::vector<QTreeWidgetItem*> items;
  nodes_ = maptree(context_.mainmaps, context_.state.guards, appliesprefix);
  for (const MapTreeNode& node : nodes_) {
    QTreeWidgetItem* item = node.parent < 0 ? new QTreeWidgetItem(NavView)
                                            : new QTreeWidgetItem(items[static_cast<std::size_t>(node.parent)]);
    item->setText(0, node.text);
    item->setData(0, Qt::UserRole, node.key);
    item->setData(0, nodeindexrole, static_cast<int>(items.size()));
    items.push_back(item);
  }
  for (int i = 0; i < NavView->topLevelItemCount(); ++i) NavView->topLevelItem(i)->setExpanded(true);
}

void frmPassParams::fillboxes(int count) {
  for (QComboBox* box : {Combo1, Combo2}) {
    box->clear();
    box->addItems(rowitems(count));
    box->setCurrentIndex(-1);
  }
}

void frmPassParams::setcombos(int first, int last) {
  if (first < Combo1->count()) Combo1->setCurrentIndex(first);
  if (last < Combo2->count()) Combo2->setCurrentIndex(last);
}

void frmPassParams::setcombolists(int map) {
  fillboxes(context_.mainmaps.getmaprows(map));
  if (recordguarded(context_.state.guards, fragment_)) return;
  const FragmentRow row = readfragment(context_.mainmaps, fragment_);
  setcombos(row[fragmentbyte::firstrow], row[fragmentbyte::lastrow]);
}

void frmPassParams::NavView_DblClick() {
  QTreeWidgetItem* item = NavView->currentItem();
  if (!item || !item->isSelected()) return;
  const int index = item->data(0, nodeindexrole).toInt();
  if (index < 0 || index >= static_cast<int>(nodes_.size())) return;
  const std::optional<ParamsChoice> choice = paramschoice(nodes_[static_cast<std::size_t>(index)]);
  if (!choice) return;
  if (!storeparamschoice(context_, fragment_, *choice)) {
    refuseguarded(context_.prompts);
    return;
  }
  if (choice->singlemap) {
    Label6->setText(choice->name);
  } else {
    Label5->setText(choice->name);
    Label6->setText(QStringLiteral("All maps within group"));
  }
  setcombolists(choice->map);
}

void frmPassParams::Command1_Click() {
  setparams();
  accept();
}

void frmPassParams::storerow(bool last, int item) {
  if (item < 0) return;  // no selection changes nothing
  if (!storeprotectedrow(context_, fragment_, last, item)) refuseguarded(context_.prompts);
}

void frmPassParams::Command2_Click() {
  storerow(false, Combo1->currentIndex());
}

void frmPassParams::Command3_Click() {
  storerow(true, Combo2->currentIndex());
}

}  // namespace ostrel
