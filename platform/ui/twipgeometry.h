#pragma once

#include <QWidget>

#include "platform/twips.h"

namespace ostrel {

// Places a control by its designed position and size in twips, each rounded to pixels on its own.
inline void placetwips(QWidget* widget, double left, double top, double width, double height) {
  widget->setGeometry(twipstopixels(left), twipstopixels(top), twipstopixels(width), twipstopixels(height));
}

}  // namespace ostrel
