#include "shell/mapmenus.h"

#include <QAction>
#include <QMenu>

#include "shell/mainwindow.h"

namespace ostrel {

void MapMenus::build(QMenu* groupmenu, QMenu* mapmenu, VelkorV5* window) {
  groupmenu_ = groupmenu;
  mapmenu_ = mapmenu;
  window_ = window;
  fillgroups({GroupMenuItem{QStringLiteral("-"), -1}});
  for (int k = 0; k < mapmenusize; ++k) {
    QAction* action = mapmenu_->addAction(QStringLiteral("***"));
    action->setObjectName(QStringLiteral("mnuMapSub%1").arg(k));
    action->setData(-1);
    if (window_) QObject::connect(action, &QAction::triggered, window_, [w = window_, k] { w->mnuMapSub_Click(k); });
    mnuMapSub[static_cast<std::size_t>(k)] = action;
  }
}

QAction* MapMenus::addgroupitem(int index, const GroupMenuItem& item) {
  QAction* action = item.separator() ? groupmenu_->addSeparator() : groupmenu_->addAction(item.caption);
  action->setObjectName(QStringLiteral("mnuMapGroupSub%1").arg(index));
  action->setData(item.map);
  if (window_ && !item.separator())
    QObject::connect(action, &QAction::triggered, window_, [w = window_, index] { w->mnuMapGroupSub_Click(index); });
  return action;
}

void MapMenus::fillgroups(const std::vector<GroupMenuItem>& items) {
  for (QAction* action : mnuMapGroupSub) {
    groupmenu_->removeAction(action);
    delete action;
  }
  mnuMapGroupSub.clear();
  for (const GroupMenuItem& item : items)
    mnuMapGroupSub.push_back(addgroupitem(static_cast<int>(mnuMapGroupSub.size()), item));
}

void MapMenus::fillmaps(const MapMenu& items, bool enabled) {
  mapmenu_->setEnabled(enabled);
  mapmenu_->menuAction()->setEnabled(enabled);
  for (std::size_t k = 0; k < items.size(); ++k) {
    mnuMapSub[k]->setText(items[k].caption);
    mnuMapSub[k]->setEnabled(items[k].enabled);
    mnuMapSub[k]->setData(items[k].map);
  }
}

int MapMenus::groupmap(int index) const {
  if (index < 0 || index >= static_cast<int>(mnuMapGroupSub.size())) return -1;
  return mnuMapGroupSub[static_cast<std::size_t>(index)]->data().toInt();
}

}  // namespace ostrel
