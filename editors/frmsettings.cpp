#include "editors/frmsettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "calibration/cellguards.h"
#include "calibration/maps.h"
#include "calibration/settings.h"
#include "calibration/startuptables.h"
#include "calibration/translate.h"
#include "editors/editorshost.h"
#include "editors/frmspreadtool.h"
#include "editors/frmtpscalibrate.h"
#include "editors/pagefont.h"
#include "editors/regrid.h"
#include "editors/settingsapply.h"
#include "editors/settingslayout.h"
#include "editors/settingspanel.h"
#include "editors/throttlecalibration.h"
#include "link/eculink.h"
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

// The window's design size (twips), which the main window's settings layout also gives it.
constexpr int windowwidth = 12400;
constexpr int windowheight = 8400;
constexpr int settingswindowlayout = 10;

// Sizes of the generated controls (twips); their places come from the layout.
constexpr int captionwidth = 2280;
constexpr int lineheight = 285;
constexpr int checkwidth = 300;
constexpr int textwidth = 720;
constexpr int textheight = 315;
constexpr int combowidth = 1780;      // the record's own list
constexpr int widecombowidth = 2400;  // the shared lists
constexpr int enterwidth = 735;
constexpr int enterheight = 300;
constexpr int framewidth = 3560;
constexpr int frameheight = 360;
constexpr int optionwidth = 1760;
constexpr int optionheight = 225;

constexpr std::uint32_t errorcolor = 255;  // red: a check box whose byte is neither 0 nor 255

// The groups of map 110 that hold the spreads.
namespace spreadgroups {
constexpr int rpm = 10;   // "grid rpm spread"
constexpr int load = 11;  // "grid load spread"
}  // namespace spreadgroups

int valuewidth(ControlKind kind) {
  switch (kind) {
    case ControlKind::check: return checkwidth;
    case ControlKind::text: return textwidth;
    case ControlKind::combo: return combowidth;
    default: return widecombowidth;
  }
}

}  // namespace

frmSettings::frmSettings(EditorContext& context, QWidget* parent)
    : LiveWindow(context.state, context.link, selector, timerms, closeafter, {}, parent), context_(context) {
  setObjectName(QStringLiteral("frmSettings"));
  buildfixedcontrols();

  // The throttle may have moved since an earlier opening took its readings.
  context_.state.clearlivereadings();
  startlive();  // windowticks 0, the selector 3, the window data to the panel
  settingscomboload();
  settingscontrolload();
  hidecontrols();
  loadentryspreads();

  // The design size; the main window's settings layout places the window (and sizes it the same).
  resize(twipstopixels(windowwidth), twipstopixels(windowheight));
  context_.host.arrangewindows(settingswindowlayout);

  Command2_Click();  // from no selection to the first group
  fillrequesttable();
}

frmSettings::~frmSettings() = default;

void frmSettings::showmodal(EditorContext& context, QWidget* parent) {
  if (!issettingsmap(context.state.curmap)) return;
  frmSettings window(context, parent);
  launcher().showmodal(window);
}

