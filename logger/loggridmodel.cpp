#include "logger/loggridmodel.h"

#include <QColor>

#include "logger/logsamples.h"
#include "platform/colors.h"

namespace ostrel {

LogGridModel::LogGridModel(QObject* parent) : QAbstractTableModel(parent) {}

LogGridModel::~LogGridModel() = default;

void LogGridModel::fill(const logsamples& store, const LogColumns& columns) {
  beginResetModel();
  snapshot_ = std::make_unique<logsamples>(store);
  columns_ = std::make_unique<LogColumns>(columns);
  endResetModel();
}

void LogGridModel::clear() {
  beginResetModel();
  snapshot_.reset();
  columns_.reset();
  endResetModel();
}

QString LogGridModel::cornertext() const {
  return filled() ? QStringLiteral("timestamp") : QString();
}

bool LogGridModel::datacell(int row, int col) const {
  return filled() && row >= 0 && row < filledrows && col >= 0 && col < logchannelcount;
}

QString LogGridModel::celltext(int row, int col) const {
  if (!filled()) return {};
  if (row == -1 && col == -1) return cornertext();
  if (row == -1) return col >= 0 && col < logchannelcount ? (*columns_)[static_cast<std::size_t>(col)].name : QString();
  if (row < 0 || row >= filledrows) return {};
  if (col == -1) return snapshot_->getlogtimestamps(row);
  if (!datacell(row, col)) return {};
  return (*columns_)[static_cast<std::size_t>(col)].texts[snapshot_->getlogdata(row, col)];
}

std::uint32_t LogGridModel::cellforecolour(int row, int col) const {
  if (!datacell(row, col)) return 0;
  return logpalettecolour((*columns_)[static_cast<std::size_t>(col)].colourcode);
}

std::uint32_t LogGridModel::bandcolour(int row) {
  if (row % 2 != 0) return 0xA0A0A0;
  return (row + 2) / 100 % 2 == 0 ? 0x40A0A0 : 0xA040A0;
}

int LogGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return filled() ? gridrows : emptysize;
}

int LogGridModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return filled() ? logchannelcount : emptysize;
}

QVariant LogGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row(), col = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return celltext(row, col);
    case Qt::ForegroundRole:
      if (datacell(row, col)) return bgrtocolor(cellforecolour(row, col));
      return {};
    case Qt::BackgroundRole:
      if (datacell(row, col)) return bgrtocolor(bandcolour(row));
      return {};
    default:
      return {};
  }
}

QVariant LogGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  return orientation == Qt::Horizontal ? celltext(-1, section) : celltext(section, -1);
}

}  // namespace ostrel
