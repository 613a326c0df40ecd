#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "livewindows/inputstable.h"

namespace ostrel {

// An item model over a live window's grid of cells (text and background), read lazily through cellat. A decoded
// reply is one refresh: one change signal over the whole grid, so the view repaints once.
class LiveGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using CellAt = std::function<const GridCell&(int row, int col)>;

  // alignments: the text alignment of each column.
  LiveGridModel(int rows, int cols, CellAt cellat, std::vector<Qt::Alignment> alignments, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  void refresh();

 private:
  int rows_;
  int cols_;
  CellAt cellat_;
  std::vector<Qt::Alignment> alignments_;
};

}  // namespace ostrel