void frmSettings::buildfixedcontrols() {
  setWindowTitle(translate(QStringLiteral("Settings")));
  setFont(pagefont());

  const MenuPage parts = addmenupage(this);
  menubar = parts.menubar;
  page_ = parts.page;

  mnuSettings = menubar->addMenu(QStringLiteral("&Settings"));
  mnuExit = mnuSettings->addAction(translate(QStringLiteral("E&xit")));
  mnuTools = menubar->addMenu(translate(QStringLiteral("&Tools")));
  mnuTPSCalibrate = mnuTools->addAction(QStringLiteral("&TPS/PPS calibrate"));
  mnuViewLoadSpreads = mnuTools->addAction(QStringLiteral("&Load spread tool"));
  mnuViewRpmSpreads = mnuTools->addAction(QStringLiteral("&Rpm spread tool"));
  connect(mnuExit, &QAction::triggered, this, &frmSettings::mnuExit_Click);
  connect(mnuTPSCalibrate, &QAction::triggered, this, &frmSettings::mnuTPSCalibrate_Click);
  connect(mnuViewLoadSpreads, &QAction::triggered, this, &frmSettings::mnuViewLoadSpreads_Click);
  connect(mnuViewRpmSpreads, &QAction::triggered, this, &frmSettings::mnuViewRpmSpreads_Click);

  Combogroups = new QComboBox(page_);
  Combogroups->setObjectName(QStringLiteral("Combogroups"));
  Combogroups->setPlaceholderText(QStringLiteral("Select setting subgroup"));
  placetwips(Combogroups, 120, 80, 4815, 360);
  const auto button = [this](const QString& caption, int left, int width) {
    auto* b = new QPushButton(caption, page_);
    b->setAutoDefault(false);  // Return in a text box must not press some button
    placetwips(b, left, 60, width, 375);
    return b;
  };
  Command1 = button(QStringLiteral("<"), 5040, 375);
  Command2 = button(QStringLiteral(">"), 5400, 375);
  Command3 = button(QStringLiteral("Help on/off"), 5880, 1575);
  connect(Command1, &QPushButton::clicked, this, &frmSettings::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmSettings::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &frmSettings::Command3_Click);
  connect(Combogroups, &QComboBox::currentIndexChanged, this, &frmSettings::Combogroups_Click);

  PicSetting = new PictureSurface(page_);
  PicSetting->setObjectName(QStringLiteral("PicSetting"));
  // The panel lies on the window's own colour until the first values arrive.
  const std::uint32_t back = colortobgr(palette().color(QPalette::Window));
  PicSetting->setbackcolor(back);
  PicSetting->fillbox(0, 0, PicSetting->widthtwips(), PicSetting->heighttwips(), back);
  placetwips(PicSetting, 120, 6360, 12015, 1095);
}

QLineEdit* frmSettings::textofcell(int n) const {
  if (n < 0 || n > 255) return nullptr;
  const SettingCell& c = cell(n);
  if (controlkind(c.type) != ControlKind::text || c.group == nosetting || c.index >= Text.size()) return nullptr;
  return Text[c.index];
}

bool frmSettings::guarded(int n) const {
  return settingguarded(context_.state.guards, context_.state.curmap, n);
}

// --- Build ---------------------------------------------------------------------------------------------------------

void frmSettings::settingscomboload() {
  const int set = context_.state.curmap - firstsettingsmap;
  Combogroups->blockSignals(true);
  Combogroups->addItems(parsegroups(context_.mainsettings.getsettingsgroupmembers(set)));
  Combogroups->setCurrentIndex(-1);
  Combogroups->blockSignals(false);
}

void frmSettings::settingscontrolload() {
  const ProgramState& state = context_.state;
  settingcells_ = buildcelltable(context_.mainsettings, state.curmap).cells;
  refreshvariablescales(settingcells_, context_.mainmaps, context_.mainsettings, state.curmap,
                        state.preferences.metricunits, state.preferences.fueltype);
  NameCaption.reserve(256);
  Command.reserve(256);
  for (int n = 0; n < 256; ++n) buildcell(n);
}

