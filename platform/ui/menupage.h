#pragma once

class QMenuBar;
class QVBoxLayout;
class QWidget;

namespace ostrel {

// A window drawn as a menu bar over one page whose controls sit at designed places: the layout has no margin and
// no spacing, so a control at (120, 120) twips on the page stands 120 twips below the menu bar.
struct MenuPage {
  QVBoxLayout* layout = nullptr;
  QMenuBar* menubar = nullptr;
  QWidget* page = nullptr;
};

// Gives the window its menu bar and page (both children of the window).
MenuPage addmenupage(QWidget* window);

}  // namespace ostrel
