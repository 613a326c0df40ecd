#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace ostrel {

class VelkorV5;

// A menu item's click handler: a method of the main window.
using MenuHandler = void (VelkorV5::*)();

// What the ECU connection must be for an item to be usable; setonlinemenus switches every item that is not `any`.
enum class Needs : std::uint8_t { any, online, offline };
enum class MenuKind : std::uint8_t { menu, item, separator };
// Whether an item is enabled when the window is created, before setonlinemenus first runs.
enum class Start : std::uint8_t { enabled, disabled };
// Whether the caption passes through translate or is shown as written.
enum class Caption : std::uint8_t { translated, aswritten };

// One entry of the main window's menu bar.
struct MenuEntry {
  MenuKind kind;
  const char* name;               // object name of the menu, item or separator
  const char* parent;             // object name of the menu it sits in; null: the menu bar
  const char* caption;            // as stored, "&" before the access key
  MenuHandler handler = nullptr;  // null: its window or tool is not there yet, and the item stays disabled
  Needs needs = Needs::any;
  Start start = Start::enabled;
  Caption captionkind = Caption::translated;
};

// The whole menu bar, in order: each menu before its entries, entries in the order they show. Adding an item is one
// row here and its handler on the main window.
std::span<const MenuEntry> menutable();

// The menu bar built from a table: the menus and items by object name, their captions, and the connection-dependent
// enabled states.
class MainMenus {
 public:
  // Creates every menu, item and separator of the table on the bar, captions still empty (setmenucaptions gives
  // them). A click on an item runs its handler on the window; without a window (tests) nothing is connected.
  void build(QMenuBar* bar, VelkorV5* window, std::span<const MenuEntry> table = menutable());

  // By object name; null when the table has no such entry.
  QAction* action(std::string_view name) const;  // an item or separator
  QMenu* menu(std::string_view name) const;
  const MenuEntry* entry(std::string_view name) const;

  // Every caption of the table, through translate where the table says so.
  void setmenucaptions();
  // The items that need the ECU connected, or not connected, follow the connection flag, one by one in table order.
  // An item without a handler stays disabled.
  void setonlinemenus(bool online);

  // Whether an item is usable in the connection state: its handler exists and the connection is what it needs.
  static bool usable(const MenuEntry& entry, bool online);

 private:
  struct Built {
    const MenuEntry* entry;
    QMenu* menu;      // menus
    QAction* action;  // items and separators; a menu's own action
  };
  const Built* find(std::string_view name) const;

  std::vector<Built> built_;
};

}  // namespace ostrel