void frmSettings::buildcell(int n) {
  const int set = context_.state.curmap - firstsettingsmap;
  const int row = n / 16;
  const int column = n % 16;
  const settings& s = context_.mainsettings;

  auto* caption = new QLabel(s.getdisplaystring(set, row, column) + QLatin1Char(' '), page_);
  caption->hide();
  NameCaption.push_back(caption);
  auto* enter = new QPushButton(QStringLiteral("Enter"), page_);
  enter->setAutoDefault(false);
  enter->hide();
  connect(enter, &QPushButton::clicked, this, [this, n] { Command_Click(n); });
  Command.push_back(enter);

  const SettingCell& c = cell(n);
  if (c.group == nosetting) return;
  const ControlKind kind = controlkind(c.type);
  switch (kind) {
    case ControlKind::none:
      return;
    case ControlKind::check: {
      auto* box = new QCheckBox(page_);
      box->hide();
      Check.push_back(box);
      break;
    }
    case ControlKind::text: {
      auto* box = new QLineEdit(page_);
      box->hide();
      Text.push_back(box);
      break;
    }
    case ControlKind::bits:
      for (int k = 0; k < 8; ++k) {
        auto* frame = new QGroupBox(page_);
        frame->hide();
        auto* settrue = new QRadioButton(s.getdisplayarraystringtrue(set, row, column, k), frame);
        auto* setfalse = new QRadioButton(s.getdisplayarraystringfalse(set, row, column, k), frame);
        placetwips(settrue, settingslayout::optiontrueleft, settingslayout::optiontop, optionwidth, optionheight);
        placetwips(setfalse, settingslayout::optionfalseleft, settingslayout::optiontop, optionwidth, optionheight);
        FrameTrueFalse.push_back(frame);
        OptionTrue.push_back(settrue);
        OptionFalse.push_back(setfalse);
      }
      break;
    default: {
      auto* box = new QComboBox(page_);
      box->hide();
      const QString list = kind == ControlKind::combo ? s.getdisplaystringtrue(set, row, column)
                                                      : s.getcombostring(c.type);
      box->addItems(parselist(list));
      combos(kind).push_back(box);
      break;
    }
  }
  showvalue(n);
}

void frmSettings::showvalue(int n) {
  if (guarded(n)) {
    showguarded(n);
    return;
  }
  const SettingCell& c = cell(n);
  const auto raw = static_cast<std::uint8_t>(context_.mainmaps.getdata(context_.state.curmap, n / 16, n % 16));
  const ControlKind kind = controlkind(c.type);
  switch (kind) {
    case ControlKind::none:
      break;
    case ControlKind::check: {
      const CheckInit init = checkinit(raw);
      QCheckBox* box = Check[c.index];
      box->setChecked(init.checked);
      if (init.error) {
        QPalette red = box->palette();
        red.setColor(QPalette::Window, bgrtocolor(errorcolor));
        box->setPalette(red);
        box->setAutoFillBackground(true);
        const int set = context_.state.curmap - firstsettingsmap;
        context_.prompts.message(
            QStringLiteral("Text box setting error: ") + context_.mainsettings.getdisplaystring(set, n / 16, n % 16),
            Prompts::Icon::Critical, Prompts::Buttons::Ok);
      }
      break;
    }
    case ControlKind::text:
      Text[c.index]->setText(settingvaluetext(raw, c.mul, c.offset, QLocale()));
      break;
    case ControlKind::bits:
      for (int k = 0; k < 8; ++k) {
        const std::size_t i = c.index + static_cast<std::size_t>(k);
        (bitinit(raw, k) ? OptionTrue[i] : OptionFalse[i])->setChecked(true);
      }
      break;
    default: {
      QComboBox* box = combos(kind)[c.index];
      const ComboInit init = comboinit(c.type, raw, box->count());
      box->setCurrentIndex(init.item);
      if (init.loaderror)
        context_.prompts.message(QStringLiteral("Combo: ") + QString::number(c.index) + QStringLiteral(" load error"),
                                 Prompts::Icon::Information, Prompts::Buttons::Ok);
      break;
    }
  }
}

void frmSettings::showguarded(int n) {
  // The controls are new and show no value yet; disabled, they take none either. No load error is reported, as
  // that would tell something of the byte.
  const SettingCell& c = cell(n);
  const ControlKind kind = controlkind(c.type);
  switch (kind) {
    case ControlKind::none:
      break;
    case ControlKind::check:
      Check[c.index]->setEnabled(false);
      break;
    case ControlKind::text:
      Text[c.index]->setEnabled(false);
      break;
    case ControlKind::bits:
      for (int k = 0; k < 8; ++k) FrameTrueFalse[c.index + static_cast<std::size_t>(k)]->setEnabled(false);
      break;
    default:
      combos(kind)[c.index]->setCurrentIndex(-1);
      combos(kind)[c.index]->setEnabled(false);
      break;
  }
}

