#include "logger/ui/frmlog.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "calibration/translate.h"
#include "link/eculink.h"
#include "livewindows/frmramdump.h"
#include "logger/loglayout.h"
#include "logger/logprofile.h"
#include "logger/logsamples.h"
#include "logger/progressjobs.h"
#include "logger/ui/frmmonitor.h"
#include "logger/ui/frmprogress.h"
#include "logger/ui/loggridview.h"
#include "logger/ui/logpainting.h"
#include "platform/colors.h"
#include "platform/programstate.h"
#include "platform/prompts.h"
#include "platform/twips.h"
#include "platform/ui/menupage.h"
#include "platform/ui/picturesurface.h"
#include "platform/ui/twipgeometry.h"
#include "platform/ui/windowlauncher.h"

namespace ostrel {

namespace {

// The designed window (twips): its width and the height H that the layout works from.
constexpr int windowwidth = 13500;
constexpr int windowheight = 11400;
constexpr int minimumheight = 6000;

// The set-up panel: two rows of eight channels, 1650 apart.
constexpr int setupleft = 120;
constexpr int channelpitch = 1650;
constexpr std::array<int, 2> captiontop = {120, 1200};
constexpr std::array<int, 2> listtop = {360, 1440};
constexpr std::array<int, 2> swatchtop = {720, 1800};
constexpr int captionheight = 240;
constexpr int listwidth = 1560, listheight = 315;
constexpr int swatchwidth = 720, swatchheight = 300;
constexpr int nextleft = 750, nextwidth = 300;
constexpr int noneleft = 1080, nonewidth = 480;

// Picture and grid, and the bottom row.
constexpr int pictureleft = 120, picturewidth = 13260;
constexpr int buttonheight = 375;
constexpr int barheight = 225, scrollheight = 255;
struct Place {
  int left, width;
};
constexpr Place populateplace{120, 1440}, resetplace{1620, 1560};
constexpr Place fastbackplace{3300, 840}, backplace{4200, 840}, forwardplace{5100, 840}, fastforwardplace{6000, 840};
constexpr Place barplace{7020, 2400}, durationplace{9540, 3840};

QString swatchstyle(std::uint32_t bgr) {
  return QStringLiteral("QLabel { background-color: %1; color: black; }").arg(bgrtocolor(bgr).name());
}

}  // namespace

frmLog::frmLog(LoggerContext& context, QWidget* parent)
    : LiveWindow(context.state, context.link, selector, timerms, closeafter, {frmMonitor::selector, 16}, parent),
      context_(context),
      replay_(context.state, context.logstore, *this) {
  setObjectName(QStringLiteral("frmLog"));
  setWindowTitle(translate(QStringLiteral("Log data")));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  const MenuPage parts = addmenupage(this);
  menubar = parts.menubar;
  page_ = parts.page;
  buildmenus();
  buildsetup();
  buildbottom();

  loadvarcombos();
  loadlogcolors();
  logcolorlabels();
  startlive();  // windowticks 0 and the selector 1
  openlogrecording(context_.state, context_.logstore);
  context_.jobs.setloggrid(&gridmodel_);
  writerequesttable();  // the first requests already ask for the channels' variables

  page_->installEventFilter(this);
  setMinimumSize(twipstopixels(windowwidth), twipstopixels(minimumheight));
  resize(twipstopixels(windowwidth), twipstopixels(windowheight - formchrome) + menubar->sizeHint().height());
  layoutcontrols();
}

frmLog::~frmLog() {
  context_.jobs.setloggrid(nullptr);
  delete logGrid;  // the view goes before the model it shows, which is a member
  logGrid = nullptr;
}

void frmLog::showmodal(LoggerContext& context, QWidget* parent) {
  frmLog window(context, parent);
  launcher().showmodal(window);
}

// --- Build ---------------------------------------------------------------------------------------------------------

void frmLog::buildmenus() {
  mnuFile = menubar->addMenu(translate(QStringLiteral("&File")));
  mnuProfile = mnuFile->addAction(QStringLiteral("&Load profile"));
  mnuSaveProfile = mnuFile->addAction(QStringLiteral("&Save profile"));
  mnuSaveDefault = mnuFile->addAction(QStringLiteral("Save profile as &default"));
  mnuFile->addSeparator();
  mnuExportCSV = mnuFile->addAction(QStringLiteral("Export &CSV"));
  mnuExportRaw = mnuFile->addAction(QStringLiteral("Export &raw log"));
  mnuImportRawLog = mnuFile->addAction(QStringLiteral("&Import raw log"));
  mnuFile->addSeparator();
  mnuExit = mnuFile->addAction(translate(QStringLiteral("E&xit")));
  mnuView = menubar->addMenu(translate(QStringLiteral("&View")));
  mnuShowHide = mnuView->addAction(QStringLiteral("&Show/hide setup"));
  mnuMonitor = mnuView->addAction(QStringLiteral("&Monitor data"));
  mnuRamDump = mnuView->addAction(translate(QStringLiteral("&Ram dump")));

  connect(mnuProfile, &QAction::triggered, this, &frmLog::mnuProfile_Click);
  connect(mnuSaveProfile, &QAction::triggered, this, &frmLog::mnuSaveProfile_Click);
  connect(mnuSaveDefault, &QAction::triggered, this, &frmLog::mnuSaveDefault_Click);
  connect(mnuExportCSV, &QAction::triggered, this, &frmLog::mnuExportCSV_Click);
  connect(mnuExportRaw, &QAction::triggered, this, &frmLog::mnuExportRaw_Click);
  connect(mnuImportRawLog, &QAction::triggered, this, &frmLog::mnuImportRawLog_Click);
  connect(mnuExit, &QAction::triggered, this, &frmLog::mnuExit_Click);
  connect(mnuShowHide, &QAction::triggered, this, &frmLog::mnuShowHide_Click);
  connect(mnuMonitor, &QAction::triggered, this, &frmLog::mnuMonitor_Click);
  connect(mnuRamDump, &QAction::triggered, this, &frmLog::mnuRamDump_Click);
}

void frmLog::buildsetup() {
  for (int i = 0; i < logchannelcount; ++i) {
    const auto c = static_cast<std::size_t>(i);
    Label1[c] = new QLabel(QStringLiteral("Log variable %1").arg(i + 1), page_);
    Label1[c]->setObjectName(QStringLiteral("Label1_%1").arg(i));
    Combo1[c] = new QComboBox(page_);
    Combo1[c]->setObjectName(QStringLiteral("Combo1_%1").arg(i));
    Combo1[c]->setMaxVisibleItems(24);
    // The names with their units are longer than the list is wide.
    Combo1[c]->view()->setMinimumWidth(twipstopixels(3600));
    Label2[c] = new QLabel(page_);
    Label2[c]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    Label2[c]->setAlignment(Qt::AlignCenter);
    Label2[c]->setFrameShape(QFrame::Box);
    QFont small = Label2[c]->font();  // "No trace" fits the swatch
    small.setPointSize(7);
    Label2[c]->setFont(small);
    Command1[c] = new QPushButton(QStringLiteral(">"), page_);
    Command1[c]->setObjectName(QStringLiteral("Command1_%1").arg(i));
    Command4[c] = new QPushButton(QStringLiteral("none"), page_);
    Command4[c]->setObjectName(QStringLiteral("Command4_%1").arg(i));
    for (QPushButton* b : {Command1[c], Command4[c]}) {
      b->setAutoDefault(false);
      b->setFocusPolicy(Qt::TabFocus);
    }
    connect(Command1[c], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(Command4[c], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
  }
  placesetup();

  PicLog = new PictureSurface(page_);
  PicLog->setObjectName(QStringLiteral("PicLog"));
  PicLog->setbackcolor(tracebackgroundcolour);
  PicLog->fillbox(0, 0, PicLog->widthtwips(), PicLog->heighttwips(), tracebackgroundcolour);
  logGrid = new LogGridView(gridmodel_, page_);
}

void frmLog::buildbottom() {
  const auto button = [this](const QString& caption, const char* name) {
    auto* b = new QPushButton(caption, page_);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
  };
  Command2 = button(QStringLiteral("Populate grid"), "Command2");
  Command3 = button(QStringLiteral("Reset log buffer"), "Command3");
  Command6 = button(QStringLiteral("<< Log"), "Command6");
  CommandLogBack = button(QStringLiteral("< Log"), "CommandLogBack");
  CommandLogForward = button(QStringLiteral("Log >"), "CommandLogForward");
  Command5 = button(QStringLiteral("Log >>"), "Command5");
  connect(Command2, &QPushButton::clicked, this, &frmLog::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &frmLog::Command3_Click);
  connect(Command6, &QPushButton::clicked, this, &frmLog::Command6_Click);
  connect(CommandLogBack, &QPushButton::clicked, this, &frmLog::CommandLogBack_Click);
  connect(CommandLogForward, &QPushButton::clicked, this, &frmLog::CommandLogForward_Click);
  connect(Command5, &QPushButton::clicked, this, &frmLog::Command5_Click);

  HScroll1 = new QScrollBar(Qt::Horizontal, page_);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  HScroll1->setRange(0, LogReplay::scrollmax);
  HScroll1->setPageStep(10);
  HScroll1->setTracking(false);  // a replay page is drawn where the bar is let go
  connect(HScroll1, &QScrollBar::valueChanged, this, &frmLog::HScroll1_Change);

  ProgressBar1 = new QProgressBar(page_);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 480);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  logDuration = new QLabel(QStringLiteral("10 minutes logged, 10 minutes remaining"), page_);
  logDuration->setObjectName(QStringLiteral("logDuration"));
}

void frmLog::placesetup() {
  for (int i = 0; i < logchannelcount; ++i) {
    const auto c = static_cast<std::size_t>(i);
    const auto row = static_cast<std::size_t>(i / 8);
    const int left = setupleft + channelpitch * (i % 8);
    placetwips(Label1[c], left, captiontop[row], listwidth, captionheight);
    placetwips(Combo1[c], left, listtop[row], listwidth, listheight);
    placetwips(Label2[c], left, swatchtop[row], swatchwidth, swatchheight);
    placetwips(Command1[c], left + nextleft, swatchtop[row], nextwidth, swatchheight);
    placetwips(Command4[c], left + noneleft, swatchtop[row], nonewidth, swatchheight);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1[c], Combo1[c], Label2[c], Command1[c], Command4[c]})
      w->setVisible(setupshown_);
  }
}

