#include "shell/mainwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "link/eculink.h"
#include "link/imagetransfer.h"
#include "link/ui/frmtransfer.h"
#include "livewindows/livewindows.h"
#include "logger/logsamples.h"
#include "mapviews/frmmap.h"
#include "mapviews/gridlayer.h"
#include "mapviews/keycodes.h"
#include "mapviews/mapgrid.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/qtprompts.h"
#include "platform/ui/windowlauncher.h"
#include "shell/colorsdialog.h"
#include "shell/frmnavigate.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"
#include "shell/layouts.h"
#include "shell/preferencesdialog.h"
#include "shell/splash.h"
#include "shell/statuslog.h"
#include "shell/statuswindow.h"

namespace ostrel {

namespace {

QTimer* maketimer(QObject* parent, const char* name, int interval) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(QString::fromLatin1(name));
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(interval);
  return timer;
}

}  // namespace

VelkorV5::VelkorV5(ShellContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      timers_(context.state, context.mainmaps, context.link, context.transfer, context.progressjobs, context.prompts,
              *this),
      files_(context.state, context.mainmaps, context.prompts, context.log, *this),
      views_(context.state, context.mainmaps, context.link, context.prompts),
      keys_(context.state, context.mainmaps, context.mainsettings, context.link, views_, context.prompts),
      tuning_({context.state, context.mainmaps, context.templatemaps, context.link, views_, context.prompts}),
      navigation_(context.state, context.mainmaps, *this),
      editorcontext_{context.state,   context.prompts, context.mainmaps,     context.mainsettings,
                     context.link,    *this,           context.templatemaps, context.oldmaps} {
  setObjectName(QStringLiteral("VelkorV5"));
  if (auto* qtprompts = dynamic_cast<QtPrompts*>(&context_.prompts)) qtprompts->setparent(this);
  views_.sethost(this);
  context_.progressjobs.sethost(this);
  tuning_.setdialogparent(this);

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("mdiarea"));
  mdi_->setBackground(QColor(128, 128, 128));
  setCentralWidget(mdi_);
  menus_.build(menuBar(), this);
  mapmenus_.build(menus_.menu("mnuMapGroup"), menus_.menu("mnuMap"), this);
  buildchildwindows();
  wirekeys();

  // The commands and checks timers run from the window's creation, the communications timer from the end of the load.
  TimerComms = maketimer(this, "TimerComms", MainTimers::commsinterval);
  TimerCommands = maketimer(this, "TimerCommands", MainTimers::commandsinterval);
  timerChecks = maketimer(this, "timerChecks", MainTimers::checksinterval);
  connect(TimerComms, &QTimer::timeout, this, [this] { timers_.commstick(); });
  connect(TimerCommands, &QTimer::timeout, this, [this] { timers_.commandstick(); });
  connect(timerChecks, &QTimer::timeout, this, [this] { timers_.checkstick(); });
  TimerCommands->start();
  timerChecks->start();

  context_.link.sethost(this);
}

VelkorV5::~VelkorV5() {
  context_.link.sethost(nullptr);
  context_.progressjobs.sethost(nullptr);
  views_.sethost(nullptr);
  // The child windows call into the map views, the keyboard handler and the live panel (focus changes while they
  // go, the grid detaching its scrolling): they go first, while those are still here. The panel is not drawn
  // again once it has gone.
  if (frmDisplay) frmDisplay->setpanel(nullptr);
  livepanel_.reset();
  delete mdi_;
  mdi_ = nullptr;
  frmDisplay = nullptr;
  frmMapGrid = nullptr;
  frmStatusWindow = nullptr;
  frmNavigate = nullptr;
  frmMap = nullptr;
  if (auto* qtprompts = dynamic_cast<QtPrompts*>(&context_.prompts)) qtprompts->setparent(nullptr);
}

QString VelkorV5::startcaption() {
  return versiontext() + QStringLiteral(" ONLINE PROGRAMMER");
}

