#include "shell/transferwiring.h"

#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "link/ui/frmtransfer.h"
#include "shell/mainwindow.h"
#include "shell/shellhooks.h"
#include "shell/startup.h"

namespace ostrel {

void connecttransfer(ShellContext& context, ImageTransfer& transfer, StartProcedure& start) {
  ShellHooks& h = context.hooks;
  h.preparebuffer = [&transfer] { transfer.preparebuffer(); };
  h.showtransfer = [&transfer](QWidget* parent) { frmTransfer::showmodal(transfer, parent); };
  // Storing or comparing what was read still counts: the checks timer must not synchronise a map meanwhile.
  h.transferactive = [&transfer] { return transfer.busy(); };
  h.queuemapwrite = [&context](std::uint8_t map, const PendingWrite& rect) {
    context.link.queuemapwrite(map, rect.lowrow, rect.highrow, rect.lowcol, rect.highcol);
  };

  // The shell's own hooks are looked up at call time: the windows that fill them may come later than this.
  transfer.hooks.buildnavtree = [&context] {
    if (context.hooks.buildnavtree) context.hooks.buildnavtree(true, false);
  };
  transfer.hooks.loadpasswordfragments = [&context](bool reset) {
    if (context.hooks.loadpasswordfragments) context.hooks.loadpasswordfragments(reset);
  };
  transfer.hooks.openmapview = [&start] {
    if (VelkorV5* window = start.mainwindow()) window->openmapview();
  };
}

}  // namespace ostrel