void frmLog::layoutcontrols() {
  const double H = pixelstotwips(page_->height()) + formchrome;
  const LogLayout l = loglayout(H, setupshown_, pixelstotwips(PicLog->height()));
  placetwips(PicLog, pictureleft, l.pictop, picturewidth, l.picheight);
  placetwips(logGrid, pictureleft, l.gridtop, picturewidth, l.picheight);
  if (!l.bottomrow) return;
  const auto place = [&](QWidget* w, Place p, double top, double height) { placetwips(w, p.left, top, p.width, height); };
  place(Command2, populateplace, l.buttontop, buttonheight);
  place(Command3, resetplace, l.buttontop, buttonheight);
  place(Command6, fastbackplace, l.buttontop, buttonheight);
  place(CommandLogBack, backplace, l.buttontop, buttonheight);
  place(CommandLogForward, forwardplace, l.buttontop, buttonheight);
  place(Command5, fastforwardplace, l.buttontop, buttonheight);
  place(logDuration, durationplace, l.buttontop, buttonheight);
  place(ProgressBar1, barplace, l.bartop, barheight);
  place(HScroll1, barplace, l.scrolltop, scrollheight);
}

bool frmLog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_ && event->type() == QEvent::Resize) layoutcontrols();
  return LiveWindow::eventFilter(watched, event);
}