void frmSettings::hidecontrols() {
  // Controls of other groups are hidden rather than parked out of the way, where they would still show.
  for (QWidget* w : page_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (w == Combogroups || w == Command1 || w == Command2 || w == Command3 || w == PicSetting) continue;
    w->hide();
  }
}

// --- Groups --------------------------------------------------------------------------------------------------------

void frmSettings::Combogroups_Click() {
  hidecontrols();
  placed_ = layoutgroup(settingcells_, Combogroups->currentIndex(), pixelstotwips(height()));
  for (const PlacedCell& p : placed_) placecell(p);
}

void frmSettings::placecell(const PlacedCell& p) {
  const SettingCell& c = cell(p.cell);
  QLabel* caption = NameCaption[static_cast<std::size_t>(p.cell)];
  const int captionright = p.hasvalue ? (p.type == 4 ? p.frames[0].x : p.value.x) - 40 : p.caption.x + captionwidth;
  placetwips(caption, p.caption.x, p.caption.y, std::max(captionright - p.caption.x, 0), lineheight);
  caption->show();
  if (!p.hasvalue) return;
  QPushButton* enter = Command[static_cast<std::size_t>(p.cell)];
  placetwips(enter, p.enter.x, p.enter.y, enterwidth, enterheight);
  enter->show();

  const ControlKind kind = controlkind(c.type);
  QWidget* value = nullptr;
  int height = textheight;
  switch (kind) {
    case ControlKind::check:
      value = Check[c.index];
      height = lineheight;
      break;
    case ControlKind::text:
      value = Text[c.index];
      break;
    case ControlKind::bits: {
      for (int k = 0; k < 8; ++k) {
        QGroupBox* frame = FrameTrueFalse[c.index + static_cast<std::size_t>(k)];
        const TwipPoint at = p.frames[static_cast<std::size_t>(k)];
        placetwips(frame, at.x, at.y, framewidth, frameheight);
        frame->show();
      }
      return;
    }
    case ControlKind::none:
      return;
    default:
      value = combos(kind)[c.index];
      break;
  }
  placetwips(value, p.value.x, p.value.y, valuewidth(kind), height);
  value->show();
}

void frmSettings::Command1_Click() {
  const int position = Combogroups->currentIndex();
  if (position > 0) Combogroups->setCurrentIndex(position - 1);
}

void frmSettings::Command2_Click() {
  const int position = Combogroups->currentIndex();
  if (position < Combogroups->count() - 1) Combogroups->setCurrentIndex(position + 1);
}

// --- Help ----------------------------------------------------------------------------------------------------------

void frmSettings::Command3_Click() {
  helpmode_ = !helpmode_;
  sethelpcaptions();
}

void frmSettings::sethelpcaptions() {
  const QString caption = helpmode_ ? translate(QStringLiteral("Help")) : QStringLiteral("Enter");
  for (QPushButton* enter : Command) enter->setText(caption);
}

void frmSettings::settingshelp(int index) {
  const int at = (context_.state.curmap - firstsettingsmap) * 256 + index;
  context_.prompts.message(settinghelptext(at), Prompts::Icon::Information, Prompts::Buttons::Ok);
}

// --- Apply ---------------------------------------------------------------------------------------------------------

