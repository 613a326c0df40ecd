#pragma once

#include "link/linkhost.h"

namespace ostrel {

struct ShellContext;
class VelkorV5;

// The shell's side of the link's upward calls: status lines go to the status log, the redraws to the main window
// and its child windows, the communications interval to the main window's timer.
class AppHost final : public LinkHost {
 public:
  AppHost(ShellContext& context, VelkorV5& window) : context_(context), window_(window) {}

  void drawpanel(bool redraw) override;
  void drawmap(bool redraw) override;
  void scrollgridtocell(bool flag) override;
  void updategridhighlights(bool full) override;
  void filldatagrid(bool full) override;
  void statusmessage(const QString& text, bool clear) override;
  void debugmessage(const QString& text) override;
  bool checkcommsstate() override;
  void setcommsinterval(int ms) override;
  void addlogsample(const RxFrame& rxframe) override;

 private:
  ShellContext& context_;
  VelkorV5& window_;
};

}  // namespace ostrel