// --- Channels ------------------------------------------------------------------------------------------------------

void frmLog::loadvarcombos() {
  variables_ = logvariables(context_.mainsettings);
  QStringList items;
  for (int k = 0; k < variables_.count; ++k) items << variables_.items[static_cast<std::size_t>(k)];
  for (QComboBox* combo : Combo1) {
    QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(items);
  }
  logcomboset();
}

void frmLog::logcomboset() {
  for (std::size_t i = 0; i < Combo1.size(); ++i) {
    QSignalBlocker quiet(Combo1[i]);
    Combo1[i]->setCurrentIndex(context_.state.logvar[i]);
    prevvar_[i] = context_.state.logvar[i];
  }
}

void frmLog::logcolorlabels() {
  for (std::size_t i = 0; i < Label2.size(); ++i) {
    const std::uint8_t code = context_.state.logcolour[i];
    Label2[i]->setStyleSheet(swatchstyle(logpalettecolour(code)));
    Label2[i]->setText(code == lognotrace ? QStringLiteral("No trace") : QString());
  }
}

const LogColumns& frmLog::columns() {
  const ProgramState& state = context_.state;
  if (!columns_ || columnsvar_ != state.logvar || columnscolour_ != state.logcolour) {
    columns_ = std::make_unique<LogColumns>(
        logcolumns(state, context_.mainsettings, context_.mainmaps, variables_));
    columnsvar_ = state.logvar;
    columnscolour_ = state.logcolour;
  }
  return *columns_;
}

