#pragma once

#include <QFont>

namespace ostrel {

// The editors' windows were laid out for a small sans-serif face of Arial's width; a wider stand-in is condensed
// so that captions and grid texts keep to their places.
QFont pagefont();

}  // namespace ostrel
