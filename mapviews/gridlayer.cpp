#include "mapviews/gridlayer.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "mapviews/keycodes.h"
#include "platform/colors.h"

namespace ostrel {

// --- GridModel -------------------------------------------------------------------------------------------------------

GridModel::GridModel(int rows, int cols, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::max(0, rows)), cols_(std::max(0, cols)) {
  columnlabels_.resize(cols_);
  columnlabelfore_.assign(cols_, nocolor);
  rowlabels_.resize(rows_);
  rowlabelfore_.assign(rows_, nocolor);
}

void GridModel::reshape(int rows, int cols) {
  rows = std::max(0, rows);
  cols = std::max(0, cols);
  if (rows == rows_ && cols == cols_) return;
  beginResetModel();
  // Cells keep their place by row and column; cells outside the new shape are dropped.
  auto keep = [&](auto& cells, auto blank) {
    if (cells.empty()) return;
    std::remove_reference_t<decltype(cells)> next(static_cast<std::size_t>(rows) * cols, blank);
    for (int r = 0; r < std::min(rows, rows_); ++r)
      for (int c = 0; c < std::min(cols, cols_); ++c) next[r * cols + c] = std::move(cells[at(r, c)]);
    cells = std::move(next);
  };
  keep(texts_, QString());
  keep(styles_, Style{});
  rows_ = rows;
  cols_ = cols;
  columnlabels_.resize(cols_);
  columnlabelfore_.resize(cols_, nocolor);
  rowlabels_.resize(rows_);
  rowlabelfore_.resize(rows_, nocolor);
  dirtytexts_ = dirtystyles_ = Dirty{};
  dirtycolumnlabel1_ = dirtyrowlabel1_ = -1;
  endResetModel();
}

void GridModel::setrowcount(int rows) {
  reshape(rows, cols_);
}
void GridModel::setcolcount(int cols) {
  reshape(rows_, cols);
}

GridModel::Style* GridModel::style(int row, int col) {
  if (styles_.empty()) styles_.resize(static_cast<std::size_t>(rows_) * cols_);
  return &styles_[at(row, col)];
}

const GridModel::Style* GridModel::style(int row, int col) const {
  return styles_.empty() ? nullptr : &styles_[at(row, col)];
}

void GridModel::Dirty::add(int row, int col) {
  if (empty()) {
    *this = {row, row, col, col};
    return;
  }
  row0 = std::min(row0, row);
  row1 = std::max(row1, row);
  col0 = std::min(col0, col);
  col1 = std::max(col1, col);
}

void GridModel::touch(int row, int col, bool text) {
  if (row == -1 && col == -1) return;  // the corner shows nothing
  if (row == -1) {
    dirtycolumnlabel0_ = dirtycolumnlabel1_ < 0 ? col : std::min(dirtycolumnlabel0_, col);
    dirtycolumnlabel1_ = std::max(dirtycolumnlabel1_, col);
  } else if (col == -1) {
    dirtyrowlabel0_ = dirtyrowlabel1_ < 0 ? row : std::min(dirtyrowlabel0_, row);
    dirtyrowlabel1_ = std::max(dirtyrowlabel1_, row);
  } else {
    (text ? dirtytexts_ : dirtystyles_).add(row, col);
  }
  flush();
}

void GridModel::flush() {
  if (!redraw_ || batch_ > 0) return;
  // Texts and looks go as separate changes so that a view measures texts only when they change; a fill or a
  // highlight pass touches one kind and is one change.
  if (!dirtytexts_.empty())
    emit dataChanged(index(dirtytexts_.row0, dirtytexts_.col0), index(dirtytexts_.row1, dirtytexts_.col1),
                     {Qt::DisplayRole});
  if (!dirtystyles_.empty())
    emit dataChanged(index(dirtystyles_.row0, dirtystyles_.col0), index(dirtystyles_.row1, dirtystyles_.col1),
                     {Qt::BackgroundRole, Qt::ForegroundRole, Qt::FontRole});
  if (dirtycolumnlabel1_ >= 0) emit headerDataChanged(Qt::Horizontal, dirtycolumnlabel0_, dirtycolumnlabel1_);
  if (dirtyrowlabel1_ >= 0) emit headerDataChanged(Qt::Vertical, dirtyrowlabel0_, dirtyrowlabel1_);
  dirtytexts_ = dirtystyles_ = Dirty{};
  dirtycolumnlabel1_ = dirtyrowlabel1_ = -1;
}

void GridModel::endbatch() {
  if (batch_ > 0) --batch_;
  flush();
}

void GridModel::setredraw(bool on) {
  redraw_ = on;
  flush();
}

void GridModel::setcelltext(int row, int col, const QString& text) {
  if (!valid(row, col)) return;
  if (row == -1 && col >= 0) {
    columnlabels_[col] = text;
  } else if (col == -1 && row >= 0) {
    rowlabels_[row] = text;
  } else if (row >= 0 && col >= 0) {
    if (texts_.empty()) {
      if (text.isEmpty()) return;  // nothing to clear yet
      texts_.resize(static_cast<std::size_t>(rows_) * cols_);
    }
    texts_[at(row, col)] = text;
  }
  touch(row, col, true);
}

QString GridModel::celltext(int row, int col) const {
  if (!valid(row, col)) return {};
  if (row == -1) return col >= 0 ? columnlabels_[col] : QString();
  if (col == -1) return rowlabels_[row];
  if (source_) return source_(row, col);
  return texts_.empty() ? QString() : texts_[at(row, col)];
}

void GridModel::settextsource(TextSource source) {
  source_ = std::move(source);
  textschanged();
}

void GridModel::textschanged(int row, int col) {
  if (row >= 0 && col >= 0 && row < rows_ && col < cols_) touch(row, col, true);
}

void GridModel::textschanged() {
  if (rows_ == 0 || cols_ == 0) return;
  dirtytexts_.all(rows_, cols_);
  flush();
}

void GridModel::setcellbackcolor(int row, int col, std::uint32_t bgr) {
  if (!valid(row, col) || row < 0 || col < 0) return;  // headers take their look from the view
  style(row, col)->back = bgr & 0x00FFFFFFu;
  touch(row, col, false);
}

void GridModel::setcellforecolor(int row, int col, std::uint32_t bgr) {
  if (!valid(row, col)) return;
  bgr &= 0x00FFFFFFu;
  if (row == -1 && col >= 0) {
    columnlabelfore_[col] = bgr;
  } else if (col == -1 && row >= 0) {
    rowlabelfore_[row] = bgr;
  } else if (row >= 0 && col >= 0) {
    style(row, col)->fore = bgr;
  }
  touch(row, col, false);
}

void GridModel::setcellbold(int row, int col, bool bold) {
  if (!valid(row, col) || row < 0 || col < 0) return;
  style(row, col)->bold = bold;
  touch(row, col, false);
}

std::uint32_t GridModel::cellbackcolor(int row, int col) const {
  if (!valid(row, col) || row < 0 || col < 0) return nocolor;
  const Style* s = style(row, col);
  return s ? s->back : nocolor;
}

std::uint32_t GridModel::cellforecolor(int row, int col) const {
  if (!valid(row, col)) return nocolor;
  if (row == -1) return col >= 0 ? columnlabelfore_[col] : nocolor;
  if (col == -1) return rowlabelfore_[row];
  const Style* s = style(row, col);
  return s ? s->fore : nocolor;
}

bool GridModel::cellbold(int row, int col) const {
  if (!valid(row, col) || row < 0 || col < 0) return false;
  const Style* s = style(row, col);
  return s && s->bold;
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}
int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row(), col = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return celltext(row, col);
    case Qt::BackgroundRole: {
      const std::uint32_t c = cellbackcolor(row, col);
      return c == nocolor ? QVariant() : QVariant(QBrush(bgrtocolor(c)));
    }
    case Qt::ForegroundRole: {
      const std::uint32_t c = cellforecolor(row, col);
      return c == nocolor ? QVariant() : QVariant(QBrush(bgrtocolor(c)));
    }
    case Qt::FontRole: {
      if (!cellbold(row, col)) return {};
      QFont font;
      font.setBold(true);
      return font;
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(alignment_);
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const bool across = orientation == Qt::Horizontal;
  if (section < 0 || section >= (across ? cols_ : rows_)) return {};
  if (role == Qt::DisplayRole) return across ? columnlabels_[section] : rowlabels_[section];
  if (role == Qt::ForegroundRole) {
    const std::uint32_t c = across ? columnlabelfore_[section] : rowlabelfore_[section];
    return c == nocolor ? QVariant() : QVariant(QBrush(bgrtocolor(c)));
  }
  return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// --- GridView --------------------------------------------------------------------------------------------------------

namespace {

// Cells as the model colours them, and a frame around the focus cell whether or not the grid has the keyboard
// focus: the focus cell is where the program put the grid's attention (the followed cell).
class FocusCellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(parent());
    if (!view || view->currentIndex() != index) return;
    painter->save();
    painter->setPen(QPen(option.palette.color(QPalette::Text), 2));
    painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
    painter->restore();
  }
};

}  // namespace