void frmLog::writerequesttable() {
  const ProgramState& state = context_.state;
  EcuLink& ecu = context_.link;
  ecu.setrequesttable(LiveTable::log, logrequesttable(ecu.requesttable(LiveTable::log), context_.mainsettings,
                                                     state.logvar, state.preferences.metricunits, state.livemode));
}

void frmLog::Command1_Click(int channel) {
  context_.state.logcolour[static_cast<std::size_t>(channel)] = nextlogcolour(context_.state.logcolour, channel);
  logcolorlabels();
}

void frmLog::Command4_Click(int channel) {
  context_.state.logcolour[static_cast<std::size_t>(channel)] = lognotrace;
  logcolorlabels();
}

// --- Live data and drawing -----------------------------------------------------------------------------------------

void frmLog::reportdata(const RxFrame&) {
  logtypedata();
  drawdata();
}

void frmLog::logtypedata() {
  const ProgramState& state = context_.state;
  valueboxes_ = logtypedatastep(state.logindex, state.livemode, columns(), context_.logstore, context_.link.rxframe());
  paintvalueboxes(*PicLog, valueboxes_);
}

void frmLog::drawdata() {
  const ProgramState& state = context_.state;
  painttracestep(*PicLog, drawdatastep(state.logindex, state.livemode, state.logcolour, context_.logstore,
                                       PicLog->widthtwips(), PicLog->heighttwips()));
}

void frmLog::syncloggrid() {
  if (const auto row = logsyncrow(context_.state.logindex, gridmodel_.rowCount())) logGrid->setcurrentrow(*row);
}

void frmLog::timertick() {
  ProgramState& state = context_.state;
  bool changed = false;
  for (std::size_t i = 0; i < Combo1.size(); ++i) {
    const int index = Combo1[i]->currentIndex();
    if (index >= 0 && index < loglivevariables) state.logvar[i] = static_cast<std::uint8_t>(index);
    if (state.logvar[i] != prevvar_[i]) changed = true;
    prevvar_[i] = state.logvar[i];
  }
  writerequesttable();
  // Minutes logged count the recording, which a replay does not move.
  const std::int32_t position = context_.logstore.recordposition(state.logindex);
  if (const auto text = logdurationtext(position)) {
    ProgressBar1->setValue(logfillbar(position));
    logDuration->setText(*text);
  }
  if (changed) restartlog();
}

