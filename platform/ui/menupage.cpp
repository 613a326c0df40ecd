#include "platform/ui/menupage.h"

#include <QMenuBar>
#include <QVBoxLayout>
#include <QWidget>

namespace ostrel {

MenuPage addmenupage(QWidget* window) {
  MenuPage parts;
  parts.layout = new QVBoxLayout(window);
  parts.layout->setContentsMargins(0, 0, 0, 0);
  parts.layout->setSpacing(0);
  parts.menubar = new QMenuBar(window);
  parts.layout->setMenuBar(parts.menubar);
  parts.page = new QWidget(window);
  parts.layout->addWidget(parts.page);
  return parts;
}

}  // namespace ostrel
