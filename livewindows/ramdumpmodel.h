#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "livewindows/ramdump.h"

namespace ostrel {

// The RAM dump grid: one row per page (768), the page's address in column 0 and its 16 bytes in columns 1 to 16,
// headed "address" and "d &H0" to "d &HF". A page's bytes show once it has arrived since the window opened.
class RamDumpModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RamDumpModel(const RamImage& image, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The page's bytes in the copy are new: show them.
  void pagearrived(int page);
  bool hasarrived(int page) const { return arrived_[static_cast<std::size_t>(page)]; }

 private:
  const RamImage& image_;
  std::vector<bool> arrived_ = std::vector<bool>(ramdumppages, false);
};

}  // namespace ostrel