QString VelkorV5::abouttext() {
  const QString crlf = QStringLiteral("\r\n");
  return QStringLiteral("Software version: %1.%2 revision %3        ")
             .arg(ostrel::versionmajor)
             .arg(ostrel::versionminor)
             .arg(ostrel::revision) +
         crlf + QStringLiteral("        Company: VELKOR EMS") + crlf +
         QStringLiteral("Check every calibration on the engine before you drive.");
}

QMdiSubWindow* VelkorV5::addchild(QWidget* child) {
  QMdiSubWindow* sub = mdi_->addSubWindow(child);
  sub->setObjectName(child->objectName() + QStringLiteral("Frame"));
  // No icon in the frame (an empty one would show the toolkit's logo).
  QPixmap blank(16, 16);
  blank.fill(Qt::transparent);
  sub->setWindowIcon(QIcon(blank));
  sub->hide();
  return sub;
}

void VelkorV5::buildchildwindows() {
  const ProgramState& state = context_.state;
  auto* display = new ostrel::frmDisplay(context_.state, context_.link, &context_.log);
  frmDisplay = display;
  livepanel_ = std::make_unique<LivePanel>(context_.state, context_.mainmaps, context_.link, *display);
  display->setpanel(livepanel_.get());
  frmMapGrid = new ostrel::frmMapGrid(views_, state);
  frmMapGrid->setObjectName(QStringLiteral("frmMapGrid"));
  frmStatusWindow = new frmStatus(context_.log, context_.state);
  frmNavigate = new ostrel::frmNavigate(navigation_, state);
  frmMap = new ostrel::frmMap(context_.state, context_.mainmaps, context_.link, views_);
  frmMap->setObjectName(QStringLiteral("frmMap"));
  for (QWidget* child : {static_cast<QWidget*>(frmDisplay), static_cast<QWidget*>(frmMap),
                         static_cast<QWidget*>(frmMapGrid), static_cast<QWidget*>(frmStatusWindow),
                         static_cast<QWidget*>(frmNavigate)})
    addchild(child);
}

void VelkorV5::wirekeys() {
  keys_.install();
  keys_.setdialogparent(this);
  // The other permanent windows hand their keys on with the graph as the view that gets the focus, load direction up.
  keys_.forwardkeys(frmDisplay);
  keys_.forwardkeys(frmStatusWindow);
  keys_.forwardkeys(frmNavigate);
  keys_.forwardkeys(frmNavigate->NavView);
  // The status console takes its keys itself and says so.
  connect(frmStatusWindow, &frmStatus::keypressed, this, [this](int key, Qt::KeyboardModifiers modifiers) {
    keys_.mapkeydown(virtualkeycode(key, modifiers.testFlag(Qt::KeypadModifier)), shiftmask(modifiers), MapView::graph,
                     true);
  });
}

void VelkorV5::load() {
  ProgramState& state = context_.state;
  menus_.setmenucaptions();
  // The graph window comes up with the layout.
  for (QWidget* child : {static_cast<QWidget*>(frmDisplay), static_cast<QWidget*>(frmMapGrid),
                         static_cast<QWidget*>(frmStatusWindow), static_cast<QWidget*>(frmNavigate)}) {
    child->parentWidget()->show();
    child->show();
  }
  files_.openlastsaved();  // guards, tree and views, in that order
  views_.filldatagrid(true);
  views_.updategridhighlights(true);
  drawpanel(true);

  // The size the window returns to from maximised.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    setGeometry(area.left() + twipstopixels(50), area.top() + twipstopixels(50),
                twipstopixels(pixelstotwips(area.width()) - 100), twipstopixels(pixelstotwips(area.height()) - 100));
  }
  setWindowTitle(startcaption());

  frmMap->setgraphangles(GraphAngles{62.0f, 7.0f});
  state.exiting = false;
  state.exitticks = 0;
  state.curincrement = 1;
  state.livemode = 0;
  state.keycounts.fill(0);
  state.imageread = false;
  state.redrawticks = 50;
  state.transferwindowopen = false;
  // Nothing is stored until the data logger restarts the log.
  context_.logstore.resetlogsamples();
  state.logindex = logidle;

  showMaximized();
  if (layout()) layout()->activate();
  arrangewindows(state.preferences.defaultview);
  drawmap3d();
  TimerComms->start();
  if (state.preferences.autoconnect) mnuComsConnect_Click();
}