GridView::GridView(GridModel* model, QWidget* parent) : QTableView(parent), model_(model) {
  setModel(model);
  setItemDelegate(new FocusCellDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  // The focus cell moves only when the program puts it, and never drags the scroll window along.
  setAutoScroll(false);
  setTabKeyNavigation(false);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(false);
  verticalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex&) { emit cellpicked(); });
  connect(model, &QAbstractItemModel::dataChanged, this, &GridView::fitcolumns);
}

void GridView::setrowheight(int row, int pixels) {
  if (row == -1) {
    horizontalHeader()->setFixedHeight(pixels);
  } else if (row >= 0 && row < model_->rowcount()) {
    verticalHeader()->resizeSection(row, pixels);
  }
}

void GridView::setcolwidth(int col, int pixels) {
  if (col == -1) {
    verticalHeader()->setFixedWidth(pixels);
  } else if (col >= 0 && col < model_->colcount()) {
    horizontalHeader()->resizeSection(col, pixels);
  }
}

void GridView::setcolumnfit(int minimum) {
  fitminimum_ = std::max(0, minimum);
  fitwidth_ = fittext_ = 0;
  if (fitminimum_ > 0)
    fitcolumns(model_->index(0, 0), model_->index(model_->rowcount() - 1, model_->colcount() - 1), {});
}

