#pragma once

#include <QTableView>

namespace ostrel {

class LogGridModel;

// The logger's grid: a table view over the log grid model with rows of one fixed height (32,765 of them must not
// be measured), the time stamps as row headers and the model's corner text ("timestamp") in the corner.
class LogGridView : public QTableView {
  Q_OBJECT

 public:
  explicit LogGridView(LogGridModel& model, QWidget* parent = nullptr);

  LogGridModel& gridmodel() const { return model_; }
  // The current row, scrolled into view.
  void setcurrentrow(int row);
  int currentrow() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  LogGridModel& model_;
  QWidget* corner_ = nullptr;
};

}  // namespace ostrel
