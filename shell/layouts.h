#pragma once

class QMdiSubWindow;
class QWidget;

namespace ostrel {

// A rectangle in twips, relative to the main window's client area.
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TwipRect&) const = default;
};

// A window as the layouts see it: its state, and its outer rectangle set and read back (a window may not take the
// size it is given, and the windows placed after it go by what it took).
class LayoutWindow {
 public:
  virtual ~LayoutWindow() = default;
  virtual void shownormal() = 0;
  virtual void showminimised() = 0;
  virtual bool isnormal() const = 0;
  virtual void setrect(const TwipRect& rect) = 0;
  virtual TwipRect rect() const = 0;
};

// The tree inside the navigation window, sized by the layouts after the window.
class LayoutTree {
 public:
  virtual ~LayoutTree() = default;
  virtual void settreesize(int width, int height) = 0;
};

// The five permanent child windows, and the settings editor while it is open.
struct LayoutWindows {
  LayoutWindow& display;
  LayoutWindow& graph;
  LayoutWindow& grid;
  LayoutWindow& status;
  LayoutWindow& navigate;
  LayoutTree& tree;
  LayoutWindow* settings = nullptr;
};

namespace layout {
inline constexpr int viewa = 1;
inline constexpr int viewb = 2;
inline constexpr int viewc = 3;
inline constexpr int settings = 10;
}  // namespace layout

// Places the windows in a layout for a main window of the outer size given (twips): VIEW A (1), B (2) or C (3) bring
// every permanent window back to normal and place those that are normal, then the status window is placed when
// status messages are on and minimised when not; layout 10 places only the settings editor; any other value places
// nothing. No window gets less than a pixel across or down, however small the main window.
void arrangelayout(int layout, int mainwidth, int mainheight, bool statuson, LayoutWindows& windows);

// A real child window: the MDI sub-window that frames it.
class SubWindowLayout final : public LayoutWindow {
 public:
  explicit SubWindowLayout(QMdiSubWindow* frame) : frame_(frame) {}
  void shownormal() override;
  void showminimised() override;
  bool isnormal() const override;
  void setrect(const TwipRect& rect) override;
  TwipRect rect() const override;

 private:
  QMdiSubWindow* frame_;
};

// A window of its own (the settings editor), placed as if it were a child of the area: its rectangle counts from
// the area's top left corner.
class DialogLayout final : public LayoutWindow {
 public:
  DialogLayout(QWidget* window, const QWidget* area) : window_(window), area_(area) {}
  void shownormal() override;
  void showminimised() override;
  bool isnormal() const override;
  void setrect(const TwipRect& rect) override;
  TwipRect rect() const override;

 private:
  QWidget* window_;
  const QWidget* area_;
};

}  // namespace ostrel
