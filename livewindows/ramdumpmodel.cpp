#include "livewindows/ramdumpmodel.h"

namespace ostrel {

RamDumpModel::RamDumpModel(const RamImage& image, QObject* parent) : QAbstractTableModel(parent), image_(image) {}

int RamDumpModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ramdumppages;
}

int RamDumpModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 17;
}

QVariant RamDumpModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  const int page = index.row();
  if (index.column() == 0) return ramdumpaddresstext(page);
  if (!hasarrived(page)) return {};
  return ramdumpcelltext(image_[static_cast<std::size_t>(16 * page + index.column() - 1)]);
}

QVariant RamDumpModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return ramdumpheading(section);
  return {};
}

void RamDumpModel::pagearrived(int page) {
  arrived_[static_cast<std::size_t>(page)] = true;
  emit dataChanged(index(page, 1), index(page, 16), {Qt::DisplayRole});
}

}  // namespace ostrel