void frmSettings::Command_Click(int index) {
  if (helpmode_) {
    settingshelp(index);
    return;
  }
  if (index < 0 || index > 255) return;
  const int row = index / 16;
  const int column = index % 16;
  const SettingCell& c = cell(index);
  if (c.group == nosetting) return;  // no setting, nothing to store
  if (guarded(index)) {
    refuseguarded(context_.prompts);
    return;
  }
  const ControlKind kind = controlkind(c.type);

  std::optional<std::uint8_t> value;
  switch (kind) {
    case ControlKind::none:
      return;
    case ControlKind::check: {
      QCheckBox* box = Check[c.index];
      box->setAutoFillBackground(false);  // an applied box loses the red of an unexpected byte
      box->setPalette(QPalette());
      value = applycheck(box->isChecked());
      break;
    }
    case ControlKind::text:
      if (const auto applied = applytext(Text[c.index]->text(), c.mul, c.offset, QLocale())) {
        Text[c.index]->setText(applied->shown);
        value = applied->raw;
      }
      break;
    case ControlKind::bits: {
      std::array<bool, 8> set{};
      for (int k = 0; k < 8; ++k)
        set[static_cast<std::size_t>(k)] = OptionTrue[c.index + static_cast<std::size_t>(k)]->isChecked();
      value = applybits(set);
      break;
    }
    default: {
      const int item = combos(kind)[c.index]->currentIndex();
      if (item < 0) {
        // The stored byte has no item (the list is empty or too short) and none was picked: it stays.
        context_.prompts.message(combokepttext, Prompts::Icon::Information, Prompts::Buttons::Ok);
        return;
      }
      value = applycombo(item);
      break;
    }
  }
  if (!value) {
    context_.prompts.message(QStringLiteral("The value is not valid"), Prompts::Icon::Information,
                             Prompts::Buttons::Ok);
    if (kind == ControlKind::text) Text[c.index]->setText(QStringLiteral(" "));
    return;
  }

  const std::uint8_t map = context_.state.curmap;
  if (!setcell(context_.mainmaps, context_.state.guards, map, row, column, *value, true)) {
    refuseguarded(context_.prompts);
    return;
  }
  if (context_.state.online)
    context_.link.queuemapwrite(map, static_cast<std::uint8_t>(row), static_cast<std::uint8_t>(row),
                                static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(column));
  databaserefresh(true);
}

void frmSettings::databaserefresh(bool refreshtext) {
  const ProgramState& state = context_.state;
  if (!refreshvariablescales(settingcells_, context_.mainmaps, context_.mainsettings, state.curmap,
                             state.preferences.metricunits, state.preferences.fueltype) ||
      !refreshtext)
    return;
  for (const VariableScaledRows& rows : variablescaledrows) {
    if (rows.map != state.curmap) continue;
    for (int column = 0; column < 16; ++column) {
      const int n = 16 * (rows.selectorrow + 1) + column;
      QLineEdit* box = textofcell(n);
      if (!box || guarded(n)) continue;
      const SettingCell& c = cell(n);
      const auto raw = static_cast<std::uint8_t>(context_.mainmaps.getdata(state.curmap, n / 16, n % 16));
      box->setText(settingvaluetext(raw, c.mul, c.offset, QLocale()));
    }
  }
}

// --- Live panel ----------------------------------------------------------------------------------------------------

void frmSettings::fillrequesttable() {
  const bool metric = context_.state.preferences.metricunits;
  context_.link.setrequesttable(LiveTable::log, settingsrequesttable(context_.mainsettings, metric));
  for (int k = 0; k < 16; ++k) context_.link.setsmoothweight(k, settingspanel::smoothweight);
}

