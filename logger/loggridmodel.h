#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>

#include "logger/logchannels.h"

namespace ostrel {

class logsamples;

// The logger's grid: the time stamps (vertical header) and the 16 scaled channel values of the first 32,761
// samples, over a copy of the store taken when it is filled. Texts and colours are made when the view asks for a
// cell, never ahead for the whole table. Until the first fill, and after a log restart, it is an empty 2 x 2 grid.
class LogGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int gridrows = 32765;    // rows of a filled grid; the last four stay empty
  static constexpr int filledrows = 32761;  // samples 0 to 32,760 are shown
  static constexpr int emptysize = 2;

  explicit LogGridModel(QObject* parent = nullptr);
  ~LogGridModel() override;

  // "Populate grid": shows the store as it stands now, the channels as set up now.
  void fill(const logsamples& store, const LogColumns& columns);
  // A restart of the log: back to the empty 2 x 2 grid.
  void clear();
  bool filled() const { return snapshot_ != nullptr; }

  // The text of the corner where the header row and the time stamp column meet.
  QString cornertext() const;
  // The text of a cell; row -1 is the header row, column -1 the time stamp column.
  QString celltext(int row, int col) const;
  // Colours 0x00BBGGRR of a data cell; the background bands: odd rows grey, even rows change every 100 rows.
  std::uint32_t cellforecolour(int row, int col) const;
  static std::uint32_t bandcolour(int row);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  bool datacell(int row, int col) const;

  std::unique_ptr<logsamples> snapshot_;
  std::unique_ptr<LogColumns> columns_;
};

}  // namespace ostrel
