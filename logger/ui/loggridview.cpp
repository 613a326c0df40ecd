#include "logger/ui/loggridview.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>

#include "logger/loggridmodel.h"
#include "platform/ui/twipgeometry.h"

namespace ostrel {

namespace {
constexpr int rowheight = 16;  // pixels
constexpr int columnwidth = 72;
}  // namespace

LogGridView::LogGridView(LogGridModel& model, QWidget* parent) : QTableView(parent), model_(model) {
  setObjectName(QStringLiteral("logGrid"));
  setModel(&model_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideRight);
  QHeaderView* rows = verticalHeader();
  setfixedrowheight(rows, rowheight);
  rows->setDefaultAlignment(Qt::AlignCenter);
  rows->setHighlightSections(false);
  rows->setMinimumWidth(rows->fontMetrics().horizontalAdvance(QStringLiteral("timestamp")) + 16);
  QHeaderView* columns = horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setDefaultSectionSize(columnwidth);
  columns->setHighlightSections(false);
  columns->setTextElideMode(Qt::ElideRight);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);  // a long name keeps its start
  // The corner button paints an empty header section; it gets the model's corner text painted over it.
  if (auto* corner = findChild<QAbstractButton*>()) {
    corner_ = corner;
    corner_->installEventFilter(this);
  }
}

void LogGridView::setcurrentrow(int row) {
  const QModelIndex index = model_.index(row, std::max(currentIndex().column(), 0));
  if (!index.isValid()) return;
  setCurrentIndex(index);
  scrollTo(index);
}

int LogGridView::currentrow() const {
  return currentIndex().isValid() ? currentIndex().row() : -1;
}

bool LogGridView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == corner_ && event->type() == QEvent::Paint) {
    QPainter painter(corner_);
    QStyleOptionHeader option;
    option.initFrom(corner_);
    option.rect = corner_->rect();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.text = model_.cornertext();
    option.textAlignment = Qt::AlignCenter;
    corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
    return true;
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace ostrel
