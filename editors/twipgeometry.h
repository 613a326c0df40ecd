#pragma once

#include <QRect>
#include <QWidget>

#include "platform/twips.h"

namespace ostrel {

// Places a control by its designed position and size in twips.
inline void placetwips(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(QRect(twipstopixels(left), twipstopixels(top), twipstopixels(width), twipstopixels(height)));
}

}  // namespace ostrel
