#include "shell/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <array>

#include "calibration/translate.h"
#include "shell/mainwindow.h"

namespace ostrel {

namespace {

constexpr MenuEntry menu(const char* name, const char* parent, const char* caption) {
  return {MenuKind::menu, name, parent, caption};
}
constexpr MenuEntry separator(const char* name, const char* parent) {
  return {MenuKind::separator, name, parent, "-", nullptr, Needs::any, Start::enabled, Caption::aswritten};
}
constexpr MenuEntry item(const char* name, const char* parent, const char* caption, MenuHandler handler,
                         Needs needs = Needs::any, Start start = Start::enabled,
                         Caption captionkind = Caption::translated) {
  return {MenuKind::item, name, parent, caption, handler, needs, start, captionkind};
}

using V = VelkorV5;
constexpr Needs online = Needs::online;
constexpr Needs offline = Needs::offline;
constexpr Needs any = Needs::any;
constexpr Start on = Start::enabled;
constexpr Start off = Start::disabled;
constexpr Caption aswritten = Caption::aswritten;

// Items with no handler yet open windows and tools still to come; each gets its handler in its row.
const std::array table{
    menu("mnuFile", nullptr, "&File"),
    item("mnuFileOpen", "mnuFile", "&Open from file", &V::mnuFileOpen_Click),
    item("mnuEcuOpen", "mnuFile", "O&pen from ECU", &V::mnuEcuOpen_Click, online, off),
    item("mnuEcuVerify", "mnuFile", "&Complete Verify from ECU", &V::mnuEcuVerify_Click, online, off),
    item("mnuFastVerify", "mnuFile", "&Fast verify from ECU", &V::mnuFastVerify_Click, online),
    separator("mnuFileSep1", "mnuFile"),
    item("mnuFileSave", "mnuFile", "&Save to file", &V::mnuFileSave_Click),
    item("mnuEcuSave", "mnuFile", "Sa&ve to ECU", &V::mnuEcuSave_Click, online, off),
    separator("mnuFileSep2", "mnuFile"),
    item("mnuExit", "mnuFile", "E&xit", &V::mnuExit_Click),

    // The items of these two (mnuMapGroupSub, one per map group; mnuMapSub, the eight maps of the group) are the
    // item arrays of MapMenus (shell/mapmenus.h), which the navigation tree's builder fills.
    menu("mnuMapGroup", nullptr, "Map &Group"),
    menu("mnuMap", nullptr, "&Map"),

    menu("mnuEdit", nullptr, "&Edit"),
    item("mnuSelectAll", "mnuEdit", "&Select all", &V::mnuSelectAll_Click),

    menu("mnuComs", nullptr, "&Comms"),
    item("mnuComsConnect", "mnuComs", "&Connect", &V::mnuComsConnect_Click, offline),
    item("mnuComsDisconnect", "mnuComs", "&Disconnect", &V::mnuComsDisconnect_Click, online, off),

    menu("mnuTools", nullptr, "&Tools"),
    menu("mnuSystemTools", "mnuTools", "&System tools"),
    item("mnuToolsPreferences", "mnuSystemTools", "&Preferences", &V::mnuToolsPreferences_Click),
    item("mnuComErrors", "mnuSystemTools", "&Com stats", &V::mnuComErrors_Click),
    item("mnuFirmWare", "mnuSystemTools", "&Firmware version", &V::mnuFirmWare_Click, online, on, aswritten),
    item("mnuInDiagnostic", "mnuSystemTools", "&Input diagnostic", &V::mnuInDiagnostic_Click, online, on, aswritten),
    menu("mnuViewTools", "mnuTools", "&Viewing tools"),
    item("mnuToolsColors", "mnuViewTools", "&Colors", &V::mnuToolsColors_Click),
    item("mnuClearVisit", "mnuViewTools", "Clear &visit traces", &V::mnuClearVisit_Click),
    item("mnuClearEdit", "mnuViewTools", "Clear &edit traces", &V::mnuClearEdit_Click),
    item("mnuClearAFR", "mnuViewTools", "Clear &AFR traces", &V::mnuClearAFR_Click),
    item("mnuClearKnock", "mnuViewTools", "Clear &knock traces", &V::mnuClearKnock_Click),
    menu("mnuTuningTools", "mnuTools", "&Tuning tools"),
    item("mnuLogData", "mnuTuningTools", "&Log data", &V::mnuLogData_Click),
    item("mnuLearn", "mnuTuningTools", "Lea&rn data", &V::mnuLearn_Click, online, off),
    menu("mnuFileTools", "mnuTools", "&File tools"),
    item("mnuOpenUnix", "mnuFileTools", "&Open from unix emailed file", &V::mnuOpenUnix_Click),
    item("mnuImport", "mnuFileTools", "&Import map fragment", &V::mnuImport_Click, offline),
    item("mnuImportDefault", "mnuFileTools", "Import &default injector reponse map", &V::mnuImportDefault_Click,
         offline, on, aswritten),
    item("mnuAnalyseMap", "mnuFileTools", "&Analyse map", &V::mnuAnalyseMap_Click),
    menu("mnuAnalysis", "mnuTools", "&Analysis tools"),
    item("mnuRamDump", "mnuAnalysis", "&Ram dump", &V::mnuRamDump_Click),
    menu("mnuMigrationTools", "mnuTools", "&Migration tools"),
    item("mnuVEFuelBaseTable", "mnuMigrationTools", "&VE to Fuel Base Table", &V::mnuVEFuelBaseTable_Click, offline),
    item("mnuFuelBaseTableVE", "mnuMigrationTools", "&Fuel Base Table to VE", &V::mnuFuelBaseTableVE_Click, offline),

    menu("mnuView", nullptr, "&View"),
    item("mnuViewArrange", "mnuView", "Arrange &preferred", &V::mnuViewArrange_Click),
    item("mnuArrangeA", "mnuView", "Arrange &A", &V::mnuArrangeA_Click),
    item("mnuArrangeB", "mnuView", "Arrange &B", &V::mnuArrangeB_Click),
    item("mnuArrangeC", "mnuView", "Arrange &C", &V::mnuArrangeC_Click),
    item("mnuInputs", "mnuView", "&Inputs", &V::mnuInputs_Click, online, off),
    item("mnuFuelMuls", "mnuView", "&Fuel multipliers", &V::mnuFuelMuls_Click, online, on, aswritten),
    item("mnuLTT", "mnuView", "&LTT table", &V::mnuLTT_Click, online, on, aswritten),

    menu("mnuHelp", nullptr, "&Help"),
    item("mnuHelpThisMap", "mnuHelp", "&This map", &V::mnuHelpThisMap_Click),
    item("mnuTuneMap", "mnuHelp", "T&uning this map", &V::mnuTuneMap_Click),
    item("mnuHotKeys", "mnuHelp", "&Hotkeys", &V::mnuHotKeys_Click),
    item("mnuPictureHelp", "mnuHelp", "&Diagrams", &V::mnuPictureHelp_Click, any, on, aswritten),
    item("mnuAbout", "mnuHelp", "&About", &V::mnuAbout_Click, any, on, aswritten),
};

}  // namespace

std::span<const MenuEntry> menutable() {
  return table;
}

bool MainMenus::usable(const MenuEntry& entry, bool online) {
  if (entry.kind != MenuKind::item || !entry.handler) return false;
  return entry.needs == Needs::any || online == (entry.needs == Needs::online);
}

void MainMenus::build(QMenuBar* bar, VelkorV5* window, std::span<const MenuEntry> entries) {
  built_.clear();
  built_.reserve(entries.size());
  for (const MenuEntry& e : entries) {
    const QString name = QString::fromLatin1(e.name);
    QMenu* parent = e.parent ? menu(e.parent) : nullptr;
    Built b{&e, nullptr, nullptr};
    if (e.kind == MenuKind::menu) {
      b.menu = parent ? parent->addMenu(QString()) : bar->addMenu(QString());
      b.menu->setObjectName(name);
      b.action = b.menu->menuAction();
    } else if (parent) {
      b.action = e.kind == MenuKind::separator ? parent->addSeparator() : parent->addAction(QString());
      b.action->setObjectName(name);
      if (e.kind == MenuKind::item) {
        b.action->setEnabled(e.handler && e.start == Start::enabled);
        if (window && e.handler)
          QObject::connect(b.action, &QAction::triggered, window,
                           [window, handler = e.handler] { (window->*handler)(); });
      }
    }
    built_.push_back(b);
  }
}

const MainMenus::Built* MainMenus::find(std::string_view name) const {
  for (const Built& b : built_)
    if (name == b.entry->name) return &b;
  return nullptr;
}

QAction* MainMenus::action(std::string_view name) const {
  const Built* b = find(name);
  return b && b->entry->kind != MenuKind::menu ? b->action : nullptr;
}

QMenu* MainMenus::menu(std::string_view name) const {
  const Built* b = find(name);
  return b ? b->menu : nullptr;
}

const MenuEntry* MainMenus::entry(std::string_view name) const {
  const Built* b = find(name);
  return b ? b->entry : nullptr;
}

void MainMenus::setmenucaptions() {
  for (const Built& b : built_) {
    // A separator keeps no text: some styles would draw it beside the line.
    if (b.entry->kind == MenuKind::separator) continue;
    const QString stored = QString::fromLatin1(b.entry->caption);
    const QString caption = b.entry->captionkind == Caption::translated ? translate(stored) : stored;
    if (b.menu)
      b.menu->setTitle(caption);
    else if (b.action)
      b.action->setText(caption);
  }
}

void MainMenus::setonlinemenus(bool online) {
  for (const Built& b : built_)
    if (b.action && b.entry->kind == MenuKind::item && b.entry->needs != Needs::any)
      b.action->setEnabled(usable(*b.entry, online));
}

}  // namespace ostrel
