// The transfer dialog over the in-process simulator: its texts and progress, closing by itself, Cancel, Escape
// and a closed port.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "link/imagetransfer.h"
#include "link/ui/frmtransfer.h"
#include "linkfixture.h"

namespace ostrel::test {
namespace {

class TransferDialog : public SimLink {
 protected:
  TransferDialog() {
    CalibrationImage image{};
    for (int i = 2048; i < imagesize - 16; ++i) image[i] = static_cast<std::uint8_t>(i * 5 + 1);
    sim.setimage(image);
  }
  // One dialog tick and a second of link ticks.
  void second(frmTransfer& dialog) {
    dialog.Timer1_Timer();
    step(33);
  }

  ImageTransfer transfer{state, model, prompts, link};
};

TEST_F(TransferDialog, AReadShowsItsProgressAndClosesWhenDone) {
  connectandsettle();
  state.transfermode = 1;
  frmTransfer dialog(transfer);
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("File transfer"));
  EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Uploading file from ECU"));
  EXPECT_EQ(dialog.Timer1->interval(), 1000);
  EXPECT_TRUE(dialog.Timer1->isActive());
  EXPECT_TRUE(state.transferwindowopen);
  const QRect screen = dialog.screen()->geometry();
  EXPECT_EQ(dialog.pos(), QPoint((screen.width() - dialog.width()) / 2, (screen.height() - dialog.height()) / 3));

  for (int t = 0; t < 30; ++t) second(dialog);
  dialog.Timer1_Timer();  // the dialog shows where the rows are at this tick
  ASSERT_TRUE(transfer.transferactive());
  EXPECT_EQ(dialog.Label1->text(), QStringLiteral("File transferring from ECU to PC"));
  EXPECT_EQ(dialog.ProgressBar1->value(), transfer.transferline * 99 / 2048);
  EXPECT_GT(dialog.ProgressBar1->value(), 30);
  savescreenshot(&dialog, QStringLiteral("transfer"));

  for (int t = 0; t < 60 && dialog.isVisible(); ++t) second(dialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.Timer1->isActive());
  EXPECT_FALSE(state.transferwindowopen);
  EXPECT_EQ(model.getimage(), sim.image());
  EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(TransferDialog, CancelAndEscapeCloseAtOnce) {
  connectandsettle();
  for (int mode : {0, 2}) {
    state.transfermode = static_cast<std::uint8_t>(mode);
    if (mode == 0) transfer.preparebuffer();
    frmTransfer dialog(transfer);
    dialog.show();
    EXPECT_EQ(dialog.Label1->text(),
              mode == 0 ? QStringLiteral("Please wait, preparing data") : QStringLiteral("Uploading file for verify"));
    for (int t = 0; t < 5; ++t) second(dialog);
    ASSERT_TRUE(transfer.transferactive());
    if (mode == 0)
      dialog.cmdCancel->click();
    else
      dialog.reject();  // Escape, the close box
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(transfer.transferactive());
    EXPECT_FALSE(state.transferwindowopen);
    EXPECT_EQ(host.statuslines.back(), mode == 0
                                           ? QStringLiteral("File transfer cancelled: the ECU holds an incomplete file")
                                           : QStringLiteral("File transfer cancelled: the verify was not completed"));
    step(10);
  }
  EXPECT_TRUE(prompts.messages().empty()) << "a cancelled verify reports nothing";
}

TEST_F(TransferDialog, AClosedPortClosesTheDialogWithAMessage) {
  connectandsettle();
  state.transfermode = 1;
  frmTransfer dialog(transfer);
  dialog.show();
  for (int t = 0; t < 10; ++t) second(dialog);
  link.closeport();
  dialog.Timer1_Timer();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(prompts.messages(),
            std::vector<QString>{QStringLiteral(
                "The connection to the ECU was closed, the file transfer has stopped: nothing was read from the ECU")});
  EXPECT_EQ(model.getimage(), CalibrationImage{});
  EXPECT_FALSE(state.transferwindowopen);
}

}  // namespace
}  // namespace ostrel::test
