#pragma once

#include <QHeaderView>
#include <QWidget>

#include "platform/twips.h"

namespace ostrel {

// Places a control by its designed position and size in twips, each rounded to pixels on its own.
inline void placetwips(QWidget* widget, double left, double top, double width, double height) {
  widget->setGeometry(twipstopixels(left), twipstopixels(top), twipstopixels(width), twipstopixels(height));
}

// Gives every row of a grid the same fixed height. The minimum goes first: a default below the style's minimum
// would be raised to it.
inline void setfixedrowheight(QHeaderView* rows, int pixels) {
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(pixels);
  rows->setDefaultSectionSize(pixels);
}

}  // namespace ostrel
