#include "shell/mainwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "calibration/maps.h"
#include "calibration/settings.h"
#include "calibration/translate.h"
#include "link/eculink.h"
#include "mapviews/gridlayer.h"
#include "mapviews/keycodes.h"
#include "mapviews/mapgrid.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/qtprompts.h"
#include "shell/colorsdialog.h"
#include "shell/gaugewindow.h"
#include "shell/livepanel.h"
#include "shell/placeholders.h"
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

QAction* makeaction(QMenu* menu, const char* name) {
  QAction* action = menu->addAction(QString());
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

QMenu* makemenu(QMenuBar* bar, const char* name) {
  QMenu* menu = bar->addMenu(QString());
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

QMenu* makesubmenu(QMenu* parent, const char* name) {
  QMenu* menu = parent->addMenu(QString());
  menu->setObjectName(QString::fromLatin1(name));
  return menu;
}

void settitle(QMenu* menu, const char* caption) {
  menu->setTitle(translate(QString::fromLatin1(caption)));
}
void settext(QAction* action, const char* caption) {
  action->setText(translate(QString::fromLatin1(caption)));
}

}  // namespace

VelkorV5::VelkorV5(ShellContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      hooks_(context.hooks),
      host_(context, *this),
      timers_(context.state, context.mainmaps, context.link, context.prompts),
      files_(context.state, context.mainmaps, context.prompts, context.log),
      views_(context.state, context.mainmaps, context.link, context.prompts),
      keys_(context.state, context.mainmaps, context.mainsettings, context.link, views_, context.prompts) {
  setObjectName(QStringLiteral("VelkorV5"));
  if (auto* qtprompts = dynamic_cast<QtPrompts*>(&context_.prompts)) qtprompts->setparent(this);

  timers_.sethooks({
      .queuemapwrite = [this](std::uint8_t map, const PendingWrite& rect) { queuemapwrite(map, rect); },
      .transferactive = [this] { return hooks_.transferactive && hooks_.transferactive(); },
      .runmapsync =
          [this] {
            if (hooks_.runmapsync)
              hooks_.runmapsync();
            else
              queuewholemap(context_.state.curmap);
          },
      .refreshactiveview = [this] { views_.refreshactiveview(); },
      .drawmap = [this](bool redraw) { drawmap(redraw); },
      .setonlinemenus = [this] { setonlinemenus(); },
      .unloadmainwindow = [this] { close(); },
  });
  files_.sethooks({
      .buildnavtree =
          [this](bool filltree, bool fillmenus) {
            if (hooks_.buildnavtree) hooks_.buildnavtree(filltree, fillmenus);
          },
      .loadpasswordfragments =
          [this](bool reset) {
            if (hooks_.loadpasswordfragments) hooks_.loadpasswordfragments(reset);
          },
      .drawmap3d = [this] { call(hooks_.drawmap3d); },
      .openmapview = [this] { openmapview(); },
      .setcaption = [this](const QString& caption) { setWindowTitle(caption); },
      .flushpending = [this] { timers_.handoverpending(true); },
  });

  views_.hooks.drawmap = [this](bool redraw) { drawmap(redraw); };
  views_.hooks.statusmessage = [this](const QString& text, bool clear) { context_.log.statusmessage(text, clear); };
  views_.hooks.setmaincaption = [this](const QString& caption) { setWindowTitle(caption); };

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("mdiarea"));
  mdi_->setBackground(QColor(128, 128, 128));
  setCentralWidget(mdi_);
  buildmenus();
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

  context_.link.sethost(&host_);
}

VelkorV5::~VelkorV5() {
  context_.link.sethost(nullptr);
  // The child windows call into the map views, the keyboard handler and the live panel (focus changes while they
  // go, the grid detaching its scrolling): they go first, while those are still here.
  livepanel_.reset();
  delete mdi_;
  mdi_ = nullptr;
  frmDisplay = nullptr;
  frmMapGrid = nullptr;
  frmStatusWindow = nullptr;
  frmNavigate = nullptr;
  if (auto* qtprompts = dynamic_cast<QtPrompts*>(&context_.prompts)) qtprompts->setparent(nullptr);
}

QString VelkorV5::startcaption() {
  return versiontext() + QStringLiteral(" ONLINE PROGRAMMER");
}

QString VelkorV5::abouttext() {
  const QString crlf = QStringLiteral("\r\n");
  return QStringLiteral("Software version: %1.%2 revision %3        ")
             .arg(versionmajor)
             .arg(versionminor)
             .arg(revision) +
         crlf + QStringLiteral("        Company: VELKOR EMS") + crlf +
         QStringLiteral("Check every calibration on the engine before you drive.");
}

void VelkorV5::buildmenus() {
  QMenuBar* bar = menuBar();
  mnuFile = makemenu(bar, "mnuFile");
  mnuFileOpen = makeaction(mnuFile, "mnuFileOpen");
  mnuEcuOpen = makeaction(mnuFile, "mnuEcuOpen");
  mnuEcuVerify = makeaction(mnuFile, "mnuEcuVerify");
  mnuFastVerify = makeaction(mnuFile, "mnuFastVerify");
  mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileSep1"));
  mnuFileSave = makeaction(mnuFile, "mnuFileSave");
  mnuEcuSave = makeaction(mnuFile, "mnuEcuSave");
  mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileSep2"));
  mnuExit = makeaction(mnuFile, "mnuExit");

  mnuComs = makemenu(bar, "mnuComs");
  mnuComsConnect = makeaction(mnuComs, "mnuComsConnect");
  mnuComsDisconnect = makeaction(mnuComs, "mnuComsDisconnect");

  mnuTools = makemenu(bar, "mnuTools");
  mnuSystemTools = makesubmenu(mnuTools, "mnuSystemTools");
  mnuToolsPreferences = makeaction(mnuSystemTools, "mnuToolsPreferences");
  mnuViewTools = makesubmenu(mnuTools, "mnuViewTools");
  mnuToolsColors = makeaction(mnuViewTools, "mnuToolsColors");
  mnuFileTools = makesubmenu(mnuTools, "mnuFileTools");
  mnuOpenUnix = makeaction(mnuFileTools, "mnuOpenUnix");

  mnuHelp = makemenu(bar, "mnuHelp");
  mnuAbout = makeaction(mnuHelp, "mnuAbout");

  // Items that need the ECU start disabled; setonlinemenus switches them from the first connect on.
  for (QAction* off : {mnuEcuOpen, mnuEcuVerify, mnuEcuSave, mnuComsDisconnect}) off->setEnabled(false);

  online_.mnuEcuSave = mnuEcuSave;
  online_.mnuEcuVerify = mnuEcuVerify;
  online_.mnuFastVerify = mnuFastVerify;
  online_.mnuEcuOpen = mnuEcuOpen;
  online_.mnuComsDisconnect = mnuComsDisconnect;
  online_.mnuComsConnect = mnuComsConnect;

  connect(mnuFileOpen, &QAction::triggered, this, &VelkorV5::mnuFileOpen_Click);
  connect(mnuEcuOpen, &QAction::triggered, this, &VelkorV5::mnuEcuOpen_Click);
  connect(mnuEcuVerify, &QAction::triggered, this, &VelkorV5::mnuEcuVerify_Click);
  connect(mnuFastVerify, &QAction::triggered, this, &VelkorV5::mnuFastVerify_Click);
  connect(mnuFileSave, &QAction::triggered, this, &VelkorV5::mnuFileSave_Click);
  connect(mnuEcuSave, &QAction::triggered, this, &VelkorV5::mnuEcuSave_Click);
  connect(mnuExit, &QAction::triggered, this, &VelkorV5::mnuExit_Click);
  connect(mnuComsConnect, &QAction::triggered, this, &VelkorV5::mnuComsConnect_Click);
  connect(mnuComsDisconnect, &QAction::triggered, this, &VelkorV5::mnuComsDisconnect_Click);
  connect(mnuToolsPreferences, &QAction::triggered, this, &VelkorV5::mnuToolsPreferences_Click);
  connect(mnuToolsColors, &QAction::triggered, this, &VelkorV5::mnuToolsColors_Click);
  connect(mnuOpenUnix, &QAction::triggered, this, &VelkorV5::mnuOpenUnix_Click);
  connect(mnuAbout, &QAction::triggered, this, &VelkorV5::mnuAbout_Click);
}

void VelkorV5::setmenucaptions() {
  settitle(mnuFile, "&File");
  settext(mnuFileOpen, "&Open from file");
  settext(mnuEcuOpen, "O&pen from ECU");
  settext(mnuEcuVerify, "&Complete Verify from ECU");
  settext(mnuFastVerify, "&Fast verify from ECU");
  settext(mnuFileSave, "&Save to file");
  settext(mnuEcuSave, "Sa&ve to ECU");
  settext(mnuExit, "E&xit");
  settitle(mnuComs, "&Comms");
  settext(mnuComsConnect, "&Connect");
  settext(mnuComsDisconnect, "&Disconnect");
  settitle(mnuTools, "&Tools");
  settitle(mnuSystemTools, "&System tools");
  settext(mnuToolsPreferences, "&Preferences");
  settitle(mnuViewTools, "&Viewing tools");
  settext(mnuToolsColors, "&Colors");
  settitle(mnuFileTools, "&File tools");
  settext(mnuOpenUnix, "&Open from unix emailed file");
  settitle(mnuHelp, "&Help");
  mnuAbout->setText(QStringLiteral("&About"));  // one of the captions shown as written
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
  display->drawpanel = [this](bool redraw) { drawpanel(redraw); };
  frmMapGrid = new ostrel::frmMapGrid(views_, state);
  frmMapGrid->setObjectName(QStringLiteral("frmMapGrid"));
  frmStatusWindow = new frmStatus(context_.log, context_.state);
  frmNavigate = new PlaceholderWindow(QStringLiteral("frmNavigate"), QStringLiteral("Navigation"),
                                      QStringLiteral("Maps and setting modules"), state);
  for (QWidget* child : {static_cast<QWidget*>(frmDisplay), static_cast<QWidget*>(frmMapGrid),
                         static_cast<QWidget*>(frmStatusWindow), frmNavigate})
    addchild(child);
}

void VelkorV5::wirekeys() {
  keys_.install();
  keys_.setdialogparent(this);
  keys_.hooks.setfocus = [this](MapView view) {
    // Until the graph window comes, the gauge window's picture stands in for the graph's surface.
    QWidget* target = view == MapView::grid ? static_cast<QWidget*>(frmMapGrid->MapGrid())
                                            : static_cast<QWidget*>(frmDisplay->picGraph);
    if (target) target->setFocus(Qt::OtherFocusReason);
  };
  keys_.hooks.openmapview = [this] { openmapview(); };
  keys_.hooks.drawpanel = [this](bool redraw) { drawpanel(redraw); };
  keys_.hooks.maximisegrid = [this] { cyclewindowstate(frmMapGrid->parentWidget()); };

  // The other permanent windows hand their keys on with the graph as the view that gets the focus, load direction up.
  frmDisplay->keydown = [this](const QKeyEvent& event) { keys_.keydown(event, MapView::graph, true); };
  keys_.forwardkeys(frmStatusWindow);
  connect(frmStatusWindow, &frmStatus::keypressed, this, [this](int key, Qt::KeyboardModifiers modifiers) {
    keys_.mapkeydown(virtualkeycode(key, modifiers.testFlag(Qt::KeypadModifier)), shiftmask(modifiers), MapView::graph,
                     true);
  });
  if (auto* navigation = qobject_cast<PlaceholderWindow*>(frmNavigate))
    navigation->keydown = [this](const QKeyEvent& event) { keys_.keydown(event, MapView::graph, true); };
}

void VelkorV5::load() {
  ProgramState& state = context_.state;
  setmenucaptions();
  for (QWidget* child : {static_cast<QWidget*>(frmDisplay), static_cast<QWidget*>(frmMapGrid),
                         static_cast<QWidget*>(frmStatusWindow), frmNavigate}) {
    child->parentWidget()->show();
    child->show();
  }
  if (hooks_.buildnavtree) hooks_.buildnavtree(true, true);
  files_.openlastsaved();
  if (hooks_.loadpasswordfragments) hooks_.loadpasswordfragments(true);
  host_.filldatagrid(true);
  host_.updategridhighlights(true);
  drawpanel(true);

  // The size the window returns to from maximised.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    setGeometry(area.left() + twipstopixels(50), area.top() + twipstopixels(50),
                twipstopixels(pixelstotwips(area.width()) - 100), twipstopixels(pixelstotwips(area.height()) - 100));
  }
  setWindowTitle(startcaption());

  state.exiting = false;
  state.exitticks = 0;
  state.curincrement = 1;
  state.livemode = 0;
  state.keycounts.fill(0);
  state.imageread = false;
  state.redrawticks = 50;
  state.transferwindowopen = false;
  call(hooks_.resetlogsamples);
  state.logindex = -50;

  showMaximized();
  if (layout()) layout()->activate();
  arrangewindows(state.preferences.defaultview);
  call(hooks_.drawmap3d);
  TimerComms->start();
  if (state.preferences.autoconnect) mnuComsConnect_Click();
}

