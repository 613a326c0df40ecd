#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>

class QPlainTextEdit;
class QScrollBar;

namespace ostrel {

class PictureSurface;
struct ProgramState;

// --- Diagrams ------------------------------------------------------------------------------------------------------

// The explanation of the cam timing control that the Diagrams window shows beside its picture; only the paragraph
// on the gain schedule passes through translate.
QString vcthelptext();
// The diagram in the install folder: "helppics/pic001.bmp".
QString helppicturepath();
// The Diagrams window fills itself only for the 3-D PWM maps 106 to 109, the cam timing maps.
bool hasdiagram(int map);

// Places of the Diagrams window's controls for its outer size, in twips.
struct HelpLayout {
  int left = 105;
  int picturetop = 105;
  int picturewidth = 9000;
  int pictureheight = 5000;
  int textwidth = 9255;
  int texttop = 5225;
  int textheight = 2000;
  int scrollleft = 9105;
  int scrollheight = 5000;
};
HelpLayout helplayout(int outerwidth, int outerheight, HelpLayout layout);
// Where the picture's top goes for a position of the scroll bar: 1000 twips down at 0, 500 twips higher a step.
int helppicturetop(int scrollvalue);

// The Diagrams window "Help": for a cam timing map the diagram (scrolled by the bar at its right) and the text
// under it; for any other map the text "No help text available." and no picture. The text points at the diagram,
// so a picture that cannot be read leaves the design text too (and says nothing).
class frmHelp : public QDialog {
  Q_OBJECT

 public:
  static constexpr int scrollsteps = 20;

  explicit frmHelp(const ProgramState& state, QWidget* parent = nullptr);

  // Loads the picture and the text unless the flag is true; true when the picture was loaded.
  bool loadhelp(bool skip);
  // The picture again at the scroll bar's position.
  void VScrollhelp_Change();

  PictureSurface* PicHelp = nullptr;
  QPlainTextEdit* TextHelp = nullptr;
  QScrollBar* VScrollhelp = nullptr;

  const QImage& picture() const { return picture_; }

  static constexpr int framewidth = 120;
  static constexpr int frameheight = 465;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  HelpLayout layout_;
  QImage picture_;
};

// --- Hot keys -------------------------------------------------------------------------------------------------------

// The 42 lines of the keyboard commands, as the Hotkeys window lists them, and joined by CR LF (no line break after
// the last line).
QStringList hotkeylines();
QString hotkeystext();

// The Hotkeys window "Hotkeys": the list of keys in one text box.
class frmHotkeys : public QDialog {
  Q_OBJECT

 public:
  explicit frmHotkeys(QWidget* parent = nullptr);

  QPlainTextEdit* Text1 = nullptr;
};

}  // namespace ostrel
