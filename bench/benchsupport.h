#pragma once

#include <QApplication>

// Widgets need an application; a benchmark makes one offscreen on first use, kept until the process ends.
inline void ensureapplication(const char* name) {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char* argv[] = {const_cast<char*>(name), nullptr};
  new QApplication(argc, argv);
}
