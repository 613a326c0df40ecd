#include "livewindows/livegridmodel.h"

#include <QBrush>

#include "platform/colors.h"

namespace ostrel {

LiveGridModel::LiveGridModel(int rows, int cols, CellAt cellat, std::vector<Qt::Alignment> alignments, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(rows),
      cols_(cols),
      cellat_(std::move(cellat)),
      alignments_(std::move(alignments)) {}

int LiveGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int LiveGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QVariant LiveGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= cols_) return {};
  const GridCell& cell = cellat_(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
      return cell.text;
    case Qt::BackgroundRole:
      return QBrush(bgrtocolor(cell.bgr));
    case Qt::ForegroundRole: {
      // Dark cells (the low, unused and inactive states) carry light text.
      const QColor background = bgrtocolor(cell.bgr);
      return QBrush(qGray(background.rgb()) < 128 ? Qt::white : Qt::black);
    }
    case Qt::TextAlignmentRole: {
      const auto col = static_cast<std::size_t>(index.column());
      const Qt::Alignment alignment = col < alignments_.size() ? alignments_[col] : Qt::Alignment(Qt::AlignLeft);
      return static_cast<int>(alignment.toInt());
    }
    default:
      return {};
  }
}

void LiveGridModel::refresh() {
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

}  // namespace ostrel