void GridView::setallcolumnwidths(int pixels) {
  for (int c = 0; c < model_->colcount(); ++c) horizontalHeader()->resizeSection(c, pixels);
}

void GridView::fitcolumns(const QModelIndex& first, const QModelIndex& last, const QList<int>& roles) {
  if (fitminimum_ == 0 || !first.isValid() || !last.isValid()) return;
  if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole)) return;
  const bool whole = first.row() == 0 && first.column() == 0 && last.row() == model_->rowcount() - 1 &&
                     last.column() == model_->colcount() - 1;
  // A whole refill may also narrow the columns again; single cells only ever widen them.
  int widest = whole ? 0 : fittext_;
  QFont bold = font();
  bold.setBold(true);
  const QFontMetrics plain(font()), heavy(bold);
  for (int r = first.row(); r <= last.row(); ++r)
    for (int c = first.column(); c <= last.column(); ++c) {
      const QString text = model_->celltext(r, c);
      if (text.isEmpty()) continue;
      widest = std::max(widest, (model_->cellbold(r, c) ? heavy : plain).horizontalAdvance(text));
    }
  // Room for the cell's margins and grid line.
  fittext_ = widest;
  const int width = std::max(fitminimum_, widest + 2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 10);
  if (width == fitwidth_) return;
  fitwidth_ = width;
  setallcolumnwidths(width);
}

void GridView::layoutnow() const {
  // The scroll ranges follow the model and the size only after the view's delayed layout; puts need them now.
  auto* self = const_cast<GridView*>(this);
  self->executeDelayedItemsLayout();
  self->updateGeometries();
}