void frmSettings::settingstypedata(const RxFrame& rxframe) {
  EcuLink& link = context_.link;
  link.smoothlivevalues(rxframe, false);
  const bool metric = context_.state.preferences.metricunits;
  const int fueltype = context_.state.preferences.fueltype;
  const settings& s = context_.mainsettings;
  const QLocale locale;
  PictureSurface::Batch batch(*PicSetting);
  for (int i = 0; i < 16; ++i) {
    const double x0 = settingspanel::boxpitchx * (i % 8);
    const double y0 = settingspanel::boxpitchy * (i / 8);
    PicSetting->fillbox(x0 + 30, y0 + 80, x0 + 1450, y0 + 330, settingspanel::boxcolor);
    PicSetting->setfont(QStringLiteral("arial narrow"), 8, false, false);
    PicSetting->currentx = x0 + 100;
    PicSetting->currenty = y0 + 100;
    PicSetting->print(s.getsettingsformvarstring(i, metric));
    PicSetting->setfont(QStringLiteral("arial"), 10, true, false);
    PicSetting->currentx = x0 + 620;
    PicSetting->currenty = y0 + 100;
    PicSetting->print(settingspaneltext(s, i, link.smoothvalues()[static_cast<std::size_t>(i)], metric, fueltype,
                                        locale));
    PicSetting->setfont(QStringLiteral("arial narrow"), 8, false, false);
    PicSetting->currentx = x0 + 1100;
    PicSetting->currenty = y0 + 100;
    PicSetting->print(s.getsettingsformvarunits(i, metric));
  }
  takelivereadings(context_.state, rxframe[settingspanel::throttlebyte], rxframe[settingspanel::pedalbyte]);
}

static_assert(livereadingmaxticks * frmSettings::timerms == 1000, "the readings' age counts this window's ticks");

void frmSettings::timertick() {
  agelivereadings(context_.state);
}

// --- Menus and closing ---------------------------------------------------------------------------------------------

void frmSettings::mnuTPSCalibrate_Click() {
  if (!context_.state.online) {
    context_.prompts.message(QStringLiteral("This tool is not available when the ECU is not connected"),
                             Prompts::Icon::Information, Prompts::Buttons::Ok);
    return;
  }
  if (context_.state.curmap != firstsettingsmap) {
    context_.prompts.message(QStringLiteral("This tool does not apply to any setting within this setting group"),
                             Prompts::Icon::Information, Prompts::Buttons::Ok);
    return;
  }
  Combogroups->setCurrentIndex(6);  // "throttle setup"
  frmTPSCalibrate dialog(*this, context_);
  launcher().showmodal(dialog);
}

void frmSettings::mnuViewLoadSpreads_Click() {
  openspreadtool(false);
}

void frmSettings::mnuViewRpmSpreads_Click() {
  openspreadtool(true);
}

void frmSettings::openspreadtool(bool rpm) {
  // The ECU keeps its maps on the old grid while the spreads change, so the tool works only offline.
  if (context_.state.online) {
    context_.prompts.message(QStringLiteral("This tool is not available online"), Prompts::Icon::Information,
                             Prompts::Buttons::Ok);
    return;
  }
  if (context_.state.curmap != firstsettingsmap) {
    context_.prompts.message(QStringLiteral("This tool does not apply to any setting within this setting group"),
                             Prompts::Icon::Information, Prompts::Buttons::Ok);
    return;
  }
  Combogroups->setCurrentIndex(rpm ? spreadgroups::rpm : spreadgroups::load);
  context_.state.spreadrpm = rpm;
  frmSpreadTool tool(*this, context_);
  launcher().showmodal(tool);
}

void frmSettings::loadentryspreads() {
  ostrel::loadentryspreads(context_.state, context_.mainmaps);
}

void frmSettings::checkexitspreads() {
  ostrel::checkexitspreads(context_);
}

void frmSettings::mnuExit_Click() {
  // The window closes itself a few ticks after the selector has gone.
  if (live().holdsselector()) context_.state.livemode = 0;
  context_.mainmaps.recalc();
  context_.host.buildnavtree();
}

void frmSettings::done(int result) {
  const bool first = !unloaded_;
  unloaded_ = true;
  LiveWindow::done(result);  // the timer stops; the selector goes back to 0 while it is still ours
  if (!first) return;
  checkexitspreads();
  context_.mainmaps.recalc();
  context_.host.buildnavtree();
}

}  // namespace ostrel