void frmLog::restartlog() {
  ostrel::restartlog(context_.state, context_.logstore);
  gridmodel_.clear();
}

// --- Buttons -------------------------------------------------------------------------------------------------------

void frmLog::runjob(std::uint8_t job) {
  frmProgress::showjob(context_.state, context_.jobs, job, this);
}

void frmLog::Command2_Click() {
  runjob(static_cast<std::uint8_t>(ProgressJob::loggrid));
}

void frmLog::Command3_Click() {
  restartlog();
}

void frmLog::Command6_Click() {
  replay_.fastback();
}

void frmLog::CommandLogBack_Click() {
  replay_.back();
}

void frmLog::CommandLogForward_Click() {
  replay_.forward();
}

void frmLog::Command5_Click() {
  replay_.fastforward();
}

void frmLog::HScroll1_Change(int value) {
  const int shown = replay_.scrollto(value);
  if (shown != HScroll1->value()) {
    QSignalBlocker quiet(HScroll1);
    HScroll1->setValue(shown);
  }
}

// --- Menus ---------------------------------------------------------------------------------------------------------

void frmLog::mnuProfile_Click() {
  if (!loadprofilecommand(context_.prompts, context_.state)) return;
  logcomboset();
  logcolorlabels();
  context_.prompts.message(logresetmessage, Prompts::Icon::Information);
  restartlog();  // only once the tuner has read why
}

void frmLog::mnuSaveProfile_Click() {
  saveprofilecommand(context_.prompts, context_.state);
}

void frmLog::mnuSaveDefault_Click() {
  savedefaultprofilecommand(context_.prompts, context_.state);
}

void frmLog::mnuExportCSV_Click() {
  runjob(static_cast<std::uint8_t>(ProgressJob::csvexport));
}

void frmLog::mnuExportRaw_Click() {
  runjob(static_cast<std::uint8_t>(ProgressJob::rawexport));
}

void frmLog::mnuImportRawLog_Click() {
  if (!rawimportallowed(context_.prompts, context_.state)) return;
  Timer1->stop();  // no channel change may restart the log under the import
  runjob(static_cast<std::uint8_t>(ProgressJob::rawimport));
  const ProgressJobs& jobs = context_.jobs;
  const bool imported = jobs.job() == static_cast<std::uint8_t>(ProgressJob::rawimport) &&
                        jobs.outcome() == ProgressJobs::Outcome::done;
  logcolorlabels();
  logcomboset();
  // Nothing was imported after a cancel or a refused file, so no grid of "the imported log" follows.
  if (imported) {
    context_.prompts.message(gridfillmessage, Prompts::Icon::Information);
    runjob(static_cast<std::uint8_t>(ProgressJob::loggrid));
  }
  Timer1->start();
}

void frmLog::mnuExit_Click() {
  context_.state.livemode = 0;  // the timer closes the window after its next foreign ticks
}

void frmLog::mnuShowHide_Click() {
  setupshown_ = !setupshown_;
  placesetup();
  layoutcontrols();
}

void frmLog::mnuMonitor_Click() {
  context_.state.logcolour.fill(lognotrace);
  logcolorlabels();
  frmMonitor monitor(context_, *this, this);
  launcher().showmodal(monitor);
  // Closing the monitor reloaded the default profile's colours: the swatches show what the traces are drawn in.
  logcolorlabels();
}

void frmLog::mnuRamDump_Click() {
  // It takes selector 16 and gives the logger's 1 back when it closes; the logger counts 16 as its own meanwhile.
  frmRAMDUMP::showmodal(context_.state, context_.link, context_.prompts, this);
}

void frmLog::done(int result) {
  LiveWindow::done(result);  // the selector back to 0 while it is still the logger's
  if (unloaded_) return;
  unloaded_ = true;
  context_.jobs.setloggrid(nullptr);
}

}  // namespace ostrel