void VelkorV5::arrangewindows(int layout) {
  if (hooks_.arrangewindows) {
    hooks_.arrangewindows(layout);
    return;
  }
  // Until the window layouts come, the first layout without its graph window: the gauge window 4400 by 6900 twips
  // top left (the size its panel is drawn for), the grid to its right, navigation and status below. A low screen
  // keeps a fifth of its height for the lower row.
  const QSize area = mdi_->viewport()->size();
  const int top = std::min(twipstopixels(6900), area.height() * 4 / 5);
  const int displaywidth = std::min(twipstopixels(4400), area.width() * 2 / 5);
  const auto place = [](QWidget* child, int x, int y, int w, int h) {
    QWidget* frame = child->parentWidget();
    frame->showNormal();
    frame->setGeometry(x, y, w, h);
  };
  place(frmDisplay, 0, 0, displaywidth, top);
  place(frmMapGrid, displaywidth, 0, area.width() - displaywidth, top);
  place(frmNavigate, 0, top, area.width() / 2, area.height() - top);
  if (context_.state.preferences.statusmessages)
    place(frmStatusWindow, area.width() / 2, top, area.width() - area.width() / 2, area.height() - top);
  else
    frmStatusWindow->parentWidget()->showMinimized();
  // Every layout ends with the keys on the map grid.
  mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frmMapGrid->parentWidget()));
  frmMapGrid->MapGrid()->setFocus(Qt::OtherFocusReason);
}