namespace {

// The first position that shows every section from it to last inside the extent, given the section sizes.
int firstshowing(int last, int extent, const std::function<int(int)>& size) {
  int first = last, used = size(last);
  while (first > 0 && used + size(first - 1) <= extent) used += size(--first);
  return first;
}

// The last section from first on that fits completely inside the extent; first itself when none does.
int lastshowing(int first, int count, int extent, const std::function<int(int)>& size) {
  int last = first, used = size(first);
  while (last + 1 < count && used + size(last + 1) <= extent) used += size(++last);
  return last;
}

}  // namespace

int GridView::toprow() const {
  layoutnow();
  return model_->rowcount() == 0 ? 0 : verticalScrollBar()->value();
}

void GridView::settoprow(int row) {
  layoutnow();
  verticalScrollBar()->setValue(std::clamp(row, 0, std::max(0, model_->rowcount() - 1)));
}

int GridView::bottomrow() const {
  const int top = toprow();
  if (model_->rowcount() == 0) return 0;
  return lastshowing(top, model_->rowcount(), viewport()->height(), [this](int r) { return rowHeight(r); });
}

void GridView::setbottomrow(int row) {
  layoutnow();
  if (model_->rowcount() == 0) return;
  row = std::clamp(row, 0, model_->rowcount() - 1);
  verticalScrollBar()->setValue(firstshowing(row, viewport()->height(), [this](int r) { return rowHeight(r); }));
}

int GridView::leftcol() const {
  layoutnow();
  return model_->colcount() == 0 ? 0 : horizontalScrollBar()->value();
}

void GridView::setleftcol(int col) {
  layoutnow();
  horizontalScrollBar()->setValue(std::clamp(col, 0, std::max(0, model_->colcount() - 1)));
}

int GridView::rightcol() const {
  const int left = leftcol();
  if (model_->colcount() == 0) return 0;
  return lastshowing(left, model_->colcount(), viewport()->width(), [this](int c) { return columnWidth(c); });
}

void GridView::setrightcol(int col) {
  layoutnow();
  if (model_->colcount() == 0) return;
  col = std::clamp(col, 0, model_->colcount() - 1);
  horizontalScrollBar()->setValue(firstshowing(col, viewport()->width(), [this](int c) { return columnWidth(c); }));
}

int GridView::currow() const {
  return std::max(0, currentIndex().row());
}
int GridView::curcol() const {
  return std::max(0, currentIndex().column());
}
void GridView::setcurrow(int row) {
  setcurrent(row, curcol());
}
void GridView::setcurcol(int col) {
  setcurrent(currow(), col);
}

void GridView::setcurrent(int row, int col) {
  const QModelIndex index = model_->index(row, col);
  if (index.isValid()) selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

namespace {

// Puts the header's first visible section, the scroll bar's value, at the leading edge; true when that moved it.
bool alignfirstsection(QHeaderView* header, const QScrollBar* bar) {
  if (header->count() == 0) return false;
  const int offset = header->sectionPosition(header->logicalIndex(std::min(bar->value(), header->count() - 1)));
  if (header->offset() == offset) return false;
  header->setOffset(offset);
  return true;
}

}  // namespace

void GridView::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  alignfirstcells();
}

void GridView::updateGeometries() {
  QTableView::updateGeometries();
  alignfirstcells();
}

void GridView::alignfirstcells() {
  // At the end of its range the table view lines the last row or column up with the far edge and cuts the first
  // one; a tuner reads whole cells from the first visible row and column, so the gap goes after the last instead.
  const bool moved = alignfirstsection(horizontalHeader(), horizontalScrollBar());
  if (alignfirstsection(verticalHeader(), verticalScrollBar()) || moved) viewport()->update();
}

void GridView::keyPressEvent(QKeyEvent* event) {
  emit keydown(virtualkeycode(*event), shiftmask(event->modifiers()));
  event->accept();
}

void GridView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  emit focusreceived();
}

// Tab is a key like any other here: it goes to keydown instead of moving the focus.
bool GridView::focusNextPrevChild(bool) {
  return false;
}

}  // namespace ostrel
