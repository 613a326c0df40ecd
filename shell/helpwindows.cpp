#include "shell/helpwindows.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>

#include "calibration/translate.h"
#include "platform/installfolder.h"
#include "platform/numbers.h"
#include "platform/programstate.h"
#include "platform/readfile.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"

namespace ostrel {

namespace {

const QString crlf = QStringLiteral("\r\n");

QString displaytext(QString text) {
  return text.replace(crlf, QStringLiteral("\n"));
}

int px(double twips) {
  return twipstopixels(twips);
}

constexpr int scrollwidth = 255;  // twips
constexpr std::uint32_t white = 0xFFFFFF;
constexpr qint64 picturelimit = 64 * 1024 * 1024;  // far beyond any diagram

}  // namespace

// --- Diagrams ------------------------------------------------------------------------------------------------------

QString vcthelptext() {
  const QString blankline = crlf + crlf;
  return QStringLiteral(
             "VCTi (intake variable cam) or VCTe (exhaust variable cam) can be simply controlled using the 'Linear "
             "VCT control' output option (see settings1->output configuration). When VCTi1 is enabled, PWM2 output "
             "should be connected to VCTi1, PWM3 output to VCTi2, PWM4 output to VCTe1 and PWM5 output to VCTe2 as "
             "required.") +
         QStringLiteral(
             " The inputs to the controller (PID controller, see diagram) are the variable cam angle target and "
             "measured angle, as well as the P, I and D terms of the PID controller (see settings1 -> ignition "
             "triggers).") +
         blankline +
         QStringLiteral(
             "The VCTi and VCTe offsets (see settings1 -> ignition triggers) are supplied by VelkorEMS and should "
             "never be altered. The PID block (see diagram) produces an output variable in response to its inputs. "
             "For linear VCT control, the PID controller output is modified by the scaling function (see diagram) to "
             "produce a duty cycle range optimised for a typical VCT oil control solenoid.") +
         blankline +
         translate(QStringLiteral(
             "For advanced users, it is possible to add a gain schedule (GS) table (a 3D PWM map) to the output of "
             "the PID controller in order to modify the VCT oil control solenoid duty based on an additional "
             "parameter such as coolant temperature (an oil temperature approximation) or battery voltage. To use "
             "this advanced function, obtain a GS PWM map from VelkorEMS.")) +
         blankline +
         QStringLiteral(
             "When using the GS VCT control option, the GS map must be located at PWM MAP 9 for VCTi1, PWM MAP 10 for "
             "VCTi2, PWM MAP 11 for VCTe1 and PWM MAP 12 for VCTe2 (as required), and the appropriate GS VCT control "
             "option selected (see settings1 -> ignition and rpm limits).") +
         QStringLiteral(
             " By convention, the PID controller output is applied to PWM MAP axes Y (select variable VCTxx PID in "
             "settings -> pwm axes). The additional parameter is applied at PWM MAP axes X (see settings -> pwm "
             "axes).") +
         QString(9, QLatin1Char(' '));
}

QString helppicturepath() {
  return installpath(QStringLiteral("helppics/pic001.bmp"));
}

bool hasdiagram(int map) {
  return map >= 106 && map <= 109;
}

HelpLayout helplayout(int outerwidth, int outerheight, HelpLayout l) {
  if (outerwidth > 360) {
    l.picturewidth = outerwidth - 615;
    l.textwidth = outerwidth - 360;
  }
  if (outerheight > 571) l.pictureheight = static_cast<int>(roundhalfeven(0.7 * outerheight - 400));
  if (outerheight - l.pictureheight > 1000) {
    l.textheight = outerheight - l.pictureheight - 900;
    l.texttop = l.pictureheight + 225;
  }
  l.scrollheight = l.pictureheight;
  l.scrollleft = l.left + l.picturewidth;
  return l;
}

int helppicturetop(int scrollvalue) {
  return 1000 - 500 * scrollvalue;
}

frmHelp::frmHelp(const ProgramState& state, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(translate(QStringLiteral("Help")));
  PicHelp = new PictureSurface(this);
  PicHelp->setObjectName(QStringLiteral("PicHelp"));
  PicHelp->setbackcolor(white);
  TextHelp = new QPlainTextEdit(this);
  TextHelp->setObjectName(QStringLiteral("TextHelp"));
  TextHelp->setReadOnly(true);
  TextHelp->setPlainText(QStringLiteral("No help text available."));
  VScrollhelp = new QScrollBar(Qt::Vertical, this);
  VScrollhelp->setObjectName(QStringLiteral("VScrollhelp"));
  VScrollhelp->setRange(0, scrollsteps);
  connect(VScrollhelp, &QScrollBar::valueChanged, this, [this] { VScrollhelp_Change(); });

  // The whole width of the screen, all but 800 twips of its height, at its top left corner.
  QRect screen(0, 0, 1024, 768);
  if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
  setGeometry(screen.left(), screen.top(), screen.width(), std::max(1, screen.height() - px(800)));

  if (hasdiagram(state.curmap)) loadhelp(false);
}

bool frmHelp::loadhelp(bool skip) {
  if (skip) return false;
  // Without its diagram the text would point at nothing: both come, or neither.
  const FileRead read = readwholefile(helppicturepath(), picturelimit);
  QImage picture;
  if (!read.ok() || !picture.loadFromData(read.bytes, "BMP")) return false;
  picture_ = picture.convertToFormat(QImage::Format_RGB32);
  TextHelp->setPlainText(displaytext(vcthelptext()));
  VScrollhelp_Change();
  return true;
}

void frmHelp::VScrollhelp_Change() {
  PicHelp->fillbox(0, 0, 100000, 100000, PicHelp->backcolor());
  if (!picture_.isNull()) PicHelp->paintpicture(picture_, 0, helppicturetop(VScrollhelp->value()));
}

void frmHelp::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layout_ = helplayout(pixelstotwips(width()) + framewidth, pixelstotwips(height()) + frameheight, layout_);
  PicHelp->setGeometry(px(layout_.left), px(layout_.picturetop), std::max(1, px(layout_.picturewidth)),
                       std::max(1, px(layout_.pictureheight)));
  TextHelp->setGeometry(px(layout_.left), px(layout_.texttop), std::max(1, px(layout_.textwidth)),
                        std::max(1, px(layout_.textheight)));
  VScrollhelp->setGeometry(px(layout_.scrollleft), px(layout_.picturetop), px(scrollwidth),
                           std::max(1, px(layout_.scrollheight)));
  // A picture that grew while showing comes up blank: the diagram goes on it again.
  VScrollhelp_Change();
}