void VelkorV5::drawpanel(bool redraw) {
  if (livepanel_) livepanel_->drawpanel(redraw);
}

void VelkorV5::drawmap(bool) {
  // The graph window comes with the map views.
}

void VelkorV5::openmapview() {
  timers_.handoverpending();
  views_.openmapview();
}

void VelkorV5::setcommsinterval(int ms) {
  TimerComms->setInterval(ms);
}

void VelkorV5::setonlinemenus() {
  ostrel::setonlinemenus(online_, context_.state);
}

void VelkorV5::queuemapwrite(std::uint8_t map, const PendingWrite& rect) {
  if (hooks_.queuemapwrite) {
    hooks_.queuemapwrite(map, rect);
    return;
  }
  context_.link.queuemapwrite(map, rect.lowrow, rect.highrow, rect.lowcol, rect.highcol);
}

void VelkorV5::queuewholemap(std::uint8_t map) {
  const int rows = context_.mainmaps.getmaprows(map);
  const int cols = context_.mainmaps.getmapcols(map);
  if (rows == 0 || cols == 0) return;
  queuemapwrite(map, PendingWrite{0, static_cast<std::uint8_t>(rows - 1), 0, static_cast<std::uint8_t>(cols - 1)});
}

void VelkorV5::showtransfer() {
  if (hooks_.showtransfer) {
    hooks_.showtransfer(this);
    return;
  }
  context_.log.statusmessage(QStringLiteral("Whole-image transfers are not available in this version"), false);
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
  call(hooks_.preparebuffer);
  if (context_.state.online) showtransfer();
}

