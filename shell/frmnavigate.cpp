#include "shell/frmnavigate.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTreeWidget>

#include "platform/programstate.h"
#include "platform/twips.h"
#include "shell/connectionstate.h"
#include "shell/navigation.h"

namespace ostrel {

namespace {

// The tree's top left corner in the window, in twips.
constexpr int treeleft = 105;
constexpr int treetop = 150;

}  // namespace

frmNavigate::frmNavigate(Navigation& navigation, const ProgramState& state, QWidget* parent)
    : QWidget(parent), navigation_(navigation), state_(state) {
  setObjectName(QStringLiteral("frmNavigate"));
  setWindowTitle(QStringLiteral("Navigation"));
  NavView = new QTreeWidget(this);
  NavView->setObjectName(QStringLiteral("NavView"));
  NavView->setAccessibleName(QStringLiteral("Maps and setting modules"));
  NavView->setHeaderHidden(true);
  NavView->setColumnCount(1);
  NavView->setSelectionMode(QAbstractItemView::SingleSelection);
  NavView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  NavView->move(twipstopixels(treeleft), twipstopixels(treetop));
  connect(NavView, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { NavView_DblClick(item); });
  resize(twipstopixels(4000), twipstopixels(5000));
}

void frmNavigate::filltree(const std::vector<MapTreeNode>& nodes) {
  NavView->clear();
  std::vector<QTreeWidgetItem*> items;
  items.reserve(nodes.size());
  for (const MapTreeNode& node : nodes) {
    QTreeWidgetItem* item = node.parent < 0
                                ? new QTreeWidgetItem(NavView)
                                : new QTreeWidgetItem(items[static_cast<std::size_t>(node.parent)]);
    item->setText(0, node.text);
    item->setData(0, maprole, node.map);
    // The group nodes hang from the two roots; everything else below them is a map's leaf.
    item->setData(0, grouprole, node.parent == 0 || node.parent == 1);
    items.push_back(item);
  }
  for (int root = 0; root < NavView->topLevelItemCount(); ++root) NavView->topLevelItem(root)->setExpanded(true);
}

void frmNavigate::settreesize(int width, int height) {
  NavView->resize(std::max(1, twipstopixels(width)), std::max(1, twipstopixels(height)));
}

void frmNavigate::NavView_DblClick(QTreeWidgetItem* item) {
  if (!item) return;
  navigation_.opennode(item->data(0, maprole).toInt(), item->data(0, grouprole).toBool());
}

void frmNavigate::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int outerwidth = pixelstotwips(width()) + framewidth;
  const int outerheight = pixelstotwips(height()) + frameheight;
  QSize tree = NavView->size();
  if (outerwidth > 405) tree.setWidth(twipstopixels(outerwidth - 350));
  if (outerheight > 765) tree.setHeight(twipstopixels(outerheight - 765));
  NavView->resize(tree);
}

void frmNavigate::closeEvent(QCloseEvent* event) {
  keepopenonclose(this, event, state_);
}

}  // namespace ostrel
