#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <cstdint>
#include <functional>
#include <vector>

namespace ostrel {

// The grid of the map grid, log, password and inputs windows: a table model that keeps what the windows put into
// it (header texts, cell texts, colours 0x00BBGGRR, bold) and a table view that shows it. Data cells are addressed
// row first from 0; row -1 is the header row (column labels) and column -1 the header column (row labels).
//
// Cell texts either are put one by one or come from a text source that the model asks whenever the view paints
// (the map grid reads its cells straight from the calibration model). Changes are batched: while redraw is off or a
// batch is open, puts are only recorded, and the end of the batch tells the view once, so a pass over the whole
// grid is one repaint.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  GridModel(int rows, int cols, QObject* parent = nullptr);

  int rowcount() const { return rows_; }
  int colcount() const { return cols_; }
  void setrowcount(int rows);
  void setcolcount(int cols);

  // "" clears. Header cells (-1) are always kept here; data cells only while no text source is set.
  void setcelltext(int row, int col, const QString& text);
  QString celltext(int row, int col) const;
  // Asked for every data cell's text while set; cleared with an empty function.
  using TextSource = std::function<QString(int row, int col)>;
  void settextsource(TextSource source);
  // The source's texts of these cells have changed (the whole grid without arguments).
  void textschanged(int row, int col);
  void textschanged();

  // Colours are 0x00BBGGRR; a cell whose background was never put shows the view's base colour.
  void setcellbackcolor(int row, int col, std::uint32_t bgr);
  void setcellforecolor(int row, int col, std::uint32_t bgr);
  void setcellbold(int row, int col, bool bold);
  static constexpr std::uint32_t nocolor = 0xFFFFFFFFu;
  std::uint32_t cellbackcolor(int row, int col) const;  // nocolor when never put
  std::uint32_t cellforecolor(int row, int col) const;
  bool cellbold(int row, int col) const;

  // Off: puts are stored, not shown; on: everything stored so far is shown at once.
  void setredraw(bool on);
  bool redraw() const { return redraw_; }
  // Kept for the callers that put it before a highlight pass; it changes nothing in this grid.
  void setmarkmode(long mode) { markmode_ = mode; }
  long markmode() const { return markmode_; }

  // Puts between begin and end (nested) reach the view as one change at the last end.
  void beginbatch() { ++batch_; }
  void endbatch();

  void setalignment(Qt::Alignment alignment) { alignment_ = alignment; }

  // QAbstractTableModel
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct Style {
    std::uint32_t back = nocolor;
    std::uint32_t fore = nocolor;
    bool bold = false;
  };

  // A rectangle of data cells that changed since the view was last told; empty while last < first.
  struct Dirty {
    int row0 = 0, row1 = -1, col0 = 0, col1 = -1;
    bool empty() const { return row1 < row0 || col1 < col0; }
    void add(int row, int col);
    void all(int rows, int cols) { *this = {0, rows - 1, 0, cols - 1}; }
  };

  bool valid(int row, int col) const { return row >= -1 && row < rows_ && col >= -1 && col < cols_; }
  int at(int row, int col) const { return row * cols_ + col; }
  Style* style(int row, int col);  // data cells, allocated on the first put
  const Style* style(int row, int col) const;
  void touch(int row, int col, bool text);
  void flush();
  void reshape(int rows, int cols);

  int rows_, cols_;
  std::vector<QString> texts_;  // data cells, allocated on the first put
  std::vector<Style> styles_;
  std::vector<QString> columnlabels_, rowlabels_;
  std::vector<std::uint32_t> columnlabelfore_, rowlabelfore_;
  TextSource source_;
  Qt::Alignment alignment_ = Qt::AlignCenter;
  bool redraw_ = true;
  long markmode_ = 0;
  int batch_ = 0;

  // What changed since the view was last told: texts and looks of data cells apart (the view may measure texts),
  // and the header ranges.
  Dirty dirtytexts_, dirtystyles_;
  int dirtycolumnlabel0_ = 0, dirtycolumnlabel1_ = -1, dirtyrowlabel0_ = 0, dirtyrowlabel1_ = -1;
};

// The scroll window and focus cell of a grid, as the map views move them. A put of the top row or left column makes
// it the first visible one, a put of the bottom row or right column scrolls until it is the last fully visible one;
// the grid scrolls as far as it can and no further. Gets answer what the grid shows now, after the user scrolled.
class GridScrolling {
 public:
  virtual ~GridScrolling() = default;
  virtual int toprow() const = 0;
  virtual void settoprow(int row) = 0;
  virtual int bottomrow() const = 0;
  virtual void setbottomrow(int row) = 0;
  virtual int leftcol() const = 0;
  virtual void setleftcol(int col) = 0;
  virtual int rightcol() const = 0;
  virtual void setrightcol(int col) = 0;
  virtual int currow() const = 0;
  virtual void setcurrow(int row) = 0;
  virtual int curcol() const = 0;
  virtual void setcurcol(int col) = 0;
};

// The view of a GridModel. It never moves or edits anything by itself: every key goes to keydown (as a virtual-key
// code and the modifier mask 1 Shift, 2 Ctrl, 4 Alt) and the window decides what it means.
class GridView : public QTableView, public GridScrolling {
  Q_OBJECT

 public:
  explicit GridView(GridModel* model, QWidget* parent = nullptr);

  GridModel* gridmodel() const { return model_; }

  // Row height and column width in pixels; header row and column (-1) too.
  void setrowheight(int row, int pixels);
  void setcolwidth(int col, int pixels);
  // Keeps every data column one width: at least minimum, and wide enough for the widest text the cells show
  // (measured when texts change; a refill of the whole grid measures afresh). 0 switches it off.
  void setcolumnfit(int minimum);

  int toprow() const override;
  void settoprow(int row) override;
  int bottomrow() const override;
  void setbottomrow(int row) override;
  int leftcol() const override;
  void setleftcol(int col) override;
  int rightcol() const override;
  void setrightcol(int col) override;
  int currow() const override;
  void setcurrow(int row) override;
  int curcol() const override;
  void setcurcol(int col) override;

 signals:
  void keydown(int keycode, int shift);
  void focusreceived();
  // A cell was clicked; currow and curcol name it.
  void cellpicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void scrollContentsBy(int dx, int dy) override;
  void updateGeometries() override;

 private:
  void layoutnow() const;
  // Whole first row and column at the end of the scroll range too.
  void alignfirstcells();
  void setcurrent(int row, int col);
  void fitcolumns(const QModelIndex& first, const QModelIndex& last, const QList<int>& roles);
  void setallcolumnwidths(int pixels);

  GridModel* model_;
  int fitminimum_ = 0;
  int fitwidth_ = 0;
  int fittext_ = 0;  // widest text measured since the last whole refill
};

}  // namespace ostrel