void VelkorV5::mnuFastVerify_Click() {
  if (!hooks_.showfastverify) {
    context_.log.statusmessage(QStringLiteral("The fast verify is not available in this version"), false);
    return;
  }
  hooks_.showfastverify(this);
  context_.state.curmap = 0;
  openmapview();
}

void VelkorV5::mnuExit_Click() {
  timers_.startexit();
}

void VelkorV5::mnuComsConnect_Click() {
  context_.link.openport();
  setonlinemenus();
  drawmap(true);
}

void VelkorV5::mnuComsDisconnect_Click() {
  context_.link.closeport();
  setonlinemenus();
}

void VelkorV5::mnuToolsPreferences_Click() {
  PreferencesEditor editor(
      context_.state.preferences, context_.prompts,
      {
          .setsettingsmetric = [this](bool metric) { context_.mainsettings.setsettingsmetric(metric); },
          .setcommsinterval = [this](int ms) { setcommsinterval(ms); },
          .openmapview = [this] { openmapview(); },
          .drawpanel = [this] { drawpanel(true); },
      });
  frmPreferences dialog(editor, this);
  dialog.exec();
}

void VelkorV5::mnuToolsColors_Click() {
  ColorsEditor editor(context_.state.colors, context_.prompts, [this] { drawmap(true); });
  frmColors dialog(editor, this);
  dialog.exec();
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