void VelkorV5::showtransfer() {
  frmTransfer::showmodal(context_.transfer, this);
}

void VelkorV5::mnuFileOpen_Click() {
  files_.openfromfile();
}

void VelkorV5::mnuOpenUnix_Click() {
  files_.openunix();
}

void VelkorV5::mnuFileSave_Click() {
  files_.savetofile();
}

void VelkorV5::mnuEcuOpen_Click() {
  ProgramState& state = context_.state;
  if (!state.online) return;
  const EcuLink& link = context_.link;
  if ((link.live().pwmatchmask & link.live().pwprotected) < link.live().pwprotected) {
    const auto answer = context_.prompts.message(
        QStringLiteral("Portions of the ECU file are password protected and will not be uploaded. Continue?"),
        Prompts::Icon::Question, Prompts::Buttons::YesNo);
    if (answer != Prompts::Answer::Yes) return;
  }
  state.transfermode = 1;
  showtransfer();
}

void VelkorV5::mnuEcuVerify_Click() {
  context_.state.transfermode = 2;
  if (context_.state.online) showtransfer();
}

void VelkorV5::mnuEcuSave_Click() {
  context_.state.transfermode = 0;
  context_.transfer.preparebuffer();
  if (context_.state.online) showtransfer();
}

void VelkorV5::mnuFastVerify_Click() {
  showfastverify(context_.state, context_.link, context_.mainmaps, context_.prompts, this);
  // The verify walked the maps through curmap: the views go back to the first one.
  context_.state.curmap = 0;
  openmapview();
}

void VelkorV5::mnuExit_Click() {
  timers_.startexit();
}

void VelkorV5::mnuComsConnect_Click() {
  // Going online sets the menus through onlinechanged; a port that would not open leaves the flag as it was, and the
  // menus still show the offline state.
  if (!context_.link.openport()) setonlinemenus();
  drawmap(true);
}

void VelkorV5::mnuComsDisconnect_Click() {
  context_.link.closeport();
}

void VelkorV5::mnuToolsPreferences_Click() {
  PreferencesEditor editor(context_.state.preferences, context_.prompts, context_.mainsettings, *this);
  frmPreferences dialog(editor, this);
  launcher().showmodal(dialog);
}

void VelkorV5::mnuComErrors_Click() {
  showcomerrors(context_.state, context_.link, this);
}

void VelkorV5::mnuFirmWare_Click() {
  showfirmware(context_.state, context_.link, this);
}

void VelkorV5::mnuInDiagnostic_Click() {
  showinputdiagnostic(context_.state, context_.link, this);
}

void VelkorV5::mnuInputs_Click() {
  showinputs(context_.state, context_.link, context_.mainsettings, this);
}

void VelkorV5::mnuFuelMuls_Click() {
  showfuelmuls(context_.state, context_.link, this);
}

void VelkorV5::mnuLTT_Click() {
  showltt(context_.state, context_.link, this);
}

void VelkorV5::mnuToolsColors_Click() {
  ColorsEditor editor(context_.state.colors, context_.prompts, *this);
  frmColors dialog(editor, this);
  launcher().showmodal(dialog);
}

void VelkorV5::mnuAbout_Click() {
  context_.prompts.message(abouttext(), Prompts::Icon::Information);
}

void VelkorV5::closeEvent(QCloseEvent* event) {
  if (!context_.state.exiting) {
    event->ignore();
    context_.prompts.message(
        QStringLiteral(
            "The application will now be minimised. To exit the application, use the file->exit menu command"),
        Prompts::Icon::Information);
    showMinimized();
    return;
  }
  unload();
  event->accept();
}

void VelkorV5::unload() {
  if (unloaded_) return;
  unloaded_ = true;
  context_.state.exiting = true;
  TimerComms->stop();
  TimerCommands->stop();
  timerChecks->stop();
  context_.link.closeport();
}

}  // namespace ostrel
