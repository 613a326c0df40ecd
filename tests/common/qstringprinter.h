#pragma once

// Every test source gets this header before its own text (a forced include of ostrel_testmain), so that GoogleTest
// prints a QString in a failure as its text, alone or inside a container, rather than as bytes. GoogleTest looks
// PrintTo up in the namespace of the printed type, which for QString is the global one.
#include <QString>
#include <iosfwd>

// The text in double quotes, UTF-8; line ends, tabs and other control characters written as escapes, so that
// trailing blanks and "\n\r" show.
void PrintTo(const QString& text, std::ostream* os);