void frmHelp::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The picture takes the size the layout gave it only as it shows: the diagram goes on it then.
  VScrollhelp_Change();
}

// --- Hot keys -------------------------------------------------------------------------------------------------------

QStringList hotkeylines() {
  const QString key = QString(5, QLatin1Char(' '));
  const QString separator = QString(36, QLatin1Char(' '));
  return {
      QStringLiteral("Navigation:"),
      key + QStringLiteral("[T] toggle between grid arrows and map arrows"),
      key + QStringLiteral("[L] align grid by load/arrow toggle"),
      key + QStringLiteral("[SPACEBAR] seek load cell"),
      key + QStringLiteral("[ALT] menu hotkeys"),
      key + QStringLiteral("[F3] open fuel base map"),
      key + QStringLiteral("[F4] open spark base map"),
      key + QStringLiteral("[F5] open VE map"),
      key + QStringLiteral("[F6] open knock threshold map"),
      key + QStringLiteral("[F7] open boost target map"),
      key + QStringLiteral("[F8] seek load cell"),
      separator,
      QStringLiteral("Selecting cells:"),
      key + QStringLiteral("[ARROWS] move tuning position"),
      key + QStringLiteral("[CTRL+ARROWS] move mass entry tuning position") + QString(6, QLatin1Char(' ')),
      key + QStringLiteral("[ENTER] direct enter cell/cells"),
      key + QStringLiteral("[E] direct enter cell/cells"),
      separator,
      QStringLiteral("Copying mass selected cells:"),
      key + QStringLiteral("[U] copy cells up in Y direction (or load)"),
      key + QStringLiteral("[D] copy cells down in Y direction (or load)"),
      key + QStringLiteral("[F] copy cells forward in X direction (or rpm)"),
      key + QStringLiteral("[B] copy cells backwards in X direction (or rpm)"),
      separator,
      QStringLiteral("Editing cells:"),
      key + QStringLiteral("[X] interpolate in X direction (or rpm)"),
      key + QStringLiteral("[Y] interpolate in Y direction (or load)"),
      key + QStringLiteral("[PAGEUP] increment cell/s"),
      key + QStringLiteral("[PAGEDOWN] decrement cell/s"),
      key + QStringLiteral("[V] divide cell/cells"),
      key + QStringLiteral("[M] multiply cell/cells"),
      key + QStringLiteral("[A] add to cell/cells"),
      key + QStringLiteral("[S] subtract from cell/cells"),
      key + QStringLiteral("[Q] quick tune feedback apply (key arrow cell)"),
      separator,
      QStringLiteral("Modes:"),
      key + QStringLiteral("[I] imperial/metric mode switch"),
      key + QStringLiteral("[F1] track/hold mode switch"),
      separator,
      QStringLiteral("Operations:"),
      key + QStringLiteral("[F2] save file under current name"),
      key + QStringLiteral("[F9] maximise grid"),
  };
}

QString hotkeystext() {
  return hotkeylines().join(crlf);
}

frmHotkeys::frmHotkeys(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmHotkeys"));
  setWindowTitle(translate(QStringLiteral("Hotkeys")));
  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setReadOnly(true);
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1->setPlainText(displaytext(hotkeystext()));
  // Big enough for the whole list where the screen allows it.
  const QFontMetrics metrics = Text1->fontMetrics();
  int widest = 0;
  for (const QString& line : hotkeylines()) widest = std::max(widest, metrics.horizontalAdvance(line));
  const int scrollbar = Text1->verticalScrollBar()->sizeHint().width();
  int textwidth =
      widest + 2 * static_cast<int>(Text1->document()->documentMargin()) + 2 * Text1->frameWidth() + scrollbar + 12;
  int textheight = metrics.lineSpacing() * (static_cast<int>(hotkeylines().size()) + 2) +
                   2 * static_cast<int>(Text1->document()->documentMargin()) + 2 * Text1->frameWidth();
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    textwidth = std::min(textwidth, s->availableGeometry().width() - 60);
    textheight = std::min(textheight, s->availableGeometry().height() - 100);
  }
  Text1->setGeometry(8, 8, textwidth, textheight);
  resize(textwidth + 16, textheight + 16);
}

}  // namespace ostrel
