#pragma once

#include <QWidget>

namespace ostrel {

class GridView;
class MapViews;
struct ProgramState;

// The map grid window, one of the permanent child windows: the current map as a table of numbers under its axis
// labels (MapViews fills, colours and scrolls it). Keys go to the common keyboard handler; closing it while the
// program runs only minimises it. The map views must outlive the window.
class frmMapGrid : public QWidget {
  Q_OBJECT

 public:
  frmMapGrid(MapViews& views, const ProgramState& state, QWidget* parent = nullptr);
  ~frmMapGrid() override;

  GridView* MapGrid() const { return grid_; }

  // Grid sizes in pixels: rows 19 high, columns 75 wide; the header column holds the longest axis labels.
  static constexpr int rowheight = 19;
  static constexpr int colwidth = 75;
  static constexpr int labelwidth = 90;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  MapViews& views_;
  const ProgramState& state_;
  GridView* grid_;
  bool resized_ = false;
};

}  // namespace ostrel
